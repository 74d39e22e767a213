// The treasure chests layer of the map: a 15 x 15 chest icon at every listed
// chest of the map shown, the chest under the pointer, and the chest
// information window listing every character with the date it opened the
// chest.
#pragma once

#include "layers/LayerTooltip.h"
#include "mapview/MapLayer.h"

#include <QDate>
#include <QFont>
#include <QString>

namespace treasurelayer {

void DrawTreasures(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                   const mapview::MarkerPlacement& place = {});

// The first lstVarshaTreasures entry of campaign c, region r whose rectangle
// holds the map point under `pointer`, edges included; -1 when none.
int FindTreasureAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer, QPoint offset,
                   const mapview::MarkerPlacement& place = {});

// left + blanks + right, with at least one blank, until the whole text set in
// `font` (bold when `bold`) is at least `width` pixels wide.
QString PadToWidth(const QString& left, const QString& right, bool bold, const QFont& font, int width);

// The opened date as the window shows it: the short date of the locale with
// every "/" replaced by "-".
QString OpenedDateText(const QDate& date);

layertooltip::Tooltip FillTreasureTooltip(const World& world, int treasure);

class TreasureLayer : public mapview::MapLayer {
public:
    void Draw(QImage& picTemp, const mapview::MapContext& ctx) const override;
    std::optional<mapview::LayerHit> Find(QPointF pointer, const mapview::MapContext& ctx) const override;
    std::optional<mapview::TooltipImage> BuildTooltip(const mapview::LayerHit& hit, const mapview::MapContext& ctx,
                                                      const QImage& viewport) const override;
    // The chest selected in lstVarshaTreasures (pet places do not blink).
    std::optional<QPoint> SelectionPosition(const mapview::MapContext& ctx) const override;
};

} // namespace treasurelayer
