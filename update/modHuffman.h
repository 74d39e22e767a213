// The Huffman codec of update packages: a byte sequence becomes a
// self-describing stream (identification, checksum, length, code table, code
// bits, data bits) and back. The stream layout is exact to the byte so that
// streams made by any peer decode here and the other way round.
//
// Stored form:      48 45 30 0D, then the input bytes unchanged.
// Compressed form:  48 45 33 0D, XOR checksum (1 byte), uncompressed length
//                   (int32 LE), table size N (int16 LE), N pairs (byte value,
//                   code length), the code bits of the table entries, then the
//                   data bits starting on the next whole byte. Bit runs are
//                   packed least significant bit first.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

namespace modHuffman {

// Number carried by every codec error (0x80040000).
inline constexpr std::int32_t kErrorNumber = static_cast<std::int32_t>(0x80040000u);

// Sources and messages of the two errors peers know.
inline constexpr const char* kSourceHuffmanDecode = "HuffmanDecode()";
inline constexpr const char* kMessageUnknownMethod =
    "I dati non possono essere compressi, il pacchetto non e' stato riconosciuto";
inline constexpr const char* kSourceChecksum = "clsHuffman.Decode()";
inline constexpr const char* kMessageChecksum = "The data might be corrupted (checksum did not match expected value)";

// A decoding failure: number, source and message. Malformed streams (too
// short, bad code table, bits past the end, a code that leads nowhere, fewer
// bytes than declared) carry kErrorNumber, the source "HuffmanDecode()" and a
// message that says what is wrong.
class HuffmanError : public std::exception {
public:
    HuffmanError(std::int32_t number, QString source, QString message);

    std::int32_t number() const noexcept { return m_number; }
    const QString& source() const noexcept { return m_source; }
    const QString& message() const noexcept { return m_message; }
    // "<source>: <message> (error <number>)" in UTF-8.
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    std::int32_t m_number;
    QString m_source;
    QString m_message;
    std::string m_what;
};

// How a stream is decoded; the defaults are the program's.
struct DecodeOptions {
    // Streams with at least this many data bytes that declare at least this
    // many bytes are decoded with two cursors. Tests and fuzzers lower it to
    // 0, or raise it out of reach, to run every stream through one path.
    std::size_t twoCursorMinBytes = std::size_t{32} * 1024;
};

// Replaces `bytes` by the stream of its first `length` bytes (clamped to the
// array's size; the whole array when omitted). Never fails.
void HuffmanEncode(QByteArray& bytes, qsizetype length);
void HuffmanEncode(QByteArray& bytes);

// Replaces `bytes` (a stream whose length is `length`, clamped to the array's
// size; the whole array when omitted) by the decoded bytes. Throws
// HuffmanError and leaves `bytes` unchanged on failure.
void HuffmanDecode(QByteArray& bytes, qsizetype length);
void HuffmanDecode(QByteArray& bytes);

// The same as pure functions over a view.
QByteArray EncodeStream(QByteArrayView input);
QByteArray DecodeStream(QByteArrayView stream, const DecodeOptions& options = {}); // throws HuffmanError
// DecodeStream into `out`, reusing its memory when it is large enough (for
// callers that decode many streams). On failure `out` holds no useful bytes.
void DecodeStreamInto(QByteArrayView stream, QByteArray& out, const DecodeOptions& options = {}); // throws HuffmanError

// True when the stream starts with the stored form's identification
// (48 45 30 0D); everything else is read as compressed.
bool IsStoredStream(QByteArrayView stream) noexcept;

// The uncompressed length a stream declares without decoding it: the stored
// form's payload size, or the compressed form's length field; -1 when the
// stream is shorter than its header.
qint64 DeclaredLength(QByteArrayView stream) noexcept;

} // namespace modHuffman
