// The window on the offscreen platform: initial state, the check box, every
// check of "Accept" with the one message it shows, jobs run from the window
// with what their boxes say, the keyboard (Tab, Enter, names and mnemonics),
// "Stop" and closing mid-kit, the preview that stays served, the characters
// a font lacks, "Cancel", the logo link and the Chinese translation.

#include "support/FontBuilder.h"

#include "engine/Jobs.h"
#include "platform/DefaultFace.h"
#include "ui/KitBox.h"
#include "ui/KitOptionsDialog.h"
#include "ui/LabelLink.h"
#include "ui/OutcomeBox.h"
#include "ui/PreviewServer.h"
#include "ui/SubsetPreview.h"
#include "ui/Tessaglyph.h"
#include "ui/WebFontPage.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScreen>
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
    bool previewCut = false; // the preview ends in an ellipsis: the text goes on
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
    // Lines beyond what the box shows at once are in a list of their own.
    if (auto *lines = box->findChild<QPlainTextEdit *>("outcomeLines"))
        shown.text += '\n' + lines->toPlainText();
    shown.count = count;
    if (auto *caption = box->findChild<QLabel *>("subsetPreviewCaption"))
        shown.previewCaption = caption->text();
    if (auto *glyphs = box->findChild<GlyphLine *>("subsetPreviewGlyphs")) {
        shown.previewFamily = glyphs->rawFont().familyName();
        shown.previewGlyphs = glyphCount(glyphs->rawFont());
    }
    shown.previewCut = box->findChild<QLabel *>("subsetPreviewEllipsis") != nullptr;
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

// Answers every message box that opens while it lives, recording its text:
// with the button of the given object name where the box has one, else
// with "Ok".
class BoxAnswerer
{
public:
    explicit BoxAnswerer(const QString &button = {})
    {
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            texts.append(box->text());
            auto *answer = button.isEmpty() ? nullptr : box->findChild<QAbstractButton *>(button);
            (answer ? answer : box->button(QMessageBox::Ok))->click();
        });
        poll.start();
    }

    QStringList texts;

private:
    QTimer poll;
};

// Shown and active, so that the keyboard reaches its focus widget.
bool showActive(QWidget *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// The widgets Tab stops at: those that take the focus by Tab themselves,
// not the parts of another (a list's line edit and view, a tab bar's
// scroll buttons).
QList<QWidget *> tabStops(QWidget *top)
{
    QList<QWidget *> stops;
    for (QWidget *widget : top->findChildren<QWidget *>()) {
        bool part = false;
        for (QWidget *up = widget->parentWidget(); up && up != top; up = up->parentWidget())
            part = part || qobject_cast<QComboBox *>(up) || qobject_cast<QTabBar *>(up) || qobject_cast<QAbstractScrollArea *>(up);
        if (!part && (widget->focusPolicy() & Qt::TabFocus) && !widget->isWindow())
            stops.append(widget);
    }
    return stops;
}

// The letter after the mnemonic's "&" ("&Output" o, "输出目录(&O)" o); none: empty.
QString mnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QString());
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at < 0 || at + 1 >= text.size() ? QString() : text.mid(at + 1, 1).toLower();
}

