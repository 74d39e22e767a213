// The blinking of the marker of the item selected in the control panel: one
// timer per layer, armed after every full redraw when the layer is shown, has
// a selection and its tab is the active one; each tick draws or erases the
// marker picture on the drawing buffer from a saved background, never
// redrawing the layers.
#pragma once

#include "mapview/MapLayer.h"
#include "mapview/MapResources.h"

#include <QImage>
#include <QRect>

#include <array>
#include <optional>

namespace mapview {

// Interval of every flash timer.
inline constexpr int FlashIntervalMs = 250;

// One row of the flash table.
struct FlashRow {
    FlashLayer Layer;
    LayerId MapLayer; // the map layer that knows where its selection stands
    int ShowBox;      // chkShowObject index
    int Tab;          // lblTab index
};
const FlashRow& FlashTableRow(FlashLayer layer);
// The flashing layer of show box `box` (chkShowObject index 0..4).
std::optional<FlashLayer> FlashLayerOfShowBox(int box);

// Order in which a full redraw re-arms the timers.
inline constexpr std::array<FlashLayer, FlashLayerCount> FlashRestartOrder = {
    FlashLayer::Greens, FlashLayer::Elite, FlashLayer::Collectors, FlashLayer::Notes, FlashLayer::Treasures};

// True when the panel list that holds the layer's selection holds one.
bool FlashHasSelection(FlashLayer layer, const PanelState& panel);

// Rectangle of the marker picture `marker` centred on map point `at`.
QRect FlashMarkerRect(QPoint at, QSize marker);

class SelectionFlasher {
public:
    // After the layers are drawn: saves the background under and draws the
    // marker of every layer that flashes, and arms or disarms its timer. The
    // phases are kept.
    void RestartFlashing(QImage& picTemp, const MapLayers& layers, const MapContext& ctx);

    // One tick of layer `layer`'s timer; true when picTemp changed.
    bool Tick(FlashLayer layer, QImage& picTemp, const PanelState& panel, bool dragging);

    bool Enabled(FlashLayer layer) const { return slot(layer).enabled; }
    void SetEnabled(FlashLayer layer, bool on) { slot(layer).enabled = on; }
    bool Phase(FlashLayer layer) const { return slot(layer).phase; }
    QRect MarkerRect(FlashLayer layer) const { return slot(layer).rect; }

    void SaveFlashBackground(FlashLayer layer, const QImage& picTemp);
    void DrawFlashMarker(FlashLayer layer, QImage& picTemp) const;
    void EraseFlashMarker(FlashLayer layer, QImage& picTemp) const;

private:
    struct Slot {
        bool enabled = false;
        bool phase = false;
        QRect rect;
        bool large = false; // the frame of the large markers
        QImage background;
    };
    Slot& slot(FlashLayer l) { return m_slots[static_cast<std::size_t>(l)]; }
    const Slot& slot(FlashLayer l) const { return m_slots[static_cast<std::size_t>(l)]; }
    std::array<Slot, FlashLayerCount> m_slots;
};

} // namespace mapview
