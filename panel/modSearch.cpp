#include "panel/modSearch.h"

#include "core/TextNumbers.h"
#include "mapview/modZones.h"

#include <algorithm>

namespace modSearch {

namespace {

// Letters of Windows-1252 that no decomposition separates into a base
// letter and an accent.
const char16_t* SpelledOut(char16_t c)
{
    switch (c) {
    case u'\u00C6':
    case u'\u00E6':
        return u"ae"; // Æ æ
    case u'\u0152':
    case u'\u0153':
        return u"oe"; // Œ œ
    case u'\u00DF':
        return u"ss"; // ß
    case u'\u00D8':
    case u'\u00F8':
        return u"o"; // Ø ø
    case u'\u00D0':
    case u'\u00F0':
        return u"d"; // Ð ð
    case u'\u00DE':
    case u'\u00FE':
        return u"th"; // Þ þ
    case u'\u0192':
        return u"f"; // ƒ
    default:
        return nullptr;
    }
}

QString Joined(const QString& a, const QString& b, const QString& c)
{
    QString out;
    for (const QString* part : {&a, &b, &c}) {
        if (part->isEmpty())
            continue;
        if (!out.isEmpty())
            out += QStringLiteral(" - ");
        out += *part;
    }
    return out;
}

QString CampaignName(const CampaignTable& campaigns, int c)
{
    return c >= 0 && c < static_cast<int>(campaigns.size()) ? campaigns[c].Name : QString();
}

QString RegionName(const CampaignTable& campaigns, int c, int r)
{
    return modCampaigns::RegionExists(campaigns, c, r) ? campaigns[c].Regions[r].Name : QString();
}

// "zone - region - campaign" of a place; zone 0 is none.
QString PlaceText(const CampaignTable& campaigns, int c, int r, int zone)
{
    return Joined(zone ? modZones::ZoneName(campaigns, c, r, zone) : QString(), RegionName(campaigns, c, r),
                  CampaignName(campaigns, c));
}

} // namespace

int TabOf(Kind kind)
{
    switch (kind) {
    case Kind::Collector:
    case Kind::Reward:
        return TabCollectors;
    case Kind::Green:
        return TabGreens;
    case Kind::Note:
        return TabNotes;
    case Kind::Chest:
    case Kind::Pet:
        return TabTreasuresPets;
    default:
        return TabElite;
    }
}

int KindTextNumber(Kind kind)
{
    switch (kind) {
    case Kind::Skill:
        return Text::KindSkill;
    case Kind::Boss:
        return Text::Boss;
    case Kind::Collector:
        return Text::KindCollector;
    case Kind::Reward:
        return Text::KindReward;
    case Kind::Green:
        return Text::KindGreen;
    case Kind::Chest:
        return Text::KindChest;
    case Kind::Pet:
        return Text::KindPet;
    case Kind::Zone:
        return Text::Zone;
    case Kind::Region:
        return Text::Region;
    case Kind::Campaign:
        return Text::Campaign;
    case Kind::Note:
        return Text::Note;
    }
    return Text::KindSkill;
}

QString Fold(QStringView text)
{
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    QString out;
    if (ascii) {
        out = text.toString();
        for (QChar& c : out)
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + 32);
        return out;
    }
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (const char16_t* spelled = SpelledOut(c.unicode()))
            out += QStringView(spelled);
        else
            out += c.toCaseFolded();
    }
    return out;
}

