// The jobs behind "Accept" and the command-line program: input checks in
// their order, refusals that protect files, and outcomes.

#include "support/FontBuilder.h"

#include "catalogue/Folders.h"
#include "engine/Jobs.h"
#include "engine/KeepList.h"

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
    FontSubsetter engine{FontSubsetter::Setup::FontOnly};

private slots:
    void initTestCase();
    void fileSubsetChecks_data();
    void fileSubsetChecks();
    void fileSubsetWrites();
    void neverReplacesItsSource();
    void splitOutcomes();
};

void TestJobs::initTestCase()
{
    QDir().mkpath(dir.filePath("out"));
    engine.defaultFace = QStringLiteral("DejaVu Sans");
    engine.familyFiles.insert(QStringLiteral("dejavu sans"), kDejaVuSans);
}

void TestJobs::fileSubsetChecks_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");

    const QString out = dir.filePath("out");
    const QString good = writeFile(dir.filePath("Good.ttf"), readFile(kDejaVuSans));
    QTest::newRow("empty output, whatever else") << "" << "" << "The output file path cannot be empty!";
    QTest::newRow("empty font path") << "" << out << "The file path cannot be empty!";
    QTest::newRow("not .ttf") << dir.filePath("font.otf") << out << "The file is not a valid ttf font file!";
    QTest::newRow("unreadable") << dir.filePath("missing.ttf") << out << "The file is not a valid ttf font file!";
    QTest::newRow("empty file") << writeFile(dir.filePath("empty.ttf"), QByteArray()) << out
                                << "The file is not a valid ttf font file!";
    QTest::newRow("no sfnt version") << writeFile(dir.filePath("text.ttf"), "just some text, no font at all")
                                     << out << "The file is not a valid ttf font file!";
    QTest::newRow("truncated font") << writeFile(dir.filePath("cut.ttf"), readFile(kDejaVuSans).left(2000)) << out
                                    << "The file is not a valid ttf font file!";
    QTest::newRow("output folder missing") << good << dir.filePath("nowhere")
                                           << "The output folder %1 does not exist.";
    QTest::newRow("output is a file") << good << good << "The output folder %1 does not exist.";
}

void TestJobs::fileSubsetChecks()
{
    QFETCH(QString, font);
    QFETCH(QString, output);
    QFETCH(QString, message);
    const JobOutcome outcome = runFileSubsetJob(engine, font, output, keepListFromText("abc"));
    QVERIFY(!outcome.succeeded);
    QCOMPARE(outcome.box, JobOutcome::Box::Warning);
    QCOMPARE(QString::fromUtf8(outcome.title), QStringLiteral("Warning!"));
    QCOMPARE(QString::fromUtf8(outcome.text), message);
    QVERIFY(outcome.writtenFiles.isEmpty());
}

void TestJobs::fileSubsetWrites()
{
    const QString source = writeFile(dir.filePath("Source.Font.TTF"), readFile(kDejaVuSans));
    const JobOutcome outcome = runFileSubsetJob(engine, source, dir.filePath("out"), keepListFromText("abc"));
    QVERIFY(outcome.succeeded);
    QCOMPARE(outcome.box, JobOutcome::Box::Information);
    QCOMPARE(QString::fromUtf8(outcome.text), QStringLiteral("Excute successfully!"));
    QCOMPARE(outcome.writtenFiles, QStringList(dir.filePath("out/Source.Font.ttf")));
    QVERIFY(QFileInfo(outcome.writtenFiles.first()).size() > 0);

    // A readable font that covers none of the text: the default face is subset.
    const QString latin = writeFile(dir.filePath("Latin.ttf"), namedFont("Latin"));
    const JobOutcome fallback = runFileSubsetJob(engine, latin, dir.filePath("out"), keepListFromText("é"));
    QVERIFY(fallback.succeeded);
    FontSubsetter check(FontSubsetter::Setup::FontOnly);
    check.loadTrueTypeFile(fallback.writtenFiles.first());
    QCOMPARE(check.readFamilyName(), QStringLiteral("DejaVu Sans"));
}

void TestJobs::neverReplacesItsSource()
{
    const QString folder = dir.filePath("self");
    QDir().mkpath(folder);
    const QString source = writeFile(folder + "/Self.ttf", readFile(kDejaVuSans));
    const JobOutcome outcome = runFileSubsetJob(engine, source, folder, keepListFromText("abc"));
    QVERIFY(!outcome.succeeded);
    QCOMPARE(QString::fromUtf8(outcome.text),
             QStringLiteral("The output %1 would replace the font it is made from; choose another output folder."));
    QCOMPARE(readFile(source), readFile(kDejaVuSans));

    // The per-user folder keeps extracted members that later jobs load.
    const JobOutcome extracted = runFileSubsetJob(engine, source, applicationDataFolder(), keepListFromText("a"));
    QVERIFY(!extracted.succeeded);
    QVERIFY(QString::fromUtf8(extracted.text).contains("keeps the fonts this program extracts"));
}

void TestJobs::splitOutcomes()
{
    const JobOutcome empty = runSplitJob(QString(), dir.path());
    QCOMPARE(empty.box, JobOutcome::Box::Information);
    QCOMPARE(QString::fromUtf8(empty.title), QStringLiteral("Information"));
    QCOMPARE(QString::fromUtf8(empty.text), QStringLiteral("The path cannot be empty!"));
    QCOMPARE(QString::fromUtf8(runSplitJob(dir.filePath("a.ttc"), QString()).text),
             QStringLiteral("The path cannot be empty!"));

    const QString ttc = writeFile(dir.filePath("pair.ttc"), collection({namedFont("One"), namedFont("Two")}));
    const QString out = dir.filePath("split");
    QVERIFY(!runSplitJob(ttc, out).succeeded); // the folder does not exist
    QDir().mkpath(out);
    const JobOutcome split = runSplitJob(ttc, out);
    QVERIFY(split.succeeded);
    QCOMPARE(split.writtenFiles, QStringList({out + "/One.ttf", out + "/Two.ttf"}));

    // Every member file already there: nothing written, and no failure.
    const JobOutcome again = runSplitJob(ttc, out);
    QVERIFY(again.succeeded);
    QVERIFY(again.writtenFiles.isEmpty());

    const JobOutcome damaged = runSplitJob(writeFile(dir.filePath("bad.ttc"), "ttcf but nothing else"), out);
    QVERIFY(!damaged.succeeded);
    QCOMPARE(damaged.box, JobOutcome::Box::Warning);
}

QTEST_GUILESS_MAIN(TestJobs)
#include "tst_jobs.moc"
