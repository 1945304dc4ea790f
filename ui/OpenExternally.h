#pragma once

class QString;
class QUrl;
class QWidget;

// Opens the address in the desktop's program for it, through xdg-open. When
// none could open it (xdg-open is missing, or fails: no browser or file
// manager is set up), a warning over `parent` says so in `failure`, whose %1
// is the address, shown so that it can be opened by hand. QDesktopServices
// cannot tell: it counts xdg-open started as the address opened.
void openExternally(QWidget *parent, const QUrl &url, const QString &failure);