void SearchIndex::Rebuild(const World& world)
{
    m_entries.clear();
    const CampaignTable& campaigns = world.campaigns;
    auto add = [this](Result r) {
        QString folded = Fold(r.name);
        m_entries.push_back({std::move(r), std::move(folded)});
    };
    auto named = [](const QString& name) { return !name.trimmed().isEmpty(); };

    const auto& skills = world.elite.EliteSkills;
    // Elite 0 holds the bosses without a skill: bosses, but no skill.
    for (int e = 0; e < static_cast<int>(skills.size()); ++e) {
        const modElite::EliteSkill& skill = skills[static_cast<std::size_t>(e)];
        const bool isSkill = e > 0 && skill.Defined && named(skill.Name);
        if (e > 0 && !skill.Defined)
            continue;
        if (isSkill && skill.Locations.size() <= 1)
            add({Kind::Skill, skill.Name, CampaignName(campaigns, skill.Campaign), skill.Campaign, 0, e, 0});
        for (int i = 1; i < static_cast<int>(skill.Locations.size()); ++i) {
            const modElite::EliteLocation& l = skill.Locations[static_cast<std::size_t>(i)];
            const QString where = PlaceText(campaigns, l.Campaign, l.Region, l.Zone);
            if (isSkill)
                add({Kind::Skill, skill.Name, where, l.Campaign, l.Region, e, i, l.X, l.Y});
            if (named(l.Boss))
                add({Kind::Boss, l.Boss, where, l.Campaign, l.Region, e, i, l.X, l.Y});
        }
    }

    const auto& collectors = world.collectors.Collectors;
    for (int id = 1; id < static_cast<int>(collectors.size()); ++id) {
        const modCollectors::Collector& col = collectors[static_cast<std::size_t>(id)];
        if (!named(col.Name))
            continue;
        const QString where = PlaceText(campaigns, col.Campaign, col.Region, col.Zone);
        const int x = col.X, y = col.X < 0 ? -1 : col.Y;
        add({Kind::Collector, col.Name, where, col.Campaign, col.Region, id, 0, x, y});
        for (int k = 1; k < static_cast<int>(col.Rewards.size()); ++k)
            if (named(col.Rewards[static_cast<std::size_t>(k)].Name))
                add({Kind::Reward, col.Rewards[static_cast<std::size_t>(k)].Name, where, col.Campaign, col.Region, id,
                     k, x, y});
    }

    const auto& greens = world.greens.Greens;
    for (int g = 1; g < static_cast<int>(greens.size()); ++g) {
        const modGreens::GreenItem& green = greens[static_cast<std::size_t>(g)];
        if (!named(green.Name))
            continue;
        Result r{Kind::Green, green.Name, QString(), -1, 0, g, 0};
        // A green is where the boss that drops it stands.
        if (green.EliteNumber >= 0 && green.EliteNumber < static_cast<int>(skills.size())) {
            const auto& locations = skills[static_cast<std::size_t>(green.EliteNumber)].Locations;
            if (green.LocationIndex > 0 && green.LocationIndex < static_cast<int>(locations.size())) {
                const modElite::EliteLocation& l = locations[static_cast<std::size_t>(green.LocationIndex)];
                r.location = PlaceText(campaigns, l.Campaign, l.Region, l.Zone);
                r.campaign = l.Campaign;
                r.region = l.Region;
                r.x = l.X;
                r.y = l.Y;
            }
        }
        add(std::move(r));
    }

    const auto& chests = world.treasures.Treasures;
    for (int t = 1; t < static_cast<int>(chests.size()); ++t) {
        const modTreasures::Treasure& chest = chests[static_cast<std::size_t>(t)];
        if (chest.Present && named(chest.Name))
            add({Kind::Chest, chest.Name, PlaceText(campaigns, chest.Campaign, chest.Region, chest.Zone),
                 chest.Campaign, chest.Region, t, 0, chest.X, chest.Y});
    }

    const auto& pets = world.pets.Pets;
    for (int id = 1; id < static_cast<int>(pets.size()); ++id) {
        const modPets::Pet& pet = pets[static_cast<std::size_t>(id)];
        if (!named(pet.Name))
            continue;
        if (pet.Places.size() <= 1)
            add({Kind::Pet, pet.Name, QString(), -1, 0, id, 0});
        for (int j = 1; j < static_cast<int>(pet.Places.size()); ++j) {
            const modPets::PetPlace& p = pet.Places[static_cast<std::size_t>(j)];
            add({Kind::Pet, pet.Name, PlaceText(campaigns, p.Campaign, p.Region, p.Zone), p.Campaign, p.Region, id, j,
                 p.X, p.Y});
        }
    }

    for (int c = 0; c < static_cast<int>(campaigns.size()); ++c) {
        const CampaignEntry& campaign = campaigns[static_cast<std::size_t>(c)];
        if (named(campaign.Name))
            add({Kind::Campaign, campaign.Name, QString(), c, 0, c, 0});
        for (int r = 1; r < static_cast<int>(campaign.Regions.size()); ++r) {
            const RegionEntry& region = campaign.Regions[static_cast<std::size_t>(r)];
            if (!named(region.Name))
                continue;
            add({Kind::Region, region.Name, campaign.Name, c, r, r, 0});
            const QString where = Joined(QString(), region.Name, campaign.Name);
            for (int z = 1; z < static_cast<int>(region.Zones.size()); ++z) {
                const ZoneEntry& zone = region.Zones[static_cast<std::size_t>(z)];
                if (named(zone.Name))
                    add({Kind::Zone, zone.Name, where, c, r, zone.Id, z, zone.X, zone.Y});
            }
        }
    }

    Sort();
    UpdateNotes(world);
}

