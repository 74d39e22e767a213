// The layer contract of the map: every layer draws its markers onto the
// drawing buffer in map coordinates, and the pointer layers find the item
// under the pointer, build its information window and say where their
// selected item stands (for the blinking marker). The map window keeps one
// slot per layer, filled by the program (app/StandardLayers); an empty slot
// draws and finds nothing.
#pragma once

#include "mapview/MapGeometry.h"
#include "mapview/MapZoom.h"

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QString>

#include <array>
#include <memory>
#include <optional>

struct World;
struct PanelState;

namespace mapview {

enum class LayerId { Zones, Greens, Elite, Collectors, Notes, Treasures, Pets, Route };
inline constexpr int LayerCount = 8;

// Later layers cover earlier ones; the planned route runs under the markers.
inline constexpr std::array<LayerId, LayerCount> DrawOrder = {LayerId::Zones,     LayerId::Route,      LayerId::Greens,
                                                              LayerId::Elite,     LayerId::Collectors, LayerId::Notes,
                                                              LayerId::Treasures, LayerId::Pets};

// The first layer that answers the pointer wins; zones and greens never do.
inline constexpr std::array<LayerId, 5> HitTestOrder = {LayerId::Elite, LayerId::Collectors, LayerId::Notes,
                                                        LayerId::Treasures, LayerId::Pets};

class LabelSpace;

// What a layer reads: the tables, the panel, and the map shown.
struct MapContext {
    const World& world;
    const PanelState& panel;
    int CurrentCampaign = -1;
    int CurrentRegion = -1;
    // Where the drawing buffer's top-left corner stands in the viewport: at
    // 100 % the map offset (MapOffsetX, MapOffsetY). A viewport point minus
    // it is a drawing buffer point.
    QPoint Offset;
    QSize ViewSize; // size of the viewport picMap
    // Zoomed: where the markers go in the drawing buffer (see
    // MarkerPlacement); at 100 % the map's own coordinates.
    MarkerPlacement Place;
    // Zoomed: the room the labels take, so that none covers another; null
    // at 100 %, where every label is drawn.
    LabelSpace* Labels = nullptr;
};

// An item under the pointer: the layer's item number (elite number,
// collector number, ...), an optional sub-index (location index), and the
// marker rectangle as drawn (drawing buffer coordinates: the map's at 100 %)
// that the information window sits by.
struct LayerHit {
    int Item = 0;
    int SubItem = 0;
    MarkerRect Marker;
};

// A finished information window: its picture and its place in the viewport.
struct TooltipImage {
    QImage Image;
    QPoint Position;
    QString Tag; // identifies the item shown (decimal item number)
};

class MapLayer {
public:
    virtual ~MapLayer() = default;

    // Draws the layer's markers of the current region onto the drawing buffer
    // (a 32-bit image), setting up whatever painter, font and colours it needs.
    virtual void Draw(QImage& picTemp, const MapContext& ctx) const = 0;

    // The item whose marker lies under the viewport point, if any.
    virtual std::optional<LayerHit> Find(QPointF pointer, const MapContext& ctx) const { return std::nullopt; }

    // The tag an information window for `hit` carries; a shown window with the
    // same tag is not rebuilt.
    virtual QString TooltipTag(const LayerHit& hit) const { return QString::number(hit.Item); }

    // Builds the information window for `hit`; `viewport` is what picMap
    // currently shows (blended under the window).
    virtual std::optional<TooltipImage> BuildTooltip(const LayerHit& hit, const MapContext& ctx,
                                                     const QImage& viewport) const
    {
        return std::nullopt;
    }

    // Map position of the item selected in the panel for this layer, when it
    // has one on the map shown.
    virtual std::optional<QPoint> SelectionPosition(const MapContext& ctx) const { return std::nullopt; }
};

// One slot per layer, by LayerId.
class MapLayers {
public:
    void Set(LayerId id, std::unique_ptr<MapLayer> layer) { m_slots[Index(id)] = std::move(layer); }
    const MapLayer* Get(LayerId id) const { return m_slots[Index(id)].get(); }

    // Draws every filled slot in draw order.
    void DrawAll(QImage& picTemp, const MapContext& ctx) const;

    struct ChainHit {
        LayerId Layer;
        LayerHit Hit;
    };
    // Asks the pointer layers in hit-test order; the first hit wins.
    std::optional<ChainHit> HitTest(QPointF pointer, const MapContext& ctx) const;

private:
    static std::size_t Index(LayerId id) { return static_cast<std::size_t>(id); }
    std::array<std::unique_ptr<MapLayer>, LayerCount> m_slots;
};

// Map point under a viewport point: pointer minus offset, each axis rounded to
// the nearest whole number, halves to even.
QPoint MapPointAt(QPointF pointer, QPoint offset);

} // namespace mapview
