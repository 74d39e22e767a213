#include "update/HuffmanKernels.h"

#include <QtEndian>

#include <algorithm>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define WAYLOOM_X86_DISPATCH 1
#endif

namespace modHuffman::kernels {

namespace {

std::uint8_t XorOf(const std::uint8_t* p, std::size_t n)
{
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < n; ++i)
        x ^= p[i];
    return x;
}

// Each data byte is one code, so decoding is a byte-for-byte map. These
// return the XOR of what they wrote: the checksum comes out of the same pass.

std::uint8_t MapBytesPortable(const std::uint8_t* in, std::size_t n, const std::uint8_t* map, std::uint8_t* out)
{
    std::uint64_t acc = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v = 0;
        for (int k = 0; k < 8; ++k)
            v |= std::uint64_t{map[in[i + k]]} << (8 * k);
        qToLittleEndian<std::uint64_t>(v, out + i);
        acc ^= v;
    }
    std::uint8_t x = 0;
    for (; i < n; ++i) {
        out[i] = map[in[i]];
        x ^= out[i];
    }
    for (int k = 0; k < 8; ++k)
        x ^= static_cast<std::uint8_t>(acc >> (8 * k));
    return x;
}

#ifdef WAYLOOM_X86_DISPATCH
// 64 bytes: two 128-entry permutes (the byte's low seven bits pick the
// entry), its top bit picks between them.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) inline __m512i Map64(const std::uint8_t* in,
                                                                            const __m512i (&t)[4])
{
    const __m512i idx = _mm512_loadu_si512(in);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(idx), _mm512_permutex2var_epi8(t[0], idx, t[1]),
                                  _mm512_permutex2var_epi8(t[2], idx, t[3]));
}

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::uint8_t
MapBytesVbmi(const std::uint8_t* in, std::size_t n, const std::uint8_t* map, std::uint8_t* out)
{
    const __m512i t[4] = {_mm512_loadu_si512(map), _mm512_loadu_si512(map + 64), _mm512_loadu_si512(map + 128),
                          _mm512_loadu_si512(map + 192)};
    __m512i acc = _mm512_setzero_si512();
    // Up to the first output cache line boundary one by one: the whole-line
    // stores after it never straddle two lines.
    std::size_t i = std::min(n, std::size_t(-reinterpret_cast<std::uintptr_t>(out) & 63));
    const std::uint8_t head = MapBytesPortable(in, i, map, out);
    // Four lines a step keep enough loads in flight.
    for (; i + 256 <= n; i += 256) {
        const __m512i v0 = Map64(in + i, t), v1 = Map64(in + i + 64, t);
        const __m512i v2 = Map64(in + i + 128, t), v3 = Map64(in + i + 192, t);
        _mm512_storeu_si512(out + i, v0);
        _mm512_storeu_si512(out + i + 64, v1);
        _mm512_storeu_si512(out + i + 128, v2);
        _mm512_storeu_si512(out + i + 192, v3);
        acc = _mm512_ternarylogic_epi64(acc, v0, v1, 0x96); // acc ^ v0 ^ v1
        acc = _mm512_ternarylogic_epi64(acc, v2, v3, 0x96);
    }
    for (; i + 64 <= n; i += 64) {
        const __m512i v = Map64(in + i, t);
        _mm512_storeu_si512(out + i, v);
        acc = _mm512_xor_si512(acc, v);
    }
    alignas(64) std::uint8_t lanes[64];
    _mm512_store_si512(lanes, acc);
    return head ^ XorOf(lanes, 64) ^ MapBytesPortable(in + i, n - i, map, out + i);
}

// 32 bytes per step: sixteen 16-entry shuffles, one per high nibble, each
// kept only where the byte's high nibble matches.
__attribute__((target("avx2"))) std::uint8_t MapBytesAvx2(const std::uint8_t* in, std::size_t n,
                                                          const std::uint8_t* map, std::uint8_t* out)
{
    __m256i rows[16];
    for (std::ptrdiff_t h = 0; h < 16; ++h)
        rows[h] = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(map + 16 * h)));
    const __m256i lowMask = _mm256_set1_epi8(0x0F);
    __m256i acc = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i low = _mm256_and_si256(b, lowMask);
        const __m256i high = _mm256_and_si256(_mm256_srli_epi16(b, 4), lowMask);
        __m256i v = _mm256_setzero_si256();
        for (int h = 0; h < 16; ++h) {
            const __m256i hit = _mm256_cmpeq_epi8(high, _mm256_set1_epi8(static_cast<char>(h)));
            v = _mm256_or_si256(v, _mm256_and_si256(hit, _mm256_shuffle_epi8(rows[h], low)));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), v);
        acc = _mm256_xor_si256(acc, v);
    }
    alignas(32) std::uint8_t lanes[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), acc);
    std::uint8_t x = XorOf(lanes, 32);
    return x ^ MapBytesPortable(in + i, n - i, map, out + i);
}
#endif

} // namespace

std::vector<MapBytesVariant> MapBytesVariants()
{
    std::vector<MapBytesVariant> variants{{"portable", MapBytesPortable}};
#ifdef WAYLOOM_X86_DISPATCH
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        variants.push_back({"avx2", MapBytesAvx2});
    if (__builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw"))
        variants.push_back({"avx512vbmi", MapBytesVbmi});
#endif
    return variants;
}

std::uint8_t MapBytes(const std::uint8_t* in, std::size_t n, const std::uint8_t* map, std::uint8_t* out)
{
    static const MapBytesFn widest = MapBytesVariants().back().fn;
    return widest(in, n, map, out);
}

} // namespace modHuffman::kernels
