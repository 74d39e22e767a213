// The elite layer of the map: a 13 x 13 box in the profession's colour for
// every place of the skills the control panel lists (grey for bosses without
// an elite skill), the look-up of the box under the pointer, and the skill
// information window shown beside it. With large markers each box is larger,
// with the profession's abbreviation over the boss's code in clear letters.
#pragma once

#include "mapview/MapLayer.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace elitelayer {

// Fill colour of the boxes of bosses without an elite skill.
inline const QColor kNoEliteGrey(170, 170, 170);

// Colour of a profession (grey for numbers outside the table).
QColor ProfessionColour(const World& world, int profession);

// Draws the markers of the listed skills, then those of the bosses without
// skill, for campaign c, region r; zoomed, each where `place` puts it.
void DrawElites(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                const mapview::MarkerPlacement& place = {});

struct EliteHit {
    int Elite = 0;
    int Location = 0;
};

// The first place under the viewport point `pointer` (viewport offset
// `offset`) of a skill of the elite list, then, unless `eliteListOnly`, of
// the bosses of the listed green items, each box where `place` draws it.
// Zone and boss-name filters are not applied: a box the drawing leaves out
// still answers.
std::optional<EliteHit> FindEliteAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer,
                                    QPoint offset, bool eliteListOnly, const mapview::MarkerPlacement& place = {});

// ---- The skill information window ----------------------------------------

struct TooltipLabel {
    QString Text;
    QRect Rect; // in window coordinates
    QFont Font;
    QColor Colour;
    int Flags = 0; // Qt alignment and wrap flags
    bool Visible = false;
    int bottom() const { return Rect.y() + Rect.height(); }
};

struct TooltipIcon {
    QImage Image;
    QRect Rect;
    bool Visible = false;
};

// Content and layout of the window for one place of one skill.
struct EliteTooltip {
    bool SkillShown = false;
    int Width = 0;
    int Height = 0;
    QColor Background;
    QColor BandColour; // title band, when the skill is shown
    QRect Band;
    std::optional<int> DescriptionSeparatorY;
    std::optional<int> GreensSeparatorY;

    TooltipLabel lblExtEliteName, lblExtAttribute, lblExtCampaign, lblExtType, lblExtDescription;
    TooltipLabel lblExtUpKeep, lblExtAdrenaline, lblExtEnergy, lblExtCastTime, lblExtRechargeTime;
    TooltipLabel lblExtBoss, lblExtZone, lblExtNote;
    TooltipLabel lblExtCaptionAttribute, lblExtCaptionCampaign, lblExtCaptionType;
    TooltipLabel lblExtCaptionBoss, lblExtCaptionZone, lblExtCaptionNote;
    TooltipIcon imgExtElite, imgExtUpKeep, imgExtAdrenaline, imgExtEnergy, imgExtCast, imgExtRecharge;
    std::vector<TooltipLabel> lblGreen, lblGreenStats;

    // Every label and icon, in painting order.
    std::vector<const TooltipLabel*> Labels() const;
    std::vector<const TooltipIcon*> Icons() const;
};

// Fills texts, visibility and the layout of the window (c, r: the map shown).
EliteTooltip FillEliteTooltip(const World& world, const PanelState& panel, int c, int r, int elite, int location);

// Paints the window: background, title band, the viewport under it at
// `position` blended in at 80/255, the two frames, the separators, then the
// labels and icons.
QImage PaintEliteTooltip(const EliteTooltip& tooltip, const QImage& viewport, QPoint position);

class EliteLayer : public mapview::MapLayer {
public:
    void Draw(QImage& picTemp, const mapview::MapContext& ctx) const override;
    std::optional<mapview::LayerHit> Find(QPointF pointer, const mapview::MapContext& ctx) const override;
    std::optional<mapview::TooltipImage> BuildTooltip(const mapview::LayerHit& hit, const mapview::MapContext& ctx,
                                                      const QImage& viewport) const override;
    std::optional<QPoint> SelectionPosition(const mapview::MapContext& ctx) const override;
};

} // namespace elitelayer
