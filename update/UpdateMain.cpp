// Start-up of the updater: the program folder is the folder of the running
// executable; the window does the rest. --help and --version answer and end
// before any window could open. --undo (Wayloom's "Undo last update") opens
// the undo window instead of the wizard, and so does any start while an
// interrupted undo waits to be finished.
#include "update/frmMain.h"
#include "update/frmUndo.h"

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
        std::fputs("usage: Update [--help | --version | --undo]\n"
                   "Without an option, opens the update wizard for the program folder it lies in: it downloads\n"
                   "the list of data packages, offers those dated after the last update and unpacks them into\n"
                   "their folders below the program folder. Data/Servers.txt, when present, replaces the list\n"
                   "of download servers (one a line: text shown, tab, address, tab, folder).\n"
                   "--undo puts back what the last update replaced (kept in Backup/) and removes what it added.\n",
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
    const QString appFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    if ((argc == 2 && std::strcmp(argv[1], "--undo") == 0) || modUndo::PendingUndo(appFolder)) {
        frmUndo window(appFolder);
        window.show();
        return app.exec();
    }
    frmMain window(appFolder);
    window.show();
    return app.exec();
}
