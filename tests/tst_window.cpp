// The window on the offscreen platform: initial state, the check box, every
// check of "Accept" with the one message it shows, jobs run from the window,
// "Cancel", the logo link and the Chinese translation.

#include "support/FontBuilder.h"

#include "ui/LabelLink.h"
#include "ui/Tessaglyph.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFontComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

struct ShownBox
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    int count = 0;
};

// Presses the button and answers every message box it opens, recording them.
ShownBox pressAndAnswer(QAbstractButton *button)
{
    ShownBox shown;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = {box->icon(), box->windowTitle(), box->text(), shown.count + 1};
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start();
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::qWait(30); // a second box would show up here
    return shown;
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
    template <typename T>
    static T *child(QWidget *window, const char *name)
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

private slots:
    void initialState();
    void checkBoxSwitchesRows();
    void acceptChecks_data();
    void acceptChecks();
    void jobsFromTheWindow();
    void cancelClosesTheWindow();
    void logoOpensTheWebPage();
    void chineseTranslation();
};

void TestWindow::initialState()
{
    Tessaglyph window;
    window.show();
    QCOMPARE(window.size(), QSize(400, 550));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessaglyph"));

    auto *tabs = child<QTabWidget>(&window, "tabWidget");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Font Cutting"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("TTC Font Split"));
    auto *accept = child<QPushButton>(&window, "acceptBtn");
    auto *cancel = child<QPushButton>(&window, "cancelBtn");
    QCOMPARE(accept->text(), QStringLiteral("Accept"));
    QVERIFY(accept->geometry().right() < cancel->geometry().left());

    QVERIFY(child<QCheckBox>(&window, "systemFontCheckBox")->isChecked());
    QVERIFY(child<QLabel>(&window, "selectFontLabel")->isEnabled());
    QVERIFY(child<QFontComboBox>(&window, "fontComboBox")->isEnabled());
    QVERIFY(!child<QLabel>(&window, "fontFileLabel")->isEnabled());
    QVERIFY(!child<QLineEdit>(&window, "fontFileEdit")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "openFontFileBtn")->isEnabled());
    for (const char *name : {"fontFileEdit", "saveFontFileEdit", "ttcFileEdit", "outputDirEdit"})
        QVERIFY(child<QLineEdit>(&window, name)->isReadOnly());
    QVERIFY(child<QLineEdit>(&window, "saveFontFileEdit")->text().isEmpty());
    QCOMPARE(child<QTextEdit>(&window, "charactersEdit")->toPlainText(), QString::fromUtf8("字体裁剪工具让中文网页更轻快"));

    QVERIFY(child<QLineEdit>(&window, "ttcFileEdit")->text().isEmpty());
    QCOMPARE(child<QLineEdit>(&window, "outputDirEdit")->text(), QDir::currentPath());
    QVERIFY(child<QPushButton>(&window, "openTtcFileBtn")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "outputDirBtn")->isEnabled());
    QVERIFY(!child<QPushButton>(&window, "openTtcFileBtn")->icon().pixmap(16).isNull());
}

void TestWindow::checkBoxSwitchesRows()
{
    Tessaglyph window;
    window.show();
    auto *box = child<QCheckBox>(&window, "systemFontCheckBox");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QVERIFY(!box->isChecked());
    QVERIFY(!child<QFontComboBox>(&window, "fontComboBox")->isEnabled());
    QVERIFY(!child<QLabel>(&window, "selectFontLabel")->isEnabled());
    QVERIFY(child<QLineEdit>(&window, "fontFileEdit")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "openFontFileBtn")->isEnabled());
    child<QLineEdit>(&window, "fontFileEdit")->setText("/some/font.ttf");

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QVERIFY(box->isChecked());
    QVERIFY(child<QFontComboBox>(&window, "fontComboBox")->isEnabled());
    QVERIFY(!child<QLineEdit>(&window, "fontFileEdit")->isEnabled());
    QCOMPARE(child<QLineEdit>(&window, "fontFileEdit")->text(), QStringLiteral("/some/font.ttf"));
    QVERIFY(child<QPushButton>(&window, "saveFontFileBtn")->isEnabled());
    QVERIFY(child<QPushButton>(&window, "importTextFileBtn")->isEnabled());
}

