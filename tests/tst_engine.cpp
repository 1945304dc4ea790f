// The engine and the jobs behind "Accept" and the command line: keep lists,
// the coverage test, writing subsets, input checks in their order, what a
// subset is made from and named after, and what the outcome says. The
// catalogue here is filled by hand; tst_catalogue has the real one.

#include "support/FontBuilder.h"

#include "catalogue/Folders.h"
#include "engine/CmapCoverage.h"
#include "engine/Jobs.h"
#include "engine/TextDecoding.h"
#include "platform/NameFolding.h"
#include "platform/Woff2.h"
#include "sfnt/TableTags.h"

#include <QTemporaryDir>
#include <QtTest>

#include <numeric>

#include <unistd.h>

using namespace FontBuilder;

namespace {
const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kVlPGothic = QStringLiteral("/usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf");

QByteArray woff2Of(const QByteArray &font)
{
    return encodeWoff2(ByteView(font.constData(), quint64(font.size())));
}

// The WOFF2 with its first table's origLength (a UIntBase128 after the
// table's flags, and its tag when the flags give none) set to `length`: the
// header still announces the font's own size.
QByteArray withFirstTableLength(QByteArray woff2, quint32 length)
{
    int at = 48;
    if ((uchar(woff2[at]) & 0x3F) == 0x3F)
        at += 4;
    ++at;
    int end = at;
    while (uchar(woff2[end]) & 0x80)
        ++end;
    QByteArray encoded;
    for (int shift = 28; shift > 0; shift -= 7) {
        if (length >> shift)
            encoded += char(0x80 | ((length >> shift) & 0x7F));
    }
    encoded += char(length & 0x7F);
    return woff2.replace(at, end + 1 - at, encoded);
}
} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString latin; // maps A to Z
    FontSubsetter engine{FontSubsetter::Setup::FontOnly};
    QString folder(const QString &name)
    {
        QDir().mkpath(dir.filePath(name));
        return dir.filePath(name);
    }

private slots:
    void initTestCase();
    void loadTrueTypeFile();
    void keepList_data();
    void keepList();
    void formatFourTest_data();
    void formatFourTest();
    void unicodeCmap_data();
    void unicodeCmap();
    void writeSubset();
    void fileSubsetChecks_data();
    void fileSubsetChecks();
    void subsetOutcomes_data();
    void subsetOutcomes();
    void neverReplacesTheFontSubset_data();
    void neverReplacesTheFontSubset();
    void splitOutcomes();
    void namesInOutcomesArePrintable_data();
    void namesInOutcomesArePrintable();
    void decodesShortTextFiles_data();
    void decodesShortTextFiles();
    void splitWritingNothingFails_data();
    void splitWritingNothingFails();
};

void TestEngine::initTestCase()
{
    latin = writeFile(dir.filePath("Latin.ttf"), trueTypeFont("Latin"));
    engine.defaultFace = QStringLiteral("DejaVu Sans");
    engine.familyFiles.insert(QStringLiteral("dejavu sans"), kDejaVuSans);
    engine.familyFiles.insert(QStringLiteral("latin"), latin);
    engine.familyFiles.insert(QStringLiteral("broken"), writeFile(dir.filePath("Broken.ttf"), "no font at all"));
    engine.familyFiles.insert(QStringLiteral("gone"), dir.filePath("gone.ttf"));
}

void TestEngine::loadTrueTypeFile()
{
    FontSubsetter local(FontSubsetter::Setup::FontOnly);
    QVERIFY(local.loadTrueTypeFile(writeFile(dir.filePath("Sample.TTF"), namedFont("Sample"))));
    QVERIFY(local.holdsSfntFont() && !local.holdsCffFont());
    QVERIFY(local.loadTrueTypeFile(writeFile(dir.filePath("Sample.otf"), font({{"name", {}}}, 0x4F54544F))));
    QVERIFY(local.holdsSfntFont() && local.holdsCffFont());
    for (const char *name : {"sample.ttc", "sample.ttf.old", "sample"}) {
        QVERIFY(!local.loadTrueTypeFile(writeFile(dir.filePath(name), namedFont("Sample"))));
        QVERIFY(local.fontBytes.isEmpty() && !local.fontData);
    }
    QVERIFY(local.loadTrueTypeFile(dir.filePath("missing.ttf"))); // loads as no font
    QVERIFY(!local.fontData && !local.holdsSfntFont());

    // WOFF2 is decoded on loading: the bytes the engine holds (which the
    // web-font job takes) are the sfnt font.
    QVERIFY(local.loadTrueTypeFile(writeFile(dir.filePath("Sample.woff2"), woff2Of(trueTypeFont("Sample")))));
    QVERIFY(local.holdsSfntFont() && !local.holdsCffFont());
    QCOMPARE(local.readFamilyName(), QStringLiteral("Sample"));
    QVERIFY(local.fontBytes.startsWith(QByteArray("\0\1\0\0", 4)));
}

