// Wayloom: the map companion. No arguments, no environment; everything comes
// from the program folder.
#include "app/WayloomProgram.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    WayloomProgram program(QCoreApplication::applicationDirPath());
    if (program.Main() != WayloomProgram::StartResult::Started)
        return 0;
    return app.exec();
}
