// Encode -> decode, codes up to 255 bits, and the decoder's fast paths against the plain one: two
// cursors over one bit stream (used from 32 KiB on; lowered to 0 or raised
// out of reach here) and the byte map of streams whose codes are all 8 bits.
#include "tests/update/TestHelpers.h"
#include "update/HuffmanKernels.h"
#include "update/modHuffman.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

using modHuffman::DecodeStream;
using modHuffman::EncodeStream;
namespace kernels = modHuffman::kernels;
using codectest::Fibonacci;
using codectest::Random;

namespace {

constexpr std::size_t kOneCursor = std::numeric_limits<std::size_t>::max();

// The outcome of decoding: the bytes, or the error's source and message.
std::string Outcome(const QByteArray& stream, std::size_t twoCursorMinBytes)
{
    try {
        return "bytes " + DecodeStream(stream, {twoCursorMinBytes}).toHex().toStdString();
    } catch (const modHuffman::HuffmanError& e) {
        return "error " + (e.source() + u'|' + e.message()).toStdString();
    }
}

// Small inputs of every shape, and the large ones of the fast paths.
std::vector<codectest::NamedInput> Inputs()
{
    std::mt19937 rng(20261206);
    std::vector<codectest::NamedInput> all = codectest::LargeInputs();
    for (int size : {1, 2, 3, 7, 8, 9, 64, 65, 1000, 4099})
        all.push_back({"AllValues" + std::to_string(size), Random(rng, size, 256)});
    for (int size : {2, 5})
        all.push_back({"OneValue" + std::to_string(size), QByteArray(size, '\x7F')});
    for (int size : {2, 3, 9, 17, 5000})
        all.push_back({"TwoValues" + std::to_string(size), Random(rng, size, 2)});
    for (int alphabet : {3, 13, 40, 200})
        all.push_back({"Alphabet" + std::to_string(alphabet), Random(rng, 3000, alphabet)});
    for (int values : {3, 12, 20})
        all.push_back({"Fibonacci" + std::to_string(values), Fibonacci(values)});
    return all;
}

class HuffmanTwoCursors : public testing::TestWithParam<codectest::NamedInput> {};

// Encoded and decoded back with one cursor, always two, and two from 32 KiB.
TEST_P(HuffmanTwoCursors, DecodeAsOneCursorDoes)
{
    const QByteArray& input = GetParam().input;
    const QByteArray stream = EncodeStream(input);
    const std::string expected = "bytes " + input.toHex().toStdString();
    EXPECT_EQ(Outcome(stream, kOneCursor), expected);
    EXPECT_EQ(Outcome(stream, 0), expected);
    EXPECT_EQ(Outcome(stream, std::size_t{32} * 1024), expected);
}

INSTANTIATE_TEST_SUITE_P(, HuffmanTwoCursors, testing::ValuesIn(Inputs()),
                         [](const testing::TestParamInfo<codectest::NamedInput>& row) { return row.param.name; });

// Every byte-map variant this processor runs maps and sums like a plain loop,
// on lengths around its block sizes.
TEST(HuffmanByteMap, EveryVariantMatchesAPlainLoop)
{
    std::mt19937 rng(17);
    std::vector<std::uint8_t> map(256);
    for (int v = 0; v < 256; ++v)
        map[v] = std::uint8_t(v);
    std::shuffle(map.begin(), map.end(), rng);
    for (const kernels::MapBytesVariant& variant : kernels::MapBytesVariants()) {
        for (std::size_t n : {0, 1, 7, 8, 31, 32, 33, 63, 64, 65, 127, 128, 1000, 4099}) {
            std::vector<std::uint8_t> in(n), out(n + 8, 0xEE);
            for (auto& b : in)
                b = std::uint8_t(rng());
            std::uint8_t sum = 0;
            std::vector<std::uint8_t> expected(n);
            for (std::size_t i = 0; i < n; ++i)
                sum ^= expected[i] = map[in[i]];
            EXPECT_EQ(variant.fn(in.data(), n, map.data(), out.data()), sum) << variant.name << " " << n;
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin())) << variant.name << " " << n;
            EXPECT_EQ(out[n], 0xEE) << variant.name << " writes past " << n;
        }
    }
}

// Codes up to the longest the table allows (255 bits), written by hand: value
// v < 255 is v ones then a zero, value 255 is 255 ones. The decoder's lookup
// covers the short ones, the long ones go down the tree.
TEST(HuffmanRoundTripDeep, DecodesCodesUpTo255Bits)
{
    codectest::StreamParts parts;
    for (int v = 0; v < 256; ++v) {
        parts.codes.push_back({v, std::vector<int>(std::min(v, 255), 1)});
        if (v < 255)
            parts.codes.back().second.push_back(0);
    }
    std::mt19937 rng(5);
    QByteArray expected;
    for (int i = 0; i < 3000; ++i)
        expected.append(char(i % 7 == 0 ? rng() % 256 : rng() % 4));
    expected.append(QByteArray::fromHex("FEFF00FF0DFE"));
    for (char c : expected) {
        const auto& code = parts.codes[quint8(c)].second;
        parts.data.insert(parts.data.end(), code.begin(), code.end());
        parts.checksum ^= quint8(c);
    }
    parts.length = qint32(expected.size());
    EXPECT_EQ(DecodeStream(codectest::BuildStream(parts)), expected);
}

} // namespace
