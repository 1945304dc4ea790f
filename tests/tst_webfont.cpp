// The web-font slice planner as a pure function: every code point in exactly
// one slice, the punctuation together in the first, no slice of blank glyphs
// only, no tiny slice, and the slices the rules give. The kit's texts. And
// the kit in a folder that is the user's own: a site's files never replaced,
// slices kept only when their bytes are right, one run at a time, the
// earlier kit's slices counted or pruned; faces of installed families as
// subsets resolve them; a kit cancelled part way leaves nothing behind.

#include "support/FontBuilder.h"
#include "support/HostileInputs.h"

#include "platform/HarfBuzzHandles.h"
#include "webfont/FallbackMetrics.h"
#include "webfont/KitFiles.h"
#include "webfont/SliceMaker.h"
#include "webfont/SlicePlanner.h"
#include "webfont/WebFace.h"
#include "webfont/WebFontJob.h"

#include <hb.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace FontBuilder;

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

// A kit of DejaVu Sans holding the text's characters, into the folder.
WebFontOutcome latinKit(const QString &folder, const QString &text, bool prune = false, const QString &cssFamily = {})
{
    WebFontRequest request;
    request.fontPath = kDejaVuSans;
    request.outputFolder = folder;
    request.characters = keepListFromText(text);
    request.prune = prune;
    request.cssFamily = cssFamily;
    return runWebFontJob(request);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The slices the folder's CSS names, each with whether its bytes hash to the
// digits in its name (computed here, not by the code under test).
QMap<QString, bool> namedSlices(const QString &cssPath)
{
    QMap<QString, bool> slices;
    static const QRegularExpression url(QStringLiteral("url\\(\"([^\"]+)\"\\)"));
    for (auto match = url.globalMatch(QString::fromUtf8(readFile(cssPath))); match.hasNext();) {
        const QString name = match.next().captured(1);
        const QByteArray bytes = readFile(QFileInfo(cssPath).path() + "/" + name);
        const QString digits = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(8));
        slices.insert(name, !bytes.isEmpty() && name.section('.', -2, -2) == digits);
    }
    return slices;
}

KeepList span(quint32 first, quint32 last)
{
    KeepList codePoints;
    for (quint32 codePoint = first; codePoint <= last; ++codePoint)
        codePoints.append(codePoint);
    return codePoints;
}

// Slices as a report gives them: each as runs of code points.
QVector<QVector<CodePointSpan>> asReported(const QVector<KeepList> &slices)
{
    QVector<QVector<CodePointSpan>> reported;
    for (const KeepList &slice : slices) {
        QVector<CodePointSpan> runs;
        for (quint32 codePoint : slice) {
            if (!runs.isEmpty() && runs.last().last + 1 == codePoint)
                runs.last().last = codePoint;
            else
                runs.append({codePoint, codePoint});
        }
        reported.append(runs);
    }
    return reported;
}

// A font of the given line metrics whose every glyph advances by `advance`,
// mapping ASCII (or only up to U+0060, without lowercase letters), CJK
// punctuation, the full-width forms and the unified ideographs.
QByteArray metricsFont(quint16 unitsPerEm, const QVector<int> &hhea, const QVector<int> &typo, const QVector<int> &win,
                       quint16 advance, bool lowercase)
{
    const QVector<Group> groups{{0x20, lowercase ? 0x7Eu : 0x60u, 1}, {0x3000, 0x303F, 0x100},
                                {0x4E00, 0x9FFF, 0x200}, {0xFF00, 0xFF5E, 0x5400}};
    const quint16 numGlyphs = 0x5500;
    QByteArray head = headTable();
    putU16(&head, 18, unitsPerEm);
    QByteArray hheaTable(36, '\0');
    putU32(&hheaTable, 0, 0x00010000);
    putU16(&hheaTable, 4, quint16(hhea.at(0)));
    putU16(&hheaTable, 6, quint16(hhea.at(1)));
    putU16(&hheaTable, 8, quint16(hhea.at(2)));
    putU16(&hheaTable, 34, 1); // every glyph takes the one advance
    QByteArray os2 = os2Table();
    putU16(&os2, 68, quint16(typo.at(0)));
    putU16(&os2, 70, quint16(typo.at(1)));
    putU16(&os2, 72, quint16(typo.at(2)));
    putU16(&os2, 74, quint16(win.at(0)));
    putU16(&os2, 76, quint16(win.at(1)));
    QByteArray maxp = u32(0x00005000) + u16(numGlyphs);
    const QByteArray hmtx = u16(advance) + u16(0) + QByteArray(2 * (numGlyphs - 1), '\0');
    return font({{"OS/2", os2}, {"cmap", cmapFormat12({{3, 10}}, groups)}, {"head", head}, {"hhea", hheaTable},
                 {"hmtx", hmtx}, {"maxp", maxp}});
}

HbFacePtr faceOf(const QByteArray &bytes, unsigned index = 0)
{
    const HbBlobPtr blob(hb_blob_create(bytes.constData(), unsigned(bytes.size()), HB_MEMORY_MODE_DUPLICATE, nullptr, nullptr));
    return HbFacePtr(hb_face_create(blob.get(), index));
}

} // namespace

class TestWebFont : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void planSlices_data();
    void planSlices();
    void planFaceSlices_data();
    void planFaceSlices();
    void keepSequencesWhole_data();
    void keepSequencesWhole();
    void largeSlicesCutByCodePoints();
    void unicodeRange_data();
    void unicodeRange();
    void kitTexts_data();
    void kitTexts();
    void fallbackFaces_data();
    void fallbackFaces();
    void sitePages_data();
    void sitePages();
    void siteFilesInTheFolder_data();
    void siteFilesInTheFolder();
    void reRunsIntoOneFolder_data();
    void reRunsIntoOneFolder();
    void oneRunAtATimePerFolder();
    void faceSequences_data();
    void faceSequences();
    void hostileLayoutKits_data();
    void hostileLayoutKits();
    void kitSummaries_data();
    void kitSummaries();
    void kitsShareAFolder_data();
    void kitsShareAFolder();
    void facesOfFamilies_data();
    void facesOfFamilies();
    void cancelledKitLeavesNothing();

private:
    QTemporaryDir dir;
};

