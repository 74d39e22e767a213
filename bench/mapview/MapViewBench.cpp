// The cost of the map's two pipelines against the copies they are built on:
//   DrawEverythingOnMap  vs one copy of picOriginal into picTemp (target <= 3x)
//   UpdateMap 1920x1080  vs one copy of that rectangle         (target <= 1.5x)
// on the largest region picture of the world, with every elite skill that has
// a place listed (so every marker of that map is drawn).
//
// Run: WAYLOOM_BENCH_WORLD=/path/to/program/folder/ mapview_bench
#include "core/LoadAllData.h"
#include "mapview/MapCanvas.h"
#include "mapview/MapFlash.h"
#include "mapview/MapLayer.h"
#include "mapview/ZoneLayer.h"
#include "panel/PanelState.h"

#include <QGuiApplication>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Scene {
    World world;
    PanelState panel;
    mapview::MapCanvas canvas;
    mapview::MapLayers layers = mapview::MapLayers::Standard();
    mapview::SelectionFlasher flasher;
    int campaign = -1, region = -1, markers = 0;

    mapview::MapContext Context() const
    {
        return {world, panel, campaign, region, canvas.Offset(), canvas.ViewSize()};
    }
};

Scene* g_scene = nullptr;

bool Prepare(const QString& folder)
{
    auto scene = std::make_unique<Scene>();
    if (!LoadProgramFolder(scene->world, folder, StartupOptions{.readOnly = true})) {
        std::fprintf(stderr, "no program folder at %s\n", qPrintable(folder));
        return false;
    }
    // The largest region picture.
    qint64 best = 0;
    QSize bestSize;
    for (std::size_t c = 0; c < scene->world.campaigns.size(); ++c)
        for (std::size_t r = 1; r < scene->world.campaigns[c].Regions.size(); ++r) {
            QImageReader reader(scene->world.campaigns[c].Regions[r].ImagePath);
            const QSize size = reader.size();
            if (qint64(size.width()) * size.height() > best) {
                best = qint64(size.width()) * size.height();
                bestSize = size;
                scene->campaign = int(c);
                scene->region = int(r);
            }
        }
    if (best == 0 || !scene->canvas.LoadRegionPicture(
                         scene->world.campaigns[std::size_t(scene->campaign)].Regions[std::size_t(scene->region)].ImagePath)) {
        std::fprintf(stderr, "no region picture in %s\n", qPrintable(folder));
        return false;
    }
    for (int e = 1; e <= scene->world.elite.highest(); ++e) {
        const auto& skill = scene->world.elite.EliteSkills[std::size_t(e)];
        if (skill.Locations.size() < 2)
            continue;
        scene->panel.lstElite.entries.push_back({skill.Name, e});
        for (std::size_t i = 1; i < skill.Locations.size(); ++i)
            if (skill.Locations[i].Campaign == scene->campaign && skill.Locations[i].Region == scene->region)
                ++scene->markers;
    }
    mapview::ComputeZoneLabelBoxes(scene->world.campaigns, scene->world.zoneIconAnchors);
    scene->canvas.SetViewSize({1920, 1080});
    std::fprintf(stderr, "map %d x %d (campaign %d, region %d), %d elite markers, %d skills listed\n",
                 bestSize.width(), bestSize.height(), scene->campaign, scene->region, scene->markers,
                 scene->panel.lstElite.size());
    g_scene = scene.release();
    return true;
}

void SetCounters(benchmark::State& state)
{
    state.counters["markers"] = g_scene->markers;
    state.counters["map_px"] = double(g_scene->canvas.picOriginal.width()) * g_scene->canvas.picOriginal.height();
}

// Baseline: one copy of the region picture into the drawing buffer.
void BM_CopyOriginalIntoTemp(benchmark::State& state)
{
    auto& c = g_scene->canvas;
    for (auto _ : state) {
        std::memcpy(c.picTemp.bits(), c.picOriginal.constBits(), std::size_t(c.picOriginal.sizeInBytes()));
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}
BENCHMARK(BM_CopyOriginalIntoTemp)->Unit(benchmark::kMillisecond);

void BM_DrawEverythingOnMap(benchmark::State& state)
{
    auto& s = *g_scene;
    for (auto _ : state) {
        s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}
BENCHMARK(BM_DrawEverythingOnMap)->Unit(benchmark::kMillisecond);

// Baseline: one copy of a 1920 x 1080 rectangle (row by row) out of picTemp.
void BM_CopyViewportRectangle(benchmark::State& state)
{
    auto& c = g_scene->canvas;
    QImage target(1920, 1080, QImage::Format_RGB32);
    const int w = std::min(1920, c.picTemp.width());
    const int h = std::min(1080, c.picTemp.height());
    const int sx = (c.picTemp.width() - w) / 2;
    const int sy = (c.picTemp.height() - h) / 2;
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            std::memcpy(target.scanLine(y), c.picTemp.constScanLine(sy + y) + std::size_t(sx) * 4, std::size_t(w) * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyViewportRectangle)->Unit(benchmark::kMicrosecond);

void BM_UpdateMap1920x1080(benchmark::State& state)
{
    auto& c = g_scene->canvas;
    c.CenterMapOn(c.picTemp.width() / 2, c.picTemp.height() / 2);
    for (auto _ : state) {
        c.UpdateMap();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_UpdateMap1920x1080)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString folder = qEnvironmentVariable("WAYLOOM_BENCH_WORLD", QStringLiteral(WAYLOOM_DEFAULT_WORLD));
    if (!folder.endsWith(u'/'))
        folder += u'/';
    benchmark::Initialize(&argc, argv);
    if (!Prepare(folder))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
