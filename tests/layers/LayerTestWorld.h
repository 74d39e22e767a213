// A small hand-made world for the collectibles tabs and layers: campaign 1
// "Amber" with regions 1 and 2, campaign 2 "Bare" without a region list,
// campaign 3 "Emberwake" with region 1; two zones in Amber 1 and one in
// Emberwake 1; one profession with two attributes; two characters.
#pragma once

#include "mapview/modZones.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QImage>

#include <initializer_list>

struct LayerTestWorld {
    World world;
    PanelState panel;

    LayerTestWorld()
    {
        modOptions::InitColourTable(world.colourTable);
        const std::pair<int, const char*> texts[] = {
            {9, "All"},       {44, "Collectors"}, {45, "No attribute"}, {49, "Where"},         {50, "Wants"},
            {54, "One hand"}, {55, "Off hand"},   {56, "Two hands"},    {57, "Ranged"},        {59, "Green items"},
            {65, "Notes"},    {83, "Chests"},     {85, "Character"},    {87, "No characters"}, {88, "Nobody named"},
            {106, "Opened"},  {114, "Pets"}};
        for (const auto& [n, text] : texts)
            world.language.set(n, QString::fromLatin1(text));

        world.campaigns.resize(4);
        world.campaigns[1].Name = QStringLiteral("Amber");
        world.campaigns[1].Regions.resize(3);
        world.campaigns[1].Regions[1] = {QStringLiteral("North Vale"), QStringLiteral("/maps/north.jpg"), {{}}};
        world.campaigns[1].Regions[2] = {QStringLiteral("Ice Coast"), QStringLiteral("/maps/ice.jpg"), {{}}};
        world.campaigns[2].Name = QStringLiteral("Bare");
        world.campaigns[3].Name = QStringLiteral("Emberwake");
        world.campaigns[3].Regions.resize(2);
        world.campaigns[3].Regions[1] = {QStringLiteral("Varsha"), QStringLiteral("/maps/varsha.jpg"), {{}}};
        zone(1, 1, 10, QStringLiteral("Thornwood"));
        zone(1, 1, 11, QStringLiteral("Ashen Gate"));
        zone(3, 1, 30, QStringLiteral("Dune Camp"));

        world.professions.Professions.resize(2);
        world.professions.Professions[1] = {QStringLiteral("Hearthguard"),
                                            QStringLiteral("H"),
                                            0xff,
                                            {QString(), QStringLiteral("Hewing"), QStringLiteral("Shieldcraft")}};
        world.characters.Characters = {QString(), QStringLiteral("Ayla"), QStringLiteral("Bren")};
        panel.chkShowObject = {true, true, true, true, true};
        panel.Ready = true;
    }

    void zone(int c, int r, int id, const QString& name)
    {
        ZoneEntry z;
        z.Id = static_cast<int16_t>(id);
        z.Name = name;
        z.Kind = 2;
        world.campaigns[std::size_t(c)].Regions[std::size_t(r)].Zones.push_back(z);
    }

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
        auto& table = world.collectors.Collectors;
        if (table.size() <= std::size_t(id))
            table.resize(std::size_t(id) + 1);
        auto& col = table[std::size_t(id)];
        col.Name = name;
        col.IsArmor = armour;
        col.IsLowLevel = uint8_t(low);
        col.Request = request;
        col.Location = QStringLiteral("By the well");
        col.Campaign = uint8_t(c);
        col.Region = uint8_t(r);
        col.Zone = zone;
        col.X = x;
        col.Y = y;
        col.Left = x - 6;
        col.Top = y - 6;
        col.Right = x + 6;
        col.Bottom = y + 6;
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

    // A boss place of skill `elite` (0 = no skill) with green items dropped
    // there; returns the location index.
    int boss(int elite, int c, int r, int zone, int x, int y)
    {
        auto& skills = world.elite.EliteSkills;
        if (skills.size() <= std::size_t(elite))
            skills.resize(std::size_t(elite) + 1);
        auto& list = skills[std::size_t(elite)].Locations;
        list.push_back({uint8_t(c), uint8_t(r), zone, x, y, x - 6, y - 6, x + 6, y + 6, QStringLiteral("Boss"),
                        QString(), QString()});
        return int(list.size()) - 1;
    }

    // Green item dropped at place `location` of skill `elite`; returns its number.
    int green(const QString& name, int elite, int location, std::initializer_list<const char*> stats = {})
    {
        modGreens::GreenItem item;
        item.Name = name;
        item.EliteNumber = elite;
        item.LocationIndex = location;
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
        n.ShortDesc = title;
        n.Body = body;
        n.Campaign = uint8_t(c);
        n.Region = uint8_t(r);
        modNotes::PlaceNote(n, x, y);
        world.notes.Notes.push_back(n);
        return world.notes.count();
    }

    int chest(const QString& name, int r, int zone, int x, int y)
    {
        modTreasures::Treasure t;
        t.Name = name;
        t.Region = uint8_t(r);
        t.Zone = zone;
        t.X = x;
        t.Y = y;
        t.Left = x - 7;
        t.Top = y - 7;
        t.Right = x + 7;
        t.Bottom = y + 7;
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
        auto& table = world.pets.Pets;
        if (table.size() <= std::size_t(id))
            table.resize(std::size_t(id) + 1);
        table[std::size_t(id)].Name = name;
        for (const Place& p : places)
            table[std::size_t(id)].Places.push_back(
                {uint8_t(p.c), uint8_t(p.r), p.zone, p.x, p.y, p.x - 7, p.y - 7, p.x + 7, p.y + 7, QString()});
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

inline QImage PlainMap(int w, int h, QColor colour = QColor(40, 80, 40))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}