void TestWebFont::initTestCase()
{
    // Faces fontconfig finds in the test's own data folder; written before
    // anything asks fontconfig, which scans once. The first two have no
    // PostScript name (ID 6), the third slants, and the fourth's names hold a
    // line break and a bidi override.
    QVERIFY2(qEnvironmentVariableIsSet("XDG_DATA_HOME"), "run it through ctest, which gives it a data folder of its own");
    const QString fonts = qEnvironmentVariable("XDG_DATA_HOME") + "/fonts";
    QVERIFY(QDir().mkpath(fonts));
    QVERIFY(!writeFile(fonts + "/nameless-regular.ttf", trueTypeFont("Nameless Test")).isEmpty());
    QVERIFY(!writeFile(fonts + "/nameless-bold.ttf", trueTypeFont("Nameless Test", 1, 700)).isEmpty());
    QVERIFY(!writeFile(fonts + "/slanted.ttf",
                       trueTypeFont("Slanted Test", 0, 400, {}, {}, {{"fvar", fvarTable("slnt", -12, 0, 0)}}))
                     .isEmpty());
    const QString unruly = QStringLiteral("Unruly\nTest\u202E");
    QVERIFY(!writeFile(fonts + "/unruly.ttf",
                       trueTypeFont(unruly, 0, 400, {{3, 1, 0x0409, 1, unruly}, {3, 1, 0x0409, 4, unruly + " Face"}}))
                     .isEmpty());
}

void TestWebFont::planSlices_data()
{
    QTest::addColumn<KeepList>("codePoints");
    QTest::addColumn<KeepList>("blank");
    QTest::addColumn<QVector<KeepList>>("lists");
    QTest::addColumn<QVector<int>>("sizes");
    QTest::addColumn<QVector<KeepList>>("texts"); // a known text's files
    QTest::addColumn<KeepList>("starts"); // the lowest code point of each slice; empty: not checked

    const KeepList ascii = span(0x20, 0x7E);
    const KeepList noBlanks;
    QTest::newRow("punctuation the lists put late joins the first slice")
            << ascii + span(0x3000, 0x303F) + span(0x4E00, 0x4EFF) + span(0xFF01, 0xFF5E) << noBlanks
            << QVector<KeepList>{span(0x4E00, 0x4E1F), KeepList{0x3001} + span(0x4E20, 0x4E9F),
                                 KeepList{0xFF0C} + span(0x4EA0, 0x4EFF)}
            << QVector<int>{95 + 64 + 94 + 32, 128, 96} << QVector<KeepList>() << KeepList();
    QTest::newRow("the rest by block, up to the target size")
            << span(0x0370, 0x03FF) + span(0x0400, 0x052F) << noBlanks << QVector<KeepList>()
            << QVector<int>{144, 128, 176} << QVector<KeepList>() << KeepList();
    QTest::newRow("tiny slices join the one before")
            << ascii + span(0x0391, 0x03C9) + span(0x4E00, 0x4E03) + span(0x4E10, 0x4E12) << noBlanks
            << QVector<KeepList>{{}, span(0x4E00, 0x4E03), span(0x4E10, 0x4E12)} << QVector<int>{102, 57} << QVector<KeepList>() << KeepList();
    QVector<KeepList> lists(21);
    lists[6] = span(0x4E00, 0x4EBB);
    lists[20] = span(0x5000, 0x5089);
    QTest::newRow("lists past the sixth cut into parts, past the twentieth in thirds")
            << ascii + lists[6] + lists[20] << noBlanks << lists << QVector<int>{95, 8, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 46, 46, 46} << QVector<KeepList>() << KeepList();
    QTest::newRow("a block of blank glyphs joins a slice that draws")
            << ascii + span(0x2800, 0x28FF) + span(0xE000, 0xE0C7) << KeepList{0x20, 0x2800} + span(0xE000, 0xE0C7)
            << QVector<KeepList>() << QVector<int>{95, 128, 328} << QVector<KeepList>() << KeepList();
    QTest::newRow("a blank first slice takes in the next")
            << KeepList{0x20, 0x3000} + span(0x4E00, 0x4E3F) << KeepList{0x20, 0x3000} << QVector<KeepList>()
            << QVector<int>{66} << QVector<KeepList>() << KeepList();
    QTest::newRow("a known text: what both files use, then each file's own")
            << KeepList{'a'} + span(0x4E00, 0x4EBF) << noBlanks << QVector<KeepList>{span(0x4E80, 0x4EBF)}
            << QVector<int>{1 + 64, 64, 64}
            << QVector<KeepList>{KeepList{'a'} + span(0x4E00, 0x4E7F), span(0x4E40, 0x4EBF)}
            << KeepList{'a', 0x4E00, 0x4E80};
    // A slice costs a page that needs any of it the tables every slice
    // repeats, and the characters of it the page does not need.
    const KeepList shared = span(0x4E00, 0x4EC7), own0 = span(0x5000, 0x5013), own1 = span(0x5100, 0x5113);
    QTest::newRow("a file's few characters of its own stay its own")
            << shared + own0 + own1 << noBlanks << QVector<KeepList>()
            << QVector<int>{200, 20, 20} << QVector<KeepList>{shared + own0, shared + own1}
            << KeepList{0x4E00, 0x5000, 0x5100};
    QVector<KeepList> tenFiles(10, span(0x4E00, 0x4E63));
    for (int file = 0; file < 9; ++file)
        tenFiles[file] += span(0x5000, 0x501D);
    QTest::newRow("what nine files of ten use joins what all ten use")
            << span(0x4E00, 0x4E63) + span(0x5000, 0x501D) << noBlanks << QVector<KeepList>()
            << QVector<int>{130} << tenFiles << KeepList();
    QTest::newRow("a one-file text, frequent first, in parts")
            << span(0x4E00, 0x57FF) << noBlanks << QVector<KeepList>{{}, span(0x5000, 0x57FF)}
            << QVector<int>{853, 853, 854} << QVector<KeepList>{span(0x4E00, 0x57FF)}
            << KeepList{0x5000, 0x5355, 0x4E00};
}

void TestWebFont::planSlices()
{
    QFETCH(KeepList, codePoints);
    QFETCH(KeepList, blank);
    QFETCH(QVector<KeepList>, lists);
    QFETCH(QVector<int>, sizes);
    QFETCH(QVector<KeepList>, texts);
    QFETCH(KeepList, starts);

    SlicePlanInput input;
    input.codePoints = sortedKeepList(codePoints);
    input.blank = QSet<quint32>(blank.cbegin(), blank.cend());
    input.frequencySlices = lists;
    input.texts = texts;
    const QVector<KeepList> slices = ::planSlices(input);

    KeepList everyCodePoint;
    QVector<int> planned;
    for (const KeepList &slice : slices) {
        everyCodePoint += slice;
        planned.append(int(slice.size()));
        QVERIFY(!std::all_of(slice.cbegin(), slice.cend(), [&](quint32 c) { return input.blank.contains(c); }));
    }
    std::sort(everyCodePoint.begin(), everyCodePoint.end());
    QCOMPARE(everyCodePoint, input.codePoints);
    for (quint32 codePoint : input.codePoints) {
        if (isFirstSliceCodePoint(codePoint))
            QVERIFY2(slices.first().contains(codePoint), qPrintable(QString::number(codePoint, 16)));
    }
    QCOMPARE(planned, sizes);
    if (!starts.isEmpty()) {
        KeepList lowest;
        for (const KeepList &slice : slices)
            lowest.append(slice.first());
        QCOMPARE(lowest, starts);
    }
}

