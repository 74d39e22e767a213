#include "elite/EliteLayer.h"

#include "core/Pictures.h"
#include "core/TextNumbers.h"
#include "layers/LayerTooltip.h"
#include "mapview/FaintMarkers.h"
#include "mapview/MapResources.h"
#include "mapview/MarkerPainter.h"
#include "mapview/ZoneLayer.h"
#include "mapview/modZones.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace elitelayer {

using mapview::MapContext;
using mapview::MarkerRect;

namespace {

const modElite::EliteSkill* Skill(const World& world, int elite)
{
    if (elite < 0 || elite > world.elite.highest())
        return nullptr;
    return &world.elite.EliteSkills[static_cast<std::size_t>(elite)];
}

bool OnMap(const modElite::EliteLocation& loc, int c, int r)
{
    return loc.Campaign == c && loc.Region == r;
}

// What the box of `loc` covers and answers the pointer on.
MarkerRect Area(const modElite::EliteLocation& loc, bool large)
{
    return mapview::MarkerArea(mapview::MarkerKind::Elite, {loc.X, loc.Y}, {loc.Left, loc.Top, loc.Right, loc.Bottom},
                               large);
}

QString ProfessionAbbreviation(const World& world, int profession)
{
    if (profession < 0 || profession > world.professions.highest())
        return QString();
    return world.professions.Professions[static_cast<std::size_t>(profession)].Abbreviation;
}

QFont MarkerFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(mapview::PointsToPixels(8));
    font.setBold(true);
    return font;
}

// One box from (Left, Top) to (Right, Bottom), edges included (13 x 13
// pixels, the very pixels that answer the pointer), filled, with a black rim,
// and the marker code printed inside.
void DrawMarker(mapview::MarkerPainter& p, const modElite::EliteLocation& loc, QRgb fill, QPoint shift)
{
    if (loc.Right < loc.Left || loc.Bottom < loc.Top)
        return;
    const QRect box = QRect(QPoint(loc.Left, loc.Top), QPoint(loc.Right, loc.Bottom)).translated(shift);
    p.Box(box, fill, qRgb(0, 0, 0));
    if (!loc.MarkerType.isEmpty()) {
        const int x = box.left() + (loc.MarkerType.size() == 1 ? 3 : 1);
        p.Text(loc.MarkerType, x, box.top() - 1);
    }
}

} // namespace

