// The demo world: a complete program folder of game data made from a fixed
// seed (campaigns, region maps, zones, professions, elite skills and their
// bosses, green items, collectors, treasures, pets), the same bytes on every
// run. Tests, screenshots and benchmarks grow from it.
#pragma once

#include <QString>

#include <cstdint>

namespace demoworld {

struct Options {
    int scale = 1;        // multiplies every count (regions, zones, skills, places, ...)
    QString outDir;       // the program folder to write into
    QString contactSheet; // when set: a PNG of all region maps with their markers
    bool maps = true;     // false: no region pictures (data-only worlds for benchmarks)
    double mapSize = 1.0; // shrinks the region maps (and so their room for markers), for quick tests
    int threads = 0;      // 0: one per core, at most 4
    uint64_t seed = 0x5745594C4F4F4D31ull;
};

// Counts of what was written, for the tool's summary line.
struct Summary {
    int campaigns = 0, regions = 0, zones = 0, professions = 0, skills = 0, places = 0;
    int greens = 0, collectors = 0, treasures = 0, pets = 0, petPlaces = 0, files = 0;
    int sharedPlaces = 0; // markers that had to share a place (a map ran out of free land)
};

// Writes the world into options.outDir. False with `error` set when a file
// could not be written.
bool GenerateDemoWorld(const Options& options, Summary* summary, QString* error);

} // namespace demoworld
