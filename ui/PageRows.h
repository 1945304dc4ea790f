#pragma once

class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

#include <initializer_list>

// A path field with its button to the right.
QHBoxLayout *editRow(QWidget *edit, QWidget *button);

// Adds the two right-aligned rows that end each page, the logo and the link
// to the maker's web page, to the page layout. Returns the link label.
QLabel *addWebLinkRows(QVBoxLayout *pageLayout);

// A page's source is an installed family or a font file, as its check box
// says: the rows of the one chosen are enabled, the others greyed out.
void enableSourceRows(bool fromSystem, std::initializer_list<QWidget *> familyRows,
                      std::initializer_list<QWidget *> fileRows);
