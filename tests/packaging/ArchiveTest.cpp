// The release archive as a player meets it: unpacked into an empty folder
// (whose name has a space, a quote, "$" and "%"), its programs run from
// there with a home, data, cache and temporary folder of their own, so that
// anything written outside the program folder shows.
#include "app/DesktopEntry.h"
#include "tests/update/TestSupport.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <ostream>

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

using codectest::ReadAll;
using codectest::WriteAll;

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
    EXPECT_TRUE(ReadAll(out.filePath(kTop + QStringLiteral(".tar.gz"))) == ReadAll(kArchive))
        << "the archive differs when packed again";
}

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

    testing_support::HttpServer server;
    ASSERT_TRUE(server.Start(site.path())) << "the test server did not start";
    ASSERT_TRUE(WriteAll(folder + QStringLiteral("/Data/Servers.txt"),
                         "Local test\t" + server.Base().toLatin1() + "\tfiles\r\n"));

    const auto before = Files(folder);
    const Outcome r = Play(QStringLiteral("Update"), "update");
    server.Stop();
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

TEST(ExecValues, QuoteAndEscapeThePath)
{
    const struct {
        const char* path;
        const char* exec;
    } rows[] = {
        {"/opt/Wayloom/Wayloom", R"("/opt/Wayloom/Wayloom")"},
        {"/x/\"a`$b/Wayloom", R"("/x/\\"a\\`\\$b/Wayloom")"},
        {"/x/a\\b/Wayloom", R"("/x/a\\\\b/Wayloom")"},
        {"/x/100%u/Wayloom", R"("/x/100%%u/Wayloom")"},
        {"/x/a\nb/Wayloom", ""}, // a control character cannot be quoted
    };
    for (const auto& r : rows)
        EXPECT_EQ(DesktopEntry::ExecValue(QString::fromUtf8(r.path)), QString::fromUtf8(r.exec)) << r.path;
}

} // namespace
