// The web-font slice planner as a pure function: every code point in exactly
// one slice, the punctuation together in the first, no slice of blank glyphs
// only, no tiny slice, and the slices the rules give. And a kit cancelled
// part way leaves nothing behind.

#include "webfont/SlicePlanner.h"
#include "webfont/WebFontJob.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

KeepList span(quint32 first, quint32 last)
{
    KeepList codePoints;
    for (quint32 codePoint = first; codePoint <= last; ++codePoint)
        codePoints.append(codePoint);
    return codePoints;
}

} // namespace

class TestWebFont : public QObject
{
    Q_OBJECT

private slots:
    void planSlices_data();
    void planSlices();
    void cancelledKitLeavesNothing();
};

void TestWebFont::planSlices_data()
{
    QTest::addColumn<KeepList>("codePoints");
    QTest::addColumn<KeepList>("blank");
    QTest::addColumn<QVector<KeepList>>("lists");
    QTest::addColumn<QVector<int>>("sizes");

    const KeepList ascii = span(0x20, 0x7E);
    const KeepList noBlanks;
    QTest::newRow("punctuation the lists put late joins the first slice")
            << ascii + span(0x3000, 0x303F) + span(0x4E00, 0x4EFF) + span(0xFF01, 0xFF5E) << noBlanks
            << QVector<KeepList>{span(0x4E00, 0x4E1F), KeepList{0x3001} + span(0x4E20, 0x4E9F),
                                 KeepList{0xFF0C} + span(0x4EA0, 0x4EFF)}
            << QVector<int>{95 + 64 + 94 + 32, 128, 96};
    QTest::newRow("the rest by block, up to the target size")
            << span(0x0100, 0x024F) + span(0x0400, 0x04FF) << noBlanks << QVector<KeepList>()
            << QVector<int>{128, 104, 104, 128, 128};
    QTest::newRow("tiny slices join the one before")
            << ascii + span(0x0391, 0x03C9) + span(0x4E00, 0x4E09) + span(0x4E10, 0x4E13) << noBlanks
            << QVector<KeepList>{{}, span(0x4E00, 0x4E09), span(0x4E10, 0x4E13)} << QVector<int>{109, 57};
    QVector<KeepList> lists(21);
    lists[6] = span(0x4E00, 0x4EBB);
    lists[20] = span(0x5000, 0x5089);
    QTest::newRow("lists past the sixth cut into parts, past the twentieth in halves")
            << ascii + lists[6] + lists[20] << noBlanks << lists << QVector<int>{95, 26, 27, 27, 27, 27, 27, 27, 69, 69};
    QTest::newRow("a block of blank glyphs joins a slice that draws")
            << ascii + span(0x2800, 0x28FF) + span(0xE000, 0xE0C7) << KeepList{0x20, 0x2800} + span(0xE000, 0xE0C7)
            << QVector<KeepList>() << QVector<int>{95, 128, 328};
    QTest::newRow("a blank first slice takes in the next")
            << KeepList{0x20, 0x3000} + span(0x4E00, 0x4E3F) << KeepList{0x20, 0x3000} << QVector<KeepList>()
            << QVector<int>{66};
}

void TestWebFont::planSlices()
{
    QFETCH(KeepList, codePoints);
    QFETCH(KeepList, blank);
    QFETCH(QVector<KeepList>, lists);
    QFETCH(QVector<int>, sizes);

    SlicePlanInput input;
    input.codePoints = sortedKeepList(codePoints);
    input.blank = QSet<quint32>(blank.cbegin(), blank.cend());
    input.frequencySlices = lists;
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
}

void TestWebFont::cancelledKitLeavesNothing()
{
    QTemporaryDir folder;
    WebFontRequest request;
    request.fontPath = QStringLiteral("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf");
    request.outputFolder = folder.path();
    request.characters = span(0x4E00, 0x4FFF);
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
