// The window on the offscreen platform: initial state, the check box, every
// check of "Accept" with the one message it shows, jobs run from the window
// with what their boxes say, "Cancel", the logo link and the Chinese
// translation.

#include "support/FontBuilder.h"

#include "ui/LabelLink.h"
#include "ui/PreviewServer.h"
#include "ui/SubsetPreview.h"
#include "ui/Tessaglyph.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRawFont>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTcpSocket>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <future>
#include <memory>
#include <vector>

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

struct ShownBox
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    int count = 0;
    // A subset's preview: its caption, and the family and glyph count of the
    // font its characters are drawn in.
    QString previewCaption;
    QString previewFamily;
    int previewGlyphs = 0;
};

int glyphCount(const QRawFont &font)
{
    const QByteArray maxp = font.fontTable("maxp");
    return maxp.size() < 6 ? 0 : qFromBigEndian<quint16>(maxp.constData() + 4);
}

ShownBox record(QMessageBox *box, int count)
{
    ShownBox shown;
    shown.icon = box->icon();
    shown.title = box->windowTitle();
    shown.text = box->text();
    shown.count = count;
    if (auto *caption = box->findChild<QLabel *>("subsetPreviewCaption"))
        shown.previewCaption = caption->text();
    if (auto *glyphs = box->findChild<GlyphLine *>("subsetPreviewGlyphs")) {
        shown.previewFamily = glyphs->rawFont().familyName();
        shown.previewGlyphs = glyphCount(glyphs->rawFont());
    }
    return shown;
}

// Presses the button and answers every message box it opens, recording them.
ShownBox pressAndAnswer(QAbstractButton *button)
{
    ShownBox shown;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = record(box, shown.count + 1);
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start();
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::qWait(30); // a second box would show up here
    return shown;
}

// Answers the next message box, whenever it opens, with "Ok", recording it;
// `whileOpen` runs first, with the box.
ShownBox answerNextBox(const std::function<void(QMessageBox *)> &whileOpen = {})
{
    ShownBox shown;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll.stop();
            shown = record(box, shown.count + 1);
            if (whileOpen)
                whileOpen(box);
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start();
    if (!QTest::qWaitFor([&] { return shown.count == 1; }, 300000))
        qWarning("no box was shown");
    return shown;
}

// The status line and the Content-Type of what 127.0.0.1:port answers to a
// GET of the target, asked from another thread while this one serves.
QPair<QByteArray, QByteArray> httpGet(quint16 port, const QByteArray &target, QByteArray host = {})
{
    if (host.isEmpty())
        host = "127.0.0.1:" + QByteArray::number(port);
    auto reply = std::async(std::launch::async, [port, target, host] {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(10000))
            return QByteArray();
        socket.write("GET " + target + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n");
        QByteArray bytes;
        while (socket.waitForReadyRead(10000))
            bytes += socket.readAll();
        return bytes + socket.readAll();
    });
    while (reply.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        QCoreApplication::processEvents();
    const QByteArray bytes = reply.get();
    QByteArray type;
    for (const QByteArray &line : bytes.left(bytes.indexOf("\r\n\r\n")).split('\n')) {
        if (line.startsWith("Content-Type: "))
            type = line.mid(14).trimmed();
    }
    return {bytes.left(bytes.indexOf('\r')), type};
}

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

// Whether the font file maps every character of the text.
bool mapsAll(const QString &path, const QString &text)
{
    FontSubsetter font(FontSubsetter::Setup::FontOnly);
    font.loadTrueTypeFile(path);
    const KeepList keep = keepListFromText(text);
    return std::all_of(keep.begin(), keep.end(), [&](quint32 codePoint) {
        font.keepList = {codePoint};
        return font.coversAnyKeepUnit();
    });
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void initialStateAndCheckBox();
    void acceptChecks();
    void jobsFromTheWindow();
    void webFontKit();
    void webFontCancel();
    void previewServer_data();
    void previewServer();
    void previewServerConnections_data();
    void previewServerConnections();
    void cancelAndLogo();
    void chineseTranslation();
};

void TestWindow::initialStateAndCheckBox()
{
    Tessaglyph window;
    window.show();
    QCOMPARE(window.size(), QSize(400, 550));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    auto *tabs = child<QTabWidget>(&window, "tabWidget");
    QCOMPARE(QStringList({tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)}),
             QStringList({"Font Cutting", "TTC Font Split", "Web Font"}));
    QCOMPARE(child<QTextEdit>(&window, "charactersEdit")->toPlainText(), QString::fromUtf8("字体裁剪工具让中文网页更轻快"));
    QCOMPARE(child<QLineEdit>(&window, "outputDirEdit")->text(), QDir::currentPath());

    // Checked at start; each click swaps which source row is enabled.
    auto *box = child<QCheckBox>(&window, "systemFontCheckBox");
    for (bool fromSystem : {true, false, true}) {
        QCOMPARE(box->isChecked(), fromSystem);
        QCOMPARE(child<QFontComboBox>(&window, "fontComboBox")->isEnabled(), fromSystem);
        QCOMPARE(child<QLineEdit>(&window, "fontFileEdit")->isEnabled(), !fromSystem);
        QCOMPARE(child<QPushButton>(&window, "openFontFileBtn")->isEnabled(), !fromSystem);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    }
}

