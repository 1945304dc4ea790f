#include "Tessaglyph.h"

#include "PageRows.h"
#include "WebFontPage.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

Tessaglyph::Tessaglyph(QWidget *parent) : QMainWindow(parent)
{
    // fontSubsetter is built first, as the last member; it builds its
    // catalogue and reads the default face when a job first needs them.
    QWidget *centralWidget = new QWidget;
    tabWidget = new QTabWidget;
    fontCuttingPage = createFontCuttingPage();
    ttcSplitPage = createTtcSplitPage();
    tabWidget->addTab(fontCuttingPage, tr("Font Cutting"));
    tabWidget->addTab(ttcSplitPage, tr("TTC Font Split"));
    webFontPage = new WebFontPage;
    tabWidget->addTab(webFontPage, tr("Web Font"));

    QVBoxLayout *tabLayout = new QVBoxLayout;
    tabLayout->addWidget(tabWidget);

    acceptBtn = new QPushButton(tr("Accept"));
    acceptBtn->setDefault(true);
    cancelBtn = new QPushButton(tr("Cancel"));
    cancelBtn->setToolTip(tr("Closes the window"));
    // While a kit is being made, "Accept" waits on every page; the other
    // pages say why (the Web Font page's bar says it already).
    kitRunningLabel = new QLabel(tr("Accept waits for the web-font kit."));
    kitRunningLabel->setWordWrap(true);
    kitRunningLabel->hide();
    QHBoxLayout *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(kitRunningLabel, 1);
    buttonRow->addStretch();
    buttonRow->addWidget(acceptBtn);
    buttonRow->addWidget(cancelBtn);

    QVBoxLayout *outerLayout = new QVBoxLayout;
    outerLayout->addLayout(tabLayout);
    outerLayout->addLayout(buttonRow);
    centralWidget->setLayout(outerLayout);
    setCentralWidget(centralWidget);

    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    connect(acceptBtn, SIGNAL(clicked()), this, SLOT(slotAcceptBtnClicked()));
    connect(cancelBtn, SIGNAL(clicked()), this, SLOT(close()));
    // One kit at a time: "Accept" waits while one is being made.
    connect(webFontPage, &WebFontPage::runningChanged, this, &Tessaglyph::showKitRunning);
    connect(tabWidget, &QTabWidget::currentChanged, this, &Tessaglyph::showKitRunning);
    // Tab reaches "Preview" after the window's buttons, so that once a kit
    // has made it usable, Tab from the page's last field still leads to "Accept".
    setTabOrder(cancelBtn, webFontPage->previewButton());
    setFixedSize(400, 550);
    setWindowTitle(tr("Tessaglyph"));

    // Names for tests and accessibility tools.
    tabWidget->setObjectName(QStringLiteral("tabWidget"));
    acceptBtn->setObjectName(QStringLiteral("acceptBtn"));
    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    kitRunningLabel->setObjectName(QStringLiteral("kitRunningLabel"));
    webFontPage->setObjectName(QStringLiteral("webFontPage"));
    nameButtonsWithoutMnemonics(this);
}

void Tessaglyph::showKitRunning()
{
    const bool running = webFontPage->isRunning();
    acceptBtn->setEnabled(!running);
    acceptBtn->setToolTip(running ? kitRunningLabel->text() : QString());
    kitRunningLabel->setVisible(running && tabWidget->currentWidget() != static_cast<QWidget *>(webFontPage));
}

void Tessaglyph::closeEvent(QCloseEvent *event)
{
    if (!webFontPage->stopBeforeClosing()) {
        event->ignore();
        return;
    }
    webFontPage->cancelAndWait();
    QMainWindow::closeEvent(event);
}

void Tessaglyph::keyPressEvent(QKeyEvent *event)
{
    // Fields that take Enter (the text boxes, a family typed into the list)
    // have used it by now; a push button outside a dialog does not take it.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    auto *focused = qobject_cast<QPushButton *>(focusWidget());
    QPushButton *pressed = focused && focused->isEnabled() ? focused : acceptBtn;
    if (pressed->isEnabled())
        pressed->click();
}
