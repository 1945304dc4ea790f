// The engine: loading, keep lists, the coverage test and writing subsets.

#include "support/FontBuilder.h"

#include "engine/CmapCoverage.h"
#include "engine/FontSubsetter.h"
#include "sfnt/TableTags.h"

#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

using namespace FontBuilder;

namespace {
const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kVlPGothic = QStringLiteral("/usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf");

ByteView view(const QByteArray &bytes)
{
    return ByteView(bytes.constData(), quint64(bytes.size()));
}
} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void loadTrueTypeFile();
    void keepList_data();
    void keepList();
    void formatFourTest_data();
    void formatFourTest();
    void unicodeCmap_data();
    void unicodeCmap();
    void writeSubset();
    void writeSubsetKeepsOldFileOnFailure();
};

void TestEngine::loadTrueTypeFile()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    const QByteArray trueType = namedFont("Sample");
    const QByteArray cff = font({{"name", familyNameTable("Sample")}}, 0x4F54544F);
    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("Sample.TTF"), trueType)));
    QCOMPARE(engine.fontData, reinterpret_cast<const uchar *>(engine.fontBytes.constData()));
    QVERIFY(engine.holdsSfntFont() && !engine.holdsCffFont());
    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("Sample.otf"), cff)));
    QVERIFY(engine.holdsSfntFont() && engine.holdsCffFont());

    for (const char *name : {"sample.ttc", "sample.ttf.old", "sample"}) {
        QVERIFY(!engine.loadTrueTypeFile(writeFile(dir.filePath(name), trueType)));
        QVERIFY(engine.fontBytes.isEmpty() && !engine.fontData);
    }
    QVERIFY(engine.loadTrueTypeFile(dir.filePath("missing.ttf"))); // loads as no font
    QVERIFY(!engine.fontData && !engine.holdsSfntFont());
    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("collection.ttf"), collection({trueType}))));
    QVERIFY(!engine.holdsSfntFont());
}

void TestEngine::keepList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<KeepList>("keepList");
    QTest::newRow("every unit, repeats and line breaks") << "abca\n" << KeepList{'a', 'b', 'c', 'a', '\n'};
    QTest::newRow("no-break space as it is") << QString::fromUtf8("a\u00A0b") << KeepList{'a', 0xA0, 'b'};
    QTest::newRow("surrogate pairs are one character each")
            << QString::fromUtf8("\xF0\xA0\xAE\xB7野\xF0\x9F\x98\x80") << KeepList{0x20BB7, 0x91CE, 0x1F600};
    QTest::newRow("lone surrogates are dropped")
            << QString(QChar(0xD800)) + "a" + QChar(0xDC00) + QChar(0xD83D) << KeepList{'a'};
    QTest::newRow("empty") << QString() << KeepList{};
}

void TestEngine::keepList()
{
    QFETCH(QString, text);
    QFETCH(KeepList, keepList);
    QCOMPARE(keepListFromText(text), keepList);
}

void TestEngine::formatFourTest_data()
{
    QTest::addColumn<QByteArray>("cmap");
    QTest::addColumn<KeepList>("keep");
    QTest::addColumn<bool>("covered");

    const QVector<Segment> latin = {{0x41, 0x5A}, {0xFFFF, 0xFFFF}};
    const QByteArray windows = cmapFormat4({{3, 1}}, latin);
    QTest::newRow("inside a segment") << windows << KeepList{0x41} << true;
    QTest::newRow("outside every segment") << windows << KeepList{0xE9} << false;
    QTest::newRow("empty keep list") << windows << KeepList{} << false;
    QTest::newRow("only in the final 0xFFFF segment") << windows << KeepList{0xFFFF} << false;
    QTest::newRow("beyond U+FFFF, its low bits inside a segment") << windows << KeepList{0x10041} << false;
    QTest::newRow("platform 0, encoding 1 is a candidate") << cmapFormat4({{0, 1}}, latin) << KeepList{0x41} << true;
    QTest::newRow("platform 0, encoding 3 is not") << cmapFormat4({{0, 3}}, latin) << KeepList{0x41} << false;
    QTest::newRow("first format 4 candidate decides")
            << cmapFormat4({{3, 1}, {3, 10}}, {{0x30, 0x39}, {0xFFFF, 0xFFFF}}) << KeepList{0x41} << false;
    QTest::newRow("start above end before any hit ends with false")
            << cmapFormat4({{3, 1}}, {{0x50, 0x40}, {0x41, 0x5A}}) << KeepList{0x41} << false;
    QTest::newRow("start above end after a hit for the first value")
            << cmapFormat4({{3, 1}}, {{0x41, 0x5A}, {0x50, 0x40}}) << KeepList{0x41, 0x61} << true;
    QTest::newRow("start above end: later values never count")
            << cmapFormat4({{3, 1}}, {{0x61, 0x7A}, {0x50, 0x40}}) << KeepList{0x41, 0x61} << false;
    QTest::newRow("later values count without bad segments")
            << cmapFormat4({{3, 1}}, {{0x61, 0x7A}, {0x20, 0x20}}) << KeepList{0x41, 0x61} << true;

    QByteArray oddSegCount = windows;
    putU16(&oddSegCount, 12 + 6, 5); // two segments, rounded down
    QTest::newRow("odd segCountX2") << oddSegCount << KeepList{0x41} << true;
    QByteArray subtablePastEnd = windows;
    putU32(&subtablePastEnd, 8, 0xFFFFFFF0);
    QTest::newRow("subtable offset past the end") << subtablePastEnd << KeepList{0x41} << false;
    QByteArray segmentsPastEnd = windows;
    putU16(&segmentsPastEnd, 12 + 6, 0xFFFE);
    QTest::newRow("segment arrays past the end") << segmentsPastEnd << KeepList{0x41} << false;
    QByteArray recordsPastEnd = windows.left(6);
    putU16(&recordsPastEnd, 2, 40);
    QTest::newRow("encoding records past the end") << recordsPastEnd << KeepList{0x41} << false;
}

