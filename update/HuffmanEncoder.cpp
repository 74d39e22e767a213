// The encoder: counts the bytes, builds the code tree as every peer does,
// and writes the compressed form, or the stored form when coding gains
// nothing.
#include "update/HuffmanStream.h"
#include "update/modHuffman.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace modHuffman {

using detail::kCompressedId;
using detail::kHeaderSize;
using detail::kStoredId;
using detail::Store64;
using detail::XorOf;

namespace {

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

} // namespace

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

void HuffmanEncode(QByteArray& bytes, qsizetype length)
{
    bytes = EncodeStream(QByteArrayView(bytes).first(std::clamp<qsizetype>(length, 0, bytes.size())));
}

void HuffmanEncode(QByteArray& bytes)
{
    HuffmanEncode(bytes, bytes.size());
}

} // namespace modHuffman