void TestEngine::keepList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<KeepList>("keepList");
    QTest::newRow("every unit, repeats and line breaks") << "abca\n" << KeepList{'a', 'b', 'c', 'a', '\n'};
    QTest::newRow("surrogate pairs are one character each")
            << QString::fromUtf8("\xF0\xA0\xAE\xB7野\xF0\x9F\x98\x80") << KeepList{0x20BB7, 0x91CE, 0x1F600};
    QTest::newRow("lone surrogates are dropped")
            << QString(QChar(0xD800)) + "a" + QChar(0xDC00) + QChar(0xD83D) << KeepList{'a'};
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
    QTest::newRow("inside a segment that maps it to .notdef")
            << cmapFormat4({{3, 1}}, {{0x41, 0x42, quint16(-0x41)}, {0xFFFF, 0xFFFF}}) << KeepList{0x41} << false;
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
}

void TestEngine::formatFourTest()
{
    QFETCH(QByteArray, cmap);
    QFETCH(KeepList, keep);
    QFETCH(bool, covered);
    QCOMPARE(formatFourSegmentsCoverAny(ByteView(cmap.constData(), quint64(cmap.size())), keep), covered);
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
    // Through a loaded font: a font the first test finds nothing in still counts.
    FontSubsetter local(FontSubsetter::Setup::FontOnly);
    QVERIFY(local.loadTrueTypeFile(writeFile(dir.filePath("Unicode.ttf"), font({{"cmap", cmap}}))));
    local.keepList = keep;
    QCOMPARE(local.coversAnyKeepUnit(), covered);
}

void TestEngine::writeSubset()
{
    FontSubsetter local(FontSubsetter::Setup::FontOnly), subset(FontSubsetter::Setup::FontOnly);
    QVERIFY(local.loadTrueTypeFile(kDejaVuSans));
    QCOMPARE(local.setKeepList(keepListFromText(QString::fromUtf8("Hello\n你"))), FontSubsetter::Coverage::Covered);
    const QString output = writeFile(dir.filePath("Hello.ttf"), "an older file");
    WrittenSubset written;
    QVERIFY(local.writeSubset(output, &written));
    QCOMPARE(written.missing, KeepList({'\n', 0x4F60}));
    QVERIFY(subset.loadTrueTypeFile(output) && subset.holdsSfntFont());
    quint16 numGlyphs = 0;
    QVERIFY(subset.findTable(TagMaxp).readU16(4, &numGlyphs));
    QCOMPARE(written.glyphCount, unsigned(numGlyphs));
    QCOMPARE(written.size, quint64(subset.fontBytes.size()));
    QCOMPARE(subset.readFamilyName(), QStringLiteral("DejaVu Sans"));
    subset.keepList = {'Z'};
    QVERIFY(!subset.coversAnyKeepUnit());

    // No font for the service: the older file stays, and no I/O is to blame.
    local.loadTrueTypeFile(writeFile(dir.filePath("garbage.ttf"), QByteArray(1000, 'x')));
    QVERIFY(!local.writeSubset(output, &written) && written.error.isEmpty());
    QCOMPARE(readFile(output), subset.fontBytes);

    // More code points than 16 bits can count, the last beyond U+FFFF: all reach the service.
    if (!QFileInfo::exists(kVlPGothic))
        QSKIP("fonts-vlgothic is not installed");
    QVERIFY(local.loadTrueTypeFile(kVlPGothic));
    local.keepList.resize(0x20000);
    std::iota(local.keepList.begin(), local.keepList.end(), 0);
    local.keepList.append(0x20BB7);
    QVERIFY(local.writeSubset(output, &written));
    QVERIFY(subset.loadTrueTypeFile(output));
    subset.keepList = {0x20BB7};
    QVERIFY(subset.coversAnyKeepUnit());
}

