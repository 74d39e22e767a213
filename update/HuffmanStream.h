// The parts of a codec stream that the encoder and the decoders share: the
// two identifications, the compressed form's header and code table, and the
// one door through which a malformed stream becomes an error.
#pragma once

#include "update/modHuffman.h"

#include <QByteArrayView>
#include <QString>
#include <QtEndian>

#include <array>
#include <cstddef>
#include <cstdint>

namespace modHuffman::detail {

inline constexpr char kStoredId[4] = {'H', 'E', '0', '\r'};
inline constexpr char kCompressedId[4] = {'H', 'E', '3', '\r'};
inline constexpr qsizetype kHeaderSize = 11; // identification, checksum, length, table size

// Throws the HuffmanError of a malformed stream, saying what is wrong.
[[noreturn]] void Malformed(const QString& what);

inline std::uint64_t Load64(const std::uint8_t* p)
{
    return qFromLittleEndian<std::uint64_t>(p);
}

inline void Store64(std::uint8_t* p, std::uint64_t v)
{
    qToLittleEndian<std::uint64_t>(v, p);
}

inline std::uint8_t XorOf(const std::uint8_t* p, std::size_t n)
{
    std::uint64_t acc = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        acc ^= Load64(p + i);
    std::uint8_t x = 0;
    for (; i < n; ++i)
        x ^= p[i];
    for (int k = 0; k < 8; ++k)
        x ^= static_cast<std::uint8_t>(acc >> (8 * k));
    return x;
}

enum class Form { Stored, Compressed };

// Which form a stream has. Only bytes 0, 1 and 3 identify a stream: anything
// else is read as compressed all the same. Throws for a stream shorter than
// its identification and for an unknown method byte.
Form Identify(QByteArrayView stream);

// The compressed form's header, code table and where its bit runs start.
struct CompressedHeader {
    std::uint8_t checksum = 0;
    qint32 length = 0;
    std::array<unsigned, 256> codeLength{}; // 0: no code
    std::size_t tableEnd = 0;               // first byte of the code bits
    std::size_t dataStart = 0;              // first byte of the data bits
};

// Reads the header of a stream of the compressed form. A declared length of
// 0 is given back before anything else is checked (such a stream decodes to
// itself); otherwise a negative length or table size, a code length of 0 and
// a table or code bits that run past the end throw.
CompressedHeader ReadCompressedHeader(QByteArrayView stream);

} // namespace modHuffman::detail
