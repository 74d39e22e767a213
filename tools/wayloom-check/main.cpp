// wayloom-check [--json] [FOLDER]: loads a program folder as Wayloom's
// start-up does, but read-only (no personal files moved, no updater
// replaced), and reports every skipped line. Exit status 0 when the folder
// loaded, 2 when it cannot be used.

#include "WorldJson.h"

#include "core/Version.h"
#include "core/modLanguage.h"
#include "world/LoadAllData.h"

#include <QCoreApplication>
#include <QJsonDocument>

#include <csignal>
#include <cstdio>

namespace {

void Print(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char** argv)
{
    // A write past a file-size limit fails as an error rather than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    bool json = false;
    QString folder;
    const QStringList args = app.arguments().mid(1);
    const QString usage = QStringLiteral("usage: wayloom-check [--json] [FOLDER] | --help | --version\n");
    if (args.size() == 1 && args[0] == QLatin1String("--help")) {
        Print(stdout,
              usage + QStringLiteral(
                          "Loads the program folder FOLDER (default: the folder of this program) as Wayloom does at\n"
                          "start, without changing anything in it, prints every line the loaders skipped as\n"
                          "path:line: reason, then the two professions whose colours look most alike (normal vision,\n"
                          "protanopia, deuteranopia) and ends with one line counting each table.\n"
                          "  --json  prints the loaded world as one JSON document instead (skipped lines on stderr)\n"
                          "Exit status: 0 when the folder loaded, 2 when it cannot be used.\n"));
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        Print(stdout, QStringLiteral("wayloom-check %1\n").arg(QLatin1String(wayloom::kVersion)));
        return 0;
    }
    for (const QString& arg : args) {
        if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg.startsWith(QLatin1String("-")) || !folder.isEmpty()) {
            Print(stderr, usage);
            return 2;
        } else {
            folder = arg;
        }
    }
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();

    World world;
    StartupOptions options;
    options.readOnly = true;
    if (!LoadProgramFolder(world, folder, options)) {
        Print(stderr, QString::fromUtf16(modLanguage::kMissingLanguageFileMessage) + u'\n');
        return 2;
    }

    // Diagnostics are warnings: in JSON mode they go to stderr so that stdout
    // stays one document.
    FILE* diagnosticsStream = json ? stderr : stdout;
    for (const auto& d : world.diagnostics.items())
        Print(diagnosticsStream, records::Diagnostics::format(d) + u'\n');

    if (json) {
        Print(stdout, QString::fromUtf8(QJsonDocument(WorldToJson(world)).toJson(QJsonDocument::Indented)));
    } else {
        if (const QString palette = PaletteReport(world); !palette.isEmpty())
            Print(stdout, palette + u'\n');
        Print(stdout, WorldSummary(world) + u'\n');
    }
    return 0;
}
