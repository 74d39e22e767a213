// The release archive as a player meets it: unpacked into an empty folder
// (whose name has a space, a quote, "$" and "%"), its programs run from
// there with a home, data, cache and temporary folder of their own, so that
// anything written outside the program folder shows.
#include "app/DesktopEntry.h"
#include "core/Version.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kArchive = QStringLiteral(WAYLOOM_RELEASE_ARCHIVE);
const QString kTop = QStringLiteral(WAYLOOM_RELEASE_NAME);

struct Outcome {
    bool finished = false;
    int exitCode = -1;
    QString out, err;
};

Outcome Start(const QString& program, const QStringList& args, const QProcessEnvironment& env,
              const QString& workingFolder = QString(), int timeoutMs = 60000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    p.start(program, args);
    Outcome r;
    r.finished = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    if (!r.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Every file below `folder` with the digest of its bytes.
std::map<QString, QByteArray> Files(const QString& folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)] = QCryptographicHash::hash(ReadAll(path), QCryptographicHash::Sha1);
    }
    return files;
}

// What changed between two listings: "+path" added, "-path" gone, "*path" changed.
QStringList Changes(const std::map<QString, QByteArray>& before, const std::map<QString, QByteArray>& after)
{
    QStringList changes;
    for (const auto& [path, sum] : after) {
        const auto it = before.find(path);
        if (it == before.end())
            changes << u'+' + path;
        else if (it->second != sum)
            changes << u'*' + path;
    }
    for (const auto& [path, sum] : before)
        if (!after.count(path))
            changes << u'-' + path;
    changes.sort();
    return changes;
}

// The archive unpacked into an empty folder, and the player's own folders
// outside it.
class Unpacked : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_parent = m_root.filePath(QStringLiteral("Player's games $HOME %u"));
        m_outside = m_root.filePath(QStringLiteral("outside"));
        ASSERT_TRUE(QDir().mkpath(m_parent));
        const Outcome tar =
            Start(QStringLiteral("tar"), {"-xzf", kArchive, "-C", m_parent}, QProcessEnvironment::systemEnvironment());
        ASSERT_TRUE(tar.finished && tar.exitCode == 0)
            << "cannot unpack " << kArchive.toStdString() << ": " << tar.err.toStdString();
        folder = m_parent + u'/' + kTop;

        env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY",
                                 "LD_PRELOAD", "WAYLOOM_TEST_PLAY"})
            env.remove(QLatin1String(name));
        const std::pair<const char*, const char*> own[] = {{"HOME", "home"},
                                                           {"XDG_CONFIG_HOME", "config"},
                                                           {"XDG_DATA_HOME", "data"},
                                                           {"XDG_CACHE_HOME", "cache"},
                                                           {"XDG_STATE_HOME", "state"},
                                                           {"XDG_RUNTIME_DIR", "runtime"},
                                                           {"TMPDIR", "tmp"}};
        for (const auto& [name, sub] : own) {
            const QString path = m_outside + u'/' + QLatin1String(sub);
            ASSERT_TRUE(QDir().mkpath(path));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            env.insert(QLatin1String(name), path);
        }
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    QString Program(const QString& name) const { return folder + u'/' + name; }
    // The program run as a player runs it, with the player's hand loaded.
    Outcome Play(const QString& program, const char* what, int timeoutMs = 120000) const
    {
        QProcessEnvironment e = env;
        e.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(WAYLOOM_PLAYER_DRIVER));
        e.insert(QStringLiteral("WAYLOOM_TEST_PLAY"), QLatin1String(what));
        return Start(Program(program), {}, e, folder, timeoutMs);
    }
    // Files written outside the program folder; the lock that keeps a second
    // Wayloom from starting may stay in the temporary folder.
    QStringList WrittenOutside() const
    {
        QStringList written;
        for (const auto& [path, sum] : Files(m_outside))
            if (!QRegularExpression(QStringLiteral("^tmp/wayloom-[0-9a-f]+\\.lock$")).match(path).hasMatch())
                written << path;
        return written;
    }

    QString folder;
    QProcessEnvironment env;

private:
    QTemporaryDir m_root;
    QString m_parent, m_outside;
};

