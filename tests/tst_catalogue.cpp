// The installed-font catalogue and family resolution, against real
// fontconfig pointed at a font folder and configuration of the test's own.

#include "support/FontBuilder.h"

#include "catalogue/Folders.h"
#include "engine/FontSubsetter.h"
#include "platform/FontPackage.h"
#include "sfnt/FontSource.h"
#include "sfnt/TableTags.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <functional>

using namespace FontBuilder;

namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QString kMicroHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
const QString kNotoSans = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString kNotoSerif = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc");

QList<NameEntry> names(const QString &family, const QString &style, const QString &full, const QString &typographic = {},
                       const QString &typographicStyle = {})
{
    QList<NameEntry> entries = {{3, 1, 0x0409, 1, family}, {3, 1, 0x0409, 2, style}, {3, 1, 0x0409, 4, full}};
    if (!typographic.isEmpty())
        entries.append({3, 1, 0x0409, 16, typographic});
    if (!typographicStyle.isEmpty())
        entries.append({3, 1, 0x0409, 17, typographicStyle});
    return entries;
}

// The font with bytes of its OS/2 table replaced.
QByteArray withOS2(QByteArray font, int offset, const QByteArray &bytes)
{
    for (int record = 12; record + 16 <= font.size(); record += 16) {
        if (font.mid(record, 4) == "OS/2") {
            font.replace(int(qFromBigEndian<quint32>(font.constData() + record + 8)) + offset, bytes.size(), bytes);
            return font;
        }
    }
    return {};
}

// The font with its OS/2 achVendID set, from which fontconfig takes the foundry.
QByteArray withVendor(const QByteArray &font, const char vendor[5])
{
    return withOS2(font, 58, QByteArray(vendor, 4));
}