// A stand-in for xdg-open, first on the PATH while it lives: it writes the
// address it is given to `opened` and exits with `exitCode`.
class FakeOpener
{
public:
    FakeOpener(const QString &folder, int exitCode) : previousPath(qgetenv("PATH"))
    {
        QDir().mkpath(folder);
        opened = folder + "/opened.txt";
        QFile::remove(opened);
        QFile script(folder + "/xdg-open");
        if (!script.open(QIODevice::WriteOnly)
            || script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >> '%1'\nexit %2\n").arg(opened).arg(exitCode).toUtf8()) < 0)
            qFatal("cannot write %s", qPrintable(script.fileName()));
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", folder.toUtf8() + ':' + previousPath);
    }
    ~FakeOpener() { qputenv("PATH", previousPath); }

    // The addresses given, once the fake has run.
    QStringList addresses() const
    {
        QFile file(opened);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QByteArray previousPath;
    QString opened;
};

// A folder's entries, hidden ones too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

const QString kBigFont = QStringLiteral("/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf");

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
    void tabLeavesTextBoxes_data();
    void tabLeavesTextBoxes();
    void enterPressesTheDefaultButton_data();
    void enterPressesTheDefaultButton();
    void namesAndMnemonics_data();
    void namesAndMnemonics();
    void stopAndClose_data();
    void stopAndClose();
    void previewButton_data();
    void previewButton();
    void lackingCharacters_data();
    void lackingCharacters();
    void previewServer_data();
    void previewServer();
    void previewServerConnections_data();
    void previewServerConnections();
    void fontFileFilters_data();
    void fontFileFilters();
    void boxFitsTheScreen_data();
    void boxFitsTheScreen();
    void startingFamilyDrawsTheSample_data();
    void startingFamilyDrawsTheSample();
    void secondWeightSplit_data();
    void secondWeightSplit();
    void kitOptionsLine_data();
    void kitOptionsLine();
    void focusAfterFolderDialog_data();
    void focusAfterFolderDialog();
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
    QCOMPARE(child<QTextEdit>(&window, "charactersEdit")->toPlainText(), QStringLiteral("Smaller fonts make web pages faster"));
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
        {0, "/x/font.pfb", out, "", "", QMessageBox::Warning, "The file is not a valid ttf font file!"},
        {0, "/x/font.otf", out, "", "", QMessageBox::Warning, "The file /x/font.otf does not exist."},
        {0, FontBuilder::writeFile(dir.filePath("NotAFont.otf"), "not a font"), out, "", "", QMessageBox::Warning,
         "The file is not a valid ttf font file!"},
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
    QCOMPARE(lines.value(2), QString::fromUtf8("The font lacks 1 of the characters: U+4F60 你"));
    QVERIFY(mapsAll(out + "/DejaVuSans.ttf", QString::fromUtf8("Hi\u00A0")));
    // The preview draws the text in the subset just written: its family, its glyphs.
    QCOMPARE(shown.previewFamily, QStringLiteral("DejaVu Sans"));
    QCOMPARE(shown.previewGlyphs, glyphCount(QRawFont(out + "/DejaVuSans.ttf", 12)));
    QVERIFY(shown.previewGlyphs < 10);
    QVERIFY(!shown.previewCut);
    QVERIFY(!mapsAll(out + "/DejaVuSans.ttf", " "));

    // An OpenType file with CFF outlines, as the command line cuts it.
    const QString inter = QStringLiteral("/usr/share/fonts/opentype/inter/Inter-Regular.otf");
    if (QFileInfo::exists(inter)) {
        child<QLineEdit>(&window, "fontFileEdit")->setText(inter);
        characters->setPlainText("Inter");
        shown = pressAndAnswer(accept);
        QVERIFY2(shown.text.startsWith("Excute successfully!\n" + out + "/Inter-Regular.otf: "), qPrintable(shown.text));
        QVERIFY(mapsAll(out + "/Inter-Regular.otf", "Inter"));
    }

    // A family name that fontconfig resolves to the default face is no fallback.
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(true);
    families->setCurrentFont(QFont("Sans Serif"));
    const QString defaultFace = desktopDefaultFace(); // whichever the machine's fontconfig draws sans-serif with
    QCOMPARE(pressAndAnswer(accept).previewCaption, "Drawn in the subset " + defaultFace + ":");
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(false);

    // A font that has none of the text: the default face, under its own name, says so.
    const QString latin = FontBuilder::writeFile(dir.filePath("Latin.ttf"), FontBuilder::trueTypeFont("Latin"));
    child<QLineEdit>(&window, "fontFileEdit")->setText(latin);
    characters->setPlainText("é");
    shown = pressAndAnswer(accept);
    lines = shown.text.split('\n');
    QCOMPARE(shown.previewCaption, "Drawn in the default face " + defaultFace + ", which was subset instead:");
    QCOMPARE(lines.value(1), latin + " has none of the characters of the text. The subset was made from the default "
                                     "face " + defaultFace + " instead.");
    QVERIFY(QFileInfo::exists(out + '/' + defaultFace + ".ttf") && !QFileInfo::exists(out + "/Latin.ttf"));

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
    // the kit's line and the CSS to paste, and its preview, served while the
    // window is open, until the next kit's takes its place.
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(2);
    auto *page = child<WebFontPage>(&window, "webFontPage");
    auto *accept = child<QPushButton>(&window, "acceptBtn");
    auto *progress = child<QProgressBar>(&window, "webFontProgressBar");
    child<QTextEdit>(&window, "webFontCharactersEdit")->setPlainText("Hello, web fonts!");
    QVERIFY(!page->previewAddress().isValid());
    QUrl previous;
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

        QPair<QByteArray, QByteArray> page0;
        QByteArray slice;
        QString usage;
        const ShownBox shown = answerNextBox([&](QMessageBox *box) {
            QVERIFY(box->findChild<QPushButton *>("openKitPreviewBtn")->isEnabled());
            page0 = httpGet(page->previewAddress().port(), "/DejaVuSans.html");
            slice = httpGet(page->previewAddress().port(), '/' + QDir(kit).entryList({"*.woff2"}).value(0).toUtf8()).first;
            usage = box->findChild<QPlainTextEdit *>("kitUsageEdit")->toPlainText();
            QTest::mouseClick(box->findChild<QPushButton *>("kitCopyUsageBtn"), Qt::LeftButton);
        });
        QVERIFY2(shown.icon == QMessageBox::Information, qPrintable(shown.text));
        const QStringList slices = QDir(kit).entryList({"*.woff2"});
        const QStringList css = QDir(kit).entryList({"*.css"});
        QCOMPARE(css.size(), 1);
        QVERIFY(!slices.isEmpty());
        QVERIFY2(shown.text.contains('\n' + kit + ": "), qPrintable(shown.text));
        QVERIFY(shown.text.endsWith(QStringLiteral(" bytes in all, slices: %1.").arg(slices.size())));
        QCOMPARE(progress->value(), progress->maximum());
        QCOMPARE(progress->maximum(), slices.size());
        QCOMPARE(page0, qMakePair(QByteArray("HTTP/1.1 200 OK"), QByteArray("text/html; charset=utf-8")));
        QCOMPARE(slice, QByteArray("HTTP/1.1 200 OK"));
        const QString family = fromFile ? QStringLiteral("DejaVu Sans") : desktopDefaultFace();
        // The family, then the fallback families of the local fonts that stand in while it loads.
        QVERIFY2(usage.startsWith(QStringLiteral("<link rel=\"stylesheet\" href=\"%1\">\nfont-family: \"%2\", \"%2 Fallback ").arg(css.first(), family))
                         && usage.endsWith("\";"),
                 qPrintable(usage));
        QCOMPARE(QApplication::clipboard()->text(), usage);
        // The preview page speaks the window's language, and its sample is the text as it reads.
        QFile preview(kit + "/DejaVuSans.html");
        QVERIFY(preview.open(QIODevice::ReadOnly));
        const QByteArray html = preview.readAll();
        QVERIFY(html.contains("<html lang=\"en\">") && html.contains(">Hello, web fonts!</textarea>"));
        // The box is closed; the preview is still served, and "Preview" offers it.
        QCOMPARE(httpGet(page->previewAddress().port(), "/DejaVuSans.html").first, QByteArray("HTTP/1.1 200 OK"));
        QVERIFY(child<QPushButton>(&window, "webFontPreviewBtn")->isEnabled());
        if (previous.isValid())
            QCOMPARE(httpGet(previous.port(), "/DejaVuSans.html").first, QByteArray()); // the last kit's, closed
        previous = page->previewAddress();
        QVERIFY(accept->isEnabled());
    }
}

