#include "WorldJson.h"

#include "core/ColourDifference.h"

#include <QJsonArray>

#include <vector>

namespace {

class JsonWriter {
public:
    explicit JsonWriter(const World& world) : m_world(world) {}

    QString path(const QString& full) const
    {
        if (full.isEmpty())
            return QString();
        return full.startsWith(m_world.appFolder) ? full.mid(m_world.appFolder.size()) : full;
    }

    template <typename T>
    static QJsonArray strings(const std::vector<T>& list, std::size_t first)
    {
        QJsonArray out;
        for (std::size_t i = first; i < list.size(); ++i)
            out.append(list[i]);
        return out;
    }

    template <typename Rec>
    static void marker(QJsonObject& o, const Rec& r)
    {
        o["x"] = r.X;
        o["y"] = r.Y;
        o["left"] = r.Left;
        o["top"] = r.Top;
        o["right"] = r.Right;
        o["bottom"] = r.Bottom;
    }

    QJsonArray campaigns() const
    {
        QJsonArray out;
        const auto& table = m_world.campaigns;
        for (std::size_t c = 0; c < table.size(); ++c) {
            QJsonArray regions;
            for (std::size_t r = 1; r < table[c].Regions.size(); ++r) {
                const RegionEntry& region = table[c].Regions[r];
                QJsonArray zones;
                for (std::size_t z = 1; z < region.Zones.size(); ++z) {
                    const ZoneEntry& zone = region.Zones[z];
                    zones.append(QJsonObject{{"number", int(z)},
                                             {"id", zone.Id},
                                             {"name", zone.Name},
                                             {"kind", int(zone.Kind)},
                                             {"iconFlag", zone.IconFlag},
                                             {"x", zone.X},
                                             {"y", zone.Y}});
                }
                regions.append(QJsonObject{{"number", int(r)},
                                           {"name", region.Name},
                                           {"imagePath", path(region.ImagePath)},
                                           {"zones", zones}});
            }
            out.append(QJsonObject{{"number", int(c)}, {"name", table[c].Name}, {"regions", regions}});
        }
        return out;
    }

    QJsonArray professions() const
    {
        QJsonArray out;
        const auto& table = m_world.professions.Professions;
        for (std::size_t p = 1; p < table.size(); ++p)
            out.append(QJsonObject{{"number", int(p)},
                                   {"name", table[p].Name},
                                   {"abbreviation", table[p].Abbreviation},
                                   {"colour", qint64(table[p].Colour)},
                                   {"attributes", strings(table[p].Attributes, 1)}});
        return out;
    }

    QJsonArray eliteSkills() const
    {
        QJsonArray out;
        const auto& table = m_world.elite.EliteSkills;
        for (std::size_t e = 0; e < table.size(); ++e) {
            const auto& s = table[e];
            QJsonArray captured;
            for (std::size_t c = 0; c < s.Captured.size(); ++c)
                if (s.Captured[c])
                    captured.append(int(c));
            QJsonArray locations;
            for (std::size_t i = 1; i < s.Locations.size(); ++i) {
                const auto& l = s.Locations[i];
                QJsonObject o{
                    {"number", int(i)}, {"campaign", l.Campaign}, {"region", l.Region},        {"zone", l.Zone},
                    {"boss", l.Boss},   {"note", l.Note},         {"markerType", l.MarkerType}};
                marker(o, l);
                QJsonArray greens;
                for (std::size_t g = 1; g < l.Greens.size(); ++g)
                    greens.append(l.Greens[g]);
                o["greens"] = greens;
                locations.append(o);
            }
            out.append(QJsonObject{{"number", int(e)},
                                   {"name", s.Name},
                                   {"defined", s.Defined},
                                   {"attribute", s.Attribute},
                                   {"skillType", s.SkillType},
                                   {"upkeep", s.Upkeep},
                                   {"adrenaline", s.Adrenaline},
                                   {"energy", s.Energy},
                                   {"castTime", s.CastTime},
                                   {"recharge", s.Recharge},
                                   {"description", s.Description},
                                   {"picture", path(s.Picture)},
                                   {"profession", s.Profession},
                                   {"campaign", s.Campaign},
                                   {"captured", captured},
                                   {"locations", locations}});
        }
        return out;
    }

    QJsonArray greens() const
    {
        QJsonArray out;
        const auto& table = m_world.greens.Greens;
        for (std::size_t g = 1; g < table.size(); ++g)
            out.append(QJsonObject{{"number", int(g)},
                                   {"name", table[g].Name},
                                   {"boss", table[g].Boss},
                                   {"eliteNumber", table[g].EliteNumber},
                                   {"locationIndex", table[g].LocationIndex},
                                   {"stats", strings(table[g].Stats, 1)}});
        return out;
    }