void TestEngine::fileSubsetChecks_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("openType");
    QTest::addColumn<QString>("message");

    const QString out = folder("out"), notTtf = "The file is not a valid ttf font file!";
    const QString pfb = writeFile(dir.filePath("Latin.pfb"), trueTypeFont("Latin"));
    QTest::newRow("empty output, whatever else") << "" << "" << false << "The output file path cannot be empty!";
    QTest::newRow("empty font path") << "" << out << false << "The file path cannot be empty!";
    QTest::newRow("no font's suffix, in the window") << pfb << out << false << notTtf;
    QTest::newRow(".ttc on the command line") << dir.filePath("x.ttc") << out << true << notTtf;
    QTest::newRow("missing") << dir.filePath("gone.ttf") << out << false
                             << "The file " + dir.filePath("gone.ttf") + " does not exist.";
    const QString cut = writeFile(dir.filePath("cut.ttf"), readFile(kDejaVuSans).left(2000));
    QTest::newRow("truncated") << cut << out << false << notTtf;
    const QString cutOtf = writeFile(dir.filePath("cut.otf"), readFile(kDejaVuSans).left(2000));
    QTest::newRow("truncated .otf, on the command line")
            << cutOtf << out << true << "The font " + cutOtf + " is damaged: its 'GPOS' table lies outside the file.";
    QTest::newRow("truncated .otf, in the window") << cutOtf << out << false << notTtf;
    const QString ttc = writeFile(dir.filePath("pair.ttf"), collection({namedFont("One"), namedFont("Two")}));
    QTest::newRow("collection under a .ttf name, on the command line")
            << ttc << out << true << "The file " + ttc + " is a font collection: split it, or pick its family by name.";
    QByteArray woff2 = woff2Of(readFile(latin));
    const QString damaged = writeFile(dir.filePath("Damaged.woff2"), woff2.left(woff2.size() / 2));
    QTest::newRow("damaged .woff2, on the command line")
            << damaged << out << true << "The WOFF2 font " + damaged + " is damaged: it could not be decoded.";
    QTest::newRow("damaged .woff2 in the window") << damaged << out << false << notTtf;
    putU32(&woff2, 16, 256 * 1024 * 1024 + 1); // totalSfntSize
    const QString huge = writeFile(dir.filePath("Huge.woff2"), woff2);
    QTest::newRow(".woff2 that would decode to more than 256 MB")
            << huge << out << true
            << "The WOFF2 font " + huge + " would be larger than 256 MB once decoded; it was not read.";
    const QString bomb = writeFile(dir.filePath("Bomb.woff2"), withFirstTableLength(woff2Of(readFile(latin)), 1u << 30));
    QTest::newRow(".woff2 whose table would decode to 1 GB, its header saying less")
            << bomb << out << true
            << "The WOFF2 font " + bomb + " would be larger than 256 MB once decoded; it was not read.";
    QTest::newRow("output is a file") << latin << latin << false << "The output folder " + latin + " does not exist.";
    QDir().mkpath(applicationDataFolder());
    QTest::newRow("output is the folder of extracted members")
            << latin << applicationDataFolder() << false
            << "The output folder " + applicationDataFolder() + " keeps the fonts this program extracts; choose another output folder.";
}

void TestEngine::fileSubsetChecks()
{
    QFETCH(QString, font);
    QFETCH(QString, output);
    QFETCH(bool, openType);
    QFETCH(QString, message);
    const JobOutcome outcome = runFileSubsetJob(engine, font, output, keepListFromText("ABC"),
                                                openType ? AcceptedSuffixes::TrueTypeAndOpenType
                                                         : AcceptedSuffixes::TrueType);
    QCOMPARE(outcome.box, JobOutcome::Box::Warning);
    QCOMPARE(outcome.title, QStringLiteral("Warning!"));
    QCOMPARE(outcome.text, message);
    QVERIFY(!outcome.succeeded && outcome.writtenFiles.isEmpty());
}

