// The package container: golden bytes, loading (well-formed and damaged),
// name look-ups, and the safety of unpacking.
#include "tests/update_codec/TestHelpers.h"
#include "update/clsKRBfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using codectest::Bytes;
using codectest::Hex;

namespace {

const QByteArray kEmptyStream = Bytes({0x48, 0x45, 0x30, 0x0D});
const QByteArray kAbcStream = Bytes({0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x02,
                                     0x62, 0x02, 0x63, 0x01, 0x0D, 0x0D});

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// One entry written field by field.
QByteArray Entry(const QByteArray& name, const QByteArray& stream)
{
    char size[4];
    qToLittleEndian<qint32>(qint32(stream.size()), size);
    char len[2];
    qToLittleEndian<qint16>(qint16(name.size()), len);
    return QByteArray(size, 4) + QByteArray(len, 2) + name + stream;
}

class Package : public testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(Package, OneEmptyMemberIsTenBytes)
{
    clsKRBfile package;
    ASSERT_TRUE(package.AddFileFromString("a", QByteArray()));
    ASSERT_TRUE(package.SaveKRBfileOnDisk(Path("one.krb")));
    EXPECT_EQ(Hex(ReadAll(Path("one.krb"))), Hex(Bytes({0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x61, 0x48, 0x45, 0x30, 0x0D})));
}

TEST_F(Package, SavesEntriesInOrderWithWindows1252Names)
{
    clsKRBfile package;
    ASSERT_TRUE(package.AddFileFromString("Zones.txt", "abc"));
    ASSERT_TRUE(package.AddFileFromString(QString::fromUtf8("Caf\u00e9\u20ac.txt"), QByteArray()));
    ASSERT_TRUE(package.SaveKRBfileOnDisk(Path("two.krb")));
    const QByteArray expected =
        Entry("Zones.txt", kAbcStream) + Entry(Bytes({'C', 'a', 'f', 0xE9, 0x80, '.', 't', 'x', 't'}), kEmptyStream);
    EXPECT_EQ(Hex(ReadAll(Path("two.krb"))), Hex(expected));
}

TEST_F(Package, NoMembersGiveAnEmptyFileThatReplacesAnOldOne)
{
    WriteAll(Path("old.krb"), "old content");
    clsKRBfile package;
    ASSERT_TRUE(package.SaveKRBfileOnDisk(Path("old.krb")));
    EXPECT_EQ(ReadAll(Path("old.krb")), QByteArray());
}

TEST_F(Package, SavedPackageLoadsBackByteForByte)
{
    clsKRBfile package;
    QByteArray big;
    for (int i = 0; i < 5000; ++i)
        big.append(char(i % 97));
    ASSERT_TRUE(package.AddFileFromString("big.bin", big));
    ASSERT_TRUE(package.AddFileFromString("empty.txt", QByteArray()));
    ASSERT_TRUE(package.AddFileFromString("\u00c9t\u00e9.txt", "x"));
    ASSERT_TRUE(package.SaveKRBfileOnDisk(Path("p.krb")));

    clsKRBfile loaded;
    ASSERT_TRUE(loaded.AddKRBfileFromDisk(Path("p.krb")));
    ASSERT_EQ(loaded.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.Members()[i].name, package.Members()[i].name);
        EXPECT_EQ(loaded.Members()[i].storedSize, package.Members()[i].storedSize);
        EXPECT_EQ(loaded.Members()[i].stream, package.Members()[i].stream);
    }
    EXPECT_EQ(loaded.ExtractOneFileToString("BIG.BIN"), big);

    clsKRBfile fromBytes;
    ASSERT_TRUE(fromBytes.AddKRBfileFromString(ReadAll(Path("p.krb"))));
    EXPECT_EQ(fromBytes.Members().size(), 3);
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
    // Unpacking works on copies: the stored streams stay as they were.
    EXPECT_EQ(package.Members()[0].stream, kAbcStream);
}

TEST_F(Package, ExtractAllOnAnEmptyPackageWritesNothing)
{
    clsKRBfile package;
    EXPECT_TRUE(package.ExtractAllFileToDisk(dir.path()));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(Package, ClearEmptiesThePackage)
{
    clsKRBfile package;
    ASSERT_TRUE(package.AddFileFromString("a", "1"));
    package.Clear();
    EXPECT_EQ(package.Count(), 0);
    EXPECT_TRUE(package.AddFileFromString("a", "2"));
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

TEST_F(Package, MissingOrEmptyPackageFilesAndEmptyBytesAreRefused)
{
    WriteAll(Path("empty.krb"), QByteArray());
    clsKRBfile package;
    EXPECT_FALSE(package.AddKRBfileFromDisk(Path("empty.krb")));
    EXPECT_FALSE(package.AddKRBfileFromDisk(Path("missing.krb")));
    EXPECT_FALSE(package.AddKRBfileFromString(QByteArray()));
}

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
    {"NotWindows1252", QString::fromUtf8("\u0109.txt")},
};

class PackageUnsafeName : public testing::TestWithParam<UnsafeName> {};

TEST_P(PackageUnsafeName, AddingIsRefused)
{
    clsKRBfile package;
    EXPECT_FALSE(package.AddFileFromString(GetParam().memberName, "abc"));
    EXPECT_EQ(package.Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(, PackageUnsafeName, testing::ValuesIn(kUnsafe),
                         [](const testing::TestParamInfo<UnsafeName>& info) { return info.param.name; });

// The same names as they may come in a package file (all but the last, which
// a package file cannot hold).
class PackageUnsafeStoredName : public testing::TestWithParam<UnsafeName> {};

TEST_P(PackageUnsafeStoredName, ExtractingWritesNothing)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("out/sub"));
    const QString out = root.filePath("out");
    clsKRBfile package;
    const QByteArray name = GetParam().memberName.toLatin1();
    ASSERT_TRUE(package.AddKRBfileFromString(Entry("good.txt", kAbcStream) + Entry(name, kAbcStream)));
    EXPECT_FALSE(package.ExtractOneFileToDisk(GetParam().memberName, out));
    EXPECT_FALSE(package.ExtractAllFileToDisk(out));
    EXPECT_FALSE(QFile::exists(root.filePath("out/good.txt"))) << "nothing at all is written";
    EXPECT_FALSE(QFile::exists(root.filePath("escape.txt")));
    EXPECT_FALSE(QFile::exists(root.filePath("out/sub/file.txt")));
    EXPECT_TRUE(QDir(out + "/sub").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(, PackageUnsafeStoredName, testing::ValuesIn(std::begin(kUnsafe), std::end(kUnsafe) - 1),
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

TEST_F(Package, ExtractAllReplacesEveryMember)
{
    clsKRBfile package;
    ASSERT_TRUE(package.AddFileFromString("one.txt", "abc"));
    ASSERT_TRUE(package.AddFileFromString("two.txt", QByteArray(300, 'z')));
    WriteAll(Path("one.txt"), "a much longer old content than the new one");
    EXPECT_TRUE(package.ExtractAllFileToDisk(dir.path() + "/"));
    EXPECT_EQ(ReadAll(Path("one.txt")), QByteArray("abc"));
    EXPECT_EQ(ReadAll(Path("two.txt")), QByteArray(300, 'z'));
}

} // namespace
