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
// and shows their outcome.
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
    // A web-font kit still being made is cancelled, and cleaned up, first.
    void closeEvent(QCloseEvent *event) override;

private:
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
    FontSubsetter fontSubsetter;
};
