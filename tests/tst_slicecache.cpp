// The slice cache: a killed run's leftovers and damaged entries are never
// trusted, a full cache drops the least recently used entries and nothing
// of another's, and a kit is the same bytes with and without it.

#include "support/FontBuilder.h"

#include "webfont/SliceCache.h"
#include "webfont/WebFontJob.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace FontBuilder;

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
// Latin, Greek and Cyrillic: a kit of a few slices.
const QString kText = QStringLiteral("Sphinx of black quartz, judge my vow. Ξεσκεπάζω τὴν ψυχοφθόρα βδελυγμία. "
                                     "Съешь же ещё этих мягких французских булок.");

WebFontOutcome kit(const QString &folder, const QString &cache)
{
    WebFontRequest request;
    request.fontPath = kDejaVuSans;
    request.outputFolder = folder;
    request.characters = keepListFromText(kText);
    request.cacheFolder = cache;
    return runWebFontJob(request);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The cache's entries, each with whether its bytes hash to its name's
// second part (computed here, not by the code under test).
QMap<QString, bool> entries(const QString &cache)
{
    static const QRegularExpression name(QStringLiteral("^[0-9a-f]{32}\\.([0-9a-f]{32})\\.woff2$"));
    QMap<QString, bool> whole;
    for (const QString &file : filesIn(cache)) {
        const QRegularExpressionMatch match = name.match(file);
        if (match.hasMatch()) {
            const QByteArray bytes = readFile(cache + "/" + file);
            whole.insert(file, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32)
                                       == match.captured(1).toLatin1());
        }
    }
    return whole;
}

void setModified(const QString &path, qint64 secondsAgo)
{
    const struct timespec when = {time_t(QDateTime::currentSecsSinceEpoch() - secondsAgo), 0};
    const struct timespec times[2] = {when, when};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

} // namespace

class TestSliceCache : public QObject
{
    Q_OBJECT

private slots:
    void leftoversAreNeverTrusted_data();
    void leftoversAreNeverTrusted();
    void fullCacheDropsTheOldest_data();
    void fullCacheDropsTheOldest();
};

enum class Leftover { None, TruncatedEntry, ChangedByte, EmptyEntry, TemporaryEntry, OthersFile };
Q_DECLARE_METATYPE(Leftover)

void TestSliceCache::leftoversAreNeverTrusted_data()
{
    QTest::addColumn<Leftover>("leftover");
    QTest::addColumn<int>("remade"); // slices the second run makes again

    QTest::newRow("an intact cache gives every slice") << Leftover::None << 0;
    QTest::newRow("an entry cut short by a killed run is made again") << Leftover::TruncatedEntry << 1;
    QTest::newRow("an entry with a changed byte is made again") << Leftover::ChangedByte << 1;
    QTest::newRow("an empty entry is made again") << Leftover::EmptyEntry << 1;
    QTest::newRow("a killed run's temporary entry is not read, and is removed") << Leftover::TemporaryEntry << 1;
    QTest::newRow("another's file in the folder is neither read nor removed") << Leftover::OthersFile << 0;
}

