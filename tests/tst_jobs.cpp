// The jobs behind "Accept" and the command-line program: input checks in
// their order, what a subset is made from and named after, and what the
// outcome says. The catalogue here is filled by hand; tst_catalogue has the
// real one.

#include "support/FontBuilder.h"

#include "catalogue/Folders.h"
#include "engine/Jobs.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace FontBuilder;

namespace {
const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
} // namespace

class TestJobs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString out, latin;
    FontSubsetter engine{FontSubsetter::Setup::FontOnly};
    QString folder(const QString &name)
    {
        QDir().mkpath(dir.filePath(name));
        return dir.filePath(name);
    }

private slots:
    void initTestCase();
    void fileSubsetChecks_data();
    void fileSubsetChecks();
    void subsetOutcomes_data();
    void subsetOutcomes();
    void neverReplacesTheFontSubset();
    void splitOutcomes();
};

void TestJobs::initTestCase()
{
    out = folder("out");
    latin = writeFile(dir.filePath("Latin.ttf"), trueTypeFont("Latin")); // maps A to Z
    engine.defaultFace = QStringLiteral("DejaVu Sans");
    engine.familyFiles.insert(QStringLiteral("dejavu sans"), kDejaVuSans);
    engine.familyFiles.insert(QStringLiteral("latin"), latin);
    engine.familyFiles.insert(QStringLiteral("broken"), writeFile(dir.filePath("Broken.ttf"), "no font at all"));
}

void TestJobs::fileSubsetChecks_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("openType");
    QTest::addColumn<QString>("message");

    const QString notTtf = "The file is not a valid ttf font file!";
    const QString otf = writeFile(dir.filePath("Latin.otf"), trueTypeFont("Latin"));
    QTest::newRow("empty output, whatever else") << "" << "" << false << "The output file path cannot be empty!";
    QTest::newRow("empty font path") << "" << out << false << "The file path cannot be empty!";
    QTest::newRow(".otf in the window") << otf << out << false << notTtf;
    QTest::newRow(".ttc on the command line") << dir.filePath("x.ttc") << out << true << notTtf;
    QTest::newRow("missing") << dir.filePath("missing.ttf") << out << false
                             << "The file " + dir.filePath("missing.ttf") + " does not exist.";
    QTest::newRow("empty file") << writeFile(dir.filePath("empty.ttf"), QByteArray()) << out << false << notTtf;
    QTest::newRow("truncated") << writeFile(dir.filePath("cut.ttf"), readFile(kDejaVuSans).left(2000)) << out
                               << false << notTtf;
    QTest::newRow("output folder missing") << latin << dir.filePath("nowhere") << false
                                           << "The output folder " + dir.filePath("nowhere") + " does not exist.";
    QTest::newRow("output is a file") << latin << latin << false << "The output folder " + latin + " does not exist.";
}

void TestJobs::fileSubsetChecks()
{
    QFETCH(QString, font);
    QFETCH(QString, output);
    QFETCH(bool, openType);
    QFETCH(QString, message);
    const JobOutcome outcome = runFileSubsetJob(engine, font, output, keepListFromText("ABC"),
                                                openType ? AcceptedSuffixes::TrueTypeAndOpenType
                                                         : AcceptedSuffixes::TrueType);
    QVERIFY(!outcome.succeeded);
    QCOMPARE(outcome.box, JobOutcome::Box::Warning);
    QCOMPARE(outcome.title, QStringLiteral("Warning!"));
    QCOMPARE(outcome.text, message);
    QVERIFY(outcome.writtenFiles.isEmpty());
}

void TestJobs::subsetOutcomes_data()
{
    QTest::addColumn<bool>("family");   // an installed family, or a font file
    QTest::addColumn<QString>("source"); // the family or file asked for
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("written");    // the file's name in the folder, or nothing
    QTest::addColumn<QString>("madeFrom");   // the family name inside it

    const QString done = "Excute successfully!", instead = " The subset was made from the default face DejaVu Sans instead.";
    QTest::newRow("file covers the text") << false << latin << "AB" << done << "" << "Latin.ttf" << "Latin";
    QTest::newRow("file covers none of it") << false << latin << "é" << done
                                            << latin + " has none of the characters of the text." + instead
                                            << "DejaVu Sans.ttf" << "DejaVu Sans";
    QTest::newRow("empty text: the chosen font itself") << false << latin << "" << done << "" << "Latin.ttf" << "Latin";
    QTest::newRow("neither covers any") << false << latin << "你好" << "Neither " + latin
                    + " nor the default face DejaVu Sans has any of the characters of the text; nothing was written."
                                        << "" << "" << "";
    QTest::newRow("family, any case") << true << "LATIN" << "AB" << done << "" << "LATIN.ttf" << "Latin";
    QTest::newRow("family not installed") << true << "No Such Family" << "AB" << done
                                          << "The family No Such Family is not installed." + instead
                                          << "DejaVu Sans.ttf" << "DejaVu Sans";
    QTest::newRow("family not loadable") << true << "Broken" << "AB" << done
                                         << "The font of Broken could not be loaded." + instead << "DejaVu Sans.ttf"
                                         << "DejaVu Sans";
    QTest::newRow("family not installed, default face covers none")
            << true << "No Such Family" << "你"
            << "Neither No Such Family nor the default face DejaVu Sans has any of the characters of the text; nothing was written."
            << "The family No Such Family is not installed." << "" << "";
}

