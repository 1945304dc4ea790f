// The installed-font catalogue and family resolution, against real
// fontconfig pointed at a font folder and configuration of the test's own.

#include "support/FontBuilder.h"

#include "catalogue/Folders.h"
#include "engine/Jobs.h"
#include "engine/KeepList.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace FontBuilder;

namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QString kMicroHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
const QString kUKai = QStringLiteral("/usr/share/fonts/truetype/arphic/ukai.ttc");


QList<NameEntry> names(const QString &family, const QString &style, const QString &full)
{
    return {{3, 1, 0x0409, 1, family}, {3, 1, 0x0409, 2, style}, {3, 1, 0x0409, 4, full}};
}

QStringList extracted()
{
    return QDir(applicationDataFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString fonts;
    QString font(const QString &name) const { return fonts + QLatin1Char('/') + name; }

private slots:
    void initTestCase();
    void catalogueEntries();
    void resolvesInstalledFonts();
    void resolvesCollectionMembers();
    void searchesExtractedFonts();
    void systemFontJob();
    void survivesBadFiles();
};

void TestCatalogue::initTestCase()
{
    QVERIFY(dir.isValid());
    fonts = dir.filePath("fonts");
    QDir().mkpath(fonts);
    for (const char *name : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-Oblique.ttf",
                             "DejaVuSans-BoldOblique.ttf", "DejaVuSans-ExtraLight.ttf"})
        QVERIFY(QFile::link(kDejaVu + name, font(name)));
    QVERIFY(QFile::link(kMicroHei, font("wqy-microhei.ttc")));
    QVERIFY(QFile::link(kUKai, font("ukai.ttc")));

    // Two files of one family, both regular: the later one is catalogued.
    writeFile(font("a.ttf"), trueTypeFont("Alpha"));
    writeFile(font("ab.ttf"), trueTypeFont("Alpha"));
    // A thin face that sorts after the regular one still loses to it.
    writeFile(font("beta.ttf"), trueTypeFont("Beta"));
    writeFile(font("beta-thin.ttf"), trueTypeFont("Beta", 0, 100, names("Beta", "Thin", "Beta Thin")));
    // A collection is catalogued under its members' full names.
    writeFile(font("c.ttc"), collection({trueTypeFont("", 0, 400, names("Gamma", "Regular", "Gamma")),
                                         trueTypeFont("", 0, 400, names("Gamma Mono", "Regular", "Gamma Mono"))}));
    writeFile(font("d.fon"), "not a font");
    // Another file's full name never replaces a family name.
    writeFile(font("delta.ttf"), trueTypeFont("Delta"));
    writeFile(font("epsilon.ttf"), trueTypeFont("", 0, 400, names("Epsilon", "Regular", "Delta")));
    writeFile(font("slash.ttf"), trueTypeFont("Slash/Name"));
    writeFile(font("truncated.ttc"), collection({trueTypeFont("Truncated")}));
    writeFile(font("vanishing.ttf"), trueTypeFont("Vanishing"));

    const QString config = dir.filePath("fonts.conf");
    writeFile(config, QStringLiteral(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>%1</dir>
  <cachedir>%2</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
)").arg(fonts, dir.filePath("cache")).toUtf8());
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config));
    QVERIFY(applicationDataFolder().startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
}

void TestCatalogue::catalogueEntries()
{
    const FontSubsetter engine;
    QCOMPARE(engine.defaultFace, QStringLiteral("DejaVu Sans"));
    const QMap<QString, QString> expected = {
        {"alpha", font("ab.ttf")},
        {"beta", font("beta.ttf")},
        {"gamma", font("c.ttc")},
        {"gamma mono", font("c.ttc")},
        {"delta", font("delta.ttf")},
        {"epsilon", font("epsilon.ttf")},
        {"dejavu sans", font("DejaVuSans.ttf")},
        {"文泉驿微米黑", font("wqy-microhei.ttc")},
        {"wenquanyi micro hei", font("wqy-microhei.ttc")},
        {"wenquanyi micro hei mono", font("wqy-microhei.ttc")},
        {"ar pl ukai tw", font("ukai.ttc")},
    };
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(engine.familyFiles.value(it.key()), it.value());
    for (const QString &file : engine.familyFiles)
        QVERIFY(!file.endsWith(".fon"));
}

void TestCatalogue::resolvesInstalledFonts()
{
    FontSubsetter engine;
    QVERIFY(engine.loadSystemFont("DejaVu Sans"));
    QCOMPARE(engine.fontBytes, readFile(kDejaVu + "DejaVuSans.ttf"));
    QVERIFY(engine.loadSystemFont("alpha"));
    QCOMPARE(engine.fontBytes, readFile(font("ab.ttf")));
    QVERIFY(extracted().isEmpty()); // .ttf files are loaded where they are

    // Unknown and empty families resolve through the default face.
    QVERIFY(engine.loadSystemFont("No Such Family"));
    QCOMPARE(engine.readFamilyName(), QStringLiteral("DejaVu Sans"));
    QVERIFY(engine.loadSystemFont(QString()));
    QCOMPARE(engine.readFamilyName(), QStringLiteral("DejaVu Sans"));

    engine.defaultFace = QStringLiteral("Also Unknown");
    QVERIFY(!engine.loadSystemFont("No Such Family")); // the bare fonts folder is no .ttf
    QVERIFY(!engine.fontData);
}

