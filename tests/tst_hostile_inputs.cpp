// The hostile fonts and collections, each with its sound outcome: a clean
// refusal or the exact result.

#include "support/FontBuilder.h"
#include "support/HostileInputs.h"

#include "engine/FontSubsetter.h"
#include "sfnt/CollectionSplit.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableTags.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestHostileInputs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void collections_data();
    void collections();
    void fonts_data();
    void fonts();
};

void TestHostileInputs::collections_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fullNames");
    QTest::addColumn<bool>("splits");
    QTest::addColumn<QStringList>("files");
    for (const HostileInputs::Collection &c : HostileInputs::collections())
        QTest::newRow(qPrintable(c.name)) << c.bytes << c.fullNames << c.splits << c.files;
}

void TestHostileInputs::collections()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fullNames);
    QFETCH(bool, splits);
    QFETCH(QStringList, files);

    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QString path = FontBuilder::writeFile(dir.filePath(name + ".ttc"), bytes);
    QCOMPARE(readCollectionFullNames(path), fullNames);

    const QString out = dir.filePath(name);
    QVERIFY(QDir().mkpath(out));
    QCOMPARE(splitCollection(path, out), splits);
    // Nothing else: no temporary file stays, nothing lands beside the folder.
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).filter(".ttf"), QStringList());
}

void TestHostileInputs::fonts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("familyName");
    QTest::addColumn<bool>("sfnt");
    QTest::addColumn<bool>("coversA");
    for (const HostileInputs::Font &f : HostileInputs::fonts())
        QTest::newRow(qPrintable(f.name)) << f.bytes << f.familyName << f.sfnt << f.coversA;
}

void TestHostileInputs::fonts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, familyName);
    QFETCH(bool, sfnt);
    QFETCH(bool, coversA);

    const QString path = FontBuilder::writeFile(dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".ttf"),
                                                bytes);
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    QVERIFY(engine.loadTrueTypeFile(path));
    QCOMPARE(engine.readFamilyName(), familyName);
    QCOMPARE(FontSubsetter::readFileFamilyName(path), familyName);
    QCOMPARE(engine.holdsSfntFont(), sfnt);
    engine.keepList = {'A'};
    QCOMPARE(engine.coversAnyKeepUnit(), coversA);
    for (int index = 0; index < 256; ++index) {
        const ByteView table = engine.findTable(quint8(index));
        QVERIFY(table.isNull() || ByteView(engine.fontData, quint64(engine.fontBytes.size())).contains(
                        quint64(table.data() - engine.fontData), table.size()));
    }
}

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "tst_hostile_inputs.moc"
