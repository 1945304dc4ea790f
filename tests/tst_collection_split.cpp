// Splitting collections built in memory: names, the member-by-member report,
// and member files checked byte by byte. Hostile collections are in
// tst_hostile_inputs; the real Debian ones in tests/e2e.

#include "support/FontBuilder.h"

#include "sfnt/CollectionSplit.h"
#include "sfnt/FontSource.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace FontBuilder;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

quint32 readU32(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    ByteView(bytes.constData(), quint64(bytes.size())).readU32(quint64(at), &value);
    return value;
}

QByteArray namedMember(const QString &family, const QString &full, quint32 sfntVersion = 0x00010000)
{
    return font({{"head", headTable()}, {"name", nameTable({{3, 1, 0x0409, 1, family}, {3, 1, 0x0409, 4, full}})}},
                sfntVersion);
}

} // namespace

class TestCollectionSplit : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    int folders = 0;
    QString newFolder()
    {
        const QString path = dir.filePath(QStringLiteral("out%1").arg(++folders));
        QDir().mkpath(path);
        return path;
    }

private slots:
    void namesAndReport();
    void memberFilesAreWhole();
    void refusals();
};

void TestCollectionSplit::namesAndReport()
{
    constexpr quint32 cff = 0x4F54544F;
    const QString path = writeFile(dir.filePath("family.TTC"),
                                   collection({namedMember("Alpha", "Alpha"), namedMember("Alpha", "Alpha Bold"),
                                               namedMember("Alpha", "Alpha Bold", cff), namedMember("Beta", "Beta", cff),
                                               namedMember(".hidden", "Hidden")}));
    const QString out = newFolder();
    writeFile(out + "/Beta.otf", "the user's own file");

    struct Expected
    {
        SplitMember::Status status;
        QString name;
    };
    const QList<Expected> first = {{SplitMember::Written, "Alpha.ttf"},
                                   {SplitMember::Written, "Alpha Bold.ttf"},
                                   {SplitMember::Written, "Alpha 2.otf"}, // full name taken too
                                   {SplitMember::Kept, "Beta.otf"},
                                   {SplitMember::Skipped, ".hidden"}};
    SplitReport report;
    QVERIFY(splitCollection(path, out, &report));
    QCOMPARE(report.members.size(), first.size());
    for (int i = 0; i < first.size(); ++i) {
        QCOMPARE(report.members[i].status, first[i].status);
        QCOMPARE(report.members[i].name, first[i].name);
        QCOMPARE(report.members[i].index, i);
    }
    QCOMPARE(filesIn(out), QStringList({"Alpha 2.otf", "Alpha Bold.ttf", "Alpha.ttf", "Beta.otf"}));
    QCOMPARE(readFile(out + "/Beta.otf"), QByteArray("the user's own file"));

    // Again: every file is there, so nothing is written, and nothing failed.
    const QByteArray alpha = readFile(out + "/Alpha.ttf");
    QVERIFY(splitCollection(path, out, &report));
    for (const SplitMember &member : report.members)
        QVERIFY(member.status == SplitMember::Kept || member.status == SplitMember::Skipped);
    QCOMPARE(readFile(out + "/Alpha.ttf"), alpha);
    QCOMPARE(filesIn(out).size(), 4);
}

void TestCollectionSplit::memberFilesAreWhole()
{
    // Tables of odd lengths and an empty one, and a head whose stored
    // checkSumAdjustment is the collection's.
    QByteArray head = headTable();
    putU32(&head, 8, 0x12345678);
    const QByteArray first = font({{"head", head}, {"loca", QByteArray()}, {"name", familyNameTable("Odd") + "x"}});
    const QByteArray second = font({{"OS/2", os2Table() + "yz"}, {"head", head}, {"name", familyNameTable("Even")}});
    const QByteArray ttc = collection({first, second});
    const QString out = newFolder();
    SplitReport report;
    QVERIFY(splitCollection(writeFile(dir.filePath("odd.ttc"), ttc), out, &report));

    FontSource source(ttc);
    QVector<quint32> offsets;
    QVERIFY(readCollectionOffsets(source, &offsets));
    for (int m = 0; m < offsets.size(); ++m) {
        const QByteArray member = readFile(report.members[m].path);
        QCOMPARE(quint64(member.size()), report.members[m].size);
        QCOMPARE(member.size() % 4, 0);
        QCOMPARE(member.left(12), ttc.mid(offsets[m], 12));
        const int numTables = (uchar(member[4]) << 8) | uchar(member[5]);
        qsizetype headAt = -1;
        for (int k = 0; k < numTables; ++k) {
            const qsizetype record = 12 + 16 * k, stored = offsets[m] + record;
            QCOMPARE(member.mid(record, 8), ttc.mid(stored, 8));            // tag, checkSum
            QCOMPARE(member.mid(record + 12, 4), ttc.mid(stored + 12, 4));  // length
            const quint32 at = readU32(member, record + 8), length = readU32(member, record + 12);
            QCOMPARE(at % 4, 0u);
            QByteArray table = member.mid(at, length);
            if (member.mid(record, 4) == "head") {
                headAt = at;
                table.replace(8, 4, ttc.mid(readU32(ttc, stored + 8) + 8, 4));
            }
            QCOMPARE(table, ttc.mid(readU32(ttc, stored + 8), length));
            QCOMPARE(member.mid(at + length, (4 - length % 4) % 4), QByteArray((4 - length % 4) % 4, '\0'));
        }
        // As the OpenType format defines it: 0xB1B0AFBA minus the sum of the
        // file's big-endian words, the field taken as zero.
        QVERIFY(headAt > 0);
        quint32 sum = 0;
        for (qsizetype at = 0; at < member.size(); at += 4)
            sum += at == headAt + 8 ? 0 : readU32(member, at);
        QCOMPARE(readU32(member, headAt + 8), 0xB1B0AFBAu - sum);
    }
}

void TestCollectionSplit::refusals()
{
    const QByteArray alpha = namedFont("Alpha");
    struct Case
    {
        QString name;
        QByteArray bytes;
        SplitReport::Refusal refusal;
        bool result;
    };
    const QList<Case> cases = {
        {"not-a-collection.ttc", alpha, SplitReport::NotACollection, false},
        {"wrong-suffix.ttf", collection({alpha}), SplitReport::NotACollection, false},
        {"empty.otc", collection({}), SplitReport::None, true},
    };
    for (const Case &c : cases) {
        const QString out = newFolder();
        SplitReport report;
        QCOMPARE(splitCollection(writeFile(dir.filePath(c.name), c.bytes), out, &report), c.result);
        QCOMPARE(report.refusal, c.refusal);
        QVERIFY(filesIn(out).isEmpty());
    }
    SplitReport report;
    QVERIFY(!splitCollection(dir.filePath("missing.ttc"), newFolder(), &report));
    QCOMPARE(report.refusal, SplitReport::Missing);

    // A folder that is not there: every member fails, with the system's reason.
    QVERIFY(!splitCollection(writeFile(dir.filePath("alpha.ttc"), collection({alpha})), dir.filePath("nowhere"), &report));
    QCOMPARE(report.members.size(), 1);
    QCOMPARE(report.members[0].status, SplitMember::Failed);
    QCOMPARE(report.members[0].error, qt_error_string(ENOENT));
}

QTEST_GUILESS_MAIN(TestCollectionSplit)
#include "tst_collection_split.moc"
