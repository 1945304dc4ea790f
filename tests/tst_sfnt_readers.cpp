// Table lookup and name reading on fonts and collections built in memory.
// Hostile ones are in tst_hostile_inputs.

#include "support/FontBuilder.h"

#include "engine/FontSubsetter.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableTags.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace FontBuilder;

class TestSfntReaders : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file(const QString &name, const QByteArray &bytes) { return writeFile(dir.filePath(name), bytes); }

private slots:
    void selectName_data();
    void selectName();
    void findTable();
    void malformedDirectories_data();
    void malformedDirectories();
    void fileReadersBySuffix();
};

void TestSfntReaders::selectName_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Chinese (PRC) wins over English, after it")
            << nameTable({{3, 1, 0x0409, 1, "English"}, {3, 1, 0x0804, 1, "中文"}}) << "中文";
    QTest::newRow("Chinese (PRC) wins over English, before it")
            << nameTable({{3, 1, 0x0804, 1, "中文"}, {3, 1, 0x0409, 1, "English"}}) << "中文";
    QTest::newRow("last English record wins") << nameTable({{3, 1, 0x0409, 1, "US"}, {3, 1, 0x0809, 1, "UK"}}) << "UK";
    QTest::newRow("Macintosh records are never taken") << nameTable({{1, 0, 0, 1, "Mac"}}) << "";
    QTest::newRow("other languages are never taken") << nameTable({{3, 1, 0x0411, 1, "Japanese"}}) << "";
    QTest::newRow("Symbol encoding stops the scan")
            << nameTable({{3, 0, 0x0409, 1, "Symbol"}, {3, 1, 0x0409, 1, "Later"}}) << "Symbol";
    QTest::newRow("other name IDs are passed over")
            << nameTable({{3, 1, 0x0409, 4, "Full"}, {3, 1, 0x0409, 1, "Family"}}) << "Family";
    QTest::newRow("no records") << nameTable({}) << "";
    QTest::newRow("511 units fit") << familyNameTable(QString(511, 'x')) << QString(511, 'x');
    QTest::newRow("longer names are cut to 511 units") << familyNameTable(QString(512, 'y')) << QString(511, 'y');

    QByteArray nul = nameTable({{3, 1, 0x0409, 1, QStringLiteral("Ab")}});
    putU16(&nul, nul.size() - 2, 0);
    QTest::newRow("U+0000 ends the name") << nul << "A";
    QByteArray odd = nameTable({{3, 1, 0x0409, 1, "Ab"}});
    putU16(&odd, 6 + 8, 3);
    QTest::newRow("odd length drops its last byte") << odd << "A";
    QByteArray beyondStorage = nameTable({{3, 1, 0x0409, 1, "Good"}, {3, 1, 0x0809, 1, "Bad"}});
    putU16(&beyondStorage, 6 + 12 + 10, 0xFFF0);
    QTest::newRow("a string past the storage is passed over") << beyondStorage << "Good";
    QByteArray hugeCount = nameTable({{3, 1, 0x0409, 1, "Name"}});
    putU16(&hugeCount, 2, 0xFFFF);
    QTest::newRow("a record count beyond the table: no name") << hugeCount << "";
}

void TestSfntReaders::selectName()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, expected);
    QCOMPARE(::selectName(ByteView(table.constData(), quint64(table.size())), 1), expected);
}

void TestSfntReaders::findTable()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.findTable(TagName).isNull()); // no font loaded

    const QByteArray first("FIRST"), second("SECOND");
    QVERIFY(engine.loadTrueTypeFile(
            file("Tables.ttf", font({{"cmap", first}, {"name", familyNameTable("Tables")}, {"cmap", second}}))));
    const ByteView cmap = engine.findTable(TagCmap);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(cmap.data()), int(cmap.size())), first);
    QVERIFY(engine.findTable(TagGlyf).isNull());
    QVERIFY(engine.findTable(10).isNull());
    QCOMPARE(engine.readFamilyName(), QStringLiteral("Tables"));
}

void TestSfntReaders::malformedDirectories_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray good = font({{"name", familyNameTable("Good")}});
    QByteArray wrap = good;
    putU32(&wrap, 12 + 8, 0xFFFFFFFF); // offset
    putU32(&wrap, 12 + 12, 2);         // length: offset + length wraps to 1 in 32 bits
    QTest::newRow("table offset 0xFFFFFFFF, length 2") << wrap;
    QByteArray pastEnd = good;
    putU32(&pastEnd, 12 + 12, quint32(good.size()));
    QTest::newRow("table runs past the end") << pastEnd;
    QByteArray manyTables = good.left(12);
    putU16(&manyTables, 4, 0xFFFF);
    QTest::newRow("numTables 0xFFFF with 12 bytes of data") << manyTables;
    QTest::newRow("no tables") << font({});
    QTest::newRow("truncated offset table") << good.left(5);
}

void TestSfntReaders::malformedDirectories()
{
    QFETCH(QByteArray, bytes);
    const QString path = file(QStringLiteral("Malformed.ttf"), bytes);
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(path));
    QVERIFY(engine.findTable(TagName).isNull());
    QCOMPARE(engine.readFamilyName(), QString());
    QCOMPARE(FontSubsetter::readFileFamilyName(path), QString());
}

void TestSfntReaders::fileReadersBySuffix()
{
    const QByteArray sample = font({{"name", familyNameTable("Sample")}});
    QCOMPARE(FontSubsetter::readFileFamilyName(file("Sample.TTF", sample)), QStringLiteral("Sample"));
    QCOMPARE(FontSubsetter::readFileFamilyName(file("Sample.otf", sample)), QStringLiteral("Sample"));
    QCOMPARE(FontSubsetter::readFileFamilyName(file("sample.ttc", sample)), QString());
    QCOMPARE(FontSubsetter::readFileFamilyName(dir.filePath("missing.ttf")), QString());

    const QByteArray pair = collection({namedFont("Alpha"), namedFont("Beta")});
    const QStringList names = {"Alpha Full", "Beta Full"};
    QCOMPARE(readCollectionFullNames(file("pair.TTC", pair)), names);
    QCOMPARE(readCollectionFullNames(file("pair.otc", pair)), names);
    QCOMPARE(readCollectionFullNames(file("pair.ttf", pair)), QStringList());
}

QTEST_GUILESS_MAIN(TestSfntReaders)
#include "tst_sfnt_readers.moc"
