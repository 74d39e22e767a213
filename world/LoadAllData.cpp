#include "world/LoadAllData.h"

#include "core/modMain.h"

#include <array>
#include <future>
#include <system_error>

namespace {

constexpr int kStepCount = 21;

// Numbers the steps, tells the caller before each one, and gives each step a
// list of its own for the lines it skips.
class Steps {
public:
    Steps(const World& world, const StartupOptions& options) : m_world(world), m_options(options) {}

    void operator()(const QString& name)
    {
        ++m_step;
        if (m_options.onStep)
            m_options.onStep(m_step, name);
    }

    // What the current step's loader is handed.
    LoadContext context() { return contextOf(m_step); }
    LoadContext contextOf(int step) { return LoadContext{m_world.appFolder, &m_reports[static_cast<size_t>(step)]}; }

    // The skipped lines of every step, in step order, whichever thread ran
    // the step.
    void report(records::Diagnostics& diagnostics) const
    {
        for (const records::Diagnostics& step : m_reports)
            for (const records::Diagnostic& d : step.items())
                diagnostics.add(d.file, d.line, d.message);
    }

private:
    const World& m_world;
    const StartupOptions& m_options;
    int m_step = 0;
    std::array<records::Diagnostics, kStepCount + 1> m_reports;
};

// Runs `work` and then `help` on a second thread; only `work`, on this one,
// when no thread can be had.
template <typename Work, typename Help>
std::future<void> RunAside(Work work, Help help)
{
    try {
        return std::async(std::launch::async, [work, help] {
            work();
            help();
        });
    } catch (const std::system_error&) {
        work();
        return {};
    }
}

// Lets the second thread stop waiting for the catalogue's pictures when the
// load ends, however it ends.
class ReleaseHelpers {
public:
    explicit ReleaseHelpers(modElite::PictureChecks& pictures) : m_pictures(pictures) {}
    ~ReleaseHelpers() { m_pictures.abandon(); }
    ReleaseHelpers(const ReleaseHelpers&) = delete;
    ReleaseHelpers& operator=(const ReleaseHelpers&) = delete;

private:
    modElite::PictureChecks& m_pictures;
};

} // namespace

void LoadAllData(World& world, const StartupOptions& options)
{
    Steps step(world, options);
    // The catalogue's pictures are looked up by the second thread below once
    // it has loaded the collectors, and by this one from the empty-list
    // guarantee on; the answers are in before the load returns.
    modElite::PictureChecks pictures(modElite::PictureChecks::Helpers::Callers);

    step(QStringLiteral("move personal files"));
    if (!options.readOnly)
        modMain::MovePersonalFiles(world.appFolder);
    step(QStringLiteral("pending updater"));
    if (!options.readOnly)
        modMain::ApplyPendingUpdater(world.appFolder, options.updaterWait);
    step(QStringLiteral("colour table"));
    modOptions::InitColourTable(world.colourTable);
    step(QStringLiteral("characters"));
    modCharacters::LoadCharacters(step.context(), world.characters);
    step(QStringLiteral("campaigns and regions"));
    modCampaigns::LoadCampaigns(step.context(), world.campaigns);
    step(QStringLiteral("zone icon anchors"));
    modZones::InitZoneIconAnchors(world.zoneIconAnchors);
    step(QStringLiteral("zones"));
    modZones::LoadZones(step.context(), world.campaigns);
    step(QStringLiteral("professions"));
    modProfessions::LoadProfessions(step.context(), world.campaigns, world.professions);

    // The collectors and their locations (steps 9 and 15) need nothing but the
    // campaigns, which no later step changes, and no step before the
    // empty-list guarantee reads them: a second thread loads both while this
    // one goes on with the steps between, and then helps with the pictures.
    step(QStringLiteral("collectors"));
    constexpr int kCollectorLocationsStep = 15;
    std::future<void> collectors = RunAside(
        [&world, here = step.context(), locations = step.contextOf(kCollectorLocationsStep)] {
            modCollectors::LoadCollectors(here, world.campaigns, world.collectors);
            modCollectors::LoadCollectorLocations(locations, world.campaigns, world.collectors);
        },
        [&pictures] { pictures.help(); });
    const ReleaseHelpers releaseHelpers(pictures);

    step(QStringLiteral("elite catalogue"));
    modElite::LoadEliteList(step.context(), world.campaigns, world.characters, world.elite, pictures);
    step(QStringLiteral("greens"));
    modGreens::LoadGreens(step.context(), world.campaigns, world.greens);
    step(QStringLiteral("notes"));
    modNotes::LoadNotes(step.context(), world.notes);
    step(QStringLiteral("elite locations"));
    modElite::LoadEliteLocations(step.context(), world.campaigns, world.greens, world.elite);
    step(QStringLiteral("captured elites"));
    modCharacters::LoadCapturedElites(step.context(), world.characters, world.elite);
    step(QStringLiteral("collector locations")); // loaded with the collectors
    step(QStringLiteral("treasures"));
    modTreasures::LoadTreasures(step.context(), world.characters, world.treasures);
    step(QStringLiteral("opened treasures"));
    modTreasures::LoadOpenedTreasures(step.context(), world.characters, world.treasures);
    step(QStringLiteral("pets"));
    modPets::LoadPets(step.context(), world.campaigns, world.pets);
    step(QStringLiteral("pet places"));
    modPets::LoadPetPlaces(step.context(), world.campaigns, world.pets);
    step(QStringLiteral("empty-list guarantee"));
    pictures.help();
    if (collectors.valid())
        collectors.get();
    modCollectors::EnsureEmptyLists(world.collectors);
    modGreens::EnsureEmptyLists(world.greens);
    step(QStringLiteral("settings"));
    modOptions::LoadOptions(step.context(), world.language, world.settings, world.lastUpdateText);
    pictures.finish(world.elite);
    step.report(world.diagnostics);
}

bool LoadProgramFolder(World& world, const QString& appFolder, const StartupOptions& options)
{
    world.appFolder = modMain::AppFolderFrom(appFolder);
    if (!modLanguage::LoadLanguage(world.context(), world.language))
        return false;
    LoadAllData(world, options);
    return true;
}
