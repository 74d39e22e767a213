#include "update/modHuffman.h"
#include "update/HuffmanKernels.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace modHuffman {

HuffmanError::HuffmanError(std::int32_t number, QString source, QString message)
    : m_number(number), m_source(std::move(source)), m_message(std::move(message))
{
    m_what = (m_source + QStringLiteral(": ") + m_message + QStringLiteral(" (error %1)").arg(m_number)).toStdString();
}

namespace {

constexpr char kStoredId[4] = {'H', 'E', '0', '\r'};
constexpr char kCompressedId[4] = {'H', 'E', '3', '\r'};
constexpr qsizetype kHeaderSize = 11; // identification, checksum, length, table size

// The one door through which a malformed stream becomes an error.
[[noreturn]] void Malformed(const QString& what)
{
    throw HuffmanError(kErrorNumber, QString::fromLatin1(kSourceHuffmanDecode), what);
}

inline std::uint64_t Load64(const std::uint8_t* p)
{
    return qFromLittleEndian<std::uint64_t>(p);
}

inline void Store64(std::uint8_t* p, std::uint64_t v)
{
    qToLittleEndian<std::uint64_t>(v, p);
}

std::uint8_t XorOf(const std::uint8_t* p, std::size_t n)
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

// ---- Encoding ---------------------------------------------------------------

// A code: `len` bits, the first one in bit 0 of words[0].
struct CodeWord {
    unsigned len = 0;
    std::array<std::uint64_t, 4> words{};
};

// Writes bit runs least significant bit first. The buffer must have 8 bytes
// of slack after the last byte it will hold.
class BitWriter {
public:
    explicit BitWriter(std::uint8_t* out) : m_out(out) {}

    // n <= 56
    void Put(std::uint64_t bits, unsigned n)
    {
        m_buf |= bits << m_count;
        m_count += n;
        Store64(m_out, m_buf);
        m_out += m_count >> 3;
        m_buf >>= (m_count & 56u);
        m_count &= 7u;
    }

    void PutCode(const CodeWord& c)
    {
        unsigned done = 0;
        while (done < c.len) {
            const unsigned n = std::min(32u, c.len - done);
            const std::uint64_t word = c.words[done / 64] >> (done % 64);
            Put(word & ((std::uint64_t{1} << n) - 1), n);
            done += n;
        }
    }

