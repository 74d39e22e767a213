// Run offscreen: QT_QPA_PLATFORM=offscreen bench_panel
#include "ScaleTenProgram.h"
#include "mapview/frmMap.h"
#include "panel/frmEliteTab.h"
#include "panel/frmMenu.h"
#include "panel/frmProgress.h"
#include "panel/frmSearch.h"
#include "panel/modEliteTab.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void CopyData(const QString& from, const QString& to)
{
    const QDir source(from);
    for (const QString& entry : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        // Campaign folders are only read: linked, not copied.
        if (entry.startsWith(QStringLiteral("Campaign.")) &&
            QFile::link(source.filePath(entry), to + QLatin1Char('/') + entry))
            continue;
        QDirIterator it(source.filePath(entry), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        QDir().mkpath(to + QLatin1Char('/') + entry);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = to + QLatin1Char('/') + entry + file.mid(source.filePath(entry).size());
            if (it.fileInfo().isDir())
                QDir().mkpath(target);
            else
                QFile::copy(file, target);
        }
    }
}

// A scale-10 world (record files only, made once per run) started in the
// program, showing the region with the most bosses on the largest map
// picture of the bundled demo world.
struct ScaleTenProgram {
    QTemporaryDir dir;
    std::unique_ptr<WayloomProgram> program;
    QString error;

    ScaleTenProgram()
    {
        program = benchworld::StartScaleTenProgram(dir.path(), error);
        if (!program)
            return;
        auto [c, r] = benchworld::BusiestRegion(program->world());
        if (c < 0) {
            error = QStringLiteral("no region with bosses");
            program.reset();
            return;
        }
        QString picture = benchworld::LargestMapPicture();
        program->world().campaigns[c].Regions[r].ImagePath = picture;
        program->map()->InizializzaVariabili(picture, c, r);
        program->map()->DrawEverythingOnMap();
    }
};

std::unique_ptr<ScaleTenProgram> g_scaleTen;

// The scale-10 program, started at its first use; false (the benchmark
// skipped with the reason) when it could not start.
bool ScaleTen(benchmark::State& state)
{
    if (!g_scaleTen)
        g_scaleTen = std::make_unique<ScaleTenProgram>();
    if (!g_scaleTen->program)
        state.SkipWithError(qPrintable(g_scaleTen->error));
    return g_scaleTen->program != nullptr;
}

// One keystroke in the skill name box: the panel refilters lstElite and the
// map redraws every layer. No campaign is chosen in the panel, so every skill
// of the world is listed before the keystroke.
void BM_KeystrokeInNameBox(benchmark::State& state)
{
    if (!ScaleTen(state))
        return;
    frmMenu& menu = *g_scaleTen->program->menu();
    menu.EliteTab().txtEliteName->clear();
    state.counters["listed"] = menu.EliteTab().lstElite->count();
    for (auto _ : state) {
        menu.EliteTab().txtEliteName->setText(QStringLiteral("e"));
        state.PauseTiming();
        menu.EliteTab().txtEliteName->clear();
        state.ResumeTiming();
    }
    menu.EliteTab().txtEliteName->setText(QStringLiteral("e"));
    state.counters["after"] = menu.EliteTab().lstElite->count();
    menu.EliteTab().txtEliteName->clear();
}
BENCHMARK(BM_KeystrokeInNameBox)->Unit(benchmark::kMillisecond)->UseRealTime();

