// The package container: golden bytes, loading (well-formed and damaged),
// name look-ups, and the safety of unpacking.
#include "tests/update/TestHelpers.h"
#include "update/clsKRBfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using codectest::Entry;
using codectest::EntryHeader;
using codectest::Hex;
using codectest::kAbcStream;
using codectest::kEmptyStream;
using codectest::ReadAll;
using codectest::WriteAll;

namespace {

class Package : public testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

struct Golden {
    const char* name;
    std::vector<std::pair<QString, QByteArray>> members;
    QByteArray file;
};

const Golden kGolden[] = {
    {"NoMembersGiveAnEmptyFile", {}, QByteArray()},
    {"OneEmptyMemberIsTenBytes", {{"a", ""}}, QByteArray::fromHex("04000000 0100 61 4845300D")},
    {"EntriesInOrderWithWindows1252Names",
     {{"Zones.txt", "abc"}, {QString::fromUtf8("Caf\u00e9\u20ac.txt"), ""}},
     Entry("Zones.txt", kAbcStream) + Entry("Caf\xE9\x80.txt", kEmptyStream)},
};

class PackageGolden : public Package, public testing::WithParamInterface<Golden> {};

TEST_P(PackageGolden, SavesExactlyTheseBytesOverAnOldFile)
{
    WriteAll(Path("p.krb"), "old content, longer than any of the packages");
    clsKRBfile package;
    for (const auto& [name, data] : GetParam().members)
        ASSERT_TRUE(package.AddFileFromString(name, data));
    ASSERT_TRUE(package.SaveKRBfileOnDisk(Path("p.krb")));
    EXPECT_EQ(Hex(ReadAll(Path("p.krb"))), Hex(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(, PackageGolden, testing::ValuesIn(kGolden),
                         [](const testing::TestParamInfo<Golden>& row) { return row.param.name; });

TEST_F(Package, LoadingTwiceAppendsAndLookupsReachTheFirstCopy)
{
    WriteAll(Path("dup.krb"),
             Entry("files.txt", kAbcStream) + Entry("FILES.TXT", kEmptyStream) + Entry("\xC9t\xE9.txt", kAbcStream));
    clsKRBfile package;
    ASSERT_TRUE(package.AddKRBfileFromDisk(Path("dup.krb")));
    ASSERT_TRUE(package.AddKRBfileFromDisk(Path("dup.krb")));
    EXPECT_EQ(package.Count(), 6);
    EXPECT_EQ(package.FindMember("Files.Txt"), 0);
    EXPECT_EQ(package.ExtractOneFileToString("FILES.TXT"), QByteArray("abc"));
    EXPECT_EQ(package.Members()[2].name, QString::fromUtf8("\u00c9t\u00e9.txt")) << "names are Windows-1252";
    EXPECT_FALSE(package.AddFileFromString("files.TXT", "x")) << "adds refuse a name held in another case";
    EXPECT_EQ(package.Count(), 6);
}

TEST_F(Package, AddFileFromDiskTakesTheWholeFileAndRefusesEmptyOrMissingFiles)
{
    WriteAll(Path("data.txt"), "abc");
    WriteAll(Path("empty.txt"), QByteArray());
    clsKRBfile package;
    EXPECT_TRUE(package.AddFileFromDisk("data.txt", dir.path()));
    EXPECT_FALSE(package.AddFileFromDisk("empty.txt", dir.path() + "/"));
    EXPECT_FALSE(package.AddFileFromDisk("missing.txt", dir.path()));
    EXPECT_FALSE(package.AddFileFromDisk("DATA.TXT", dir.path()));
    ASSERT_EQ(package.Count(), 1);
    EXPECT_EQ(package.Members()[0].stream, kAbcStream);
    EXPECT_EQ(package.Members()[0].storedSize, kAbcStream.size());
}

// ---- Damaged packages -------------------------------------------------------

struct DamagedPackage {
    const char* name;
    QByteArray bytes;
};

const DamagedPackage kDamaged[] = {
    {"HeaderCutShort", QByteArray::fromHex("0400000001")},
    {"NegativeStoredSize", EntryHeader(-4, 1) + "aHE0\r"},
    {"NamePastTheEnd", EntryHeader(0, 20) + "abc"},
    {"StreamPastTheEnd", EntryHeader(100, 1) + "aHE0\r"},
    {"SecondEntryCutShort", Entry("a", kEmptyStream) + EntryHeader(19, 1) + "b" + kAbcStream.left(10)},
    {"HugeStoredSize", EntryHeader(0x7FFFFFFF, 1) + "aHE0\r"},
};

class PackageDamaged : public Package, public testing::WithParamInterface<DamagedPackage> {};

TEST_P(PackageDamaged, LoadFailsAndLeavesThePackageUnchanged)
{
    WriteAll(Path("bad.krb"), GetParam().bytes);
    clsKRBfile package;
    ASSERT_TRUE(package.AddFileFromString("kept.txt", "abc"));
    EXPECT_FALSE(package.AddKRBfileFromDisk(Path("bad.krb")));
    EXPECT_FALSE(package.LastError().isEmpty());
    EXPECT_FALSE(package.AddKRBfileFromString(GetParam().bytes));
    ASSERT_EQ(package.Count(), 1);
    EXPECT_EQ(package.Members()[0].name, "kept.txt");
}

INSTANTIATE_TEST_SUITE_P(, PackageDamaged, testing::ValuesIn(kDamaged),
                         [](const testing::TestParamInfo<DamagedPackage>& row) { return row.param.name; });

// ---- Safety of unpacking ----------------------------------------------------

struct UnsafeName {
    const char* name;
    QString memberName;
    bool fitsAPackageFile = true;
};

const UnsafeName kUnsafe[] = {
    {"Empty", ""},
    {"DotDot", ".."},
    {"ParentFolder", "../escape.txt"},
    {"AbsolutePath", "/tmp/file.txt"},
    {"Backslash", "..\\escape.txt"},
    {"DriveColon", "C:file.txt"},
    {"Nul", QString("a") + QChar(0) + "b"},
    {"Delete", QString("a") + QChar(0x7F) + "b"},
    {"NotWindows1252", QString::fromUtf8("\u0109.txt"), false},
};

class PackageUnsafeName : public testing::TestWithParam<UnsafeName> {};

TEST_P(PackageUnsafeName, IsRefusedWhenAddedAndWritesNothingWhenLoaded)
{
    clsKRBfile added;
    EXPECT_FALSE(added.AddFileFromString(GetParam().memberName, "abc"));
    EXPECT_EQ(added.Count(), 0);
    if (!GetParam().fitsAPackageFile)
        return;
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("out/sub"));
    const QString out = root.filePath("out");
    clsKRBfile loaded;
    const QByteArray name = GetParam().memberName.toLatin1();
    ASSERT_TRUE(loaded.AddKRBfileFromString(Entry("good.txt", kAbcStream) + Entry(name, kAbcStream)));
    EXPECT_FALSE(loaded.ExtractOneFileToDisk(GetParam().memberName, out));
    EXPECT_FALSE(loaded.ExtractAllFileToDisk(out));
    EXPECT_FALSE(QFile::exists(root.filePath("out/good.txt"))) << "nothing at all is written";
    EXPECT_FALSE(QFile::exists(root.filePath("escape.txt")));
    EXPECT_TRUE(QDir(out + "/sub").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(, PackageUnsafeName, testing::ValuesIn(kUnsafe),
                         [](const testing::TestParamInfo<UnsafeName>& row) { return row.param.name; });

// All or nothing: a member that would replace a folder, a bad stream late in
// the package, or a cancel request leave every target (also the members
// before) as it was, and no temporary file behind.
TEST_F(Package, ExtractAllFailureLeavesEveryTargetAsItWas)
{
    struct Row {
        const char* name;
        QByteArray lastMember;
        bool cancel;
    } rows[] = {
        {"member named like a folder", Entry("sub", kAbcStream), false},
        {"bad stream", Entry("third.txt", kAbcStream.chopped(1)), false},
        {"cancelled", Entry("third.txt", kAbcStream), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QTemporaryDir out;
        ASSERT_TRUE(QDir(out.path()).mkpath("sub"));
        WriteAll(out.filePath("first.txt"), "old first");
        clsKRBfile package;
        ASSERT_TRUE(package.AddKRBfileFromString(Entry("first.txt", kAbcStream) + Entry("second.txt", kAbcStream) +
                                                 r.lastMember));
        std::atomic<bool> cancel{r.cancel};
        package.SetCancelFlag(&cancel);
        try {
            EXPECT_FALSE(package.ExtractAllFileToDisk(out.path()));
        } catch (const modHuffman::HuffmanError&) {
        }
        EXPECT_EQ(ReadAll(out.filePath("first.txt")), QByteArray("old first"));
        EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
                  (QStringList{"first.txt", "sub"}));
        EXPECT_TRUE(QDir(out.filePath("sub")).isEmpty());
    }
}

#ifdef Q_OS_UNIX
// A link at a target is replaced by the new file; what it points to stays.
TEST_F(Package, LinkAtATargetIsReplacedNotWrittenThrough)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
    WriteAll(Path("outside.txt"), "outside");
    ASSERT_TRUE(QFile::link(Path("outside.txt"), Path("out/Zones.txt")));
    ASSERT_TRUE(QFile::link(Path("nowhere"), Path("out/dangling.txt")));
    clsKRBfile package;
    ASSERT_TRUE(package.AddKRBfileFromString(Entry("Zones.txt", kAbcStream) + Entry("dangling.txt", kAbcStream)));
    ASSERT_TRUE(package.ExtractAllFileToDisk(Path("out")));
    for (const char* name : {"out/Zones.txt", "out/dangling.txt"}) {
        EXPECT_FALSE(QFileInfo(Path(name)).isSymLink()) << name;
        EXPECT_EQ(ReadAll(Path(name)), QByteArray("abc")) << name;
    }
    EXPECT_EQ(ReadAll(Path("outside.txt")), QByteArray("outside"));
    EXPECT_FALSE(QFile::exists(Path("nowhere")));
}
#endif

} // namespace
