#include "tools/demoworld/DemoWorld.h"

#include "records/RecordFile.h"
#include "tools/demoworld/Names.h"
#include "tools/demoworld/Pictures.h"
#include "tools/demoworld/Random.h"
#include "tools/demoworld/Terrain.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <thread>

namespace demoworld {

namespace {

// ---- The world in memory --------------------------------------------------

struct Zone {
    int id = 0;
    int kind = 1;
    int iconFlag = 0;
    QPoint pos;
    QString name;
};

struct Dot {
    QPoint pos;
    QRgb colour;
};

struct Region {
    int campaign = 0;
    int number = 0;
    QString written; // the number as Regions.txt spells it (also the picture's name)
    QString name;
    int width = 0, height = 0;
    uint64_t seed = 0;
    std::vector<Zone> zones;
    std::vector<QPoint> spots; // free marker places on land, in random order
    size_t nextSlot = 0;
    std::vector<Dot> dots; // every marker, for the contact sheet
    QImage thumbnail;
    std::unique_ptr<Terrain> terrain; // kept from the survey to the drawing when memory allows

    size_t freeSlots() const { return spots.size() - nextSlot; }
    int nearestZone(QPoint p) const
    {
        int best = 0;
        qint64 bestD = -1;
        for (const Zone& z : zones) {
            const qint64 dx = z.pos.x() - p.x(), dy = z.pos.y() - p.y();
            const qint64 d = dx * dx + dy * dy;
            if (bestD < 0 || d < bestD) {
                bestD = d;
                best = z.id;
            }
        }
        return best;
    }
};

struct Campaign {
    int number = 0;
    QString name;
    std::vector<Region> regions;
    QString folder() const { return QStringLiteral("Campaign.") + records::PadNumber(number, 2) + u'.' + name; }
};

struct Profession {
    int number;
    const char* name;
    const char* abbreviation;
    QRgb colour;
    std::vector<const char*> attributes;
    int fileCampaign; // which campaign folder's Professions.txt defines it
};

const std::vector<Profession>& Professions()
{
    static const std::vector<Profession> list = {
        {1, "Hearthguard", "Hg", qRgb(204, 170, 60), {"Bulwark", "Hewing", "Rallying", "Stonehide", "Vigilance"}, 0},
        {2,
         "Cinderwright",
         "Cw",
         qRgb(214, 64, 44),
         {"Emberlore", "Frostcraft", "Stormcalling", "Stonesong", "Shardsight", "Runic Lore"},
         0},
        {3, "Dawnmender", "Dm", qRgb(96, 172, 232), {"Lantern Rites", "Warding", "Devotion", "Mercy"}, 0},
        {4,
         "Ashreaper",
         "Ar",
         qRgb(146, 32, 64),
         {"Bloodletting", "Sickle Dance", "Fury", "Wraithcraft", "Gleaning"},
         0},
        {5, "Mirebinder", "Mb", qRgb(64, 152, 64), {"Malison", "Dread", "Marrow Draw", "Grave Binding", "Decay"}, 0},
        {6, "Briarscout", "Bs", qRgb(150, 112, 52), {"Longbow Craft", "Briar Lore", "Snaring", "Houndkin"}, 0},
        {7,
         "Mirrorweaver",
         "Mw",
         qRgb(164, 84, 204),
         {"Glamour", "Mind Bending", "Mirror Lore", "Subtlety", "Warping"},
         0},
        {8, "Bellsinger", "Bl", qRgb(242, 142, 40), {"Cadence", "Resonance", "Marching Hymns", "Lore of Ages"}, 0},
        {9, "Quillblade", "Qb", qRgb(60, 92, 204), {"Footwork", "Needle Fencing", "Feint", "Poise", "Precision"}, 2},
        {10,
         "Veilwalker",
         "Vw",
         qRgb(40, 182, 172),
         {"Dusk Stepping", "Veilcraft", "Ancestry", "Starlore", "Twilight", "Loom Rites"},
         2},
    };
    return list;
}

QRgb ProfessionColour(int p)
{
    return p >= 1 && p <= int(Professions().size()) ? Professions()[size_t(p - 1)].colour : qRgb(170, 170, 170);
}

// The number the files hold for a colour: red in the low byte.
qint64 ColourNumber(QRgb c)
{
    return qRed(c) + qGreen(c) * 256 + qint64(qBlue(c)) * 65536;
}

struct Skill {
    int number = 0;
    int profession = 0;
    int campaign = 0;
    QString name, attribute, type, cast, description;
    int upkeep = 0, adrenaline = 0, energy = 0, recharge = 0;
    bool shortRecord = false;
};

struct Place {
    int elite = 0;
    Region* region = nullptr;
    QPoint pos;
    QString boss, marker, note;
    int zone = 0;
    bool linkable = true; // green items may name this boss
};

struct Green {
    QString name, boss;
    QStringList stats;
};

struct Reward {
    QString name;
    int mask = 0;
    QStringList stats;
};

struct Collector {
    int id = 0;
    QString name, location, request;
    bool armour = false;
    int lowLevel = 1;
    int headerFields = 4;
    std::vector<Reward> rewards;
    Region* region = nullptr;
    QPoint pos;
    int zone = 0;
};

struct Treasure {
    QString name;
    Region* region = nullptr;
    QPoint pos;
    int zone = 0;
};

struct Pet {
    int id = 0;
    QString written, name, detail;
};

struct PetPlace {
    int pet = 0;
    Region* region = nullptr;
    QPoint pos;
    int zone = 0;
    QString note;
};

constexpr QRgb kZoneDot = qRgb(255, 255, 255);
constexpr QRgb kCollectorDot = qRgb(40, 90, 255);
constexpr QRgb kTreasureDot = qRgb(255, 150, 0);
constexpr QRgb kPetDot = qRgb(255, 0, 255);

// ---- Parallel work over regions ---------------------------------------------

// Runs work(i) for i in [0, count) on a few threads. Each call only touches
// its own region, so the result does not depend on the scheduling.
void ForEachParallel(size_t count, int threads, const std::function<void(size_t)>& work)
{
    if (threads <= 0)
        threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    threads = int(std::min<size_t>(size_t(threads), std::max<size_t>(count, 1)));
    std::atomic<size_t> next{0};
    auto run = [&] {
        for (size_t i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(run);
    run();
    for (auto& t : pool)
        t.join();
}

// ---- Output ---------------------------------------------------------------

class Output {
public:
    explicit Output(QString root) : m_root(std::move(root)) {}

    void text(const QString& relative, const QStringList& lines)
    {
        if (!prepare(relative))
            return;
        QString why;
        if (!records::WriteRecordFile(m_root + relative, lines, &why))
            fail(relative, why);
        ++files;
    }
    void bytes(const QString& relative, const QByteArray& data)
    {
        if (!prepare(relative))
            return;
        QString why;
        if (!records::WriteFileAtomically(m_root + relative, data, &why))
            fail(relative, why);
        ++files;
    }
    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    int files = 0;

private:
    bool prepare(const QString& relative)
    {
        if (!ok())
            return false;
        const QString dir = QFileInfo(m_root + relative).path();
        if (!QDir().mkpath(dir)) {
            fail(relative, QStringLiteral("cannot create the folder"));
            return false;
        }
        return true;
    }
    void fail(const QString& relative, const QString& why)
    {
        if (m_error.isEmpty())
            m_error = relative + QStringLiteral(": ") + why;
    }
    QString m_root;
    QString m_error;
};

// ---- The generator ----------------------------------------------------------

class Generator {
public:
    Generator(const Options& o) : m_opt(o), m_rng(Random::derive(o.seed, 100)), m_names(Random::derive(o.seed, 200)) {}

    bool run(Summary* summary, QString* error);

private:
    void planCampaigns();
    void surveyRegion(Region& r) const;
    void nameZones();
    void makeSkills();
    void makePlaces();
    void makeGreens();
    void makeCollectors();
    void makeTreasures();
    void makePets();
    void write(Output& out);
    void writeMaps(Output& out);
    void writeContactSheet() const;

    std::pair<Region*, QPoint> takeSlot(int campaign, QRgb dot);
    Region* regionFor(int campaign);
    QString attributeStat(int profession, bool weapon);
    std::vector<Region*> allRegions();

    Options m_opt;
    Random m_rng;
    NameForge m_names;
    std::vector<Campaign> m_campaigns; // index = campaign number 0..4
    std::vector<Skill> m_skills;       // index = elite number - 1
    std::vector<Place> m_places;
    std::vector<std::vector<Green>> m_greens; // per campaign
    std::vector<Collector> m_collectors;
    std::vector<Treasure> m_treasures;
    std::vector<Pet> m_pets;
    std::vector<PetPlace> m_petPlaces;
    int m_sharedPlaces = 0;
};

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

void Generator::write(Output& out)
{
    const QString tab(u'\t');
    for (const Campaign& c : m_campaigns) {
        const QString dir = c.folder() + u'/';
        if (!c.regions.empty()) {
            QStringList regions;
            for (const Region& r : c.regions)
                regions << r.written + tab + r.name;
            out.text(dir + QStringLiteral("Regions.txt"), regions);

            QStringList zones{QStringLiteral(";Id\tRegion\tKind\tIcon\tX\tY\tName")};
            for (const Region& r : c.regions)
                for (const Zone& z : r.zones)
                    zones << QStringList{QString::number(z.id),
                                         QString::number(r.number),
                                         QString::number(z.kind),
                                         QString::number(z.iconFlag),
                                         QString::number(z.pos.x()),
                                         QString::number(z.pos.y()),
                                         z.name}
                                 .join(tab);
            out.text(dir + QStringLiteral("Zones.txt"), zones);
        }

        // Professions: most in the core campaign, the last two arrive with
        // the second campaign.
        QStringList professions;
        for (const Profession& p : Professions()) {
            if (p.fileCampaign != c.number)
                continue;
            QStringList f{QString::number(p.number), QLatin1String(p.name), QString::number(ColourNumber(p.colour)),
                          QLatin1String(p.abbreviation)};
            for (const char* a : p.attributes)
                f << QLatin1String(a);
            professions << f.join(tab);
        }
        if (!professions.isEmpty())
            out.text(dir + QStringLiteral("Professions.txt"), professions);

        // Elite skills of this campaign, with their pictures.
        QStringList elites{QStringLiteral(
            ";Number\tProfession\tName\tAttribute\tType\tUpkeep\tAdrenaline\tEnergy\tCast\tRecharge\tDescription")};
        for (const Skill& s : m_skills) {
            if (s.campaign != c.number)
                continue;
            if (s.shortRecord) {
                elites << QString::number(s.number) + tab + QString::number(s.profession) + tab + s.name;
                continue;
            }
            elites << QStringList{QString::number(s.number),
                                  QString::number(s.profession),
                                  s.name,
                                  s.attribute,
                                  s.type,
                                  QString::number(s.upkeep),
                                  QString::number(s.adrenaline),
                                  QString::number(s.energy),
                                  s.cast,
                                  QString::number(s.recharge),
                                  s.description}
                          .join(tab);
            out.bytes(
                dir + QStringLiteral("imgElite/") + records::PadNumber(s.number, 4) + QStringLiteral(".jpg"),
                JpegBytes(SkillIcon(ProfessionColour(s.profession), Random::derive(m_opt.seed, 400, s.number)), 90));
        }
        if (elites.size() > 1)
            out.text(dir + QStringLiteral("EliteList.txt"), elites);

        // Boss places. The first campaign keeps the old format (coordinates
        // in fifteenths of a pixel, no version line); the second starts old
        // and switches half way; the others are current.
        std::vector<const Place*> places;
        for (const Place& p : m_places)
            if (p.region->campaign == c.number)
                places.push_back(&p);
        if (!places.empty()) {
            QStringList lines{QStringLiteral("; Elite bosses of ") + c.name};
            bool fifteenths = c.number == 1 || c.number == 2;
            if (c.number == 2)
                lines << QStringLiteral(";[Version]1.0");
            else if (c.number != 1)
                lines << QStringLiteral(";[Version]2.0");
            for (size_t i = 0; i < places.size(); ++i) {
                if (c.number == 2 && i == places.size() / 2) {
                    lines << QStringLiteral(";[Version]2.0");
                    fifteenths = false;
                }
                const Place& p = *places[i];
                const int x = fifteenths ? p.pos.x() * 15 + m_rng.below(15) : p.pos.x();
                const int y = fifteenths ? p.pos.y() * 15 + m_rng.below(15) : p.pos.y();
                QStringList f{QString::number(p.elite),
                              QString::number(p.region->number),
                              QString::number(x),
                              QString::number(y),
                              p.boss,
                              p.marker,
                              QString::number(p.zone)};
                if (!p.note.isEmpty())
                    f << p.note;
                lines << f.join(tab);
            }
            out.text(dir + QStringLiteral("EliteLocations.txt"), lines);
        }

        if (!m_greens[size_t(c.number)].empty()) {
            QStringList lines{QStringLiteral("; Green items of ") + c.name +
                              QStringLiteral(": name, boss, properties")};
            for (const Green& g : m_greens[size_t(c.number)])
                lines << QStringList{g.name, g.boss}.join(tab) + tab + g.stats.join(tab);
            out.text(dir + QStringLiteral("Greens.txt"), lines);
        }

        // Collectors: blocks of header, location, request and rewards,
        // separated by one empty line.
        QStringList blocks, locations;
        bool blankInside = false;
        for (const Collector& col : m_collectors) {
            if (col.region->campaign != c.number)
                continue;
            if (!blocks.isEmpty())
                blocks << QString();
            else
                blocks << QStringLiteral("; Collectors of ") + c.name;
            QStringList header{QString::number(col.id), col.name,
                               col.armour ? QStringLiteral("1") : QStringLiteral("0")};
            if (col.headerFields >= 4)
                header << QString::number(col.headerFields == 5 ? 1 : col.lowLevel);
            if (col.headerFields == 5)
                header << QStringLiteral("spare");
            blocks << header.join(tab) << col.location << col.request;
            for (size_t k = 0; k < col.rewards.size(); ++k) {
                const Reward& rw = col.rewards[k];
                // A line of blanks inside a block does not end it.
                if (!blankInside && k == 1) {
                    blocks << QStringLiteral("   ");
                    blankInside = true;
                }
                blocks << rw.name + tab + QString::number(rw.mask) + tab + rw.stats.join(tab);
            }
            locations << QStringList{QString::number(col.id), QString::number(col.region->number),
                                     QString::number(col.pos.x()), QString::number(col.pos.y()),
                                     QString::number(col.zone)}
                             .join(tab);
        }
        if (!blocks.isEmpty()) {
            out.text(dir + QStringLiteral("Collectors.txt"), blocks);
            out.text(dir + QStringLiteral("CollectorsLocations.txt"), locations);
        }

        if (c.number == 3 && !m_treasures.empty()) {
            QStringList lines{QStringLiteral("; Treasure chests of Emberwake: name, x, y, region, zone")};
            for (const Treasure& t : m_treasures)
                lines << QStringList{t.name, QString::number(t.pos.x()), QString::number(t.pos.y()),
                                     QString::number(t.region->number), QString::number(t.zone)}
                             .join(tab);
            out.text(dir + QStringLiteral("Treasures.txt"), lines);
        }

        if (c.number == 0) {
            QStringList lines{QStringLiteral("; Pets: number, name, detail")};
            for (const Pet& p : m_pets) {
                lines << QStringList{p.written, p.name, p.detail}.join(tab);
                out.bytes(dir + QStringLiteral("imgPets/") + p.written + QStringLiteral(".jpg"),
                          JpegBytes(PetPortrait(Random::derive(m_opt.seed, 500, p.id)), 88));
            }
            out.text(dir + QStringLiteral("PetsList.txt"), lines);
        }

        QStringList petLines;
        for (const PetPlace& pp : m_petPlaces) {
            if (pp.region->campaign != c.number)
                continue;
            if (petLines.isEmpty())
                petLines << QStringLiteral("; Pet places: pet, region, zone, x, y, note");
            QStringList f{QString::number(pp.pet), QString::number(pp.region->number), QString::number(pp.zone),
                          QString::number(pp.pos.x()), QString::number(pp.pos.y())};
            if (!pp.note.isEmpty())
                f << pp.note;
            petLines << f.join(tab);
        }
        if (!petLines.isEmpty())
            out.text(dir + QStringLiteral("PetsLocations.txt"), petLines);
    }
}

void Generator::writeMaps(Output& out)
{
    std::vector<Region*> regions = allRegions();
    std::vector<QByteArray> jpegs(regions.size());
    const bool thumbs = !m_opt.contactSheet.isEmpty();
    ForEachParallel(regions.size(), m_opt.threads, [&](size_t i) {
        Region& r = *regions[i];
        std::unique_ptr<Terrain> terrain = std::move(r.terrain);
        if (!terrain)
            terrain = std::make_unique<Terrain>(r.seed, r.width, r.height, CampaignPalette(r.campaign));
        // Roads join each settlement to its nearest neighbour.
        std::vector<Road> roads;
        std::set<std::pair<int, int>> joined;
        for (size_t a = 0; a < r.zones.size(); ++a) {
            if (r.zones[a].kind < 2 || r.zones[a].kind > 4)
                continue;
            int best = -1;
            qint64 bestD = 0;
            for (size_t b = 0; b < r.zones.size(); ++b) {
                if (a == b || r.zones[b].kind == 6)
                    continue;
                const QPoint d = r.zones[b].pos - r.zones[a].pos;
                const qint64 dd = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
                if (best < 0 || dd < bestD) {
                    best = int(b);
                    bestD = dd;
                }
            }
            if (best >= 0 && joined.insert({std::min(int(a), best), std::max(int(a), best)}).second)
                roads.push_back({r.zones[a].pos, r.zones[size_t(best)].pos});
        }
        const QImage map = terrain->render(roads);
        terrain.reset();
        jpegs[i] = JpegBytes(map, 85);
        if (thumbs)
            r.thumbnail = map.scaledToWidth(420, Qt::SmoothTransformation);
    });
    for (size_t i = 0; i < regions.size(); ++i) {
        const Region& r = *regions[i];
        out.bytes(m_campaigns[size_t(r.campaign)].folder() + u'/' + r.written + QStringLiteral(".jpg"), jpegs[i]);
    }
}

void Generator::writeContactSheet() const
{
    const int cols = 4, cellW = 420, cellH = 340, caption = 18;
    int count = 0;
    for (const Campaign& c : m_campaigns)
        count += int(c.regions.size());
    const int rows = (count + cols - 1) / cols;
    QImage sheet(cols * cellW, rows * (cellH + caption), QImage::Format_RGB32);
    sheet.fill(qRgb(40, 40, 44));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing, true);
    int i = 0;
    for (const Campaign& c : m_campaigns) {
        for (const Region& r : c.regions) {
            const int x0 = (i % cols) * cellW, y0 = (i / cols) * (cellH + caption);
            ++i;
            p.setPen(QColor(230, 230, 230));
            p.drawText(
                QRect(x0 + 4, y0, cellW - 8, caption), Qt::AlignVCenter | Qt::AlignLeft,
                QStringLiteral("%1 / %2 %3 (%4x%5)").arg(c.name).arg(r.number).arg(r.name).arg(r.width).arg(r.height));
            if (r.thumbnail.isNull())
                continue;
            p.drawImage(QPoint(x0, y0 + caption), r.thumbnail);
            const double f = double(r.thumbnail.width()) / r.width;
            for (const Dot& d : r.dots) {
                p.setPen(QPen(QColor(0, 0, 0), 0.8));
                p.setBrush(QColor(d.colour));
                const double radius = d.colour == kZoneDot ? 3.2 : 2.2;
                p.drawEllipse(QPointF(x0 + d.pos.x() * f, y0 + caption + d.pos.y() * f), radius, radius);
            }
        }
    }
    p.end();
    sheet.save(m_opt.contactSheet, "PNG");
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

} // namespace

bool GenerateDemoWorld(const Options& options, Summary* summary, QString* error)
{
    if (options.scale < 1 || options.outDir.isEmpty() || !(options.mapSize > 0.1 && options.mapSize <= 1.0)) {
        if (error)
            *error =
                QStringLiteral("scale must be at least 1, map size within (0.1, 1], and an output folder is needed");
        return false;
    }
    Generator g(options);
    return g.run(summary, error);
}

} // namespace demoworld
