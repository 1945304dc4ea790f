// The sfnt layer on fonts and collections built in memory: name selection,
// malformed directories, the hostile inputs with their exact outcomes, and
// the collection split's names and report. The member files themselves are
// checked byte by byte, checksum adjustment included, on the real Debian
// collections in tests/e2e.

#include "support/FontBuilder.h"
#include "support/HostileInputs.h"

#include "engine/FontSubsetter.h"
#include "sfnt/CollectionSplit.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableTags.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace FontBuilder;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray namedMember(const QString &family, const QString &full, quint32 sfntVersion = 0x00010000)
{
    return font({{"head", headTable()}, {"name", nameTable({{3, 1, 0x0409, 1, family}, {3, 1, 0x0409, 4, full}})}},
                sfntVersion);
}

} // namespace

class TestSfnt : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString file(const QString &name, const QByteArray &bytes) { return writeFile(dir.filePath(name), bytes); }
    QString folder(const QString &name)
    {
        QDir().mkpath(dir.filePath(name));
        return dir.filePath(name);
    }

private slots:
    void selectName_data();
    void selectName();
    void tablesAndSuffixes();
    void hostileFonts_data();
    void hostileFonts();
    void hostileCollections_data();
    void hostileCollections();
    void splitNamesAndReport();
};

void TestSfnt::selectName_data()
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
    QTest::newRow("longer names are cut to 511 units") << familyNameTable(QString(512, 'y')) << QString(511, 'y');
    QByteArray odd = nameTable({{3, 1, 0x0409, 1, "Ab"}});
    putU16(&odd, 6 + 8, 3);
    QTest::newRow("odd length drops its last byte") << odd << "A";
}

void TestSfnt::selectName()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, expected);
    QCOMPARE(::selectName(ByteView(table.constData(), quint64(table.size())), 1), expected);
}

void TestSfnt::tablesAndSuffixes()
{
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.findTable(TagName).isNull()); // no font loaded
    const QByteArray tables = font({{"cmap", "FIRST"}, {"name", familyNameTable("Sample")}, {"cmap", "SECOND"}});
    QVERIFY(engine.loadTrueTypeFile(file("Tables.ttf", tables)));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(engine.findTable(TagCmap).data()), 5), QByteArray("FIRST"));
    QVERIFY(engine.findTable(TagGlyf).isNull() && engine.findTable(10).isNull());

    QCOMPARE(FontSubsetter::readFileFamilyName(file("Sample.TTF", tables)), QStringLiteral("Sample"));
    QCOMPARE(FontSubsetter::readFileFamilyName(file("Sample.otf", tables)), QStringLiteral("Sample"));
    QCOMPARE(FontSubsetter::readFileFamilyName(file("sample.ttc", tables)), QString());
    const QByteArray pair = collection({namedFont("Alpha"), namedFont("Beta")});
    QCOMPARE(readCollectionFullNames(file("pair.OTC", pair)), QStringList({"Alpha Full", "Beta Full"}));
    QCOMPARE(readCollectionFullNames(file("pair.ttf", pair)), QStringList());
}

void TestSfnt::hostileFonts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("familyName");
    QTest::addColumn<bool>("sfnt");
    QTest::addColumn<bool>("coversA");
    for (const HostileInputs::Font &f : HostileInputs::fonts())
        QTest::newRow(qPrintable(f.name)) << f.bytes << f.familyName << f.sfnt << f.coversA;
}

void TestSfnt::hostileFonts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, familyName);
    QFETCH(bool, sfnt);
    QFETCH(bool, coversA);

    const QString path = file(QString::fromLatin1(QTest::currentDataTag()) + ".ttf", bytes);
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(path));
    QCOMPARE(engine.readFamilyName(), familyName);
    QCOMPARE(FontSubsetter::readFileFamilyName(path), familyName);
    QCOMPARE(engine.holdsSfntFont(), sfnt);
    engine.keepList = {'A'};
    QCOMPARE(engine.coversAnyKeepUnit(), coversA);
    const ByteView whole(engine.fontData, quint64(engine.fontBytes.size()));
    for (int index = 0; index < 256; ++index) {
        const ByteView table = engine.findTable(quint8(index));
        QVERIFY(table.isNull() || whole.contains(quint64(table.data() - engine.fontData), table.size()));
    }
}

void TestSfnt::hostileCollections_data()
{
    folder("hostile");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fullNames");
    QTest::addColumn<bool>("splits");
    QTest::addColumn<QStringList>("files");
    for (const HostileInputs::Collection &c : HostileInputs::collections())
        QTest::newRow(qPrintable(c.name)) << c.bytes << c.fullNames << c.splits << c.files;
}

void TestSfnt::hostileCollections()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fullNames);
    QFETCH(bool, splits);
    QFETCH(QStringList, files);

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QString path = file("hostile/" + name + ".ttc", bytes);
    QCOMPARE(readCollectionFullNames(path), fullNames);
    const QString out = folder("hostile/" + name);
    QCOMPARE(splitCollection(path, out), splits);
    // Nothing else: no temporary file stays, nothing lands beside the folder.
    QCOMPARE(filesIn(out), files);
    QCOMPARE(filesIn(dir.filePath("hostile")).filter(QRegularExpression("[^c]$")), QStringList());
}

void TestSfnt::splitNamesAndReport()
{
    constexpr quint32 cff = 0x4F54544F;
    const QString path = file("family.TTC", collection({namedMember("Alpha", "Alpha"), namedMember("Alpha", "Alpha Bold"),
                                                        namedMember("Alpha", "Alpha Bold", cff),
                                                        namedMember("Beta", "Beta", cff), namedMember(".hidden", "Hidden")}));
    const QString out = folder("names");
    writeFile(out + "/Beta.otf", "the user's own file");

    const QList<QPair<SplitMember::Status, QString>> expected = {{SplitMember::Written, "Alpha.ttf"},
                                                                 {SplitMember::Written, "Alpha Bold.ttf"},
                                                                 {SplitMember::Written, "Alpha 2.otf"}, // full name taken
                                                                 {SplitMember::Kept, "Beta.otf"},
                                                                 {SplitMember::Skipped, ".hidden"}};
    SplitReport report;
    QVERIFY(splitCollection(path, out, &report));
    QCOMPARE(report.members.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(qMakePair(report.members[i].status, report.members[i].name), expected[i]);
    QCOMPARE(filesIn(out), QStringList({"Alpha 2.otf", "Alpha Bold.ttf", "Alpha.ttf", "Beta.otf"}));
    QCOMPARE(readFile(out + "/Beta.otf"), QByteArray("the user's own file"));

    // Again: every file is there, so every member is kept, and nothing failed.
    QVERIFY(splitCollection(path, out, &report));
    QCOMPARE(report.members[0].status, SplitMember::Kept);
    QCOMPARE(report.members[2].status, SplitMember::Kept);
    QCOMPARE(filesIn(out).size(), 4);

    QVERIFY(!splitCollection(path, dir.filePath("nowhere"), &report));
    QCOMPARE(report.members[0].error, qt_error_string(ENOENT));
    QVERIFY(!splitCollection(dir.filePath("missing.ttc"), out, &report));
    QCOMPARE(report.refusal, SplitReport::Missing);
}

QTEST_GUILESS_MAIN(TestSfnt)
#include "tst_sfnt.moc"
