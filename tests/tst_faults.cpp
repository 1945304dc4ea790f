// Faults from outside: a read-only output folder, a disk that fills up
// mid-write, a source that disappears after loading, a source that shrinks
// during a copy, and two processes splitting one installed collection into
// the same per-user folder at once. In each: a clear failure (or, where the
// data is safe in memory, the right output), existing files untouched, and
// no temporary file left.

#include "support/FontBuilder.h"

#include "engine/Jobs.h"
#include "engine/KeepList.h"
#include "platform/FileRangeCopy.h"
#include "sfnt/CollectionSplit.h"

#include <QDir>
#include <QScopeGuard>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using FontBuilder::readFile;

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kMicroHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");


QStringList everyFile(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A small tmpfs at folder (as root only); false when it cannot be had here.
bool mountTmpfs(const QString &folder, const QString &options)
{
    if (::geteuid() != 0)
        return false;
    return QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tessaglyph-test", folder}) == 0;
}

void unmount(const QString &folder)
{
    QProcess::execute("umount", {folder});
}

KeepList everyCharacter()
{
    KeepList keep;
    for (int unit = 0x20; unit < 0xD800; ++unit)
        keep.append(quint16(unit));
    return keep;
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    FontSubsetter engine{FontSubsetter::Setup::FontOnly};

private slots:
    void readOnlyOutputFolder();
    void diskFillsMidWrite();
    void sourceDeletedAfterLoading();
    void sourceShrinksDuringCopy();
    void twoProcessesSplitOneCollection();
};

void TestFaults::readOnlyOutputFolder()
{
    const QString folder = dir.filePath("read-only");
    QDir().mkpath(folder);
    const bool mounted = mountTmpfs(folder, "ro,size=64k");
    if (!mounted) {
        if (::geteuid() == 0)
            QSKIP("root writes into any folder, and no read-only mount could be made here");
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    const auto restoreAtEnd = qScopeGuard([&] {
        if (mounted)
            unmount(folder);
        else
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });

    const JobOutcome subset = runFileSubsetJob(engine, kDejaVuSans, folder, keepListFromText("abc"));
    QVERIFY(!subset.succeeded);
    QCOMPARE(QString::fromUtf8(subset.text), QStringLiteral("The output folder %1 is not writable."));
    QVERIFY(!runSplitJob(kMicroHei, folder).succeeded);

    // The engine and the split on their own: nothing written, nothing claimed.
    QVERIFY(engine.loadTrueTypeFile(kDejaVuSans));
    engine.keepList = {'a'};
    QVERIFY(!engine.writeSubset(folder + "/out.ttf"));
    QStringList written;
    QVERIFY(splitCollection(kMicroHei, folder, &written));
    QVERIFY(written.isEmpty());
    QVERIFY(everyFile(folder).isEmpty());
}

void TestFaults::diskFillsMidWrite()
{
    const QString folder = dir.filePath("small-disk");
    QDir().mkpath(folder);
    if (!mountTmpfs(folder, "size=256k"))
        QSKIP("needs root and a tmpfs mount to fill a disk");
    const auto unmountAtEnd = qScopeGuard([&] { unmount(folder); });

    // A subset larger than the disk: the old file stays, no temporary file.
    FontBuilder::writeFile(folder + "/DejaVuSans.ttf", "the previous output");
    QVERIFY(engine.loadTrueTypeFile(kDejaVuSans));
    engine.keepList = everyCharacter();
    QVERIFY(!engine.writeSubset(folder + "/DejaVuSans.ttf"));
    QCOMPARE(readFile(folder + "/DejaVuSans.ttf"), QByteArray("the previous output"));
    QCOMPARE(everyFile(folder), QStringList({"DejaVuSans.ttf"}));

    // Members of 4.6 MB each: the first one already there is left alone, the
    // second cannot be written whole, and the split says so.
    FontBuilder::writeFile(folder + "/文泉驿微米黑.ttf", "an earlier member");
    QStringList written;
    QVERIFY(!splitCollection(kMicroHei, folder, &written));
    QVERIFY(written.isEmpty());
    QCOMPARE(readFile(folder + "/文泉驿微米黑.ttf"), QByteArray("an earlier member"));
    QCOMPARE(everyFile(folder), QStringList({"DejaVuSans.ttf", "文泉驿微米黑.ttf"}));
}

void TestFaults::sourceDeletedAfterLoading()
{
    const QString source = FontBuilder::writeFile(dir.filePath("Doomed.ttf"), readFile(kDejaVuSans));
    QVERIFY(engine.loadTrueTypeFile(source));
    QVERIFY(QFile::remove(source));
    engine.setKeepList(keepListFromText("Hello"));
    // The font is whole in memory: the subset is still made from it.
    const QString output = dir.filePath("out/Doomed.ttf");
    QDir().mkpath(dir.filePath("out"));
    QVERIFY(engine.writeSubset(output));
    FontSubsetter check(FontSubsetter::Setup::FontOnly);
    QVERIFY(check.loadTrueTypeFile(output));
    check.keepList = {'H'};
    QVERIFY(check.coversAnyKeepUnit());
    QCOMPARE(everyFile(dir.filePath("out")), QStringList({"Doomed.ttf"}));
}

void TestFaults::sourceShrinksDuringCopy()
{
    const QString source = FontBuilder::writeFile(dir.filePath("short.bin"), "0123456789");
    QFile from(source), to(dir.filePath("copy.bin"));
    QVERIFY(from.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    QVERIFY(to.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QVERIFY(appendFileRange(from, 2, 5, to));
    QVERIFY(!appendFileRange(from, 8, 20, to)); // runs past the end of the source
}

void TestFaults::twoProcessesSplitOneCollection()
{
    // What one split alone produces.
    const QString reference = dir.filePath("reference");
    QDir().mkpath(reference);
    QVERIFY(splitCollection(kMicroHei, reference));

    for (int round = 0; round < 4; ++round) {
        const QString home = dir.filePath(QStringLiteral("home%1").arg(round));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home);
        environment.insert("XDG_DATA_HOME", home + "/data");
        QList<QProcess *> processes;
        for (int i = 0; i < 2; ++i) {
            const QString out = home + QStringLiteral("/out%1").arg(i);
            QDir().mkpath(out);
            auto *process = new QProcess(this);
            process->setProcessEnvironment(environment);
            process->start(TESSAGLYPH_CLI, {"subset", "--family", "WenQuanYi Micro Hei", "--text", "你好",
                                            "--output-dir", out});
            processes.append(process);
        }
        for (QProcess *process : processes) {
            QVERIFY(process->waitForFinished(60000));
            QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
            delete process;
        }
        QCOMPARE(readFile(home + "/out0/WenQuanYi Micro Hei.ttf"), readFile(home + "/out1/WenQuanYi Micro Hei.ttf"));
        const QString members = home + "/data/tessaglyph";
        QCOMPARE(everyFile(members), everyFile(reference));
        for (const QString &name : everyFile(reference))
            QCOMPARE(readFile(members + '/' + name), readFile(reference + '/' + name));
    }
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
