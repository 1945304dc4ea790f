// "Accept": runs the job of the current tab and shows its outcome; a subset
// with a preview of the text drawn in it.

#include "Tessaglyph.h"

#include "OutcomeBox.h"
#include "SubsetPreview.h"
#include "TextFields.h"
#include "WebFontPage.h"
#include "engine/Jobs.h"
#include "engine/KeepList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFontComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QUrl>

KeepList Tessaglyph::keepListFromText()
{
    return ::keepListFromText(textAsTyped(charactersEdit->document()));
}

void Tessaglyph::slotAcceptBtnClicked()
{
    if (tabWidget->currentWidget() == static_cast<QWidget *>(webFontPage)) {
        webFontPage->start();
        return;
    }
    JobOutcome outcome;
    QWidget *preview = nullptr;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (tabWidget->currentWidget() == fontCuttingPage) {
        const QString outputFolder = saveFontFileEdit->text();
        // The output field is checked first, before the text is read.
        const KeepList keepList = outputFolder.isEmpty() ? KeepList() : keepListFromText();
        const bool fromSystem = systemFontCheckBox->isChecked();
        // The family as the list shows it: at start, currentFont() is the
        // application's font, whose family may be an alias ("Sans Serif").
        const QString family = fontComboBox->currentText();
        if (fromSystem)
            outcome = runSystemSubsetJob(fontSubsetter, family, outputFolder, keepList);
        else
            outcome = runFileSubsetJob(fontSubsetter, fontFileEdit->text(), outputFolder, keepList);
        // The window writes .ttf (or .otf for CFF outlines), never WOFF2, so
        // the subset can be drawn here.
        if (outcome.succeeded && !outcome.writtenFiles.isEmpty())
            preview = new SubsetPreview(outcome.writtenFiles.first(), textAsTyped(charactersEdit->document()),
                                        outcome.defaultFaceUsed);
    } else {
        outcome = runSplitJob(ttcFileEdit->text(), outputDirEdit->text());
    }
    QApplication::restoreOverrideCursor();
    showOutcomeBox(this, outcome, preview);
}

void Tessaglyph::slotWebLink(QString webAddress)
{
    QDesktopServices::openUrl(QUrl(webAddress));
}