    QJsonArray collectors() const
    {
        QJsonArray out;
        const auto& table = m_world.collectors.Collectors;
        for (std::size_t i = 1; i < table.size(); ++i) {
            const auto& c = table[i];
            QJsonArray rewards;
            for (std::size_t r = 1; r < c.Rewards.size(); ++r)
                rewards.append(QJsonObject{{"number", int(r)},
                                           {"name", c.Rewards[r].Name},
                                           {"handMask", c.Rewards[r].HandMask},
                                           {"stats", strings(c.Rewards[r].Stats, 1)}});
            QJsonObject o{{"id", int(i)},           {"name", c.Name},
                          {"isArmor", c.IsArmor},   {"isLowLevel", c.IsLowLevel},
                          {"location", c.Location}, {"request", c.Request},
                          {"campaign", c.Campaign}, {"region", c.Region},
                          {"zone", c.Zone},         {"rewards", rewards}};
            marker(o, c);
            out.append(o);
        }
        return out;
    }

    QJsonArray requestTypes() const
    {
        QJsonArray out;
        const auto& table = m_world.collectors.RequestTypes;
        for (std::size_t i = 1; i < table.size(); ++i)
            out.append(QJsonObject{{"number", int(i)}, {"name", table[i].Name}, {"isLowLevel", table[i].IsLowLevel}});
        return out;
    }

    QJsonArray treasures() const
    {
        QJsonArray out;
        const auto& table = m_world.treasures.Treasures;
        for (std::size_t i = 1; i < table.size(); ++i) {
            const auto& t = table[i];
            if (!t.Present) {
                // A line that could not be read keeps its number only.
                out.append(QJsonObject{{"number", int(i)}, {"present", false}});
                continue;
            }
            QJsonObject opened;
            for (std::size_t k = 0; k < t.OpenedOn.size(); ++k)
                if (t.OpenedOn[k])
                    opened[QString::number(k)] = t.OpenedOn[k]->toString(Qt::ISODate);
            QJsonObject o{{"number", int(i)},   {"name", t.Name}, {"campaign", t.Campaign},
                          {"region", t.Region}, {"zone", t.Zone}, {"openedOn", opened}};
            marker(o, t);
            out.append(o);
        }
        return out;
    }

    QJsonArray pets() const
    {
        QJsonArray out;
        const auto& table = m_world.pets.Pets;
        for (std::size_t i = 1; i < table.size(); ++i) {
            const auto& p = table[i];
            QJsonArray places;
            for (std::size_t j = 1; j < p.Places.size(); ++j) {
                const auto& pl = p.Places[j];
                QJsonObject o{{"number", int(j)},
                              {"campaign", pl.Campaign},
                              {"region", pl.Region},
                              {"zone", pl.Zone},
                              {"note", pl.Note}};
                marker(o, pl);
                places.append(o);
            }
            out.append(QJsonObject{{"id", int(i)},
                                   {"name", p.Name},
                                   {"detail", p.Detail},
                                   {"picture", path(p.Picture)},
                                   {"places", places}});
        }
        return out;
    }

    QJsonArray notes() const
    {
        QJsonArray out;
        const auto& table = m_world.notes.Notes;
        for (std::size_t i = 1; i < table.size(); ++i) {
            const auto& n = table[i];
            QJsonObject o{{"number", int(i)},
                          {"shortDesc", n.ShortDesc},
                          {"body", n.Body},
                          {"campaign", n.Campaign},
                          {"region", n.Region}};
            marker(o, n);
            out.append(o);
        }
        return out;
    }

    QJsonArray characters() const
    {
        QJsonArray out;
        const auto& table = m_world.characters.Characters;
        for (std::size_t i = 1; i < table.size(); ++i)
            out.append(QJsonObject{{"number", int(i)}, {"name", table[i]}});
        return out;
    }

    QJsonObject options() const
    {
        const auto& s = m_world.settings;
        return QJsonObject{{"Campaign", s.Campaign},
                           {"Region", s.Region},
                           {"Zone", s.Zone},
                           {"Profession", s.Profession},
                           {"SecondaryProfession", s.SecondaryProfession},
                           {"AllElite", s.AllElite},
                           {"Character", s.Character},
                           {"Legend", s.Legend},
                           {"PosX", s.PosX},
                           {"PosY", s.PosY},
                           {"DimX", s.DimX},
                           {"DimY", s.DimY},
                           {"ShowElites", s.ShowElites},
                           {"ShowCollectors", s.ShowCollectors},
                           {"ShowGreens", s.ShowGreens},
                           {"ShowNotes", s.ShowNotes},
                           {"LegendX", s.LegendX},
                           {"LegendY", s.LegendY},
                           {"RightClickNeeded", s.RightClickNeeded},
                           {"AlwaysOnTop", s.AlwaysOnTop},
                           {"CollectorLevel", s.CollectorLevel}};
    }