    // Ends the run on a whole byte; returns the byte after it.
    std::uint8_t* Finish()
    {
        if (m_count > 0) {
            Store64(m_out, m_buf);
            m_out += 1;
        }
        m_buf = 0;
        m_count = 0;
        return m_out;
    }

private:
    std::uint8_t* m_out;
    std::uint64_t m_buf = 0;
    unsigned m_count = 0;
};

// Builds the code tree exactly as every peer does and gives each byte value
// its code. Leaves are created in ascending byte order; each round joins the
// two parentless nodes chosen by the candidate rule below (ties keep the lower
// index), the first candidate becoming the left child. Codes are the paths
// from the root, left = 0.
void BuildCodes(const std::array<std::int64_t, 256>& freq, std::array<CodeWord, 256>& codes)
{
    struct Node {
        std::int16_t parent = -1, right = -1, left = -1, value = -1;
        std::int64_t weight = 0;
    };
    std::array<Node, 512> nodes;
    int count = 0;
    for (int v = 0; v < 256; ++v) {
        if (freq[v] > 0) {
            nodes[count].value = static_cast<std::int16_t>(v);
            nodes[count].weight = freq[v];
            ++count;
        }
    }
    // The parentless nodes in index order: scanning them is scanning the
    // whole table and skipping the others, only faster. Two leave each round
    // and the new node (the highest index) joins at the end.
    std::vector<int> live(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n)
        live[std::size_t(n)] = n;
    while (live.size() > 1) {
        std::size_t k1 = 0, k2 = 1;
        std::int64_t w1 = nodes[live[0]].weight, w2 = nodes[live[1]].weight;
        for (std::size_t k = 2; k < live.size(); ++k) {
            const std::int64_t w = nodes[live[k]].weight;
            if (w < w1) {
                // Of the two candidates, the heavier one is replaced; on a
                // tie the first.
                if (w < w2 && w1 < w2)
                    k2 = k, w2 = w;
                else
                    k1 = k, w1 = w;
            } else if (w < w2) {
                k2 = k, w2 = w;
            }
        }
        const int i1 = live[k1], i2 = live[k2];
        Node& joined = nodes[count];
        joined.left = static_cast<std::int16_t>(i1);
        joined.right = static_cast<std::int16_t>(i2);
        joined.weight = w1 + w2;
        nodes[i1].parent = nodes[i2].parent = static_cast<std::int16_t>(count);
        live.erase(live.begin() + std::ptrdiff_t(std::max(k1, k2)));
        live.erase(live.begin() + std::ptrdiff_t(std::min(k1, k2)));
        live.push_back(count);
        ++count;
    }

    // Depth-first from the root (the last node), left (0) before right (1).
    // A lone leaf is the root and keeps an empty code. Depth stays below 256.
    std::array<std::uint8_t, 256> path{};
    auto visit = [&](auto&& self, int n, unsigned depth) -> void {
        const Node& node = nodes[n];
        if (node.value >= 0) {
            CodeWord& c = codes[node.value];
            c.len = depth;
            c.words = {};
            for (unsigned k = 0; k < depth; ++k)
                c.words[k / 64] |= std::uint64_t{path[k]} << (k % 64);
            return;
        }
        path[depth] = 0;
        self(self, node.left, depth + 1);
        path[depth] = 1;
        self(self, node.right, depth + 1);
    };
    visit(visit, count - 1, 0);
}

// Codes of at most 56 bits as one word each, for the data loop.
struct FastCode {
    std::uint64_t bits;
    std::uint32_t len;
};

// Writes the data bits, `PerFlush` codes at a time: with codes of at most
// 56 / PerFlush bits they fit one put of the writer.
template <int PerFlush>
std::uint8_t* PutData(const std::uint8_t* in, std::size_t n, const std::array<FastCode, 256>& table, std::uint8_t* out)
{
    BitWriter writer(out);
    std::size_t i = 0;
    for (; i + PerFlush <= n; i += PerFlush) {
        std::uint64_t bits = 0;
        unsigned count = 0;
        for (int k = 0; k < PerFlush; ++k) {
            const FastCode c = table[in[i + k]];
            bits |= c.bits << count;
            count += c.len;
        }
        writer.Put(bits, count);
    }
    for (; i < n; ++i)
        writer.Put(table[in[i]].bits, table[in[i]].len);
    return writer.Finish();
}

void CountBytes(const std::uint8_t* p, std::size_t n, std::array<std::int64_t, 256>& freq)
{
    // Four tables, so that runs of one value do not stall on one counter.
    std::vector<std::uint32_t> t(std::size_t{4} * 256, 0);
    std::size_t i = 0;
    while (i < n) {
        // Chunks keep every 32-bit counter far from overflow.
        const std::size_t end = std::min(n, i + (std::size_t{1} << 30));
        for (; i + 4 <= end; i += 4) {
            ++t[p[i]];
            ++t[256 + p[i + 1]];
            ++t[512 + p[i + 2]];
            ++t[768 + p[i + 3]];
        }
        for (; i < end; ++i)
            ++t[p[i]];
        for (int v = 0; v < 256; ++v) {
            freq[v] += std::int64_t{t[v]} + t[256 + v] + t[512 + v] + t[768 + v];
            t[v] = t[256 + v] = t[512 + v] = t[768 + v] = 0;
        }
    }
}

QByteArray StoredForm(QByteArrayView input)
{
    QByteArray out;
    out.reserve(4 + input.size());
    out.append(kStoredId, 4);
    out.append(input);
    return out;
}

// ---- Decoding ---------------------------------------------------------------

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
unsigned TableBitsFor(std::size_t dataBytes)
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
inline void Refill(Reader& r)
{
    r.buf |= Load64(r.in) << r.cnt;
    r.in += (63 - r.cnt) >> 3;
    r.cnt |= 56;
}

// One lookup: up to three bytes out. The entry's low six bits are the shift
// itself, which keeps the chain from one lookup to the next short. False
// (nothing consumed) for an entry that needs the tree.
inline bool Step(Reader& r, const std::uint32_t* t, std::uint64_t mask, std::uint8_t*& o)
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

inline bool FourSteps(Reader& r, const Decoder& d, std::uint8_t*& o)
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
// end of what was written: oEnd unless the data bits end first.
std::uint8_t* DecodeFrom(const Decoder& d, std::uint64_t bitpos, std::uint8_t* o, std::uint8_t* const oEnd)
{
    Reader r;
    Seek(r, d, bitpos);
    while (oEnd - o >= 4 * std::ptrdiff_t{kMaxPerEntry} && d.inEnd - r.in >= 8) {
        // A code longer than the table, or none at all: down the tree.
        if (!FourSteps(r, d, o) && !WalkReader(r, d, o))
            return o;
    }
    std::uint64_t pos = r.Pos(d.data);
    while (o < oEnd && WalkOne(d.tree, d.data, d.totalBits, pos, *o) == Walk::Byte)
        ++o;
    return o;
}

// Two cursors over one bit stream. The lookup chain (bits -> table entry ->
// shift -> next bits) leaves the processor waiting; a second, independent
// chain fills those gaps. The second cursor starts at a byte near the middle,
// which is rarely a code boundary, but prefix codes fall back into step after
// a few codes: the first cursor, on reaching the middle, walks on code by
// code until it stands where the second one began a code. From there on both
// read the same codes, so the second cursor's bytes are the rest of the
// output. Without such a meeting point the first cursor decodes everything
// itself: the second cursor only ever saves time, it never decides a byte.
constexpr std::size_t kMarks = 1024; // the second cursor's first code starts

// The second cursor's buffer, kept for the next stream on this thread: fresh
// pages cost about as much as the decoding they would serve. Buffers above
// 64 MiB are not kept.
class ScratchBuffer {
public:
    std::uint8_t* get(std::size_t n)
    {
        if (n > m_size) {
            m_data.reset(new std::uint8_t[n]);
            m_size = n;
        }
        return m_data.get();
    }
    // After each stream, however it ended.
    void trim() noexcept
    {
        if (m_size > (std::size_t{64} << 20)) {
            m_data.reset();
            m_size = 0;
        }
    }

private:
    std::unique_ptr<std::uint8_t[]> m_data;
    std::size_t m_size = 0;
};
thread_local ScratchBuffer t_scratch;

struct ScratchLease {
    std::uint8_t* get(std::size_t n) { return t_scratch.get(n); }
    ~ScratchLease() { t_scratch.trim(); }
};

std::size_t DecodeTwoCursors(const Decoder& d, const std::uint32_t* single, std::uint8_t* out, std::size_t length)
{
    std::uint8_t* const oaEnd = out + length;
    const std::uint64_t mid = d.totalBits / 16 * 8;
    const std::uint8_t* const midPtr = d.data + mid / 8;

    // The second cursor's bytes; bounded by the output (it cannot owe more
    // than what the first cursor will not write), plus slack.
    const std::size_t tmpSize = length - length / 4 + 16;
    ScratchLease lease;
    std::uint8_t* const tmp = lease.get(tmpSize);
    std::uint8_t* ob = tmp;
    std::uint8_t* const obEnd = tmp + tmpSize - 8;
    struct Mark {
        std::uint64_t bitpos;
        std::size_t out;
    };
    std::vector<Mark> marks;
    marks.reserve(kMarks);

    // Its first codes one at a time, remembering where each begins.
    Reader rb;
    Seek(rb, d, mid);
    bool bGoes = true;
    while (marks.size() < kMarks) {
        if (d.inEnd - rb.in < 8 || obEnd - ob < 4 * std::ptrdiff_t(kMaxPerEntry)) {
            bGoes = false;
            break;
        }
        Refill(rb);
        marks.push_back({rb.Pos(d.data), std::size_t(ob - tmp)});
        const std::uint32_t e = single[rb.buf & d.mask];
        if ((e & 0xFF) == 0) {
            if (!WalkReader(rb, d, ob, true)) {
                marks.pop_back();
                bGoes = false;
                break;
            }
            continue;
        }
        *ob++ = static_cast<std::uint8_t>(e >> 16);
        rb.buf >>= (e & 0xFF);
        rb.cnt -= (e & 0xFF);
    }

    // Both cursors together until the first reaches the middle.
    Reader ra;
    Seek(ra, d, 0);
    std::uint8_t* oa = out;
    while (ra.in < midPtr && d.inEnd - ra.in >= 8 && oaEnd - oa >= 4 * std::ptrdiff_t(kMaxPerEntry)) {
        if (!FourSteps(ra, d, oa) && !WalkReader(ra, d, oa))
            return std::size_t(oa - out); // the data bits end before the middle
        if (bGoes) {
            bGoes = d.inEnd - rb.in >= 8 && obEnd - ob >= 4 * std::ptrdiff_t(kMaxPerEntry) &&
                    (FourSteps(rb, d, ob) || WalkReader(rb, d, ob, true));
        }
    }
    const std::uint64_t bEnd = rb.Pos(d.data);

    // The first cursor alone, code by code, looking for a code start of the
    // second.
    std::uint64_t pos = ra.Pos(d.data);
    std::size_t m = 0;
    while (oa < oaEnd) {
        while (m < marks.size() && marks[m].bitpos < pos)
            ++m;
        if (m == marks.size())
            break;
        if (marks[m].bitpos == pos) {
            const std::size_t from = marks[m].out;
            const std::size_t n = std::min(std::size_t(ob - tmp) - from, std::size_t(oaEnd - oa));
            std::memcpy(oa, tmp + from, n);
            oa += n;
            pos = bEnd;
            break;
        }
        if (WalkOne(d.tree, d.data, d.totalBits, pos, *oa) != Walk::Byte)
            return std::size_t(oa - out);
        ++oa;
    }
    return std::size_t(DecodeFrom(d, pos, oa, oaEnd) - out);
}

// Decodes exactly `length` bytes from the data bits into `out`, which has
// 8 bytes of slack, and gives the XOR of them. Returns the number of bytes
// produced (less than `length` when the data bits end first).
std::size_t DecodeData(const DecodeTree& tree, const DecodeTables& tables, const std::uint8_t* data,
                       std::size_t dataBytes, std::uint8_t* out, std::size_t length, std::uint8_t& xorOut)
{
    if (tables.allEightBits) {
        const std::size_t n = std::min(length, dataBytes);
        xorOut = kernels::MapBytes(data, n, tables.byteMap.data(), out);
        return n;
    }
    const Decoder d{tree, tables.multi.data(), (std::uint64_t{1} << tables.bits) - 1,
                    data, data + dataBytes,    std::uint64_t{dataBytes} * 8};
    const std::size_t twoCursorMin = kernels::TwoCursorMinBytes();
    const std::size_t produced = dataBytes >= twoCursorMin && length >= twoCursorMin
                                     ? DecodeTwoCursors(d, tables.single.data(), out, length)
                                     : std::size_t(DecodeFrom(d, 0, out, out + length) - out);
    xorOut = XorOf(out, produced);
    return produced;
}

} // namespace

} // namespace modHuffman