void TestEngine::subsetOutcomes_data()
{
    QTest::addColumn<bool>("family");   // an installed family, or a font file
    QTest::addColumn<QString>("source"); // the family or file asked for
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("written");  // the file's name in the folder, or nothing
    QTest::addColumn<QString>("madeFrom"); // the family name inside it

    const QString done = "Excute successfully!", instead = " The subset was made from the default face DejaVu Sans instead.";
    const QString neither = " nor the default face DejaVu Sans has any of the characters of the text; nothing was written.";
    QTest::newRow("file covers the text") << false << latin << "AB" << done << "" << "Latin.ttf" << "Latin";
    // Of a real font: the built ones' glyphs are all empty, and HarfBuzz
    // subsets no font whose glyf table is empty, as WOFF2 gives it back.
    FontSubsetter woff2Maker(FontSubsetter::Setup::FontOnly);
    const QString woff2 = dir.filePath("DejaVu ABC.woff2");
    QVERIFY(woff2Maker.loadTrueTypeFile(kDejaVuSans));
    woff2Maker.setKeepList(keepListFromText("ABC"));
    QVERIFY(woff2Maker.writeSubset(woff2, nullptr, OutputFormat::Woff2));
    QTest::newRow("a .woff2 file, written as .ttf") << false << woff2 << "AB" << done << "" << "DejaVu ABC.ttf"
                                                    << "DejaVu Sans";
    QTest::newRow("file covers none of it") << false << latin << "é" << done
                                            << latin + " has none of the characters of the text." + instead
                                            << "DejaVu Sans.ttf" << "DejaVu Sans";
    QTest::newRow("empty text: the chosen font itself") << false << latin << "" << done << "" << "Latin.ttf" << "Latin";
    QTest::newRow("line breaks only: an empty text") << false << latin << "\r\n\t" << done << "" << "Latin.ttf" << "Latin";
    QByteArray manyToOne = cmapFormat12({{3, 10}}, {{0x41, 0x5A, 1}});
    putU16(&manyToOne, 12, 13); // format 13: every character of a group to one glyph
    const QString format13 = writeFile(dir.filePath("Format13.ttf"), trueTypeFont("Format13", 0, 400, {}, manyToOne));
    QTest::newRow("the subset loses the only cmap that covers the text")
            << false << format13 << "AB"
            << "The subset font " + dir.filePath("the subset loses the only cmap that covers the text")
                    + "/Format13.ttf was not written: Format13 maps characters of the text, but the subset made from it maps none of them."
            << "" << "" << "";
    QTest::newRow("neither covers any") << false << latin << "你好" << "Neither " + latin + neither << "" << "" << "";
    QTest::newRow("family, any case") << true << "LATIN" << "AB" << done << "" << "LATIN.ttf" << "Latin";
    QTest::newRow("family not installed") << true << "No Such Family" << "AB" << done
                                          << "The family No Such Family is not installed." + instead
                                          << "DejaVu Sans.ttf" << "DejaVu Sans";
    QTest::newRow("family not loadable") << true << "Broken" << "AB" << done
                                         << "The font of Broken could not be loaded. The file " + dir.filePath("Broken.ttf")
                                                    + " is not a TrueType or OpenType font." + instead
                                         << "DejaVu Sans.ttf" << "DejaVu Sans";
    const QString coversNone = "The default face DejaVu Sans has none of the characters of the text; nothing was written.";
    QTest::newRow("family not installed, default face covers none")
            << true << "No Such Family" << "你" << coversNone << "The family No Such Family is not installed." << "" << "";
    QTest::newRow("family's file unreadable, default face covers none")
            << true << "Gone" << "你" << coversNone
            << "The font of Gone could not be loaded. The file " + dir.filePath("gone.ttf")
                    + " could not be read: No such file or directory." << "" << "";
}

void TestEngine::subsetOutcomes()
{
    QFETCH(bool, family);
    QFETCH(QString, source);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, notice);
    QFETCH(QString, written);
    QFETCH(QString, madeFrom);

    const QString out = folder(QTest::currentDataTag());
    const JobOutcome outcome = family ? runSystemSubsetJob(engine, source, out, keepListFromText(text))
                                      : runFileSubsetJob(engine, source, out, keepListFromText(text));
    QCOMPARE(outcome.text, message);
    QCOMPARE(outcome.notices, notice.isEmpty() ? QStringList() : QStringList(notice));
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden), written.isEmpty() ? QStringList() : QStringList(written));
    QCOMPARE(outcome.succeeded, !written.isEmpty());
    if (written.isEmpty())
        return;
    QCOMPARE(outcome.writtenFiles, QStringList(out + '/' + written));
    FontSubsetter check(FontSubsetter::Setup::FontOnly);
    QVERIFY(check.loadTrueTypeFile(outcome.writtenFiles.first()));
    QCOMPARE(check.readFamilyName(), madeFrom);
    QVERIFY(outcome.summary.first().startsWith(outcome.writtenFiles.first() + ": "));
}

