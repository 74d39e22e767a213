#include "tools/demoworld/DemoWorld.h"

#include "tools/demoworld/Generator.h"
#include "tools/demoworld/Terrain.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>

namespace demoworld {

namespace gen {

std::vector<Region*> Generator::allRegions()
{
    std::vector<Region*> all;
    for (Campaign& c : m_campaigns)
        for (Region& r : c.regions)
            all.push_back(&r);
    return all;
}

void Generator::planCampaigns()
{
    static const char* const names[] = {"Loomhearth", "Thornmere", "Saltreach", "Emberwake", "Rimeholt"};
    static const int regionCounts[] = {0, 8, 4, 4, 3};
    const int s = m_opt.scale;
    for (int c = 0; c < 5; ++c) {
        Campaign camp;
        camp.number = c;
        camp.name = QLatin1String(names[c]);
        for (int n = 1; n <= regionCounts[c] * s; ++n) {
            Region r;
            r.campaign = c;
            r.number = n;
            // The second campaign spells its region numbers with two digits;
            // its pictures are named the same way.
            r.written = c == 2 ? records::PadNumber(n, 2) : QString::number(n);
            r.name = m_names.region();
            const int w = m_rng.range(1200, 3200);
            const int h = std::clamp(w * 3 / 4 + m_rng.range(-80, 80), 900, 2400);
            r.width = std::max(400, int(w * m_opt.mapSize));
            r.height = std::max(300, int(h * m_opt.mapSize));
            r.seed = Random::derive(m_opt.seed, 300 + c, n);
            camp.regions.push_back(std::move(r));
        }
        m_campaigns.push_back(std::move(camp));
    }
}

// Places the zones of a region and finds free marker places on land. Runs in
// parallel over regions: it only uses the region's own seed.
void Generator::surveyRegion(Region& r) const
{
    auto kept = std::make_unique<Terrain>(r.seed, r.width, r.height, CampaignPalette(r.campaign));
    const Terrain& terrain = *kept;
    Random rng(Random::derive(r.seed, 1));

    // Every region has each zone kind, and open areas with and without icon.
    std::vector<std::pair<int, int>> kinds = {{1, 0}, {1, 1}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}};
    const int count = rng.range(8, 15);
    while (int(kinds.size()) < count) {
        const int k = rng.range(1, 6);
        kinds.emplace_back(k, k == 1 ? rng.below(2) : 0);
    }
    rng.shuffle(kinds);

    // Room a zone takes: its icon above the anchor and a label of up to 22
    // bold characters below it.
    auto zoneBox = [](QPoint p) { return QRect(p.x() - 100, p.y() - 36, 200, 78); };
    std::vector<QRect> taken;
    for (const auto& [kind, flag] : kinds) {
        for (int attempt = 0; attempt < 600; ++attempt) {
            const QPoint p(rng.range(110, r.width - 110), rng.range(60, r.height - 60));
            if (!terrain.isLandAround(p.x(), p.y(), 14))
                continue;
            // Light label text reads badly on snow: keep names below it.
            const float snow = CampaignPalette(r.campaign).snowLevel - 0.04f;
            if (terrain.heightAt(p.x(), p.y()) > snow || terrain.heightAt(p.x() - 90, p.y() + 22) > snow ||
                terrain.heightAt(p.x() + 90, p.y() + 22) > snow || terrain.heightAt(p.x(), p.y() + 22) > snow)
                continue;
            const QRect box = zoneBox(p);
            if (std::any_of(taken.begin(), taken.end(), [&](const QRect& t) { return t.intersects(box); }))
                continue;
            taken.push_back(box);
            Zone z;
            z.kind = kind;
            z.iconFlag = flag;
            z.pos = p;
            r.zones.push_back(z);
            break;
        }
    }

