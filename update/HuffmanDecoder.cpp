// The decoder: reads the header and code table, rebuilds the tree, and
// decodes the data bits through lookup tables (the byte map when every code
// is 8 bits long; two cursors for large streams), checking the checksum.
#include "update/HuffmanDecoder.h"
#include "update/HuffmanKernels.h"
#include "update/modHuffman.h"

#include <algorithm>

namespace modHuffman::detail {

void BuildTables(const DecodeTree& tree, unsigned bits, DecodeTables& tables)
{
    tables.bits = bits;
    // One byte per entry first: every leaf no deeper than the table.
    std::vector<std::uint32_t> single(std::size_t{1} << bits, 0);
    struct Step {
        int node;
        unsigned depth;
        std::uint32_t code;
    };
    std::vector<Step> stack{{0, 0, 0}};
    int eightBitLeaves = 0;
    while (!stack.empty()) {
        const Step s = stack.back();
        stack.pop_back();
        if (s.node != 0 && tree.value[s.node] >= 0) {
            eightBitLeaves += s.depth == 8 ? 1 : 0;
            const std::uint32_t entry = s.depth | (std::uint32_t(tree.value[s.node]) << 16);
            for (std::uint32_t k = 0; k < (1u << (bits - s.depth)); ++k)
                single[s.code | (k << s.depth)] = entry;
            continue;
        }
        if (s.depth == bits)
            continue; // longer codes go down the tree
        for (std::uint32_t bit = 0; bit < 2; ++bit) {
            const int next = tree.child[s.node][bit];
            if (next >= 0)
                stack.push_back({next, s.depth + 1, s.code | (bit << s.depth)});
        }
    }
    tables.allEightBits = eightBitLeaves == 256;
    if (tables.allEightBits) {
        for (int b = 0; b < 256; ++b)
            tables.byteMap[b] = static_cast<std::uint8_t>(single[b] >> 16);
        return;
    }
    // Then as many further bytes as fit whole in the bits left over.
    tables.multi.assign(single.size(), 0);
    for (std::uint32_t i = 0; i < single.size(); ++i) {
        std::uint32_t entry = 0;
        unsigned used = 0, count = 0;
        while (count < kMaxPerEntry) {
            const std::uint32_t e = single[i >> used];
            const unsigned len = e & 0xFF;
            if (len == 0 || used + len > bits)
                break;
            entry |= ((e >> 16) & 0xFF) << (8 + 8 * count);
            used += len;
            ++count;
        }
        tables.multi[i] = count == 0 ? 0 : (entry | used | (count << 6));
    }
    tables.single = std::move(single);
}
// Decodes from `bitpos` into [o, oEnd) (with 8 bytes of slack); returns the
// end of what was written: oEnd unless the data bits end first.
std::uint8_t* DecodeFrom(const Decoder& shared, std::uint64_t& bitpos, std::uint8_t* o, std::uint8_t* const oEnd)
{
    // A copy of its own: the compiler keeps it in registers, where the
    // caller's could change with every byte written.
    const Decoder d = shared;
    Reader r;
    Seek(r, d, bitpos);
    while (oEnd - o >= 4 * std::ptrdiff_t{kMaxPerEntry} && d.inEnd - r.in >= 8) {
        // A code longer than the table, or none at all: down the tree.
        if (!FourSteps(r, d, o) && !WalkReader(r, d, o)) {
            bitpos = r.Pos(d.data);
            return o;
        }
    }
    bitpos = r.Pos(d.data);
    while (o < oEnd && WalkOne(d.tree, d.data, d.totalBits, bitpos, *o) == Walk::Byte)
        ++o;
    return o;
}

void Prepare(QByteArrayView stream, const CompressedHeader& h, DecodeSetup& setup)
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(stream.data());
    const std::size_t n = static_cast<std::size_t>(stream.size());
    std::uint64_t bitpos = 0;
    for (int v = 0; v < 256; ++v) {
        if (h.codeLength[v] != 0) {
            setup.tree.Insert(v, s + h.tableEnd, bitpos, h.codeLength[v]);
            bitpos += h.codeLength[v];
        }
    }
    setup.data = s + h.dataStart;
    setup.dataBytes = n - h.dataStart;
    // Every data bit yields at most one byte: never trust a length the data
    // cannot produce.
    if (std::uint64_t(h.length) > std::uint64_t(setup.dataBytes) * 8)
        Malformed(QStringLiteral("the stream declares %1 bytes but its %2 data bytes cannot hold them")
                      .arg(h.length)
                      .arg(setup.dataBytes));
    BuildTables(setup.tree, TableBitsFor(setup.dataBytes), setup.tables);
}

} // namespace modHuffman::detail