TEST(Archive, HoldsOneFolderWithWhatAPlayerRunsAndNothingElse)
{
    const Outcome list =
        Start(QStringLiteral("tar"), {"-tvzf", kArchive, "--numeric-owner"}, QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(list.finished && list.exitCode == 0) << list.err.toStdString();
    QStringList top;
    for (const QString& line : list.out.split(u'\n', Qt::SkipEmptyParts)) {
        // mode owner/group size date time name: fixed owner and time for every entry
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        ASSERT_GE(f.size(), 6) << line.toStdString();
        EXPECT_EQ(f[1], QStringLiteral("0/0")) << line.toStdString();
        EXPECT_FALSE(f[0].mid(5, 1) == u"w" || f[0].mid(8, 1) == u"w")
            << "group or world write: " << line.toStdString();
        const QString name = f.mid(5).join(u' ');
        ASSERT_TRUE(name.startsWith(kTop + u'/')) << "outside the one folder: " << name.toStdString();
        const QString relative = name.mid(kTop.size() + 1);
        const QString first = relative.section(u'/', 0, 0);
        if (!first.isEmpty() && !top.contains(first) && !first.startsWith(QStringLiteral("Campaign.")))
            top << first;
        if (first == QStringLiteral("Data") && relative != QStringLiteral("Data/")) {
            EXPECT_TRUE(relative == QStringLiteral("Data/Language.txt") ||
                        relative == QStringLiteral("Data/History.txt"))
                << relative.toStdString();
        }
    }
    top.sort();
    EXPECT_EQ(top, QStringList({"Data", "LICENSE", "README.txt", "Update", "Wayloom", "krbtool", "wayloom-check"}));
}

TEST(Archive, PackedAgainElsewhereGivesTheSameBytes)
{
    // A file touched since, another umask, time zone and output folder: the
    // bytes must not notice.
    QFile touched(QStringLiteral(WAYLOOM_RELEASE_WORLD "/Data/History.txt"));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime));
    touched.close();
    QTemporaryDir out;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), QStringLiteral("Pacific/Auckland"));
    const Outcome pack =
        Start(QStringLiteral("sh"),
              {"-c", QStringLiteral("umask 077 && \"%1\" --config \"%2\" -B \"%3\"")
                         .arg(QStringLiteral(WAYLOOM_CPACK), QStringLiteral(WAYLOOM_CPACK_CONFIG), out.path())},
              env, QString(), 300000);
    ASSERT_TRUE(pack.finished && pack.exitCode == 0) << pack.out.toStdString() << pack.err.toStdString();
    const QByteArray again = ReadAll(out.filePath(kTop + QStringLiteral(".tar.gz")));
    ASSERT_FALSE(again.isEmpty());
    EXPECT_TRUE(again == ReadAll(kArchive)) << "the archive differs when packed again";
}

// Qt from the system's folders, and nothing that depends on where the
// programs were built (so that any build folder gives the same bytes).
TEST_F(Unpacked, ExecutablesFindQtInTheSystemFoldersAndNameNoBuildFolder)
{
    for (const char* name : {"Wayloom", "Update", "wayloom-check", "krbtool"}) {
        const Outcome elf = Start(QStringLiteral("readelf"), {"-d", "-n", Program(QLatin1String(name))}, env);
        ASSERT_TRUE(elf.finished && elf.exitCode == 0) << name;
        EXPECT_FALSE(elf.out.contains(QStringLiteral("RPATH")) || elf.out.contains(QStringLiteral("RUNPATH")))
            << name << " carries a library path";
        EXPECT_FALSE(elf.out.contains(QStringLiteral("Build ID"))) << name << " carries a build id";
        const QByteArray bytes = ReadAll(Program(QLatin1String(name)));
        EXPECT_FALSE(bytes.contains(WAYLOOM_SOURCE_DIR) || bytes.contains(WAYLOOM_BINARY_DIR)) << name;
        const Outcome ldd = Start(QStringLiteral("ldd"), {Program(QLatin1String(name))}, env);
        EXPECT_FALSE(ldd.out.contains(QStringLiteral("not found"))) << ldd.out.toStdString();
    }
}

TEST_F(Unpacked, CheckFindsNoSkippedLine)
{
    const auto before = Files(folder);
    const Outcome check = Start(Program(QStringLiteral("wayloom-check")), {}, env);
    ASSERT_TRUE(check.finished);
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    // No diagnostics: the summary line is all.
    EXPECT_EQ(check.out.count(u'\n'), 1) << check.out.toStdString();
    EXPECT_EQ(Changes(before, Files(folder)), QStringList());
}

struct OptionRow {
    const char* name;
    const char* program;
    const char* option;
    const char* startsWith;
};

void PrintTo(const OptionRow& row, std::ostream* os)
{
    *os << row.name;
}

class Options : public Unpacked, public ::testing::WithParamInterface<OptionRow> {};

// Without a display or platform plugin to open windows with: a program that
// tried would fail.
TEST_P(Options, AnswerWithoutOpeningAWindow)
{
    const OptionRow& row = GetParam();
    QProcessEnvironment e = env;
    e.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QString program = QString::fromUtf8(row.program).startsWith(u'/') ? QString::fromUtf8(row.program)
                                                                            : Program(QString::fromUtf8(row.program));
    const auto before = Files(folder);
    const Outcome r = Start(program, {QLatin1String(row.option)}, e);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QString::fromUtf8(row.startsWith))) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(Changes(before, Files(folder)), QStringList());
}

