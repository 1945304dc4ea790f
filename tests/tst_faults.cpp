// Faults from outside: a read-only output folder, a full disk that refuses
// the bytes only when they are flushed, a folder out of inodes, copies onto
// another file system, a source that shrinks after it was opened, an
// installed font cut short during a job, two processes extracting one
// installed family at once, and the temporary files a killed run leaves. In
// each: the system's reason, existing files untouched, and no temporary file
// left. The small file systems are tmpfs mounts, made when running as root;
// without root those tests say they skipped.

#include "support/FontBuilder.h"

#include "engine/Jobs.h"
#include "platform/FileStatus.h"
#include "platform/FileWrites.h"
#include "engine/CollectionSplit.h"
#include "webfont/WebFontJob.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <sys/file.h>
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
    void fontCutShortDuringJob();
    void twoProcessesExtractOneFamily();
    void leftoversOfAKilledRun_data();
    void leftoversOfAKilledRun();
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

    // The member already there is kept; the other one does not fit, and
    // nothing is written: the split says so with the figures.
    const JobOutcome split = runSplitJob(kMicroHei, folder);
    QVERIFY(!split.succeeded);
    QVERIFY2(QRegularExpression("^The collection " + kMicroHei + " was not split: its members need [0-9,.\u00a0 ]+ bytes, and "
                                + folder + " has 0 bytes free.$").match(split.text).hasMatch(), qPrintable(split.text));
    QCOMPARE(split.notices, QStringList(folder + "/文泉驿微米黑.ttf was kept as it was: a file of that name exists."));
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
    WebFontRequest request;
    request.fontPath = kDroid;
    request.outputFolder = folder;
    for (quint32 codePoint = 0x4E00; codePoint < 0x4E40; ++codePoint)
        request.characters.append(codePoint);
    QVERIFY(runWebFontJob(request).job.succeeded);
    QMap<QString, QByteArray> earlier;
    for (const QString &name : everyFile(folder))
        earlier.insert(name, readFile(folder + "/" + name));
    fill(folder);

    // The same kit again keeps every slice, and fails on its texts; then a
    // larger kit fails part way through its slices (about a megabyte).
    const WebFontOutcome same = runWebFontJob(request);
    QCOMPARE(same.job.text, "" + folder + "/DroidSansFallback.report.json could not be written: No space left on device; nothing was written.");
    for (quint32 codePoint = 0x4E40; codePoint < 0x5E00; ++codePoint)
        request.characters.append(codePoint);
    const WebFontOutcome larger = runWebFontJob(request);
    QVERIFY2(larger.job.text.endsWith(".woff2 could not be written: No space left on device; nothing was written."),
             qPrintable(larger.job.text));

    // The slices they created are gone; the earlier kit is as it was.
    QVERIFY(QFile::remove(folder + "/filler"));
    QCOMPARE(everyFile(folder), QStringList(earlier.keys()));
    for (auto file = earlier.cbegin(); file != earlier.cend(); ++file)
        QCOMPARE(readFile(folder + "/" + file.key()), file.value());
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
    QCOMPARE(appendFileRange(from.handle(), 1001, 200000, to.handle()), 0); // several buffers' worth
    QCOMPARE(appendFileRange(from.handle(), 5, 3, to.handle()), 0);
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
            QSKIP("the copy onto another file system needs root for a tmpfs mount");
        QFile from(writeFile(dir.filePath("shrinking.bin"), QByteArray(100000, 's'))), to(target);
        QVERIFY(from.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QVERIFY(to.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QVERIFY(QFile(from.fileName()).resize(50000)); // another writer cuts the file
        QCOMPARE(appendFileRange(from.handle(), 0, 100000, to.handle()), ENODATA);
    }
}

void TestFaults::fontCutShortDuringJob()
{
    // An installed font that its user may rewrite in place (cp truncates
    // first) is read, not mapped: cut to nothing after it was loaded, it
    // still gives its subset. Were it mapped, the job would die of SIGBUS.
    const QString fonts = dir.filePath("fonts");
    QDir().mkpath(fonts);
    const QString font = writeFile(fonts + "/DejaVuSans.ttf", readFile(kDejaVuSans));
    QVERIFY(QFile::setPermissions(font, QFile::permissions(font) | QFile::WriteOther)); // not root's alone, as root too
    FontSubsetter local(FontSubsetter::Setup::FontOnly);
    local.defaultFace = QStringLiteral("DejaVu Sans");
    local.familyFiles.insert(QStringLiteral("dejavu sans"), font);
    QVERIFY(local.loadSystemFont(QStringLiteral("DejaVu Sans")) && local.holdsSfntFont());
    QVERIFY(QFile(font).resize(0));
    local.keepList = {'A'};
    WrittenSubset written;
    QVERIFY(local.writeSubset(dir.filePath("cut-short.ttf"), &written));
    QVERIFY(written.missing.isEmpty());
    // The system's own fonts are mapped: only root writes them, by renaming.
    QVERIFY(isSafeToMap(kDejaVuSans) && !isSafeToMap(font));
}

