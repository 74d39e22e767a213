// The package container: golden bytes, loading (well-formed and damaged),
// name look-ups, and the safety of unpacking.
#include "tests/update_codec/TestHelpers.h"
#include "update/clsKRBfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using codectest::Bytes;
using codectest::Entry;
using codectest::Hex;
using codectest::ReadAll;
using codectest::WriteAll;

namespace {

const QByteArray kEmptyStream = Bytes({0x48, 0x45, 0x30, 0x0D});
const QByteArray kAbcStream = Bytes({0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x02,
                                     0x62, 0x02, 0x63, 0x01, 0x0D, 0x0D});

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
    {"OneEmptyMemberIsTenBytes", {{"a", ""}}, Bytes({0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x61, 0x48, 0x45, 0x30, 0x0D})},
    {"EntriesInOrderWithWindows1252Names",
     {{"Zones.txt", "abc"}, {QString::fromUtf8("Caf\u00e9\u20ac.txt"), ""}},
     Entry("Zones.txt", kAbcStream) + Entry(Bytes({'C', 'a', 'f', 0xE9, 0x80, '.', 't', 'x', 't'}), kEmptyStream)},
};

class PackageGolden : public testing::TestWithParam<Golden> {};

TEST_P(PackageGolden, SavesExactlyTheseBytesOverAnOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.krb");
    WriteAll(path, "old content, longer than any of the packages");
    clsKRBfile package;
    for (const auto& [name, data] : GetParam().members)
        ASSERT_TRUE(package.AddFileFromString(name, data));
    ASSERT_TRUE(package.SaveKRBfileOnDisk(path));
    EXPECT_EQ(Hex(ReadAll(path)), Hex(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(, PackageGolden, testing::ValuesIn(kGolden),
                         [](const testing::TestParamInfo<Golden>& info) { return info.param.name; });

TEST_F(Package, SavedPackageLoadsBackByteForByte)
{
    clsKRBfile package;
    QByteArray big;
    for (int i = 0; i < 5000; ++i)
        big.append(char(i % 97));
    ASSERT_TRUE(package.AddFileFromString("big.bin", big));
    ASSERT_TRUE(package.AddFileFromString("\u00c9t\u00e9.txt", QByteArray()));
    ASSERT_TRUE(package.SaveKRBfileOnDisk(Path("p.krb")));
    clsKRBfile loaded;
    ASSERT_TRUE(loaded.AddKRBfileFromDisk(Path("p.krb")));
    ASSERT_EQ(loaded.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded.Members()[i].name, package.Members()[i].name);
        EXPECT_EQ(loaded.Members()[i].storedSize, package.Members()[i].storedSize);
        EXPECT_EQ(loaded.Members()[i].stream, package.Members()[i].stream);
    }
    EXPECT_EQ(loaded.ExtractOneFileToString("BIG.BIN"), big);
}

TEST_F(Package, LoadingTwiceAppendsAndLookupsReachTheFirstCopy)
{
    const QByteArray first = Entry("files.txt", kAbcStream);
    const QByteArray second = Entry("FILES.TXT", kEmptyStream);
    WriteAll(Path("dup.krb"), first + second);
    clsKRBfile package;
    ASSERT_TRUE(package.AddKRBfileFromDisk(Path("dup.krb")));
    ASSERT_TRUE(package.AddKRBfileFromDisk(Path("dup.krb")));
    EXPECT_EQ(package.Count(), 4);
    EXPECT_EQ(package.FindMember("Files.Txt"), 0);
    EXPECT_EQ(package.ExtractOneFileToString("FILES.TXT"), QByteArray("abc"));
    EXPECT_FALSE(package.AddFileFromString("files.TXT", "x")) << "adds refuse a name held in another case";
    EXPECT_EQ(package.Count(), 4);
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

TEST_F(Package, ExtractsCaseInsensitivelyUnderTheCallersSpellingWithOrWithoutTrailingSlash)
{
    clsKRBfile package;
    ASSERT_TRUE(package.AddFileFromString("Zones.txt", "abc"));
    ASSERT_TRUE(package.AddFileFromString("Empty.txt", QByteArray()));
    EXPECT_TRUE(package.ExtractOneFileToDisk("zones.txt", dir.path()));
    EXPECT_EQ(ReadAll(Path("zones.txt")), QByteArray("abc"));
    EXPECT_TRUE(package.ExtractOneFileToDisk("Empty.txt", dir.path() + "/"));
    EXPECT_TRUE(QFile::exists(Path("Empty.txt")));
    EXPECT_EQ(ReadAll(Path("Empty.txt")), QByteArray());
    EXPECT_FALSE(package.ExtractOneFileToDisk("other.txt", dir.path()));
    EXPECT_FALSE(package.ExtractOneFileToDisk("zones.txt", Path("no-such-folder")));
    EXPECT_EQ(package.ExtractOneFileToString("nothing"), QByteArray());
    EXPECT_TRUE(clsKRBfile().ExtractAllFileToDisk(Path("no-such-folder"))) << "nothing to write";
    // Unpacking works on copies: the stored streams stay as they were.
    EXPECT_EQ(package.Members()[0].stream, kAbcStream);
}

// ---- Damaged packages -------------------------------------------------------

struct DamagedPackage {
    const char* name;
    QByteArray bytes;
};

QByteArray WithSizes(qint32 stored, qint16 nameLength, const QByteArray& rest)
{
    char f[6];
    qToLittleEndian<qint32>(stored, f);
    qToLittleEndian<qint16>(nameLength, f + 4);
    return QByteArray(f, 6) + rest;
}

const DamagedPackage kDamaged[] = {
    {"Empty", QByteArray()},
    {"HeaderCutShort", Bytes({0x04, 0x00, 0x00, 0x00, 0x01})},
    {"NegativeStoredSize", WithSizes(-4, 1, "aHE0\r")},
    {"NegativeNameLength", WithSizes(4, -1, "aHE0\r")},
    {"NamePastTheEnd", WithSizes(0, 20, "abc")},
    {"StreamPastTheEnd", WithSizes(100, 1, "aHE0\r")},
    {"SecondEntryCutShort", Entry("a", kEmptyStream) + WithSizes(19, 1, "b" + kAbcStream.left(10))},
    {"HugeStoredSize", WithSizes(0x7FFFFFFF, 1, "aHE0\r")},
};

class PackageDamaged : public testing::TestWithParam<DamagedPackage> {};

TEST_P(PackageDamaged, LoadFailsAndLeavesThePackageUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.krb");
    WriteAll(path, GetParam().bytes);
    clsKRBfile package;
    ASSERT_TRUE(package.AddFileFromString("kept.txt", "abc"));
    EXPECT_FALSE(package.AddKRBfileFromDisk(path));
    EXPECT_FALSE(package.LastError().isEmpty());
    EXPECT_FALSE(package.AddKRBfileFromString(GetParam().bytes));
    ASSERT_EQ(package.Count(), 1);
    EXPECT_EQ(package.Members()[0].name, "kept.txt");
}

INSTANTIATE_TEST_SUITE_P(, PackageDamaged, testing::ValuesIn(kDamaged),
                         [](const testing::TestParamInfo<DamagedPackage>& info) { return info.param.name; });

// A file is read while two or more bytes are left, so one stray byte after
// the last entry is ignored there; in memory it starts an entry that is cut
// short.
TEST_F(Package, OneTrailingByteIsIgnoredInFilesOnly)
{
    const QByteArray bytes = Entry("a", kEmptyStream) + "X";
    WriteAll(Path("tail.krb"), bytes);
    clsKRBfile fromDisk, fromBytes;
    EXPECT_TRUE(fromDisk.AddKRBfileFromDisk(Path("tail.krb")));
    EXPECT_EQ(fromDisk.Count(), 1);
    EXPECT_FALSE(fromBytes.AddKRBfileFromString(bytes));
}

// ---- Safety of unpacking ----------------------------------------------------

struct UnsafeName {
    const char* name;
    QString memberName;
    bool fitsAPackageFile = true;
};

const UnsafeName kUnsafe[] = {
    {"Empty", ""},
    {"Dot", "."},
    {"DotDot", ".."},
    {"ParentFolder", "../escape.txt"},
    {"Subfolder", "sub/file.txt"},
    {"AbsolutePath", "/tmp/file.txt"},
    {"Backslash", "..\\escape.txt"},
    {"DriveColon", "C:file.txt"},
    {"Nul", QString("a") + QChar(0) + "b"},
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
                         [](const testing::TestParamInfo<UnsafeName>& info) { return info.param.name; });

TEST_F(Package, CodecErrorLeavesTheOldFileUntouched)
{
    QByteArray broken = kAbcStream;
    broken[4] = 0x61; // checksum no longer matches
    clsKRBfile package;
    ASSERT_TRUE(package.AddKRBfileFromString(Entry("Zones.txt", broken)));
    WriteAll(Path("Zones.txt"), "old zones");
    try {
        package.ExtractOneFileToDisk("Zones.txt", dir.path());
        FAIL() << "the codec error must reach the caller";
    } catch (const modHuffman::HuffmanError& e) {
        EXPECT_EQ(e.source(), "clsHuffman.Decode()");
    }
    EXPECT_EQ(ReadAll(Path("Zones.txt")), QByteArray("old zones"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Zones.txt"}) << "no temporary file is left";
}

TEST_F(Package, ExtractAllWithOneBadMemberChangesNothingOnDisk)
{
    QByteArray broken = kAbcStream;
    broken.chop(1); // the data bits are gone
    clsKRBfile package;
    ASSERT_TRUE(package.AddKRBfileFromString(Entry("first.txt", kAbcStream) + Entry("second.txt", kAbcStream) +
                                             Entry("third.txt", broken)));
    WriteAll(Path("first.txt"), "old first");
    EXPECT_THROW(package.ExtractAllFileToDisk(dir.path()), modHuffman::HuffmanError);
    EXPECT_EQ(ReadAll(Path("first.txt")), QByteArray("old first"));
    EXPECT_FALSE(QFile::exists(Path("second.txt")));
    EXPECT_FALSE(QFile::exists(Path("third.txt")));
}

} // namespace
