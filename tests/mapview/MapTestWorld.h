// A small hand-made world for the map tests: campaign 1 "Amber" with two
// regions and campaign 4 "Delta" with one, a few zones, two professions,
// skills with places, and green items.
#pragma once

#include "mapview/modZones.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QImage>

struct MapTestWorld {
    World world;
    PanelState panel;

    MapTestWorld()
    {
        modZones::InitZoneIconAnchors(world.zoneIconAnchors);
        modOptions::InitColourTable(world.colourTable);
        world.language.set(2, QStringLiteral("Campaign"));
        world.language.set(10, QStringLiteral("Type"));
        world.language.set(33, QStringLiteral("Boss"));
        world.language.set(40, QStringLiteral("Note"));
        world.language.set(41, QStringLiteral("Zone"));
        world.language.set(53, QStringLiteral("Attribute"));

        world.campaigns.resize(5);
        world.campaigns[1].Name = QStringLiteral("Amber");
        world.campaigns[1].Regions.resize(3);
        world.campaigns[1].Regions[1].Name = QStringLiteral("North Vale");
        world.campaigns[1].Regions[2].Name = QStringLiteral("Ice Coast");
        world.campaigns[4].Name = QStringLiteral("Delta");
        world.campaigns[4].Regions.resize(2);
        world.campaigns[4].Regions[1].Name = QStringLiteral("Low Marsh");

        world.professions.Professions.resize(3);
        world.professions.Professions[1] = {QStringLiteral("Hearthguard"), QStringLiteral("H"), 0x0000ff, {QString()}};
        world.professions.Professions[2] = {QStringLiteral("Seer"), QStringLiteral("S"), 0x00ff00, {QString()}};

        world.elite.EliteSkills.resize(4);
        skill(1, QStringLiteral("Oaken Resolve"), 1);
        skill(2, QStringLiteral("Quick Eye"), 2);
        skill(3, QStringLiteral("Unlisted"), 2);
        panel.chkShowObject = {true, true, true, true, true};
    }

    void skill(int n, const QString& name, int profession)
    {
        auto& s = world.elite.EliteSkills[static_cast<std::size_t>(n)];
        s.Name = name;
        s.Defined = true;
        s.Profession = static_cast<uint8_t>(profession);
        s.Campaign = 1;
        s.Captured.assign(1, false);
    }

    // Appends a place of skill `elite` (its box x-6 .. x+6, y-6 .. y+6); returns
    // its location index.
    int place(int elite, int c, int r, int x, int y, const QString& boss = QStringLiteral("Boss"),
              const QString& marker = QString(), int zone = 0)
    {
        auto& list = world.elite.EliteSkills[static_cast<std::size_t>(elite)].Locations;
        list.push_back({uint8_t(c), uint8_t(r), zone, x, y, x - 6, y - 6, x + 6, y + 6, boss, QString(), marker});
        return static_cast<int>(list.size()) - 1;
    }

    ZoneEntry& zone(int c, int r, int id, int kind, int flag, int x, int y, const QString& name)
    {
        auto& zones = world.campaigns[static_cast<std::size_t>(c)].Regions[static_cast<std::size_t>(r)].Zones;
        zones.push_back({int16_t(id), name, uint32_t(kind), uint8_t(flag), x, y, QRect()});
        return zones.back();
    }

    // Lists skills in lstElite in the given order.
    void list(std::initializer_list<int> elites)
    {
        panel.lstElite.clear();
        for (int e : elites)
            panel.lstElite.entries.push_back({world.elite.EliteSkills[static_cast<std::size_t>(e)].Name, e});
    }

    // Selects a zone of campaign c, region r in the panel's region filter.
    void chooseZone(int c, int r, int zoneIndex)
    {
        panel.cmbCampaign.entries = {{QStringLiteral("all"), -1}, {QStringLiteral("c"), c}};
        panel.cmbCampaign.selected = 1;
        panel.cmbRegion.entries = {{QStringLiteral("all"), 0}, {QStringLiteral("r"), r}};
        panel.cmbRegion.selected = 1;
        panel.cmbZone.entries = {{QStringLiteral("all"), 0}, {QStringLiteral("z"), zoneIndex}};
        panel.cmbZone.selected = 1;
    }
};

// A uniformly coloured map picture.
inline QImage PlainMap(int w, int h, QColor colour = QColor(40, 80, 40))
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}
