// The "Web Font" page: its fields, the job's thread, its stop, and the box at the end.

#include "WebFontPage.h"

#include "KitBox.h"
#include "OutcomeBox.h"
#include "PageRows.h"
#include "PreviewServer.h"
#include "TextFields.h"
#include "platform/UserFolders.h"
#include "webfont/WebFontJob.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFontComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QThread>

namespace {

// No kit is being made: an empty bar that says so, with nothing of the
// last kit (an empty bar without a text looks like a field to type into).
void showIdle(QProgressBar *bar)
{
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setFormat(WebFontPage::tr("No kit is being made"));
    bar->setTextVisible(true);
}

// "116 of 824 slices", its numbers as the window writes every number (the
// bar's own %v and %m leave out group separators).
void showProgress(QProgressBar *bar, int done, int total)
{
    bar->setRange(0, qMax(total, 1));
    bar->setValue(done);
    bar->setFormat(WebFontPage::tr("%1 of %2 slices").arg(localeNumber(quint64(done)), localeNumber(quint64(total))));
    bar->setTextVisible(true);
}

// Every slice is made; the job now writes the CSS, preview and report,
// puts the slices in place and syncs the folder, which takes a while on a
// big kit.
void showPlacing(QProgressBar *bar, int total)
{
    bar->setRange(0, qMax(total, 1));
    bar->setValue(total);
    bar->setFormat(WebFontPage::tr("Placing the files…"));
    bar->setTextVisible(true);
}

// The options a kit will be made with, on one line under "Options…".
QString optionsLine(const KitOptions &options)
{
    QStringList parts;
    parts.append(WebFontPage::tr("CSS family: %1")
                         .arg(options.cssFamily.isEmpty() ? WebFontPage::tr("the font's own") : options.cssFamily));
    parts.append(WebFontPage::tr("language: %1")
                         .arg(options.language.isEmpty() ? WebFontPage::tr("automatic") : options.language));
    parts.append(WebFontPage::tr("font-display: %1").arg(options.fontDisplay));
    if (options.localSources)
        parts.append(WebFontPage::tr("local() sources"));
    return parts.join(WebFontPage::tr(" · ", "between the options on the line under Options"));
}

} // namespace

