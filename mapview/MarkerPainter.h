// Rectangles and positions are logical pixels; an image of a device pixel
// ratio above 1 gets boxes, rims and letters at its own resolution.
//
// Fast drawing of the many small markers of a layer onto the drawing buffer:
// filled boxes with a one-pixel rim written straight into the pixels, and
// short texts drawn once into a cached picture and then blended in. A full
// redraw with thousands of markers costs little more than the copy of the
// region picture it starts from.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>

namespace mapview {

class MarkerPainter {
public:
    // The target must stay alive while the painter is used; an image that is
    // not 32-bit is converted to 32-bit RGB first. Texts are set in `font`
    // and `textColour`.
    MarkerPainter(QImage& target, const QFont& font, QRgb textColour);

    // `rect` filled with `fill`, its outermost pixels in `rim`; clipped to
    // the image.
    void Box(const QRect& rect, QRgb fill, QRgb rim);

    // `text` as a single line, its text cell's top-left corner at (x, y);
    // clipped to the image.
    void Text(const QString& text, int x, int y);

    // A large, clear marker: `rect` filled with `fill` and rimmed in black,
    // `upper` over `lower` (or the one that is not empty alone in the middle)
    // in white letters outlined in black, each line centred, the letters
    // clipped to the inside of the rim. The same for every painter.
    void ClearBox(const QRect& rect, QRgb fill, const QString& upper, const QString& lower);

private:
    // Logical to device pixels of the target (the same on a 1x image).
    int Device(int v) const;
    QRect Device(const QRect& r) const;
    void Blend(const QImage& glyphs, int x, int y, const QRect& clip);

    QImage& m_image;
    qreal m_ratio = 1.0;
    QFont m_font;
    QRgb m_textColour;
    QHash<QString, QImage> m_texts; // this painter's texts, by text
};

} // namespace mapview