void TestWindow::tabLeavesTextBoxes_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QByteArray>("next");     // where Tab goes
    QTest::addColumn<QByteArray>("previous"); // where Shift+Tab goes
    QTest::newRow("Font Cutting's text") << 0 << QByteArray("charactersEdit") << QByteArray("importTextFileBtn")
                                         << QByteArray("saveFontFileBtn");
    QTest::newRow("Web Font's text") << 2 << QByteArray("webFontCharactersEdit") << QByteArray("webFontOptionsBtn")
                                     << QByteArray("webFontOutputBtn");
}

void TestWindow::tabLeavesTextBoxes()
{
    QFETCH(int, tab);
    QFETCH(QByteArray, box);
    QFETCH(QByteArray, next);
    QFETCH(QByteArray, previous);
    Tessaglyph window;
    auto *tabs = child<QTabWidget>(&window, "tabWidget");
    tabs->setCurrentIndex(tab);
    QVERIFY(showActive(&window));
    auto *text = child<QTextEdit>(&window, box);
    text->setPlainText("ab");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&window, next));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), child<QWidget>(&window, previous));
    QCOMPARE(text->toPlainText(), QStringLiteral("ab"));
    // Ctrl+Tab types the tab, and neither leaves the box nor turns the page.
    text->setFocus();
    text->moveCursor(QTextCursor::End);
    QTest::keyClick(text, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), QStringLiteral("ab\t"));
    QCOMPARE(QApplication::focusWidget(), text);
    QCOMPARE(tabs->currentIndex(), tab);
}

void TestWindow::enterPressesTheDefaultButton_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("field"); // where the focus is
    QTest::addColumn<QString>("shown");    // the box "Accept" shows; empty: none
    QTest::newRow("Font Cutting, in a path field") << 0 << QByteArray("saveFontFileEdit") << "The output file path cannot be empty!";
    QTest::newRow("TTC Font Split, in a path field") << 1 << QByteArray("ttcFileEdit") << "The path cannot be empty!";
    QTest::newRow("Web Font, in a path field") << 2 << QByteArray("webFontOutputEdit") << "The output folder cannot be empty!";
    QTest::newRow("Web Font, on the check box") << 2 << QByteArray("webFontSystemFontCheckBox") << "The output folder cannot be empty!";
    QTest::newRow("a text box takes Enter as a line break") << 0 << QByteArray("charactersEdit") << "";
}

void TestWindow::enterPressesTheDefaultButton()
{
    QFETCH(int, tab);
    QFETCH(QByteArray, field);
    QFETCH(QString, shown);
    Tessaglyph window;
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(tab);
    child<QLineEdit>(&window, "ttcFileEdit")->clear();
    QVERIFY(showActive(&window));
    QVERIFY(child<QPushButton>(&window, "acceptBtn")->isDefault());
    auto *focused = child<QWidget>(&window, field);
    focused->setFocus();
    BoxAnswerer answerer;
    QTest::keyClick(focused, Qt::Key_Return);
    QTest::qWait(30); // a box would show up here
    QCOMPARE(answerer.texts, shown.isEmpty() ? QStringList() : QStringList(shown));
    if (auto *text = qobject_cast<QTextEdit *>(focused))
        QVERIFY(text->toPlainText().contains('\n'));
}

