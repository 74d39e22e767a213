// The two-cursor decoder of large streams (see below).
#include "update/HuffmanDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace modHuffman::detail {

namespace {

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

} // namespace

std::size_t DecodeTwoCursors(const Decoder& shared, const std::uint32_t* single, std::uint8_t* out, std::size_t length)
{
    // A copy of its own: the compiler keeps it in registers, where the
    // caller's could change with every byte written.
    const Decoder d = shared;
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

} // namespace modHuffman::detail
