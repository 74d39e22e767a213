// One value holding every table the program loads at start: the region
// catalogue with its zones, the module tables, the personal records, the
// interface texts, the settings and the colour table. Loaders fill it;
// windows and layers receive it. The running program owns exactly one;
// tests build small ones of their own.
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"
#include "core/modLanguage.h"
#include "core/modOptions.h"
#include "elite/modCharacters.h"
#include "elite/modElite.h"
#include "elite/modProfessions.h"
#include "layers/modCollectors.h"
#include "layers/modGreens.h"
#include "layers/modNotes.h"
#include "layers/modPets.h"
#include "layers/modTreasures.h"
#include "mapview/modZones.h"
#include "records/RecordFile.h"

#include <QString>

struct World {
    // The program folder, ending in "/".
    QString appFolder;
    // Lines the loaders skipped.
    records::Diagnostics diagnostics;

    modLanguage::LanguageStrings language;
    modOptions::ColourTable colourTable{};
    CampaignTable campaigns{1};
    modZones::ZoneIconAnchorTable zoneIconAnchors;

    modCharacters::Tables characters;   // characters.Characters
    modProfessions::Tables professions; // professions.Professions
    modElite::Tables elite;             // elite.EliteSkills, with locations and capture flags
    modGreens::Tables greens;           // greens.Greens
    modCollectors::Tables collectors;   // collectors.Collectors, collectors.RequestTypes
    modTreasures::Tables treasures;     // treasures.Treasures, with opened dates
    modPets::Tables pets;               // pets.Pets, with places
    modNotes::Tables notes;             // notes.Notes

    modOptions::Settings settings;
    QString lastUpdateText;

    // What the loaders are handed: this world's folder and diagnostics.
    LoadContext context() { return LoadContext{appFolder, &diagnostics}; }
};
