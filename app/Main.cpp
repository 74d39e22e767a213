// Wayloom: the map companion. Everything comes from the program folder. The
// program itself reads no arguments; the four options below answer and end
// before any window could open.
#include "app/DesktopEntry.h"
#include "app/WayloomProgram.h"
#include "core/Version.h"

#include <QApplication>
#include <QIcon>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr char kUsage[] = "usage: Wayloom [--help | --version | --install-desktop-entry | --remove-desktop-entry]\n";

// The exit code of an option of the command line; nothing when the program
// is to run (no option of ours: the rest is left to the toolkit, as always).
std::optional<int> RunOption(int argc, char** argv)
{
    static const char* const kOptions[] = {"--help", "--version", "--install-desktop-entry", "--remove-desktop-entry"};
    const char* option = nullptr;
    for (int i = 1; i < argc && !option; ++i)
        for (const char* known : kOptions)
            if (std::strcmp(argv[i], known) == 0)
                option = known;
    if (!option)
        return std::nullopt;
    if (argc != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (std::strcmp(option, "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs("Without an option, starts Wayloom on the program folder it lies in; everything it keeps,\n"
                   "settings and personal files included, stays in that folder.\n"
                   "  --help                   prints this text\n"
                   "  --version                prints the version\n"
                   "  --install-desktop-entry  adds Wayloom to the desktop's application menu (an entry and\n"
                   "                           the icon in the user's data folder, starting this copy)\n"
                   "  --remove-desktop-entry   takes the entry and the icon out again\n",
                   stdout);
        return 0;
    }
    if (std::strcmp(option, "--version") == 0) {
        std::printf("Wayloom %s\n", wayloom::kVersion);
        return 0;
    }

    QCoreApplication app(argc, argv); // the program's own path, the user's data folder
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QString error;
    const bool install = std::strcmp(option, "--install-desktop-entry") == 0;
    bool done = false;
    if (dataHome.isEmpty())
        error = QStringLiteral("the user's data folder is unknown");
    else if (install)
        done = DesktopEntry::Install(QCoreApplication::applicationFilePath(), dataHome, &error);
    else
        done = DesktopEntry::Remove(dataHome, &error);
    if (!done) {
        std::fprintf(stderr, "Wayloom: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Wayloom: %s %s\n", install ? "desktop entry written:" : "desktop entry removed:",
                qPrintable(DesktopEntry::InstalledFiles(dataHome).first()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A write past a file-size limit fails as an error (like a full disk) rather than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const std::optional<int> exitCode = RunOption(argc, argv))
        return *exitCode;

    QApplication app(argc, argv);
    QIcon icon;
    for (int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/wayloom/icons/%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QLatin1String(DesktopEntry::kId));
    WayloomProgram program(QCoreApplication::applicationDirPath());
    if (program.Main() != WayloomProgram::StartResult::Started)
        return 0;
    return app.exec();
}
