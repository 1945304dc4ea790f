#pragma once

#include "engine/FontSubsetter.h"

#include <QMainWindow>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;
class WebFontPage;

// The main window: the "Font Cutting", "TTC Font Split" and "Web Font" pages
// above "Accept" and "Cancel". It reads its widgets, hands the jobs to the engine
// and shows their outcome. "Cancel" closes the window, as closing it does.
class Tessaglyph : public QMainWindow
{
    Q_OBJECT

public:
    explicit Tessaglyph(QWidget *parent = nullptr);

protected slots:
    void slotDefulatFontChecked();
    void slotOpenFontFile();
    void slotSaveFontFile();
    void slotImportTextFile();
    void slotOpenTtcFontFile();
    void slotSaveTtcFontFile();
    void slotAcceptBtnClicked();
    void slotWebLink(QString webAddress);

protected:
    // While a web-font kit is being made, asks first; the kit is stopped,
    // and cleaned up, before the window closes.
    void closeEvent(QCloseEvent *event) override;
    // Enter that no field takes presses the focused button, else "Accept":
    // the default button of every page.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showKitRunning();
    QWidget *createFontCuttingPage();
    QWidget *createTtcSplitPage();
    KeepList keepListFromText();

    QTabWidget *tabWidget;
    QWidget *fontCuttingPage;
    QCheckBox *systemFontCheckBox;
    QLabel *selectFontLabel;
    QFontComboBox *fontComboBox;
    QLabel *fontFileLabel;
    QLineEdit *fontFileEdit;
    QPushButton *openFontFileBtn;
    QLabel *saveFontFileLabel;
    QLineEdit *saveFontFileEdit;
    QPushButton *saveFontFileBtn;
    QTextEdit *charactersEdit;
    QPushButton *importTextFileBtn;
    QWidget *ttcSplitPage;
    QLineEdit *ttcFileEdit;
    QPushButton *openTtcFileBtn;
    QLineEdit *outputDirEdit;
    QPushButton *outputDirBtn;
    WebFontPage *webFontPage;
    QPushButton *acceptBtn;
    QPushButton *cancelBtn;
    QLabel *kitRunningLabel;
    FontSubsetter fontSubsetter;
};
