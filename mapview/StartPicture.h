// The picture the map window shows while no region is chosen: dusk over
// hills across the whole viewport, the program's title and author lines,
// a hint, and the credits block in the bottom-right corner.
#pragma once

#include <QSize>
#include <QString>

class QPainter;

namespace mapview {

struct StartPictureTexts {
    QString title; // program name and version
    QString author;
    QString hint; // what to do first
};

// The dusk scene filling a surface of `size`: sky, three ranges of hills,
// a route with waypoints and, when `withCompass`, a compass rose.
void PaintDuskScene(QPainter& painter, QSize size, bool withCompass = true);

// The whole start picture on a surface of `size`.
void PaintStartPicture(QPainter& painter, QSize size, const StartPictureTexts& texts);

} // namespace mapview