// One keystroke in the search field: the query grown by one letter (to the
// length given), the results found, ranked and listed. The query is a boss
// name of the world typed letter by letter. Goal: under 5 ms.
void BM_KeystrokeInSearchField(benchmark::State& state)
{
    if (!ScaleTen(state))
        return;
    frmMenu& menu = *g_scaleTen->program->menu();
    const World& w = g_scaleTen->program->world();
    QString name = QStringLiteral("storm");
    for (const auto& skill : w.elite.EliteSkills)
        if (skill.Locations.size() > 1 && skill.Locations[1].Boss.size() >= 8) {
            name = skill.Locations[1].Boss;
            break;
        }
    const auto length = static_cast<qsizetype>(state.range(0));
    const QString before = name.left(length - 1), after = name.left(length);
    for (auto _ : state) {
        state.PauseTiming();
        menu.Search()->txtSearch->setText(before);
        state.ResumeTiming();
        menu.Search()->txtSearch->setText(after);
    }
    state.SetLabel(after.toStdString());
    state.counters["listed"] = menu.Search()->lstSearchResults->count();
    menu.Search()->txtSearch->clear();
}
BENCHMARK(BM_KeystrokeInSearchField)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts of a keystroke: the filter rules alone, and the map redraw alone.
void BM_FilterEliteEntries(benchmark::State& state)
{
    if (!ScaleTen(state))
        return;
    const World& w = g_scaleTen->program->world();
    PanelState panel = g_scaleTen->program->panel();
    panel.txtEliteName = QStringLiteral("e");
    for (auto _ : state)
        benchmark::DoNotOptimize(modEliteTab::FilterEliteEntries(w.elite, w.professions, w.campaigns, panel));
}
BENCHMARK(BM_FilterEliteEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RedrawAfterFilter(benchmark::State& state)
{
    if (!ScaleTen(state))
        return;
    for (auto _ : state)
        g_scaleTen->program->map()->UpdateMapWithNewEliteSkills();
}
BENCHMARK(BM_RedrawAfterFilter)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the progress window (counting, filling its table, showing it) for
// 99 characters on the scale-10 world, each holding about a third of the
// skills and chests. Goal: well under 50 ms.
void BM_OpenProgressWindow(benchmark::State& state)
{
    if (!g_scaleTen)
        g_scaleTen = std::make_unique<ScaleTenProgram>();
    if (!g_scaleTen->program) {
        state.SkipWithError(qPrintable(g_scaleTen->error));
        return;
    }
    World& w = g_scaleTen->program->world();
    w.characters.Characters.assign(100, QString());
    for (int c = 1; c <= 99; ++c)
        w.characters.Characters[static_cast<std::size_t>(c)] = QStringLiteral("Hero %1").arg(c);
    for (std::size_t e = 1; e < w.elite.EliteSkills.size(); ++e) {
        auto& captured = w.elite.EliteSkills[e].Captured;
        captured.assign(100, false);
        for (std::size_t c = 1; c < 100; ++c)
            captured[c] = (e + c) % 3 == 0;
    }
    for (std::size_t t = 1; t < w.treasures.Treasures.size(); ++t) {
        auto& opened = w.treasures.Treasures[t].OpenedOn;
        opened.assign(100, std::nullopt);
        for (std::size_t c = 1; c < 100; ++c)
            if ((t + c) % 3 == 0)
                opened[c] = QDate(2026, 1, 1);
    }
    frmMenu& menu = *g_scaleTen->program->menu();
    for (auto _ : state) {
        menu.ShowProgress();
        QCoreApplication::processEvents();
        state.PauseTiming();
        menu.Progress()->close();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["columns"] = static_cast<double>(menu.Progress()->Overview().characters.size());
    state.counters["rows"] = static_cast<double>(menu.Progress()->Overview().rows.size());
}
BENCHMARK(BM_OpenProgressWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// From Main to both windows shown, on a copy of the bundled demo world.
void BM_StartUp(benchmark::State& state)
{
    QTemporaryDir dir;
    CopyData(QStringLiteral(WAYLOOM_BENCH_PROGRAM_DIR), dir.path());
    for (auto _ : state) {
        auto program = std::make_unique<WayloomProgram>(dir.path());
        if (program->Main() != WayloomProgram::StartResult::Started) {
            state.SkipWithError("start-up failed");
            return;
        }
        QApplication::processEvents();
        benchmark::DoNotOptimize(program->menu()->isVisible() && program->map()->isVisible());
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return benchworld::RunBenchmarks(argc, argv, [] { g_scaleTen.reset(); });
}
