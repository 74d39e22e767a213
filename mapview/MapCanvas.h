// The three buffers of the map window and the viewport over them: the region
// picture as loaded (picOriginal, never drawn on), the drawing buffer of the
// same size (picTemp, rebuilt from picOriginal with every layer on top), and
// the viewport picture (picMap, a copy of the visible part of picTemp on a
// black background).
//
// Zoomed, the drawing buffer is another: below 100 % the map scaled
// smoothly (from the halving nearest above the scale) into picZoomed, the
// layers drawn on it with their markers at 1:1 size, and the visible part
// copied into picMap as at 100 %; above 100 % the visible part of the map is
// scaled straight into picMap and the layers drawn over it.
#pragma once

#include "mapview/LabelSpace.h"
#include "mapview/MapFlash.h"
#include "mapview/MapLayer.h"
#include "mapview/MapPyramid.h"
#include "mapview/MapZoom.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

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

    // The viewport takes a new size (logical pixels) at the screen's pixel
    // ratio; its picture restarts black.
    void SetViewSize(QSize size, qreal devicePixelRatio = 1.0);
    QSize ViewSize() const { return m_viewSize; }
    qreal DevicePixelRatio() const { return m_ratio; }
    QSize MapSize() const { return picTemp.size(); }
    QPoint Offset() const { return {MapOffsetX, MapOffsetY}; }

    // Loads a region picture into picOriginal (and an unmarked copy into
    // picTemp). False, with both buffers empty, when it cannot be read.
    bool LoadRegionPicture(const QString& path);
    // Same with a picture in memory, and its halvings when already built.
    void SetRegionPicture(const QImage& picture, std::shared_ptr<const MapPyramid> halvings = nullptr);
    // The halvings of the picture shown, built later (off the interface
    // thread); ignored when they are not of that picture.
    void SetHalvings(std::shared_ptr<const MapPyramid> halvings);
    bool HasHalvings() const { return m_halvings != nullptr; }
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

    // ---- Zoom
    const Zoom& CurrentZoom() const { return m_zoom; }
    // The scale the zoom gives for this map and view.
    double Scale() const;
    // True while the drawing buffer is not picTemp at 1:1.
    bool Zoomed() const;
    // Map point -> viewport point. At the scale 1 the origin is the offsets.
    ViewTransform View() const;
    // A new zoom, keeping the map point under viewport point `anchor` where
    // it is (fit: centred). Needs a full redraw.
    void SetZoom(const Zoom& zoom, QPointF anchor);
    // A new transform of the same scale (a pan, a centring), clamped and in
    // whole pixels. Needs UpdateMap, or a full redraw when RedrawsOnPan.
    void SetView(const ViewTransform& view);
    // Above 100 % (and on a HiDPI screen) the layers draw straight into the
    // viewport and a pan redraws them; below it a pan copies, as at 100 %.
    bool ViewIsBuffer() const;
    bool RedrawsOnPan() const;
    // The viewport got a new size or the map changed: fit fits again, the
    // other levels keep their origin, clamped.
    void RefitView();
    // The buffer the layers and the blinking marker draw on, and where its
    // top-left corner stands in the viewport.
    QImage& DrawingBuffer();
    QPoint DrawingOrigin() const;
    // Where markers go in the drawing buffer.
    MarkerPlacement Placement() const;
    // The room the labels take on a zoomed view (null at 100 %).
    LabelSpace* Labels() const { return Zoomed() ? &m_labels : nullptr; }

    // Black viewport (and no start picture).
    void ClearView();
    // A picture over the whole viewport instead of a map (the start picture:
    // `paint` draws it at the viewport's size). Drawn into picMap, and into
    // startPicture when `devicePixelRatio` is above 1.
    void DrawStartPicture(const std::function<void(QPainter&, QSize)>& paint, qreal devicePixelRatio = 1.0);

    // Below 100 %: the map at the scale, with the layers on top.
    QImage picZoomed;

private:
    // picZoomedBase becomes the map at the scale (unless it already is).
    void PrepareZoomedBase(double scale);
    // The visible part of the map, scaled, into picMap (above 100 %).
    void DrawScaledView();

    QSize m_viewSize;
    qreal m_ratio = 1.0;
    Zoom m_zoom = Zoom::Level(100);
    ViewTransform m_view; // zoomed: the transform (whole-pixel origin)
    std::shared_ptr<const MapPyramid> m_halvings;
    QImage m_zoomedBase; // the unmarked map at m_zoomedScale
    double m_zoomedScale = 0.0;
    mutable LabelSpace m_labels;
};

} // namespace mapview
