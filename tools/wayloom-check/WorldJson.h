// The loaded world as one JSON document, for data authors and end-to-end
// tests: keys are the record field names with the first letter lower-cased,
// paths are relative to the program folder.
#pragma once

#include "world/World.h"

#include <QJsonObject>
#include <QString>

QJsonObject WorldToJson(const World& world);

// One line with the count of each table.
QString WorldSummary(const World& world);

// One line naming the two professions whose marker colours look most alike,
// with their CIEDE2000 difference, in normal vision and under protanopia and
// deuteranopia; empty with fewer than two professions.
QString PaletteReport(const World& world);
