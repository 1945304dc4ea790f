#pragma once

class QFontComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

#include <initializer_list>

// A path field with its button to the right.
QHBoxLayout *editRow(QWidget *edit, QWidget *button);

// A button that shows only an icon: its tool tip, which is also its name for
// accessibility tools, says what it does.
QPushButton *iconButton(const char *iconFile, const QString &toolTip);

// The list of installed families a page picks from. It never measures every
// family's name for its size, which it sets itself: with thousands of fonts
// installed, that took most of the window's start-up.
QFontComboBox *familyList();

// A field's label. Its mnemonic ("&Output Directory", "输出目录(&O)") moves the
// focus to the field, and its text, without the mnemonic, is the field's
// name for accessibility tools.
QLabel *fieldLabel(const QString &text, QWidget *field);

// "Select From System Font" for "Select From &System Font", "从系统字体中选择"
// for "从系统字体中选择(&S)": a text as it is read aloud.
QString withoutMnemonic(const QString &text);

// Names every button under `top` whose text has a mnemonic by its text
// without it, for accessibility tools, which would otherwise read "(S)".
void nameButtonsWithoutMnemonics(QWidget *top);

// Asks for a font file, in the system's fonts folder: TrueType, OpenType
// or WOFF2, on every page that takes one. Empty when cancelled.
QString chooseFontFile(QWidget *parent);

// Once a dialog opened by a button has filled its field, the focus moves on
// to the next field that takes it: Enter then goes on, rather than opening
// the dialog again.
void moveFocusOn(QWidget *button);

// Adds the two right-aligned rows that end each page, the logo and the link
// to the program's manual, to the page layout. Returns the link label.
QLabel *addWebLinkRows(QVBoxLayout *pageLayout);

// A page's source is an installed family or a font file, as its check box
// says: the rows of the one chosen are enabled, the others greyed out.
void enableSourceRows(bool fromSystem, std::initializer_list<QWidget *> familyRows,
                      std::initializer_list<QWidget *> fileRows);
