// A scale-10 demo world (record files only), written once into a folder of
// the system temp folder and loaded as start-up loads it.
#pragma once

#include "tools/demoworld/DemoWorld.h"
#include "world/LoadAllData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

inline std::unique_ptr<World> LoadScaleTenWorld(const QString& folder)
{
    const QString stamp = folder + QStringLiteral("/.scale10");
    if (!QFileInfo::exists(stamp)) {
        std::fprintf(stderr, "writing a scale-10 demo world into %s ...\n", qPrintable(folder));
        demoworld::Options options;
        options.scale = 10;
        options.outDir = folder;
        options.maps = false;
        QString error;
        if (!demoworld::GenerateDemoWorld(options, nullptr, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return nullptr;
        }
        QDir().mkpath(folder + QStringLiteral("/Data"));
        QFile::remove(folder + QStringLiteral("/Data/Language.txt"));
        if (!QFile::copy(QStringLiteral(WAYLOOM_LANGUAGE_FILE), folder + QStringLiteral("/Data/Language.txt")))
            return nullptr;
        QFile f(stamp);
        if (!f.open(QIODevice::WriteOnly))
            return nullptr;
    }
    auto world = std::make_unique<World>();
    StartupOptions options;
    options.readOnly = true;
    if (!LoadProgramFolder(*world, folder + u'/', options))
        return nullptr;
    return world;
}