void TestWebFont::planFaceSlices_data()
{
    QTest::addColumn<QVector<KeepList>>("earlier");
    QTest::addColumn<QVector<KeepList>>("units");
    QTest::addColumn<bool>("keptEarlier");
    QTest::addColumn<QVector<int>>("sizes");

    // File 0 uses 'a' and U+4E00-4E7F, file 1 U+4E40-4EC7; the earlier kit's slices past the first
    // are those of each file's own and what both use, but U+4EC0-4EC7 are new.
    const QVector<KeepList> earlier{KeepList{'a'} + span(0x4E40, 0x4E7F), span(0x4E00, 0x4E3F), span(0x4E80, 0x4EBF)};
    QTest::newRow("kept, the new characters after them") << earlier << QVector<KeepList>() << true
                                                         << QVector<int>{1 + 64, 64, 64, 8};
    // Kept, the one slice of each file's own characters would make both files fetch all of it.
    QTest::newRow("planned afresh when the earlier slices make the files fetch more")
            << QVector<KeepList>{KeepList{'a'} + span(0x4E40, 0x4E7F), span(0x4E00, 0x4E3F) + span(0x4E80, 0x4EBF)}
            << QVector<KeepList>() << false << QVector<int>{1 + 64, 64, 72};
    // A unit that joins a character of each file's own puts one of them in the other's slice,
    // afresh as in the earlier kit: the two plans are weighed with their units moved, not before.
    QTest::newRow("weighed with the units moved")
            << QVector<KeepList>{KeepList{'a'} + span(0x4E40, 0x4E7F), span(0x4E00, 0x4E3F) + KeepList{0x4E80},
                                 span(0x4E81, 0x4EBF)}
            << QVector<KeepList>{{0x4E00, 0x4E80}} << true << QVector<int>{1 + 64, 65, 63, 8};
}

void TestWebFont::planFaceSlices()
{
    QFETCH(QVector<KeepList>, earlier);
    QFETCH(QVector<KeepList>, units);
    QFETCH(bool, keptEarlier);
    QFETCH(QVector<int>, sizes);

    SlicePlanInput input;
    input.codePoints = KeepList{'a'} + span(0x4E00, 0x4EC7);
    input.texts = {KeepList{'a'} + span(0x4E00, 0x4E7F), span(0x4E40, 0x4EC7)};
    input.earlierSlices = asReported(earlier);
    bool kept = !keptEarlier;
    QVector<int> planned;
    for (const PlannedSlice &slice : ::planFaceSlices(input, {}, units, 200, largestSequenceUnit(200), &kept))
        planned.append(int(slice.codePoints.size()));
    QCOMPARE(kept, keptEarlier);
    QCOMPARE(planned, sizes);
}

void TestWebFont::keepSequencesWhole_data()
{
    QTest::addColumn<QVector<KeepList>>("slices");
    QTest::addColumn<QVector<KeepList>>("sequences");
    QTest::addColumn<QVector<KeepList>>("planned"); // each slice's code points after
    QTest::addColumn<int>("largestUnit");

    const KeepList people{0x200D, 0x1F3FB, 0x1F44D, 0x1F468, 0x1F4BB};
    QTest::newRow("a ligature's characters move into the earliest slice of them")
            << QVector<KeepList>{{'A', 0x4E00}, {0x4E01}, {0x4E02}} << QVector<KeepList>{{0x4E02, 0x4E01}}
            << QVector<KeepList>{{'A', 0x4E00}, {0x4E01, 0x4E02}} << 100;
    const KeepList greek{0x3B1, 0x3B2, 0x3B3, 0x3B4, 0x3B5, 0x3B6, 0x3B7, 0x3B8};
    QTest::newRow("past the first slice, where the lists put one of many")
            << QVector<KeepList>{{'A', 0x3B1}, {0x3B2, 0x3B3, 0x3B4}, {0x3B5, 0x3B6, 0x3B7, 0x3B8}}
            << QVector<KeepList>{greek} << QVector<KeepList>{{'A'}, greek} << 100;
    QTest::newRow("a few from later slices join the first (日 and its radical ⽇)")
            << QVector<KeepList>{{'A', 0x65E5}, {0x4E00}, {0x2F47}} << QVector<KeepList>{{0x2F47, 0x65E5}}
            << QVector<KeepList>{{'A', 0x2F47, 0x65E5}, {0x4E00}} << 100;
    QTest::newRow("the earliest of three slices, not the latest")
            << QVector<KeepList>{{'A'}, {0x4E00, 0x4E03}, {0x4E01}, {0x4E02}} << QVector<KeepList>{{0x4E02, 0x4E00}}
            << QVector<KeepList>{{'A'}, {0x4E00, 0x4E02, 0x4E03}, {0x4E01}} << 100;
    QTest::newRow("a slice the moves leave with a character or two joins the one before")
            << QVector<KeepList>{{'A', 'B'}, {0x2BC, 0x915}, {0x916, 0x2212}} << QVector<KeepList>{{0x915, 0x916}}
            << QVector<KeepList>{{'A', 'B'}, {0x2BC, 0x915, 0x916, 0x2212}} << 100;
    const QVector<KeepList> chain{{0x4E01, 0x4E02}, {0x4E03, 0x4E02}, {0x4E04, 0x4E03}};
    const QVector<KeepList> chainSlices{{'A'}, {0x4E01}, {0x4E02}, {0x4E03}, {0x4E04}};
    QTest::newRow("chained ligatures make one unit")
            << chainSlices << chain << QVector<KeepList>{{'A'}, {0x4E01, 0x4E02, 0x4E03, 0x4E04}} << 100;
    QTest::newRow("a unit past the largest is cut in code-point order")
            << chainSlices << chain << QVector<KeepList>{{'A'}, {0x4E01, 0x4E02}, {0x4E03, 0x4E04}} << 2;
    QTest::newRow("one of them in the first slice: all join it")
            << QVector<KeepList>{{'g', 0x4E00}, {0x1E9E}} << QVector<KeepList>{{0x1E9E, 'g'}}
            << QVector<KeepList>{{'g', 0x1E9E, 0x4E00}} << 100;
    QTest::newRow("a Greek letter's ligature with a Latin one leaves Greek out of the first slice")
            << QVector<KeepList>{{'g', 0x4E00}, {0x3BC}} << QVector<KeepList>{{0x3BC, 'g'}}
            << QVector<KeepList>{{'g', 0x4E00}, {0x3BC}} << 100;
    QTest::newRow("emoji sequences after the others, more skin tones first")
            << QVector<KeepList>{{'A'}, people} << QVector<KeepList>{{0x1F468, 0x200D, 0x1F4BB}, {0x1F44D, 0x1F3FB}}
            << QVector<KeepList>{{'A'}, people, {0x1F3FB, 0x1F44D}, {0x200D, 0x1F468, 0x1F4BB}} << 100;
    QTest::newRow("a tag sequence's base keeps every sequence that holds it")
            << QVector<KeepList>{{'A'}, {0x200D, 0x2620, 0x1F3F4, 0xE0067, 0xE007F}}
            << QVector<KeepList>{{0x1F3F4, 0xE0067, 0xE007F}, {0x2620, 0x200D, 0x1F3F4}, {0xE007F, 0x1F3F4}}
            << QVector<KeepList>{{'A'}, {0x200D, 0x2620, 0x1F3F4, 0xE0067, 0xE007F}, {0x200D, 0x2620, 0x1F3F4, 0xE0067, 0xE007F}} << 100;
}

