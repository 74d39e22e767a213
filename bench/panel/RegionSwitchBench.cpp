// A region switch as the player makes it (a list entry or a region menu item
// in another region): the region picture decoded, every layer redrawn and
// the viewport copied, against decoding the picture alone. On a scale-10
// world (record files only) started in the program with every layer's list
// holding all its entries, both regions showing the largest map picture of
// the bundled demo world, in a 1920 x 1080 viewport. Goal: under 50 ms.
//
// Run offscreen: QT_QPA_PLATFORM=offscreen region_switch_bench
#include "ScaleTenProgram.h"
#include "mapview/MapCanvas.h"
#include "mapview/frmMap.h"
#include "panel/frmEliteTab.h"
#include "panel/frmMenu.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <tuple>

namespace {

// Two regions of one campaign, the first the one with the most elite bosses.
struct TwoRegions {
    int campaign = -1, first = -1, second = -1;
};

TwoRegions BusiestRegions(const World& w)
{
    TwoRegions best;
    std::tie(best.campaign, best.first) = benchworld::BusiestRegion(w);
    if (best.campaign < 0)
        return best;
    for (int r = 1; r < static_cast<int>(w.campaigns[best.campaign].Regions.size()); ++r)
        if (r != best.first && modCampaigns::RegionExists(w.campaigns, best.campaign, r))
            best.second = r;
    return best;
}

struct Scene {
    QTemporaryDir dir;
    std::unique_ptr<WayloomProgram> program;
    TwoRegions regions;
    QString picture;
    QString error;

    Scene()
    {
        program = benchworld::StartScaleTenProgram(dir.path(), error);
        if (!program)
            return;
        regions = BusiestRegions(program->world());
        picture = benchworld::LargestMapPicture();
        if (regions.second < 0 || picture.isEmpty()) {
            error = QStringLiteral("no two regions or no picture");
            program.reset();
            return;
        }
        auto& c = program->world().campaigns[static_cast<std::size_t>(regions.campaign)];
        c.Regions[static_cast<std::size_t>(regions.first)].ImagePath = picture;
        c.Regions[static_cast<std::size_t>(regions.second)].ImagePath = picture;
        // Every list holds all of its entries: no campaign chosen.
        program->menu()->EliteTab().cmbCampaign->setCurrentIndex(0);
        program->map()->resize(1920 + 4, 1080 + 4);
    }
};

std::unique_ptr<Scene> g_scene;

Scene* Ready(benchmark::State& state)
{
    if (!g_scene)
        g_scene = std::make_unique<Scene>();
    if (!g_scene->program) {
        state.SkipWithError(qPrintable(g_scene->error));
        return nullptr;
    }
    return g_scene.get();
}

// The picture decoded into the region buffer, nothing drawn.
void BM_DecodeRegionPicture(benchmark::State& state)
{
    Scene* s = Ready(state);
    if (!s)
        return;
    mapview::MapCanvas canvas;
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.LoadRegionPicture(s->picture));
    state.counters["map_px"] = double(canvas.picOriginal.width()) * canvas.picOriginal.height();
}
BENCHMARK(BM_DecodeRegionPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

// Switching between the two regions: decode, full redraw, centring (viewport copy).
void BM_RegionSwitch(benchmark::State& state)
{
    Scene* s = Ready(state);
    if (!s)
        return;
    frmMap& map = *s->program->map();
    bool second = false;
    for (auto _ : state) {
        QString picture = s->picture;
        map.InizializzaVariabili(picture, s->regions.campaign, second ? s->regions.second : s->regions.first);
        map.UpdateMapWithNewEliteSkills();
        map.CenterMapOn(map.Canvas().picOriginal.width() / 2, map.Canvas().picOriginal.height() / 2);
        second = !second;
    }
    state.counters["view_w"] = map.VisibleWidth();
    state.counters["view_h"] = map.VisibleHeight();
    state.counters["loaded"] = map.MapLoaded() ? 1 : 0;
}
BENCHMARK(BM_RegionSwitch)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return benchworld::RunBenchmarks(argc, argv, [] { g_scene.reset(); });
}