namespace modHuffman {

bool IsStoredStream(QByteArrayView s) noexcept
{
    return s.size() >= 4 && std::memcmp(s.data(), kStoredId, 4) == 0;
}

qint64 DeclaredLength(QByteArrayView s) noexcept
{
    if (IsStoredStream(s))
        return s.size() - 4;
    if (s.size() < kHeaderSize)
        return -1;
    return qFromLittleEndian<qint32>(s.data() + 5);
}

QByteArray EncodeStream(QByteArrayView input)
{
    const std::size_t n = static_cast<std::size_t>(input.size());
    // The length field is 32-bit; the stored form has none.
    if (n == 0 || n > std::size_t(std::numeric_limits<qint32>::max()))
        return StoredForm(input);
    const auto* in = reinterpret_cast<const std::uint8_t*>(input.data());

    std::array<std::int64_t, 256> freq{};
    CountBytes(in, n, freq);
    std::array<CodeWord, 256> codes;
    BuildCodes(freq, codes);

    std::uint64_t dataBits = 0, codeBits = 0;
    int entries = 0;
    unsigned longest = 0;
    for (int v = 0; v < 256; ++v) {
        if (codes[v].len == 0)
            continue;
        ++entries;
        codeBits += codes[v].len;
        dataBits += std::uint64_t(freq[v]) * codes[v].len;
        longest = std::max(longest, codes[v].len);
    }
    const std::uint64_t codedSize = (dataBits + 7) / 8;
    // Only the data bits count here, as every peer does.
    if (codedSize == 0 || codedSize > n)
        return StoredForm(input);

    const std::size_t tableEnd = kHeaderSize + 2 * std::size_t(entries);
    const std::size_t dataStart = tableEnd + (codeBits + 7) / 8;
    const std::size_t total = dataStart + codedSize;
    QByteArray stream(qsizetype(total + 8), Qt::Uninitialized);
    auto* out = reinterpret_cast<std::uint8_t*>(stream.data());

    std::memcpy(out, kCompressedId, 4);
    out[4] = XorOf(in, n);
    qToLittleEndian<qint32>(qint32(n), out + 5);
    qToLittleEndian<qint16>(qint16(entries), out + 9);
    std::uint8_t* p = out + kHeaderSize;
    for (int v = 0; v < 256; ++v) {
        if (codes[v].len != 0) {
            *p++ = std::uint8_t(v);
            *p++ = std::uint8_t(codes[v].len);
        }
    }
    BitWriter table(p);
    for (int v = 0; v < 256; ++v)
        if (codes[v].len != 0)
            table.PutCode(codes[v]);
    table.Finish();

    std::uint8_t* end;
    if (longest <= 56) {
        std::array<FastCode, 256> fast{};
        for (int v = 0; v < 256; ++v)
            fast[v] = {codes[v].words[0], codes[v].len};
        if (longest <= 14)
            end = PutData<4>(in, n, fast, out + dataStart);
        else if (longest <= 28)
            end = PutData<2>(in, n, fast, out + dataStart);
        else
            end = PutData<1>(in, n, fast, out + dataStart);
    } else {
        // Only weights near the 32-bit limit make codes this long.
        BitWriter data(out + dataStart);
        for (std::size_t i = 0; i < n; ++i)
            data.PutCode(codes[in[i]]);
        end = data.Finish();
    }
    Q_ASSERT(std::size_t(end - out) == total);
    (void)end;
    stream.resize(qsizetype(total));
    return stream;
}

void DecodeStreamInto(QByteArrayView stream, QByteArray& result)
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(stream.data());
    const std::size_t n = static_cast<std::size_t>(stream.size());
    if (n < 4)
        Malformed(QStringLiteral("the stream has %1 bytes, fewer than its 4-byte identification").arg(n));
    // Only bytes 0, 1 and 3 identify a stream; anything else is read as
    // compressed all the same.
    if (s[0] == 'H' && s[1] == 'E' && s[3] == '\r') {
        if (s[2] == '0') {
            result = stream.sliced(4).toByteArray();
            return;
        }
        if (s[2] != '3')
            throw HuffmanError(kErrorNumber, QString::fromLatin1(kSourceHuffmanDecode),
                               QString::fromLatin1(kMessageUnknownMethod));
    }
    if (n < std::size_t(kHeaderSize))
        Malformed(QStringLiteral("the stream has %1 bytes, fewer than its 11-byte header").arg(n));