void TestWindow::acceptChecks()
{
    // Each shows one box of its kind; the texts of every check are in tst_engine.
    struct Case
    {
        int tab;
        QString fontFile, output, ttcFile, outputDir;
        QMessageBox::Icon icon;
        QString text;
    };
    const QString out = QDir::tempPath();
    const QList<Case> cases = {
        {0, "x.otf", "", "", "", QMessageBox::Warning, "The output file path cannot be empty!"},
        {0, "/x/font.otf", out, "", "", QMessageBox::Warning, "The file is not a valid ttf font file!"},
        {1, "", "", "/x/a.ttc", "", QMessageBox::Information, "The path cannot be empty!"},
        {1, "", "", "/no/such.ttc", out, QMessageBox::Warning, "The file /no/such.ttc does not exist."},
    };
    for (const Case &c : cases) {
        Tessaglyph window;
        window.show();
        child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(c.tab);
        child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(c.fontFile.isEmpty());
        child<QLineEdit>(&window, "fontFileEdit")->setText(c.fontFile);
        child<QLineEdit>(&window, "saveFontFileEdit")->setText(c.output);
        child<QLineEdit>(&window, "ttcFileEdit")->setText(c.ttcFile);
        child<QLineEdit>(&window, "outputDirEdit")->setText(c.outputDir);
        const ShownBox shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
        QCOMPARE(shown.count, 1);
        QCOMPARE(shown.icon, c.icon);
        QCOMPARE(shown.title, c.icon == QMessageBox::Warning ? QStringLiteral("Warning!") : QStringLiteral("Information"));
        QCOMPARE(shown.text, c.text);
    }
}

