// The start-up loader: every table of the program folder loaded in one fixed
// order into a World.
#pragma once

#include "world/World.h"

#include <QString>

#include <chrono>
#include <functional>

struct StartupOptions {
    // Read-only: neither moves personal files nor replaces the updater
    // (steps 1 and 2 are reported but do nothing). Used by the checker.
    bool readOnly = false;
    // Each of the two waits of the updater hand-over.
    std::chrono::milliseconds updaterWait{1000};
    // Called before each step with its number (1..21) and name, in order.
    // The collector locations (step 15) load on a second thread together with
    // the collectors (step 9), so they may be done before step 15 is called.
    std::function<void(int step, const QString& name)> onStep{};
};

// Runs the 21 loaders in order: personal-file move, pending updater, colour
// table, characters, campaigns and regions, zone icon anchors, zones,
// professions, collectors, elite catalogue, greens, notes, elite locations
// (linking greens to their bosses), captured elites, collector locations,
// treasures, opened treasures, pets, pet places, empty-list guarantee,
// settings. world.appFolder must be set and the language loaded (the
// settings fall back on its text for the last update date). Skipped lines are
// added to world.diagnostics in step order.
void LoadAllData(World& world, const StartupOptions& options = {});

// What Main does before opening a window: sets the program folder, loads the
// language file and, when it is there, every other table. False when the
// language file is missing or empty (nothing else is loaded then).
bool LoadProgramFolder(World& world, const QString& appFolder, const StartupOptions& options = {});