    QJsonArray colourTable() const
    {
        QJsonArray out;
        for (const QColor& c : m_world.colourTable)
            out.append(c.name(QColor::HexRgb));
        return out;
    }

    QJsonObject language() const
    {
        QJsonObject out;
        for (int n = 0; n <= m_world.language.highest(); ++n)
            if (m_world.language.defined(n))
                out[QString::number(n)] = m_world.language(n);
        return out;
    }

private:
    const World& m_world;
};

} // namespace

QJsonObject WorldToJson(const World& world)
{
    const JsonWriter w(world);
    return QJsonObject{{"campaigns", w.campaigns()},
                       {"professions", w.professions()},
                       {"eliteSkills", w.eliteSkills()},
                       {"greens", w.greens()},
                       {"collectors", w.collectors()},
                       {"requestTypes", w.requestTypes()},
                       {"treasures", w.treasures()},
                       {"pets", w.pets()},
                       {"notes", w.notes()},
                       {"characters", w.characters()},
                       {"options", w.options()},
                       {"lastUpdateText", world.lastUpdateText},
                       {"colourTable", w.colourTable()},
                       {"language", w.language()}};
}

QString WorldSummary(const World& world)
{
    auto countIf = [](const auto& list, std::size_t first, auto pred) {
        int n = 0;
        for (std::size_t i = first; i < list.size(); ++i)
            n += pred(list[i]) ? 1 : 0;
        return n;
    };
    auto named = [](const auto& rec) { return !rec.Name.isEmpty(); };

    int regions = 0, zones = 0;
    for (const auto& c : world.campaigns) {
        regions += countIf(c.Regions, 1, named);
        for (const auto& r : c.Regions)
            zones += static_cast<int>(r.Zones.size()) - 1;
    }
    int locations = 0;
    for (const auto& s : world.elite.EliteSkills)
        locations += static_cast<int>(s.Locations.size()) - 1;
    int places = 0;
    for (const auto& p : world.pets.Pets)
        places += static_cast<int>(p.Places.size()) - 1;
    int texts = 0;
    for (int n = 0; n <= world.language.highest(); ++n)
        texts += world.language.defined(n) ? 1 : 0;

    const QList<std::pair<const char*, int>> counts = {
        {"campaigns", countIf(world.campaigns, 0, named)},
        {"regions", regions},
        {"zones", zones},
        {"professions", countIf(world.professions.Professions, 1, named)},
        {"elite skills", countIf(world.elite.EliteSkills, 0, [](const auto& s) { return s.Defined; })},
        {"elite locations", locations},
        {"greens", world.greens.count()},
        {"collectors", countIf(world.collectors.Collectors, 1, named)},
        {"request types", static_cast<int>(world.collectors.RequestTypes.size()) - 1},
        {"treasures", countIf(world.treasures.Treasures, 1, [](const auto& t) { return t.Present; })},
        {"pets", countIf(world.pets.Pets, 1, named)},
        {"pet places", places},
        {"notes", countIf(world.notes.Notes, 1, [](const auto& n) { return !n.ShortDesc.isEmpty(); })},
        {"characters", countIf(world.characters.Characters, 1, [](const QString& s) { return !s.isEmpty(); })},
        {"language texts", texts},
        {"diagnostics", static_cast<int>(world.diagnostics.size())},
    };
    QStringList parts;
    for (const auto& [name, n] : counts)
        parts << QStringLiteral("%1 %2").arg(QString::fromLatin1(name)).arg(n);
    return parts.join(QStringLiteral(", "));
}

QString PaletteReport(const World& world)
{
    std::vector<colourdiff::Rgb> colours;
    std::vector<QString> names;
    const auto& table = world.professions.Professions;
    for (const auto& p : table) {
        if (p.Name.isEmpty())
            continue;
        colours.push_back(colourdiff::FromColourNumber(p.Colour));
        names.push_back(p.Name);
    }
    if (colours.size() < 2)
        return QString();
    QStringList parts;
    for (colourdiff::Vision vision : colourdiff::AllVisions) {
        const auto pair = colourdiff::FindClosestPair(colours, vision);
        parts << QStringLiteral("%1 %2 (%3 / %4)")
                     .arg(QString::fromLatin1(colourdiff::VisionName(vision)))
                     .arg(pair.DeltaE, 0, 'f', 1)
                     .arg(names[static_cast<std::size_t>(pair.First)], names[static_cast<std::size_t>(pair.Second)]);
    }
    return QStringLiteral("closest profession colours, CIEDE2000: ") + parts.join(QStringLiteral(", "));
}
