// The cost of the map's two pipelines against the copies they are built on:
//   DrawEverythingOnMap  vs one copy of picOriginal into picTemp (target <= 3x)
//   UpdateMap 1920x1080  vs one copy of that rectangle         (target <= 1.5x)
// on the largest region picture of the world, with every entry of every layer
// listed (every elite skill with a place, every located collector, every
// linked green item, every note, chest and pet), so that every marker of that
// map is drawn. Then each tab's filter after one keystroke with the redraw it
// triggers (target < 16 ms), and a region switch (decode + full redraw +
// viewport copy, target < 50 ms) next to the decode alone, and the halvings of
// the picture that drawing below 100 % starts from.
//
// Run: WAYLOOM_BENCH_WORLD=/path/to/program/folder/ mapview_bench
#include "app/StandardLayers.h"
#include "mapview/MapCanvas.h"
#include "mapview/MapFlash.h"
#include "mapview/MapLayer.h"
#include "mapview/MapPyramid.h"
#include "mapview/RegionCache.h"
#include "mapview/RegionPreloader.h"
#include "mapview/ZoneLayer.h"
#include "panel/modCollectorsTab.h"
#include "panel/modGreensTab.h"
#include "panel/modNotesTab.h"
#include "panel/modTreasuresPetsTab.h"
#include "world/LoadAllData.h"
#include "world/PanelState.h"

