// The inner loop of the codec's decoder that tests and fuzzers reach
// directly: the byte map used when every code is 8 bits long (one variant per
// instruction set, chosen at run time).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace modHuffman::kernels {

// Writes map[in[i]] to out[i] for i < n and returns the XOR of the bytes
// written.
using MapBytesFn = std::uint8_t (*)(const std::uint8_t* in, std::size_t n, const std::uint8_t* map, std::uint8_t* out);

struct MapBytesVariant {
    const char* name;
    MapBytesFn fn;
};

// Every variant this processor runs, the portable one first.
std::vector<MapBytesVariant> MapBytesVariants();

// The fastest of them.
std::uint8_t MapBytes(const std::uint8_t* in, std::size_t n, const std::uint8_t* map, std::uint8_t* out);

} // namespace modHuffman::kernels