void TestWindow::namesAndMnemonics_data()
{
    QTest::addColumn<int>("tab"); // -1: the Web Font page's options dialog
    QTest::addColumn<bool>("chinese");
    for (const bool chinese : {false, true}) {
        const char *language = chinese ? "Chinese" : "English";
        QTest::addRow("Font Cutting, %s", language) << 0 << chinese;
        QTest::addRow("TTC Font Split, %s", language) << 1 << chinese;
        QTest::addRow("Web Font, %s", language) << 2 << chinese;
        QTest::addRow("Web Font options, %s", language) << -1 << chinese;
    }
}

void TestWindow::namesAndMnemonics()
{
    // Every stop of Tab has a name for accessibility tools, and a tool tip
    // when it shows only an icon; every field has a label that moves the
    // focus to it by a mnemonic, one letter per page.
    QFETCH(int, tab);
    QFETCH(bool, chinese);
    QTranslator translator;
    if (chinese) {
        QVERIFY(translator.load(QStringLiteral("tessaglyph_zh"), QStringLiteral(TRANSLATIONS_DIR)));
        QCoreApplication::installTranslator(&translator);
    }
    Tessaglyph window;
    KitOptionsDialog options({});
    QWidget *page = tab < 0 ? static_cast<QWidget *>(&options) : child<QTabWidget>(&window, "tabWidget")->widget(tab);
    QList<QWidget *> stops = tabStops(page);
    if (tab >= 0)
        stops << child<QWidget>(&window, "acceptBtn") << child<QWidget>(&window, "cancelBtn");
    QVERIFY(stops.size() >= 4);
    QStringList letters;
    for (QWidget *stop : std::as_const(stops)) {
        const QString what = stop->objectName() + ' ' + stop->metaObject()->className();
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(stop);
        QVERIFY2(accessible && !accessible->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(what));
        // Read without its mnemonic: neither "&" nor "(&S)" nor "(S)".
        QVERIFY2(!accessible->text(QAccessible::Name).contains(QRegularExpression("&|\\([A-Za-z]\\)")), qPrintable(what));
        if (auto *button = qobject_cast<QAbstractButton *>(stop)) {
            QVERIFY2(!button->text().isEmpty() || !button->toolTip().isEmpty(), qPrintable(what));
            if (!mnemonic(button->text()).isEmpty())
                letters.append(mnemonic(button->text()));
        }
        if (qobject_cast<QLineEdit *>(stop) || qobject_cast<QTextEdit *>(stop) || qobject_cast<QComboBox *>(stop)) {
            QLabel *label = nullptr;
            for (QLabel *candidate : page->findChildren<QLabel *>())
                label = candidate->buddy() == stop ? candidate : label;
            QVERIFY2(label, qPrintable(what));
            QVERIFY2(label->text().contains(chinese ? QStringLiteral("(&") : QStringLiteral("&")), qPrintable(label->text()));
            letters.append(mnemonic(label->text()));
        }
    }
    QCOMPARE(QSet<QString>(letters.cbegin(), letters.cend()).size(), letters.size());
    QCoreApplication::removeTranslator(&translator);
}

void TestWindow::stopAndClose_data()
{
    QTest::addColumn<QString>("how");    // "stop": the page's Stop; "cancel": the window's Cancel; "close": the window closed
    QTest::addColumn<QString>("answer"); // the button the question is answered with
    QTest::addColumn<bool>("windowOpen");
    QTest::newRow("Stop stops the kit") << "stop" << "" << true;
    QTest::newRow("Cancel asks, then stops the kit") << "cancel" << "stopAndCloseBtn" << false;
    QTest::newRow("closing asks, then stops the kit") << "close" << "stopAndCloseBtn" << false;
    QTest::newRow("Continue, and the kit goes on") << "cancel" << "continueBtn" << true;
}