#include <QGuiApplication>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Scene {
    World world;
    PanelState panel;
    mapview::MapCanvas canvas;
    mapview::MapLayers layers = StandardMapLayers();
    mapview::SelectionFlasher flasher;
    int campaign = -1, region = -1, markers = 0, others = 0;

    mapview::MapContext Context() const
    {
        return {world,          panel, campaign, region, canvas.DrawingOrigin(), canvas.ViewSize(), canvas.Placement(),
                canvas.Labels()};
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
    if (best == 0 ||
        !scene->canvas.LoadRegionPicture(
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
    // The demo world ships no personal notes: a player's thousand, one in ten
    // on the largest map, the others spread over every region.
    if (scene->world.notes.count() == 0) {
        std::vector<std::pair<int, int>> regions;
        for (std::size_t c = 0; c < scene->world.campaigns.size(); ++c)
            for (std::size_t r = 1; r < scene->world.campaigns[c].Regions.size(); ++r)
                regions.emplace_back(int(c), int(r));
        for (int i = 0; i < 1000; ++i) {
            modNotes::MapNote note;
            note.ShortDesc = QStringLiteral("Note %1 by the old bridge").arg(i);
            note.Body = QStringLiteral("Meet here at dusk\r\nbring %1 torches").arg(i % 7);
            const auto [c, r] =
                i % 10 == 0 ? std::pair(scene->campaign, scene->region) : regions[std::size_t(i) % regions.size()];
            note.Campaign = uint8_t(c);
            note.Region = uint8_t(r);
            modNotes::PlaceNote(note, 40 + (i * 97) % std::max(1, bestSize.width() - 80),
                                40 + (i * 61) % std::max(1, bestSize.height() - 80));
            scene->world.notes.Notes.push_back(note);
        }
    }
    // Every other layer lists everything: no campaign is chosen and the
    // searches are empty.
    PanelState& panel = scene->panel;
    const World& world = scene->world;
    panel.lstCollectors.entries = modCollectorsTab::FilterCollectorEntries(world, panel);
    panel.lstGreens.entries = modGreensTab::FilterGreenEntries(world, panel);
    panel.lstNotes.entries = modNotesTab::FilterNoteEntries(world, panel);
    panel.lstVarshaTreasures.entries = modTreasuresPetsTab::FilterTreasureEntries(world, panel);
    panel.lstPets.entries = modTreasuresPetsTab::FilterPetEntries(world, panel);
    const int c = scene->campaign, r = scene->region;
    auto here = [&](int campaign, int region) { return campaign == c && region == r; };
    for (const PanelEntry& e : panel.lstCollectors.entries)
        scene->others += here(world.collectors.Collectors[std::size_t(e.data)].Campaign,
                              world.collectors.Collectors[std::size_t(e.data)].Region);
    for (const PanelEntry& e : panel.lstGreens.entries) {
        const auto* loc = modGreensTab::GreenBossLocation(world, e.data);
        scene->others += loc && here(loc->Campaign, loc->Region);
    }
    for (const PanelEntry& e : panel.lstNotes.entries)
        scene->others +=
            here(world.notes.Notes[std::size_t(e.data)].Campaign, world.notes.Notes[std::size_t(e.data)].Region);
    for (const PanelEntry& e : panel.lstVarshaTreasures.entries)
        scene->others += here(3, world.treasures.Treasures[std::size_t(e.data)].Region);
    for (const PanelEntry& e : panel.lstPets.entries)
        for (const auto& place : world.pets.Pets[std::size_t(e.data)].Places)
            scene->others += here(place.Campaign, place.Region);
    mapview::ComputeZoneLabelBoxes(scene->world.campaigns, scene->world.zoneIconAnchors);
    scene->canvas.SetViewSize({1920, 1080});
    std::fprintf(stderr,
                 "map %d x %d (campaign %d, region %d), %d elite markers, %d skills listed; %d markers of the other "
                 "layers (%d collectors, %d greens, %d notes, %d chests, %d pets listed)\n",
                 bestSize.width(), bestSize.height(), scene->campaign, scene->region, scene->markers,
                 scene->panel.lstElite.size(), scene->others, panel.lstCollectors.size(), panel.lstGreens.size(),
                 panel.lstNotes.size(), panel.lstVarshaTreasures.size(), panel.lstPets.size());
    g_scene = scene.release();
    return true;
}

void SetCounters(benchmark::State& state)
{
    state.counters["markers"] = g_scene->markers + g_scene->others;
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

// The same with every other elite skill and chest done and drawn faintly
// ("Done: dim"): the cost of keeping the picture under the done markers.
void BM_DrawEverythingOnMapWithDoneDimmed(benchmark::State& state)
{
    auto& s = *g_scene;
    const PanelState plain = s.panel;
    for (auto* list : {&s.panel.lstElite, &s.panel.lstVarshaTreasures})
        for (std::size_t i = 0; i < list->entries.size(); i += 2)
            list->entries[i].done = true;
    for (auto _ : state) {
        s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        benchmark::ClobberMemory();
    }
    s.panel = plain;
    SetCounters(state);
}
BENCHMARK(BM_DrawEverythingOnMapWithDoneDimmed)->Unit(benchmark::kMillisecond);

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

// One keystroke in a tab's search box (alternately typing a letter and
// deleting it): the tab's filter, its list, and the full redraw it calls.
void Keystroke(benchmark::State& state, QString PanelState::*box, void (*filter)(Scene&))
{
    auto& s = *g_scene;
    const QString saved = s.panel.*box;
    bool typed = false;
    for (auto _ : state) {
        typed = !typed;
        s.panel.*box = typed ? QStringLiteral("e") : QString();
        filter(s);
        s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        benchmark::ClobberMemory();
    }
    s.panel.*box = saved;
    filter(s);
    SetCounters(state);
}

void BM_KeystrokeCollectors(benchmark::State& state)
{
    Keystroke(state, &PanelState::txtCollSearch, [](Scene& s) {
        s.panel.lstCollectors.entries = modCollectorsTab::FilterCollectorEntries(s.world, s.panel);
    });
}
BENCHMARK(BM_KeystrokeCollectors)->Unit(benchmark::kMillisecond);

void BM_KeystrokeGreens(benchmark::State& state)
{
    Keystroke(state, &PanelState::txtGreenAdditional,
              [](Scene& s) { s.panel.lstGreens.entries = modGreensTab::FilterGreenEntries(s.world, s.panel); });
}
BENCHMARK(BM_KeystrokeGreens)->Unit(benchmark::kMillisecond);

void BM_KeystrokeNotes(benchmark::State& state)
{
    Keystroke(state, &PanelState::txtNoteBody,
              [](Scene& s) { s.panel.lstNotes.entries = modNotesTab::FilterNoteEntries(s.world, s.panel); });
}
BENCHMARK(BM_KeystrokeNotes)->Unit(benchmark::kMillisecond);

// The chests and pets tab has no search box: its filters run on a change of
// the area; here both run with the redraw, as a zone choice runs them.
void BM_RefilterTreasuresAndPets(benchmark::State& state)
{
    auto& s = *g_scene;
    for (auto _ : state) {
        s.panel.lstVarshaTreasures.entries = modTreasuresPetsTab::FilterTreasureEntries(s.world, s.panel);
        s.panel.lstPets.entries = modTreasuresPetsTab::FilterPetEntries(s.world, s.panel);
        s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}
BENCHMARK(BM_RefilterTreasuresAndPets)->Unit(benchmark::kMillisecond);

// Region switch: the picture decoded, every layer drawn, the view copied.
void BM_RegionSwitch(benchmark::State& state)
{
    auto& s = *g_scene;
    const QString path = s.world.campaigns[std::size_t(s.campaign)].Regions[std::size_t(s.region)].ImagePath;
    for (auto _ : state) {
        s.canvas.LoadRegionPicture(path);
        s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}
BENCHMARK(BM_RegionSwitch)->Unit(benchmark::kMillisecond);

void BM_RegionPictureDecodeOnly(benchmark::State& state)
{
    auto& s = *g_scene;
    const QString path = s.world.campaigns[std::size_t(s.campaign)].Regions[std::size_t(s.region)].ImagePath;
    for (auto _ : state) {
        QImage picture(path);
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(BM_RegionPictureDecodeOnly)->Unit(benchmark::kMillisecond);

// The halvings of the largest picture for drawing below 100 % (built off the
// interface thread; target < 100 ms for 3200 x 2400).
void BM_BuildPyramid(benchmark::State& state)
{
    auto& s = *g_scene;
    for (auto _ : state) {
        const mapview::MapPyramid pyramid(s.canvas.picOriginal);
        benchmark::DoNotOptimize(pyramid.LevelCount());
    }
    state.counters["pixels"] = double(s.canvas.picOriginal.width()) * s.canvas.picOriginal.height();
}
BENCHMARK(BM_BuildPyramid)->Unit(benchmark::kMillisecond);

// ---- Zoom --------------------------------------------------------------------

// What a frame costs: each iteration's own time, for the median and the
// 95th percentile (milliseconds).
struct FrameTimes {
    std::vector<double> ms;
    void Report(benchmark::State& state)
    {
        if (ms.empty())
            return;
        std::sort(ms.begin(), ms.end());
        state.counters["p50_ms"] = ms[ms.size() / 2];
        state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    }
};

template <typename F>
double TimeMs(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

mapview::Zoom LevelArg(int64_t percent)
{
    return percent == 0 ? mapview::Zoom::FitWindow() : mapview::Zoom::Level(int(percent));
}

// The canvas as the map window keeps it zoomed: the halvings built, the view
// 1920 x 1080 at the device pixel ratio of the run.
void PrepareZoom(qreal ratio)
{
    auto& c = g_scene->canvas;
    static std::shared_ptr<const mapview::MapPyramid> halvings;
    if (!halvings)
        halvings = std::make_shared<const mapview::MapPyramid>(c.picOriginal);
    c.SetHalvings(halvings);
    c.SetViewSize({1920, 1080}, ratio);
}

void RestoreActualSize()
{
    auto& c = g_scene->canvas;
    c.SetViewSize({1920, 1080}, 1.0);
    c.SetZoom(mapview::Zoom::Level(100), {});
}

// A wheel step into a level (from the level next to it), to its repainted
// frame: the view transform, the map at the new scale, every layer.
void BM_ZoomWheelStep(benchmark::State& state)
{
    auto& s = *g_scene;
    PrepareZoom(qreal(state.range(1)));
    const mapview::Zoom target = LevelArg(state.range(0));
    const QPointF pointer(700, 400);
    FrameTimes frames;
    for (auto _ : state) {
        state.PauseTiming();
        const int away = target.Fit || target.Percent > 25 ? -1 : 1;
        s.canvas.SetZoom(mapview::StepZoom(target, away, s.canvas.Scale()), pointer);
        s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        state.ResumeTiming();
        frames.ms.push_back(TimeMs([&] {
            s.canvas.SetZoom(target, pointer);
            s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        }));
    }
    frames.Report(state);
    RestoreActualSize();
}
BENCHMARK(BM_ZoomWheelStep)
    ->ArgNames({"percent", "ratio"})
    ->ArgsProduct({{0, 25, 33, 50, 67, 100, 150, 200}, {1, 2}})
    ->Unit(benchmark::kMillisecond);

// A drag step: the view moved by a few pixels and shown (a copy below 100 %,
// a redraw where the view is the drawing buffer).
void BM_ZoomDragStep(benchmark::State& state)
{
    auto& s = *g_scene;
    PrepareZoom(qreal(state.range(1)));
    s.canvas.SetZoom(LevelArg(state.range(0)), {960, 540});
    s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
    FrameTimes frames;
    int step = 0;
    for (auto _ : state) {
        frames.ms.push_back(TimeMs([&] {
            const QPointF by = (step++ % 2) ? QPointF(7, 5) : QPointF(-7, -5);
            s.canvas.SetView(mapview::PanBy(s.canvas.View(), by, s.canvas.MapSize(), s.canvas.ViewSize()));
            if (s.canvas.RedrawsOnPan())
                s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
            else
                s.canvas.UpdateMap();
        }));
    }
    frames.Report(state);
    RestoreActualSize();
}
BENCHMARK(BM_ZoomDragStep)
    ->ArgNames({"percent", "ratio"})
    ->ArgsProduct({{0, 50, 67}, {1, 2}})
    ->Unit(benchmark::kMillisecond);

// A switch at 100 % to a region the preloader has decoded: the picture from
// the cache, then the first frame.
void BM_RegionSwitchPreloaded(benchmark::State& state)
{
    auto& s = *g_scene;
    const QString path = s.world.campaigns[std::size_t(s.campaign)].Regions[std::size_t(s.region)].ImagePath;
    mapview::RegionCache cache;
    cache.Put(path, mapview::DecodeRegion(path));
    for (auto _ : state) {
        const auto kept = cache.Get(path);
        s.canvas.SetRegionPicture(kept->Level(0), kept);
        s.canvas.SetView({1.0, QPointF()});
        s.canvas.DrawEverythingOnMap(s.layers, s.flasher, s.Context());
        benchmark::ClobberMemory();
    }
    SetCounters(state);
}
BENCHMARK(BM_RegionSwitchPreloaded)->Unit(benchmark::kMillisecond);

// The decoded-region cache filled with every region of the world: the
// memory it holds stays within its budget.
void BM_RegionCacheAtBudget(benchmark::State& state)
{
    auto& s = *g_scene;
    mapview::RegionCache cache;
    for (auto _ : state) {
        mapview::RegionPreloader preloader(cache);
        QStringList paths;
        for (const auto& campaign : s.world.campaigns)
            for (std::size_t r = 1; r < campaign.Regions.size(); ++r)
                if (!campaign.Regions[r].ImagePath.isEmpty())
                    paths << campaign.Regions[r].ImagePath;
        preloader.Preload(paths);
        preloader.WaitForDone();
    }
    state.counters["cache_MB"] = double(cache.Bytes()) / (1024.0 * 1024.0);
    state.counters["budget_MB"] = double(cache.Budget()) / (1024.0 * 1024.0);
    state.counters["regions_kept"] = double(cache.Paths().size());
}
BENCHMARK(BM_RegionCacheAtBudget)->Iterations(1)->Unit(benchmark::kMillisecond);

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
