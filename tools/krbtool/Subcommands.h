// krbtool's subcommands. Each source file of the tool registers its own with
// KRBTOOL_SUBCOMMAND, so a new subcommand is a new file and nothing else:
//
//   static int RunPublish(const QStringList& args) { ... }
//   KRBTOOL_SUBCOMMAND(publish, "publish ...", 2, -1, RunPublish)
//
// `run` receives the arguments after the subcommand's name, already checked
// against the minimum and maximum counts (-1: no maximum), and returns the
// exit code: kOk, kFailed (after one line from Failed()) or kUsage.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace krbtool {

inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

struct Subcommand {
    const char* name;
    const char* usage; // arguments, e.g. "PACKAGE DIR"
    int minArgs;
    int maxArgs;
    int (*run)(const QStringList& args);
};

// Every registered subcommand, sorted by name.
std::vector<Subcommand> AllSubcommands();

struct Registrar {
    explicit Registrar(const Subcommand& command);
};

// Prints "krbtool: <file>: <reason>" on stderr and returns kFailed.
int Failed(const QString& file, const QString& reason);

// Writes the whole file atomically; on failure reports it and returns false.
bool WriteOutput(const QString& path, const QByteArray& bytes);
// Reads a whole file; on failure reports it and returns false.
bool ReadInput(const QString& path, QByteArray& bytes);

} // namespace krbtool

#define KRBTOOL_SUBCOMMAND(name, usage, minArgs, maxArgs, run)                                                         \
    static const ::krbtool::Registrar krbtoolRegistrar_##name({#name, usage, minArgs, maxArgs, run});