WebFontPage::WebFontPage(QWidget *parent) : QWidget(parent)
{
    systemFontCheckBox = new QCheckBox(tr("Select From &System Font"));
    systemFontCheckBox->setChecked(true);
    fontComboBox = familyList();
    selectFontLabel = fieldLabel(tr("Select &Font"), fontComboBox);
    fontFileEdit = new QLineEdit;
    fontFileEdit->setReadOnly(true);
    fontFileLabel = fieldLabel(tr("Select Font Fi&le"), fontFileEdit);
    openFontFileBtn = iconButton(":open.png", tr("Choose a font file"));
    QHBoxLayout *fontFileRow = editRow(fontFileEdit, openFontFileBtn);

    charactersEdit = new QTextEdit;
    charactersEdit->setAcceptRichText(false);
    charactersEdit->setPlaceholderText(tr("Empty: every character of the font"));
    letTabMoveFocus(charactersEdit);
    QLabel *charactersLabel = fieldLabel(tr("Only &these characters"), charactersEdit);
    optionsBtn = new QPushButton(tr("Optio&ns…"));
    optionsBtn->setToolTip(tr("CSS family name, language, local() and font-display"));
    importTextFileBtn = new QPushButton(QIcon(QStringLiteral(":open.png")), tr("I&mport From File"));
    optionsLabel = new QLabel;
    optionsLabel->setWordWrap(true);
    QFont small = optionsLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    optionsLabel->setFont(small);

    outputFolderEdit = new QLineEdit;
    outputFolderEdit->setReadOnly(true);
    QLabel *outputFolderLabel = fieldLabel(tr("&Output Directory"), outputFolderEdit);
    outputFolderBtn = iconButton(":output.png", tr("Choose the output folder"));
    QHBoxLayout *outputFolderRow = editRow(outputFolderEdit, outputFolderBtn);

    progressBar = new QProgressBar;
    progressBar->setAccessibleName(tr("Slices made"));
    showIdle(progressBar);
    stopBtn = new QPushButton(tr("Sto&p"));
    stopBtn->setEnabled(false);
    stopBtn->setToolTip(tr("Stops the kit; none of its files are left"));
    previewBtn = new QPushButton(tr("Pre&view"));
    previewBtn->setEnabled(false);
    previewBtn->setToolTip(tr("Opens the last kit's preview page"));
    QHBoxLayout *progressRow = editRow(progressBar, stopBtn);
    progressRow->addWidget(previewBtn);

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
    grid->addWidget(optionsBtn, 6, 0);
    grid->addWidget(importTextFileBtn, 6, 1);
    grid->addWidget(optionsLabel, 7, 0, 1, 2);
    grid->addLayout(progressRow, 8, 0, 1, 2);
    auto *pageLayout = new QVBoxLayout;
    pageLayout->addLayout(grid);
    addWebLinkRows(pageLayout);
    setLayout(pageLayout);
    // Tab goes down the page as it reads: the fields were made out of that order.
    setTabOrder(fontFileEdit, openFontFileBtn);
    setTabOrder(openFontFileBtn, outputFolderEdit);
    setTabOrder(outputFolderEdit, outputFolderBtn);
    setTabOrder(outputFolderBtn, charactersEdit);
    setTabOrder(charactersEdit, optionsBtn);
    setTabOrder(optionsBtn, importTextFileBtn);
    setTabOrder(importTextFileBtn, stopBtn);
    setTabOrder(stopBtn, previewBtn);
    slotSourceChecked();
    showOptions();

    connect(systemFontCheckBox, &QCheckBox::clicked, this, &WebFontPage::slotSourceChecked);
    connect(openFontFileBtn, &QPushButton::clicked, this, &WebFontPage::slotOpenFontFile);
    connect(importTextFileBtn, &QPushButton::clicked, this, &WebFontPage::slotImportTextFile);
    connect(outputFolderBtn, &QPushButton::clicked, this, &WebFontPage::slotChooseOutputFolder);
    connect(optionsBtn, &QPushButton::clicked, this, &WebFontPage::slotOptions);
    connect(stopBtn, &QPushButton::clicked, this, &WebFontPage::slotStop);
    connect(previewBtn, &QPushButton::clicked, this, &WebFontPage::slotPreview);
    // The CSS family names one font: another font starts from its own.
    connect(systemFontCheckBox, &QCheckBox::toggled, this, &WebFontPage::fontChanged);
    connect(fontComboBox, &QFontComboBox::currentTextChanged, this, &WebFontPage::fontChanged);
    connect(fontFileEdit, &QLineEdit::textChanged, this, &WebFontPage::fontChanged);

    // Names for tests and accessibility tools.
    systemFontCheckBox->setObjectName(QStringLiteral("webFontSystemFontCheckBox"));
    fontComboBox->setObjectName(QStringLiteral("webFontComboBox"));
    fontFileEdit->setObjectName(QStringLiteral("webFontFileEdit"));
    openFontFileBtn->setObjectName(QStringLiteral("webFontOpenFileBtn"));
    charactersEdit->setObjectName(QStringLiteral("webFontCharactersEdit"));
    optionsBtn->setObjectName(QStringLiteral("webFontOptionsBtn"));
    importTextFileBtn->setObjectName(QStringLiteral("webFontImportTextFileBtn"));
    outputFolderEdit->setObjectName(QStringLiteral("webFontOutputEdit"));
    outputFolderBtn->setObjectName(QStringLiteral("webFontOutputBtn"));
    progressBar->setObjectName(QStringLiteral("webFontProgressBar"));
    stopBtn->setObjectName(QStringLiteral("webFontStopBtn"));
    previewBtn->setObjectName(QStringLiteral("webFontPreviewBtn"));
    optionsLabel->setObjectName(QStringLiteral("webFontOptionsLine"));
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
    const QString path = chooseFontFile(this);
    if (!path.isEmpty()) {
        fontFileEdit->setText(path);
        moveFocusOn(openFontFileBtn);
    }
}

void WebFontPage::slotImportTextFile()
{
    importTextFile(this, charactersEdit);
}

void WebFontPage::slotChooseOutputFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Output Directory"), QDir::currentPath(),
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) {
        outputFolderEdit->setText(folder);
        moveFocusOn(outputFolderBtn);
    }
}

void WebFontPage::slotOptions()
{
    KitOptionsDialog dialog(options, this);
    if (dialog.exec() == QDialog::Accepted) {
        options = dialog.options();
        showOptions();
    }
}

void WebFontPage::fontChanged()
{
    if (options.cssFamily.isEmpty())
        return;
    options.cssFamily.clear();
    showOptions();
}

void WebFontPage::showOptions()
{
    optionsLabel->setText(optionsLine(options));
}

QWidget *WebFontPage::previewButton() const
{
    return previewBtn;
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
    // A box of blanks (spaces, tabs, line breaks) looks empty, and means
    // what an empty one means: every character of the font.
    const QString text = textAsTyped(charactersEdit->document());
    if (!text.trimmed().isEmpty())
        request.characters = keepListFromText(text);
    request.cssFamily = options.cssFamily;
    request.language = options.language;
    request.localSources = options.localSources;
    request.fontDisplay = options.fontDisplay;
    request.cacheFolder = perUserCacheFolder();

    cancelRequested = false;
    kitFolder = request.outputFolder; // the field may change while the kit is made
    outcome = std::make_unique<WebFontOutcome>();
    // Nothing of the last job stays on the bar; it is busy until the first
    // slice is made: faces are read and planned first.
    showIdle(progressBar);
    progressBar->setRange(0, 0);
    // The job reports from its own thread; the bar is moved on this one.
    const auto progress = [this](const WebFontProgress &step) {
        QMetaObject::invokeMethod(
                this,
                [this, step] {
                    if (!jobThread || cancelRequested)
                        return;
                    if (step.total > 0 && step.done == step.total)
                        showPlacing(progressBar, step.total);
                    else
                        showProgress(progressBar, step.done, step.total);
                },
                Qt::QueuedConnection);
    };
    WebFontOutcome *result = outcome.get();
    jobThread = QThread::create([request, progress, result, this] {
        *result = runWebFontJob(request, progress, &cancelRequested);
    });
    connect(jobThread, &QThread::finished, this, &WebFontPage::jobEnded);
    stopBtn->setEnabled(true);
    optionsBtn->setEnabled(false); // the options of the kit being made
    emit runningChanged(true);
    jobThread->start();
}