void TestCatalogue::resolvesCollectionMembers()
{
    FontSubsetter engine;
    // The name the family list shows: the member's English family name.
    QVERIFY(engine.loadSystemFont("WenQuanYi Micro Hei"));
    QCOMPARE(engine.readFamilyName(), QString::fromUtf8("文泉驿微米黑"));
    QCOMPARE(extracted(), QStringList({"文泉驿微米黑.ttf", "文泉驿等宽微米黑.ttf"}));
    const QByteArray member = readFile(applicationDataFolder() + "/文泉驿微米黑.ttf");
    QCOMPARE(engine.fontBytes, member);

    // The family's case matters in the folder: the collection itself is loaded, which fails.
    QVERIFY(!engine.loadSystemFont("wenquanyi micro hei"));

    // Later resolutions use the extracted members, without the collection.
    QVERIFY(QFile::remove(font("wqy-microhei.ttc")));
    QVERIFY(engine.loadSystemFont("WenQuanYi Micro Hei Mono"));
    QCOMPARE(engine.readFamilyName(), QString::fromUtf8("文泉驿等宽微米黑"));
    QVERIFY(engine.loadSystemFont(QString::fromUtf8("文泉驿微米黑")));
    QCOMPARE(engine.fontBytes, member);
    QVERIFY(QFile::link(kMicroHei, font("wqy-microhei.ttc")));

    QVERIFY(engine.loadSystemFont("AR PL UKai TW"));
    QCOMPARE(engine.readFamilyName(), QStringLiteral("AR PL UKai TW"));
    QVERIFY(extracted().contains("AR PL UKai CN.ttf"));
}

void TestCatalogue::searchesExtractedFonts()
{
    const FontSubsetter engine;
    const QString folder = applicationDataFolder();
    writeFile(folder + "/Zeta.TTF", trueTypeFont("Zeta"));
    writeFile(folder + "/Eta.ttf", "whatever it holds");
    QCOMPARE(engine.findExtractedFont("Zeta"), folder + "/Zeta.TTF"); // through its name table
    QCOMPARE(engine.findExtractedFont("Eta"), folder + "/Eta.ttf");   // by its name alone
    QCOMPARE(engine.findExtractedFont("zeta"), QString());
    QVERIFY(engine.findExtractedFont("Theta").isNull());
    QFile::remove(folder + "/Zeta.TTF");
    QFile::remove(folder + "/Eta.ttf");
}

void TestCatalogue::systemFontJob()
{
    FontSubsetter engine;
    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    const KeepList keep = keepListFromText("AB");

    JobOutcome outcome = runSystemSubsetJob(engine, "alpha", out, keep);
    QVERIFY(outcome.succeeded);
    QCOMPARE(outcome.writtenFiles, QStringList(out + "/alpha.ttf")); // the family as given

    outcome = runSystemSubsetJob(engine, "No Such Family", out, keep);
    QCOMPARE(outcome.writtenFiles, QStringList(out + "/DejaVu Sans.ttf"));

    // A known family whose font covers none of the text: the default face, under the family's name.
    outcome = runSystemSubsetJob(engine, "Beta", out, keepListFromText("é"));
    QCOMPARE(outcome.writtenFiles, QStringList(out + "/Beta.ttf"));
    FontSubsetter check(FontSubsetter::Setup::FontOnly);
    check.loadTrueTypeFile(out + "/Beta.ttf");
    QCOMPARE(check.readFamilyName(), QStringLiteral("DejaVu Sans"));

    // Names that would leave the folder, and the folder of extracted members, are refused.
    outcome = runSystemSubsetJob(engine, "Slash/Name", out, keep);
    QVERIFY(!outcome.succeeded);
    QCOMPARE(outcome.argument, QStringLiteral("Slash/Name"));
    QVERIFY(!QFileInfo::exists(out + "/Slash"));
    const QStringList before = extracted();
    outcome = runSystemSubsetJob(engine, "WenQuanYi Micro Hei", applicationDataFolder(), keep);
    QVERIFY(!outcome.succeeded);
    QCOMPARE(extracted(), before);
    QVERIFY(!runSystemSubsetJob(engine, "Alpha", QString(), keep).succeeded);
}

void TestCatalogue::survivesBadFiles()
{
    // fontconfig has these files in its cache; now one is cut short and one is gone.
    QFile truncated(font("truncated.ttc"));
    const FontSubsetter before;
    QCOMPARE(before.familyFiles.value("truncated regular"), font("truncated.ttc"));
    QVERIFY(truncated.resize(20));
    QVERIFY(QFile::remove(font("vanishing.ttf")));
    const FontSubsetter engine;
    QCOMPARE(engine.familyFiles.value("alpha"), font("ab.ttf"));
    QVERIFY(!engine.familyFiles.values().contains(font("truncated.ttc")));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
