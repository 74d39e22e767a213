// krbtool publish MANIFEST OUTDIR: a complete server folder for the updater.
#include "tools/krbtool/Subcommands.h"

#include "update/modPublish.h"

#include <cstdio>

namespace {

int RunPublish(const QStringList& args)
{
    QString error;
    QStringList log;
    if (!modPublish::Publish(args[0], args[1], &error, &log)) {
        const QString line = QStringLiteral("krbtool: %1\n").arg(error);
        std::fputs(line.toLocal8Bit().constData(), stderr);
        return krbtool::kFailed;
    }
    for (const QString& line : log)
        std::printf("%s\n", line.toLocal8Bit().constData());
    return krbtool::kOk;
}

} // namespace

KRBTOOL_SUBCOMMAND(publish, "MANIFEST OUTDIR   (lines: package<TAB>dd-mm-yyyy<TAB>destination<TAB>sources...)", 2, 2,
                   RunPublish)
