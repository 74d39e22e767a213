// Inner loops of the codec's decoder that tests and fuzzers reach directly:
// the byte map used when every code is 8 bits long (one variant per
// instruction set, chosen at run time), and the size from which a stream is
// decoded with two cursors.
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

// Streams with at least this many data bytes that declare at least this many
// bytes are decoded with two cursors (32 KiB). Tests and fuzzers lower it to
// run every stream through that path.
std::size_t TwoCursorMinBytes();
void SetTwoCursorMinBytes(std::size_t bytes);

} // namespace modHuffman::kernels
