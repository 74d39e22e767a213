// krbtool run as a program: the package round trip, the raw codec commands,
// and the exit codes and error lines of failures.
#include "tests/update/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#else
using rlim_t = unsigned long long;
#endif

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// `addressSpace` (bytes, 0 = none): the tool's address-space limit.
ToolRun Krbtool(const QStringList& args, rlim_t addressSpace = 0)
{
    QProcess p;
#ifdef Q_OS_UNIX
    if (addressSpace) {
        p.setChildProcessModifier([addressSpace] {
            const rlimit limit{addressSpace, addressSpace};
            setrlimit(RLIMIT_AS, &limit);
        });
    }
#endif
    p.start(QStringLiteral(KRBTOOL_PATH), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

using codectest::Entry;
using codectest::ReadAll;
using codectest::WriteAll;

class KrbtoolRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
        WriteAll(P("src/Zones.txt"), "abc");
        WriteAll(P("src/deeper/big.bin"), QByteArray(1000, 'q') + "tail");
        WriteAll(P("src/one.txt"), "aaaa");
        WriteAll(P("src/abc.huf"), "HE0\rabc");
        QByteArray bad = codectest::kAbcStream;
        bad[4] = 0x61; // checksum no longer matches
        WriteAll(P("bad.huf"), bad);
        WriteAll(P("bad.krb"), Entry("good.txt", "HE0\rabc") + Entry("bad.txt", codectest::kAbcStream.chopped(2)));
    }
    QString P(const QString& rel) const { return dir.filePath(rel); }
    QTemporaryDir dir;
};

TEST_F(KrbtoolRun, PackListCatUnpack)
{
    ToolRun r = Krbtool({"pack", P("p.krb"), P("src/Zones.txt"), P("src/deeper/big.bin"), P("src/one.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    r = Krbtool({"list", P("p.krb")});
    ASSERT_EQ(r.exitCode, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Zones.txt\t19\thuffman\t3");
    EXPECT_TRUE(lines[1].startsWith("big.bin\t")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("\thuffman\t1004"));
    EXPECT_EQ(lines[2], "one.txt\t8\tstored\t4");

    r = Krbtool({"cat", P("p.krb"), "ZONES.TXT"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "abc");

    r = Krbtool({"unpack", P("p.krb"), P("out")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(ReadAll(P("out/Zones.txt")), "abc");
    EXPECT_EQ(ReadAll(P("out/big.bin")), ReadAll(P("src/deeper/big.bin")));
    EXPECT_EQ(ReadAll(P("out/one.txt")), "aaaa");
}

// An address-sanitized krbtool reserves terabytes of address space for its
// shadow memory at start, so there it runs without the limit; the normal test
// pass checks the bound.
#if defined(__SANITIZE_ADDRESS__)
constexpr rlim_t kMiB = 0;
#else
constexpr rlim_t kMiB = rlim_t(1) << 20;
#endif

// A 4 MiB package whose one 32 MiB member is named 601 times (the copies are
// empty, a look-up by name resolves them to the first) unpacks to one file
// within 512 MiB of address space (decoding every copy needs 19 GiB).
TEST_F(KrbtoolRun, DuplicateNameBombUnpacksWithinAMemoryLimit)
{
    QByteArray bomb = Entry("bomb.txt", codectest::OneBitStream(32 << 20));
    for (int i = 0; i < 600; ++i)
        bomb += Entry(i % 2 ? "BOMB.txt" : "bomb.txt", codectest::kEmptyStream);
    WriteAll(P("bomb.krb"), bomb);
    const ToolRun r = Krbtool({"unpack", P("bomb.krb"), P("out")}, 512 * kMiB);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(P("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"bomb.txt"});
    EXPECT_EQ(QFileInfo(P("out/bomb.txt")).size(), 32 << 20);
}

// A 12 MiB package whose member decodes to 96 MiB unpacks within 100 MiB of
// address space: the member is decoded in pieces, not into one buffer (which
// with the second cursor's would need 168 MiB).
TEST_F(KrbtoolRun, LargeMemberUnpacksWithinAMemoryLimit)
{
    WriteAll(P("big.krb"), Entry("big.txt", codectest::OneBitStream(96 << 20)));
    const ToolRun r = Krbtool({"unpack", P("big.krb"), P("out")}, 100 * kMiB);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(P("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"big.txt"});
    EXPECT_EQ(QFileInfo(P("out/big.txt")).size(), 96 << 20);
}

TEST_F(KrbtoolRun, EncodeAndDecodeRawStreams)
{
    ASSERT_EQ(Krbtool({"encode", P("src/Zones.txt"), P("abc.huf")}).exitCode, 0);
    EXPECT_EQ(codectest::Hex(ReadAll(P("abc.huf"))), codectest::Hex(codectest::kAbcStream));
    ASSERT_EQ(Krbtool({"decode", P("abc.huf"), P("abc.txt")}).exitCode, 0);
    EXPECT_EQ(ReadAll(P("abc.txt")), "abc");
}

struct Failure {
    const char* name;
    QStringList args; // "@" is replaced by the test folder
    int exitCode;
    const char* errPart;
};

const Failure kFailures[] = {
    {"NoArguments", {}, 2, "usage"},
    {"PackMissingFile", {"pack", "@/p.krb", "@/src/nothing.txt"}, 1, "nothing.txt"},
    {"UnpackOfABadMemberNamesItAndWritesNothing", {"unpack", "@/bad.krb", "@/out"}, 1, "bad.txt"},
    {"ListNotAPackage", {"list", "@/src/Zones.txt"}, 1, "not a valid package"},
    // The file, the codec's error number and its message.
    {"CodecErrorIsNamed",
     {"decode", "@/bad.huf", "@/out/never.txt"},
     1,
     "bad.huf: error -2147221504: The data might be corrupted (checksum did not match"},
};

class KrbtoolFailure : public KrbtoolRun, public testing::WithParamInterface<Failure> {};

TEST_P(KrbtoolFailure, ExitsWithOneLine)
{
    QStringList args = GetParam().args;
    for (QString& a : args)
        a.replace("@", dir.path());
    const ToolRun r = Krbtool(args);
    EXPECT_EQ(r.exitCode, GetParam().exitCode);
    EXPECT_TRUE(r.err.contains(GetParam().errPart)) << r.err.toStdString();
    if (GetParam().exitCode == 1) {
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_TRUE(QDir(P("out")).isEmpty()) << "a failure writes nothing";
}

INSTANTIATE_TEST_SUITE_P(, KrbtoolFailure, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<Failure>& row) { return row.param.name; });

} // namespace
