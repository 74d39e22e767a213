// krbtool SUBCOMMAND ARGS...: exit 0 on success, 1 on failure (one line on
// stderr naming the file and the reason), 2 on wrong usage.
#include "tools/krbtool/Subcommands.h"

#include "core/Version.h"
#include "records/RecordFile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace krbtool {
namespace {

std::vector<Subcommand>& Table()
{
    static std::vector<Subcommand> table;
    return table;
}

int PrintUsage(FILE* stream = stderr)
{
    std::fputs("usage:\n", stream);
    for (const Subcommand& c : AllSubcommands())
        std::fprintf(stream, "  krbtool %s %s\n", c.name, c.usage);
    std::fputs("  krbtool --help | --version\n", stream);
    return kUsage;
}

} // namespace

Registrar::Registrar(const Subcommand& command)
{
    Table().push_back(command);
}

std::vector<Subcommand> AllSubcommands()
{
    std::vector<Subcommand> all = Table();
    std::sort(all.begin(), all.end(),
              [](const Subcommand& a, const Subcommand& b) { return QByteArrayView(a.name) < QByteArrayView(b.name); });
    return all;
}

int Failed(const QString& file, const QString& reason)
{
    const QString line = QStringLiteral("krbtool: %1: %2\n").arg(file, QString(reason).replace(u'\n', u' '));
    std::fputs(line.toLocal8Bit().constData(), stderr);
    return kFailed;
}

bool WriteOutput(const QString& path, const QByteArray& bytes)
{
    QString error;
    if (!records::WriteFileAtomically(path, bytes, &error)) {
        Failed(path, QStringLiteral("cannot be written: ") + error);
        return false;
    }
    return true;
}

bool ReadInput(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Failed(path, QStringLiteral("cannot be read: ") + file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Failed(path, QStringLiteral("cannot be read: ") + file.errorString());
        return false;
    }
    return true;
}

} // namespace krbtool

int main(int argc, char** argv)
{
    // A write past a file-size limit fails as an error rather than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return krbtool::PrintUsage();
    if (args.size() == 1 && args[0] == QLatin1String("--help")) {
        krbtool::PrintUsage(stdout);
        return krbtool::kOk;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        std::printf("krbtool %s\n", wayloom::kVersion);
        return krbtool::kOk;
    }
    const QString name = args.takeFirst();
    for (const krbtool::Subcommand& c : krbtool::AllSubcommands()) {
        if (name != QLatin1String(c.name))
            continue;
        if (args.size() < c.minArgs || (c.maxArgs >= 0 && args.size() > c.maxArgs)) {
            std::fprintf(stderr, "usage: krbtool %s %s\n", c.name, c.usage);
            return krbtool::kUsage;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "krbtool: unknown subcommand \"%s\"\n", name.toLocal8Bit().constData());
    return krbtool::PrintUsage();
}
