// What the panel and map benchmarks share: a scale-10 world (record files
// only) generated into a folder and started in the program, the region with
// the most elite bosses, and the largest region picture of the bundled demo
// world (the generated world has no pictures of its own).
#pragma once

#include "app/WayloomProgram.h"
#include "tools/demoworld/DemoWorld.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <memory>

namespace benchworld {

// Generates the world into `dir` and starts the program on it; null, with
// the reason in `error`, when either fails.
inline std::unique_ptr<WayloomProgram> StartScaleTenProgram(const QString& dir, QString& error)
{
    demoworld::Options options;
    options.scale = 10;
    options.maps = false;
    options.outDir = dir;
    if (!demoworld::GenerateDemoWorld(options, nullptr, &error))
        return nullptr;
    QDir().mkpath(dir + QStringLiteral("/Data"));
    QFile::copy(QStringLiteral(WAYLOOM_BENCH_PROGRAM_DIR "/Data/Language.txt"),
                dir + QStringLiteral("/Data/Language.txt"));
    auto program = std::make_unique<WayloomProgram>(dir);
    if (program->Main() != WayloomProgram::StartResult::Started) {
        error = QStringLiteral("start-up failed");
        return nullptr;
    }
    return program;
}

// The region (campaign above 0, region) with the most elite bosses; {-1, -1}
// when no region has one.
inline std::pair<int, int> BusiestRegion(const World& w)
{
    std::map<std::pair<int, int>, int> count;
    for (const auto& skill : w.elite.EliteSkills)
        for (std::size_t i = 1; i < skill.Locations.size(); ++i)
            ++count[{skill.Locations[i].Campaign, skill.Locations[i].Region}];
    std::pair<int, int> best{-1, -1};
    int most = 0;
    for (const auto& [key, n] : count)
        if (key.first > 0 && n > most && modCampaigns::RegionExists(w.campaigns, key.first, key.second)) {
            most = n;
            best = key;
        }
    return best;
}

// The largest region picture of the bundled demo world.
inline QString LargestMapPicture()
{
    QString best;
    qint64 bestArea = 0;
    QDirIterator it(QStringLiteral(WAYLOOM_BENCH_PROGRAM_DIR), {QStringLiteral("*.jpg"), QStringLiteral("*.png")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (!file.contains(QStringLiteral("/Campaign.")) || file.contains(QStringLiteral("/img")))
            continue;
        const QSize size = QImageReader(file).size();
        if (qint64(size.width()) * size.height() > bestArea) {
            bestArea = qint64(size.width()) * size.height();
            best = file;
        }
    }
    return best;
}

// The benchmarks' main: offscreen unless a platform is named, then
// `beforeQuit` (the program's windows must go before the application).
inline int RunBenchmarks(int argc, char** argv, const std::function<void()>& beforeQuit)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    beforeQuit();
    return 0;
}

} // namespace benchworld