void TestWebFont::keepSequencesWhole()
{
    QFETCH(QVector<KeepList>, slices);
    QFETCH(QVector<KeepList>, sequences);
    QFETCH(QVector<KeepList>, planned);
    QFETCH(int, largestUnit);
    QVector<KeepList> after;
    for (const PlannedSlice &slice : ::keepSequencesWhole(slices, sequences, {}, 1, largestUnit))
        after.append(slice.codePoints);
    QCOMPARE(after, planned);
}

// A slice over the limit of one large unit and a few single characters (a
// kit's first slice) is cut into the large unit and the rest together, not
// into slices of a character or two.
void TestWebFont::largeSlicesCutByCodePoints()
{
    hb_blob_t *blob = hb_blob_create_from_file(qPrintable(kDejaVuSans));
    hb_face_t *face = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    const KeepList letters = span('A', 'Z') + span('a', 'z'), digits = span('0', '3');
    SliceTask lettersAlone;
    lettersAlone.face = face;
    lettersAlone.codePoints = letters;
    const qsizetype lettersBytes = makeSlices({lettersAlone}, 1, {}, nullptr).first().woff2.size();
    SliceTask whole = lettersAlone;
    whole.codePoints = sortedKeepList(letters + digits);
    whole.units = {letters};
    for (quint32 digit : digits)
        whole.units.append(KeepList{digit});
    QVector<SliceTask> tasks{whole};
    makeSlicesWithin(&tasks, lettersBytes - 1, 1, {}, nullptr);
    hb_face_destroy(face);
    QVector<KeepList> cut;
    for (const SliceTask &task : tasks)
        cut.append(task.codePoints);
    QCOMPARE(cut, (QVector<KeepList>{letters, digits}));
}

void TestWebFont::unicodeRange_data()
{
    QTest::addColumn<KeepList>("codePoints");
    QTest::addColumn<QString>("range");
    QTest::newRow("empty") << KeepList() << "";
    QTest::newRow("one code point") << KeepList{0x41} << "U+41";
    QTest::newRow("a run") << span(0x20, 0x7E) << "U+20-7E";
    QTest::newRow("a gap") << KeepList{0x41, 0x42, 0x44} << "U+41-42, U+44";
    QTest::newRow("past U+FFFF") << KeepList{0xFFFF, 0x10000, 0x20000, 0x20001} << "U+FFFF-10000, U+20000-20001";
}

void TestWebFont::unicodeRange()
{
    QFETCH(KeepList, codePoints);
    QFETCH(QString, range);
    QCOMPARE(::unicodeRange(codePoints), range);
}

void TestWebFont::kitTexts_data()
{
    QTest::addColumn<double>("slantMin"); // the face's slnt axis
    QTest::addColumn<QString>("cssFamily");
    QTest::addColumn<bool>("localSources");
    QTest::addColumn<QString>("file"); // css or preview
    QTest::addColumn<QStringList>("held");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("the CSS opens with its charset") << 0.0 << "站点黑体" << false << "css"
            << QStringList{"@charset \"UTF-8\";\n/* Tessaglyph web-font kit: "} << QStringList{"local("};
    QTest::newRow("a slnt axis is an oblique range") << -10.0 << "Slanted" << false << "css"
            << QStringList{"font-style: oblique 0deg 10deg;"} << QStringList{"font-style: normal"};
    QTest::newRow("local() only when asked") << 0.0 << "Local" << true << "css"
            << QStringList{"src: local(\"Test Face\"), local(\"Test-Face\"), url("} << QStringList();
    QTest::newRow("the preview never uses local()") << 0.0 << "Local" << true << "preview"
            << QStringList{"<style>\n/* Tessaglyph web-font kit", "src: url("}
            << QStringList{"local(", "<link rel=\"stylesheet\""};
    QTest::newRow("a family name cannot close the preview's style element")
            << 0.0 << "X</style><script>alert(1)</script>" << false << "preview"
            << QStringList{"font-family: \"X\\3c /style>\\3c script>alert(1)\\3c /script>\";"}
            << QStringList{"</style><script>"};
}

void TestWebFont::kitTexts()
{
    QFETCH(double, slantMin);
    QFETCH(QString, cssFamily);
    QFETCH(bool, localSources);
    QFETCH(QString, file);
    QFETCH(QStringList, held);
    QFETCH(QStringList, absent);

    KitFace face;
    face.face.fullName = "Test Face";
    face.face.postScriptName = "Test-Face";
    face.face.slantMin = slantMin;
    face.slices.append({"Test-Face.001.0123abcd.woff2", 1000, span(0x41, 0x5A)});
    KitSettings settings;
    settings.cssFamily = cssFamily;
    settings.cssFile = "Test.css";
    settings.fontDisplay = "swap";
    settings.localSources = localSources;
    const QString text = QString::fromUtf8(file == "css" ? kitCss({face}, settings) : kitPreview({face}, settings));
    for (const QString &part : held)
        QVERIFY2(text.contains(part), qPrintable(part + " not in:\n" + text.left(1200)));
    for (const QString &part : absent)
        QVERIFY2(!text.contains(part), qPrintable(part));
}