void TestWindow::stopAndClose()
{
    // Every character of a big font, stopped once slices are being made: no
    // file of it is left, not even a temporary one.
    QFETCH(QString, how);
    QFETCH(QString, answer);
    QFETCH(bool, windowOpen);
    if (!QFileInfo::exists(kBigFont))
        QSKIP("fonts-droid-fallback is not installed");
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(2);
    child<QCheckBox>(&window, "webFontSystemFontCheckBox")->setChecked(false);
    child<QLineEdit>(&window, "webFontFileEdit")->setText(kBigFont);
    const QString kit = dir.filePath(QStringLiteral("stopped/") + QTest::currentDataTag());
    QDir().mkpath(kit);
    child<QLineEdit>(&window, "webFontOutputEdit")->setText(kit);
    auto *page = child<WebFontPage>(&window, "webFontPage");
    auto *progress = child<QProgressBar>(&window, "webFontProgressBar");
    auto *stop = child<QPushButton>(&window, "webFontStopBtn");
    QVERIFY(!stop->isEnabled());
    QTest::mouseClick(child<QPushButton>(&window, "acceptBtn"), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return progress->value() > 0; }, 60000));
    QVERIFY(progress->value() < progress->maximum());

    BoxAnswerer answerer(answer);
    if (how == "stop")
        QTest::mouseClick(stop, Qt::LeftButton);
    else if (how == "cancel")
        QTest::mouseClick(child<QPushButton>(&window, "cancelBtn"), Qt::LeftButton);
    else
        window.close();
    if (how != "stop") {
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY2(answerer.texts.first().startsWith("A web-font kit is being made: "), qPrintable(answerer.texts.first()));
    }
    if (answer == "continueBtn") {
        QVERIFY(page->isRunning());
        QTest::mouseClick(stop, Qt::LeftButton);
    }
    const QString stopped = "The kit was cancelled; none of its files were left.";
    if (windowOpen) {
        QVERIFY(QTest::qWaitFor([&] { return answerer.texts.contains(stopped); }, 60000));
        QCOMPARE(progress->text(), QStringLiteral("No kit is being made")); // nothing of the stopped kit
    }
    QCOMPARE(window.isVisible(), windowOpen);
    QVERIFY(!page->isRunning());
    QCOMPARE(entries(kit), QStringList());

    if (how == "stop") {
        // The next kit's bar counts its slices afresh.
        QTest::mouseClick(child<QPushButton>(&window, "acceptBtn"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return progress->value() > 0; }, 60000));
        QCOMPARE(progress->text(), QStringLiteral("%1 of %2 slices").arg(progress->value()).arg(progress->maximum()));
        QVERIFY(progress->isTextVisible());
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return answerer.texts.count(stopped) == 2; }, 60000));
        QCOMPARE(entries(kit), QStringList());
    }
}

void TestWindow::previewButton_data()
{
    QTest::addColumn<int>("exitCode"); // xdg-open's
    QTest::addColumn<bool>("warned");
    QTest::newRow("a browser opens the preview") << 0 << false;
    QTest::newRow("no program could: the window says so, with the address") << 3 << true;
}

void TestWindow::previewButton()
{
    // The page's "Preview" opens the last kit's preview, served, after its
    // box was closed; the options of the dialog reach the kit.
    QFETCH(int, exitCode);
    QFETCH(bool, warned);
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(2);
    child<QCheckBox>(&window, "webFontSystemFontCheckBox")->setChecked(false);
    child<QLineEdit>(&window, "webFontFileEdit")->setText(kDejaVuSans);
    child<QTextEdit>(&window, "webFontCharactersEdit")->setPlainText("Hello");
    const QString kit = dir.filePath(QStringLiteral("preview/") + QTest::currentDataTag());
    QDir().mkpath(kit);
    child<QLineEdit>(&window, "webFontOutputEdit")->setText(kit);
    auto *previewBtn = child<QPushButton>(&window, "webFontPreviewBtn");
    QVERIFY(!previewBtn->isEnabled());

    QTimer::singleShot(0, [] {
        QVERIFY(QTest::qWaitFor([] { return qobject_cast<KitOptionsDialog *>(QApplication::activeModalWidget()); }));
        auto *dialog = qobject_cast<KitOptionsDialog *>(QApplication::activeModalWidget());
        dialog->findChild<QLineEdit *>("kitCssFamilyEdit")->setText("Site Sans");
        dialog->findChild<QComboBox *>("kitFontDisplayBox")->setCurrentText("optional");
        dialog->accept();
    });
    QTest::mouseClick(child<QPushButton>(&window, "webFontOptionsBtn"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&window, "acceptBtn"), Qt::LeftButton);
    QCOMPARE(answerNextBox().icon, QMessageBox::Information);
    QFile css(kit + "/SiteSans.css");
    QVERIFY(css.open(QIODevice::ReadOnly));
    const QByteArray rules = css.readAll();
    QVERIFY(rules.contains("font-family: \"Site Sans\";") && rules.contains("font-display: optional;"));

    QVERIFY(previewBtn->isEnabled());
    const QUrl address = child<WebFontPage>(&window, "webFontPage")->previewAddress();
    FakeOpener opener(dir.filePath(QStringLiteral("opener-%1").arg(exitCode)), exitCode); // no ':' in a PATH
    BoxAnswerer answerer;
    QTest::mouseClick(previewBtn, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return !opener.addresses().isEmpty(); }, 10000));
    QTest::qWait(100); // the warning, when there is one, shows up here
    QCOMPARE(opener.addresses(), QStringList(address.toString()));
    QCOMPARE(answerer.texts, warned ? QStringList("No program could open the preview page. Open this address by hand in a web browser: "
                                                  + address.toString())
                                    : QStringList());
    QCOMPARE(httpGet(address.port(), address.path().toUtf8()).first, QByteArray("HTTP/1.1 200 OK"));
}

