#include "core/LoadAllData.h"

#include "core/modMain.h"

namespace {

class Steps {
public:
    explicit Steps(const StartupOptions& options) : m_options(options) {}
    void operator()(const QString& name)
    {
        ++m_step;
        if (m_options.onStep)
            m_options.onStep(m_step, name);
    }

private:
    const StartupOptions& m_options;
    int m_step = 0;
};

} // namespace

void LoadAllData(World& world, const StartupOptions& options)
{
    const LoadContext ctx = world.context();
    Steps step(options);
    // The catalogue's pictures are looked up on a second thread while the
    // tables after it load; the answers are in before the load returns.
    modElite::PictureChecks pictures;

    step(QStringLiteral("move personal files"));
    if (!options.readOnly)
        modMain::MovePersonalFiles(world.appFolder);
    step(QStringLiteral("pending updater"));
    if (!options.readOnly)
        modMain::ApplyPendingUpdater(world.appFolder, options.updaterWait);
    step(QStringLiteral("colour table"));
    modOptions::InitColourTable(world.colourTable);
    step(QStringLiteral("characters"));
    modCharacters::LoadCharacters(ctx, world.characters);
    step(QStringLiteral("campaigns and regions"));
    modCampaigns::LoadCampaigns(ctx, world.campaigns);
    step(QStringLiteral("zone icon anchors"));
    modZones::InitZoneIconAnchors(world.zoneIconAnchors);
    step(QStringLiteral("zones"));
    modZones::LoadZones(ctx, world.campaigns);
    step(QStringLiteral("professions"));
    modProfessions::LoadProfessions(ctx, world.campaigns, world.professions);
    step(QStringLiteral("collectors"));
    modCollectors::LoadCollectors(ctx, world.campaigns, world.collectors);
    step(QStringLiteral("elite catalogue"));
    modElite::LoadEliteList(ctx, world.campaigns, world.characters, world.elite, pictures);
    step(QStringLiteral("greens"));
    modGreens::LoadGreens(ctx, world.campaigns, world.greens);
    step(QStringLiteral("notes"));
    modNotes::LoadNotes(ctx, world.notes);
    step(QStringLiteral("elite locations"));
    modElite::LoadEliteLocations(ctx, world.campaigns, world.greens, world.elite);
    step(QStringLiteral("captured elites"));
    modCharacters::LoadCapturedElites(ctx, world.characters, world.elite);
    step(QStringLiteral("collector locations"));
    modCollectors::LoadCollectorLocations(ctx, world.campaigns, world.collectors);
    step(QStringLiteral("treasures"));
    modTreasures::LoadTreasures(ctx, world.characters, world.treasures);
    step(QStringLiteral("opened treasures"));
    modTreasures::LoadOpenedTreasures(ctx, world.characters, world.treasures);
    step(QStringLiteral("pets"));
    modPets::LoadPets(ctx, world.campaigns, world.pets);
    step(QStringLiteral("pet places"));
    modPets::LoadPetPlaces(ctx, world.campaigns, world.pets);
    step(QStringLiteral("empty-list guarantee"));
    modCollectors::EnsureEmptyLists(world.collectors);
    modGreens::EnsureEmptyLists(world.greens);
    step(QStringLiteral("settings"));
    modOptions::LoadOptions(ctx, world.language, world.settings, world.lastUpdateText);
    pictures.finish(world.elite);
}

bool LoadProgramFolder(World& world, const QString& appFolder, const StartupOptions& options)
{
    world.appFolder = modMain::AppFolderFrom(appFolder);
    if (!modLanguage::LoadLanguage(world.context(), world.language))
        return false;
    LoadAllData(world, options);
    return true;
}