void TestWebFont::fallbackFaces_data()
{
    QTest::addColumn<QString>("installed"); // a font file of the table's, its index after '#'; empty: the built font
    QTest::addColumn<QVector<int>>("font"); // units per em; hhea, OS/2 typo and win metrics; advance; lowercase
    QTest::addColumn<QString>("kitText"); // the characters the face maps, as far as the script goes
    QTest::addColumn<QString>("local"); // the local font that stands in; empty: none
    QTest::addColumn<QVector<double>>("percents"); // size-adjust, ascent, descent and line-gap overrides

    const QVector<int> latin{1000, 800, -200, 100, 700, -300, 0, 900, 300, 500, 1};
    // The local font's mean advance over the Latin sample is 200614 / 203
    // units of DejaVu Sans's 2048: 0.48254 em, against the face's 0.5.
    QTest::newRow("hhea's metrics, sized to the local font's advance")
            << "" << latin << "Hello" << "DejaVu Sans" << QVector<double>{103.62, 77.21, 19.3, 9.65};
    QTest::newRow("an hhea of zeros: the typographic metrics")
            << "" << QVector<int>{1000, 0, 0, 100, 700, -300, 50, 900, 300, 500, 1} << "Hello" << "DejaVu Sans"
            << QVector<double>{103.62, 67.56, 28.95, 4.83};
    QTest::newRow("typographic metrics of zeros too: the Windows ones, with no gap")
            << "" << QVector<int>{1000, 0, 0, 100, 0, 0, 90, 900, 250, 500, 1} << "Hello" << "DejaVu Sans"
            << QVector<double>{103.62, 86.86, 24.13, 0};
    QTest::newRow("mostly Han characters: the Han fonts")
            << "" << QVector<int>{2048, 1800, -400, 0, 880, -120, 0, 1800, 400, 2048, 1} << "你好，世界 a"
            << "Noto Sans CJK SC" << QVector<double>{100, 87.89, 19.53, 0};
    QTest::newRow("mostly Latin characters: the Latin fonts")
            << "" << QVector<int>{2048, 1800, -400, 0, 880, -120, 0, 1800, 400, 2048, 1} << "Hello 你"
            << "DejaVu Sans" << QVector<double>{207.24, 42.41, 9.42, 0};
    QTest::newRow("no script of the table: none") << "" << latin << "αβγ" << "" << QVector<double>{};
    QTest::newRow("a face without the sample's characters: none")
            << "" << QVector<int>{1000, 800, -200, 100, 700, -300, 0, 900, 300, 500, 0} << "HELLO" << ""
            << QVector<double>{};
    // The table's rows are the installed fonts': each stands in for itself as it is.
    QTest::newRow("the table's Noto Sans CJK SC") << "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc#2"
            << QVector<int>{} << "你好" << "Noto Sans CJK SC" << QVector<double>{100, 116, 28.8, 0};
    QTest::newRow("the table's DejaVu Sans") << kDejaVuSans << QVector<int>{} << "Hello" << "DejaVu Sans"
            << QVector<double>{100, 92.82, 23.58, 0};
    // Helvetica's and Arial's widths are Nimbus Sans's, which is drawn to them.
    QTest::newRow("the table's Helvetica, as Nimbus Sans")
            << "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf" << QVector<int>{} << "Hello"
            << "Helvetica" << QVector<double>{100, 72.9, 27.1, 20};
}

void TestWebFont::fallbackFaces()
{
    QFETCH(QString, installed);
    QFETCH(QVector<int>, font);
    QFETCH(QString, kitText);
    QFETCH(QString, local);
    QFETCH(QVector<double>, percents);

    const QByteArray bytes = installed.isEmpty()
            ? metricsFont(quint16(font[0]), font.mid(1, 3), font.mid(4, 3), font.mid(7, 2), quint16(font[9]), font[10])
            : readFile(installed.section('#', 0, 0));
    QVERIFY(!bytes.isEmpty());
    const HbFacePtr face = faceOf(bytes, installed.section('#', 1).toUInt());
    const QVector<FallbackFace> fallbacks = ::fallbackFaces(face.get(), keepListFromText(kitText));
    if (local.isEmpty()) {
        QVERIFY(fallbacks.isEmpty());
        return;
    }
    // Apple's and Microsoft's fonts first, then Linux's.
    QStringList families;
    for (const FallbackFace &fallback : fallbacks)
        families.append(fallback.localFamily);
    const QStringList han{"PingFang SC", "Microsoft YaHei", "Noto Sans CJK SC"},
            latin{"Arial", "Helvetica", "DejaVu Sans"};
    QCOMPARE(families, han.contains(local) ? han : latin);
    const FallbackFace &fallback = fallbacks.at(families.indexOf(local));
    const QVector<double> found{fallback.sizeAdjust, fallback.ascentOverride, fallback.descentOverride,
                                fallback.lineGapOverride};
    for (int i = 0; i < percents.size(); ++i)
        QVERIFY2(qAbs(found[i] - percents[i]) < 0.006, qPrintable(QStringLiteral("%1: %2, not %3").arg(i).arg(found[i]).arg(percents[i])));

    // The CSS: the fallback face after the kit's, and the family in the declaration to copy.
    KitFace kitFace;
    kitFace.face.fullName = "Test Face";
    kitFace.slices.append({"Test-Face.001.0123abcd.woff2", 1000, span(0x41, 0x5A)});
    kitFace.fallbacks = fallbacks;
    KitSettings settings;
    settings.cssFamily = "Site";
    settings.cssFile = "Site.css";
    settings.fontDisplay = "swap";
    const QString css = QString::fromUtf8(kitCss({kitFace}, settings));
    const QString rule = QStringLiteral("@font-face {\n  font-family: \"Site Fallback %1\";\n  font-style: normal;\n"
                                        "  font-weight: 400;\n  src: local(\"%2\"), local(\"%3\");\n"
                                        "  size-adjust: %4%;\n  ascent-override: %5%;\n  descent-override: %6%;\n"
                                        "  line-gap-override: %7%;\n}\n")
                                 .arg(local, fallback.localNames.value(0), fallback.localNames.value(1))
                                 .arg(percents[0]).arg(percents[1]).arg(percents[2]).arg(percents[3]);
    QVERIFY2(css.contains(rule), qPrintable(css));
    QVERIFY2(css.contains(QStringLiteral("\n  font-family: \"Site\", \"Site Fallback %1\";\n*/\n@font-face {\n  font-family: \"Site\";")
                                  .arg(families.join("\", \"Site Fallback "))),
             qPrintable(css));
}

