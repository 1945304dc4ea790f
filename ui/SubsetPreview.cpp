#include "SubsetPreview.h"

#include <QFile>
#include <QGlyphRun>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QtMath>

namespace {

constexpr int kPreviewCharacters = 12;
constexpr qreal kPreviewPixelSize = 30;

// The text's first characters that draw something, on one line; *cut:
// some are left out.
QString previewText(const QString &text, bool *cut)
{
    QString preview;
    int count = 0;
    *cut = false;
    for (const char32_t codePoint : text.simplified().toUcs4()) {
        if (count == kPreviewCharacters) {
            *cut = true;
            break;
        }
        if (QChar::category(codePoint) == QChar::Other_Control)
            continue;
        preview += QString::fromUcs4(&codePoint, 1);
        ++count;
    }
    return preview;
}

} // namespace

GlyphLine::GlyphLine(const QRawFont &font, const QString &text, QWidget *parent) : QWidget(parent), font(font)
{
    glyphs = font.glyphIndexesForString(text);
    const QVector<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QPointF pen(0, font.ascent());
    for (const QPointF &advance : advances) {
        positions.append(pen);
        pen += advance;
    }
    width = pen.x();
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize GlyphLine::sizeHint() const
{
    return QSize(qCeil(width) + 1, qCeil(font.ascent() + font.descent()) + 1);
}

void GlyphLine::paintEvent(QPaintEvent *)
{
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawGlyphRun(QPointF(0, 0), run);
}

SubsetPreview::SubsetPreview(const QString &fontPath, const QString &text, bool defaultFaceUsed, QWidget *parent)
    : QWidget(parent)
{
    QFile file(fontPath);
    const QRawFont font(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), kPreviewPixelSize);

    auto *caption = new QLabel;
    caption->setWordWrap(true);
    caption->setObjectName(QStringLiteral("subsetPreviewCaption"));
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(caption);
    if (!font.isValid()) {
        caption->setText(tr("The subset could not be loaded for a preview."));
    } else {
        const QString family = font.familyName();
        caption->setText(defaultFaceUsed ? tr("Drawn in the default face %1, which was subset instead:").arg(family)
                                         : tr("Drawn in the subset %1:").arg(family));
        bool cut = false;
        auto *glyphLine = new GlyphLine(font, previewText(text, &cut));
        glyphLine->setObjectName(QStringLiteral("subsetPreviewGlyphs"));
        if (!cut) {
            layout->addWidget(glyphLine);
        } else {
            // The ellipsis in the window's own font: the subset need not have one.
            auto *ellipsis = new QLabel(QStringLiteral("\u2026"));
            QFont large = ellipsis->font();
            large.setPixelSize(int(kPreviewPixelSize));
            ellipsis->setFont(large);
            ellipsis->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
            ellipsis->setObjectName(QStringLiteral("subsetPreviewEllipsis"));
            auto *line = new QHBoxLayout;
            line->setSpacing(0);
            line->addWidget(glyphLine);
            line->addWidget(ellipsis);
            line->addStretch();
            layout->addLayout(line);
        }
    }
    setLayout(layout);
}
