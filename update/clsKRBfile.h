// A package of named members, each stored as a stream of the Huffman codec.
//
// Package file: a plain run of entries, no header and no trailer. Each entry:
//   stored size S   int32 little-endian
//   name length N   int16 little-endian
//   name            N bytes, Windows-1252, case kept
//   stream          S bytes (modHuffman stream)
//
// Member names are plain file names: adding or extracting a name that is
// empty, "." or "..", or that holds "/", "\", ":" or a NUL is refused.
// Lookups ignore case and take the first match. Adds refuse a name already
// held; loads append without checking.
//
// Extracting decodes a member completely before any file is touched and
// replaces the target only once the whole content is written, so a codec
// error never leaves a half-written or deleted file. Codec errors reach the
// caller as modHuffman::HuffmanError; every other failure is a false result
// with the reason in LastError().
#pragma once

#include "update/modHuffman.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct PackageMember {
    QString name;           // as added or loaded, case kept
    qint32 storedSize = 0;  // always stream.size()
    QByteArray stream;      // the member's codec stream
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
    // truncated or malformed package.
    bool AddKRBfileFromDisk(const QString& KRBfileName);
    bool AddKRBfileFromString(const QByteArray& KRBfile);

    // Decodes member `CompressedFile` into `Destinationpath`/`CompressedFile`
    // (the name as spelled here). False when no member matches, the name is
    // unsafe, the folder is missing or the file cannot be written. Throws
    // modHuffman::HuffmanError for a stream that does not decode (nothing is
    // written then).
    bool ExtractOneFileToDisk(const QString& CompressedFile, const QString& Destinationpath);
    // Extracts every member into `Destinationpath`. Checks the folder and
    // every name and decodes every member before the first file is replaced:
    // a package with one bad member changes nothing on disk (false, or the
    // member's HuffmanError).
    bool ExtractAllFileToDisk(const QString& Destinationpath);
    // The decoded bytes of a member, or an empty array when none matches.
    // Throws modHuffman::HuffmanError like the extract above.
    QByteArray ExtractOneFileToString(const QString& CompressedFile) const;

    void Clear();

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
    // 32767 Windows-1252 characters (see above).
    static bool IsSafeMemberName(const QString& name);

private:
    bool AddMember(const QString& name, const QByteArray& content);
    bool AppendPackage(const QByteArray& bytes, bool fromDisk);
    bool Fail(const QString& reason);

    QList<PackageMember> m_members;
    QString m_lastError;
};