QStringList extracted()
{
    return QDir(applicationDataFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// One member of a collection, cut to a few characters by the subsetting service.
QByteArray smallMember(const QString &collectionPath, quint16 index, const KeepList &keep)
{
    const QByteArray source = readFile(collectionPath);
    uchar *buffer = nullptr;
    quint32 size = 0, written = 0;
    createFontPackage(reinterpret_cast<const uchar *>(source.constData()), quint32(source.size()), &buffer, &size,
                      &written, FontPackage::FlagSubset | FontPackage::FlagCollection, index,
                      FontPackage::StandaloneSubset, FontPackage::AllLanguages, FontPackage::PlatformMicrosoft,
                      FontPackage::EncodingUcs4, keep.constData(), quint32(keep.size()), std::malloc, std::realloc,
                      std::free, nullptr);
    const QByteArray bytes(reinterpret_cast<const char *>(buffer), int(written));
    std::free(buffer);
    return bytes;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString fonts;
    QString font(const QString &name) const { return fonts + QLatin1Char('/') + name; }
    QByteArray gammaCollection(quint16 monoWeight)
    {
        return collection({trueTypeFont("", 0, 400, names("Gamma", "Regular", "Gamma")),
                           trueTypeFont("", 0, monoWeight, names("Gamma Mono", "Regular", "Gamma Mono"))});
    }

private slots:
    void initTestCase();
    void resolvesNamesFromTheCache_data();
    void resolvesNamesFromTheCache();
    void resolvesFamilies();
    void extractsOneMemberAndKeepsItCurrent();
    void survivesBadFiles();
    void foldsCase_data();
    void foldsCase();
    void resolvesListedFamilies_data();
    void resolvesListedFamilies();
};

void TestCatalogue::initTestCase()
{
    QVERIFY(dir.isValid());
    fonts = dir.filePath("fonts");
    QDir().mkpath(fonts);
    for (const char *name : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSans-ExtraLight.ttf", "DejaVuSansMono.ttf"})
        QVERIFY(QFile::link(kDejaVu + name, font(name)));
    QVERIFY(QFile::link(kMicroHei, font("wqy-microhei.ttc")));
    QVERIFY(QFile::link(kNotoSans, font("noto-sans-cjk.otc")));
    writeFile(font("noto-serif-sc.otf"), smallMember(kNotoSerif, 2, {0x5B57}));

    // Two files of one family, both regular: the later one is catalogued.
    writeFile(font("a.ttf"), trueTypeFont("Alpha"));
    writeFile(font("ab.ttf"), trueTypeFont("Alpha"));
    // A thin face that sorts after the regular one still loses to it.
    writeFile(font("beta.ttf"), trueTypeFont("Beta"));
    writeFile(font("beta-thin.ttf"), trueTypeFont("Beta", 0, 100, names("Beta", "Thin", "Beta Thin")));
    writeFile(font("c.ttc"), gammaCollection(400));
    // A font under a suffix the catalogue does not take.
    writeFile(font("d.fon"), trueTypeFont("Dfon"));
    // Another file's full name never replaces a family name.
    writeFile(font("delta.ttf"), trueTypeFont("Delta"));
    writeFile(font("epsilon.ttf"), trueTypeFont("", 0, 400, names("Epsilon", "Regular", "Delta")));
    // Known to the family list by its typographic family name.
    writeFile(font("zeta.ttf"), trueTypeFont("", 0, 400, names("Zeta Oblique", "Regular", "Zeta Oblique", "Zeta")));
    writeFile(font("truncated.ttc"), collection({trueTypeFont("Truncated")}));
    // Names that fold differently from their lower case: ß, and a final sigma.
    writeFile(font("strasse.ttf"), trueTypeFont(QString::fromUtf8("Straße")));
    writeFile(font("sofos.ttc"), collection({trueTypeFont(QString::fromUtf8("ΣΟΦΟΣ")), trueTypeFont("Other")}));
    // One family from two foundries; the bold one's foundry also makes it in
    // a format the catalogue does not take.
    writeFile(font("kappa-aaaa.ttf"), withVendor(trueTypeFont("Kappa"), "AAAA"));
    writeFile(font("kappa-bbbb.ttf"), withVendor(trueTypeFont("Kappa", 1, 700), "BBBB"));
    // Families whose regular face has the family's name as its typographic
    // family only, beside a semi-condensed face that sorts after it, a bold
    // and an italic face that have it as their family name.
    writeFile(font("lambda-regular.ttf"), trueTypeFont("", 0, 400, names("Lambda Regular", "Regular", "Lambda Regular", "Lambda")));
    writeFile(font("lambda-semicondensed.ttf"),
              withOS2(trueTypeFont("", 0, 400, names("Lambda SemiCondensed", "Regular", "Lambda SemiCondensed", "Lambda", "SemiCondensed")),
                      6, u16(4)));
    writeFile(font("mu-regular.ttf"), trueTypeFont("", 0, 400, names("Mu Regular", "Regular", "Mu Regular", "Mu")));
    writeFile(font("mu-bold.ttf"), trueTypeFont("", 1, 700, names("Mu", "Bold", "Mu Bold")));
    writeFile(font("nu-regular.ttf"), trueTypeFont("", 0, 400, names("Nu Regular", "Regular", "Nu Regular", "Nu")));
    writeFile(font("nu-italic.ttf"), withOS2(trueTypeFont("", 2, 400, names("Nu", "Italic", "Nu Italic")), 62, u16(1)));

    const QString config = dir.filePath("fonts.conf");
    writeFile(config, QStringLiteral(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>%1</dir>
  <cachedir>%2</cachedir>
  <alias binding="strong"><family>sans-serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias binding="strong"><family>monospace</family><prefer><family>DejaVu Sans Mono</family></prefer></alias>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
)").arg(fonts, dir.filePath("cache")).toUtf8());
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config));
    QVERIFY(applicationDataFolder().startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
}

void TestCatalogue::resolvesNamesFromTheCache_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");   // the registered file the name means
    QTest::addColumn<QString>("member"); // for a collection, the file name of the member's copy
    QTest::newRow("family name, over another file's full name") << "Delta" << font("delta.ttf") << "";
    QTest::newRow("family name in another language") << QString::fromUtf8("文泉驿微米黑") << font("wqy-microhei.ttc")
                                                      << QString::fromUtf8("文泉驿微米黑.ttf");
    QTest::newRow("collection member's full name") << "gamma mono" << font("c.ttc") << "Gamma Mono.ttf";
    QTest::newRow("collection member's family name") << "Noto Sans CJK SC" << font("noto-sans-cjk.otc")
                                                    << "Noto Sans CJK SC.otf";
    QTest::newRow("full name of a face other than the regular") << "Beta Thin" << font("beta-thin.ttf") << "";
    QTest::newRow("typographic family") << "Zeta" << font("zeta.ttf") << "";
    QTest::newRow("two regular files: the one registered last") << "Alpha" << font("ab.ttf") << "";
    QTest::newRow("foundry-qualified") << "Kappa [BBBB]" << font("kappa-bbbb.ttf") << "";
    QTest::newRow("generic family") << "Sans Serif" << font("DejaVuSans.ttf") << "";
    QTest::newRow("regular face over a semi-condensed one") << "Lambda" << font("lambda-regular.ttf") << "";
    QTest::newRow("family named with its width") << "Lambda SemiCondensed" << font("lambda-semicondensed.ttf") << "";
    QTest::newRow("regular face over a bold one") << "Mu" << font("mu-regular.ttf") << "";
    QTest::newRow("regular face over an italic one") << "Nu" << font("nu-regular.ttf") << "";
    QTest::newRow("a suffix the catalogue does not take") << "Dfon" << font("DejaVuSans.ttf") << "";
}

// Names are looked up in fontconfig's cache: no installed font is read to
// find one, and the member a collection's name means is the only one taken.
void TestCatalogue::resolvesNamesFromTheCache()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(QString, member);
    FontSubsetter engine;
    const quint64 before = FontSource::totalFileBytesRead();
    QCOMPARE(engine.fontFilePath(name), file);
    QCOMPARE(FontSource::totalFileBytesRead(), before);
    if (!member.isEmpty()) {
        const QString copy = engine.systemFontPath(name);
        QCOMPARE(QFileInfo(copy).fileName(), member);
        QVERIFY(QFile::remove(copy)); // the member tests below start from an empty folder
    }
}

void TestCatalogue::resolvesFamilies()
{
    FontSubsetter engine;
    QVERIFY(engine.loadSystemFont("dejavu sans"));
    QCOMPARE(engine.defaultFaceName(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(engine.fontBytes, readFile(kDejaVu + "DejaVuSans.ttf"));
    QVERIFY(engine.loadSystemFont("ZETA"));
    QCOMPARE(engine.fontBytes, readFile(font("zeta.ttf")));
    QVERIFY(extracted().isEmpty()); // font files are loaded where they are

    // Unknown and empty families resolve through the default face.
    for (const QString &family : {QStringLiteral("No Such Family"), QString()}) {
        QVERIFY(engine.loadSystemFont(family));
        QCOMPARE(engine.readFamilyName(), QStringLiteral("DejaVu Sans"));
    }
    engine.defaultFace = QStringLiteral("Also Unknown");
    QVERIFY(!engine.loadSystemFont("No Such Family")); // the bare fonts folder is no font
}

void TestCatalogue::extractsOneMemberAndKeepsItCurrent()
{
    FontSubsetter engine;
    const QString folder = applicationDataFolder();

    // Only the member asked for, whatever the case of its name, and once.
    QVERIFY(engine.loadSystemFont("wenquanyi micro hei"));
    QCOMPARE(engine.readFamilyName(), QString::fromUtf8("文泉驿微米黑"));
    QCOMPARE(extracted(), QStringList({"文泉驿微米黑.ttf"}));
    QVERIFY(engine.loadSystemFont("noto sans cjk sc"));
    QVERIFY(engine.holdsCffFont());
    QCOMPARE(engine.readFamilyName(), QStringLiteral("Noto Sans CJK SC"));
    QCOMPARE(extracted(), QStringList({"Noto Sans CJK SC.otf", "文泉驿微米黑.ttf"}));
    const QString member = folder + "/Noto Sans CJK SC.otf";
    QCOMPARE(engine.findExtractedFont("Noto Sans CJK SC"), member);
    const QByteArray whole = readFile(member);

    // A copy that is cut short, damaged or not of the collection's time is
    // made again (each with the copy's time kept, but the last); a current
    // one is reused as it is.
    const auto spoil = [&](const std::function<void(QFile &)> &damage) {
        QFile file(member);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime modified = file.fileTime(QFileDevice::FileModificationTime);
        damage(file);
        file.flush();
        file.setFileTime(modified, QFileDevice::FileModificationTime);
        file.close();
        QVERIFY(engine.findExtractedFont("Noto Sans CJK SC").isNull());
        QCOMPARE(engine.systemFontPath("Noto Sans CJK SC"), member);
        QCOMPARE(readFile(member), whole);
    };
    spoil([](QFile &file) { file.resize(file.size() / 2); });
    spoil([](QFile &file) { file.write("garbage"); });
    QFile file(member);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime));
    file.close();
    QVERIFY(engine.findExtractedFont("Noto Sans CJK SC").isNull());

    // The collection replaced by a newer one (a package upgrade).
    QVERIFY(engine.loadSystemFont("Gamma Mono"));
    QCOMPARE(engine.fontBytes, readFile(folder + "/Gamma Mono.ttf"));
    writeFile(font("c.ttc"), gammaCollection(700));
    QVERIFY(engine.findExtractedFont("Gamma Mono").isNull());
    QVERIFY(engine.loadSystemFont("gamma mono"));
    QCOMPARE(engine.fontBytes, readFile(folder + "/Gamma Mono.ttf"));
    quint16 weight = 0;
    QVERIFY(engine.findTable(TagOS2).readU16(4, &weight));
    QCOMPARE(weight, quint16(700));
}

void TestCatalogue::survivesBadFiles()
{
    // fontconfig's cache lists the collection, and the catalogue takes its
    // word for it; now it is cut short in place, which leaves the cache
    // current. A job that needs it says so and takes the default face.
    QVERIFY(QFile(font("truncated.ttc")).resize(20));
    FontSubsetter engine;
    QCOMPARE(engine.fontFilePath("Truncated Regular"), font("truncated.ttc"));
    const SubsetResult result = engine.subsetSystemFont(dir.path(), "Truncated Regular", {'A'});
    QCOMPARE(result.status, SubsetResult::Written);
    QCOMPARE(result.fallback, SubsetResult::FamilyNotLoadable);
    QCOMPARE(result.face, QStringLiteral("DejaVu Sans"));
}

void TestCatalogue::foldsCase_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("name");
    QTest::newRow("sharp s as ss") << "STRASSE" << QString::fromUtf8("Straße");
    QTest::newRow("final sigma, collection member") << QString::fromUtf8("σοφος") << QString::fromUtf8("ΣΟΦΟΣ");
}