void TestJobs::subsetOutcomes()
{
    QFETCH(bool, family);
    QFETCH(QString, source);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, notice);
    QFETCH(QString, written);
    QFETCH(QString, madeFrom);

    const QString folder = this->folder(QTest::currentDataTag());
    const JobOutcome outcome = family ? runSystemSubsetJob(engine, source, folder, keepListFromText(text))
                                      : runFileSubsetJob(engine, source, folder, keepListFromText(text));
    QCOMPARE(outcome.text, message);
    QCOMPARE(outcome.notices, notice.isEmpty() ? QStringList() : QStringList(notice));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), written.isEmpty() ? QStringList() : QStringList(written));
    QCOMPARE(outcome.succeeded, !written.isEmpty());
    if (written.isEmpty())
        return;
    QCOMPARE(outcome.writtenFiles, QStringList(folder + '/' + written));
    FontSubsetter check(FontSubsetter::Setup::FontOnly);
    QVERIFY(check.loadTrueTypeFile(outcome.writtenFiles.first()));
    QCOMPARE(check.readFamilyName(), madeFrom);
    QVERIFY(outcome.summary.first().startsWith(outcome.writtenFiles.first() + ": "));
}

void TestJobs::neverReplacesTheFontSubset()
{
    // The default face's file is where the fallback subset would go.
    const QString folder = this->folder("default-face-here");
    const QString defaultFace = writeFile(folder + "/DejaVu Sans.ttf", readFile(kDejaVuSans));
    FontSubsetter local(FontSubsetter::Setup::FontOnly);
    local.defaultFace = QStringLiteral("DejaVu Sans");
    local.familyFiles.insert(QStringLiteral("dejavu sans"), defaultFace);
    const JobOutcome outcome = runFileSubsetJob(local, latin, folder, keepListFromText("é"));
    QCOMPARE(outcome.text, "The output " + defaultFace
                                   + " would replace the font it is made from; choose another output folder.");
    QCOMPARE(readFile(defaultFace), readFile(kDejaVuSans));

    // Nor the chosen file itself, nor anything in the folder of extracted members.
    QVERIFY(runFileSubsetJob(local, defaultFace, folder, keepListFromText("A")).text.contains("would replace"));
    QVERIFY(runFileSubsetJob(local, latin, applicationDataFolder(), keepListFromText("A"))
                    .text.contains("keeps the fonts this program extracts"));
}

void TestJobs::splitOutcomes()
{
    const JobOutcome empty = runSplitJob(QString(), out);
    QCOMPARE(empty.box, JobOutcome::Box::Information);
    QCOMPARE(empty.text, QStringLiteral("The path cannot be empty!"));
    QCOMPARE(runSplitJob(dir.filePath("gone.ttc"), out).text, "The file " + dir.filePath("gone.ttc") + " does not exist.");

    const QByteArray pair = collection({namedFont("One"), namedFont("Two")});
    const QString otc = writeFile(dir.filePath("pair.otc"), pair);
    QVERIFY(runSplitJob(otc, out).text.contains("could not be split")); // the window takes .ttc only
    const QString split = folder("split");
    JobOutcome outcome = runSplitJob(otc, split, AcceptedSuffixes::TrueTypeAndOpenType);
    QVERIFY(outcome.succeeded);
    QCOMPARE(outcome.writtenFiles, QStringList({split + "/One.ttf", split + "/Two.ttf"}));
    QVERIFY(outcome.notices.isEmpty());

    // Every member file there already: a success that says what was kept.
    outcome = runSplitJob(otc, split, AcceptedSuffixes::TrueTypeAndOpenType);
    QVERIFY(outcome.succeeded);
    QVERIFY(outcome.writtenFiles.isEmpty());
    QCOMPARE(outcome.notices, QStringList({split + "/One.ttf was kept as it was: a file of that name exists.",
                                           split + "/Two.ttf was kept as it was: a file of that name exists."}));

    const JobOutcome damaged = runSplitJob(writeFile(dir.filePath("bad.ttc"), "ttcf but nothing else"), out);
    QCOMPARE(damaged.box, JobOutcome::Box::Warning);
    QCOMPARE(damaged.text, "The collection " + dir.filePath("bad.ttc")
                                   + " could not be split: it is not a valid TrueType collection, or one of its members is damaged.");
}

QTEST_GUILESS_MAIN(TestJobs)
#include "tst_jobs.moc"
