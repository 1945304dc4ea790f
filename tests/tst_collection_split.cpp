// Splitting collections: built in memory and the real Debian ones. Hostile
// collections are in tst_hostile_inputs.

#include "support/FontBuilder.h"

#include "sfnt/CollectionSplit.h"
#include "sfnt/FontSource.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableDirectory.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace FontBuilder;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

quint32 readU32(const QByteArray &bytes, quint64 at)
{
    quint32 value = 0;
    ByteView(bytes.constData(), quint64(bytes.size())).readU32(at, &value);
    return value;
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
    QString file(const QString &name, const QByteArray &bytes) { return writeFile(dir.filePath(name), bytes); }

private slots:
    void splitsEveryMember();
    void memberLayout();
    void refusals();
    void realCollections_data();
    void realCollections();
};

void TestCollectionSplit::splitsEveryMember()
{
    const QString ttc = file("abg.TTC", collection({namedFont("Alpha"), namedFont("Beta"), namedFont("Gamma")}));
    const QString out = newFolder();
    QStringList written;
    QVERIFY(splitCollection(ttc, out, &written));
    QCOMPARE(filesIn(out), QStringList({"Alpha.ttf", "Beta.ttf", "Gamma.ttf"}));
    QCOMPARE(written.size(), 3);

    // A second run leaves the first run's files byte for byte.
    QFile alpha(out + "/Alpha.ttf");
    QVERIFY(alpha.open(QIODevice::ReadWrite));
    alpha.write("changed by the user");
    alpha.close();
    written.clear();
    QVERIFY(splitCollection(ttc, out, &written));
    QVERIFY(written.isEmpty());
    QCOMPARE(readFile(out + "/Alpha.ttf").left(19), QByteArray("changed by the user"));
    QCOMPARE(filesIn(out).size(), 3);

    // Two members of one family: the first one is kept.
    const QString sameFamily = file("same.ttc", collection({namedFont("Same", 0), namedFont("Same", 1, 700)}));
    const QString out2 = newFolder();
    QVERIFY(splitCollection(sameFamily, out2));
    QCOMPARE(filesIn(out2), QStringList({"Same.ttf"}));
    QCOMPARE(readFile(out2 + "/Same.ttf"), namedFont("Same", 0));
}

void TestCollectionSplit::memberLayout()
{
    // Tables of lengths 54, 0 and 37: each starts on a 4-byte boundary.
    const QByteArray member = font({{"head", headTable()}, {"loca", QByteArray()}, {"name", familyNameTable("Odd") + "x"}});
    const QString ttc = file("layout.ttc", collection({namedFont("First"), member}));
    const QString out = newFolder();
    QVERIFY(splitCollection(ttc, out));
    const QByteArray odd = readFile(out + "/Odd.ttf");

    const quint32 nameLength = quint32(familyNameTable("Odd").size() + 1);
    QCOMPARE(odd.size(), 12 + 16 * 3 + 56 + 0 + int((nameLength + 3) & ~3u));
    QCOMPARE(readU32(odd, 12 + 8), 60u);       // head
    QCOMPARE(readU32(odd, 12 + 16 + 8), 116u); // loca, empty: where the next table starts
    QCOMPARE(readU32(odd, 12 + 32 + 8), 116u); // name
    QCOMPARE(odd.mid(60, 54), headTable());
    QCOMPARE(odd.mid(114, 2), QByteArray(2, '\0')); // padding
    // Everything else as the member stores it: its offset table, tags, checksums, lengths.
    QCOMPARE(odd.left(12), member.left(12));
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(odd.mid(12 + 16 * k, 8), member.mid(12 + 16 * k, 8));
        QCOMPARE(odd.mid(12 + 16 * k + 12, 4), member.mid(12 + 16 * k + 12, 4));
    }
}

