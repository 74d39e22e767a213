#include "mapview/MapCanvas.h"

#include "core/Pictures.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>

namespace mapview {

namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;

} // namespace

void MapCanvas::SetViewSize(QSize size)
{
    size = size.expandedTo(QSize(0, 0));
    if (size != picMap.size())
        picMap = QImage(size, kFormat);
    picMap.fill(Qt::black);
    RecomputeVisibleSize();
}

bool MapCanvas::LoadRegionPicture(const QString& path)
{
    const QImage picture = records::LoadPicture(path);
    if (picture.isNull()) {
        ClearRegionPicture();
        return false;
    }
    SetRegionPicture(picture);
    return true;
}

void MapCanvas::SetRegionPicture(const QImage& picture)
{
    picOriginal = picture.convertToFormat(kFormat);
    picTemp = picOriginal.copy();
    RecomputeVisibleSize();
}

void MapCanvas::ClearRegionPicture()
{
    picOriginal = QImage();
    picTemp = QImage();
    RecomputeVisibleSize();
}

void MapCanvas::RecomputeVisibleSize()
{
    const QSize visible = VisibleSize(picOriginal.size(), picMap.size());
    VisibleWidth = visible.width();
    VisibleHeight = visible.height();
}

int MapCanvas::ControllaCoordinataX(int x) const
{
    return mapview::ControllaCoordinataX(x, picMap.width(), picTemp.width());
}

int MapCanvas::ControllaCoordinataY(int y) const
{
    return mapview::ControllaCoordinataY(y, picMap.height(), picTemp.height());
}

void MapCanvas::CenterMapOn(int x, int y)
{
    const QPoint offset = CenterMapOnOffsets(x, y, picMap.size(), picTemp.size());
    MapOffsetX = offset.x();
    MapOffsetY = offset.y();
    UpdateMap();
}

void MapCanvas::ResetDrawingBuffer()
{
    const bool reusable = picTemp.size() == picOriginal.size() && picTemp.format() == picOriginal.format() &&
                          picTemp.isDetached() && !picOriginal.isNull();
    if (!reusable) {
        picTemp = picOriginal.copy();
        return;
    }
    // Same size and format: copy into the existing buffer, no allocation.
    std::memcpy(picTemp.bits(), picOriginal.constBits(), static_cast<std::size_t>(picOriginal.sizeInBytes()));
}

void MapCanvas::UpdateMap()
{
    if (picMap.isNull() || picTemp.isNull())
        return;
    // The source rectangle, clipped to both pictures.
    const int sx = -MapOffsetX;
    const int sy = -MapOffsetY;
    const int w = std::min({VisibleWidth, picTemp.width() - sx, picMap.width()});
    const int h = std::min({VisibleHeight, picTemp.height() - sy, picMap.height()});
    if (sx < 0 || sy < 0 || w <= 0 || h <= 0)
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 4;
    for (int y = 0; y < h; ++y) {
        const uchar* src = picTemp.constScanLine(sy + y) + static_cast<std::size_t>(sx) * 4;
        std::memcpy(picMap.scanLine(y), src, rowBytes);
    }
}

void MapCanvas::DrawEverythingOnMap(const MapLayers& layers, SelectionFlasher& flasher, const MapContext& ctx)
{
    ResetDrawingBuffer();
    if (!picTemp.isNull()) {
        layers.DrawAll(picTemp, ctx);
        flasher.RestartFlashing(picTemp, layers, ctx);
    }
    UpdateMap();
}

void MapCanvas::ClearView()
{
    startPicture = QImage();
    if (!picMap.isNull())
        picMap.fill(Qt::black);
}

void MapCanvas::DrawStartPicture(const std::function<void(QPainter&, QSize)>& paint, qreal devicePixelRatio)
{
    ClearView();
    if (picMap.isNull())
        return;
    {
        QPainter p(&picMap);
        paint(p, picMap.size());
    }
    if (devicePixelRatio > 1.0) {
        startPicture = QImage(qRound(picMap.width() * devicePixelRatio), qRound(picMap.height() * devicePixelRatio),
                              QImage::Format_RGB32);
        startPicture.setDevicePixelRatio(devicePixelRatio);
        QPainter p(&startPicture);
        paint(p, picMap.size());
    }
}

} // namespace mapview
