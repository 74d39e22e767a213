// load_bench [--world DIR] [benchmark options]
//   Loads a scale-10 demo world (written once into DIR, by default a folder in
//   the system temp folder) as the program's start-up does, and reads the
//   bytes of the same record files for comparison.
// load_bench --rss DIR
//   Loads the world in DIR once and prints the resident memory it added.
// load_bench --steps DIR
//   Loads the world in DIR 20 times and prints the mean time of each loader.
#include "tools/demoworld/DemoWorld.h"
#include "world/LoadAllData.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

QString g_world;

// Every record file the start-up loader reads (pictures are only looked up).
QStringList RecordFiles(const QString& root)
{
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

long StatusKilobytes(const char* key);

// A program folder whose notes file is `megabytes` MB of empty lines, as a
// damaged or hostile file could be; written once per run into a temporary
// folder. Above the size limit the file is refused at once; below it, it is
// streamed, and what the load costs is linear in its size.
QString HostileFolder(int megabytes)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto& dir = folders[megabytes];
    if (dir)
        return dir->path() + u'/';
    dir = std::make_unique<QTemporaryDir>();
    QString root = dir->path() + u'/';
    QDir().mkpath(root + QStringLiteral("Data"));
    QDir().mkpath(root + QStringLiteral("Personal"));
    QFile::copy(QStringLiteral(WAYLOOM_LANGUAGE_FILE), root + QStringLiteral("Data/Language.txt"));
    QFile notes(root + QStringLiteral("Personal/Notes.txt"));
    if (notes.open(QIODevice::WriteOnly)) {
        const QByteArray chunk(1 << 20, '\n');
        for (int i = 0; i < megabytes; ++i)
            notes.write(chunk);
    }
    return root;
}

// Time and peak resident memory of a whole start-up load of such a folder.
// These run first, so that the peak is theirs.
void BM_LoadEmptyLines(benchmark::State& state)
{
    const QString folder = HostileFolder(static_cast<int>(state.range(0)));
    StartupOptions options;
    options.readOnly = true;
    const long before = StatusKilobytes("VmRSS:");
    std::size_t diagnostics = 0;
    for (auto _ : state) {
        World world;
        if (!LoadProgramFolder(world, folder, options))
            state.SkipWithError("the folder has no language file");
        diagnostics = world.diagnostics.size();
        benchmark::DoNotOptimize(world);
    }
    state.counters["diagnostics"] = double(diagnostics);
    state.counters["peakMBAboveStart"] = static_cast<double>(StatusKilobytes("VmHWM:") - before) / 1024.0;
}
BENCHMARK(BM_LoadEmptyLines)->Arg(200)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadAllData(benchmark::State& state)
{
    StartupOptions options;
    options.readOnly = true;
    std::size_t diagnostics = 0;
    // Each iteration loads into a fresh World, as start-up does. The program
    // never tears its world down while starting, so the previous iteration's
    // world is destroyed with the clock stopped (`load_bench --steps` reports
    // what destruction costs).
    auto world = std::make_unique<World>();
    for (auto _ : state) {
        if (!LoadProgramFolder(*world, g_world, options))
            state.SkipWithError("the world has no language file");
        diagnostics = world->diagnostics.size();
        benchmark::DoNotOptimize(*world);
        state.PauseTiming();
        world = std::make_unique<World>();
        state.ResumeTiming();
    }
    state.counters["diagnostics"] = double(diagnostics);
}
// The load runs partly on a second thread: the wall clock is the figure, and
// the CPU column counts both threads.
BENCHMARK(BM_LoadAllData)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime()->MeasureProcessCPUTime();

void BM_ReadRecordBytes(benchmark::State& state)
{
    const QStringList files = RecordFiles(g_world);
    qint64 bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const QString& path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QByteArray data = f.readAll();
            bytes += data.size();
            benchmark::DoNotOptimize(data.constData());
        }
    }
    state.counters["files"] = double(files.size());
    state.counters["bytes"] = double(bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}
BENCHMARK(BM_ReadRecordBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime()->MeasureProcessCPUTime();

long StatusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::strlen(key)));
    return -1;
}

int MeasureResidentMemory(const QString& folder)
{
    const long before = StatusKilobytes("VmRSS:");
    World world;
    StartupOptions options;
    options.readOnly = true;
    if (!LoadProgramFolder(world, folder, options)) {
        std::fprintf(stderr, "load_bench: no language file in %s\n", qPrintable(folder));
        return 1;
    }
    const long after = StatusKilobytes("VmRSS:");
    const long peak = StatusKilobytes("VmHWM:");
    std::printf(
        "resident before load %ld kB, after %ld kB (+%.1f MB), peak %ld kB (+%.1f MB above the empty process)\n",
        before, after, static_cast<double>(after - before) / 1024.0, peak, static_cast<double>(peak - before) / 1024.0);
    return 0;
}

// Where the load spends its time: the mean wall time of each start-up step,
// plus the world's destruction, over 20 loads.
int MeasureSteps(const QString& folder)
{
    constexpr int kRuns = 20;
    std::map<int, std::pair<QString, double>> steps; // step -> name, total ms
    double destroy = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto world = std::make_unique<World>();
        QElapsedTimer timer;
        int current = 0;
        StartupOptions options;
        options.readOnly = true;
        options.onStep = [&](int step, const QString& name) {
            if (current)
                steps[current].second += static_cast<double>(timer.nsecsElapsed()) / 1e6;
            current = step;
            steps[step].first = name;
            timer.restart();
        };
        timer.start();
        if (!LoadProgramFolder(*world, folder, options))
            return 1;
        steps[current].second += static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        world.reset();
        destroy += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    for (const auto& [step, entry] : steps)
        std::printf("%2d %-34s %7.2f ms\n", step, qPrintable(entry.first), entry.second / kRuns);
    std::printf("   %-34s %7.2f ms\n", "destroying the world", destroy / kRuns);
    return 0;
}

// Writes the scale-10 world once; later runs reuse it.
bool PrepareWorld(const QString& folder)
{
    const QString stamp = folder + QStringLiteral("/.scale10");
    if (QFileInfo::exists(stamp))
        return true;
    std::fprintf(stderr, "load_bench: writing a scale-10 demo world into %s ...\n", qPrintable(folder));
    demoworld::Options options;
    options.scale = 10;
    options.outDir = folder;
    options.maps = false; // the loaders only look the map pictures up by name
    QString error;
    if (!demoworld::GenerateDemoWorld(options, nullptr, &error)) {
        std::fprintf(stderr, "load_bench: %s\n", qPrintable(error));
        return false;
    }
    QDir().mkpath(folder + QStringLiteral("/Data"));
    QFile::remove(folder + QStringLiteral("/Data/Language.txt"));
    if (!QFile::copy(QStringLiteral(WAYLOOM_LANGUAGE_FILE), folder + QStringLiteral("/Data/Language.txt"))) {
        std::fprintf(stderr, "load_bench: cannot copy the language file\n");
        return false;
    }
    QFile f(stamp);
    return f.open(QIODevice::WriteOnly);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--steps") == 0)
        return MeasureSteps(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "--rss") == 0) {
        // No Qt application object: measure the world alone.
        return MeasureResidentMemory(QString::fromLocal8Bit(argv[2]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_world = QDir::tempPath() + QStringLiteral("/wayloom-load-bench");
    // --world DIR is ours; the remaining arguments go to the benchmark library.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--world") == 0 && i + 1 < argc)
            g_world = QString::fromLocal8Bit(argv[++i]);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    if (!PrepareWorld(g_world))
        return 1;
    g_world += u'/';
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
