// The "Web Font" page: its fields, the job's thread, and the box at the end.

#include "WebFontPage.h"

#include "OutcomeBox.h"
#include "PageRows.h"
#include "PreviewServer.h"
#include "TextFields.h"
#include "webfont/WebFontJob.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QThread>
#include <QUrl>

namespace {

// What the box at the end offers: the folder, and the kit's preview page
// served from it for as long as the box is open.
QWidget *kitButtons(const WebFontOutcome &outcome, const QString &folder)
{
    auto *widget = new QWidget;
    auto *server = new PreviewServer(folder, outcome.kitFiles, widget);
    auto *openFolderBtn = new QPushButton(WebFontPage::tr("Open Folder"));
    auto *openPreviewBtn = new QPushButton(WebFontPage::tr("Open Preview"));
    openFolderBtn->setObjectName(QStringLiteral("openKitFolderBtn"));
    openPreviewBtn->setObjectName(QStringLiteral("openKitPreviewBtn"));
    const QString page = QDir(folder).relativeFilePath(outcome.previewPath);
    const QUrl previewAddress = server->address(page);
    openPreviewBtn->setEnabled(previewAddress.isValid() && !outcome.previewPath.isEmpty());

    auto *note = new QLabel;
    note->setObjectName(QStringLiteral("kitPreviewNote"));
    note->setWordWrap(true);
    note->setTextFormat(Qt::RichText);
    note->setTextInteractionFlags(Qt::TextBrowserInteraction);
    note->setOpenExternalLinks(true);
    if (openPreviewBtn->isEnabled()) {
        const QString address = previewAddress.toString();
        note->setText(WebFontPage::tr("The preview page is served at %1 while this box is open.")
                              .arg(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped())));
    } else {
        note->setText(WebFontPage::tr("The preview page cannot be served: no local port could be opened."));
    }

    // Opened by the desktop's file manager and browser; when none is set up,
    // the user is told rather than left waiting.
    const auto open = [widget](const QUrl &url) {
        if (!QDesktopServices::openUrl(url))
            QMessageBox::warning(widget, WebFontPage::tr("Warning!"),
                                 WebFontPage::tr("No program could open %1.").arg(url.toDisplayString()),
                                 QMessageBox::Ok, QMessageBox::NoButton);
    };
    QObject::connect(openFolderBtn, &QPushButton::clicked, widget,
                     [open, folder] { open(QUrl::fromLocalFile(folder)); });
    QObject::connect(openPreviewBtn, &QPushButton::clicked, widget, [open, previewAddress] { open(previewAddress); });

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(openFolderBtn);
    buttonRow->addWidget(openPreviewBtn);
    buttonRow->addStretch();
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(note);
    layout->addLayout(buttonRow);
    widget->setLayout(layout);
    return widget;
}

// No kit is being made: an empty bar, without "0 of 1 slices".
void showIdle(QProgressBar *bar)
{
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setTextVisible(false);
}

} // namespace

WebFontPage::WebFontPage(QWidget *parent) : QWidget(parent)
{
    systemFontCheckBox = new QCheckBox(tr("Select From System Font"));
    systemFontCheckBox->setChecked(true);
    selectFontLabel = new QLabel(tr("Select Font"));
    fontComboBox = new QFontComboBox;
    fontFileLabel = new QLabel(tr("Select Font File"));
    fontFileEdit = new QLineEdit;
    fontFileEdit->setReadOnly(true);
    openFontFileBtn = new QPushButton(QIcon(QStringLiteral(":open.png")), QString());
    QHBoxLayout *fontFileRow = editRow(fontFileEdit, openFontFileBtn);

    QLabel *charactersLabel = new QLabel(tr("Only these characters"));
    charactersEdit = new QTextEdit;
    charactersEdit->setAcceptRichText(false);
    charactersEdit->setPlaceholderText(tr("Empty: every character of the font"));
    importTextFileBtn = new QPushButton(QIcon(QStringLiteral(":open.png")), tr("Import From File"));

    QLabel *outputFolderLabel = new QLabel(tr("Output Directory"));
    outputFolderEdit = new QLineEdit;
    outputFolderEdit->setReadOnly(true);
    outputFolderBtn = new QPushButton(QIcon(QStringLiteral(":output.png")), QString());
    QHBoxLayout *outputFolderRow = editRow(outputFolderEdit, outputFolderBtn);

    progressBar = new QProgressBar;
    progressBar->setFormat(tr("%v of %m slices"));
    showIdle(progressBar);
    cancelBtn = new QPushButton(tr("Cancel"));
    cancelBtn->setEnabled(false);
    QHBoxLayout *progressRow = editRow(progressBar, cancelBtn);

    auto *grid = new QGridLayout;
    grid->addWidget(systemFontCheckBox, 0, 0, 1, 2);
    grid->addWidget(selectFontLabel, 1, 0);
    grid->addWidget(fontComboBox, 1, 1);
    grid->addWidget(fontFileLabel, 2, 0);
    grid->addLayout(fontFileRow, 2, 1);
    grid->addWidget(outputFolderLabel, 3, 0);
    grid->addLayout(outputFolderRow, 3, 1);
    grid->addWidget(charactersLabel, 4, 0, 1, 2);
    grid->addWidget(charactersEdit, 5, 0, 1, 2);
    grid->addWidget(importTextFileBtn, 6, 1);
    grid->addLayout(progressRow, 7, 0, 1, 2);
    auto *pageLayout = new QVBoxLayout;
    pageLayout->addLayout(grid);
    addWebLinkRows(pageLayout);
    setLayout(pageLayout);
    slotSourceChecked();

    connect(systemFontCheckBox, &QCheckBox::clicked, this, &WebFontPage::slotSourceChecked);
    connect(openFontFileBtn, &QPushButton::clicked, this, &WebFontPage::slotOpenFontFile);
    connect(importTextFileBtn, &QPushButton::clicked, this, &WebFontPage::slotImportTextFile);
    connect(outputFolderBtn, &QPushButton::clicked, this, &WebFontPage::slotChooseOutputFolder);
    connect(cancelBtn, &QPushButton::clicked, this, &WebFontPage::slotCancel);

    // Names for tests and accessibility tools.
    systemFontCheckBox->setObjectName(QStringLiteral("webFontSystemFontCheckBox"));
    fontComboBox->setObjectName(QStringLiteral("webFontComboBox"));
    fontFileEdit->setObjectName(QStringLiteral("webFontFileEdit"));
    openFontFileBtn->setObjectName(QStringLiteral("webFontOpenFileBtn"));
    charactersEdit->setObjectName(QStringLiteral("webFontCharactersEdit"));
    importTextFileBtn->setObjectName(QStringLiteral("webFontImportTextFileBtn"));
    outputFolderEdit->setObjectName(QStringLiteral("webFontOutputEdit"));
    outputFolderBtn->setObjectName(QStringLiteral("webFontOutputBtn"));
    progressBar->setObjectName(QStringLiteral("webFontProgressBar"));
    cancelBtn->setObjectName(QStringLiteral("webFontCancelBtn"));
}