QColor ProfessionColour(const World& world, int profession)
{
    if (profession < 0 || profession > world.professions.highest())
        return kNoEliteGrey;
    const uint32_t c = world.professions.Professions[static_cast<std::size_t>(profession)].Colour;
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void DrawElites(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                const mapview::MarkerPlacement& place)
{
    if (!panel.isShown(TabElite))
        return;
    mapview::MarkerPainter painter(picTemp, MarkerFont(), qRgb(0, 0, 0));
    const int zone = panel.ChosenZone(world.campaigns);
    const QString boss = panel.txtEliteBossName.toLower();

    // While the done skills are drawn: where each of their markers goes.
    mapview::FaintMarkers* faint = nullptr;
    // Large markers: the profession's abbreviation over the boss's code.
    auto drawSkill = [&](const modElite::EliteSkill& skill, QRgb fill, bool bossFilter, const QString& abbreviation) {
        for (std::size_t i = 1; i < skill.Locations.size(); ++i) {
            const modElite::EliteLocation& loc = skill.Locations[i];
            if (!OnMap(loc, c, r))
                continue;
            if (zone != 0 && zone != loc.Zone)
                continue;
            if (bossFilter && !boss.isEmpty() && !loc.Boss.toLower().contains(boss))
                continue;
            const QPoint shift = place.Shift({loc.X, loc.Y});
            if (faint) {
                const MarkerRect a = Area(loc, panel.LargeMarkers).Moved(shift);
                faint->Keep(QRect(QPoint(a.Left, a.Top), QPoint(a.Right, a.Bottom)).adjusted(-3, -3, 3, 3));
            }
            if (panel.LargeMarkers) {
                const MarkerRect a = Area(loc, true).Moved(shift);
                painter.ClearBox(QRect(QPoint(a.Left, a.Top), QPoint(a.Right, a.Bottom)), fill, abbreviation,
                                 loc.MarkerType);
            } else {
                DrawMarker(painter, loc, fill, shift);
            }
        }
    };

    auto drawListed = [&](bool done) {
        for (const PanelEntry& entry : panel.lstElite.entries) {
            const modElite::EliteSkill* skill = Skill(world, entry.data);
            if (!skill || entry.done != done)
                continue;
            drawSkill(*skill, ProfessionColour(world, skill->Profession).rgb(), true,
                      ProfessionAbbreviation(world, skill->Profession));
        }
    };
    // The skills already captured faintly and first, so that those still to
    // capture cover them.
    const auto& listed = panel.lstElite.entries;
    if (std::any_of(listed.begin(), listed.end(), [](const PanelEntry& e) { return e.done; })) {
        mapview::FaintMarkers done(picTemp);
        faint = &done;
        drawListed(true);
        faint = nullptr;
        done.Finish();
    }
    drawListed(false);
    drawSkill(world.elite.EliteSkills[0], kNoEliteGrey.rgb(), false, QString());
}

std::optional<EliteHit> FindEliteAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer,
                                    QPoint offset, bool eliteListOnly, const mapview::MarkerPlacement& place)
{
    const QPoint pt = mapview::MapPointAt(pointer, offset);
    auto search = [&](int elite) -> std::optional<EliteHit> {
        const modElite::EliteSkill* skill = Skill(world, elite);
        if (!skill)
            return std::nullopt;
        for (std::size_t i = 1; i < skill->Locations.size(); ++i) {
            const modElite::EliteLocation& loc = skill->Locations[i];
            if (OnMap(loc, c, r) &&
                Area(loc, panel.LargeMarkers).Moved(place.Shift({loc.X, loc.Y})).Contains(pt.x(), pt.y()))
                return EliteHit{elite, static_cast<int>(i)};
        }
        return std::nullopt;
    };
    for (const PanelEntry& entry : panel.lstElite.entries)
        if (auto hit = search(entry.data))
            return hit;
    if (eliteListOnly)
        return std::nullopt;
    for (const PanelEntry& entry : panel.lstGreens.entries) {
        if (entry.data < 1 || entry.data > world.greens.count())
            continue;
        const int elite = world.greens.Greens[static_cast<std::size_t>(entry.data)].EliteNumber;
        if (elite < 0)
            continue;
        if (auto hit = search(elite))
            return hit;
    }
    return std::nullopt;
}

// ---- Information window ------------------------------------------------------

namespace {

constexpr int kTooltipWidth = 330;
constexpr int kContentLeft = 12;
constexpr int kContentRight = kTooltipWidth - 12;
constexpr int kPictureSize = 56;
constexpr int kPictureTop = 26;
constexpr int kInfoLeft = kContentLeft + kPictureSize + 10;
constexpr int kCaptionWidth = 70;
constexpr int kBossCaptionWidth = 46;

const QColor kTooltipBackground(22, 22, 28);
const QColor kValueColour(240, 240, 236);
const QColor kDescriptionColour(214, 214, 206);
const QColor kGreenNameColour(120, 232, 110);
const QColor kGreenStatsColour(196, 222, 196);

using layertooltip::LabelFont;

// A label at (left, top), `width` wide, as tall as its text needs (at least
// one line), word-wrapped when `wrap`: the collectible layers' label, shown.
TooltipLabel MakeLabel(const QString& text, int left, int top, int width, const QFont& font, const QColor& colour,
                       bool wrap = true)
{
    const layertooltip::Label label = layertooltip::MakeLabel(text, left, top, width, font, colour, wrap);
    return {label.Text, label.Rect, label.Font, label.Colour, label.Flags, true};
}

void MoveTop(TooltipLabel& label, int top)
{
    label.Rect.moveTop(top);
}

QColor TextOn(const QColor& band)
{
    return qGray(band.rgb()) > 140 ? QColor(16, 16, 16) : QColor(250, 250, 250);
}

} // namespace

std::vector<const TooltipLabel*> EliteTooltip::Labels() const
{
    std::vector<const TooltipLabel*> all = {
        &lblExtEliteName,    &lblExtCaptionAttribute, &lblExtAttribute, &lblExtCaptionCampaign,
        &lblExtCampaign,     &lblExtCaptionType,      &lblExtType,      &lblExtDescription,
        &lblExtUpKeep,       &lblExtAdrenaline,       &lblExtEnergy,    &lblExtCastTime,
        &lblExtRechargeTime, &lblExtCaptionBoss,      &lblExtBoss,      &lblExtCaptionZone,
        &lblExtZone,         &lblExtCaptionNote,      &lblExtNote};
    for (std::size_t i = 0; i < lblGreen.size(); ++i) {
        all.push_back(&lblGreen[i]);
        all.push_back(&lblGreenStats[i]);
    }
    return all;
}

