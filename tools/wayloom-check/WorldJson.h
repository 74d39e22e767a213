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