    const std::uint8_t checksum = s[4];
    const qint32 length = qFromLittleEndian<qint32>(s + 5);
    const qint16 entries = qFromLittleEndian<qint16>(s + 9);
    if (length == 0) {
        result = stream.toByteArray(); // a zero length leaves the stream as it is
        return;
    }
    if (length < 0)
        Malformed(QStringLiteral("the stream declares a negative length (%1)").arg(length));
    if (entries < 0)
        Malformed(QStringLiteral("the stream declares a negative code table size (%1)").arg(entries));
    const std::size_t tableEnd = std::size_t(kHeaderSize) + 2 * std::size_t(entries);
    if (tableEnd > n)
        Malformed(QStringLiteral("the code table of %1 entries runs past the end of the stream").arg(entries));

    // A later pair for the same byte value replaces an earlier one.
    std::array<unsigned, 256> codeLength{};
    for (std::size_t k = kHeaderSize; k < tableEnd; k += 2) {
        if (s[k + 1] == 0)
            Malformed(QStringLiteral("the code table gives byte value %1 a code length of 0").arg(s[k]));
        codeLength[s[k]] = s[k + 1];
    }
    std::uint64_t codeBits = 0;
    for (unsigned len : codeLength)
        codeBits += len;
    if (tableEnd + (codeBits + 7) / 8 > n)
        Malformed(QStringLiteral("the code bits run past the end of the stream"));

