// The three buffers of the map window and the viewport over them: the region
// picture as loaded (picOriginal, never drawn on), the drawing buffer of the
// same size (picTemp, rebuilt from picOriginal with every layer on top), and
// the viewport picture (picMap, a copy of the visible part of picTemp on a
// black background).
#pragma once

#include "mapview/MapFlash.h"
#include "mapview/MapLayer.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>

namespace mapview {

class MapCanvas {
public:
    QImage picOriginal;
    QImage picTemp;
    QImage picMap;
    // The start picture at the screen's pixel ratio when that is above 1
    // (shown instead of picMap while no region is loaded); null otherwise.
    QImage startPicture;

    int MapOffsetX = 0;
    int MapOffsetY = 0;
    int VisibleWidth = 0;
    int VisibleHeight = 0;

    // The viewport takes a new size; its picture restarts black.
    void SetViewSize(QSize size);
    QSize ViewSize() const { return picMap.size(); }
    QSize MapSize() const { return picTemp.size(); }
    QPoint Offset() const { return {MapOffsetX, MapOffsetY}; }

    // Loads a region picture into picOriginal (and an unmarked copy into
    // picTemp). False, with both buffers empty, when it cannot be read.
    bool LoadRegionPicture(const QString& path);
    // Same with a picture in memory.
    void SetRegionPicture(const QImage& picture);
    void ClearRegionPicture();
    void ResetOffsets() { MapOffsetX = MapOffsetY = 0; }

    void RecomputeVisibleSize();

    int ControllaCoordinataX(int x) const;
    int ControllaCoordinataY(int y) const;
    // Centres the viewport on a map point and copies the view.
    void CenterMapOn(int x, int y);

    // picTemp becomes an unmarked copy of picOriginal.
    void ResetDrawingBuffer();
    // Copies the visible rectangle of picTemp into the top-left of picMap.
    void UpdateMap();

    // Full redraw: picTemp from picOriginal, the layers in draw order, the
    // selection flashing re-armed, then the view copied.
    void DrawEverythingOnMap(const MapLayers& layers, SelectionFlasher& flasher, const MapContext& ctx);

    // Black viewport (and no start picture).
    void ClearView();
    // A picture over the whole viewport instead of a map (the start picture:
    // `paint` draws it at the viewport's size). Drawn into picMap, and into
    // startPicture when `devicePixelRatio` is above 1.
    void DrawStartPicture(const std::function<void(QPainter&, QSize)>& paint, qreal devicePixelRatio = 1.0);
};

} // namespace mapview