    // Marker places: spread over the land, clear of the zones and of each
    // other.
    const int wanted = std::max(60, int(double(r.width) * r.height / 14000.0));
    for (int attempt = 0; attempt < wanted * 25 && int(r.spots.size()) < wanted; ++attempt) {
        const QPoint p(rng.range(24, r.width - 24), rng.range(24, r.height - 24));
        if (!terrain.isLandAround(p.x(), p.y(), 7))
            continue;
        bool clear = std::none_of(taken.begin(), taken.end(), [&](const QRect& t) { return t.contains(p); });
        for (size_t i = 0; clear && i < r.spots.size(); ++i) {
            const QPoint d = r.spots[i] - p;
            clear = d.x() * d.x() + d.y() * d.y() >= 26 * 26;
        }
        if (clear)
            r.spots.push_back(p);
    }
    // Small worlds keep the fields for drawing (a few megabytes a map);
    // large ones compute them again.
    if (m_opt.maps && m_opt.scale <= 2)
        r.terrain = std::move(kept);
}

void Generator::nameZones()
{
    for (Campaign& c : m_campaigns) {
        int id = 0;
        for (Region& r : c.regions) {
            for (Zone& z : r.zones) {
                z.id = ++id;
                z.name = m_names.zone(z.kind);
                r.dots.push_back({z.pos, kZoneDot});
            }
        }
    }
}

Region* Generator::regionFor(int campaign)
{
    // Weighted by the free places left, so big maps hold more markers.
    size_t total = 0;
    for (Region& r : m_campaigns[size_t(campaign)].regions)
        total += r.freeSlots();
    if (total == 0)
        return nullptr;
    size_t pick = size_t(m_rng.next() % total);
    for (Region& r : m_campaigns[size_t(campaign)].regions) {
        if (pick < r.freeSlots())
            return &r;
        pick -= r.freeSlots();
    }
    return nullptr;
}

std::pair<Region*, QPoint> Generator::takeSlot(int campaign, QRgb dot)
{
    Region* r = regionFor(campaign);
    if (!r) {
        // Every free place of the campaign is used (small test maps only):
        // share one, or stand on a zone when a map has no free place at all.
        auto& regions = m_campaigns[size_t(campaign)].regions;
        r = &regions[size_t(m_rng.below(int(regions.size())))];
        QPoint p(r->width / 2, r->height / 2);
        if (!r->spots.empty())
            p = r->spots[size_t(m_rng.below(int(r->spots.size())))];
        else if (!r->zones.empty())
            p = r->zones[size_t(m_rng.below(int(r->zones.size())))].pos;
        r->dots.push_back({p, dot});
        ++m_sharedPlaces;
        return {r, p};
    }
    const QPoint p = r->spots[r->nextSlot++];
    r->dots.push_back({p, dot});
    return {r, p};
}

QString Generator::attributeStat(int profession, bool weapon)
{
    const Profession& p = Professions()[size_t(profession - 1)];
    const QString attr = QLatin1String(p.attributes[size_t(m_rng.below(int(p.attributes.size())))]);
    switch (m_rng.below(weapon ? 4 : 3)) {
    case 0:
        return QStringLiteral("%1 +1 now and then (%2 in 100 skill uses)").arg(attr).arg(m_rng.range(2, 4) * 5);
    case 1:
        return QStringLiteral("Requires %1 %2").arg(m_rng.range(6, 13)).arg(attr);
    case 2:
        return attr + QStringLiteral(" +1");
    default:
        return QStringLiteral("%1 skills may recharge twice as fast (%2 in 100 uses)")
            .arg(attr)
            .arg(m_rng.range(2, 4) * 5);
    }
}

void Generator::makeSkills()
{
    static const int perCampaign[] = {60, 80, 60, 60, 40};
    static const char* const types[] = {"Spell",  "Curse", "Blessing", "Chant", "Stance",
                                        "Strike", "Rite",  "Trap",     "Aura",  "Song"};
    static const char* const casts[] = {"1/4", "1/2", "3/4", "1", "1", "2", "3", "5"};
    static const int recharges[] = {0, 5, 8, 10, 12, 15, 20, 25, 30, 45, 60};
    static const char* const elements[] = {"fire", "cold", "lightning", "earth", "shadow", "holy"};
    int number = 0;
    for (int c = 0; c < 5; ++c) {
        for (int i = 0; i < perCampaign[c] * m_opt.scale; ++i) {
            Skill s;
            s.number = ++number;
            s.campaign = c;
            s.name = m_names.skill();
            // A few core skills belong to no profession.
            s.profession = (c == 0 && i % 23 == 7) ? 0 : m_rng.range(1, int(Professions().size()));
            s.shortRecord = i % 41 == 13;
            const int type = m_rng.below(10);
            s.type = QLatin1String(types[type]);
            if (s.profession == 0 || m_rng.chance(0.15)) {
                s.attribute = QStringLiteral("No attribute");
            } else {
                const auto& attrs = Professions()[size_t(s.profession - 1)].attributes;
                s.attribute = QLatin1String(attrs[size_t(m_rng.below(int(attrs.size())))]);
            }
            const int t = m_rng.range(2, 12) * (m_rng.chance(0.3) ? 5 : 1);
            const int d = m_rng.range(3, 18) * 5;
            const int pct = m_rng.range(2, 10) * 5;
            const QString elem = QLatin1String(m_rng.pick(elements));
            switch (type) {
            case 0:
                s.description =
                    QStringLiteral("Deals %1 %2 damage to the chosen foe and every foe beside it.").arg(d).arg(elem);
                break;
            case 1:
                s.description =
                    QStringLiteral("For %1 seconds the chosen foe is %2% slower and loses %3 health every second.")
                        .arg(t)
                        .arg(pct)
                        .arg(m_rng.range(2, 6));
                break;
            case 2:
                s.description =
                    QStringLiteral(
                        "For %1 seconds an ally gains %2 armor and recovers %3 health each time a blow lands.")
                        .arg(t)
                        .arg(m_rng.range(2, 8) * 5)
                        .arg(d);
                break;
            case 3:
                s.description =
                    QStringLiteral("For %1 seconds every ally who hears the call attacks %2% faster.").arg(t).arg(pct);
                break;
            case 4:
                s.description = QStringLiteral("For %1 seconds you run %2% faster and turn aside the next %3 attacks.")
                                    .arg(t)
                                    .arg(pct)
                                    .arg(m_rng.range(1, 4));
                break;
            case 5:
                s.description =
                    QStringLiteral("A blow that lands deals %1 more damage and leaves the foe bleeding for %2 seconds.")
                        .arg(d)
                        .arg(t);
                break;
            case 6:
                s.description = QStringLiteral("You give up %1% of your health; every companion recovers %2 health.")
                                    .arg(pct)
                                    .arg(d * 2);
                break;
            case 7:
                s.description = QStringLiteral("Foes who spring it are thrown to the ground and take %1 %2 damage.")
                                    .arg(d)
                                    .arg(elem);
                break;
            case 8:
                s.description =
                    QStringLiteral("While you keep this aura up, nearby allies regain 1 energy every %1 seconds.")
                        .arg(m_rng.range(2, 6));
                break;
            default:
                s.description =
                    QStringLiteral("For %1 seconds the next skill of every nearby ally recharges %2% faster.")
                        .arg(t)
                        .arg(pct);
            }
            if (s.attribute != QLatin1String("No attribute") && m_rng.chance(0.5))
                s.description += QStringLiteral(" Lasts longer with more ") + s.attribute + u'.';
            if (type == 5) { // strikes run on adrenaline
                s.adrenaline = m_rng.range(4, 10);
                s.cast = QStringLiteral("1/2");
            } else {
                s.energy = m_rng.pick(std::vector<int>{5, 10, 10, 15, 15, 25});
                s.cast = QLatin1String(m_rng.pick(casts));
            }
            if (type == 8)
                s.upkeep = -1;
            s.recharge = m_rng.pick(recharges);
            m_skills.push_back(std::move(s));
        }
    }
}

void Generator::makePlaces()
{
    static const char* const codes[] = {"", "", "", "", "", "", "D", "P", "C", "1", "a", "?"};
    static const char* const notes[] = {
        "Walks with two guards.",           "Spawns at dusk.\\nLeaves at dawn.",
        "Behind the collapsed bridge.",     "Reach him from the northern path.\\nThe southern one is blocked.",
        "Hard to pull away from his pack.", "Sometimes replaced by a lesser captain.",
    };
    static const char* const seasons[] = {"Only during the Lantern Festival", "only during the quest Ashes of the Loom",
                                          "Only During the night of the Red Moon"};

    auto place = [&](int elite, int campaign, const QString& boss) {
        Place pl;
        pl.elite = elite;
        auto [r, p] = takeSlot(campaign, ProfessionColour(elite ? m_skills[size_t(elite - 1)].profession : 0));
        pl.region = r;
        pl.pos = p;
        pl.zone = r->nearestZone(p);
        pl.boss = boss;
        pl.marker = QLatin1String(m_rng.pick(codes));
        if (m_rng.chance(0.22))
            pl.note = QLatin1String(m_rng.pick(notes));
        else if (m_rng.chance(0.04))
            pl.note = QLatin1String(m_rng.pick(seasons));
        pl.linkable =
            pl.marker != QLatin1String("D") && !pl.note.left(11).toLower().startsWith(QLatin1String("only during"));
        m_places.push_back(std::move(pl));
    };

    for (const Skill& s : m_skills) {
        // Core skills are captured from bosses of every campaign.
        const int places = m_rng.chance(0.35) ? 1 : m_rng.chance(0.7) ? 2 : 3;
        const bool sameBoss = m_rng.chance(0.06); // one boss who roams several places
        QString boss = m_names.boss();
        for (int k = 0; k < places; ++k) {
            const int campaign = s.campaign == 0 ? m_rng.range(1, 4) : s.campaign;
            place(s.number, campaign, boss);
            if (!sameBoss)
                boss = m_names.boss();
        }
    }
    // Bosses who carry no elite skill.
    for (int i = 0; i < 45 * m_opt.scale; ++i)
        place(0, m_rng.range(1, 4), m_names.boss());

    // The boss whose drops are always listed, even in a mission.
    const QString vaddeth = QStringLiteral("Vaddeth Stickleback");
    m_names.reserve(vaddeth);
    std::vector<int> secondCampaign;
    for (const Skill& s : m_skills)
        if (s.campaign == 2)
            secondCampaign.push_back(s.number);
    place(m_rng.pick(secondCampaign), 2, vaddeth);
    m_places.back().marker = QStringLiteral("D");
    m_places.back().note = QStringLiteral("Appears when the ferry burns.\\nStays for the whole mission.");
    m_places.back().linkable = true;
}

void Generator::makeGreens()
{
    static const struct {
        const char* noun;
        bool weapon;
    } kinds[] = {{"Cleaver", true}, {"Longbow", true}, {"Staff", true}, {"Wand", true},    {"Scythe", true},
                 {"Rapier", true},  {"Hammer", true},  {"Focus", true}, {"Shield", false}, {"Spear", true}};
    m_greens.assign(m_campaigns.size(), {});
    // Bosses that may drop items, each once (a roaming boss counts once).
    std::vector<const Place*> droppers;
    std::set<QString> seen;
    for (const Place& p : m_places)
        if (p.linkable && seen.insert(p.boss.toLower()).second)
            droppers.push_back(&p);
    m_rng.shuffle(droppers);
    // The roaming bosses and the mission boss always drop something.
    std::stable_partition(droppers.begin(), droppers.end(), [&](const Place* p) {
        if (p->boss == QLatin1String("Vaddeth Stickleback"))
            return true;
        return std::count_if(m_places.begin(), m_places.end(), [&](const Place& q) { return q.boss == p->boss; }) > 1;
    });

    const int wanted = 300 * m_opt.scale;
    int made = 0;
    for (size_t i = 0; made < wanted && !droppers.empty(); ++i) {
        const Place& p = *droppers[i % droppers.size()];
        const auto& kind = kinds[m_rng.below(10)];
        Green g;
        g.name = m_names.item(p.boss, QLatin1String(kind.noun));
        // Item files spell the boss freely: letter case differs now and then.
        g.boss = (made % 17 == 3) ? p.boss.toLower() : (made % 29 == 5) ? p.boss.toUpper() : p.boss;
        const int prof = m_rng.range(1, int(Professions().size()));
        if (kind.weapon)
            g.stats << QStringLiteral("%1 damage: %2-%3")
                           .arg(QLatin1String(m_rng.pick(
                               std::vector<const char*>{"Slashing", "Piercing", "Fire", "Cold", "Lightning", "Blunt"})))
                           .arg(m_rng.range(8, 15))
                           .arg(m_rng.range(16, 28));
        else
            g.stats << QStringLiteral("Armor: %1").arg(m_rng.range(8, 16));
        g.stats << attributeStat(prof, kind.weapon);
        if (m_rng.chance(0.6))
            g.stats << attributeStat(prof, kind.weapon);
        if (m_rng.chance(0.5))
            g.stats << (m_rng.chance(0.5) ? QStringLiteral("Health +%1").arg(m_rng.range(2, 6) * 5)
                                          : QStringLiteral("Energy +%1").arg(m_rng.range(1, 3) * 5));
        if (m_rng.chance(0.08))
            g.stats << QStringLiteral("No attribute requirement");
        m_greens[size_t(p.region->campaign)].push_back(std::move(g));
        ++made;
    }
}

void Generator::makeCollectors()
{
    static const char* const trophies[] = {"Charred Fangs",       "Moss Pelts",    "Glass Eyes",    "Brittle Horns",
                                           "Salt-Crusted Shells", "Ember Scales",  "Hollow Bones",  "Frayed Banners",
                                           "Bitter Roots",        "Dusk Feathers", "Cracked Masks", "Rime Shards",
                                           "Tallow Candles",      "Sodden Maps",   "Iron Teeth",    "Pale Antlers",
                                           "Woven Charms",        "Soot Vials",    "Thorn Husks",   "Silt Hearts"};
    static const struct {
        const char* noun;
        int mask;
    } weapons[] = {{"Sword", 1},  {"Axe", 1},   {"Wand", 1},   {"Daggers", 1},  {"Shield", 2}, {"Focus", 2},
                   {"Hammer", 4}, {"Staff", 4}, {"Scythe", 4}, {"Longbow", 12}, {"Spear", 9},  {"Sling", 8}};
    static const char* const armour[] = {"Gloves", "Boots", "Leggings", "Hood", "Coat", "Mantle", "Bracers"};
    static const char* const adjectives[] = {"Ashen",     "Woven",  "Tidewater", "Emberforged", "Moss-Lined",
                                             "Rimebound", "Gilded", "Hunter's",  "Pilgrim's",   "Stormward"};
    static const char* const spots[] = {
        "by the old well",      "beside the burned mill", "at the crossroads shrine",   "under the great oak",
        "on the harbour steps", "near the ruined tower",  "in the shade of the cliffs", "at the edge of the camp"};
    // Collectors by campaign, in proportion to the number of regions.
    std::vector<int> campaignOf;
    for (const Campaign& c : m_campaigns)
        for (size_t i = 0; i < c.regions.size(); ++i)
            campaignOf.push_back(c.number);

    const int count = 150 * m_opt.scale;
    for (int i = 0; i < count; ++i) {
        Collector col;
        col.id = i + 1;
        col.name = m_names.collector();
        col.armour = m_rng.chance(0.4);
        col.lowLevel = m_rng.chance(0.5) ? 1 : 0;
        // Most headers carry the level; some leave it out (high level), and
        // one has a fifth field, which also makes it high level.
        col.headerFields = i == 7 ? 5 : (i % 9 == 4 ? 3 : 4);
        if (col.headerFields != 4)
            col.lowLevel = 0;
        const int campaign = campaignOf[size_t(m_rng.below(int(campaignOf.size())))];
        auto [r, p] = takeSlot(campaign, kCollectorDot);
        col.region = r;
        col.pos = p;
        col.zone = r->nearestZone(p);
        QString zoneName;
        for (const Zone& z : r->zones)
            if (z.id == col.zone)
                zoneName = z.name;
        col.location = QStringLiteral("%1, %2").arg(zoneName, QLatin1String(m_rng.pick(spots)));
        // Low-level collectors mostly ask for the first trophies, high-level
        // ones for the last; the middle is asked at both levels.
        const int t = col.lowLevel ? m_rng.range(0, 12) : m_rng.range(8, 19);
        col.request = QStringLiteral("%1 %2").arg(m_rng.range(3, 10)).arg(QLatin1String(trophies[t]));
        const int rewards = m_rng.range(2, 5);
        for (int k = 0; k < rewards; ++k) {
            Reward rw;
            const int prof = m_rng.range(1, int(Professions().size()));
            if (col.armour) {
                rw.name = QLatin1String(m_rng.pick(adjectives)) + u' ' + QLatin1String(m_rng.pick(armour));
                rw.mask = 15;
                rw.stats << QStringLiteral("Armor: %1").arg(m_rng.range(4, 9) * 10);
                rw.stats << attributeStat(prof, false);
                if (m_rng.chance(0.5))
                    rw.stats << QStringLiteral("Armor +%1 vs. %2 damage")
                                    .arg(m_rng.range(1, 3) * 5)
                                    .arg(QLatin1String(
                                        m_rng.pick(std::vector<const char*>{"fire", "cold", "lightning", "earth"})));
            } else {
                const auto& w = weapons[m_rng.below(12)];
                rw.name = QLatin1String(m_rng.pick(adjectives)) + u' ' + QLatin1String(w.noun);
                rw.mask = w.mask;
                rw.stats << QStringLiteral("Damage: %1-%2").arg(m_rng.range(6, 15)).arg(m_rng.range(16, 28));
                rw.stats << attributeStat(prof, true);
                if (m_rng.chance(0.4))
                    rw.stats << QStringLiteral("Health +%1").arg(m_rng.range(2, 6) * 5);
            }
            if (m_rng.chance(0.06))
                rw.stats << QStringLiteral("No attribute requirement");
            col.rewards.push_back(std::move(rw));
        }
        m_collectors.push_back(std::move(col));
    }
}

void Generator::makeTreasures()
{
    for (int i = 0; i < 60 * m_opt.scale; ++i) {
        Treasure t;
        t.name = m_names.chest();
        auto [r, p] = takeSlot(3, kTreasureDot);
        t.region = r;
        t.pos = p;
        t.zone = r->nearestZone(p);
        m_treasures.push_back(std::move(t));
    }
}

void Generator::makePets()
{
    static const char* const habitats[] = {"Lives near still water",   "Nests in old ruins",
                                           "Roams the open grassland", "Hides among the rocks",
                                           "Sleeps in hollow trees",   "Follows the herds"};
    static const char* const moods[] = {"shy at night",    "curious about travellers", "fierce when cornered",
                                        "easily startled", "loyal once fed",           "fond of shiny things"};
    static const char* const notes[] = {"Only after rain.", "Hides in the reeds.\\nApproach slowly.",
                                        "Two of them, close together.", "Comes out at dusk."};
    const int count = 40 * m_opt.scale;
    for (int i = 1; i <= count; ++i) {
        Pet p;
        p.id = i;
        p.written = i < 10 ? records::PadNumber(i, 2) : QString::number(i); // "07": picture 07.jpg
        p.name = m_names.pet();
        p.detail = QStringLiteral("%1; %2.").arg(QLatin1String(m_rng.pick(habitats)), QLatin1String(m_rng.pick(moods)));
        m_pets.push_back(std::move(p));
    }
    // About three places per pet, over campaigns 1 to 4.
    for (int k = 0; k < 120 * m_opt.scale; ++k) {
        PetPlace pp;
        pp.pet = k < count ? k + 1 : m_rng.range(1, count);
        auto [r, p] = takeSlot(m_rng.range(1, 4), kPetDot);
        pp.region = r;
        pp.pos = p;
        pp.zone = r->nearestZone(p);
        if (m_rng.chance(0.2))
            pp.note = QLatin1String(m_rng.pick(notes));
        m_petPlaces.push_back(std::move(pp));
    }
    std::stable_sort(m_petPlaces.begin(), m_petPlaces.end(), [](const PetPlace& a, const PetPlace& b) {
        return std::tie(a.region->campaign, a.pet) < std::tie(b.region->campaign, b.pet);
    });
}

bool Generator::run(Summary* summary, QString* error)
{
    planCampaigns();
    std::vector<Region*> regions = allRegions();
    ForEachParallel(regions.size(), m_opt.threads, [&](size_t i) { surveyRegion(*regions[i]); });
    nameZones();
    makeSkills();
    makePlaces();
    makeGreens();
    makeCollectors();
    makeTreasures();
    makePets();

    QString root = m_opt.outDir;
    if (!root.endsWith(u'/'))
        root += u'/';
    Output out(root);
    write(out);
    if (m_opt.maps && out.ok())
        writeMaps(out);
    if (!m_opt.contactSheet.isEmpty() && out.ok())
        writeContactSheet();
    if (!out.ok()) {
        if (error)
            *error = out.error();
        return false;
    }
    if (summary) {
        Summary s;
        for (const Campaign& c : m_campaigns) {
            ++s.campaigns;
            s.regions += int(c.regions.size());
            for (const Region& r : c.regions)
                s.zones += int(r.zones.size());
        }
        s.professions = int(Professions().size());
        s.skills = int(m_skills.size());
        s.places = int(m_places.size());
        for (const auto& g : m_greens)
            s.greens += int(g.size());
        s.collectors = int(m_collectors.size());
        s.treasures = int(m_treasures.size());
        s.pets = int(m_pets.size());
        s.petPlaces = int(m_petPlaces.size());
        s.files = out.files;
        s.sharedPlaces = m_sharedPlaces;
        *summary = s;
    }
    return true;
}

} // namespace gen

bool GenerateDemoWorld(const Options& options, Summary* summary, QString* error)
{
    if (options.scale < 1 || options.outDir.isEmpty() || !(options.mapSize > 0.1 && options.mapSize <= 1.0)) {
        if (error)
            *error =
                QStringLiteral("scale must be at least 1, map size within (0.1, 1], and an output folder is needed");
        return false;
    }
    gen::Generator g(options);
    return g.run(summary, error);
}

} // namespace demoworld