void TestWindow::lackingCharacters_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line"); // the box's line of characters the font lacks
    QString many, listed;
    for (char32_t c = 0x4E00; c < 0x4E00 + 25; ++c) {
        many += QString::fromUcs4(&c, 1);
        if (c < 0x4E00 + 20)
            listed += QStringLiteral("U+%1 %2, ").arg(quint32(c), 0, 16).toUpper().arg(QString::fromUcs4(&c, 1));
    }
    QTest::newRow("beyond U+FFFF, by code point and character") << 0 << QString::fromUtf8("Hi\t𠀀\n") << QString::fromUtf8("The font lacks 1 of the characters: U+20000 𠀀");
    QTest::newRow("an unassigned one by its code point alone") << 0 << QString::fromUtf8("Hi\u0378") << QString::fromUtf8("The font lacks 1 of the characters: U+0378");
    QTest::newRow("a mark on a dotted circle") << 0 << QString::fromUtf8("Hi\u0951") << QString::fromUtf8("The font lacks 1 of the characters: U+0951 \u25CC\u0951");
    QTest::newRow("twenty, then how many more") << 0 << "Hi" + many << "The font lacks 25 of the characters: " + listed + "5 more";
    QTest::newRow("a web-font kit says it alike") << 2 << QString::fromUtf8("Hi𠀀") << QString::fromUtf8("The font lacks 1 of the characters: U+20000 𠀀");
}

void TestWindow::lackingCharacters()
{
    QFETCH(int, tab);
    QFETCH(QString, text);
    QFETCH(QString, line);
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(tab);
    const QString out = dir.filePath(QStringLiteral("lacking/") + QTest::currentDataTag());
    QDir().mkpath(out);
    if (tab == 0) {
        child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(false);
        child<QLineEdit>(&window, "fontFileEdit")->setText(kDejaVuSans);
        child<QLineEdit>(&window, "saveFontFileEdit")->setText(out);
        child<QTextEdit>(&window, "charactersEdit")->setPlainText(text);
    } else {
        child<QCheckBox>(&window, "webFontSystemFontCheckBox")->setChecked(false);
        child<QLineEdit>(&window, "webFontFileEdit")->setText(kDejaVuSans);
        child<QLineEdit>(&window, "webFontOutputEdit")->setText(out);
        child<QTextEdit>(&window, "webFontCharactersEdit")->setPlainText(text);
    }
    QTimer::singleShot(0, [&] { QTest::mouseClick(child<QPushButton>(&window, "acceptBtn"), Qt::LeftButton); });
    const QStringList lines = answerNextBox().text.split('\n');
    QVERIFY2(lines.contains(line), qPrintable(lines.join('\n')));
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

void TestWindow::fontFileFilters_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("checkBox");
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("Font Cutting") << 0 << QByteArray("systemFontCheckBox") << QByteArray("openFontFileBtn");
    QTest::newRow("Web Font") << 2 << QByteArray("webFontSystemFontCheckBox") << QByteArray("webFontOpenFileBtn");
}

void TestWindow::fontFileFilters()
{
    // Every page that takes a font file offers TrueType, OpenType and WOFF2 alike.
    QFETCH(int, tab);
    QFETCH(QByteArray, checkBox);
    QFETCH(QByteArray, button);
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(tab);
    child<QCheckBox>(&window, checkBox)->click();
    QStringList filters;
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitFor([] { return qobject_cast<QFileDialog *>(QApplication::activeModalWidget()); }));
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        filters = dialog->nameFilters();
        dialog->reject();
    });
    child<QPushButton>(&window, button)->click();
    QCOMPARE(filters, QStringList("Font File(*.ttf *.otf *.woff2)"));
}

void TestWindow::boxFitsTheScreen_data()
{
    QTest::addColumn<int>("lines");   // under the box's first line
    QTest::addColumn<bool>("kitBox"); // with what the box at the end of a kit shows under them
    QTest::newRow("a kit of 72 faces") << 73 << true;
    QTest::newRow("a split of 300 members") << 300 << false;
}

void TestWindow::boxFitsTheScreen()
{
    // The outcome as a kit of a big family gives it: a line for each face,
    // then the kit's own, with the folder, preview and CSS to paste below.
    QFETCH(int, lines);
    QFETCH(bool, kitBox);
    Tessaglyph window;
    window.show();
    const QString kit = dir.filePath("tallBox");
    QDir().mkpath(kit);
    const QString css = FontBuilder::writeFile(kit + "/NotoSans.css", "  font-family: \"Noto Sans\";\n");
    JobOutcome outcome;
    outcome.succeeded = true;
    outcome.box = JobOutcome::Box::Information;
    outcome.title = "Information";
    outcome.text = "Excute successfully!";
    for (int line = 0; line < lines; ++line)
        outcome.summary.append(QStringLiteral("%1/NotoSans-Face%2.css: 1,234,567 bytes, slices: 123, for the face Noto Sans Face %2.").arg(kit).arg(line));
    const QRect screen = window.screen()->availableGeometry();
    QStringList outside;
    QString listed;
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitFor([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); }));
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(QTest::qWaitForWindowExposed(box));
        if (!screen.contains(box->frameGeometry()))
            outside.append("the box");
        for (QPushButton *button : box->findChildren<QPushButton *>()) {
            if (!screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())))
                outside.append(button->text());
        }
        if (auto *list = box->findChild<QPlainTextEdit *>("outcomeLines"))
            listed = list->toPlainText();
        box->button(QMessageBox::Ok)->click();
    });
    showOutcomeBox(&window, outcome, kitBox ? kitBoxWidget(kit, css, QUrl("http://127.0.0.1:1/index.html")) : nullptr);
    QCOMPARE(outside, QStringList());
    // Every line is there, in a list that scrolls.
    QCOMPARE(listed, outcome.summary.join('\n'));
}

