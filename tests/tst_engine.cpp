// The engine: loading, keep lists, the cmap coverage test and writing subsets.

#include "support/FontBuilder.h"

#include "engine/CmapCoverage.h"
#include "engine/FontSubsetter.h"
#include "engine/KeepList.h"
#include "sfnt/TableTags.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace FontBuilder;

namespace {
const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void loadTrueTypeFile();
    void keepList();
    void coverage_data();
    void coverage();
    void coverageFallsBackToDefaultFace();
    void writeSubset();
    void writeSubsetFailures();
};

void TestEngine::loadTrueTypeFile()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    const QByteArray bytes = namedFont("Sample");
    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("Sample.TTF"), bytes)));
    QCOMPARE(engine.fontBytes, bytes);
    QCOMPARE(engine.fontData, reinterpret_cast<const uchar *>(engine.fontBytes.constData()));
    QVERIFY(engine.holdsTrueTypeFont());

    for (const char *name : {"sample.ttc", "sample.ttf.old", "sample"}) {
        QVERIFY(!engine.loadTrueTypeFile(writeFile(dir.filePath(name), bytes)));
        QVERIFY(engine.fontBytes.isEmpty());
        QVERIFY(!engine.fontData);
    }

    QVERIFY(engine.loadTrueTypeFile(dir.filePath("missing.ttf")));
    QVERIFY(engine.fontBytes.isEmpty());
    QVERIFY(!engine.fontData);
    QVERIFY(!engine.holdsTrueTypeFont());

    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("collection.ttf"), collection({bytes}))));
    QVERIFY(!engine.holdsTrueTypeFont());
}

void TestEngine::keepList()
{
    QCOMPARE(keepListFromText(QStringLiteral("abca\n")), QVector<quint16>({'a', 'b', 'c', 'a', '\n'}));
    QCOMPARE(keepListFromText(QString::fromUtf8("\xF0\x9F\x98\x80")), QVector<quint16>({0xD83D, 0xDE00}));
    QVERIFY(keepListFromText(QString()).isEmpty());

    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("Keep.ttf"), namedFont("Keep"))));
    engine.setKeepList(keepListFromText(QStringLiteral("abcaB\n")));
    QCOMPARE(engine.keepList, QVector<quint16>({0x0A, 'B', 'a', 'b', 'c'}));
    QVERIFY(engine.fontData); // 'B' is covered: the font stays
}

void TestEngine::coverage_data()
{
    QTest::addColumn<QByteArray>("cmap");
    QTest::addColumn<QVector<quint16>>("keep");
    QTest::addColumn<bool>("covered");

    const QVector<Segment> latin = {{0x41, 0x5A}, {0xFFFF, 0xFFFF}};
    const QByteArray windows = cmapFormat4({{3, 1}}, latin);
    QTest::newRow("inside a segment") << windows << QVector<quint16>{0x41} << true;
    QTest::newRow("outside every segment") << windows << QVector<quint16>{0xE9} << false;
    QTest::newRow("empty keep list") << windows << QVector<quint16>{} << false;
    QTest::newRow("only in the final 0xFFFF segment") << windows << QVector<quint16>{0xFFFF} << false;
    QTest::newRow("platform 0, encoding 1 is a candidate")
            << cmapFormat4({{0, 1}}, latin) << QVector<quint16>{0x41} << true;
    QTest::newRow("platform 0, encoding 3 is not")
            << cmapFormat4({{0, 3}}, latin) << QVector<quint16>{0x41} << false;

    // The first candidate decides, even when a later subtable would cover.
    QByteArray firstDecides = cmapFormat4({{3, 1}, {3, 10}}, {{0x30, 0x39}, {0xFFFF, 0xFFFF}});
    QTest::newRow("first format 4 candidate decides") << firstDecides << QVector<quint16>{0x41} << false;

    QTest::newRow("start above end before any hit ends with false")
            << cmapFormat4({{3, 1}}, {{0x50, 0x40}, {0x41, 0x5A}}) << QVector<quint16>{0x41} << false;
    QTest::newRow("start above end after a hit for the first value")
            << cmapFormat4({{3, 1}}, {{0x41, 0x5A}, {0x50, 0x40}}) << QVector<quint16>{0x41, 0x61} << true;
    QTest::newRow("start above end: later values never count")
            << cmapFormat4({{3, 1}}, {{0x61, 0x7A}, {0x50, 0x40}}) << QVector<quint16>{0x41, 0x61} << false;
    QTest::newRow("later values count without bad segments")
            << cmapFormat4({{3, 1}}, {{0x61, 0x7A}, {0x20, 0x20}}) << QVector<quint16>{0x41, 0x61} << true;

    QByteArray oddSegCount = windows;
    putU16(&oddSegCount, 12 + 6, 5); // segCountX2 odd: two segments, rounded down
    QTest::newRow("odd segCountX2") << oddSegCount << QVector<quint16>{0x41} << true;

    QByteArray subtablePastEnd = windows;
    putU32(&subtablePastEnd, 8, 0xFFFFFFF0);
    QTest::newRow("cmap subtable offset past the end") << subtablePastEnd << QVector<quint16>{0x41} << false;

    QByteArray segmentsPastEnd = windows;
    putU16(&segmentsPastEnd, 12 + 6, 0xFFFE);
    QTest::newRow("segment arrays past the end") << segmentsPastEnd << QVector<quint16>{0x41} << false;

    QByteArray recordsPastEnd = windows.left(6);
    putU16(&recordsPastEnd, 2, 40);
    QTest::newRow("encoding records past the end") << recordsPastEnd << QVector<quint16>{0x41} << false;
}

