// Start-up of the updater: the program folder is the folder of the running
// executable; the window does the rest.
#include "update/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    frmMain window(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    window.show();
    return app.exec();
}