void TestWindow::startingFamilyDrawsTheSample_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("text"); // empty: the sample the page starts with
    QTest::newRow("English: the sample is cut from the family shown") << false << QString();
    QTest::newRow("Chinese: the sample is cut from the family shown") << true << QString();
    QTest::newRow("a text no font has: the family shown is named") << false << QString::fromUtf8("\U0010FFFD");
}

void TestWindow::startingFamilyDrawsTheSample()
{
    // "Accept" on a new window, with only an output folder chosen.
    QFETCH(bool, chinese);
    QFETCH(QString, text);
    QTranslator translator;
    if (chinese) {
        QVERIFY(translator.load(QStringLiteral("tessaglyph_zh"), QStringLiteral(TRANSLATIONS_DIR)));
        QCoreApplication::installTranslator(&translator);
    }
    const QString out = dir.filePath(QStringLiteral("sample/") + QTest::currentDataTag());
    QDir().mkpath(out);
    ShownBox shown;
    QString family, caption;
    {
        Tessaglyph window;
        window.show();
        family = child<QFontComboBox>(&window, "fontComboBox")->currentText();
        caption = QCoreApplication::translate("SubsetPreview", "Drawn in the subset %1:").arg(family);
        if (!text.isEmpty())
            child<QTextEdit>(&window, "charactersEdit")->setPlainText(text);
        child<QLineEdit>(&window, "saveFontFileEdit")->setText(out);
        shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
    }
    QCoreApplication::removeTranslator(&translator);
    if (text.isEmpty()) {
        QCOMPARE(shown.icon, QMessageBox::Information);
        QCOMPARE(shown.previewCaption, caption);
        QVERIFY(shown.previewCut); // longer than the preview's first characters
    } else {
        QCOMPARE(shown.icon, QMessageBox::Warning);
        QVERIFY2(shown.text.startsWith("Neither " + family + " nor the default face ")
                         || shown.text.startsWith("The default face " + family + " has none"),
                 qPrintable(shown.text));
    }
}

void TestWindow::secondWeightSplit_data()
{
    using namespace FontBuilder;
    QTest::addColumn<QByteArray>("second"); // split into the folder that holds the first's members
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("kept"); // the second box's line for the first member; empty: it was written
    const QByteArray regular = collection({trueTypeFont("Alpha"), trueTypeFont("Beta")});
    QTest::newRow("another weight: named by its full name")
            << collection({trueTypeFont("Alpha", 1, 700), trueTypeFont("Beta", 1, 700)})
            << QStringList({"Alpha Bold.ttf", "Alpha.ttf", "Beta Bold.ttf", "Beta.ttf"}) << QString();
    QTest::newRow("the same fonts again: kept") << regular << QStringList({"Alpha.ttf", "Beta.ttf"})
                                                << "/Alpha.ttf was kept as it was: a file of that name exists.";
}

void TestWindow::secondWeightSplit()
{
    QFETCH(QByteArray, second);
    QFETCH(QStringList, files);
    QFETCH(QString, kept);
    using namespace FontBuilder;
    const QString folder = dir.filePath(QStringLiteral("weights/") + QTest::currentDataTag());
    QDir().mkpath(folder + "/in");
    const QString first = writeFile(folder + "/in/Regular.ttc", collection({trueTypeFont("Alpha"), trueTypeFont("Beta")}));
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(1);
    child<QLineEdit>(&window, "outputDirEdit")->setText(folder);
    child<QLineEdit>(&window, "ttcFileEdit")->setText(first);
    QVERIFY(pressAndAnswer(child<QPushButton>(&window, "acceptBtn")).text.startsWith("Excute successfully!\n"));
    child<QLineEdit>(&window, "ttcFileEdit")->setText(writeFile(folder + "/in/Second.ttc", second));
    const QStringList lines = pressAndAnswer(child<QPushButton>(&window, "acceptBtn")).text.split('\n');
    QCOMPARE(lines.value(0), QStringLiteral("Excute successfully!"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), files);
    if (kept.isEmpty())
        QVERIFY2(lines.value(1).startsWith(folder + "/Alpha Bold.ttf: "), qPrintable(lines.value(1)));
    else
        QCOMPARE(lines.value(1), folder + kept);
}

