// wayloom-demoworld: writes the demo world into a program folder, with the
// Data texts that make it a whole one (language file and history).
//
//   wayloom-demoworld --out DIR [--scale N] [--no-maps] [--map-size F] [--threads N] [--contact-sheet FILE]
#include "tools/demoworld/DemoWorld.h"

#include "core/Version.h"
#include "records/RecordFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

constexpr char kUsage[] =
    "usage: wayloom-demoworld --out DIR [--scale N] [--no-maps] [--map-size F] [--threads N] [--contact-sheet FILE]\n";

int Usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

// Data/Language.txt and Data/History.txt as the program ships them.
bool WriteProgramTexts(const QString& outDir, QString* error)
{
    if (!QDir().mkpath(outDir + QStringLiteral("/Data"))) {
        *error = outDir + QStringLiteral("/Data: cannot create the folder");
        return false;
    }
    for (const char* name : {"Language.txt", "History.txt"}) {
        QFile source(QStringLiteral(":/demoworld/Data/") + QLatin1String(name));
        const QString target = outDir + QStringLiteral("/Data/") + QLatin1String(name);
        QString why;
        if (!source.open(QIODevice::ReadOnly) || !records::WriteFileAtomically(target, source.readAll(), &why)) {
            *error = target + QStringLiteral(": ") + (why.isEmpty() ? source.errorString() : why);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // A write past a file-size limit fails as an error rather than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs("Writes the demo world (campaign folders) and the Data texts into the program folder DIR.\n"
                   "  --scale N             multiplies every count (1 to 30)\n"
                   "  --no-maps             leaves out the region pictures\n"
                   "  --map-size F          shrinks the region maps (0.1 < F <= 1)\n"
                   "  --threads N           drawing threads (0: one per core, at most 4)\n"
                   "  --contact-sheet FILE  also draws every region map with its markers into FILE\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("wayloom-demoworld %s\n", wayloom::kVersion);
        return 0;
    }
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
    if (!demoworld::GenerateDemoWorld(options, &s, &error) || !WriteProgramTexts(options.outDir, &error)) {
        std::fprintf(stderr, "wayloom-demoworld: %s\n", qPrintable(error));
        return 1;
    }
    std::printf(
        "demo world (scale %d) in %s: %d campaigns, %d regions, %d zones, %d professions, %d elite skills, "
        "%d boss places, %d green items, %d collectors, %d treasures, %d pets, %d pet places; %d files, %.1f s\n",
        options.scale, qPrintable(options.outDir), s.campaigns, s.regions, s.zones, s.professions, s.skills, s.places,
        s.greens, s.collectors, s.treasures, s.pets, s.petPlaces, s.files,
        static_cast<double>(timer.elapsed()) / 1000.0);
    return 0;
}
