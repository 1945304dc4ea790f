// "Accept": runs the job of the current tab and shows its outcome.

#include "Tessaglyph.h"

#include "engine/Jobs.h"
#include "engine/KeepList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QUrl>

QVector<quint16> Tessaglyph::keepListFromText()
{
    return ::keepListFromText(charactersEdit->toPlainText());
}

void Tessaglyph::slotAcceptBtnClicked()
{
    JobOutcome outcome;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (tabWidget->currentIndex() == 0) {
        const QString outputFolder = saveFontFileEdit->text();
        // The output field is checked first, before the text is read.
        const QVector<quint16> keepList = outputFolder.isEmpty() ? QVector<quint16>() : keepListFromText();
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
    QString text = tr(outcome.text);
    if (text.contains(QLatin1String("%1")))
        text = text.arg(QDir::toNativeSeparators(outcome.argument));
    if (outcome.box == JobOutcome::Box::Information)
        QMessageBox::information(this, tr(outcome.title), text, QMessageBox::Ok, QMessageBox::NoButton);
    else
        QMessageBox::warning(this, tr(outcome.title), text, QMessageBox::Ok, QMessageBox::NoButton);
}

void Tessaglyph::slotWebLink(QString webAddress)
{
    QDesktopServices::openUrl(QUrl(webAddress));
}