void TestFaults::twoProcessesExtractOneFamily()
{
    // The member as a split alone writes it.
    const QString reference = dir.filePath("reference");
    QDir().mkpath(reference);
    QVERIFY(splitCollection(kMicroHei, reference));
    const QByteArray member = readFile(reference + "/文泉驿微米黑.ttf");

    for (int round = 0; round < 2; ++round) {
        const QString home = dir.filePath(QStringLiteral("home%1").arg(round));
        const QString copy = home + "/data/tessaglyph/文泉驿微米黑.ttf";
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
        // Watched all the while they run, not only at the end: a store that
        // writes the copy in place shows it part-written for the whole of
        // the write, which this loop sees at every run, whatever the race.
        int looks = 0;
        while (std::any_of(processes.cbegin(), processes.cend(), [](QProcess *p) {
                   return p->state() != QProcess::NotRunning && !p->waitForFinished(0);
               })) {
            const QFileInfo info(copy);
            if (info.exists())
                QCOMPARE(info.size(), qint64(member.size()));
            ++looks;
        }
        for (QProcess *process : processes) {
            QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
            delete process;
        }
        QVERIFY(looks > 100);
        QCOMPARE(readFile(home + "/out0/WenQuanYi Micro Hei.ttf"), readFile(home + "/out1/WenQuanYi Micro Hei.ttf"));
        QCOMPARE(everyFile(home + "/data/tessaglyph"), QStringList({"文泉驿微米黑.ttf"}));
        QCOMPARE(readFile(copy), member);
    }
}

void TestFaults::leftoversOfAKilledRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("locked"); // by a live run
    QTest::addColumn<bool>("removed");
    QTest::addColumn<bool>("kit"); // the run that finds it makes a web-font kit, else a split
    QTest::newRow("ours, unchanged for two minutes") << ".tessaglyph-k1lled00.part" << 120 << false << true << false;
    QTest::newRow("ours, found by a kit") << ".tessaglyph-k1lled00.part" << 120 << false << true << true;
    QTest::newRow("ours, just made: its writer may not have locked it yet")
            << ".tessaglyph-k1lled00.part" << 0 << false << false << false;
    QTest::newRow("ours, locked by a live run") << ".tessaglyph-k1lled00.part" << 120 << true << false << false;
    QTest::newRow("another program's") << ".12345.part" << 120 << false << false << false;
    QTest::newRow("our prefix, not our pattern") << ".tessaglyph-notes.part" << 120 << false << false << false;
}

void TestFaults::leftoversOfAKilledRun()
{
    QFETCH(QString, name);
    QFETCH(int, ageSeconds);
    QFETCH(bool, locked);
    QFETCH(bool, removed);
    QFETCH(bool, kit);
    const QString folder = dir.filePath(QStringLiteral("leftovers-%1").arg(QTest::currentDataTag()));
    QDir().mkpath(folder);
    QFile leftover(writeFile(folder + "/" + name, "half a member"));
    QVERIFY(leftover.open(QIODevice::ReadWrite));
    QVERIFY(leftover.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    if (locked)
        QCOMPARE(::flock(leftover.handle(), LOCK_EX), 0);
    else
        leftover.close();

    QStringList made;
    if (kit) {
        WebFontRequest request;
        request.fontPath = kDejaVuSans;
        request.outputFolder = folder;
        request.characters = keepListFromText("One");
        const WebFontOutcome outcome = runWebFontJob(request);
        QVERIFY(outcome.job.succeeded);
        for (const QString &path : outcome.kitFiles)
            made.append(QFileInfo(path).fileName());
    } else {
        const QString ttc = writeFile(dir.filePath("one.ttc"), collection({namedFont("One")}));
        QVERIFY(runSplitJob(ttc, folder).succeeded);
        made = QStringList{"One.ttf"};
    }
    if (!removed)
        made.append(name);
    made.sort();
    QCOMPARE(everyFile(folder), made);
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
