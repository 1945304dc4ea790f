// The sfnt layer on fonts and collections built in memory: name selection,
// malformed directories, the hostile inputs with their exact outcomes, and
// the collection split's names and report. The member files themselves are
// checked byte by byte, checksum adjustment included, on the real Debian
// collections in tests/e2e.

#include "support/FontBuilder.h"
#include "support/HostileInputs.h"

#include "engine/FontSubsetter.h"
#include "engine/CollectionSplit.h"
#include "sfnt/GsubLigatures.h"
#include "sfnt/LanguageForms.h"
#include "sfnt/NameReader.h"
#include "sfnt/ReadingBudget.h"
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

// "family|full name|subfamily", and "|otf" for CFF outlines.
QByteArray namedMember(const QString &row)
{
    const QStringList names = row.split('|');
    return font({{"head", headTable()},
                 {"name", nameTable({{3, 1, 0x0409, 1, names.value(0)}, {3, 1, 0x0409, 2, names.value(2)},
                                     {3, 1, 0x0409, 4, names.value(1)}})}},
                names.value(3) == "otf" ? 0x4F54544F : 0x00010000);
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
    void splitNamesAndReport_data();
    void splitNamesAndReport();
    void splitFailures();
    void otherLanguagesForms_data();
    void otherLanguagesForms();
    void hostileLayoutTables_data();
    void hostileLayoutTables();
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

void TestSfnt::splitNamesAndReport_data()
{
    // Members as "family|full name|subfamily[|otf]", or "=k" for member k's
    // offset table again; outcomes as "<status>:<file name>": W(ritten),
    // K(ept), Dk (duplicate of member k), S(kipped, with the printable family);
    // "<collection>" is the collection file's base name.
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<QStringList>("before"); // files there before the run
    QTest::addColumn<QStringList>("outcomes");

    QTest::newRow("A/A, A/B (Bold), B/B: a name made by a later rule is taken too")
            << QStringList{"A|A|Regular", "A|B|Bold", "B|B|Regular"} << QStringList()
            << QStringList{"W:A.ttf", "W:B.ttf", "W:B 2.ttf"};
    QTest::newRow("a Regular member whose full name is its family gets a number")
            << QStringList{"Noto Sans|Noto Sans Bold|Bold", "Noto Sans|Noto Sans|Regular"} << QStringList()
            << QStringList{"W:Noto Sans.ttf", "W:Noto Sans 1.ttf"};
    QTest::newRow("family, full name, family subfamily, family N; one name whatever the suffix")
            << QStringList{"Alpha|Alpha|Regular", "Alpha|Alpha Bold|Bold", "Alpha|Alpha Bold|Bold|otf",
                           "Alpha|Alpha|Italic|otf"}
            << QStringList() << QStringList{"W:Alpha.ttf", "W:Alpha Bold.ttf", "W:Alpha 2.otf", "W:Alpha Italic.otf"};
    QTest::newRow("kept only when there before the run")
            << QStringList{"Beta|Beta|Regular|otf", "Beta|Beta Bold|Bold"} << QStringList{"Beta.otf", "Beta 1.ttf"}
            << QStringList{"K:Beta.otf", "W:Beta Bold.ttf"};
    QTest::newRow("control and format characters removed")
            << QStringList{"Line\nBreak|x|", QString(QChar(0x202E)) + "gpj.exe|x|",
                           "Tab\tBidi" + QString(QChar(0x2066)) + "|x|",
                           QString(QChar(0x2066)) + QChar(0x2069) + QChar(0x200B) + "\r|x|", ".hidden|Hidden|"}
            << QStringList() << QStringList{"W:LineBreak.ttf", "W:gpj.exe.ttf", "W:TabBidi.ttf", "W:<collection> 3.ttf",
                                            "S:.hidden"};
    QTest::newRow("no printable name, named after the collection and the index as family N")
            << QStringList{"\x01\n|\x02|\x1B", "Alpha|Alpha|", "\r\t|\x7F|", QString(QChar(0x202E)) + "||"}
            << QStringList()
            << QStringList{"W:<collection> 0.ttf", "W:Alpha.ttf", "W:<collection> 2.ttf", "W:<collection> 3.ttf"};
    QTest::newRow("members at one offset table are one font")
            << QStringList{"Gamma|Gamma|", "=0", "Delta|Delta|", "=0", "=2"} << QStringList()
            << QStringList{"W:Gamma.ttf", "D0:", "W:Delta.ttf", "D0:", "D2:"};
}

void TestSfnt::splitNamesAndReport()
{
    QFETCH(QStringList, members);
    QFETCH(QStringList, before);
    QFETCH(QStringList, outcomes);

    QList<QByteArray> fonts;
    for (const QString &member : members)
        fonts.append(namedMember(member.startsWith('=') ? "Unused|Unused|" : member));
    QByteArray bytes = collection(fonts);
    const QByteArray offsets = bytes.mid(12, 4 * members.size());
    for (int i = 0; i < members.size(); ++i) {
        if (members[i].startsWith('='))
            bytes.replace(12 + 4 * i, 4, offsets.mid(4 * members[i].mid(1).toInt(), 4));
    }
    const QString tag = QString(QTest::currentDataTag()).replace('/', '_');
    const QString path = file("names-" + tag + ".TTC", bytes);
    const QString out = folder("names-" + tag);
    outcomes.replaceInStrings("<collection>", "names-" + tag);
    for (const QString &name : before)
        writeFile(out + "/" + name, "the user's own file");

    SplitReport report;
    QVERIFY(splitCollection(path, out, &report));
    QStringList got, written = before;
    for (const SplitMember &member : report.members) {
        const QString status = QString("WKDSF").at(member.status);
        got.append(status + (member.status == SplitMember::Duplicate ? QString::number(member.duplicateOf) : "")
                   + ":" + (member.status == SplitMember::Duplicate ? "" : member.name));
        if (member.status == SplitMember::Written)
            written.append(member.name);
    }
    QCOMPARE(got, outcomes);
    written.sort();
    QCOMPARE(filesIn(out), written);
    for (const QString &name : before)
        QCOMPARE(readFile(out + "/" + name), QByteArray("the user's own file"));

    // Again: each member finds its own file there, and keeps it.
    QVERIFY(splitCollection(path, out, &report));
    for (int i = 0; i < outcomes.size(); ++i)
        QCOMPARE(report.members[i].status, outcomes[i].startsWith('W') ? SplitMember::Kept
                                                                         : report.members[i].status);
    QCOMPARE(filesIn(out), written);
}

void TestSfnt::splitFailures()
{
    const QString path = file("pair.ttc", collection({namedFont("One"), namedFont("Two")}));
    SplitReport report;
    QVERIFY(!splitCollection(path, dir.filePath("nowhere"), &report));
    QCOMPARE(report.members[0].error, qt_error_string(ENOENT));
    QVERIFY(!splitCollection(dir.filePath("missing.ttc"), dir.path(), &report));
    QCOMPARE(report.refusal, SplitReport::Missing);
}

namespace {

// A GSUB of one script ('hani') whose default language system lists 'vert'
// (feature 2), or the given feature, and whose JAN and ZHS systems list a
// 'locl' each (0 and 1).
QByteArray languageGsub(quint16 defaultFeature = 2)
{
    const QByteArray langSys0 = u16(0) + u16(2) + u16(1) + u16(0); // required feature: vert
    const QByteArray langSys1 = u16(0) + u16(0xFFFF) + u16(1) + u16(1);
    const QByteArray defaultLangSys = u16(0) + u16(0xFFFF) + u16(1) + u16(defaultFeature);
    const int scriptHeader = 4 + 2 * 6;
    const QByteArray script = u16(scriptHeader) + u16(2) + "JAN " + u16(scriptHeader + 8) + "ZHS "
            + u16(scriptHeader + 16) + defaultLangSys + langSys0 + langSys1;
    const QByteArray scriptList = u16(1) + "hani" + u16(8) + script;
    const QByteArray feature = u16(0) + u16(0);
    const QByteArray featureList = u16(3) + "locl" + u16(20) + "locl" + u16(24) + "vert" + u16(28) + feature + feature + feature;
    const int scriptListOffset = 10, featureListOffset = scriptListOffset + int(scriptList.size());
    return u16(1) + u16(0) + u16(scriptListOffset) + u16(featureListOffset)
            + u16(featureListOffset + int(featureList.size())) + scriptList + featureList + u16(0);
}

} // namespace

void TestSfnt::otherLanguagesForms_data()
{
    QTest::addColumn<QByteArray>("gsub");
    QTest::addColumn<QByteArray>("languages"); // language system tags, four bytes each
    QTest::addColumn<QByteArray>("features");  // the feature tags after, in order; empty: no copy made
    const QByteArray gsub = languageGsub();
    QTest::newRow("Simplified Chinese pages: the Japanese forms go") << gsub << QByteArray("ZHS ") << QByteArray("zzzzloclvert");
    QTest::newRow("Japanese pages: the Chinese forms go") << gsub << QByteArray("JAN ") << QByteArray("loclzzzzvert");
    QTest::newRow("a language the font has no forms for: all go") << gsub << QByteArray("KOR ") << QByteArray("zzzzzzzzvert");
    QTest::newRow("both languages: nothing goes") << gsub << QByteArray("JAN ZHS ") << QByteArray();
    QTest::newRow("the forms the script's default system lists stay")
            << languageGsub(1) << QByteArray("KOR ") << QByteArray("zzzzloclvert");
    QTest::newRow("cut short in its feature list") << gsub.left(gsub.size() - 20) << QByteArray("ZHS ") << QByteArray();
    QTest::newRow("a language system past the end") << gsub.left(40) << QByteArray("ZHS ") << QByteArray();
}

void TestSfnt::otherLanguagesForms()
{
    QFETCH(QByteArray, gsub);
    QFETCH(QByteArray, languages);
    QFETCH(QByteArray, features);
    QVector<quint32> tags;
    for (int at = 0; at + 4 <= languages.size(); at += 4)
        tags.append(qFromBigEndian<quint32>(languages.constData() + at));
    const QByteArray renamed = withOtherLanguagesFormsRenamed(ByteView(gsub.constData(), quint64(gsub.size())), tags,
                                                              0x7A7A7A7A);
    QByteArray after;
    if (!renamed.isEmpty()) {
        const int featureList = qFromBigEndian<quint16>(renamed.constData() + 6);
        for (int f = 0; f < 3; ++f)
            after += renamed.mid(featureList + 2 + 6 * f, 4);
        QCOMPARE(renamed.size(), gsub.size());
    }
    QCOMPARE(after, features);
}

// GSUB tables whose offsets point many times at one structure: read once
// each, within a budget set by the table's size.
void TestSfnt::hostileLayoutTables_data()
{
    QTest::addColumn<QByteArray>("gsub");
    QTest::addColumn<int>("ligatures");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QByteArray>("languages");
    QTest::addColumn<int>("renamed");
    for (const HostileInputs::LayoutTable &table : HostileInputs::layoutTables())
        QTest::newRow(qPrintable(table.name)) << table.gsub << table.ligatures << table.complete << table.languages
                                              << table.renamed;
}

void TestSfnt::hostileLayoutTables()
{
    QFETCH(QByteArray, gsub);
    QFETCH(int, ligatures);
    QFETCH(bool, complete);
    QFETCH(QByteArray, languages);
    QFETCH(int, renamed);
    const ByteView table(gsub.constData(), quint64(gsub.size()));
    const GsubLigatures read = gsubLigatures(table, 100000);
    QCOMPARE(read.complete, complete);
    if (ligatures >= 0) {
        QCOMPARE(int(read.ligatures.size()), ligatures);
    } else {
        // Some were read, and no more than the budget pays for.
        QVERIFY(!read.ligatures.isEmpty());
        qsizetype components = 0;
        for (const QVector<quint16> &ligature : read.ligatures)
            components += ligature.size();
        QVERIFY(quint64(components) <= ReadingBudget::kStepsPerByte * quint64(gsub.size()) + ReadingBudget::kBaseSteps);
    }
    for (const QVector<quint16> &ligature : read.ligatures)
        QVERIFY(ligature.size() >= 2 && ligature.size() <= kMostLigatureComponents);

    QVector<quint32> tags;
    for (int at = 0; at + 4 <= languages.size(); at += 4)
        tags.append(qFromBigEndian<quint32>(languages.constData() + at));
    const QByteArray copy = withOtherLanguagesFormsRenamed(table, tags, 0x7A7A7A7A);
    QCOMPARE(int(copy.count("zzzz")), renamed);
}

QTEST_GUILESS_MAIN(TestSfnt)
#include "tst_sfnt.moc"
