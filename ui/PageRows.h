#pragma once

class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

// A path field with its button to the right.
QHBoxLayout *editRow(QWidget *edit, QWidget *button);

// Adds the two right-aligned rows that end each page, the logo and the link
// to the maker's web page, to the page layout. Returns the link label.
QLabel *addWebLinkRows(QVBoxLayout *pageLayout);
