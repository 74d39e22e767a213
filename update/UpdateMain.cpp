// Start-up of the updater: the program folder is the folder of the running
// executable; the window does the rest. --help and --version answer and end
// before any window could open.
#include "update/frmMain.h"

#include "core/Version.h"

#include <QApplication>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // A write past a file-size limit fails as an error (like a full disk) rather than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs("usage: Update [--help | --version]\n"
                   "Without an option, opens the update wizard for the program folder it lies in: it downloads\n"
                   "the list of data packages, offers those dated after the last update and unpacks them into\n"
                   "their folders below the program folder. Data/Servers.txt, when present, replaces the list\n"
                   "of download servers (one a line: text shown, tab, address, tab, folder).\n",
                   stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Update %s\n", wayloom::kVersion);
        return 0;
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QLatin1String(wayloom::kVersion));
    QIcon icon;
    for (int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/wayloom/icons/%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    frmMain window(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    window.show();
    return app.exec();
}