void TestCollectionSplit::refusals()
{
    const QByteArray alpha = namedFont("Alpha"), beta = namedFont("Beta");
    const QByteArray cff = font({{"name", familyNameTable("CFF")}}, 0x4F54544F);
    struct Case
    {
        const char *name;
        QByteArray bytes;
        bool result;
        QStringList files;
    };
    const QList<Case> cases = {
        {"v2.ttc", collection({alpha, beta}, 0x00020000), false, {}},
        {"third-is-cff.ttc", collection({alpha, beta, cff}), false, {"Alpha.ttf", "Beta.ttf"}},
        {"empty.ttc", collection({}), true, {}},
        {"not-a-collection.ttc", alpha, false, {}},
        {"wrong-suffix.ttf", collection({alpha}), false, {}},
        {"seven-at-one-offset.ttc", [&] {
             QByteArray bytes = collection({alpha, beta, beta, beta, beta, beta, beta});
             for (int i = 1; i < 7; ++i)
                 putU32(&bytes, 12 + 4 * i, readU32(bytes, 12));
             return bytes;
         }(), true, {"Alpha.ttf"}},
    };
    for (const Case &c : cases) {
        const QString out = newFolder();
        QCOMPARE(splitCollection(file(c.name, c.bytes), out), c.result);
        QCOMPARE(filesIn(out), c.files);
    }

    QVERIFY(!splitCollection(dir.filePath("missing.ttc"), newFolder()));
    // An output folder that does not exist: no member can be written, and no file appears.
    QVERIFY(splitCollection(file("alpha.ttc", collection({alpha})), dir.filePath("no-such-folder")));
    QVERIFY(!QFileInfo::exists(dir.filePath("no-such-folder")));
}

void TestCollectionSplit::realCollections_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expectedFiles");
    QTest::newRow("wqy-zenhei") << "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
                                << QStringList({"文泉驿正黑.ttf", "文泉驿点阵正黑.ttf", "文泉驿等宽正黑.ttf"});
    QTest::newRow("wqy-microhei") << "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
                                  << QStringList({"文泉驿微米黑.ttf", "文泉驿等宽微米黑.ttf"});
    QTest::newRow("ukai") << "/usr/share/fonts/truetype/arphic/ukai.ttc"
                          << QStringList({"AR PL UKai CN.ttf", "AR PL UKai HK.ttf", "AR PL UKai TW.ttf",
                                          "AR PL UKai TW MBE.ttf"});
}

void TestCollectionSplit::realCollections()
{
    QFETCH(QString, path);
    QFETCH(QStringList, expectedFiles);
    if (!QFileInfo::exists(path))
        QSKIP("the Debian font package is not installed");

    const QString out = newFolder();
    QStringList written;
    QVERIFY(splitCollection(path, out, &written));
    expectedFiles.sort();
    QCOMPARE(filesIn(out), expectedFiles);

    // Each member's tables, byte for byte as the collection holds them.
    FontSource ttc(readFile(path));
    QVector<quint32> offsets;
    QVERIFY(readCollectionOffsets(ttc, &offsets));
    QCOMPARE(written.size(), offsets.size());
    for (int i = 0; i < offsets.size(); ++i) {
        TableDirectory member, output;
        QVERIFY(readTableDirectory(ttc, offsets[i], &member));
        FontSource file(readFile(written[i]));
        QVERIFY(readTableDirectory(file, 0, &output));
        QCOMPARE(output.offsetTable, member.offsetTable);
        QCOMPARE(output.records.size(), member.records.size());
        for (int k = 0; k < member.records.size(); ++k) {
            QCOMPARE(output.records[k].tag, member.records[k].tag);
            QCOMPARE(output.records[k].checkSum, member.records[k].checkSum);
            QCOMPARE(output.records[k].offset % 4, 0u);
            QCOMPARE(readTable(file, output.records[k]), readTable(ttc, member.records[k]));
        }
    }

    const QString sanitizer = QStandardPaths::findExecutable(QStringLiteral("ots-sanitize"));
    if (sanitizer.isEmpty())
        QSKIP("ots-sanitize is not installed");
    for (const QString &member : written) {
        QProcess ots;
        ots.start(sanitizer, {member, dir.filePath("sanitized.ttf")});
        QVERIFY(ots.waitForFinished(120000));
        QVERIFY2(ots.exitCode() == 0, qPrintable(member + ": " + ots.readAllStandardError()));
    }
}

QTEST_GUILESS_MAIN(TestCollectionSplit)
#include "tst_collection_split.moc"