void TestWebFont::sitePages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("slices"); // the files it fetches
    QTest::addColumn<QString>("row");        // the preview's row of it

    QTest::newRow("a Latin page fetches the first slice") << "index.html" << "Hi there\n"
            << QStringList{"F.001.woff2"} << "<tr><td>index.html</td><td>1</td><td>1,000</td></tr>";
    QTest::newRow("each character from the slice whose range holds it") << "a/b.html" << "Hi 你界"
            << QStringList{"F.001.woff2", "F.002.woff2", "F.003.woff2"}
            << "<tr><td>a/b.html</td><td>1, 2, 3</td><td>1,500</td></tr>";
    QTest::newRow("where ranges overlap, the last rule's slice") << "x.html" << "好世"
            << QStringList{"F.004.woff2"} << "<tr><td>x.html</td><td>4</td><td>50</td></tr>";
    QTest::newRow("characters of no slice fetch nothing") << "<b>.txt" << "😀"
            << QStringList{} << "<tr><td>&lt;b&gt;.txt</td><td></td><td>0</td></tr>";
}

void TestWebFont::sitePages()
{
    QFETCH(QString, page);
    QFETCH(QString, text);
    QFETCH(QStringList, slices);
    QFETCH(QString, row);

    KitFace face;
    face.face.fullName = "F";
    face.slices = {{"F.001.woff2", 1000, span(0x20, 0x7E)},
                   {"F.002.woff2", 300, {0x4F60, 0x597D}},  // 你好
                   {"F.003.woff2", 200, {0x4E16, 0x754C}},  // 世界
                   {"F.004.woff2", 50, {0x4E16, 0x597D}}};  // 世 and 好 again, as a sequence's slice holds them
    KitSettings settings;
    settings.cssFamily = "F";
    settings.cssFile = "F.css";
    settings.pages = {{"other.html", keepListFromText("Other")}, {page, keepListFromText(text)}};
    const QJsonObject report = QJsonDocument::fromJson(kitReport({face}, settings)).object();
    const QJsonArray pages = report["faces"].toArray().at(0).toObject()["pages"].toArray();
    QCOMPARE(pages.size(), 2);
    const QJsonObject entry = pages.at(1).toObject();
    QCOMPARE(entry["path"].toString(), page);
    QStringList files;
    qint64 bytes = 0;
    for (const QJsonValue &file : entry["slices"].toArray()) {
        files.append(file.toString());
        for (const KitSlice &slice : face.slices)
            bytes += slice.file == file.toString() ? qint64(slice.bytes) : 0;
    }
    QCOMPARE(files, slices);
    QCOMPARE(entry["bytes"].toInteger(), bytes);
    const QString preview = QString::fromUtf8(kitPreview({face}, settings));
    QVERIFY2(preview.contains(row), qPrintable(preview.section("<table", 1, 1).left(600)));
}

void TestWebFont::siteFilesInTheFolder_data()
{
    QTest::addColumn<QString>("inTheWay"); // a file of the site's ("name"), or a folder ("name/")
    QTest::addColumn<QString>("cssFamily");
    QTest::addColumn<QString>("refusal"); // empty: the kit is made
    const QString refusal = "%1 is in the folder and was not written by a kit; nothing was written. "
                            "Move it, or choose another folder.";
    QTest::newRow("the site's index.html stays beside the kit") << "index.html" << "" << "";
    QTest::newRow("the site's page of the kit's preview name") << "DejaVuSans.html" << "" << refusal;
    QTest::newRow("the site's file of the kit's report name") << "DejaVuSans.report.json" << "" << refusal;
    QTest::newRow("the site's CSS of the kit's name") << "DejaVuSans.css" << "" << refusal;
    QTest::newRow("a folder where the CSS goes") << "DejaVuSans.css/" << "" << refusal;
    QTest::newRow("a CSS family too long for a file name") << "" << QString(260, 'W') << "";
}

void TestWebFont::siteFilesInTheFolder()
{
    QFETCH(QString, inTheWay);
    QFETCH(QString, cssFamily);
    QFETCH(QString, refusal);
    const QString folder = dir.filePath(QString("site-%1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    const QByteArray siteBytes = "<p>the site's own</p>";
    const QString blocker = folder + "/" + QString(inTheWay).remove('/');
    if (inTheWay.endsWith('/'))
        QVERIFY(QDir().mkpath(blocker));
    else if (!inTheWay.isEmpty())
        QVERIFY(!writeFile(blocker, siteBytes).isEmpty());
    const QStringList before = filesIn(folder);

    WebFontRequest request;
    request.fontPath = kDejaVuSans;
    request.outputFolder = folder;
    request.characters = keepListFromText("Hello");
    request.cssFamily = cssFamily;
    int progressed = 0;
    const WebFontOutcome kit = runWebFontJob(request, [&](const WebFontProgress &) { ++progressed; });
    if (refusal.isEmpty()) {
        QVERIFY2(kit.job.succeeded, qPrintable(kit.job.text));
        QVERIFY(QFileInfo(kit.cssPath).fileName().size() < 100);
        QCOMPARE(namedSlices(kit.cssPath).values(), QList<bool>{true});
        if (!inTheWay.isEmpty())
            QCOMPARE(readFile(blocker), siteBytes);
    } else {
        QCOMPARE(kit.job.text, refusal.arg(blocker));
        QCOMPARE(progressed, 0); // told before any slice was made
        QCOMPARE(filesIn(folder), before);
        if (!inTheWay.endsWith('/'))
            QCOMPARE(readFile(blocker), siteBytes);
    }
    // An earlier kit's own texts are replaced by the next kit's.
    if (refusal.isEmpty())
        QVERIFY(latinKit(folder, "World").job.succeeded);
}

void TestWebFont::reRunsIntoOneFolder_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("damage"); // the first kit's slice's first 100 bytes zeroed before the second run
    QTest::addColumn<bool>("prune");
    QTest::addColumn<QStringList>("notices"); // %1: the earlier kit's bytes
    QTest::addColumn<int>("slicesLeft");
    QTest::newRow("the same kit again keeps its slice")
            << "Hello" << "Hello" << false << false << QStringList{"Slices already in the folder with the same bytes, kept: 1."} << 1;
    QTest::newRow("a damaged slice is replaced")
            << "Hello" << "Hello" << true << false
            << QStringList{"Slices in the folder whose bytes were not those of their names, replaced: 1."} << 1;
    QTest::newRow("another text: the earlier slice is counted")
            << "Hello" << "World" << false << false
            << QStringList{"Slices of the earlier kit that the CSS no longer names: 1, %1 bytes in all."} << 2;
    QTest::newRow("another text, pruned")
            << "Hello" << "World" << false << true
            << QStringList{"Slices of the earlier kit that the CSS no longer names, removed: 1."} << 1;
    QTest::newRow("a damaged earlier slice is not pruned")
            << "Hello" << "World" << true << true
            << QStringList{"Slices of the earlier kit left in place, as their bytes are not those of their names: 1."} << 2;
}

void TestWebFont::reRunsIntoOneFolder()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, damage);
    QFETCH(bool, prune);
    QFETCH(QStringList, notices);
    QFETCH(int, slicesLeft);
    const QString folder = dir.filePath(QString("again-%1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    const WebFontOutcome earlier = latinKit(folder, first);
    QVERIFY2(earlier.job.succeeded, qPrintable(earlier.job.text));
    if (damage) {
        QFile slice(folder + "/" + namedSlices(earlier.cssPath).firstKey());
        QVERIFY(slice.open(QIODevice::ReadWrite));
        QCOMPARE(slice.write(QByteArray(100, '\0')), 100);
    }
    const WebFontOutcome kit = latinKit(folder, second, prune);
    QVERIFY2(kit.job.succeeded, qPrintable(kit.job.text));
    QCOMPARE(kit.job.notices, notices.replaceInStrings("%1", localeNumber(earlier.totalBytes)));
    // Every slice the CSS names is there, with the bytes its name promises.
    const QMap<QString, bool> named = namedSlices(kit.cssPath);
    QCOMPARE(named.values(), QList<bool>{true});
    QCOMPARE(QDir(folder).entryList({"*.woff2"}, QDir::Files).size(), slicesLeft);
}

// What a face draws as one glyph from several characters, read from its
// GSUB ligatures.
void TestWebFont::faceSequences_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<KeepList>("sequence"); // one of its sequences
    QTest::newRow("DejaVu Sans: c/o is one glyph, ℅") << kDejaVuSans << KeepList{'c', '/', 'o'};
    QTest::newRow("Noto Color Emoji: a thumbs up with a skin tone")
            << "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf" << KeepList{0x1F44D, 0x1F3FB};
}