namespace modHuffman {

using namespace detail;

namespace {

// Decodes exactly `length` bytes from the data bits into `out`, which has
// 8 bytes of slack, and gives the XOR of them. Returns the number of bytes
// produced (less than `length` when the data bits end first).
std::size_t DecodeData(const DecodeTree& tree, const DecodeTables& tables, const std::uint8_t* data,
                       std::size_t dataBytes, std::uint8_t* out, std::size_t length, std::uint8_t& xorOut,
                       const DecodeOptions& options)
{
    if (tables.allEightBits) {
        const std::size_t n = std::min(length, dataBytes);
        xorOut = kernels::MapBytes(data, n, tables.byteMap.data(), out);
        return n;
    }
    const Decoder d{tree, tables.multi.data(), (std::uint64_t{1} << tables.bits) - 1,
                    data, data + dataBytes,    std::uint64_t{dataBytes} * 8};
    const std::size_t twoCursorMin = options.twoCursorMinBytes;
    std::uint64_t start = 0;
    const std::size_t produced = dataBytes >= twoCursorMin && length >= twoCursorMin
                                     ? DecodeTwoCursors(d, tables.single.data(), out, length)
                                     : std::size_t(DecodeFrom(d, start, out, out + length) - out);
    xorOut = XorOf(out, produced);
    return produced;
}

} // namespace

void DecodeStreamInto(QByteArrayView stream, QByteArray& result, const DecodeOptions& options)
{
    if (Identify(stream) == Form::Stored) {
        result = stream.sliced(4).toByteArray();
        return;
    }
    DecodeSetup setup;
    setup.header = ReadCompressedHeader(stream);
    const qint32 length = setup.header.length;
    if (length == 0) {
        result = stream.toByteArray(); // a zero length leaves the stream as it is
        return;
    }
    Prepare(stream, setup.header, setup);
    // A buffer the caller reuses keeps its memory (no fresh pages to fault
    // in); the decoder needs 8 bytes of slack after the last byte.
    result.resize(qsizetype(length) + 8);
    auto* out = reinterpret_cast<std::uint8_t*>(result.data());
    std::uint8_t sum = 0;
    const std::size_t produced =
        DecodeData(setup.tree, setup.tables, setup.data, setup.dataBytes, out, std::size_t(length), sum, options);
    if (produced < std::size_t(length))
        Malformed(QStringLiteral("the data bits end after %1 of the %2 declared bytes").arg(produced).arg(length));
    result.resize(length);
    if (sum != setup.header.checksum)
        throw HuffmanError(kErrorNumber, QString::fromLatin1(kSourceChecksum), QString::fromLatin1(kMessageChecksum));
}

QByteArray DecodeStream(QByteArrayView stream, const DecodeOptions& options)
{
    QByteArray result;
    DecodeStreamInto(stream, result, options);
    return result;
}

void HuffmanDecode(QByteArray& bytes, qsizetype length)
{
    bytes = DecodeStream(QByteArrayView(bytes).first(std::clamp<qsizetype>(length, 0, bytes.size())));
}

void HuffmanDecode(QByteArray& bytes)
{
    HuffmanDecode(bytes, bytes.size());
}

} // namespace modHuffman
