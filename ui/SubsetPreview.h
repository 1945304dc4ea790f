#pragma once

#include <QRawFont>
#include <QWidget>

// A line of characters drawn glyph by glyph in one font file's own bytes:
// no other font stands in for a character it lacks (its missing-glyph box
// shows instead), and no installed font of the same family is drawn.
class GlyphLine : public QWidget
{
    Q_OBJECT

public:
    GlyphLine(const QRawFont &font, const QString &text, QWidget *parent = nullptr);

    const QRawFont &rawFont() const { return font; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRawFont font;
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    qreal width = 0;
};

// The first characters of a text drawn in a subset just written, under a
// line that says which face draws them. The subset is read into memory for
// as long as the preview exists. It is not added to the application's font
// database: a subset of an installed family would take that family's place
// in every widget of the window while the preview is shown.
class SubsetPreview : public QWidget
{
    Q_OBJECT

public:
    // defaultFaceUsed: the file holds the default face, subset in place of
    // the font the user asked for.
    SubsetPreview(const QString &fontPath, const QString &text, bool defaultFaceUsed, QWidget *parent = nullptr);
};
