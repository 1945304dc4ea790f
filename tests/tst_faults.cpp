// Faults from outside: a read-only output folder, a full disk that refuses
// the bytes only when they are flushed, a folder out of inodes, copies onto
// another file system, a source that shrinks after it was opened, and two
// processes extracting one installed family at once. In each: the system's
// reason, existing files untouched, and no temporary file left. The small
// file systems are tmpfs mounts, made when running as root.

#include "support/FontBuilder.h"

#include "engine/Jobs.h"
#include "platform/FileWrites.h"
#include "sfnt/CollectionSplit.h"
#include "webfont/WebFontJob.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <unistd.h>

using namespace FontBuilder;

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kDroid = QStringLiteral("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf");
const QString kMicroHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");

QStringList everyFile(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A tmpfs at folder, unmounted when the result goes; false when it cannot
// be had here (not root).
bool mountTmpfs(const QString &folder, const QString &options)
{
    QDir().mkpath(folder);
    return ::geteuid() == 0
            && QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tessaglyph-test", folder}) == 0;
}

auto unmountAtEnd(const QString &folder)
{
    return qScopeGuard([folder] { QProcess::execute("umount", {folder}); });
}

// Fills the folder's file system to the last byte.
void fill(const QString &folder)
{
    QFile filler(folder + "/filler");
    filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.write(block.left(1));
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
    void fullDiskRefusesAtFlush();
    void folderOutOfInodes();
    void webFontKitOnFullDisk();
    void copiesOntoAnotherFileSystem();
    void sourceShrinksAfterOpening();
    void twoProcessesExtractOneFamily();
};

void TestFaults::readOnlyOutputFolder()
{
    const QString folder = dir.filePath("read-only");
    if (!mountTmpfs(folder, "ro,size=64k"))
        QSKIP("needs root for a read-only mount (root writes into any folder)");
    const auto unmount = unmountAtEnd(folder);

    const JobOutcome subset = runFileSubsetJob(engine, kDejaVuSans, folder, keepListFromText("abc"));
    QCOMPARE(subset.text, "The output folder " + folder + " is not writable.");
    // The engine and the split on their own: nothing written, the reason told.
    QVERIFY(engine.loadTrueTypeFile(kDejaVuSans));
    engine.keepList = {'a'};
    WrittenSubset written;
    QVERIFY(!engine.writeSubset(folder + "/out.ttf", &written));
    QCOMPARE(written.error, qt_error_string(EROFS));
    SplitReport report;
    QVERIFY(!splitCollection(kMicroHei, folder, &report));
    QCOMPARE(report.members.first().error, qt_error_string(EROFS));
    QVERIFY(everyFile(folder).isEmpty());
}

void TestFaults::fullDiskRefusesAtFlush()
{
    const QString folder = dir.filePath("full");
    if (!mountTmpfs(folder, "size=64k"))
        QSKIP("needs root and a tmpfs mount to fill a disk");
    const auto unmount = unmountAtEnd(folder);
    writeFile(folder + "/DroidSansFallbackFull.ttf", "the previous output");
    writeFile(folder + "/文泉驿微米黑.ttf", "an earlier member");
    fill(folder);

    // A subset of a few kilobytes: every write succeeds into the buffer, the flush fails.
    const JobOutcome subset = runFileSubsetJob(engine, kDroid, folder, keepListFromText("你好世界"));
    QCOMPARE(subset.text, "The subset font " + folder
                                  + "/DroidSansFallbackFull.ttf could not be written: No space left on device.");
    QCOMPARE(readFile(folder + "/DroidSansFallbackFull.ttf"), QByteArray("the previous output"));

    // The member already there is kept, the other one fails, with the reason.
    const JobOutcome split = runSplitJob(kMicroHei, folder);
    QVERIFY(!split.succeeded);
    QCOMPARE(split.notices.first(), folder + "/文泉驿等宽微米黑.ttf could not be written: No space left on device.");
    QCOMPARE(readFile(folder + "/文泉驿微米黑.ttf"), QByteArray("an earlier member"));
    QCOMPARE(everyFile(folder), QStringList({"DroidSansFallbackFull.ttf", "filler", "文泉驿微米黑.ttf"}));
}

void TestFaults::folderOutOfInodes()
{
    const QString folder = dir.filePath("few-inodes");
    if (!mountTmpfs(folder, "nr_inodes=3")) // the folder itself and two files
        QSKIP("needs root and a tmpfs mount");
    const auto unmount = unmountAtEnd(folder);
    const QString ttc = writeFile(dir.filePath("three.ttc"), collection({namedFont("A"), namedFont("B"), namedFont("C")}));
    const JobOutcome split = runSplitJob(ttc, folder);
    QVERIFY(!split.succeeded);
    QCOMPARE(split.text, "The collection " + ttc + " was not split whole: 1 of its 3 members could not be written.");
    QCOMPARE(split.notices, QStringList(folder + "/C.ttf could not be written: No space left on device."));
    QCOMPARE(split.writtenFiles, QStringList({folder + "/A.ttf", folder + "/B.ttf"}));
    QCOMPARE(everyFile(folder), QStringList({"A.ttf", "B.ttf"}));
}

void TestFaults::webFontKitOnFullDisk()
{
    const QString folder = dir.filePath("full-kit");
    if (!mountTmpfs(folder, "size=256k"))
        QSKIP("needs root and a tmpfs mount to fill a disk");
    const auto unmount = unmountAtEnd(folder);
    writeFile(folder + "/DroidSansFallback.css", "an earlier kit");

    // About a megabyte of slices: the disk fills part way through them.
    WebFontRequest request;
    request.fontPath = kDroid;
    request.outputFolder = folder;
    for (quint32 codePoint = 0x4E00; codePoint < 0x5E00; ++codePoint)
        request.characters.append(codePoint);
    const WebFontOutcome kit = runWebFontJob(request);
    QVERIFY(!kit.job.succeeded);
    QVERIFY2(kit.job.text.endsWith(".woff2 could not be written: No space left on device; nothing was written."),
             qPrintable(kit.job.text));
    // The slices this run wrote are gone; the earlier kit's style sheet is as it was.
    QCOMPARE(everyFile(folder), QStringList({"DroidSansFallback.css"}));
    QCOMPARE(readFile(folder + "/DroidSansFallback.css"), QByteArray("an earlier kit"));
}

void TestFaults::copiesOntoAnotherFileSystem()
{
    // The kernel will not copy between file systems: the bytes go through a buffer.
    const QString folder = dir.filePath("other-fs");
    if (!mountTmpfs(folder, "size=1m"))
        QSKIP("needs root and a tmpfs mount");
    const auto unmount = unmountAtEnd(folder);
    QByteArray bytes(300000, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    QFile from(writeFile(dir.filePath("source.bin"), bytes)), to(folder + "/copy.bin");
    QVERIFY(from.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    QVERIFY(to.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    QCOMPARE(appendFileRange(from, 1001, 200000, to), 0); // several buffers' worth
    QCOMPARE(appendFileRange(from, 5, 3, to), 0);
    to.close();
    QCOMPARE(readFile(to.fileName()), bytes.mid(1001, 200000) + bytes.mid(5, 3));
}

void TestFaults::sourceShrinksAfterOpening()
{
    const QString otherFs = dir.filePath("shrink-target");
    const bool mounted = mountTmpfs(otherFs, "size=1m");
    auto unmount = unmountAtEnd(otherFs);
    if (!mounted)
        unmount.dismiss();
    for (const QString &target : {dir.filePath("same-fs.bin"), otherFs + "/other-fs.bin"}) {
        if (target.startsWith(otherFs) && !mounted)
            continue;
        QFile from(writeFile(dir.filePath("shrinking.bin"), QByteArray(100000, 's'))), to(target);
        QVERIFY(from.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QVERIFY(to.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QVERIFY(QFile(from.fileName()).resize(50000)); // another writer cuts the file
        QCOMPARE(appendFileRange(from, 0, 100000, to), ENODATA);
    }
}

void TestFaults::twoProcessesExtractOneFamily()
{
    // The member as a split alone writes it.
    const QString reference = dir.filePath("reference");
    QDir().mkpath(reference);
    QVERIFY(splitCollection(kMicroHei, reference));
    const QByteArray member = readFile(reference + "/文泉驿微米黑.ttf");

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
        QCOMPARE(everyFile(home + "/data/tessaglyph"), QStringList({"文泉驿微米黑.ttf"}));
        QCOMPARE(readFile(home + "/data/tessaglyph/文泉驿微米黑.ttf"), member);
    }
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