void TestCatalogue::foldsCase()
{
    QFETCH(QString, family);
    QFETCH(QString, name);
    FontSubsetter engine;
    QVERIFY(engine.loadSystemFont(family));
    QCOMPARE(engine.readFamilyName(), name);
}

void TestCatalogue::resolvesListedFamilies_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("file");
    QTest::newRow("foundry's own file") << "Kappa [BBBB]" << "Kappa" << font("kappa-bbbb.ttf");
    QTest::newRow("other foundry") << "kappa [AAAA]" << "kappa" << font("kappa-aaaa.ttf");
    QTest::newRow("foundry without a usable file") << "Kappa [urw]" << "Kappa" << font("kappa-aaaa.ttf");
    QTest::newRow("generic sans") << "Sans Serif" << "DejaVu Sans" << font("DejaVuSans.ttf");
    QTest::newRow("generic monospace") << "Monospace" << "DejaVu Sans Mono" << font("DejaVuSansMono.ttf");
}

// A family as the window's family list shows it is subset from its own font,
// and the output is named after the face used.
void TestCatalogue::resolvesListedFamilies()
{
    QFETCH(QString, family);
    QFETCH(QString, face);
    QFETCH(QString, file);
    FontSubsetter engine;
    const SubsetResult result = engine.subsetSystemFont(dir.path(), family, {'A'});
    QCOMPARE(result.status, SubsetResult::Written);
    QCOMPARE(result.fallback, SubsetResult::NoFallback);
    QCOMPARE(result.face, face);
    QCOMPARE(result.sourcePath, file);
    QCOMPARE(result.outputPath, dir.filePath(face + ".ttf"));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
