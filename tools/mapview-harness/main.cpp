// mapview-harness: shows the map window on a region of a program folder with
// every elite skill listed, the first boss of the region selected (blinking)
// and, on request, its information window open; can save a screenshot.
//
//   mapview-harness [--folder DIR] [--campaign C --region R] [--hover] [--screenshot FILE]
#include "app/StandardLayers.h"
#include "mapview/frmMap.h"
#include "world/LoadAllData.h"
#include "world/PanelState.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>

int main(int argc, char** argv)
{
    // A write past a file-size limit fails as an error rather than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QCommandLineParser args;
    args.addHelpOption();
    args.addOption({"folder", "Program folder (default: the build's program folder).", "dir"});
    args.addOption({"campaign", "Campaign number.", "c"});
    args.addOption({"region", "Region number.", "r"});
    args.addOption({"hover", "Show the information window of the selected boss."});
    args.addOption({"screenshot", "Save the window to a file and quit.", "file"});
    args.process(app);

    QString folder = args.isSet("folder") ? args.value("folder") : QStringLiteral(WAYLOOM_PROGRAM_DIR);
    folder = QDir(folder).absolutePath() + u'/';
    World world;
    if (!LoadProgramFolder(world, folder, StartupOptions{.readOnly = true})) {
        std::fprintf(stderr, "no language file in %s\n", qPrintable(folder));
        return 1;
    }

    // Every skill with a place, by name; the region with the most places.
    PanelState panel;
    panel.Ready = true;
    std::map<std::pair<int, int>, int> places;
    for (int e = 1; e <= world.elite.highest(); ++e) {
        const auto& skill = world.elite.EliteSkills[static_cast<std::size_t>(e)];
        if (skill.Locations.size() < 2)
            continue;
        panel.lstElite.entries.push_back({skill.Name, e});
        for (std::size_t i = 1; i < skill.Locations.size(); ++i)
            ++places[{skill.Locations[i].Campaign, skill.Locations[i].Region}];
    }
    std::sort(panel.lstElite.entries.begin(), panel.lstElite.entries.end(),
              [](const PanelEntry& a, const PanelEntry& b) { return a.text.compare(b.text, Qt::CaseInsensitive) < 0; });
    std::pair<int, int> busiest{1, 1};
    if (!places.empty())
        busiest = std::max_element(places.begin(), places.end(), [](const auto& a, const auto& b) {
                      return a.second < b.second;
                  })->first;
    const int c = args.isSet("campaign") ? args.value("campaign").toInt() : busiest.first;
    const int r = args.isSet("region") ? args.value("region").toInt() : busiest.second;

    // Select the first listed skill standing in that region.
    QPoint centre;
    for (int i = 0; i < panel.lstElite.size() && !panel.lstLocations.hasSelection(); ++i) {
        const auto& skill = world.elite.EliteSkills[static_cast<std::size_t>(panel.lstElite.entries[i].data)];
        for (std::size_t l = 1; l < skill.Locations.size(); ++l)
            if (skill.Locations[l].Campaign == c && skill.Locations[l].Region == r) {
                panel.lstElite.selected = i;
                panel.lstLocations.entries = {{skill.Locations[l].Boss, static_cast<int>(l)}};
                panel.lstLocations.selected = 0;
                centre = {skill.Locations[l].X, skill.Locations[l].Y};
                break;
            }
    }

    mapview::frmMap map(world, panel, StandardMapLayers());
    QObject::connect(&map, &mapview::frmMap::quitRequested, &app, &QApplication::quit);
    map.resize(1024, 700);
    map.show();
    QString path = modCampaigns::RegionExists(world.campaigns, c, r)
                       ? world.campaigns[static_cast<std::size_t>(c)].Regions[static_cast<std::size_t>(r)].ImagePath
                       : QString();
    map.InizializzaVariabili(path, c, r);
    map.UpdateMapWithNewEliteSkills();
    map.CenterMapOn(centre.x(), centre.y());
    if (args.isSet("hover"))
        map.PointerMove(QPointF(centre.x() + map.MapOffsetX(), centre.y() + map.MapOffsetY()));

    if (args.isSet("screenshot")) {
        const QString file = args.value("screenshot");
        QTimer::singleShot(100, &map, [&map, file] {
            map.grab().save(file);
            QApplication::quit();
        });
    }
    return app.exec();
}
