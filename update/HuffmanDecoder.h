// The decoder's inner parts, shared by the one-cursor and two-cursor loops:
// the code tree rebuilt from the table, the lookup tables, the bit reader
// and its steps. Not part of the codec's interface.
#pragma once

#include "update/HuffmanStream.h"

#include <QByteArrayView>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The lookup steps must be inlined into the decode loops (the one-cursor
// loop and the two-cursor loop live in files of their own): called, they
// cost a tenth of the decoding speed.
#if defined(__GNUC__) || defined(__clang__)
#define WAYLOOM_HOT_INLINE inline __attribute__((always_inline))
#elif defined(_MSC_VER)
#define WAYLOOM_HOT_INLINE __forceinline
#else
#define WAYLOOM_HOT_INLINE inline
#endif

namespace modHuffman::detail {

// The code tree rebuilt from the table; node 0 is the root.
struct DecodeTree {
    std::vector<std::array<std::int32_t, 2>> child;
    std::vector<std::int16_t> value;

    DecodeTree()
    {
        child.push_back({-1, -1});
        value.push_back(-1);
    }

    // Adds the code of `symbol`, refusing one that is a prefix of another
    // code, starts with a whole other code, or repeats one.
    void Insert(int symbol, const std::uint8_t* bits, std::uint64_t bitpos, unsigned len)
    {
        int node = 0;
        for (unsigned k = 0; k < len; ++k, ++bitpos) {
            if (value[node] >= 0)
                Malformed(QStringLiteral("the code of byte value %1 begins with the whole code of byte value %2")
                              .arg(symbol)
                              .arg(value[node]));
            const int bit = (bits[bitpos >> 3] >> (bitpos & 7)) & 1;
            int next = child[node][bit];
            if (next < 0) {
                next = static_cast<int>(value.size());
                child.push_back({-1, -1});
                value.push_back(-1);
                child[node][bit] = next;
            }
            node = next;
        }
        if (value[node] >= 0)
            Malformed(QStringLiteral("the code of byte value %1 repeats the code of byte value %2")
                          .arg(symbol)
                          .arg(value[node]));
        if (child[node][0] >= 0 || child[node][1] >= 0)
            Malformed(QStringLiteral("the code of byte value %1 is the beginning of another code").arg(symbol));
        value[node] = static_cast<std::int16_t>(symbol);
    }
};

// Lookup of the next kTableBits bits (first bit in bit 0). An entry holds the
// bits it consumes (bits 0-5), how many bytes it yields (bits 6-7: 1 to 3;
// 0 sends the decoder down the tree bit by bit) and the bytes themselves
// (bits 8-31, first byte lowest). 16 KiB: the table stays in the L1 cache.
constexpr unsigned kTableBits = 12;
// Short streams get a smaller table: building it would cost more than it
// saves.
inline unsigned TableBitsFor(std::size_t dataBytes)
{
    return dataBytes < 256 ? 8 : dataBytes < 2048 ? 10 : kTableBits;
}
constexpr unsigned kMaxPerEntry = 3;

struct DecodeTables {
    unsigned bits = kTableBits;
    std::vector<std::uint32_t> multi;
    // Every code is 8 bits long (what incompressible data gives): each data
    // byte is one code, decoded through this map.
    bool allEightBits = false;
    std::array<std::uint8_t, 256> byteMap{};
    // One byte per entry (bits 0-7: its code length, 0 for a longer code;
    // bits 16-23: the byte).
    std::vector<std::uint32_t> single;
};

// Fills the lookup tables of `tree` for `bits`-bit lookups.
void BuildTables(const DecodeTree& tree, unsigned bits, DecodeTables& tables);

enum class Walk { Byte, End, Nowhere };

// One byte down the tree, bit by bit, from `bitpos`. A bit that leads to no
// code is an error of the stream, unless `quiet` (a guess at a code boundary
// may lead anywhere): then the walk reports Nowhere.
inline Walk WalkOne(const DecodeTree& tree, const std::uint8_t* data, std::uint64_t totalBits, std::uint64_t& bitpos,
                    std::uint8_t& out, bool quiet = false)
{
    int node = 0;
    for (;;) {
        if (bitpos >= totalBits)
            return Walk::End;
        const int bit = (data[bitpos >> 3] >> (bitpos & 7)) & 1;
        node = tree.child[node][bit];
        if (node < 0) {
            if (quiet)
                return Walk::Nowhere;
            Malformed(QStringLiteral("data bit %1 leads to a code that is not in the table").arg(bitpos));
        }
        ++bitpos;
        if (tree.value[node] >= 0) {
            out = static_cast<std::uint8_t>(tree.value[node]);
            return Walk::Byte;
        }
    }
}

// The bit reader of the table loop: `buf` holds `cnt` unread bits and `in`
// is the first byte not yet loaded into it.
struct Reader {
    const std::uint8_t* in;
    std::uint64_t buf;
    unsigned cnt;