    DecodeTree tree;
    std::uint64_t bitpos = 0;
    for (int v = 0; v < 256; ++v) {
        if (codeLength[v] != 0) {
            tree.Insert(v, s + tableEnd, bitpos, codeLength[v]);
            bitpos += codeLength[v];
        }
    }
    const std::size_t dataStart = tableEnd + (codeBits + 7) / 8;
    const std::size_t dataBytes = n - dataStart;
    // Every data bit yields at most one byte: never trust a length the data
    // cannot produce.
    if (std::uint64_t(length) > std::uint64_t(dataBytes) * 8)
        Malformed(QStringLiteral("the stream declares %1 bytes but its %2 data bytes cannot hold them")
                      .arg(length)
                      .arg(dataBytes));

    DecodeTables tables;
    BuildTables(tree, TableBitsFor(n - dataStart), tables);
    // A buffer the caller reuses keeps its memory (no fresh pages to fault
    // in); the decoder needs 8 bytes of slack after the last byte.
    result.resize(qsizetype(length) + 8);
    auto* out = reinterpret_cast<std::uint8_t*>(result.data());
    std::uint8_t sum = 0;
    const std::size_t produced = DecodeData(tree, tables, s + dataStart, dataBytes, out, std::size_t(length), sum);
    if (produced < std::size_t(length))
        Malformed(QStringLiteral("the data bits end after %1 of the %2 declared bytes").arg(produced).arg(length));
    result.resize(length);
    if (sum != checksum)
        throw HuffmanError(kErrorNumber, QString::fromLatin1(kSourceChecksum), QString::fromLatin1(kMessageChecksum));
}

QByteArray DecodeStream(QByteArrayView stream)
{
    QByteArray result;
    DecodeStreamInto(stream, result);
    return result;
}

void HuffmanEncode(QByteArray& bytes, qsizetype length)
{
    bytes = EncodeStream(QByteArrayView(bytes).first(std::clamp<qsizetype>(length, 0, bytes.size())));
}

void HuffmanEncode(QByteArray& bytes)
{
    HuffmanEncode(bytes, bytes.size());
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
