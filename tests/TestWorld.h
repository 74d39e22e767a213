// The one builder of hand-made worlds for the tests: a World (and the panel
// state the rules read) filled in memory a piece at a time, and the three
// small worlds the test folders start from.
#pragma once

#include "mapview/modZones.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QImage>

#include <initializer_list>
#include <tuple>
#include <utility>

struct TestWorld {
    World world;
    PanelState panel;

    // -- the pieces -------------------------------------------------------

    // Entry n of a table numbered from 0, the table grown to hold it.
    template <typename T>
    static T& At(std::vector<T>& table, int n)
    {
        if (table.size() <= std::size_t(n))
            table.resize(std::size_t(n) + 1);
        return table[std::size_t(n)];
    }

    TestWorld& text(int n, const QString& text)
    {
        world.language.set(n, text);
        return *this;
    }

    // Campaign c named `name`, the table grown to hold it.
    TestWorld& campaign(int c, const QString& name)
    {
        At(world.campaigns, c).Name = name;
        return *this;
    }

    // Region r of campaign c, the campaign's region list grown to hold it.
    TestWorld& region(int c, int r, const QString& name, const QString& imagePath = QString())
    {
        auto& region = At(world.campaigns[std::size_t(c)].Regions, r);
        region.Name = name;
        region.ImagePath = imagePath;
        return *this;
    }

    // Appends zone `id` to region r of campaign c (an outpost unless told).
    ZoneEntry& zone(int c, int r, int id, const QString& name, int kind = 2, int flag = 0, int x = 0, int y = 0)
    {
        auto& zones = world.campaigns[std::size_t(c)].Regions[std::size_t(r)].Zones;
        zones.push_back({int16_t(id), name, uint32_t(kind), uint8_t(flag), x, y, QRect()});
        return zones.back();
    }

    TestWorld& profession(int n, const QString& name, const QString& abbreviation, uint32_t colour,
                          std::initializer_list<const char*> attributes = {})
    {
        std::vector<QString> names{QString()};
        for (const char* a : attributes)
            names.push_back(QString::fromLatin1(a));
        At(world.professions.Professions, n) = {name, abbreviation, colour, names};
        return *this;
    }

    TestWorld& characters(std::initializer_list<const char*> names)
    {
        world.characters.Characters.clear();
        for (const char* name : names)
            world.characters.Characters.push_back(name ? QString::fromLatin1(name) : QString());
        return *this;
    }

    // Skill n of profession `profession` found in campaign `campaign`, captured
    // by nobody (one capture slot).
    TestWorld& skill(int n, const QString& name, int profession, int campaign = 1, const QString& attribute = QString())
    {
        auto& s = At(world.elite.EliteSkills, n);
        s.Name = name;
        s.Defined = true;
        s.Profession = uint8_t(profession);
        s.Campaign = uint8_t(campaign);
        s.Attribute = attribute;
        s.Captured.assign(1, false);
        return *this;
    }

    // Appends a boss place of skill `elite` (0 = a boss without a skill) at
    // (x, y), its box x-half .. x+half, y-half .. y+half; returns its location
    // index.
    int place(int elite, int c, int r, int x, int y, const QString& boss = QStringLiteral("Boss"),
              const QString& marker = QString(), int zone = 0, int half = 6)
    {
        auto& list = At(world.elite.EliteSkills, elite).Locations;
        list.push_back(
            {uint8_t(c), uint8_t(r), zone, x, y, x - half, y - half, x + half, y + half, boss, QString(), marker});
        return int(list.size()) - 1;
    }

    struct Reward {
        const char* name;
        int hand;
        std::initializer_list<const char*> stats;
    };