void TestWebFont::faceSequences()
{
    QFETCH(QString, font);
    QFETCH(KeepList, sequence);
    hb_blob_t *blob = hb_blob_create_from_file(qPrintable(font));
    hb_face_t *face = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    WebFace web;
    const bool read = readWebFace(face, &web);
    hb_face_destroy(face);
    QVERIFY(read);
    QVERIFY(web.sequencesComplete);
    QVERIFY2(web.sequences.contains(sequence), qPrintable(QString::number(web.sequences.size())));
}

// Fonts whose GSUB describes billions of steps in a few kilobytes: the
// faces are read at once, and the subsetter then refuses each (its own
// closure has a budget too), which the job says.
void TestWebFont::hostileLayoutKits_data()
{
    QTest::addColumn<QByteArray>("gsub");
    for (const HostileInputs::LayoutTable &table : HostileInputs::layoutTables())
        QTest::newRow(qPrintable(table.name)) << table.gsub;
}

void TestWebFont::hostileLayoutKits()
{
    QFETCH(QByteArray, gsub);
    const QString folder = dir.filePath(QString("hostile-%1").arg(qHash(QString(QTest::currentDataTag()))));
    QVERIFY(QDir().mkpath(folder));
    const QString font = writeFile(folder + "-font.ttf", trueTypeFont("Hostile", 0, 400, {}, {}, {{"GSUB", gsub}}));
    QVERIFY(!font.isEmpty());
    WebFontRequest request;
    request.fontPath = font;
    request.outputFolder = folder;
    request.characters = keepListFromText("AB");
    request.language = "zh-Hans";
    const WebFontOutcome kit = runWebFontJob(request);
    QCOMPARE(kit.job.text, QString("The web font could not be made from %1: the font is damaged or not supported; "
                                   "nothing was written.").arg(font));
    QCOMPARE(filesIn(folder), QStringList());
}

// What the kit's line says of each face: its characters each counted once,
// and how they were grouped.
void TestWebFont::kitSummaries_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("text"); // empty: the whole font
    QTest::addColumn<QString>("summary"); // a part of the face's line
    QTest::newRow("characters of sequence slices counted once")
            << "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf" << QString::fromUtf8("👍🏻👨‍💻") << ", 6 characters, slices: 2 ("; // and U+0020
    // ㊗ and ㊙ are in the frequency lists, but no CJK script's.
    const QByteArray circled = cmapFormat4({{3, 1}}, {{0x41, 0x5A, quint16(1 - 0x41)}, {0x3297, 0x3299, quint16(1 - 0x3297)},
                                                      {0xFFFF, 0xFFFF, 1}});
    QTest::newRow("circled ideographs: by Unicode block")
            << writeFile(dir.filePath("circled.ttf"), trueTypeFont("Circled", 0, 400, {}, circled)) << ""
            << dir.filePath("circled.ttf") + ", by Unicode block).";
}

void TestWebFont::kitSummaries()
{
    QFETCH(QString, font);
    QFETCH(QString, text);
    QFETCH(QString, summary);
    const QString folder = dir.filePath(QString("summary-%1").arg(qHash(QString(QTest::currentDataTag()))));
    QVERIFY(QDir().mkpath(folder));
    WebFontRequest request;
    request.fontPath = font;
    request.outputFolder = folder;
    request.characters = keepListFromText(text);
    const WebFontOutcome kit = runWebFontJob(request);
    QVERIFY2(kit.job.succeeded, qPrintable(kit.job.text));
    QVERIFY2(kit.job.summary.value(0).contains(summary), qPrintable(kit.job.summary.join('\n')));
}

// A site's body and heading families in one folder, each re-run with other
// texts and pruned: neither breaks the other, and the shared preview and
// report of earlier versions give way to the kit's own.
void TestWebFont::kitsShareAFolder_data()
{
    QTest::addColumn<QStringList>("runs"); // "family:text", the last pruned
    QTest::addColumn<bool>("sharedTexts"); // the first kit's texts renamed as earlier versions named them
    QTest::newRow("a heading re-run keeps the body's slices")
            << QStringList{"Body:Hello", "Heading:Hello", "Heading:World"} << false;
    QTest::newRow("the body re-run keeps the heading's")
            << QStringList{"Body:Hello", "Heading:World", "Body:Hello World", "Body:Wor"} << false;
    QTest::newRow("an earlier version's index.html and report.json")
            << QStringList{"Body:Hello", "Heading:Hello", "Body:World"} << true;
}