#define VERSION_OF(program) program " " WAYLOOM_VERSION "\n"
INSTANTIATE_TEST_SUITE_P(
    Release, Options,
    ::testing::Values(OptionRow{"WayloomHelp", "Wayloom", "--help", "usage: Wayloom"},
                      OptionRow{"WayloomVersion", "Wayloom", "--version", VERSION_OF("Wayloom")},
                      OptionRow{"UpdateHelp", "Update", "--help", "usage: Update"},
                      OptionRow{"UpdateVersion", "Update", "--version", VERSION_OF("Update")},
                      OptionRow{"CheckHelp", "wayloom-check", "--help", "usage: wayloom-check"},
                      OptionRow{"CheckVersion", "wayloom-check", "--version", VERSION_OF("wayloom-check")},
                      OptionRow{"KrbtoolHelp", "krbtool", "--help", "usage:\n"},
                      OptionRow{"KrbtoolVersion", "krbtool", "--version", VERSION_OF("krbtool")},
                      OptionRow{"DemoworldHelp", WAYLOOM_DEMOWORLD, "--help", "usage: wayloom-demoworld"},
                      OptionRow{"DemoworldVersion", WAYLOOM_DEMOWORLD, "--version", VERSION_OF("wayloom-demoworld")}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(Unpacked, WayloomStartsAndQuitsThroughItsCloseButtonWritingOnlyItsSettings)
{
    const auto before = Files(folder);
    const Outcome r = Play(QStringLiteral("Wayloom"), "quit");
    ASSERT_TRUE(r.finished) << "Wayloom did not end: " << r.err.toStdString();
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(Changes(before, Files(folder)), QStringList({"+Data/Options.txt"}));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/Personal")).isDir());
    EXPECT_EQ(WrittenOutside(), QStringList());
}

TEST_F(Unpacked, UpdateInstallsAPackagePublishedWithKrbtool)
{
    // The server folder, made with the archive's own krbtool: a new history.
    QTemporaryDir site;
    const QByteArray history = "Version 0.1.1\r\n- a package from the test server\r\n";
    ASSERT_TRUE(WriteAll(site.filePath(QStringLiteral("newdata/History.txt")), history));
    ASSERT_TRUE(
        WriteAll(site.filePath(QStringLiteral("manifest.txt")), "data.krb\t14-06-2009\tData\tnewdata/History.txt\n"));
    const Outcome publish =
        Start(Program(QStringLiteral("krbtool")),
              {"publish", site.filePath(QStringLiteral("manifest.txt")), site.filePath(QStringLiteral("files"))}, env);
    ASSERT_TRUE(publish.finished && publish.exitCode == 0) << publish.err.toStdString();

    QProcess server;
    server.start(QStringLiteral("python3"),
                 {QStringLiteral(WAYLOOM_TEST_SERVER_SCRIPT), "--root", site.path(), "--lifetime", "200"});
    ASSERT_TRUE(server.waitForStarted(10000));
    QByteArray port;
    for (int i = 0; i < 100 && !port.contains('\n'); ++i) {
        server.waitForReadyRead(100);
        port += server.readAllStandardOutput();
    }
    ASSERT_GT(port.trimmed().toInt(), 0) << "the test server did not start";
    ASSERT_TRUE(WriteAll(folder + QStringLiteral("/Data/Servers.txt"),
                         "Local test\t127.0.0.1:" + port.trimmed() + "\tfiles\r\n"));

    const auto before = Files(folder);
    const Outcome r = Play(QStringLiteral("Update"), "update");
    server.kill();
    server.waitForFinished(5000);
    ASSERT_TRUE(r.finished) << "Update did not end: " << r.err.toStdString();
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The replaced file is kept in the run's dated safety copy, for an undo.
    const QStringList changes = Changes(before, Files(folder));
    const QString backup = changes.size() == 4 ? changes[1].section(u'/', 0, 1) : QString();
    EXPECT_TRUE(backup.startsWith(QStringLiteral("+Backup/update-"))) << backup.toStdString();
    EXPECT_EQ(changes, QStringList({"*Data/History.txt", backup + "/Update.txt", backup + "/files/Data/History.txt",
                                    "+Personal/LastUpdate.txt"}));
    EXPECT_EQ(ReadAll(folder + QStringLiteral("/Data/History.txt")), history);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Temp")));
    EXPECT_EQ(WrittenOutside(), QStringList());
}

TEST_F(Unpacked, DesktopEntryGoesIntoTheDataFolderStartsThisCopyAndComesOutAgain)
{
    const QString data = env.value(QStringLiteral("XDG_DATA_HOME"));
    const Outcome install = Start(Program(QStringLiteral("Wayloom")), {"--install-desktop-entry"}, env);
    ASSERT_TRUE(install.finished && install.exitCode == 0) << install.err.toStdString();

    const QStringList files = DesktopEntry::InstalledFiles(data);
    for (const QString& file : files)
        EXPECT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
    for (const QString& file : files)
        if (file.endsWith(QStringLiteral(".png"))) {
            EXPECT_FALSE(QImage(file).isNull()) << file.toStdString();
        }
    const QByteArray entry = ReadAll(files.first());
    EXPECT_TRUE(entry.contains("\nExec=" + DesktopEntry::ExecValue(Program(QStringLiteral("Wayloom"))).toUtf8() + '\n'))
        << entry.toStdString();
    const Outcome validate = Start(QStringLiteral("desktop-file-validate"), {files.first()}, env);
    ASSERT_TRUE(validate.finished) << "desktop-file-validate (desktop-file-utils) is needed";
    EXPECT_EQ(validate.exitCode, 0) << validate.out.toStdString() << validate.err.toStdString();

    const Outcome remove = Start(Program(QStringLiteral("Wayloom")), {"--remove-desktop-entry"}, env);
    ASSERT_TRUE(remove.finished && remove.exitCode == 0) << remove.err.toStdString();
    EXPECT_EQ(Files(data).size(), 0u);
    EXPECT_EQ(WrittenOutside(), QStringList());
}

struct ValidatorRow {
    const char* name;
    const char* tool;
    QStringList args;
};

void PrintTo(const ValidatorRow& row, std::ostream* os)
{
    *os << row.name;
}

class PackagingFiles : public ::testing::TestWithParam<ValidatorRow> {};

TEST_P(PackagingFiles, PassTheirValidator)
{
    const Outcome r = Start(QLatin1String(GetParam().tool), GetParam().args, QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(r.finished) << GetParam().tool << " is needed";
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Release, PackagingFiles,
                         ::testing::Values(ValidatorRow{"DesktopEntry",
                                                        "desktop-file-validate",
                                                        {WAYLOOM_PACKAGING_DIR "/org.wayloom.Wayloom.desktop"}},
                                           ValidatorRow{"Metainfo",
                                                        "appstreamcli",
                                                        {"validate", "--no-net",
                                                         WAYLOOM_PACKAGING_DIR "/org.wayloom.Wayloom.metainfo.xml"}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Metainfo, NewestReleaseIsTheProgramsVersion)
{
    const QByteArray xml = ReadAll(QStringLiteral(WAYLOOM_PACKAGING_DIR "/org.wayloom.Wayloom.metainfo.xml"));
    const qsizetype releases = xml.indexOf("<releases>");
    ASSERT_GE(releases, 0);
    EXPECT_EQ(xml.indexOf("<release version=\"", releases),
              xml.indexOf(QByteArray("<release version=\"") + wayloom::kVersion + '"', releases));
}

struct ExecRow {
    const char* name;
    const char* path;
    const char* exec;
};

void PrintTo(const ExecRow& row, std::ostream* os)
{
    *os << row.name;
}

class ExecValues : public ::testing::TestWithParam<ExecRow> {};

TEST_P(ExecValues, QuoteAndEscapeThePath)
{
    EXPECT_EQ(DesktopEntry::ExecValue(QString::fromUtf8(GetParam().path)), QString::fromUtf8(GetParam().exec));
}

INSTANTIATE_TEST_SUITE_P(
    Release, ExecValues,
    ::testing::Values(ExecRow{"Plain", "/opt/Wayloom/Wayloom", R"("/opt/Wayloom/Wayloom")"},
                      ExecRow{"SpaceAndApostrophe", "/home/a/Player's games/Wayloom",
                              R"("/home/a/Player's games/Wayloom")"},
                      ExecRow{"QuoteBackquoteDollar", "/x/\"a`$b/Wayloom", R"("/x/\\"a\\`\\$b/Wayloom")"},
                      ExecRow{"Backslash", "/x/a\\b/Wayloom", R"("/x/a\\\\b/Wayloom")"},
                      ExecRow{"Percent", "/x/100%u/Wayloom", R"("/x/100%%u/Wayloom")"},
                      ExecRow{"NonAscii", "/x/Kärten/Wayloom", "\"/x/Kärten/Wayloom\""},
                      ExecRow{"ControlCharacter", "/x/a\nb/Wayloom", ""}, ExecRow{"Empty", "", ""}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