WebFontPage::~WebFontPage()
{
    cancelAndWait();
}

void WebFontPage::slotSourceChecked()
{
    enableSourceRows(systemFontCheckBox->isChecked(), {selectFontLabel, fontComboBox},
                     {fontFileLabel, fontFileEdit, openFontFileBtn});
}

void WebFontPage::slotOpenFontFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Select File"), QStringLiteral("/usr/share/fonts"),
                                                      tr("Font File(*.ttf *.otf *.woff2)"));
    if (!path.isEmpty())
        fontFileEdit->setText(path);
}

void WebFontPage::slotImportTextFile()
{
    importTextFile(this, charactersEdit);
}

void WebFontPage::slotChooseOutputFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Output Directory"), QDir::currentPath(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        outputFolderEdit->setText(folder);
}

bool WebFontPage::isRunning() const
{
    return jobThread != nullptr;
}

void WebFontPage::start()
{
    if (isRunning())
        return;
    WebFontRequest request;
    request.outputFolder = outputFolderEdit->text();
    // The family as the list shows it: at start, currentFont() is the
    // application's font, whose family may be an alias ("Sans Serif") that
    // the list shows under the name of the family it resolves to.
    if (systemFontCheckBox->isChecked())
        request.family = fontComboBox->currentText();
    else
        request.fontPath = fontFileEdit->text();
    QString refusal;
    if (request.outputFolder.isEmpty())
        refusal = tr("The output folder cannot be empty!");
    else if (!systemFontCheckBox->isChecked() && request.fontPath.isEmpty())
        refusal = tr("The font file cannot be empty!");
    if (!refusal.isEmpty()) {
        QMessageBox::warning(this, tr("Warning!"), refusal, QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    request.characters = keepListFromText(textAsTyped(charactersEdit->document()));

    cancelRequested = false;
    kitFolder = request.outputFolder; // the field may change while the kit is made
    outcome = std::make_unique<WebFontOutcome>();
    // Busy until the first slice is made: faces are read and planned first.
    progressBar->setRange(0, 0);
    // The job reports from its own thread; the bar is moved on this one.
    const auto progress = [this](const WebFontProgress &step) {
        QMetaObject::invokeMethod(
                this,
                [this, step] {
                    progressBar->setRange(0, qMax(step.total, 1));
                    progressBar->setValue(step.done);
                    progressBar->setTextVisible(true);
                },
                Qt::QueuedConnection);
    };
    WebFontOutcome *result = outcome.get();
    jobThread = QThread::create([request, progress, result, this] {
        *result = runWebFontJob(request, progress, &cancelRequested);
    });
    connect(jobThread, &QThread::finished, this, &WebFontPage::jobEnded);
    cancelBtn->setEnabled(true);
    emit runningChanged(true);
    jobThread->start();
}

void WebFontPage::slotCancel()
{
    cancelRequested = true;
    cancelBtn->setEnabled(false);
}

void WebFontPage::cancelAndWait()
{
    if (!jobThread)
        return;
    cancelRequested = true;
    disconnect(jobThread, nullptr, this, nullptr);
    jobThread->wait();
    delete jobThread;
    jobThread = nullptr;
}

void WebFontPage::jobEnded()
{
    if (!jobThread)
        return;
    jobThread->deleteLater();
    jobThread = nullptr;
    cancelBtn->setEnabled(false);
    emit runningChanged(false);

    const std::unique_ptr<WebFontOutcome> ended = std::move(outcome);
    JobOutcome shown = ended->job;
    QWidget *buttons = nullptr;
    if (progressBar->maximum() == 0)
        showIdle(progressBar); // ended before its first slice
    if (shown.succeeded && !ended->cancelled) {
        progressBar->setValue(progressBar->maximum());
        // Under the job's line for each face, the kit as a whole.
        shown.summary.append(tr("%1: %2 bytes in all, slices: %3.")
                                            .arg(QDir::toNativeSeparators(kitFolder),
                                                 QLocale().toString(ended->totalBytes),
                                                 QLocale().toString(ended->sliceCount)));
        buttons = kitButtons(*ended, kitFolder);
    }
    showOutcomeBox(this, shown, buttons);
}