void TestWindow::kitOptionsLine_data()
{
    QTest::addColumn<QString>("newFont"); // the font chosen after the options; empty: none
    QTest::addColumn<QString>("line");    // the line under "Options…"
    QTest::newRow("the options in force are shown")
            << QString() << QString::fromUtf8("CSS family: 站点黑体 · language: automatic · font-display: optional");
    QTest::newRow("another font drops the CSS family")
            << kDejaVuSans << "CSS family: the font's own · language: automatic · font-display: optional";
}

void TestWindow::kitOptionsLine()
{
    QFETCH(QString, newFont);
    QFETCH(QString, line);
    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(2);
    auto *optionsLine = child<QLabel>(&window, "webFontOptionsLine");
    QCOMPARE(optionsLine->text(), QStringLiteral("CSS family: the font's own · language: automatic · font-display: swap"));
    QTimer::singleShot(0, [] {
        QVERIFY(QTest::qWaitFor([] { return qobject_cast<KitOptionsDialog *>(QApplication::activeModalWidget()); }));
        auto *dialog = qobject_cast<KitOptionsDialog *>(QApplication::activeModalWidget());
        dialog->findChild<QLineEdit *>("kitCssFamilyEdit")->setText(QString::fromUtf8("站点黑体"));
        dialog->findChild<QComboBox *>("kitFontDisplayBox")->setCurrentText("optional");
        dialog->accept();
    });
    child<QPushButton>(&window, "webFontOptionsBtn")->click();
    if (!newFont.isEmpty()) {
        child<QCheckBox>(&window, "webFontSystemFontCheckBox")->click();
        QTimer::singleShot(0, [&] {
            QVERIFY(QTest::qWaitFor([] { return qobject_cast<QFileDialog *>(QApplication::activeModalWidget()); }));
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            dialog->selectFile(newFont);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        child<QPushButton>(&window, "webFontOpenFileBtn")->click();
        QCOMPARE(child<QLineEdit>(&window, "webFontFileEdit")->text(), newFont);
    }
    QCOMPARE(optionsLine->text(), line);
}

void TestWindow::focusAfterFolderDialog_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("next"); // where the focus is once a folder is chosen
    QTest::newRow("Font Cutting") << 0 << QByteArray("saveFontFileBtn") << QByteArray("charactersEdit");
    QTest::newRow("TTC Font Split") << 1 << QByteArray("outputDirBtn") << QByteArray("acceptBtn");
    QTest::newRow("Web Font") << 2 << QByteArray("webFontOutputBtn") << QByteArray("webFontCharactersEdit");
}

void TestWindow::focusAfterFolderDialog()
{
    // The folder button pressed from the keyboard: once a folder is chosen,
    // Enter goes on to what comes next, not to the dialog again.
    QFETCH(int, tab);
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, next);
    Tessaglyph window;
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(tab);
    QVERIFY(showActive(&window));
    auto *chooser = child<QPushButton>(&window, button);
    chooser->setFocus();
    const QString folder = dir.filePath("chosen");
    QDir().mkpath(folder);
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitFor([] { return qobject_cast<QFileDialog *>(QApplication::activeModalWidget()); }));
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        dialog->setDirectory(folder);
        dialog->selectFile(folder);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::keyClick(chooser, Qt::Key_Space);
    QVERIFY(QTest::qWaitFor([&] { return !QApplication::activeModalWidget(); }));
    QCOMPARE(window.focusWidget(), child<QWidget>(&window, next));
}

void TestWindow::cancelAndLogo()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("man", &catcher, "open");
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
    QDesktopServices::unsetUrlHandler("man");
    QCOMPARE(catcher.opened, QList<QUrl>({QUrl("man:tessaglyph(1)")}));

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

        // A kit's preview page in Chinese, its sample as the text reads.
        const QString kit = dir.filePath("chineseKit");
        QDir().mkpath(kit);
        child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(2);
        child<QCheckBox>(&window, "webFontSystemFontCheckBox")->setChecked(false);
        child<QLineEdit>(&window, "webFontFileEdit")->setText(kDejaVuSans);
        child<QLineEdit>(&window, "webFontOutputEdit")->setText(kit);
        child<QTextEdit>(&window, "webFontCharactersEdit")->setPlainText("Hello, web fonts!");
        QTest::mouseClick(child<QPushButton>(&window, "acceptBtn"), Qt::LeftButton);
        QCOMPARE(answerNextBox().title, QString::fromUtf8("提示"));
        QFile preview(kit + "/DejaVuSans.html");
        QVERIFY(preview.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(preview.readAll());
        QVERIFY(html.contains("<html lang=\"zh-Hans\">") && html.contains(">Hello, web fonts!</textarea>"));
        QVERIFY(html.contains(QString::fromUtf8("这段文字需要取回 %2 个分片中的 %1 个")));
    }
    QCoreApplication::removeTranslator(&translator);
    QDir::setCurrent(previous);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