void TestEngine::formatFourTest()
{
    QFETCH(QByteArray, cmap);
    QFETCH(KeepList, keep);
    QFETCH(bool, covered);
    QCOMPARE(formatFourSegmentsCoverAny(view(cmap), keep), covered);
}

void TestEngine::unicodeCmap_data()
{
    QTest::addColumn<QByteArray>("cmap");
    QTest::addColumn<KeepList>("keep");
    QTest::addColumn<bool>("covered");

    const QVector<Group> emoji = {{0x1F600, 0x1F64F, 1}};
    QTest::newRow("format 12, beyond U+FFFF") << cmapFormat12({{3, 10}}, emoji) << KeepList{'A', 0x1F600} << true;
    QTest::newRow("format 12 under platform 0 only") << cmapFormat12({{0, 4}}, emoji) << KeepList{0x1F64F} << true;
    QTest::newRow("format 12, none of the text") << cmapFormat12({{3, 10}}, emoji) << KeepList{'A', 0x1F650} << false;
    QTest::newRow("format 12 mapping to .notdef") << cmapFormat12({{3, 10}}, {{0x41, 0x41, 0}}) << KeepList{'A'} << false;
    QTest::newRow("platform 0, encoding 3: only the second test reads it")
            << cmapFormat4({{0, 3}}, {{0x41, 0x5A}, {0xFFFF, 0xFFFF}}) << KeepList{0x41} << true;
}

void TestEngine::unicodeCmap()
{
    QFETCH(QByteArray, cmap);
    QFETCH(KeepList, keep);
    QFETCH(bool, covered);
    QCOMPARE(cmapCoversAny(view(cmap), keep), covered);

    // The same through a loaded font: a font the first test finds nothing in still counts.
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(writeFile(dir.filePath("Unicode.ttf"), font({{"cmap", cmap}}))));
    engine.keepList = keep;
    QCOMPARE(engine.coversAnyKeepUnit(), covered);
}

void TestEngine::writeSubset()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(kDejaVuSans));
    QCOMPARE(engine.setKeepList(keepListFromText(QString::fromUtf8("Hello\n你"))),
             FontSubsetter::Coverage::Covered);
    const QString output = writeFile(dir.filePath("Hello.ttf"), "an older file");
    WrittenSubset written;
    QVERIFY(engine.writeSubset(output, &written));
    QCOMPARE(written.size, quint64(QFileInfo(output).size()));
    QCOMPARE(written.missing, KeepList({'\n', 0x4F60}));

    FontSubsetter subset(FontSubsetter::Setup::FontOnly);
    QVERIFY(subset.loadTrueTypeFile(output));
    QVERIFY(subset.holdsSfntFont());
    quint16 numGlyphs = 0;
    QVERIFY(subset.findTable(TagMaxp).readU16(4, &numGlyphs));
    QCOMPARE(written.glyphCount, unsigned(numGlyphs));
    QVERIFY(numGlyphs >= 5); // .notdef, H, e, l, o
    QCOMPARE(subset.readFamilyName(), QStringLiteral("DejaVu Sans"));
    subset.keepList = {'H'};
    QVERIFY(subset.coversAnyKeepUnit());
    subset.keepList = {'Z'};
    QVERIFY(!subset.coversAnyKeepUnit());

    // More code points than 16 bits can count, the last beyond U+FFFF: all reach the service.
    if (!QFileInfo::exists(kVlPGothic))
        QSKIP("fonts-vlgothic is not installed");
    QVERIFY(engine.loadTrueTypeFile(kVlPGothic));
    engine.keepList.resize(0x20000);
    std::iota(engine.keepList.begin(), engine.keepList.end(), 0);
    engine.keepList.append(0x20BB7);
    QVERIFY(engine.writeSubset(output, &written));
    QVERIFY(subset.loadTrueTypeFile(output));
    subset.keepList = {0x20BB7};
    QVERIFY(subset.coversAnyKeepUnit());
}

void TestEngine::writeSubsetKeepsOldFileOnFailure()
{
    const QString existing = writeFile(dir.filePath("existing.ttf"), "keep me");
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    engine.keepList = {'A'};
    WrittenSubset written;
    for (const QByteArray &bytes : {QByteArray(), QByteArray(1000, 'x')}) { // no font, no font either
        engine.loadTrueTypeFile(writeFile(dir.filePath("source.ttf"), bytes));
        QVERIFY(!engine.writeSubset(existing, &written));
        QVERIFY(written.error.isEmpty()); // refused by the service: no I/O to blame
        QCOMPARE(readFile(existing), QByteArray("keep me"));
    }
    QVERIFY(engine.loadTrueTypeFile(kDejaVuSans));
    QVERIFY(!engine.writeSubset(dir.path(), &written)); // a folder
    QVERIFY(!written.error.isEmpty());
    QVERIFY(!engine.writeSubset(dir.filePath("no-such-folder/out.ttf"), &written));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter("existing.ttf."), QStringList());
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
