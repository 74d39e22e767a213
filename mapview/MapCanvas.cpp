#include "mapview/MapCanvas.h"

#include "core/Pictures.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mapview {

namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;

bool IsScaleOne(double scale)
{
    return std::abs(scale - 1.0) < 1e-9;
}

int WholePixels(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

// Copies `source` into the same-sized `target` without a new allocation
// when it can.
void CopyInto(QImage& target, const QImage& source)
{
    if (target.size() != source.size() || target.format() != source.format() || !target.isDetached() ||
        source.isNull()) {
        target = source.copy();
        return;
    }
    std::memcpy(target.bits(), source.constBits(), static_cast<std::size_t>(source.sizeInBytes()));
}

} // namespace

void MapCanvas::SetViewSize(QSize size, qreal devicePixelRatio)
{
    size = size.expandedTo(QSize(0, 0));
    const qreal ratio = devicePixelRatio > 1.0 ? devicePixelRatio : 1.0;
    if (size != m_viewSize || ratio != m_ratio) {
        // On a HiDPI screen the viewport holds the screen's own pixels.
        picMap = QImage(QSize(qRound(size.width() * ratio), qRound(size.height() * ratio)), kFormat);
        picMap.setDevicePixelRatio(ratio);
    }
    m_viewSize = size;
    m_ratio = ratio;
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

void MapCanvas::SetRegionPicture(const QImage& picture, std::shared_ptr<const MapPyramid> halvings)
{
    picOriginal = picture.convertToFormat(kFormat);
    picTemp = picOriginal.copy();
    m_halvings = nullptr;
    SetHalvings(std::move(halvings));
    m_zoomedBase = QImage();
    m_zoomedScale = 0.0;
    picZoomed = QImage();
    RecomputeVisibleSize();
}

void MapCanvas::SetHalvings(std::shared_ptr<const MapPyramid> halvings)
{
    if (halvings && !halvings->IsEmpty() && halvings->Level(0).size() == picOriginal.size())
        m_halvings = std::move(halvings);
}

void MapCanvas::ClearRegionPicture()
{
    picOriginal = QImage();
    picTemp = QImage();
    m_halvings = nullptr;
    m_zoomedBase = QImage();
    m_zoomedScale = 0.0;
    picZoomed = QImage();
    RecomputeVisibleSize();
}

void MapCanvas::RecomputeVisibleSize()
{
    const QSize visible = VisibleSize(picOriginal.size(), m_viewSize);
    VisibleWidth = visible.width();
    VisibleHeight = visible.height();
}

int MapCanvas::ControllaCoordinataX(int x) const
{
    return mapview::ControllaCoordinataX(x, m_viewSize.width(), picTemp.width());
}

int MapCanvas::ControllaCoordinataY(int y) const
{
    return mapview::ControllaCoordinataY(y, m_viewSize.height(), picTemp.height());
}

void MapCanvas::CenterMapOn(int x, int y)
{
    if (Zoomed()) {
        SetView(CentreOn(Scale(), QPointF(x, y), picOriginal.size(), m_viewSize));
        UpdateMap();
        return;
    }
    const QPoint offset = CenterMapOnOffsets(x, y, m_viewSize, picTemp.size());
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
    if (Zoomed()) {
        // Above 100 % (and on a HiDPI screen) the viewport is itself the
        // drawing buffer.
        if (ViewIsBuffer() || picMap.isNull() || picZoomed.isNull())
            return;
        const QPoint origin = DrawingOrigin();
        const QRect shown = QRect(origin, picZoomed.size()) & picMap.rect();
        if (shown != picMap.rect())
            picMap.fill(Qt::black);
        if (shown.isEmpty())
            return;
        const std::size_t rowBytes = static_cast<std::size_t>(shown.width()) * 4;
        for (int y = shown.top(); y <= shown.bottom(); ++y) {
            const uchar* src =
                picZoomed.constScanLine(y - origin.y()) + static_cast<std::size_t>(shown.left() - origin.x()) * 4;
            std::memcpy(picMap.scanLine(y) + static_cast<std::size_t>(shown.left()) * 4, src, rowBytes);
        }
        return;
    }
    if (picMap.isNull() || picTemp.isNull())
        return;
    // The source rectangle, clipped to both pictures.
    const int sx = -MapOffsetX;
    const int sy = -MapOffsetY;
    const int w = std::min({VisibleWidth, picTemp.width() - sx, m_viewSize.width()});
    const int h = std::min({VisibleHeight, picTemp.height() - sy, m_viewSize.height()});
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
    if (Zoomed()) {
        m_labels.Clear();
        if (!ViewIsBuffer()) {
            PrepareZoomedBase(Scale());
            CopyInto(picZoomed, m_zoomedBase);
        } else {
            DrawScaledView();
        }
        QImage& buffer = DrawingBuffer();
        layers.DrawAll(buffer, ctx);
        flasher.RestartFlashing(buffer, layers, ctx);
        UpdateMap();
        return;
    }
    ResetDrawingBuffer();
    if (!picTemp.isNull()) {
        layers.DrawAll(picTemp, ctx);
        flasher.RestartFlashing(picTemp, layers, ctx);
    }
    UpdateMap();
}

// ---- Zoom ----------------------------------------------------------------------------

double MapCanvas::Scale() const
{
    return ScaleOf(m_zoom, picOriginal.size(), m_viewSize);
}

bool MapCanvas::Zoomed() const
{
    return !picOriginal.isNull() && !picMap.isNull() && (!IsScaleOne(Scale()) || m_ratio != 1.0);
}

bool MapCanvas::ViewIsBuffer() const
{
    // Between a half and 1:1 the map scaled whole would come from the
    // picture itself (no halving is near): only the part shown is scaled.
    return Zoomed() && (Scale() > 0.5 + 1e-9 || m_ratio != 1.0);
}

ViewTransform MapCanvas::View() const
{
    if (!Zoomed())
        return {1.0, QPointF(MapOffsetX, MapOffsetY)};
    return {Scale(), m_view.Origin};
}

void MapCanvas::SetZoom(const Zoom& zoom, QPointF anchor)
{
    const ViewTransform before = View();
    m_zoom = zoom;
    if (zoom.Fit)
        RefitView();
    else
        SetView(ZoomAround(before, Scale(), anchor, picOriginal.size(), m_viewSize));
}

void MapCanvas::SetView(const ViewTransform& view)
{
    const double scale = Scale();
    const QPointF origin = ClampOrigin(view.Origin, scale, picOriginal.size(), m_viewSize);
    if (IsScaleOne(scale)) {
        MapOffsetX = WholePixels(origin.x());
        MapOffsetY = WholePixels(origin.y());
    }
    // Whole pixels: a pan then moves every marker by the same amount.
    m_view = {scale, QPointF(WholePixels(origin.x()), WholePixels(origin.y()))};
}

bool MapCanvas::RedrawsOnPan() const
{
    return ViewIsBuffer();
}

void MapCanvas::RefitView()
{
    if (m_zoom.Fit) {
        const QSize map = picOriginal.size();
        SetView(CentreOn(Scale(), QPointF(map.width() / 2.0, map.height() / 2.0), map, m_viewSize));
    } else {
        SetView(View());
    }
}

QImage& MapCanvas::DrawingBuffer()
{
    if (!Zoomed())
        return picTemp;
    return ViewIsBuffer() ? picMap : picZoomed;
}

QPoint MapCanvas::DrawingOrigin() const
{
    if (!Zoomed())
        return Offset();
    return ViewIsBuffer() ? QPoint() : m_view.Origin.toPoint();
}

MarkerPlacement MapCanvas::Placement() const
{
    if (!Zoomed())
        return {};
    if (!ViewIsBuffer())
        return {ViewTransform{Scale(), QPointF()}};
    return {View()};
}

void MapCanvas::PrepareZoomedBase(double scale)
{
    const QSize size(std::max(1, WholePixels(picOriginal.width() * scale)),
                     std::max(1, WholePixels(picOriginal.height() * scale)));
    if (m_zoomedScale == scale && m_zoomedBase.size() == size)
        return;
    // The halving nearest above the scale: little to average, nothing lost.
    const QImage& source = m_halvings ? m_halvings->Level(m_halvings->LevelFor(scale)) : picOriginal;
    m_zoomedBase = source.size() == size
                       ? source.convertToFormat(kFormat)
                       : source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(kFormat);
    m_zoomedScale = scale;
}

void MapCanvas::DrawScaledView()
{
    picMap.fill(Qt::black);
    const ViewTransform view = View();
    const QRectF visible(view.ToMap(QPointF(0, 0)), view.ToMap(QPointF(m_viewSize.width(), m_viewSize.height())));
    const QRectF source = visible & QRectF(picOriginal.rect());
    if (source.isEmpty())
        return;
    QPainter p(&picMap);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(view.ToView(source.topLeft()), view.ToView(source.bottomRight())), picOriginal, source);
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
        paint(p, m_viewSize);
    }
    if (devicePixelRatio > 1.0) {
        startPicture = QImage(qRound(m_viewSize.width() * devicePixelRatio),
                              qRound(m_viewSize.height() * devicePixelRatio), QImage::Format_RGB32);
        startPicture.setDevicePixelRatio(devicePixelRatio);
        QPainter p(&startPicture);
        paint(p, m_viewSize);
    }
}

} // namespace mapview
