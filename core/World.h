// One value holding every table the program loads at start: the region
// catalogue with its zones, the module tables, the personal records, the
// interface texts, the settings and the colour table. Loaders fill it;
// windows and layers receive it. The running program owns exactly one;
// tests build small ones of their own.
#pragma once

#include "core/LoadContext.h"
#include "core/RecordFile.h"
#include "core/modCampaigns.h"
#include "core/modLanguage.h"
#include "core/modOptions.h"
#include "mapview/modZones.h"

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
    modOptions::Settings settings;
    QString lastUpdateText;

    // What the loaders are handed: this world's folder and diagnostics.
    LoadContext context() { return LoadContext{appFolder, &diagnostics}; }
};
