#pragma once

#include <QString>

class QTextDocument;
class QTextEdit;
class QWidget;

// The editor's text as typed. toPlainText() would turn each no-break space
// into a space; only the document's own separators become line breaks here.
QString textAsTyped(const QTextDocument *document);

// Tab and Shift+Tab move the focus out of the editor, as in every other
// field; Ctrl+Tab types a tab.
void letTabMoveFocus(QTextEdit *editor);

// Asks for a text file and puts its text into the editor, decoded by
// decodeTextFile; when it was read as GB2312, the editor's tool tip says so.
// A file that does not exist is refused with a warning box.
void importTextFile(QWidget *parent, QTextEdit *editor);