void WebFontPage::slotStop()
{
    cancelRequested = true;
    stopBtn->setEnabled(false);
    progressBar->setFormat(tr("Stopping…"));
    progressBar->setTextVisible(true);
}

void WebFontPage::cancelAndWait()
{
    if (!jobThread)
        return;
    cancelRequested = true;
    disconnect(jobThread, nullptr, this, nullptr);
    // The job stops between slices, and removes what it made.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    jobThread->wait();
    QApplication::restoreOverrideCursor();
    delete jobThread;
    jobThread = nullptr;
    outcome.reset();
    stopBtn->setEnabled(false);
    optionsBtn->setEnabled(true);
    showIdle(progressBar);
    emit runningChanged(false);
}

bool WebFontPage::stopBeforeClosing()
{
    if (askingToClose)
        return false; // closed again while the question is open: it answers
    if (!isRunning() || cancelRequested)
        return true; // a kit that was told to stop is stopped on the way out
    QMessageBox question(QMessageBox::Question, tr("Stop the Kit?"),
                         progressBar->maximum() > 0
                                 ? tr("A web-font kit is being made: %1 of %2 slices. Stop it and close the window? "
                                      "None of its files are left in the folder.")
                                           .arg(localeNumber(quint64(progressBar->value())),
                                                localeNumber(quint64(progressBar->maximum())))
                                 : tr("A web-font kit is being made. Stop it and close the window? None of its files "
                                      "are left in the folder."),
                         QMessageBox::NoButton, this);
    QPushButton *stopAndClose = question.addButton(tr("S&top and Close"), QMessageBox::AcceptRole);
    QPushButton *goOn = question.addButton(tr("&Continue"), QMessageBox::RejectRole);
    question.setDefaultButton(goOn);
    question.setEscapeButton(goOn);
    stopAndClose->setObjectName(QStringLiteral("stopAndCloseBtn"));
    goOn->setObjectName(QStringLiteral("continueBtn"));
    askingToClose = true;
    question.exec();
    askingToClose = false;
    const bool stop = question.clickedButton() == stopAndClose;
    if (endedWhileAsking) {
        // Ended before it could be stopped: its box says what it made, or
        // why it failed, before the window closes.
        endedWhileAsking = false;
        jobEnded();
    } else if (stop) {
        cancelAndWait();
    }
    return stop;
}

void WebFontPage::jobEnded()
{
    if (!jobThread)
        return;
    if (askingToClose) {
        endedWhileAsking = true;
        return;
    }
    jobThread->deleteLater();
    jobThread = nullptr;
    stopBtn->setEnabled(false);
    optionsBtn->setEnabled(true);
    emit runningChanged(false);
    const std::unique_ptr<WebFontOutcome> ended = std::move(outcome);
    showOutcome(*ended);
}

void WebFontPage::showOutcome(const WebFontOutcome &ended)
{
    JobOutcome shown = ended.job;
    QWidget *kitWidget = nullptr;
    if (!shown.succeeded || ended.cancelled)
        showIdle(progressBar); // only a kit that was made keeps its count
    if (shown.succeeded && !ended.cancelled) {
        showProgress(progressBar, ended.sliceCount, ended.sliceCount);
        // Under the job's line for each face, the kit as a whole.
        shown.summary.append(tr("%1: %2 bytes in all, slices: %3.")
                                     .arg(QDir::toNativeSeparators(kitFolder), localeNumber(ended.totalBytes),
                                          localeNumber(quint64(ended.sliceCount))));
        // This kit's preview takes the place of the last one's.
        previewServer = std::make_unique<PreviewServer>(kitFolder, ended.kitFiles);
        const QString page = QDir(kitFolder).relativeFilePath(ended.previewPath);
        lastPreview = ended.previewPath.isEmpty() ? QUrl() : previewServer->address(page);
        previewBtn->setEnabled(lastPreview.isValid());
        previewBtn->setToolTip(lastPreview.isValid() ? lastPreview.toString() : tr("Opens the last kit's preview page"));
        kitWidget = kitBoxWidget(kitFolder, ended.cssPath, lastPreview);
    }
    showOutcomeBox(this, shown, kitWidget);
}

void WebFontPage::slotPreview()
{
    if (lastPreview.isValid())
        openKitPreview(this, lastPreview);
}