// A kit from a cache that a killed run or a damaged disk left behind is the
// bytes of a kit made without any cache, file by file.
void TestSliceCache::leftoversAreNeverTrusted()
{
    QFETCH(Leftover, leftover);
    QFETCH(int, remade);
    QTemporaryDir dir;
    const QString plain = dir.path() + "/plain", cold = dir.path() + "/cold", warm = dir.path() + "/warm",
                  cache = dir.path() + "/cache";
    for (const QString &folder : {plain, cold, warm})
        QVERIFY(QDir().mkpath(folder));

    const WebFontOutcome uncached = kit(plain, {});
    QVERIFY2(uncached.job.succeeded, qPrintable(uncached.job.text));
    QVERIFY(uncached.sliceCount >= 2);
    const WebFontOutcome first = kit(cold, cache);
    QVERIFY2(first.job.succeeded, qPrintable(first.job.text));
    QCOMPARE(first.cachedSlices, 0);
    const QStringList kept = entries(cache).keys();
    QCOMPARE(kept.size(), first.sliceCount);

    // The largest entry is the one spoilt.
    QString spoilt = kept.first();
    for (const QString &name : kept) {
        if (QFileInfo(cache + "/" + name).size() > QFileInfo(cache + "/" + spoilt).size())
            spoilt = name;
    }
    const QString spoiltPath = cache + "/" + spoilt;
    QByteArray bytes = readFile(spoiltPath);
    const QString temporary = cache + "/.tessaglyph-abcd1234.part", others = cache + "/notes.woff2";
    switch (leftover) {
    case Leftover::None:
        break;
    case Leftover::TruncatedEntry:
        QVERIFY(!writeFile(spoiltPath, bytes.left(bytes.size() / 2)).isEmpty());
        break;
    case Leftover::ChangedByte:
        bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x01);
        QVERIFY(!writeFile(spoiltPath, bytes).isEmpty());
        break;
    case Leftover::EmptyEntry:
        QVERIFY(QFile::resize(spoiltPath, 0));
        break;
    case Leftover::TemporaryEntry:
        // Killed before the rename: the entry is not in place, and its
        // temporary file, unlocked, dates from the dead run.
        QVERIFY(QFile::remove(spoiltPath));
        QVERIFY(!writeFile(temporary, bytes.left(bytes.size() / 2)).isEmpty());
        setModified(temporary, 600);
        break;
    case Leftover::OthersFile:
        QVERIFY(!writeFile(others, "not a slice").isEmpty());
        break;
    }

    const WebFontOutcome second = kit(warm, cache);
    QVERIFY2(second.job.succeeded, qPrintable(second.job.text));
    QCOMPARE(second.sliceCount, uncached.sliceCount);
    QCOMPARE(second.cachedSlices, uncached.sliceCount - remade);
    QCOMPARE(filesIn(warm), filesIn(plain));
    for (const QString &file : filesIn(plain))
        QVERIFY2(readFile(warm + "/" + file) == readFile(plain + "/" + file), qPrintable(file));

    // The cache holds every slice again, whole, and nothing of its own besides.
    const QMap<QString, bool> after = entries(cache);
    QCOMPARE(after.keys(), kept);
    QVERIFY(!after.values().contains(false));
    QCOMPARE(QFileInfo::exists(temporary), false);
    QCOMPARE(readFile(others), leftover == Leftover::OthersFile ? QByteArray("not a slice") : QByteArray());
}

void TestSliceCache::fullCacheDropsTheOldest_data()
{
    QTest::addColumn<quint64>("bound");
    QTest::addColumn<int>("used"); // the entry looked up before the trim; -1: none
    QTest::addColumn<QVector<int>>("left"); // the entries left, 0 the oldest

    QTest::newRow("within the bound, all stay") << quint64(4000) << -1 << QVector<int>{0, 1, 2, 3};
    QTest::newRow("one over, the oldest goes") << quint64(3500) << -1 << QVector<int>{1, 2, 3};
    QTest::newRow("a use makes the oldest the newest") << quint64(3000) << 0 << QVector<int>{0, 2, 3};
    QTest::newRow("two over, the two oldest go") << quint64(2000) << -1 << QVector<int>{2, 3};
    QTest::newRow("a bound of nothing leaves nothing of the cache's") << quint64(0) << -1 << QVector<int>{};
}

void TestSliceCache::fullCacheDropsTheOldest()
{
    QFETCH(quint64, bound);
    QFETCH(int, used);
    QFETCH(QVector<int>, left);
    QTemporaryDir dir;
    const QString folder = dir.path() + "/cache";
    // Files that are not the cache's own: never counted, never removed.
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(!writeFile(folder + "/README", QByteArray(5000, 'r')).isEmpty());
    QVERIFY(!writeFile(folder + "/0123.woff2", QByteArray(5000, 'w')).isEmpty());

    QVector<QByteArray> keys;
    {
        SliceCache cache(folder, bound);
        QVERIFY2(cache.problem().isEmpty(), qPrintable(cache.problem()));
        for (int i = 0; i < 4; ++i) {
            keys.append(QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha256));
            cache.keep(keys.last(), QByteArray(1000, char('a' + i)));
        }
        QCOMPARE(cache.keepFailures(), 0);
        QCOMPARE(entries(folder).size(), 4);
        // Kept an hour, then minutes apart, the first longest ago.
        const QStringList names = entries(folder).keys();
        for (const QString &name : names) {
            const int i = int(std::find_if(keys.cbegin(), keys.cend(), [&](const QByteArray &key) {
                                  return name.startsWith(QString::fromLatin1(key.toHex().left(32)));
                              }) - keys.cbegin());
            setModified(folder + "/" + name, 3600 - i * 60);
        }
    }
    SliceCache cache(folder, bound);
    if (used >= 0)
        QCOMPARE(cache.find(keys.at(used)), QByteArray(1000, char('a' + used)));
    QCOMPARE(cache.trim(), 4 - int(left.size()));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(cache.find(keys.at(i)).isEmpty(), !left.contains(i));
    QCOMPARE(readFile(folder + "/README"), QByteArray(5000, 'r'));
    QCOMPARE(readFile(folder + "/0123.woff2"), QByteArray(5000, 'w'));
}

QTEST_GUILESS_MAIN(TestSliceCache)
#include "tst_slicecache.moc"
