// Table lookup and name reading on fonts and collections built in memory.

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
    void nameStringLimits();
    void findTable();
    void malformedDirectories_data();
    void malformedDirectories();
    void readFileFamilyName();
    void readCollectionFullNames();
};

void TestSfntReaders::selectName_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Chinese (PRC) wins over English, after it")
            << nameTable({{3, 1, 0x0409, 1, "English"}, {3, 1, 0x0804, 1, "中文"}}) << "中文";
    QTest::newRow("Chinese (PRC) wins over English, before it")
            << nameTable({{3, 1, 0x0804, 1, "中文"}, {3, 1, 0x0409, 1, "English"}}) << "中文";
    QTest::newRow("last English record wins")
            << nameTable({{3, 1, 0x0409, 1, "US"}, {3, 1, 0x0809, 1, "UK"}}) << "UK";
    QTest::newRow("Macintosh records are never taken") << nameTable({{1, 0, 0, 1, "Mac"}}) << "";
    QTest::newRow("other languages are never taken") << nameTable({{3, 1, 0x0411, 1, "Japanese"}}) << "";
    QTest::newRow("Symbol encoding stops the scan")
            << nameTable({{3, 0, 0x0409, 1, "Symbol"}, {3, 1, 0x0409, 1, "Later"}}) << "Symbol";
    QTest::newRow("other name IDs are passed over")
            << nameTable({{3, 1, 0x0409, 4, "Full"}, {3, 1, 0x0409, 1, "Family"}}) << "Family";
    QTest::newRow("no records") << nameTable({}) << "";

    QByteArray nul = nameTable({{3, 1, 0x0409, 1, QStringLiteral("Ab")}});
    putU16(&nul, nul.size() - 2, 0);
    QTest::newRow("U+0000 ends the name") << nul << "A";

    QByteArray odd = nameTable({{3, 1, 0x0409, 1, "Ab"}});
    putU16(&odd, 6 + 8, 3); // length 3: the odd last byte is dropped
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

void TestSfntReaders::nameStringLimits()
{
    const auto select = [](const QString &name) {
        const QByteArray table = familyNameTable(name);
        return ::selectName(ByteView(table.constData(), quint64(table.size())), 1);
    };
    const QString units511(511, QLatin1Char('x'));
    QCOMPARE(select(units511), units511);
    QCOMPARE(select(units511 + QLatin1Char('y')), units511); // cut to the 511-unit buffer
}

void TestSfntReaders::findTable()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    for (quint8 index = 0; index < 10; ++index)
        QVERIFY(engine.findTable(index).isNull()); // no font loaded

    const QByteArray first("FIRST"), second("SECOND");
    const QString path = file("Tables.ttf", font({{"cmap", first}, {"name", familyNameTable("Tables")}, {"cmap", second}}));
    QVERIFY(engine.loadTrueTypeFile(path));
    const ByteView cmap = engine.findTable(TagCmap);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(cmap.data()), int(cmap.size())), first);
    QVERIFY(engine.findTable(TagGlyf).isNull());
    QVERIFY(engine.findTable(10).isNull());
    QVERIFY(engine.findTable(255).isNull());
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

void TestSfntReaders::readFileFamilyName()
{
    const QByteArray bytes = font({{"name", familyNameTable("Sample")}});
    QCOMPARE(FontSubsetter::readFileFamilyName(file("Sample.TTF", bytes)), QStringLiteral("Sample"));
    QCOMPARE(FontSubsetter::readFileFamilyName(file("sample.ttc", bytes)), QString());
    QCOMPARE(FontSubsetter::readFileFamilyName(file("sample", bytes)), QString());
    QCOMPARE(FontSubsetter::readFileFamilyName(dir.filePath("missing.ttf")), QString());
    QCOMPARE(FontSubsetter::readFileFamilyName(file("empty-names.ttf", font({{"name", nameTable({})}}))), QString());
}

void TestSfntReaders::readCollectionFullNames()
{
    const QByteArray alpha = namedFont("Alpha"), beta = namedFont("Beta"), gamma = namedFont("Gamma");
    const QStringList expected = {"Alpha Full", "Beta Full", "Gamma Full"};
    QCOMPARE(::readCollectionFullNames(file("three.TTC", collection({alpha, beta, gamma}))), expected);
    QCOMPARE(::readCollectionFullNames(file("three.ttf", collection({alpha, beta, gamma}))), QStringList());
    QCOMPARE(::readCollectionFullNames(file("v2.ttc", collection({alpha, beta}, 0x00020000))), QStringList());
    QCOMPARE(::readCollectionFullNames(file("none.ttc", collection({}))), QStringList());

    const QByteArray noNames = font({{"name", nameTable({})}});
    QCOMPARE(::readCollectionFullNames(file("count0.ttc", collection({alpha, noNames, gamma}))), QStringList());

    const QByteArray cff = font({{"name", familyNameTable("CFF", 4)}}, 0x4F54544F);
    QCOMPARE(::readCollectionFullNames(file("cff.ttc", collection({alpha, cff, gamma}))), QStringList());

    // A member without a name table adds no entry.
    const QByteArray nameless = font({{"cmap", QByteArray(8, '\0')}});
    QCOMPARE(::readCollectionFullNames(file("nameless.ttc", collection({alpha, nameless, gamma}))),
             QStringList({"Alpha Full", "Gamma Full"}));

    QByteArray hugeCount = collection({alpha});
    putU32(&hugeCount, 8, 0xFFFFFFFF);
    QCOMPARE(::readCollectionFullNames(file("huge.ttc", hugeCount)), QStringList());

    QByteArray memberPastEnd = collection({alpha, beta});
    putU32(&memberPastEnd, 16, 0xFFFFFFFB);
    QCOMPARE(::readCollectionFullNames(file("past-end.ttc", memberPastEnd)), QStringList());
}

QTEST_GUILESS_MAIN(TestSfntReaders)
#include "tst_sfnt_readers.moc"
