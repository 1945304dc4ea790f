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
struct JobOutcome;

// The main window: the "Font Cutting" and "TTC Font Split" pages above
// "Accept" and "Cancel". It reads its widgets, hands the jobs to the engine
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

private:
    QWidget *createFontCuttingPage();
    QWidget *createTtcSplitPage();
    KeepList keepListFromText();
    void showOutcome(const JobOutcome &outcome);

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
    QPushButton *acceptBtn;
    QPushButton *cancelBtn;
    FontSubsetter fontSubsetter;
};
