// "Accept": runs the job of the current tab and shows its outcome.

#include "Tessaglyph.h"

#include "engine/Jobs.h"
#include "engine/KeepList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QUrl>

namespace {

// The editor's text as typed. toPlainText() would turn each no-break space
// into a space; only the document's own separators become line breaks here.
QString textAsTyped(const QTextDocument *document)
{
    QString text = document->toRawText();
    for (QChar &unit : text) {
        switch (unit.unicode()) {
        case 0xFDD0: // beginning of a frame
        case 0xFDD1: // end of a frame
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            unit = QLatin1Char('\n');
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

KeepList Tessaglyph::keepListFromText()
{
    return ::keepListFromText(textAsTyped(charactersEdit->document()));
}

void Tessaglyph::slotAcceptBtnClicked()
{
    JobOutcome outcome;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (tabWidget->currentIndex() == 0) {
        const QString outputFolder = saveFontFileEdit->text();
        // The output field is checked first, before the text is read.
        const KeepList keepList = outputFolder.isEmpty() ? KeepList() : keepListFromText();
        if (systemFontCheckBox->isChecked())
            outcome = runSystemSubsetJob(fontSubsetter, fontComboBox->currentFont().family(), outputFolder, keepList);
        else
            outcome = runFileSubsetJob(fontSubsetter, fontFileEdit->text(), outputFolder, keepList);
    } else {
        outcome = runSplitJob(ttcFileEdit->text(), outputDirEdit->text());
    }
    QApplication::restoreOverrideCursor();
    showOutcome(outcome);
}

void Tessaglyph::showOutcome(const JobOutcome &outcome)
{
    // The outcome's texts are translated already, in this window's context.
    const QString text = (QStringList(outcome.text) + outcome.notices + outcome.summary).join(QLatin1Char('\n'));
    if (outcome.box == JobOutcome::Box::Information)
        QMessageBox::information(this, outcome.title, text, QMessageBox::Ok, QMessageBox::NoButton);
    else
        QMessageBox::warning(this, outcome.title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

void Tessaglyph::slotWebLink(QString webAddress)
{
    QDesktopServices::openUrl(QUrl(webAddress));
}
