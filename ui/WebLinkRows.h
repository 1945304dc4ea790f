#pragma once

class QLabel;
class QVBoxLayout;

// Adds the two right-aligned rows that end each page, the logo and the link
// to the maker's web page, to the page layout. Returns the link label.
QLabel *addWebLinkRows(QVBoxLayout *pageLayout);
