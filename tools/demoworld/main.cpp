// wayloom-demoworld: writes the demo world into a program folder.
//
//   wayloom-demoworld --out DIR [--scale N] [--no-maps] [--map-size F] [--threads N] [--contact-sheet FILE]
#include "tools/demoworld/DemoWorld.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: wayloom-demoworld --out DIR [--scale N] [--no-maps] [--map-size F] [--threads N] [--contact-sheet FILE]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures are drawn off screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    demoworld::Options options;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == QLatin1String("--out")) {
            options.outDir = value();
        } else if (a == QLatin1String("--scale")) {
            bool ok = false;
            options.scale = value().toInt(&ok);
            if (!ok || options.scale < 1 || options.scale > 30)
                return Usage();
        } else if (a == QLatin1String("--threads")) {
            options.threads = value().toInt();
        } else if (a == QLatin1String("--contact-sheet")) {
            options.contactSheet = value();
        } else if (a == QLatin1String("--map-size")) {
            options.mapSize = value().toDouble();
        } else if (a == QLatin1String("--no-maps")) {
            options.maps = false;
        } else {
            return Usage();
        }
    }
    if (options.outDir.isEmpty())
        return Usage();

    QElapsedTimer timer;
    timer.start();
    demoworld::Summary s;
    QString error;
    if (!demoworld::GenerateDemoWorld(options, &s, &error)) {
        std::fprintf(stderr, "wayloom-demoworld: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("demo world (scale %d) in %s: %d campaigns, %d regions, %d zones, %d professions, %d elite skills, "
                "%d boss places, %d green items, %d collectors, %d treasures, %d pets, %d pet places; %d files, %.1f s\n",
                options.scale, qPrintable(options.outDir), s.campaigns, s.regions, s.zones, s.professions, s.skills,
                s.places, s.greens, s.collectors, s.treasures, s.pets, s.petPlaces, s.files, timer.elapsed() / 1000.0);
    return 0;
}
