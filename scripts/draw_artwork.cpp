// Draws the program's artwork into a folder: the wordmark logo, the "open"
// and "output" button icons, the emblem and the window icon.
//   scripts/draw-artwork.sh   (writes into resources/)

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor kInk(0x1f, 0x3a, 0x5f);
const QColor kAccent(0xe0, 0x6c, 0x2b);

// subtitle: under the word, in the window's language; the Chinese one in
// a CJK face, a size larger so that its strokes stay apart.
QImage logo(const QString &subtitle, bool chinese)
{
    QImage image(108, 39, QImage::Format_RGB32); // no alpha channel
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(0, 0, 6, 39), kAccent);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    // The largest size at which the word fits.
    for (int size = 17; size > 8; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(QStringLiteral("Tessaglyph")) <= 94)
            break;
    }
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRect(10, 2, 98, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tessaglyph"));
    QFont small(chinese ? QStringLiteral("Noto Sans CJK SC") : QStringLiteral("DejaVu Sans"));
    small.setPixelSize(chinese ? 10 : 8);
    p.setFont(small);
    p.setPen(kAccent);
    p.drawText(QRect(11, 25, 97, 13), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    return image;
}

QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage folderIcon()
{
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x9a, 0x6b, 0x00));
    p.setBrush(QColor(0xf2, 0xc1, 0x3d));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.5, 3.5);
    back.lineTo(8, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xfb, 0xd8, 0x6a));
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(3.5, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(14.5, 13.5);
    front.closeSubpath();
    p.drawPath(front);
    return image;
}

QImage diskIcon()
{
    QImage image = canvas(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x14, 0x24, 0x3d));
    p.setBrush(QColor(0x3b, 0x6e, 0xa8));
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xe8, 0xee, 0xf5));
    p.drawRect(QRectF(4.5, 1.5, 6, 4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 8.5, 9, 6));
    p.setPen(QColor(0x9a, 0xa8, 0xba));
    p.drawLine(QPointF(5, 10.5), QPointF(11, 10.5));
    p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
    return image;
}

QImage emblem(int size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 48.0;
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(2 * s, 2 * s, 44 * s, 44 * s), 9 * s, 9 * s);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(qRound(34 * s));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size - 3 * s), Qt::AlignCenter, QStringLiteral("g"));
    // A cut across the glyph.
    p.setPen(QPen(kAccent, 3 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9 * s, 37 * s), QPointF(39 * s, 11 * s));
    return image;
}

bool save(const QImage &image, const QString &path, const char *format = "PNG")
{
    if (image.save(path, format))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_artwork FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const bool ok = save(logo(QStringLiteral("fonts, cut to fit"), false), folder + "logo.png")
            && save(logo(QString::fromUtf8("字体，按需裁剪"), true), folder + "logo-zh.png") && save(folderIcon(), folder + "open.png")
            && save(diskIcon(), folder + "output.png") && save(emblem(48), folder + "icon.png")
            && save(emblem(32), folder + "tessaglyph.ico", "ICO");
    return ok ? 0 : 1;
}
