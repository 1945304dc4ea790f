#pragma once

#include <QWidget>

#include <atomic>
#include <memory>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QThread;
struct WebFontOutcome;

// The "Web Font" page: a font (an installed family or a .ttf/.otf file) cut
// into a kit of WOFF2 slices with their CSS, in a folder. The kit is made on
// a thread of its own, with a progress bar and a button that cancels it; the
// box at its end offers the folder and the kit's preview page.
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

signals:
    void runningChanged(bool running);

private slots:
    void slotSourceChecked();
    void slotOpenFontFile();
    void slotImportTextFile();
    void slotChooseOutputFolder();
    void slotCancel();

private:
    void jobEnded();

    QCheckBox *systemFontCheckBox;
    QFontComboBox *fontComboBox;
    QLabel *selectFontLabel;
    QLabel *fontFileLabel;
    QLineEdit *fontFileEdit;
    QPushButton *openFontFileBtn;
    QTextEdit *charactersEdit;
    QPushButton *importTextFileBtn;
    QLineEdit *outputFolderEdit;
    QPushButton *outputFolderBtn;
    QProgressBar *progressBar;
    QPushButton *cancelBtn;

    QThread *jobThread = nullptr;
    QString kitFolder;
    std::atomic<bool> cancelRequested{false};
    std::unique_ptr<WebFontOutcome> outcome; // written by the job's thread, read when it has finished
};