    // Collector `id` at (x, y) of campaign c, region r, zone.
    modCollectors::Collector& collector(int id, const QString& name, int c, int r, int zone, int x, int y,
                                        std::initializer_list<Reward> rewards, bool armour = false, int low = 1,
                                        const QString& request = QStringLiteral("5 Wolf Pelts"))
    {
        auto& col = At(world.collectors.Collectors, id);
        col.Name = name;
        col.IsArmor = armour;
        col.IsLowLevel = uint8_t(low);
        col.Request = request;
        col.Location = QStringLiteral("By the well");
        std::tie(col.Campaign, col.Region, col.Zone, col.X, col.Y) = std::tuple(uint8_t(c), uint8_t(r), zone, x, y);
        std::tie(col.Left, col.Top, col.Right, col.Bottom) = std::tuple(x - 6, y - 6, x + 6, y + 6);
        for (const Reward& rw : rewards) {
            modCollectors::CollectorReward reward;
            reward.Name = QString::fromLatin1(rw.name);
            reward.HandMask = int16_t(rw.hand);
            for (const char* s : rw.stats)
                reward.Stats.push_back(QString::fromLatin1(s));
            col.Rewards.push_back(reward);
        }
        return col;
    }

    // Green item dropped at place `location` of skill `elite`; returns its number.
    int green(const QString& name, int elite, int location, std::initializer_list<const char*> stats = {})
    {
        modGreens::GreenItem item;
        std::tie(item.Name, item.EliteNumber, item.LocationIndex) = std::tuple(name, elite, location);
        for (const char* s : stats)
            item.Stats.push_back(QString::fromLatin1(s));
        world.greens.Greens.push_back(item);
        const int n = world.greens.count();
        world.elite.EliteSkills[std::size_t(elite)].Locations[std::size_t(location)].Greens.push_back(n);
        return n;
    }

    int note(const QString& title, const QString& body, int c, int r, int x, int y)
    {
        modNotes::MapNote n;
        std::tie(n.ShortDesc, n.Body, n.Campaign, n.Region) = std::tuple(title, body, uint8_t(c), uint8_t(r));
        modNotes::PlaceNote(n, x, y);
        world.notes.Notes.push_back(n);
        return world.notes.count();
    }

    // A chest of the treasure map's region r, opened by nobody yet.
    int chest(const QString& name, int r, int zone, int x, int y)
    {
        modTreasures::Treasure t;
        t.Name = name;
        std::tie(t.Region, t.Zone, t.X, t.Y) = std::tuple(uint8_t(r), zone, x, y);
        std::tie(t.Left, t.Top, t.Right, t.Bottom) = std::tuple(x - 7, y - 7, x + 7, y + 7);
        t.OpenedOn.resize(world.characters.Characters.size());
        world.treasures.Treasures.push_back(t);
        return world.treasures.count();
    }

    // Pet `id` with places {campaign, region, zone, x, y}.
    struct Place {
        int c, r, zone, x, y;
    };
    void pet(int id, const QString& name, std::initializer_list<Place> places)
    {
        auto& pet = At(world.pets.Pets, id);
        pet.Name = name;
        for (const Place& p : places)
            pet.Places.push_back(
                {uint8_t(p.c), uint8_t(p.r), p.zone, p.x, p.y, p.x - 7, p.y - 7, p.x + 7, p.y + 7, QString()});
    }

    // -- the panel's choices ------------------------------------------------

    // Chooses campaign c (-1 = all), region r (0 = all) and zone position z.
    void area(int c, int r = 0, int z = 0)
    {
        panel.cmbCampaign.entries = {{QStringLiteral("all"), -1}, {QStringLiteral("c"), c}};
        panel.cmbCampaign.selected = c < 0 ? 0 : 1;
        panel.cmbRegion.entries = {{QStringLiteral("all"), 0}, {QStringLiteral("r"), r}};
        panel.cmbRegion.selected = r == 0 ? 0 : 1;
        panel.cmbZone.entries = {{QStringLiteral("all"), 0}, {QStringLiteral("z"), z}};
        panel.cmbZone.selected = z == 0 ? 0 : 1;
    }

    // Lists skills in lstElite in the given order.
    void list(std::initializer_list<int> elites)
    {
        panel.lstElite.clear();
        for (int e : elites)
            panel.lstElite.entries.push_back({world.elite.EliteSkills[std::size_t(e)].Name, e});
    }

