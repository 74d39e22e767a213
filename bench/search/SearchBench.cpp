// search_bench [benchmark options]
//   On a scale-10 demo world: one keystroke in the search field (the query
//   grown by one letter, the results found and ranked), building the index,
//   and refreshing it after a note change. Goal for a keystroke: under 5 ms.
//   And the progress overview for 99 characters, each holding about a third
//   of the skills and chests. Goal: under 50 ms.
#include "ScaleTenWorld.h"
#include "panel/modProgress.h"
#include "panel/modSearch.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

World* g_world = nullptr;

// A boss name of the world, typed letter by letter.
QString TypedName()
{
    for (const auto& skill : g_world->elite.EliteSkills)
        for (std::size_t i = 1; i < skill.Locations.size(); ++i)
            if (skill.Locations[i].Boss.size() >= 8)
                return skill.Locations[i].Boss;
    return QStringLiteral("stone");
}

void BM_Keystroke(benchmark::State& state)
{
    const modSearch::SearchIndex index(*g_world);
    const QString query = TypedName().left(state.range(0));
    std::size_t found = 0;
    for (auto _ : state) {
        const auto results = index.Find(query);
        found = results.size();
        benchmark::DoNotOptimize(results.data());
    }
    state.SetLabel(query.toStdString());
    state.counters["results"] = double(found);
    state.counters["indexed"] = double(index.size());
}
BENCHMARK(BM_Keystroke)->DenseRange(1, 4)->Arg(8)->Unit(benchmark::kMillisecond);

// The worst single letter: a vowel most names hold.
void BM_KeystrokeVowel(benchmark::State& state)
{
    const modSearch::SearchIndex index(*g_world);
    for (auto _ : state)
        benchmark::DoNotOptimize(index.Find(u"e").data());
}
BENCHMARK(BM_KeystrokeVowel)->Unit(benchmark::kMillisecond);

void BM_BuildIndex(benchmark::State& state)
{
    for (auto _ : state) {
        modSearch::SearchIndex index(*g_world);
        benchmark::DoNotOptimize(index.size());
    }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

void BM_UpdateNotes(benchmark::State& state)
{
    modSearch::SearchIndex index(*g_world);
    for (auto _ : state)
        index.UpdateNotes(*g_world);
    state.counters["notes"] = double(g_world->notes.count());
}
BENCHMARK(BM_UpdateNotes)->Unit(benchmark::kMillisecond);

// The world with every character number 1..99 in use, character c having
// captured every skill and opened every chest whose number is c modulo 3.
World* NinetyNineCharacters()
{
    static std::unique_ptr<World> world;
    if (world)
        return world.get();
    world = std::make_unique<World>(*g_world);
    constexpr int kCharacters = modCharacters::kMaxCharacterNumber;
    world->characters.Characters.assign(kCharacters + 1, QString());
    for (int c = 1; c <= kCharacters; ++c)
        world->characters.Characters[static_cast<std::size_t>(c)] = QStringLiteral("Character %1").arg(c);
    auto& skills = world->elite.EliteSkills;
    for (std::size_t e = 0; e < skills.size(); ++e) {
        skills[e].Captured.assign(kCharacters + 1, false);
        for (int c = 1; c <= kCharacters; ++c)
            skills[e].Captured[static_cast<std::size_t>(c)] = e % 3 == static_cast<std::size_t>(c % 3);
    }
    auto& chests = world->treasures.Treasures;
    for (std::size_t t = 0; t < chests.size(); ++t) {
        chests[t].OpenedOn.assign(kCharacters + 1, std::nullopt);
        for (int c = 1; c <= kCharacters; ++c)
            if (t % 3 == static_cast<std::size_t>(c % 3))
                chests[t].OpenedOn[static_cast<std::size_t>(c)] = QDate(2026, 1, 1);
    }
    return world.get();
}

void BM_ProgressOverview(benchmark::State& state)
{
    const World& world = *NinetyNineCharacters();
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto overview = modProgress::BuildOverview(world);
        rows = overview.rows.size();
        benchmark::DoNotOptimize(overview.rows.data());
    }
    state.counters["rows"] = double(rows);
    state.counters["skills"] = double(world.elite.highest());
    state.counters["chests"] = double(world.treasures.count());
}
BENCHMARK(BM_ProgressOverview)->Unit(benchmark::kMillisecond);

// One column recounted after a capture.
void BM_ProgressAfterCapture(benchmark::State& state)
{
    const World& world = *NinetyNineCharacters();
    auto overview = modProgress::BuildOverview(world);
    for (auto _ : state)
        benchmark::DoNotOptimize(modProgress::UpdateCharacter(world, overview, 50));
}
BENCHMARK(BM_ProgressAfterCapture)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto world = LoadScaleTenWorld(QDir::tempPath() + QStringLiteral("/wayloom-search-bench"));
    if (!world)
        return 1;
    g_world = world.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
