#include "LabelLink.h"

#include "WebAddress.h"

#include <QDesktopServices>
#include <QImage>
#include <QPixmap>
#include <QUrl>

LabelLink::LabelLink(QWidget *parent) : QLabel(parent)
{
    setScaledContents(true);
    setOpenExternalLinks(true);
    setAttribute(Qt::WA_MouseTracking, true);
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
    setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":logo.png"))));
}
