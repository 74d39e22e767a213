// Unpacking within bounds: the piece decoder gives what the whole-stream
// decoder gives, whatever the piece size; members are refused from their
// headers before anything is decoded when they are larger than their stream
// can hold, than a member may be, or than the disk has room for; and a member
// that fails leaves neither its file nor a temporary one.
#include "tests/update/TestHelpers.h"
#include "update/HuffmanPieces.h"
#include "update/clsKRBfile.h"
#include "update/modHuffman.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using codectest::Entry;
using codectest::OneBitStream;

namespace {

// Every entry of a folder, hidden ones (the temporary files) included.
QStringList Everything(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The whole output of a piece decoder that hands out `piece` bytes at a time.
QByteArray DecodeInPieces(const QByteArray& stream, std::size_t piece)
{
    modHuffman::PieceDecoder decoder(stream);
    QByteArray out;
    std::vector<char> buffer(piece + 8);
    while (!decoder.AtEnd()) {
        const std::size_t n = decoder.Next(buffer.data(), piece);
        if (n == 0)
            break;
        out.append(buffer.data(), qsizetype(n));
    }
    return out;
}

#ifdef Q_OS_UNIX
// Runs `body` in a child process with `resource` limited to `limit` bytes
// (SIGXFSZ ignored); true when it returned true.
bool TrueInAChildUnder(int resource, rlim_t limit, const std::function<bool()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit l{limit, limit};
        setrlimit(resource, &l);
        bool ok = false;
        try {
            ok = body();
        } catch (...) {
        }
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

} // namespace

// The bit position carried from one piece to the next must be exact: a
// piece that ends inside a code, or in the middle of a lookup, shifts every
// later byte.
TEST(PieceDecoder, GivesTheInputBackWhateverThePieceSize)
{
    for (const auto& c : codectest::LargeInputs()) {
        const QByteArray stream = modHuffman::EncodeStream(c.input);
        for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{13}, std::size_t{4096}}) {
            SCOPED_TRACE(c.name + " in pieces of " + std::to_string(piece));
            EXPECT_TRUE(DecodeInPieces(stream, piece) == c.input);
        }
    }
}

class BoundedExtract : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid() && m_packages.isValid()); }
    QString Folder() const { return m_dir.path(); }

    // A package of the given entries, loaded from a file as the updater
    // loads it.
    bool Load(clsKRBfile& package, const QByteArray& bytes)
    {
        const QString path = m_packages.filePath(QString::number(m_count++) + ".krb");
        return codectest::WriteAll(path, bytes) && package.AddKRBfileFromDisk(path);
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_packages;
    int m_count = 0;
};

// A stream of 22 bytes (header 9, table 2 + 2, code bits 1, data 8) that
// claims 2 GiB - 1: it is refused from its
// header, in a process whose address space could not hold the claim, and
// nothing is written.
TEST_F(BoundedExtract, HeaderClaimingMoreThanEightTimesItsSizeIsRefusedBeforeDecoding)
{
    QByteArray liar = OneBitStream(64);
    liar[5] = char(0xFF), liar[6] = char(0xFF), liar[7] = char(0xFF), liar[8] = char(0x7F);
    clsKRBfile package;
    ASSERT_TRUE(Load(package, Entry("liar.txt", liar)));
#ifdef Q_OS_UNIX
    EXPECT_TRUE(TrueInAChildUnder(RLIMIT_AS, rlim_t(1) << 30, [&] {
        return !package.ExtractAllFileToDisk(Folder()) && package.LastError().contains("8 times");
    }));
#endif
    EXPECT_FALSE(package.ExtractOneFileToDisk("liar.txt", Folder()));
    EXPECT_TRUE(package.LastError().contains("more than 8 times its 22 stored bytes"))
        << package.LastError().toStdString();
    EXPECT_EQ(Everything(Folder()), QStringList());
}

TEST_F(BoundedExtract, CeilingsOnMemberSizeAndFreeSpace)
{
    // Members of 3 MiB and 1 MiB, about 512 KiB stored.
    const QByteArray bytes = Entry("big.txt", OneBitStream(3 << 20)) + Entry("small.txt", OneBitStream(1 << 20));
    const struct {
        const char* name;
        qint64 maxMember;
        qint64 free; // -1: unknown
        qint64 keepFree;
        bool unpacks;
        const char* reason;
    } rows[] = {
        {"WithinEveryCeiling", 3 << 20, 100 << 20, 64 << 20, true, ""},
        {"MemberAboveTheMemberCeiling", (3 << 20) - 1, 100 << 20, 64 << 20, false, "more than the 3.0 MiB"},
        {"MembersTogetherEatTheKeptSpace", 3 << 20, (68 << 20) - 1, 64 << 20, false, "only 68.0 MiB are free"},
        {"MembersFitTheSpaceExactly", 3 << 20, 68 << 20, 64 << 20, true, ""},
        {"UnknownFreeSpaceIsNotChecked", 3 << 20, -1, 64 << 20, true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir out;
        clsKRBfile package;
        ASSERT_TRUE(Load(package, bytes));
        ExtractLimits limits;
        limits.maxMemberBytes = row.maxMember;
        limits.keepFreeBytes = row.keepFree;
        QString askedFor;
        limits.freeSpace = [&](const QString& folder) {
            askedFor = folder;
            return row.free;
        };
        package.SetLimits(limits);
        EXPECT_EQ(package.ExtractAllFileToDisk(out.path()), row.unpacks);
        EXPECT_TRUE(package.LastError().contains(row.reason)) << package.LastError().toStdString();
        if (row.unpacks) {
            EXPECT_EQ(askedFor, out.path()) << "the free space of the destination's disk";
        }
        EXPECT_EQ(Everything(out.path()).size(), row.unpacks ? 2 : 0);
    }
}

// The second member (several pieces long) fails its checksum only at its
// last piece: neither it, nor the first member staged before it, nor any
// temporary file stays.
TEST_F(BoundedExtract, MemberThatFailsLeavesNoFileAndNoTemporary)
{
    QByteArray bad = OneBitStream(3 << 20);
    bad[4] = 'a'; // "a" an even number of times gives 0
    clsKRBfile package;
    ASSERT_TRUE(Load(package, Entry("one.txt", OneBitStream(100)) + Entry("two.txt", bad)));
    EXPECT_THROW(package.ExtractAllFileToDisk(Folder()), modHuffman::HuffmanError);
    EXPECT_EQ(Everything(Folder()), QStringList());
    EXPECT_THROW(package.ExtractOneFileToDisk("two.txt", Folder()), modHuffman::HuffmanError);
    EXPECT_EQ(Everything(Folder()), QStringList());
}

// A file-size limit stops the write of the 3 MiB member after 1 MiB: the
// extraction fails as a write error and leaves nothing.
TEST_F(BoundedExtract, WriteStoppedBySizeLimitLeavesNoFileAndNoTemporary)
{
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "needs setrlimit";
#else
    clsKRBfile package;
    ASSERT_TRUE(Load(package, Entry("one.txt", OneBitStream(100)) + Entry("two.txt", OneBitStream(3 << 20))));
    EXPECT_TRUE(TrueInAChildUnder(RLIMIT_FSIZE, rlim_t(1) << 20, [&] {
        return !package.ExtractAllFileToDisk(Folder()) && package.LastError().contains("two.txt");
    }));
    EXPECT_EQ(Everything(Folder()), QStringList());
#endif
}
