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

    step(QStringLiteral("move personal files"));
    if (!options.readOnly)
        modMain::MovePersonalFiles(world.appFolder);
    step(QStringLiteral("pending updater"));
    if (!options.readOnly)
        modMain::ApplyPendingUpdater(world.appFolder, options.updaterWait);
    step(QStringLiteral("colour table"));
    modOptions::InitColourTable(world.colourTable);
    step(QStringLiteral("characters"));
    step(QStringLiteral("campaigns and regions"));
    modCampaigns::LoadCampaigns(ctx, world.campaigns);
    step(QStringLiteral("zone icon anchors"));
    modZones::InitZoneIconAnchors(world.zoneIconAnchors);
    step(QStringLiteral("zones"));
    modZones::LoadZones(ctx, world.campaigns);
    step(QStringLiteral("professions"));
    step(QStringLiteral("collectors"));
    step(QStringLiteral("elite catalogue"));
    step(QStringLiteral("greens"));
    step(QStringLiteral("notes"));
    step(QStringLiteral("elite locations"));
    step(QStringLiteral("captured elites"));
    step(QStringLiteral("collector locations"));
    step(QStringLiteral("treasures"));
    step(QStringLiteral("opened treasures"));
    step(QStringLiteral("pets"));
    step(QStringLiteral("pet places"));
    step(QStringLiteral("empty-list guarantee"));
    step(QStringLiteral("settings"));
    modOptions::LoadOptions(ctx, world.language, world.settings, world.lastUpdateText);
}

bool LoadProgramFolder(World& world, const QString& appFolder, const StartupOptions& options)
{
    world.appFolder = modMain::AppFolderFrom(appFolder);
    if (!modLanguage::LoadLanguage(world.context(), world.language))
        return false;
    LoadAllData(world, options);
    return true;
}