void TestWebFont::kitsShareAFolder()
{
    QFETCH(QStringList, runs);
    QFETCH(bool, sharedTexts);
    const QString folder = dir.filePath(QString("shared-%1").arg(qHash(QString(QTest::currentDataTag()))));
    QVERIFY(QDir().mkpath(folder));
    for (int i = 0; i < runs.size(); ++i) {
        const QStringList run = runs.at(i).split(':');
        const WebFontOutcome kit = latinKit(folder, run.at(1), i == runs.size() - 1, run.at(0));
        QVERIFY2(kit.job.succeeded, qPrintable(kit.job.text));
        if (i == 0 && sharedTexts) {
            QVERIFY(QFile::rename(folder + "/Body.html", folder + "/index.html"));
            QVERIFY(QFile::rename(folder + "/Body.report.json", folder + "/report.json"));
        }
    }
    for (const QString family : {"Body", "Heading"}) {
        const QString css = folder + "/" + family + ".css";
        QVERIFY(namedSlices(css).size() > 0);
        QCOMPARE(namedSlices(css).values(), QList<bool>(namedSlices(css).size(), true));
        const QJsonObject report = QJsonDocument::fromJson(readFile(folder + "/" + family + ".report.json")).object();
        QCOMPARE(report.value("css").toString(), family + ".css");
        QVERIFY(readFile(folder + "/" + family + ".html").contains((family + ".report.json").toUtf8()));
    }
    QCOMPARE(QFileInfo::exists(folder + "/index.html") || QFileInfo::exists(folder + "/report.json"), false);
}

void TestWebFont::oneRunAtATimePerFolder()
{
    // Another run holds the folder: this one makes its slices, then waits
    // before it writes anything.
    const QString folder = dir.filePath("locked");
    QVERIFY(QDir().mkpath(folder));
    const int other = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(other >= 0);
    QCOMPARE(::flock(other, LOCK_EX), 0);
    WebFontOutcome kit;
    QThread *run = QThread::create([&] { kit = latinKit(folder, "Hello"); });
    run->start();
    QVERIFY(!run->wait(1000));
    QCOMPARE(filesIn(folder), QStringList());
    ::close(other);
    QVERIFY(run->wait(10000));
    delete run;
    QVERIFY2(kit.job.succeeded, qPrintable(kit.job.text));
    QCOMPARE(filesIn(folder).size(), 4);
}

void TestWebFont::facesOfFamilies_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("files"); // of the faces, in the kit's order; or one prefix of them all
    QTest::addColumn<QString>("summary");   // the first face's line begins so
    QTest::addColumn<QString>("css");       // a part of the CSS
    QTest::newRow("a family and foundry as the family list shows them")
            << "C059 [UKWN]"
            << QStringList{"C059-Roman.otf", "C059-Italic.otf", "C059-Bold.otf", "C059-BdIta.otf"} << "C059-Roman: " << "font-style: italic;";
    QTest::newRow("a generic family: the font fontconfig draws it with")
            << "Sans Serif" << QStringList{"DejaVuSans*"} << "DejaVu Sans" << "font-weight: 700;";
    QTest::newRow("faces without PostScript names, told apart by file")
            << "Nameless Test" << QStringList{"nameless-regular.ttf", "nameless-bold.ttf"} << "Nameless Test Regular: " << "font-weight: 700;";
    QTest::newRow("names with a line break and a bidi override, cleaned")
            << "Unruly\nTest\u202E" << QStringList{"unruly.ttf"} << "UnrulyTest Face: " << "font-family: \"Unruly\\a Test\u202E\";";
    QTest::newRow("a variable font's slant") << "Slanted Test" << QStringList{"slanted.ttf"} << "Slanted Test Regular: "
                                             << "font-style: oblique 0deg 12deg;";
}

void TestWebFont::facesOfFamilies()
{
    QFETCH(QString, family);
    QFETCH(QStringList, files);
    QFETCH(QString, summary);
    QFETCH(QString, css);
    const QString folder = dir.filePath(QString("family-%1").arg(qHash(QString(QTest::currentDataTag()))));
    QVERIFY(QDir().mkpath(folder));
    WebFontRequest request;
    request.family = family;
    request.outputFolder = folder;
    request.characters = keepListFromText("AB");
    const WebFontOutcome kit = runWebFontJob(request);
    QVERIFY2(kit.job.succeeded, qPrintable(kit.job.text));
    QStringList sources;
    const QJsonObject report =
            QJsonDocument::fromJson(readFile(QString(kit.cssPath).replace(".css", ".report.json"))).object();
    for (const QJsonValue &face : report.value("faces").toArray())
        sources.append(face.toObject().value("source").toString());
    if (files.size() == 1 && files.first().endsWith('*')) {
        const QString prefix = files.first().chopped(1);
        QVERIFY(sources.size() > 1);
        QVERIFY2(std::all_of(sources.cbegin(), sources.cend(), [&](const QString &file) { return file.startsWith(prefix); }),
                 qPrintable(sources.join(' ')));
    } else {
        QCOMPARE(sources, files);
    }
    QVERIFY2(kit.job.summary.first().startsWith(summary), qPrintable(kit.job.summary.first()));
    QCOMPARE(kit.job.summary.size(), sources.size());
    QVERIFY2(QString::fromUtf8(readFile(kit.cssPath)).contains(css), qPrintable(css));
}

void TestWebFont::cancelledKitLeavesNothing()
{
    QTemporaryDir folder;
    WebFontRequest request;
    request.fontPath = QStringLiteral("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf");
    request.outputFolder = folder.path();
    std::atomic<bool> cancel{false};
    int told = 0;
    const WebFontOutcome kit = runWebFontJob(request, [&](const WebFontProgress &progress) {
        told = progress.done;
        QVERIFY(progress.total > 3);
        if (progress.done == 2)
            cancel = true;
    }, &cancel);
    QVERIFY(kit.cancelled);
    QVERIFY(!kit.job.succeeded);
    // Asked for, so told as information, not as a warning.
    QVERIFY(kit.job.box == JobOutcome::Box::Information);
    QCOMPARE(kit.job.title, QStringLiteral("Information"));
    QVERIFY(told >= 2);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(TestWebFont)
#include "tst_webfont.moc"