void TestWindow::jobsFromTheWindow()
{
    Tessaglyph window;
    window.show();
    auto *accept = child<QPushButton>(&window, "acceptBtn");
    auto *characters = child<QTextEdit>(&window, "charactersEdit");
    auto *families = child<QFontComboBox>(&window, "fontComboBox");
    const QString out = dir.filePath("subset");
    QDir().mkpath(out);
    child<QLineEdit>(&window, "saveFontFileEdit")->setText(out);

    // A font file, with the text as typed: the no-break space stays one.
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(false);
    child<QLineEdit>(&window, "fontFileEdit")->setText(kDejaVuSans);
    characters->setPlainText(QString::fromUtf8("Hi\u00A0你"));
    ShownBox shown = pressAndAnswer(accept);
    QCOMPARE(int(shown.icon), int(QMessageBox::Information));
    QStringList lines = shown.text.split('\n');
    QCOMPARE(lines.value(0), QStringLiteral("Excute successfully!"));
    QVERIFY(lines.value(1).startsWith(out + "/DejaVuSans.ttf: "));
    QCOMPARE(lines.value(2), QString::fromUtf8("The font lacks 1 of the characters: 你"));
    QVERIFY(mapsAll(out + "/DejaVuSans.ttf", QString::fromUtf8("Hi\u00A0")));
    // The preview draws the text in the subset just written: its family, its glyphs.
    QCOMPARE(shown.previewFamily, QStringLiteral("DejaVu Sans"));
    QCOMPARE(shown.previewGlyphs, glyphCount(QRawFont(out + "/DejaVuSans.ttf", 12)));
    QVERIFY(shown.previewGlyphs < 10);
    QVERIFY(!mapsAll(out + "/DejaVuSans.ttf", " "));

    // A family name that fontconfig resolves to the default face is no fallback.
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(true);
    families->setCurrentFont(QFont("Sans Serif"));
    QCOMPARE(pressAndAnswer(accept).previewCaption, "Drawn in the subset DejaVu Sans:");
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(false);

    // A font that has none of the text: the default face, under its own name, says so.
    const QString latin = FontBuilder::writeFile(dir.filePath("Latin.ttf"), FontBuilder::trueTypeFont("Latin"));
    child<QLineEdit>(&window, "fontFileEdit")->setText(latin);
    characters->setPlainText("é");
    shown = pressAndAnswer(accept);
    lines = shown.text.split('\n');
    QCOMPARE(shown.previewCaption, "Drawn in the default face DejaVu Sans, which was subset instead:");
    QCOMPARE(lines.value(1), latin + " has none of the characters of the text. The subset was made from the default "
                                     "face DejaVu Sans instead.");
    QVERIFY(QFileInfo::exists(out + "/DejaVu Sans.ttf") && !QFileInfo::exists(out + "/Latin.ttf"));

    // Installed families: beyond U+FFFF, and CFF outlines from a collection.
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(true);
    const QList<QPair<QString, QString>> installed = {{"VL PGothic", "\xF0\xA0\xAE\xB7野家\xF0\x9F\x98\x80"},
                                                      {"Noto Sans CJK SC", "你好世界"}};
    for (const auto &[family, text] : installed) {
        families->setCurrentFont(QFont(family));
        if (families->currentFont().family() != family)
            QSKIP("the Debian font packages of the tests are not installed");
        characters->setPlainText(text);
        shown = pressAndAnswer(accept);
        QVERIFY2(shown.text.startsWith("Excute successfully!\n"), qPrintable(shown.text));
        const QString written = out + '/' + family + (family.startsWith("Noto") ? ".otf" : ".ttf");
        QVERIFY(mapsAll(written, text));
    }

    // A collection split into its members.
    const QString split = dir.filePath("split");
    QDir().mkpath(split);
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(1);
    child<QLineEdit>(&window, "ttcFileEdit")->setText("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    child<QLineEdit>(&window, "outputDirEdit")->setText(split);
    QVERIFY(pressAndAnswer(accept).text.startsWith("Excute successfully!\n" + split + "/文泉驿微米黑.ttf: "));
    QCOMPARE(QDir(split).entryList(QDir::Files), QStringList({"文泉驿微米黑.ttf", "文泉驿等宽微米黑.ttf"}));
    QCOMPARE(pressAndAnswer(accept).text.split('\n').value(1),
             split + "/文泉驿微米黑.ttf was kept as it was: a file of that name exists.");
}

void TestWindow::webFontKit()
{
    // Small kits through the page's own buttons, from the family the list
    // shows at start and from a font file: progress to the end, the box with
    // the kit's line, and its preview served only while the box is open.
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(2);
    auto *accept = child<QPushButton>(&window, "acceptBtn");
    auto *progress = child<QProgressBar>(&window, "webFontProgressBar");
    child<QTextEdit>(&window, "webFontCharactersEdit")->setPlainText("Hello, web fonts!");
    // The file's kit twice: the second run keeps the first's slices, which
    // its preview still serves.
    for (const bool fromFile : {false, true, true}) {
        if (fromFile && child<QCheckBox>(&window, "webFontSystemFontCheckBox")->isChecked()) {
            auto *fromSystem = child<QCheckBox>(&window, "webFontSystemFontCheckBox");
            QTest::mouseClick(fromSystem, Qt::LeftButton, {}, QPoint(5, fromSystem->height() / 2));
            QVERIFY(child<QPushButton>(&window, "webFontOpenFileBtn")->isEnabled());
            child<QLineEdit>(&window, "webFontFileEdit")->setText(kDejaVuSans);
        }
        const QString kit = dir.filePath(fromFile ? "kit" : "familyKit");
        QDir().mkpath(kit);
        child<QLineEdit>(&window, "webFontOutputEdit")->setText(kit);
        QTest::mouseClick(accept, Qt::LeftButton);
        QVERIFY(!accept->isEnabled()); // one kit at a time

        QUrl served;
        QPair<QByteArray, QByteArray> page;
        QByteArray slice;
        const ShownBox shown = answerNextBox([&](QMessageBox *box) {
            auto *server = box->findChild<PreviewServer *>();
            QVERIFY(server && box->findChild<QPushButton *>("openKitPreviewBtn")->isEnabled());
            served = server->address("index.html");
            page = httpGet(served.port(), "/index.html");
            slice = httpGet(served.port(), '/' + QDir(kit).entryList({"*.woff2"}).value(0).toUtf8()).first;
        });
        QVERIFY2(shown.icon == QMessageBox::Information, qPrintable(shown.text));
        const QStringList slices = QDir(kit).entryList({"*.woff2"});
        QCOMPARE(QDir(kit).entryList({"*.css"}).size(), 1);
        QVERIFY(!slices.isEmpty());
        QVERIFY2(shown.text.contains('\n' + kit + ": "), qPrintable(shown.text));
        QVERIFY(shown.text.endsWith(QStringLiteral(" bytes in all, slices: %1.").arg(slices.size())));
        QCOMPARE(progress->value(), progress->maximum());
        QCOMPARE(progress->maximum(), slices.size());
        QCOMPARE(page, qMakePair(QByteArray("HTTP/1.1 200 OK"), QByteArray("text/html; charset=utf-8")));
        QCOMPARE(slice, QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(httpGet(served.port(), "/index.html").first, QByteArray()); // closed with the box
        QVERIFY(accept->isEnabled());
    }
}

void TestWindow::webFontCancel()
{
    // Every character of a big font, cancelled at its first slice: the box
    // says so, and the folder holds neither CSS nor slices.
    const QString bigFont = QStringLiteral("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf");
    if (!QFileInfo::exists(bigFont))
        QSKIP("fonts-droid-fallback is not installed");
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(2);
    child<QCheckBox>(&window, "webFontSystemFontCheckBox")->setChecked(false);
    child<QLineEdit>(&window, "webFontFileEdit")->setText(bigFont);
    const QString kit = dir.filePath("cancelled");
    QDir().mkpath(kit);
    child<QLineEdit>(&window, "webFontOutputEdit")->setText(kit);
    auto *progress = child<QProgressBar>(&window, "webFontProgressBar");
    auto *cancel = child<QPushButton>(&window, "webFontCancelBtn");
    QVERIFY(!cancel->isEnabled());
    QObject::connect(progress, &QProgressBar::valueChanged, cancel, [cancel](int done) {
        if (done > 0 && cancel->isEnabled())
            QTest::mouseClick(cancel, Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(&window, "acceptBtn"), Qt::LeftButton);
    const ShownBox shown = answerNextBox();
    QCOMPARE(shown.count, 1);
    QVERIFY(progress->value() > 0 && progress->value() < progress->maximum());
    QCOMPARE(QDir(kit).entryList({"*.css", "*.woff2"}), QStringList());
}

void TestWindow::previewServer_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("host"); // empty: 127.0.0.1:<port>
    QTest::newRow("folder is its page") << QByteArray("/") << QByteArray("HTTP/1.1 200 OK") << QByteArray("text/html; charset=utf-8") << QByteArray();
    QTest::newRow("css") << QByteArray("/kit.css?v=1") << QByteArray("HTTP/1.1 200 OK") << QByteArray("text/css; charset=utf-8") << QByteArray();
    QTest::newRow("slice") << QByteArray("/kit.0.woff2") << QByteArray("HTTP/1.1 200 OK") << QByteArray("font/woff2") << QByteArray();
    QTest::newRow("report") << QByteArray("/report.json") << QByteArray("HTTP/1.1 200 OK") << QByteArray("application/json") << QByteArray();
    QTest::newRow("parent") << QByteArray("/../secret.txt") << QByteArray("HTTP/1.1 403 Forbidden") << QByteArray("text/plain; charset=utf-8") << QByteArray();
    QTest::newRow("encoded parent") << QByteArray("/%2e%2e/secret.txt") << QByteArray("HTTP/1.1 403 Forbidden") << QByteArray("text/plain; charset=utf-8") << QByteArray();
    QTest::newRow("absolute") << QByteArray("//etc/passwd") << QByteArray("HTTP/1.1 403 Forbidden") << QByteArray("text/plain; charset=utf-8") << QByteArray();
    QTest::newRow("link out") << QByteArray("/out.txt") << QByteArray("HTTP/1.1 404 Not Found") << QByteArray("text/plain; charset=utf-8") << QByteArray();
    QTest::newRow("hidden") << QByteArray("/.secret") << QByteArray("HTTP/1.1 403 Forbidden") << QByteArray("text/plain; charset=utf-8") << QByteArray();
    QTest::newRow("not the kit's") << QByteArray("/notes.txt") << QByteArray("HTTP/1.1 404 Not Found") << QByteArray("text/plain; charset=utf-8") << QByteArray();
    QTest::newRow("rebound name") << QByteArray("/index.html") << QByteArray("HTTP/1.1 400 Bad Request") << QByteArray("text/plain; charset=utf-8") << QByteArray("attacker.example:80");
    QTest::newRow("missing") << QByteArray("/none.css") << QByteArray("HTTP/1.1 404 Not Found") << QByteArray("text/plain; charset=utf-8") << QByteArray();
}

void TestWindow::previewServer()
{
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, host);
    const QString served = dir.filePath("served/kit");
    QDir().mkpath(served);
    for (const char *name : {"index.html", "kit.css", "kit.0.woff2", "report.json", "../secret.txt", ".secret", "notes.txt"}) {
        QFile file(served + '/' + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("x") == 1);
    }
    QFile::link(dir.filePath("served/secret.txt"), served + "/out.txt");
    const QStringList kit = {served + "/index.html", served + "/kit.css", served + "/kit.0.woff2", served + "/report.json", served + "/out.txt", served + "/none.css"};
    PreviewServer server(served, kit);
    QVERIFY(server.isListening());
    QCOMPARE(server.address("index.html").host(), QStringLiteral("127.0.0.1"));
    QCOMPARE(httpGet(server.address({}).port(), target, host), qMakePair(status, type));
}

void TestWindow::previewServerConnections_data()
{
    QTest::addColumn<int>("idle"); // connections opened first, oldest first
    QTest::addColumn<QByteArray>("sent"); // what each of them sends
    QTest::addColumn<int>("connectionTime"); // ms
    QTest::addColumn<bool>("request"); // a whole GET follows them
    QTest::newRow("silent connection is closed in time") << 1 << QByteArray() << 300 << false;
    QTest::newRow("half a request is closed in time") << 1 << QByteArray("GET /index.html HTTP/1.1\r\nHost: 127.0.0.1") << 300 << false;
    QTest::newRow("full house gives way to a request") << PreviewServer::kMostConnections << QByteArray() << 60000 << true;
}

void TestWindow::previewServerConnections()
{
    QFETCH(int, idle);
    QFETCH(QByteArray, sent);
    QFETCH(int, connectionTime);
    QFETCH(bool, request);
    const QString served = dir.filePath("connections");
    QDir().mkpath(served);
    QFile page(served + "/index.html");
    QVERIFY(page.open(QIODevice::WriteOnly) && page.write("x") == 1);
    page.close();
    PreviewServer server(served, {page.fileName()}, nullptr, std::chrono::milliseconds(connectionTime));
    const quint16 port = server.address({}).port();
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (int i = 0; i < idle; ++i) {
        sockets.push_back(std::make_unique<QTcpSocket>());
        sockets.back()->connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(sockets.back()->waitForConnected(5000));
        QVERIFY(sent.isEmpty() || (sockets.back()->write(sent) == sent.size() && sockets.back()->waitForBytesWritten(5000)));
    }
    if (request)
        QCOMPARE(httpGet(port, "/index.html").first, QByteArray("HTTP/1.1 200 OK"));
    // The server closes the oldest: at its connection time, or at once when a
    // request needs its slot. The newest of a full house stays open.
    QTRY_COMPARE_WITH_TIMEOUT(sockets.front()->state(), QAbstractSocket::UnconnectedState, 3000);
    if (request)
        QCOMPARE(sockets.back()->state(), QAbstractSocket::ConnectedState);
}

void TestWindow::cancelAndLogo()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    Tessaglyph window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<LabelLink *> logos = window.findChildren<LabelLink *>();
    QCOMPARE(logos.size(), 3);
    LabelLink *logo = logos.first()->isVisible() ? logos.first() : logos.last();
    QCOMPARE(logo->pixmap().size(), QSize(108, 39)); // set by the first resize
    QTest::mouseMove(logo, QPoint(10, 10));
    QCOMPARE(logo->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(logo->toolTip().endsWith("Free software under the MIT licence."));
    QTest::mouseClick(logo, Qt::RightButton);
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(catcher.opened, QList<QUrl>({QUrl("https://tessaglyph.example/")}));

    QTest::mouseClick(child<QPushButton>(&window, "cancelBtn"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void TestWindow::chineseTranslation()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(TRANSLATIONS_DIR)));
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("tessaglyph_zh")));
    QCoreApplication::installTranslator(&translator);
    {
        Tessaglyph window;
        QCOMPARE(child<QTabWidget>(&window, "tabWidget")->tabText(0), QString::fromUtf8("字体裁剪"));
        QCOMPARE(child<QTabWidget>(&window, "tabWidget")->tabText(2), QString::fromUtf8("网页字体"));
        QCOMPARE(child<QPushButton>(&window, "acceptBtn")->text(), QString::fromUtf8("确定"));
        QVERIFY(window.findChild<LabelLink *>()->toolTip().endsWith(QString::fromUtf8("以 MIT 许可证发布的自由软件。")));
        window.show();
        const ShownBox shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
        QCOMPARE(shown.title, QString::fromUtf8("警告！"));
        QCOMPARE(shown.text, QString::fromUtf8("输出文件路径不能为空！"));
    }
    QCoreApplication::removeTranslator(&translator);
    QDir::setCurrent(previous);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
