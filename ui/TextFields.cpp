#include "TextFields.h"

#include "engine/Jobs.h"
#include "engine/TextDecoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>

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

namespace {

// Types a tab for Ctrl+Tab, which would otherwise reach the tab widget and
// turn the page.
class TabTyper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Tab || key->modifiers() != Qt::ControlModifier)
            return false;
        auto *editor = static_cast<QTextEdit *>(watched);
        if (!editor->isReadOnly())
            editor->insertPlainText(QStringLiteral("\t"));
        return true;
    }
};

} // namespace

void letTabMoveFocus(QTextEdit *editor)
{
    editor->setTabChangesFocus(true);
    editor->installEventFilter(new TabTyper(editor));
}

void importTextFile(QWidget *parent, QTextEdit *editor)
{
    const QString path = QFileDialog::getOpenFileName(
            parent, QCoreApplication::translate("Tessaglyph", "Select File"), QDir::currentPath(),
            QCoreApplication::translate("Tessaglyph", "Text File(*.txt)"));
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        QMessageBox::warning(parent, QCoreApplication::translate("Tessaglyph", "Warning!"), missingFileText(path),
                             QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const DecodedText decoded = decodeTextFile(file.readAll());
    editor->clear();
    editor->setPlainText(decoded.text);
    // A file read as GB2312 is said so without a box to dismiss: in a tool
    // tip shown at once, which the text box keeps until its text changes.
    if (decoded.encoding != TextEncoding::Gb2312) {
        editor->setToolTip(QString());
        return;
    }
    const QString note = QCoreApplication::translate("Tessaglyph", "%1 was read as GB2312.")
                                 .arg(QFileInfo(path).fileName());
    editor->setToolTip(note);
    QObject::connect(editor, &QTextEdit::textChanged, editor, [editor] { editor->setToolTip(QString()); },
                     Qt::SingleShotConnection);
    QToolTip::showText(editor->mapToGlobal(editor->rect().center()), note, editor);
}
