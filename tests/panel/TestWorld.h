// A small hand-made world for the panel's rules: two campaigns (0 "Core"
// and 1 "Alpha"), three professions, a handful of skills and characters.
#pragma once

#include "core/modCampaigns.h"
#include "core/modLanguage.h"
#include "elite/modCharacters.h"
#include "elite/modElite.h"
#include "elite/modProfessions.h"

#include <initializer_list>

struct TestWorld {
    CampaignTable campaigns;
    modProfessions::Tables professions;
    modElite::Tables elite;
    modCharacters::Tables characters;
    modLanguage::LanguageStrings language;

    TestWorld()
    {
        language.set(4, QStringLiteral("All characters"));
        language.set(9, QStringLiteral("All"));
        language.set(45, QStringLiteral("No attribute"));
        language.set(96, QStringLiteral("Any secondary"));

        campaigns.resize(2);
        campaigns[0].Name = QStringLiteral("Core");
        campaigns[1].Name = QStringLiteral("Alpha");
        campaigns[1].Regions.resize(3);
        campaigns[1].Regions[1].Name = QStringLiteral("North Vale");
        campaigns[1].Regions[2].Name = QStringLiteral("Ice Coast");
        addZone(1, 1, 10, QStringLiteral("Thornwood"));
        addZone(1, 1, 11, QStringLiteral("ashen Gate"));
        addZone(1, 2, 20, QStringLiteral("Frost Hollow"));

        professions.Professions.resize(4);
        professions.Professions[1] = {QStringLiteral("Hearthguard"),
                                      QStringLiteral("H"),
                                      0xff,
                                      {QString(), QStringLiteral("Hewing"), QStringLiteral("Shieldcraft")}};
        professions.Professions[2] = {QStringLiteral("Seer"), QStringLiteral("S"), 0xff00, {QString()}};
        professions.Professions[3] = {
            QStringLiteral("Mender"), QStringLiteral("M"), 0xff0000, {QString(), QStringLiteral("Healing")}};

        characters.Characters = {QString(), QStringLiteral("Ayla"), QString(), QStringLiteral("Bren")};

        elite.EliteSkills.resize(6);
        //     number name                      prof campaign attribute
        skill(1, QStringLiteral("Zeta Strike"), 1, 1, QStringLiteral("Hewing"));
        skill(2, QStringLiteral("alpha Burst"), 2, 1, QStringLiteral("No attribute"));
        skill(3, QStringLiteral("Beta Ward"), 1, 0, QStringLiteral("shieldcraft"));
        skill(4, QStringLiteral("Lost Art"), 1, 1, QString());
        skill(5, QStringLiteral("Gamma Mend"), 3, 1, QStringLiteral("Healing"));
        //       elite campaign region zone boss
        location(1, 1, 1, 10, QStringLiteral("Grim Orc"));
        location(2, 1, 2, 20, QStringLiteral("Ice Queen"));
        location(3, 1, 2, 20, QStringLiteral("Old Hermit"));
        location(5, 1, 1, 11, QStringLiteral("Mossback"));
        location(5, 1, 2, 20, QStringLiteral("Frost ORC"));
        // skill 4 has no location at all
        for (auto& s : elite.EliteSkills)
            s.Captured.assign(4, false);
    }

    void addZone(int c, int r, int id, const QString& name)
    {
        ZoneEntry z;
        z.Id = static_cast<int16_t>(id);
        z.Name = name;
        z.Kind = 2;
        campaigns[c].Regions[r].Zones.push_back(z);
    }
    void skill(int n, const QString& name, int profession, int campaign, const QString& attribute)
    {
        auto& s = elite.EliteSkills[n];
        s.Name = name;
        s.Defined = true;
        s.Profession = static_cast<uint8_t>(profession);
        s.Campaign = static_cast<uint8_t>(campaign);
        s.Attribute = attribute;
    }
    void location(int n, int c, int r, int zone, const QString& boss)
    {
        modElite::EliteLocation l;
        l.Campaign = static_cast<uint8_t>(c);
        l.Region = static_cast<uint8_t>(r);
        l.Zone = zone;
        l.Boss = boss;
        elite.EliteSkills[n].Locations.push_back(l);
    }
};