void TestWindow::acceptChecks_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("fromSystem");
    QTest::addColumn<QString>("fontFile");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("ttcFile");
    QTest::addColumn<QString>("outputDir");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    const int warning = QMessageBox::Warning, information = QMessageBox::Information;
    const QString out = QDir::tempPath();
    QTest::newRow("1: empty output, system font") << 0 << true << "x.otf" << "" << "" << "" << warning << "Warning!"
                                                  << "The output file path cannot be empty!";
    QTest::newRow("1: empty output, font file") << 0 << false << "" << "" << "" << "" << warning << "Warning!"
                                                << "The output file path cannot be empty!";
    QTest::newRow("2: empty font file") << 0 << false << "" << out << "" << "" << warning << "Warning!"
                                        << "The file path cannot be empty!";
    QTest::newRow("3: not .ttf") << 0 << false << "/x/font.otf" << out << "" << "" << warning << "Warning!"
                                 << "The file is not a valid ttf font file!";
    QTest::newRow("3: unreadable .TTF") << 0 << false << "/no/such/font.TTF" << out << "" << "" << warning
                                        << "Warning!" << "The file is not a valid ttf font file!";
    QTest::newRow("4: empty collection") << 1 << true << "" << "" << "" << out << information << "Information"
                                         << "The path cannot be empty!";
    QTest::newRow("4: empty output folder") << 1 << true << "" << "" << "/x/a.ttc" << "" << information
                                            << "Information" << "The path cannot be empty!";
    QTest::newRow("split of a file that is no collection")
            << 1 << true << "" << "" << kDejaVuSans.left(kDejaVuSans.size() - 1) + "c" << out << warning << "Warning!"
            << "The collection " + kDejaVuSans.left(kDejaVuSans.size() - 1)
                    + "c could not be split: it is not a valid TrueType collection, or one of its members is damaged.";
}

void TestWindow::acceptChecks()
{
    QFETCH(int, tab);
    QFETCH(bool, fromSystem);
    QFETCH(QString, fontFile);
    QFETCH(QString, output);
    QFETCH(QString, ttcFile);
    QFETCH(QString, outputDir);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, text);

    Tessaglyph window;
    window.show();
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(tab);
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(fromSystem);
    child<QLineEdit>(&window, "fontFileEdit")->setText(fontFile);
    child<QLineEdit>(&window, "saveFontFileEdit")->setText(output);
    child<QLineEdit>(&window, "ttcFileEdit")->setText(ttcFile);
    child<QLineEdit>(&window, "outputDirEdit")->setText(outputDir);

    const ShownBox shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
    QCOMPARE(shown.count, 1);
    QCOMPARE(int(shown.icon), icon);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.text, text);
}

void TestWindow::jobsFromTheWindow()
{
    Tessaglyph window;
    window.show();
    const QString out = dir.filePath("subset");
    QDir().mkpath(out);

    // A .ttf file: out/<its base name>.ttf
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(false);
    child<QLineEdit>(&window, "fontFileEdit")->setText(kDejaVuSans);
    child<QLineEdit>(&window, "saveFontFileEdit")->setText(out);
    child<QTextEdit>(&window, "charactersEdit")->setPlainText("Hello");
    ShownBox shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
    QCOMPARE(shown.text, QStringLiteral("Excute successfully!"));
    QCOMPARE(int(shown.icon), int(QMessageBox::Information));
    QVERIFY(QFileInfo(out + "/DejaVuSans.ttf").size() > 0);

    // An installed family: out/<family>.ttf
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(true);
    auto *families = child<QFontComboBox>(&window, "fontComboBox");
    families->setCurrentFont(QFont("DejaVu Sans"));
    const QString family = families->currentFont().family();
    shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
    QCOMPARE(shown.text, QStringLiteral("Excute successfully!"));
    QVERIFY(QFileInfo::exists(out + "/" + family + ".ttf"));

    // A collection split into its members.
    const QString split = dir.filePath("split");
    QDir().mkpath(split);
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(1);
    child<QLineEdit>(&window, "ttcFileEdit")->setText("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    child<QLineEdit>(&window, "outputDirEdit")->setText(split);
    shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
    QCOMPARE(shown.text, QStringLiteral("Excute successfully!"));
    QCOMPARE(QDir(split).entryList(QDir::Files), QStringList({"文泉驿微米黑.ttf", "文泉驿等宽微米黑.ttf"}));

    // An output folder that would receive the subset over its own source.
    child<QTabWidget>(&window, "tabWidget")->setCurrentIndex(0);
    child<QCheckBox>(&window, "systemFontCheckBox")->setChecked(false);
    child<QLineEdit>(&window, "fontFileEdit")->setText(out + "/DejaVuSans.ttf");
    shown = pressAndAnswer(child<QPushButton>(&window, "acceptBtn"));
    QCOMPARE(int(shown.icon), int(QMessageBox::Warning));
    QVERIFY(shown.text.contains("would replace the font it is made from"));
}

void TestWindow::cancelClosesTheWindow()
{
    Tessaglyph window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(child<QPushButton>(&window, "cancelBtn"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

void TestWindow::logoOpensTheWebPage()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    Tessaglyph window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<LabelLink *> logos = window.findChildren<LabelLink *>();
    QCOMPARE(logos.size(), 2);
    LabelLink *logo = logos.first()->isVisible() ? logos.first() : logos.last();
    QVERIFY(!logo->pixmap().isNull()); // set by the first resize
    QCOMPARE(logo->pixmap().size(), QSize(108, 39));
    QTest::mouseMove(logo, QPoint(10, 10));
    QCOMPARE(logo->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(logo, Qt::RightButton);
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(catcher.opened, QList<QUrl>({QUrl("https://tessaglyph.example/")}));
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
        QCOMPARE(child<QPushButton>(&window, "acceptBtn")->text(), QString::fromUtf8("确定"));
        QCOMPARE(child<QCheckBox>(&window, "systemFontCheckBox")->text(), QString::fromUtf8("从系统字体中选择"));
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
