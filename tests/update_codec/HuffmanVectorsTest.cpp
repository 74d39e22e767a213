// Streams computed by hand: the encoder must give exactly these bytes, and the
// decoder must give the input back from them.
#include "tests/update_codec/TestHelpers.h"
#include "update/modHuffman.h"

#include <gtest/gtest.h>

using codectest::Hex;
using codectest::kAbcStream;
using modHuffman::DecodeStream;
using modHuffman::EncodeStream;

namespace {

struct Vector {
    const char* name;
    QByteArray input;
    const char* stream; // hexadecimal: identification, checksum, length, table, code bits, data bits
};

// Bit runs are written first bit = least significant bit.
const Vector kVectors[] = {
    {"Empty", QByteArray(), "4845300D"},
    {"OneByte", "x", "4845300D 78"},
    {"OneValueOnly", "aaaa", "4845300D 61616161"},
    // Tree: (c, (a, b)); a = 10, b = 11, c = 0. Code bits 1 0 | 1 1 | 0 and
    // data bits 10 11 0 are both 0b01101 = 0D.
    {"ThreeEqualWeights", "abc", "4845330D 60 03000000 0300 6102 6202 6301 0D 0D"},
    // Two values: a = 0 (the lighter leaf first), b = 1. Code bits 0 1 = 02,
    // data bits 0 1 1 = 06.
    {"TwoValues", "abb", "4845330D 61 03000000 0200 6101 6201 02 06"},
    // Two bits of data for two input bytes still beats nothing: compressed,
    // although the stream is longer than its input.
    {"TwoDistinctBytes", "ab", "4845330D 03 02000000 0200 6101 6201 02 02"},
    // Four equal weights: (a, b) then (c, d) then the two pairs; a = 00,
    // b = 01, c = 10, d = 11. The code bits 00 01 10 11 fill exactly one byte
    // (0b11011000 = D8), so the data bits start on the very next byte.
    {"CodeBitsEndOnByteBoundary", "abcd", "4845330D 04 04000000 0400 6102 6202 6302 6402 D8 D8"},
    // Weights a 2, b 2, c 1: the candidates start as a, b (equal weights);
    // c is lighter than both and replaces the first candidate, giving
    // (c, b) with c on the left, then (a, (c, b)): a = 0, c = 10, b = 11.
    // Code bits 0 | 11 | 10 = 0b01110 = 0E; data 0 0 11 11 10 = 0b01111100 = 7C.
    {"TieReplacesFirstCandidate", "aabbc", "4845330D 63 05000000 0300 6101 6202 6302 0E 7C"},
    // Weights a 1, b 3, c 2: c is not lighter than a but lighter than b, so it
    // replaces the second candidate: (a, c), then (b, (a, c)): b = 0, a = 10,
    // c = 11. Code bits 10 | 0 | 11 = 0b11001 = 19; data 10 0 0 0 11 11 =
    // E1 01 (nine bits).
    {"LighterNodeReplacesSecondCandidate", "abbbcc", "4845330D 03 06000000 0300 6102 6201 6302 19 E101"},
};

class HuffmanVectors : public testing::TestWithParam<Vector> {};

TEST_P(HuffmanVectors, EncodesToTheExactBytesAndDecodesBack)
{
    const QByteArray stream = QByteArray::fromHex(GetParam().stream);
    QByteArray bytes = GetParam().input;
    modHuffman::HuffmanEncode(bytes);
    EXPECT_EQ(Hex(bytes), Hex(stream));
    EXPECT_EQ(DecodeStream(stream), GetParam().input);
}

INSTANTIATE_TEST_SUITE_P(, HuffmanVectors, testing::ValuesIn(kVectors),
                         [](const testing::TestParamInfo<Vector>& row) { return row.param.name; });

// "abc" with some bytes changed.
QByteArray Abc(std::initializer_list<std::pair<int, int>> changes)
{
    QByteArray s = kAbcStream;
    for (auto [at, value] : changes)
        s[at] = char(value);
    return s;
}

struct Quirk {
    const char* name;
    QByteArray stream;
    QByteArray decoded;
};

const Quirk kQuirks[] = {
    {"StoredStreamGivesTheBytesAfterTheIdentification", QByteArray::fromHex("4845300D 000D"), QByteArray("\0\r", 2)},
    {"OnlyBytes013IdentifyAStream", Abc({{0, 'X'}, {1, 'Y'}, {2, 'Z'}, {3, 'W'}}), "abc"},
    {"ZeroDeclaredLengthLeavesTheStreamAsItIs", Abc({{5, 0}}), Abc({{5, 0}})},
    {"OutputStopsAtTheDeclaredLength", Abc({{5, 2}, {4, 'a' ^ 'b'}}), "ab"},
};

class HuffmanDecodeQuirks : public testing::TestWithParam<Quirk> {};

TEST_P(HuffmanDecodeQuirks, Decode)
{
    EXPECT_EQ(Hex(DecodeStream(GetParam().stream)), Hex(GetParam().decoded));
}

INSTANTIATE_TEST_SUITE_P(, HuffmanDecodeQuirks, testing::ValuesIn(kQuirks),
                         [](const testing::TestParamInfo<Quirk>& row) { return row.param.name; });

TEST(HuffmanEncode, EveryValueOnceKeepsTheCompressedFormAtEightBitsEach)
{
    QByteArray input;
    for (int v = 0; v < 256; ++v)
        input.append(char(255 - v));
    const QByteArray stream = EncodeStream(input);
    ASSERT_TRUE(stream.startsWith("HE3\r"));
    EXPECT_EQ(stream.size(), 11 + 512 + 256 + 256); // header, table, code bits, data
    EXPECT_EQ(DecodeStream(stream), input);
}

} // namespace