void TestEngine::coverage()
{
    QFETCH(QByteArray, cmap);
    QFETCH(QVector<quint16>, keep);
    QFETCH(bool, covered);
    QCOMPARE(cmapCoversAny(ByteView(cmap.constData(), quint64(cmap.size())), keep), covered);

    // The same through a loaded font.
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("Coverage.ttf"), font({{"cmap", cmap}}))));
    engine.keepList = keep;
    QCOMPARE(engine.coversAnyKeepUnit(), covered);
}

void TestEngine::coverageFallsBackToDefaultFace()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    engine.defaultFace = QStringLiteral("Fallback Face");
    engine.familyFiles.insert(QStringLiteral("fallback face"), kDejaVuSans);

    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("Latin.ttf"), namedFont("Latin"))));
    engine.setKeepList({0xE9});
    QCOMPARE(engine.fontBytes, readFile(kDejaVuSans));

    // No font at all (an unreadable file) falls back the same way.
    QVERIFY(engine.loadTrueTypeFile(dir.filePath("missing.ttf")));
    engine.setKeepList({});
    QCOMPARE(engine.readFamilyName(), QStringLiteral("DejaVu Sans"));
}

void TestEngine::writeSubset()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(kDejaVuSans));
    engine.setKeepList(keepListFromText(QStringLiteral("Hello")));
    const QString output = dir.filePath("Hello.ttf");
    QFile::remove(output);
    QVERIFY(engine.writeSubset(output));

    FontSubsetter subset(FontSubsetter::Setup::FontOnly);
    QVERIFY(subset.loadTrueTypeFile(output));
    QVERIFY(subset.holdsTrueTypeFont());
    QVERIFY(subset.fontBytes.size() < engine.fontBytes.size() / 10);
    QCOMPARE(subset.readFamilyName(), QStringLiteral("DejaVu Sans"));
    subset.keepList = {'H'};
    QVERIFY(subset.coversAnyKeepUnit());
    subset.keepList = {'Z'};
    QVERIFY(!subset.coversAnyKeepUnit());

    // An existing file is replaced.
    engine.setKeepList(keepListFromText(QStringLiteral("HelloWorld")));
    QVERIFY(engine.writeSubset(output));
    subset.loadTrueTypeFile(output);
    subset.keepList = {'W'};
    QVERIFY(subset.coversAnyKeepUnit());
}

void TestEngine::writeSubsetFailures()
{
    const QString existing = writeFile(dir.filePath("existing.ttf"), "keep me");
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);

    // No font: the service refuses, and the existing file stays as it was.
    engine.loadTrueTypeFile(dir.filePath("missing.ttf"));
    QVERIFY(!engine.writeSubset(existing));
    QCOMPARE(readFile(existing), QByteArray("keep me"));

    // Bytes that are no font.
    engine.loadTrueTypeFile(writeFile(dir.filePath("garbage.ttf"), QByteArray(1000, 'x')));
    QVERIFY(!engine.writeSubset(existing));
    QCOMPARE(readFile(existing), QByteArray("keep me"));

    // A folder, or a folder that does not exist, as the output.
    QVERIFY(engine.loadTrueTypeFile(kDejaVuSans));
    engine.keepList = {'A'};
    QVERIFY(!engine.writeSubset(dir.path()));
    QVERIFY(!engine.writeSubset(dir.filePath("no-such-folder/out.ttf")));
    QVERIFY(QFileInfo(dir.path()).isDir());

    // Every 16-bit value: the count cannot carry 65,536, U+FFFF is dropped.
    QVector<quint16> all(0x10000);
    std::iota(all.begin(), all.end(), 0);
    engine.keepList = all;
    QVERIFY(engine.writeSubset(dir.filePath("everything.ttf")));
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