void TestEngine::neverReplacesTheFontSubset_data()
{
    QTest::addColumn<QString>("font");   // the font file chosen
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("output"); // the subset's path, where a file of the font already is

    // The default face's file is where the fallback subset would go.
    const QString out = folder("default-face-here");
    writeFile(out + "/DejaVu Sans.ttf", readFile(kDejaVuSans));
    QTest::newRow("the default face's file") << latin << "é" << out + "/DejaVu Sans.ttf";
    QTest::newRow("the chosen file itself") << out + "/DejaVu Sans.ttf" << "A" << out + "/DejaVu Sans.ttf";
    // Another path to the same file: the paths differ, the device and inode do not.
    const QString link = folder("hard-link") + "/DejaVu Sans.ttf";
    QCOMPARE(::link(QFile::encodeName(out + "/DejaVu Sans.ttf").constData(), QFile::encodeName(link).constData()), 0);
    QTest::newRow("a hard link to the default face's file") << latin << "é" << link;
    QTest::newRow("a hard link to the chosen file") << out + "/DejaVu Sans.ttf" << "A" << link;
}

void TestEngine::neverReplacesTheFontSubset()
{
    QFETCH(QString, font);
    QFETCH(QString, text);
    QFETCH(QString, output);
    const QString defaultFace = dir.filePath("default-face-here/DejaVu Sans.ttf");
    FontSubsetter local(FontSubsetter::Setup::FontOnly);
    local.defaultFace = QStringLiteral("DejaVu Sans");
    local.familyFiles.insert(QStringLiteral("dejavu sans"), defaultFace);
    QCOMPARE(runFileSubsetJob(local, font, QFileInfo(output).path(), keepListFromText(text)).text,
             "The output " + output + " would replace the font it is made from; choose another output folder.");
    QCOMPARE(readFile(defaultFace), readFile(kDejaVuSans));
}

void TestEngine::splitOutcomes()
{
    const QString out = folder("split");
    QCOMPARE(runSplitJob(QString(), out).text, QStringLiteral("The path cannot be empty!"));
    QCOMPARE(runSplitJob(QString(), out).box, JobOutcome::Box::Information);
    QCOMPARE(runSplitJob(dir.filePath("gone.ttc"), out).text, "The file " + dir.filePath("gone.ttc") + " does not exist.");

    const QString otc = writeFile(dir.filePath("pair.otc"), collection({namedFont("One"), namedFont("Two")}));
    QVERIFY(runSplitJob(otc, out).text.contains("could not be split")); // the window takes .ttc only
    JobOutcome outcome = runSplitJob(otc, out, AcceptedSuffixes::TrueTypeAndOpenType);
    QVERIFY(outcome.succeeded && outcome.notices.isEmpty());
    QCOMPARE(outcome.writtenFiles, QStringList({out + "/One.ttf", out + "/Two.ttf"}));

    // Every member file there already: a success that says what was kept.
    outcome = runSplitJob(otc, out, AcceptedSuffixes::TrueTypeAndOpenType);
    QVERIFY(outcome.succeeded && outcome.writtenFiles.isEmpty());
    QCOMPARE(outcome.notices, QStringList({out + "/One.ttf was kept as it was: a file of that name exists.",
                                           out + "/Two.ttf was kept as it was: a file of that name exists."}));
}

void TestEngine::namesInOutcomesArePrintable_data()
{
    QTest::addColumn<bool>("family"); // an installed family, or a font file
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("madeFrom"); // how the summary's first line ends

    // A line break, and a right-to-left override from there on.
    const QString evil = QString("Line\nBreak") + QChar(0x202E) + "Override";
    const QString evilFile = writeFile(dir.filePath("Evil.ttf"), trueTypeFont(evil));
    const QString instead = " The subset was made from the default face DejaVuSans instead.";
    QTest::newRow("a font file's family") << false << evilFile << "A" << ""
                                          << ", made from LineBreakOverride (" + evilFile + ").";
    QTest::newRow("the default face") << false << latin << "é"
                                      << latin + " has none of the characters of the text." + instead
                                      << ", made from DejaVuSans (" + kDejaVuSans + ").";
    QTest::newRow("an installed family") << true << evil << "A"
                                         << "The font of LineBreakOverride could not be loaded. The file "
                                                    + dir.filePath("Broken.ttf") + " is not a TrueType or OpenType font."
                                                    + instead
                                         << ", made from DejaVuSans (" + kDejaVuSans + ").";
}