    // -- the worlds the test folders start from -------------------------------

    // For the collectibles tabs and layers: campaign 1 "Amber" with regions 1
    // and 2, campaign 2 "Bare" without a region list, campaign 3 "Emberwake"
    // with region 1; two zones in Amber 1 and one in Emberwake 1; one
    // profession with two attributes; two characters.
    static TestWorld Collectibles()
    {
        TestWorld t;
        modOptions::InitColourTable(t.world.colourTable);
        const std::pair<int, const char*> texts[] = {
            {9, "All"},       {44, "Collectors"}, {45, "No attribute"}, {49, "Where"},         {50, "Wants"},
            {54, "One hand"}, {55, "Off hand"},   {56, "Two hands"},    {57, "Ranged"},        {59, "Green items"},
            {65, "Notes"},    {83, "Chests"},     {85, "Character"},    {87, "No characters"}, {88, "Nobody named"},
            {106, "Opened"},  {114, "Pets"}};
        for (const auto& [n, text] : texts)
            t.text(n, QString::fromLatin1(text));

        t.campaign(1, QStringLiteral("Amber"))
            .region(1, 1, QStringLiteral("North Vale"), QStringLiteral("/maps/north.jpg"))
            .region(1, 2, QStringLiteral("Ice Coast"), QStringLiteral("/maps/ice.jpg"))
            .campaign(2, QStringLiteral("Bare"))
            .campaign(3, QStringLiteral("Emberwake"))
            .region(3, 1, QStringLiteral("Varsha"), QStringLiteral("/maps/varsha.jpg"));
        t.zone(1, 1, 10, QStringLiteral("Thornwood"));
        t.zone(1, 1, 11, QStringLiteral("Ashen Gate"));
        t.zone(3, 1, 30, QStringLiteral("Dune Camp"));

        t.profession(1, QStringLiteral("Hearthguard"), QStringLiteral("H"), 0xff, {"Hewing", "Shieldcraft"})
            .characters({nullptr, "Ayla", "Bren"});
        t.panel.chkShowObject = {true, true, true, true, true};
        t.panel.Ready = true;
        return t;
    }

    // For the map: campaign 1 "Amber" with two regions and campaign 4 "Delta"
    // with one, two professions, three skills without places.
    static TestWorld MapSkills()
    {
        TestWorld t;
        modZones::InitZoneIconAnchors(t.world.zoneIconAnchors);
        modOptions::InitColourTable(t.world.colourTable);
        for (const auto& [n, text] :
             {std::pair{2, "Campaign"}, {10, "Type"}, {33, "Boss"}, {40, "Note"}, {41, "Zone"}, {53, "Attribute"}})
            t.text(n, QString::fromLatin1(text));

        t.campaign(1, QStringLiteral("Amber"))
            .region(1, 1, QStringLiteral("North Vale"))
            .region(1, 2, QStringLiteral("Ice Coast"))
            .campaign(4, QStringLiteral("Delta"))
            .region(4, 1, QStringLiteral("Low Marsh"));

        t.profession(1, QStringLiteral("Hearthguard"), QStringLiteral("H"), 0x0000ff)
            .profession(2, QStringLiteral("Seer"), QStringLiteral("S"), 0x00ff00);

        t.skill(1, QStringLiteral("Oaken Resolve"), 1)
            .skill(2, QStringLiteral("Quick Eye"), 2)
            .skill(3, QStringLiteral("Unlisted"), 2);
        t.panel.chkShowObject = {true, true, true, true, true};
        return t;
    }

