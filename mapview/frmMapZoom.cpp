// The map window's zoom: levels by wheel and keys, pans by keys, centring
// on the chosen entry, the overview in the corner, the regions read ahead and
// the backdrop the information windows blend over on a HiDPI screen.
#include "mapview/frmMap.h"

#include "mapview/LikelyRegions.h"
#include "world/PanelState.h"
#include "world/World.h"

namespace mapview {

const QImage& frmMap::Backdrop()
{
    // The information windows blend over the view at one pixel per logical
    // pixel; on a HiDPI screen the view is scaled down for them once.
    if (m_canvas.DevicePixelRatio() == 1.0)
        return m_canvas.picMap;
    if (m_backdrop.isNull() || m_backdropOf != m_canvas.picMap.cacheKey()) {
        m_backdrop = m_canvas.picMap.scaled(m_canvas.ViewSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_backdrop.setDevicePixelRatio(1.0);
        m_backdropOf = m_canvas.picMap.cacheKey();
    }
    return m_backdrop;
}

void frmMap::ShowView(const ViewTransform& view)
{
    m_canvas.SetView(view);
    if (m_canvas.RedrawsOnPan())
        Redraw();
    else
        UpdateMap();
}

void frmMap::HalvingsReady(const QString& path)
{
    if (path == m_regionPath && !m_canvas.HasHalvings())
        m_canvas.SetHalvings(m_regions.Get(path));
}

void frmMap::ZoomTo(const Zoom& zoom, QPointF anchor)
{
    HideInformationWindows();
    m_wheel.Reset();
    m_canvas.SetZoom(zoom, anchor);
    m_world.settings.MapZoom = static_cast<int16_t>(ZoomSetting(zoom));
    if (m_mapLoaded)
        Redraw();
    emit zoomChanged();
}

void frmMap::ZoomTo(const Zoom& zoom)
{
    ZoomTo(zoom, QPointF(m_picMap->width() / 2.0, m_picMap->height() / 2.0));
}

void frmMap::WheelAt(QPointF pos, int angleDelta)
{
    const int steps = m_wheel.Add(angleDelta);
    if (steps == 0 || !m_mapLoaded || OverviewRect().contains(pos.toPoint()))
        return;
    const Zoom next = StepZoom(m_canvas.CurrentZoom(), steps, m_canvas.Scale());
    if (next != m_canvas.CurrentZoom())
        ZoomTo(next, pos);
}

bool frmMap::KeyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_C && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        CopyRoute();
        return true;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key) {
    case Qt::Key_R:
        SetRouteShown(!m_route.shown);
        return true;
    case Qt::Key_N:
        NextStop(modifiers & Qt::ShiftModifier);
        return true;
    case Qt::Key_G:
        GoToNextRegion();
        return true;
    default:
        break;
    }
    const QPointF pan = KeyPan(key, m_canvas.ViewSize());
    if (!pan.isNull()) {
        if (m_mapLoaded) {
            HideInformationWindows();
            ShowView(PanBy(m_canvas.View(), pan, m_canvas.MapSize(), m_canvas.ViewSize()));
        }
        return true;
    }
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
    case Qt::Key_Underscore: {
        const int steps = key == Qt::Key_Plus || key == Qt::Key_Equal ? 1 : -1;
        ZoomTo(StepZoom(m_canvas.CurrentZoom(), steps, m_canvas.Scale()));
        return true;
    }
    case Qt::Key_0:
        ZoomTo(Zoom::Level(100));
        return true;
    case Qt::Key_F:
        ZoomTo(Zoom::FitWindow());
        return true;
    case Qt::Key_Home:
        CentreOnSelection();
        return true;
    default:
        return false;
    }
}

void frmMap::CentreOnSelection()
{
    if (!m_mapLoaded)
        return;
    const MapContext ctx = Context();
    for (int i = 0; i < FlashLayerCount; ++i) {
        const FlashRow& row = FlashTableRow(static_cast<FlashLayer>(i));
        const MapLayer* layer = m_layers.Get(row.MapLayer);
        if (!layer || !m_panel.isTabActive(row.Tab))
            continue;
        if (const auto at = layer->SelectionPosition(ctx)) {
            CenterMapOn(at->x(), at->y());
            return;
        }
    }
}

void frmMap::SetOverviewShown(bool on)
{
    m_world.settings.OverviewInset = on ? 1 : 0;
    m_overviewDrag = false;
    m_picMap->update();
}

bool frmMap::OverviewShown() const
{
    return m_world.settings.OverviewInset != 0;
}

QRect frmMap::OverviewRect() const
{
    if (!OverviewShown() || !m_mapLoaded)
        return {};
    return mapview::OverviewRect(m_canvas.MapSize(), m_canvas.ViewSize());
}

const QImage& frmMap::OverviewPicture()
{
    const QRect inset = OverviewRect();
    if (inset.isEmpty() || m_overviewPicture.size() == inset.size())
        return m_overviewPicture;
    // From the smallest halving still larger than the overview.
    const auto halvings = m_regions.Get(m_regionPath);
    const double scale = double(inset.width()) / std::max(1, m_canvas.MapSize().width());
    const QImage& source = halvings && halvings->Level(0).size() == m_canvas.MapSize()
                               ? halvings->Level(halvings->LevelFor(scale))
                               : m_canvas.picOriginal;
    m_overviewPicture = source.scaled(inset.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_overviewPicture;
}

void frmMap::PreloadLikelyRegions()
{
    m_preloader->Preload(LikelyRegions(m_world, m_panel, m_currentCampaign, m_currentRegion));
}

} // namespace mapview
