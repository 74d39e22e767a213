// A package of named members, each stored as a stream of the Huffman codec.
//
// Package file: a plain run of entries, no header and no trailer. Each entry:
//   stored size S   int32 little-endian
//   name length N   int16 little-endian
//   name            N bytes, Windows-1252, case kept
//   stream          S bytes (modHuffman stream)
//
// Member names are plain file names: adding or extracting a name that is
// empty, "." or "..", or that holds "/", "\", ":" or a control character is
// refused. Lookups ignore case and take the first match (through an index of
// the lower-cased names). Adds refuse a name already held; loads append
// without checking.
//
// Extracting checks each member's decoded length (its stream's header)
// against the ceilings below before anything is decoded, then decodes it a
// piece at a time into a new file beside its target, which replaces the
// target only once the whole content is written and its checksum matched, so
// a codec error never leaves a half-written, temporary or deleted file. A link at a target is
// replaced by the file, never written through. Codec errors reach the caller
// as modHuffman::HuffmanError; every other failure is a false result with the
// reason in LastError().
#pragma once

#include "update/modHuffman.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QFile;
namespace modSafeFiles {
class StagedFiles;
}

struct PackageMember {
    QString name;          // as added or loaded, case kept
    qint32 storedSize = 0; // always stream.size()
    QByteArray stream;     // the member's codec stream
    bool mapped = false;   // the stream lies in a package file mapped into memory
};

// Ceilings on what extracting may write, checked from the streams' declared
// lengths before any member is decoded.
struct ExtractLimits {
    // The largest decoded member.
    qint64 maxMemberBytes = qint64{2} << 30;
    // Room that must stay free on the destination's disk once every member of
    // one extraction is written.
    qint64 keepFreeBytes = qint64{64} << 20;
    // Free bytes of the disk that holds a folder; empty: asked of the system.
    // A negative answer (unknown) skips the check.
    std::function<qint64(const QString& folder)> freeSpace;
};

class clsKRBfile {
public:
    clsKRBfile() = default;
    ~clsKRBfile() { Clear(); }
    clsKRBfile(const clsKRBfile&) = default;
    clsKRBfile& operator=(const clsKRBfile&) = default;
    clsKRBfile(clsKRBfile&&) noexcept = default;
    clsKRBfile& operator=(clsKRBfile&&) noexcept = default;

    // Adds the file `Filename` of the folder `FilePath` as member `Filename`.
    // False for a name already held, an unsafe or unrepresentable name, or a
    // missing, empty or unreadable file.
    bool AddFileFromDisk(const QString& Filename, const QString& FilePath);
    // Adds `Data` (bytes, possibly empty) as member `Filename`.
    bool AddFileFromString(const QString& Filename, const QByteArray& Data);

    // Writes the whole package (atomically); no members give an empty file.
    bool SaveKRBfileOnDisk(const QString& KRBfileName);

    // Appends the members of a package file / of package bytes. False (and
    // the package unchanged) for a missing or empty file, empty bytes, or a
    // truncated or malformed package. A package file is mapped into memory,
    // not read (the members' streams point into the mapping).
    bool AddKRBfileFromDisk(const QString& KRBfileName);
    bool AddKRBfileFromString(const QByteArray& KRBfile);

    // Decodes member `CompressedFile` into `Destinationpath`/`CompressedFile`
    // (the name as spelled here). False when no member matches, the name is
    // unsafe, the folder is missing, the member is larger than the limits
    // allow or the file cannot be written. Throws modHuffman::HuffmanError for
    // a stream that does not decode (nothing is written then).
    bool ExtractOneFileToDisk(const QString& CompressedFile, const QString& Destinationpath);
    // Extracts every member into `Destinationpath`. Checks the folder, every
    // name and every target, then decodes the members one at a time into new
    // files beside their targets and puts them in place only when all have
    // decoded: a package with one bad member, or a member that would replace
    // a folder, changes nothing on disk (false, or the member's
    // HuffmanError). A name loaded more than once (in any case) gives one
    // file, under its first spelling, with its first member's content, as a
    // look-up by name does; that member is decoded once. The members together
    // must fit the free space the limits leave. Memory beyond the package is
    // one piece of the member being decoded.
    bool ExtractAllFileToDisk(const QString& Destinationpath);
    // Makes the extractions look at `cancel` between pieces; when it is set
    // the extraction stops, changes nothing and gives false. Null: none.
    void SetCancelFlag(const std::atomic<bool>* cancel) { m_cancel = cancel; }
    // The decoded bytes of a member, or an empty array when none matches.
    // Throws modHuffman::HuffmanError like the extract above.
    QByteArray ExtractOneFileToString(const QString& CompressedFile) const;

    void Clear();

    // A decoded stream never holds more than 8 bytes per stored byte (each
    // data bit gives at most one byte); a member that declares more is
    // damaged.
    static constexpr qint64 kMaxExpansion = 8;
    void SetLimits(ExtractLimits limits) { m_limits = std::move(limits); }
    const ExtractLimits& Limits() const { return m_limits; }

    // Index (from 0) of the first member whose name matches ignoring case,
    // or -1.
    int FindMember(const QString& name) const;
    int Count() const { return static_cast<int>(m_members.size()); }
    const QList<PackageMember>& Members() const { return m_members; }

    // Why the last operation that returned false failed (empty after success).
    // Messages about the package file itself do not repeat its path; those
    // about member files name the file.
    const QString& LastError() const { return m_lastError; }

    // Size of the file at `path`; 0 when the path is empty, names no regular
    // file or cannot be examined. Never fails.
    static qint64 FileLength(const QString& path);
    // True when `path` is not empty and names an existing folder.
    static bool FolderExists(const QString& path);
    // True when `name` may be a member name: a plain file name of at most
    // 32767 Windows-1252 characters without control characters (see above).
    static bool IsSafeMemberName(const QString& name);

private:
    bool AddMember(const QString& name, const QByteArray& content);
    bool AppendPackage(const QByteArray& bytes, bool fromDisk, bool mapped);
    // Adds the members from index `first` on to the name index.
    void IndexFrom(qsizetype first);
    bool Fail(const QString& reason);
    // Checks the decoded lengths of `members`, to be written into `folder`,
    // against the limits.
    bool CheckSizes(const std::vector<int>& members, const QString& folder);
    // Decodes member `index` a piece at a time into a new file staged for
    // `target`.
    bool StageMember(modSafeFiles::StagedFiles& staged, const QString& target, int index);

    QList<PackageMember> m_members;
    // Lower-cased name -> index of its first member.
    QHash<QString, int> m_index;
    QString m_lastError;
    const std::atomic<bool>* m_cancel = nullptr;
    ExtractLimits m_limits;
    // The package files whose mappings the members' streams point into.
    QList<std::shared_ptr<QFile>> m_mappings;
};
