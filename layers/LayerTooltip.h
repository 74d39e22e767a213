// The information windows of the collectibles layers share one frame: a dark
// background, a title band in a colour of the colour table, the map under the
// window blended in at 80/255, an outer frame in grey 180, an inner frame in
// dark grey 100 from (6, 6) to (W - 7, H - 7), an optional separator line,
// then labels and an optional picture.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace layertooltip {

struct Label {
    QString Text;
    QRect Rect; // in window coordinates
    QFont Font;
    QColor Colour;
    int Flags = 0; // Qt alignment and wrap flags
    int bottom() const { return Rect.y() + Rect.height(); }
};

struct Tooltip {
    int Width = 0;
    int Height = 0;
    QColor BandColour;
    QRect Band;                    // (6, 6) .. (W - 7, title height + 4)
    std::optional<int> SeparatorY; // from x = 18 to W - 19
    std::vector<Label> Labels;
    QImage Picture;
    QRect PictureRect;
};

inline const QColor kBackground(22, 22, 28);
inline const QColor kOuterFrame(180, 180, 180);
inline const QColor kInnerFrame(100, 100, 100);

// Font of the labels: Arial at `points` points in pixels.
QFont LabelFont(int points, bool bold = false);

// A label at (left, top), `width` wide and as tall as its text needs (at least
// one line), word-wrapped when `wrap`.
Label MakeLabel(const QString& text, int left, int top, int width, const QFont& font, const QColor& colour,
                bool wrap = true);

// A readable text colour on the band colour.
QColor TextOn(const QColor& band);

// Paints the window with the map `viewport` under it at `position`.
QImage Paint(const Tooltip& tooltip, const QImage& viewport, QPoint position);

} // namespace layertooltip
