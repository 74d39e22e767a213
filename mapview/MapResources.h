// The pictures the map window draws with: zone icons, selection markers, the
// cost and time icons of the skill information window and the pointer shapes.
// They are drawn once, in code, with real alpha, in one
// style: rounded emblems with a soft shadow, a gradient body, a dark rim and a
// light symbol.
#pragma once

#include <QImage>
#include <QPoint>

#include <array>

namespace mapview {

// Layers whose selected item blinks, numbered as the flash table numbers them.
enum class FlashLayer { Collectors = 0, Elite = 1, Greens = 2, Notes = 3, Treasures = 4 };
inline constexpr int FlashLayerCount = 5;

enum class CostIcon { Upkeep, Adrenaline, Energy, Cast, Recharge };
inline constexpr int CostIconCount = 5;

// Number of zone icon sets (one per original campaign).
inline constexpr int ZoneIconSets = 3;

class MapResources {
public:
    // Built on first use; needs no window system.
    static const MapResources& Get();

    // The icon of a zone kind (1 open area .. 6 dungeon entrance) in icon set
    // 1..3. Open areas and dungeon entrances have one picture for every set.
    // A null image for kinds outside 1..6 or sets outside 1..3.
    const QImage& ZoneIcon(int kind, int iconSet) const;

    // The blinking frame of a layer's selected marker; `large` circles the
    // large markers.
    const QImage& Selection(FlashLayer layer, bool large = false) const
    {
        return (large ? m_largeSelection : m_selection)[static_cast<std::size_t>(layer)];
    }
    const QImage& Cost(CostIcon icon) const { return m_cost[static_cast<int>(icon)]; }

    // Pointer shapes: an open hand over the map, a closed hand while dragging.
    const QImage& HandCursor() const { return m_hand; }
    const QImage& GrabCursor() const { return m_grab; }
    QPoint CursorHotSpot() const { return {m_hand.width() / 2, m_hand.height() / 2}; }

private:
    MapResources();

    // [set 1..3][kind 2..5]; index 0 of each is unused.
    std::array<std::array<QImage, 7>, ZoneIconSets + 1> m_zone;
    QImage m_vanquish;
    QImage m_dungeon;
    QImage m_none;
    std::array<QImage, FlashLayerCount> m_selection;
    std::array<QImage, FlashLayerCount> m_largeSelection;
    std::array<QImage, CostIconCount> m_cost;
    QImage m_hand;
    QImage m_grab;
};

} // namespace mapview
