#pragma once

class QString;
class QUrl;
class QWidget;

// What the box at the end of a kit shows under its lines: where the preview
// is served, buttons that open the folder and the preview, and the lines to
// paste into a page that uses the kit, with a button that copies them. An
// invalid preview address: the preview could not be served.
QWidget *kitBoxWidget(const QString &folder, const QString &cssPath, const QUrl &previewAddress);

// The lines to paste: the link to the kit's CSS, by its name beside the
// page, and the font-family declaration, with the family as the CSS itself
// writes it. Empty when the CSS names no family.
QString kitUsageLines(const QString &cssPath);

// Opens a kit's folder, or its preview page, in the desktop's program for
// it; says so, with the path or address, when none could.
void openKitFolder(QWidget *parent, const QString &folder);
void openKitPreview(QWidget *parent, const QUrl &previewAddress);