// A font's names come from the font: each line of the outcome stays one
// line, in the order it is written in.
void TestEngine::namesInOutcomesArePrintable()
{
    QFETCH(bool, family);
    QFETCH(QString, source);
    QFETCH(QString, text);
    QFETCH(QString, notice);
    QFETCH(QString, madeFrom);
    FontSubsetter local(FontSubsetter::Setup::FontOnly);
    local.defaultFace = QString("DejaVu\n") + QChar(0x202E) + "Sans";
    local.familyFiles.insert(foldedName(local.defaultFace), kDejaVuSans);
    local.familyFiles.insert(foldedName(source), dir.filePath("Broken.ttf"));
    const QString out = folder("printable " + QString(QTest::currentDataTag()));
    const JobOutcome outcome = family ? runSystemSubsetJob(local, source, out, keepListFromText(text))
                                      : runFileSubsetJob(local, source, out, keepListFromText(text));
    QVERIFY(outcome.succeeded);
    QCOMPARE(outcome.notices, notice.isEmpty() ? QStringList() : QStringList(notice));
    QVERIFY2(outcome.summary.first().endsWith(madeFrom), qPrintable(outcome.summary.first()));
    for (const QString &line : QStringList(outcome.text) + outcome.notices + outcome.summary)
        QVERIFY2(!line.contains('\n') && !line.contains(QChar(0x202E)), qPrintable(line));
}

void TestEngine::decodesShortTextFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readAsGb2312");
    const auto gb2312 = [](const char *text) {
        QStringEncoder encoder("GB18030");
        return QByteArray(encoder(QString::fromUtf8(text)));
    };
    // "A学" reads as "Aѧ" in UTF-8, and neither reading scores: a tie, which goes to GB2312.
    // "喂喂" reads as "ιι", a Greek word of vowels only.
    for (const char *text : {"学习", "谢谢", "一", "A学习", "中文", "你好，世界", "A学", "喂喂"}) {
        QTest::newRow(qPrintable("GB2312 " + QString::fromUtf8(text)))
                << gb2312(text) << QString::fromUtf8(text) << true;
    }
    // The last three are valid GB2312 too: Cyrillic а-п and Greek α-ο read as hanzi there.
    for (const char *text : {"café", "résumé", "Bogotá", "你好", "привет", "AB", "дом где", "в дом", "βιβλίο"}) {
        QTest::newRow(qPrintable("UTF-8 " + QString::fromUtf8(text)))
                << QByteArray(text) << QString::fromUtf8(text) << false;
    }
}

// Short files are read in the encoding they were saved in, also when their
// bytes are valid in both (every GB2312 row but the fifth and sixth is valid
// UTF-8), and the decoding says which it was.
void TestEngine::decodesShortTextFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, readAsGb2312);
    const DecodedText decoded = decodeTextFile(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding == TextEncoding::Gb2312, readAsGb2312);
}

void TestEngine::splitWritingNothingFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("notices");
    QTest::newRow("no members") << collection({}) << "The collection %1 has no members; nothing was written."
                                << QStringList();
    QTest::newRow("every member skipped")
            << collection({namedFont(".dot"), namedFont(QString(QChar(0x202E)) + "a/b\n")})
            << "No member of the collection %1 has a family name that can be a file name; nothing was written."
            << QStringList({"Member 0 was skipped: its family name \".dot\" cannot be a file name.",
                            "Member 1 was skipped: its family name \"a/b\" cannot be a file name."});
}

void TestEngine::splitWritingNothingFails()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QStringList, notices);
    const QString ttc = writeFile(dir.filePath(QString("%1.ttc").arg(QTest::currentDataTag())), bytes);
    const JobOutcome outcome = runSplitJob(ttc, folder("nothing"));
    QVERIFY(!outcome.succeeded);
    QCOMPARE(outcome.text, text.arg(ttc));
    QCOMPARE(outcome.notices, notices);
    QVERIFY(QDir(dir.filePath("nothing")).isEmpty());
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