    std::uint64_t Pos(const std::uint8_t* data) const { return std::uint64_t(in - data) * 8 - cnt; }
};

struct Decoder {
    const DecodeTree& tree;
    const std::uint32_t* table;
    std::uint64_t mask;
    const std::uint8_t* data;
    const std::uint8_t* inEnd;
    std::uint64_t totalBits;
};

// Puts the reader at `bitpos`; with fewer than 8 bytes left there the buffer
// stays empty (same position) and only the tree walk can go on.
inline void Seek(Reader& r, const Decoder& d, std::uint64_t bitpos)
{
    r.in = d.data + (bitpos >> 3);
    const unsigned skip = bitpos & 7;
    if (d.inEnd - r.in >= 8) {
        r.buf = Load64(r.in) >> skip;
        r.cnt = 56 - skip;
        r.in += 7;
    } else {
        r.buf = 0;
        r.in += skip != 0 ? 1 : 0;
        r.cnt = skip != 0 ? 8 - skip : 0;
    }
}

// Tops the buffer up to 56..63 bits: room for four lookups of at most 12.
// Needs 8 readable bytes at `in`.
WAYLOOM_HOT_INLINE void Refill(Reader& r)
{
    r.buf |= Load64(r.in) << r.cnt;
    r.in += (63 - r.cnt) >> 3;
    r.cnt |= 56;
}

// One lookup: up to three bytes out. The entry's low six bits are the shift
// itself, which keeps the chain from one lookup to the next short. False
// (nothing consumed) for an entry that needs the tree.
WAYLOOM_HOT_INLINE bool Step(Reader& r, const std::uint32_t* t, std::uint64_t mask, std::uint8_t*& o)
{
    const std::uint32_t e = t[r.buf & mask];
    if ((e & 0xC0) == 0)
        return false;
    qToLittleEndian<std::uint32_t>(e >> 8, o); // first byte first
    o += (e >> 6) & 3;
    r.buf >>= (e & 63);
    r.cnt -= (e & 63);
    return true;
}

WAYLOOM_HOT_INLINE bool FourSteps(Reader& r, const Decoder& d, std::uint8_t*& o)
{
    Refill(r);
    return Step(r, d.table, d.mask, o) && Step(r, d.table, d.mask, o) && Step(r, d.table, d.mask, o) &&
           Step(r, d.table, d.mask, o);
}

// One byte down the tree for a reader whose lookup needs it; false when the
// data bits end (or, when quiet, lead nowhere) first.
inline bool WalkReader(Reader& r, const Decoder& d, std::uint8_t*& o, bool quiet = false)
{
    std::uint64_t pos = r.Pos(d.data);
    if (WalkOne(d.tree, d.data, d.totalBits, pos, *o, quiet) != Walk::Byte)
        return false;
    ++o;
    Seek(r, d, pos);
    return true;
}

// Decodes from `bitpos` into [o, oEnd) (with 8 bytes of slack); returns the
// end of what was written: oEnd unless the data bits end first. `bitpos`
// becomes the position after the last code decoded.
std::uint8_t* DecodeFrom(const Decoder& d, std::uint64_t& bitpos, std::uint8_t* o, std::uint8_t* const oEnd);

// Decodes `length` bytes from the start of the data bits into `out` (with
// 8 bytes of slack) with two cursors; returns the number of bytes produced.
// `single` is the one-byte-per-entry lookup table.
std::size_t DecodeTwoCursors(const Decoder& d, const std::uint32_t* single, std::uint8_t* out, std::size_t length);

// A compressed stream ready to decode: its header, tree and tables, and
// where its data bits are.
struct DecodeSetup {
    CompressedHeader header;
    DecodeTree tree;
    DecodeTables tables;
    const std::uint8_t* data = nullptr;
    std::size_t dataBytes = 0;
};

// Builds the tree and tables of `stream`, whose header `h` declares a length
// above 0, and refuses a length that the data bits cannot hold (each data
// bit yields at most one byte).
void Prepare(QByteArrayView stream, const CompressedHeader& h, DecodeSetup& setup);

} // namespace modHuffman::detail
