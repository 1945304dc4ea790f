#pragma once

#include "KitOptionsDialog.h"

#include <QUrl>
#include <QWidget>

#include <atomic>
#include <memory>

class PreviewServer;
class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QThread;
struct WebFontOutcome;

// The "Web Font" page: a font (an installed family or a .ttf/.otf/.woff2
// file) cut into a kit of WOFF2 slices with their CSS, in a folder, with the
// options of its dialog, shown on a line under its button. The kit is made
// on a thread of its own, with a progress bar and "Stop"; the box at its end
// offers the folder, the kit's preview page and the CSS to paste. The last
// kit's preview stays served, and "Preview" opens it again, for as long as
// the page exists.
class WebFontPage : public QWidget
{
    Q_OBJECT

public:
    explicit WebFontPage(QWidget *parent = nullptr);
    ~WebFontPage() override;

    // Starts a kit from the fields, or says why it cannot start.
    void start();
    bool isRunning() const;
    // Asks a running job to stop, and waits until it has cleaned up.
    void cancelAndWait();
    // Before the window closes: while a kit is being made, asks whether to
    // stop it, and stops it when told to. False: the window stays open and
    // the kit goes on.
    bool stopBeforeClosing();

    // Where the last kit's preview page is served; invalid before one.
    QUrl previewAddress() const { return lastPreview; }
    // "Preview", which Tab reaches after the window's own buttons: once
    // enabled, it must not stand between the page's fields and "Accept".
    QWidget *previewButton() const;

signals:
    void runningChanged(bool running);

private slots:
    void slotSourceChecked();
    void slotOpenFontFile();
    void slotImportTextFile();
    void slotChooseOutputFolder();
    void slotOptions();
    void slotStop();
    void slotPreview();

private:
    void fontChanged();
    void showOptions();
    void jobEnded();
    void showOutcome(const WebFontOutcome &ended);

    QCheckBox *systemFontCheckBox;
    QFontComboBox *fontComboBox;
    QLabel *selectFontLabel;
    QLabel *fontFileLabel;
    QLineEdit *fontFileEdit;
    QPushButton *openFontFileBtn;
    QTextEdit *charactersEdit;
    QPushButton *optionsBtn;
    QPushButton *importTextFileBtn;
    QLabel *optionsLabel;
    QLineEdit *outputFolderEdit;
    QPushButton *outputFolderBtn;
    QProgressBar *progressBar;
    QPushButton *stopBtn;
    QPushButton *previewBtn;

    KitOptions options;
    QThread *jobThread = nullptr;
    QString kitFolder;
    std::atomic<bool> cancelRequested{false};
    std::unique_ptr<WebFontOutcome> outcome; // written by the job's thread, read when it has finished
    bool askingToClose = false; // the question is open: a kit that ends meanwhile is shown after it
    bool endedWhileAsking = false;
    std::unique_ptr<PreviewServer> previewServer; // the last kit's
    QUrl lastPreview;
};