std::vector<const TooltipIcon*> EliteTooltip::Icons() const
{
    return {&imgExtElite, &imgExtUpKeep, &imgExtAdrenaline, &imgExtEnergy, &imgExtCast, &imgExtRecharge};
}

EliteTooltip FillEliteTooltip(const World& world, const PanelState& panel, int c, int r, int elite, int location)
{
    EliteTooltip t;
    t.Width = kTooltipWidth;
    t.Background = kTooltipBackground;
    const modElite::EliteSkill* skill = Skill(world, elite);
    static const modElite::EliteSkill kNoSkill;
    if (!skill)
        skill = &kNoSkill;
    static const modElite::EliteLocation kNoLocation;
    const modElite::EliteLocation& loc = location >= 1 && static_cast<std::size_t>(location) < skill->Locations.size()
                                             ? skill->Locations[static_cast<std::size_t>(location)]
                                             : kNoLocation;

    const bool listed = std::any_of(panel.lstElite.entries.begin(), panel.lstElite.entries.end(),
                                    [&](const PanelEntry& e) { return e.data == elite; });
    t.SkillShown = skill->Defined && panel.isShown(TabElite) && listed;
    const QColor captionColour = world.colourTable[0];
    const QFont valueFont = LabelFont(8);
    const QFont captionFont = LabelFont(8, true);
    const auto& text = world.language;

    // Title and skill section.
    t.BandColour = ProfessionColour(world, skill->Profession);
    t.lblExtEliteName = MakeLabel(skill->Name, kContentLeft, 6, kContentRight - kContentLeft, LabelFont(9, true),
                                  TextOn(t.BandColour), false);
    t.lblExtEliteName.Rect.setHeight(16);
    t.lblExtEliteName.Flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    t.Band = QRect(QPoint(6, 6), QPoint(t.Width - 7, t.lblExtEliteName.Rect.height() + 4));

    const QString campaignName =
        skill->Campaign < world.campaigns.size() ? world.campaigns[skill->Campaign].Name : QString();
    const int valueLeft = kInfoLeft + kCaptionWidth;
    const int valueWidth = kContentRight - valueLeft;
    int rowTop = kPictureTop + 20;
    auto row = [&](TooltipLabel& caption, TooltipLabel& value, int captionText, const QString& valueText) {
        caption = MakeLabel(text(captionText), kInfoLeft, rowTop, kCaptionWidth, captionFont, captionColour, false);
        value = MakeLabel(valueText, valueLeft, rowTop, valueWidth, valueFont, kValueColour, false);
        rowTop += 14;
    };
    row(t.lblExtCaptionAttribute, t.lblExtAttribute, Text::Attribute, skill->Attribute);
    row(t.lblExtCaptionCampaign, t.lblExtCampaign, Text::Campaign, campaignName);
    row(t.lblExtCaptionType, t.lblExtType, Text::SkillType, skill->SkillType);
    t.lblExtDescription = MakeLabel(skill->Description, kContentLeft, kPictureTop + kPictureSize + 8,
                                    kContentRight - kContentLeft, valueFont, kDescriptionColour);
    if (!skill->Picture.isEmpty()) {
        // Read only from a regular file: a FIFO named as a picture would block.
        const QImage picture = records::LoadPicture(skill->Picture);
        if (!picture.isNull())
            t.imgExtElite.Image =
                picture.scaled(kPictureSize, kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    t.imgExtElite.Rect = QRect(kContentLeft, kPictureTop, kPictureSize, kPictureSize);
    for (TooltipLabel* l : {&t.lblExtEliteName, &t.lblExtCaptionAttribute, &t.lblExtAttribute, &t.lblExtCaptionCampaign,
                            &t.lblExtCampaign, &t.lblExtCaptionType, &t.lblExtType, &t.lblExtDescription})
        l->Visible = t.SkillShown;
    t.imgExtElite.Visible = t.SkillShown && !t.imgExtElite.Image.isNull();

    // Costs and times, each an icon and its number, laid out left to right in
    // the order upkeep, adrenaline, energy, cast time, recharge.
    const mapview::MapResources& res = mapview::MapResources::Get();
    const int costTop = kPictureTop + 1;
    int costLeft = kInfoLeft;
    auto cost = [&](TooltipLabel& label, TooltipIcon& icon, mapview::CostIcon kind, bool shown, const QString& value,
                    const QFont& font) {
        icon.Image = res.Cost(kind);
        icon.Rect = QRect(QPoint(costLeft, kPictureTop), icon.Image.size());
        label = MakeLabel(value, costLeft + icon.Rect.width() + 3, costTop, 34, font, kValueColour, false);
        label.Visible = icon.Visible = t.SkillShown && shown;
        if (label.Visible)
            costLeft += icon.Rect.width() + 3 + std::max(16, QFontMetrics(font).horizontalAdvance(value)) + 10;
    };
    cost(t.lblExtUpKeep, t.imgExtUpKeep, mapview::CostIcon::Upkeep, skill->Upkeep != 0, QString::number(skill->Upkeep),
         valueFont);
    cost(t.lblExtAdrenaline, t.imgExtAdrenaline, mapview::CostIcon::Adrenaline, skill->Adrenaline > 0,
         QString::number(skill->Adrenaline), valueFont);
    cost(t.lblExtEnergy, t.imgExtEnergy, mapview::CostIcon::Energy, skill->Energy > 0, QString::number(skill->Energy),
         valueFont);
    // A fraction is set smaller, 2 pixels lower than the recharge time.
    const bool fraction = skill->CastTime.contains(u'/');
    cost(t.lblExtCastTime, t.imgExtCast, mapview::CostIcon::Cast, records::LeadingNumber(skill->CastTime) > 0,
         skill->CastTime, LabelFont(fraction ? 7 : 8));
    cost(t.lblExtRechargeTime, t.imgExtRecharge, mapview::CostIcon::Recharge, skill->Recharge >= 1,
         QString::number(skill->Recharge), valueFont);
    MoveTop(t.lblExtCastTime, t.lblExtRechargeTime.Rect.top() + (fraction ? 2 : 0));

    // Boss, zone and note.
    const int bossTop = t.SkillShown ? t.lblExtDescription.bottom() + 9 : t.lblExtEliteName.Rect.top() + 2;
    const int bossValueLeft = kContentLeft + kBossCaptionWidth;
    const int bossValueWidth = kContentRight - bossValueLeft;
    t.lblExtCaptionBoss =
        MakeLabel(text(Text::Boss), kContentLeft, bossTop, kBossCaptionWidth, captionFont, captionColour, false);
    t.lblExtBoss = MakeLabel(loc.Boss, bossValueLeft, bossTop, bossValueWidth, LabelFont(8, true), kValueColour);
    const int zoneTop = t.lblExtBoss.bottom() + 2;
    t.lblExtCaptionZone =
        MakeLabel(text(Text::Zone), kContentLeft, zoneTop, kBossCaptionWidth, captionFont, captionColour, false);
    t.lblExtZone = MakeLabel(modZones::ZoneName(world.campaigns, c, r, loc.Zone), bossValueLeft, zoneTop,
                             bossValueWidth, valueFont, kValueColour);
    int running;
    if (!loc.Note.isEmpty()) {
        t.lblExtCaptionNote = MakeLabel(text(Text::Note), kContentLeft, t.lblExtZone.bottom() + 2,
                                        kContentRight - kContentLeft, captionFont, captionColour, false);
        t.lblExtNote = MakeLabel(loc.Note, kContentLeft, t.lblExtCaptionNote.bottom() + 2, kContentRight - kContentLeft,
                                 valueFont, kDescriptionColour);
        running = t.lblExtNote.bottom() + 2;
    } else {
        t.lblExtCaptionNote.Visible = t.lblExtNote.Visible = false;
        running = t.lblExtZone.bottom() + 2;
    }

    // Green items dropped by this boss.
    if (panel.isShown(TabGreens) && loc.Greens.size() > 1) {
        running += 7;
        for (std::size_t g = 1; g < loc.Greens.size(); ++g) {
            const int number = loc.Greens[g];
            if (number < 1 || number > world.greens.count())
                continue;
            const modGreens::GreenItem& item = world.greens.Greens[static_cast<std::size_t>(number)];
            TooltipLabel name = MakeLabel(item.Name, kContentLeft, running, kContentRight - kContentLeft,
                                          LabelFont(8, true), kGreenNameColour);
            QStringList lines;
            for (std::size_t s = 1; s < item.Stats.size(); ++s)
                lines << QStringLiteral("- ") + item.Stats[s];
            TooltipLabel stats = MakeLabel(lines.join(QStringLiteral("\r\n")), kContentLeft + 8, name.bottom(),
                                           kContentRight - kContentLeft - 8, valueFont, kGreenStatsColour);
            running = stats.bottom() + 1;
            t.lblGreen.push_back(name);
            t.lblGreenStats.push_back(stats);
        }
        if (!t.lblGreen.empty())
            t.GreensSeparatorY = t.lblGreen.front().Rect.top() - 5;
    }
    if (t.SkillShown)
        t.DescriptionSeparatorY = t.lblExtDescription.bottom() + 5;
    t.Height = running + 8;
    return t;
}

QImage PaintEliteTooltip(const EliteTooltip& t, const QImage& viewport, QPoint position)
{
    QImage image(t.Width, t.Height, QImage::Format_RGB32);
    image.fill(t.Background);
    QPainter p(&image);
    if (t.SkillShown)
        p.fillRect(t.Band, t.BandColour);
    // The map under the window shows through at 80/255.
    const QRect under(position, QSize(t.Width - 1, t.Height - 1));
    p.setOpacity(80.0 / 255.0);
    p.drawImage(QPoint(0, 0), viewport.copy(under));
    p.setOpacity(1.0);
    p.setPen(QColor(180, 180, 180));
    p.drawRect(0, 0, t.Width - 1, t.Height - 1);
    p.setPen(QColor(100, 100, 100));
    p.drawRect(6, 6, t.Width - 13, t.Height - 13);
    if (t.DescriptionSeparatorY)
        p.drawLine(18, *t.DescriptionSeparatorY, t.Width - 18, *t.DescriptionSeparatorY);
    if (t.GreensSeparatorY)
        p.drawLine(18, *t.GreensSeparatorY, t.Width - 18, *t.GreensSeparatorY);

    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const TooltipIcon* icon : t.Icons())
        if (icon->Visible)
            p.drawImage(icon->Rect.topLeft(), icon->Image);
    for (const TooltipLabel* label : t.Labels()) {
        if (!label->Visible || label->Text.isEmpty())
            continue;
        p.setFont(label->Font);
        p.setPen(label->Colour);
        p.drawText(label->Rect, label->Flags, label->Text);
    }
    return image;
}

// ---- The layer -----------------------------------------------------------------

void EliteLayer::Draw(QImage& picTemp, const MapContext& ctx) const
{
    DrawElites(picTemp, ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, ctx.Place);
}

std::optional<mapview::LayerHit> EliteLayer::Find(QPointF pointer, const MapContext& ctx) const
{
    const auto hit = FindEliteAt(ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, pointer, ctx.Offset,
                                 false, ctx.Place);
    if (!hit)
        return std::nullopt;
    const auto& loc = ctx.world.elite.EliteSkills[static_cast<std::size_t>(hit->Elite)]
                          .Locations[static_cast<std::size_t>(hit->Location)];
    return mapview::LayerHit{hit->Elite, hit->Location,
                             Area(loc, ctx.panel.LargeMarkers).Moved(ctx.Place.Shift({loc.X, loc.Y}))};
}

std::optional<mapview::TooltipImage> EliteLayer::BuildTooltip(const mapview::LayerHit& hit, const MapContext& ctx,
                                                              const QImage& viewport) const
{
    const EliteTooltip t =
        FillEliteTooltip(ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, hit.Item, hit.SubItem);
    const QPoint pos = mapview::PlaceTooltip(QSize(t.Width, t.Height), hit.Marker, ctx.Offset, ctx.ViewSize);
    return mapview::TooltipImage{PaintEliteTooltip(t, viewport, pos), pos, TooltipTag(hit)};
}

std::optional<QPoint> EliteLayer::SelectionPosition(const MapContext& ctx) const
{
    if (!ctx.panel.lstElite.hasSelection() || !ctx.panel.lstLocations.hasSelection())
        return std::nullopt;
    // A skill already captured is drawn faintly and does not blink.
    if (ctx.panel.lstElite.entries[static_cast<std::size_t>(ctx.panel.lstElite.selected)].done)
        return std::nullopt;
    const modElite::EliteSkill* skill = Skill(ctx.world, ctx.panel.lstElite.selectedData());
    const int location = ctx.panel.lstLocations.selectedData();
    if (!skill || location < 1 || static_cast<std::size_t>(location) >= skill->Locations.size())
        return std::nullopt;
    const modElite::EliteLocation& loc = skill->Locations[static_cast<std::size_t>(location)];
    if (!OnMap(loc, ctx.CurrentCampaign, ctx.CurrentRegion))
        return std::nullopt;
    return QPoint(loc.X, loc.Y);
}

} // namespace elitelayer