void SearchIndex::UpdateNotes(const World& world)
{
    // Notes are the last kind: their entries are the index's tail.
    const auto firstNote =
        std::find_if(m_entries.begin(), m_entries.end(), [](const Entry& e) { return e.result.kind == Kind::Note; });
    m_entries.erase(firstNote, m_entries.end());
    const std::size_t start = m_entries.size();
    const auto& notes = world.notes.Notes;
    for (int n = 1; n < static_cast<int>(notes.size()); ++n) {
        const modNotes::MapNote& note = notes[static_cast<std::size_t>(n)];
        // A note without a title is deleted.
        if (note.ShortDesc.trimmed().isEmpty())
            continue;
        Result r{Kind::Note,
                 note.ShortDesc,
                 Joined(QString(), RegionName(world.campaigns, note.Campaign, note.Region),
                        CampaignName(world.campaigns, note.Campaign)),
                 note.Campaign,
                 note.Region,
                 n,
                 0,
                 note.X,
                 note.Y};
        QString folded = Fold(r.name);
        m_entries.push_back({std::move(r), std::move(folded)});
    }
    std::stable_sort(m_entries.begin() + static_cast<std::ptrdiff_t>(start), m_entries.end(),
                     [](const Entry& a, const Entry& b) {
                         if (const int c = a.folded.compare(b.folded))
                             return c < 0;
                         return a.result.name < b.result.name;
                     });
    Pack();
}

void SearchIndex::Sort()
{
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        if (a.result.kind != b.result.kind)
            return a.result.kind < b.result.kind;
        if (const int c = a.folded.compare(b.folded))
            return c < 0;
        return a.result.name < b.result.name;
    });
}

void SearchIndex::Pack()
{
    m_text.clear();
    m_starts.clear();
    m_starts.reserve(m_entries.size() + 1);
    qsizetype length = 0;
    for (const Entry& e : m_entries)
        length += e.folded.size() + 1;
    m_text.reserve(length);
    for (const Entry& e : m_entries) {
        m_starts.push_back(m_text.size());
        m_text += e.folded;
        m_text += QChar(0);
    }
    m_starts.push_back(m_text.size());
}

std::vector<Result> SearchIndex::Find(QStringView query, int limit) const
{
    std::vector<Result> results;
    QString q = Fold(query.trimmed());
    q.remove(QChar(0)); // the separator of the packed names
    if (q.isEmpty() || limit <= 0)
        return results;
    const auto cap = static_cast<std::size_t>(limit);
    std::vector<std::size_t> first, rest;
    qsizetype at = m_text.indexOf(q);
    std::size_t e = 0;
    while (at >= 0) {
        // The entry holding this occurrence (a query never spans a NUL);
        // occurrences come in text order.
        while (m_starts[e + 1] <= at)
            ++e;
        if (at == m_starts[e] || !m_text.at(at - 1).isLetterOrNumber()) {
            first.push_back(e);
            at = m_text.indexOf(q, m_starts[e + 1]);
            continue;
        }
        // Inside a word: a later occurrence in the same name may still start one.
        const qsizetype next = m_text.indexOf(q, at + 1);
        if (next >= 0 && next < m_starts[e + 1]) {
            at = next;
            continue;
        }
        if (rest.size() < cap)
            rest.push_back(e);
        at = next;
    }
    results.reserve(std::min(first.size() + rest.size(), cap));
    for (const auto* group : {&first, &rest})
        for (std::size_t i : *group) {
            if (results.size() >= cap)
                return results;
            results.push_back(m_entries[i].result);
        }
    return results;
}

} // namespace modSearch