    // For the panel's rules: two campaigns (0 "Core" and 1 "Alpha"), three
    // professions, five skills (skill 4 without a place) and three character
    // slots (slot 2 empty).
    static TestWorld PanelRules()
    {
        TestWorld t;
        for (const auto& [n, text] :
             {std::pair{4, "All characters"}, {9, "All"}, {45, "No attribute"}, {96, "Any secondary"}})
            t.text(n, QString::fromLatin1(text));

        t.campaign(0, QStringLiteral("Core"))
            .campaign(1, QStringLiteral("Alpha"))
            .region(1, 1, QStringLiteral("North Vale"))
            .region(1, 2, QStringLiteral("Ice Coast"));
        t.zone(1, 1, 10, QStringLiteral("Thornwood"));
        t.zone(1, 1, 11, QStringLiteral("ashen Gate"));
        t.zone(1, 2, 20, QStringLiteral("Frost Hollow"));

        t.profession(1, QStringLiteral("Hearthguard"), QStringLiteral("H"), 0xff, {"Hewing", "Shieldcraft"})
            .profession(2, QStringLiteral("Seer"), QStringLiteral("S"), 0xff00)
            .profession(3, QStringLiteral("Mender"), QStringLiteral("M"), 0xff0000, {"Healing"})
            .characters({nullptr, "Ayla", nullptr, "Bren"});

        //      number name                      prof campaign attribute
        t.skill(1, QStringLiteral("Zeta Strike"), 1, 1, QStringLiteral("Hewing"))
            .skill(2, QStringLiteral("alpha Burst"), 2, 1, QStringLiteral("No attribute"))
            .skill(3, QStringLiteral("Beta Ward"), 1, 0, QStringLiteral("shieldcraft"))
            .skill(4, QStringLiteral("Lost Art"), 1, 1)
            .skill(5, QStringLiteral("Gamma Mend"), 3, 1, QStringLiteral("Healing"));
        // Places without a box: elite, campaign, region, zone, boss.
        for (const auto& [e, c, r, z, boss] :
             {std::tuple{1, 1, 1, 10, "Grim Orc"}, std::tuple{2, 1, 2, 20, "Ice Queen"},
              std::tuple{3, 1, 2, 20, "Old Hermit"}, std::tuple{5, 1, 1, 11, "Mossback"},
              std::tuple{5, 1, 2, 20, "Frost ORC"}})
            t.place(e, c, r, 0, 0, QString::fromLatin1(boss), QString(), z, 0);
        // skill 4 has no place at all
        for (auto& s : t.world.elite.EliteSkills)
            s.Captured.assign(4, false);
        return t;
    }
};

// Item data of a list's entries, in order.
inline std::vector<int> DataOf(const std::vector<PanelEntry>& entries)
{
    std::vector<int> data;
    for (const PanelEntry& e : entries)
        data.push_back(e.data);
    return data;
}

// Lists item data in a panel list.
inline void ListInto(PanelList& list, std::initializer_list<int> data)
{
    list.clear();
    for (int d : data)
        list.entries.push_back({QString::number(d), d});
}

// A uniformly coloured map picture.
inline QImage PlainMap(int w, int h, QColor colour = QColor(40, 80, 40))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// ---- The character dialogs' world -------------------------------------------

// Characters 1 Ayla, 2 (deleted) and 3 Bren; skills 1..5 of campaign and
// profession 1/1, 1/2, 2/1, 2/2 and 1/1 (profession 2 abbreviated "R"); two
// chests; every capture and opened list holds the four character slots.
inline TestWorld CharacterWorld()
{
    TestWorld t;
    t.profession(1, QStringLiteral("Hearthguard"), QStringLiteral("H"), 0xff)
        .profession(2, QStringLiteral("Ranger"), QStringLiteral("R"), 0xff00)
        .characters({nullptr, "Ayla", nullptr, "Bren"});
    for (int n = 1; n <= 5; ++n)
        t.skill(n, QStringLiteral("Skill %1").arg(n), n == 2 || n == 4 ? 2 : 1, n == 3 || n == 4 ? 2 : 1);
    t.chest(QStringLiteral("Chest 1"), 1, 0, 10, 10);
    t.chest(QStringLiteral("Chest 2"), 1, 0, 30, 10);
    for (auto& s : t.world.elite.EliteSkills)
        s.Captured.assign(4, false);
    for (auto& c : t.world.treasures.Treasures)
        c.OpenedOn.assign(4, std::nullopt);
    return t;
}
