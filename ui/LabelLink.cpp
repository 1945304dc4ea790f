#include "LabelLink.h"

#include "WebAddress.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QImage>
#include <QPixmap>
#include <QUrl>

LabelLink::LabelLink(QWidget *parent) : QLabel(parent)
{
    setScaledContents(true);
    setOpenExternalLinks(true);
    setAttribute(Qt::WA_MouseTracking, true);
    // The window has no menu; the logo says what the program is and its licence.
    setToolTip(QCoreApplication::translate(
                       "Tessaglyph", "Tessaglyph %1\nCopyright 2026 Tessaglyph developers\nFree software under the MIT licence.")
                       .arg(QStringLiteral(TESSAGLYPH_VERSION)));
}

void LabelLink::mousePressEvent(QMouseEvent *)
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebAddress)));
}

void LabelLink::mouseMoveEvent(QMouseEvent *)
{
    setCursor(QCursor(Qt::PointingHandCursor));
}

void LabelLink::resizeEvent(QResizeEvent *)
{
    // The logo's subtitle is in the window's language: the translation
    // names the picture that has it.
    setPixmap(QPixmap::fromImage(QImage(QCoreApplication::translate(
            "Tessaglyph", ":logo.png", "the logo's picture, whose subtitle is in the window's language"))));
}
