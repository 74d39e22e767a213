// Streams computed by hand: the encoder must give exactly these bytes, and the
// decoder must give the input back from them.
#include "tests/update_codec/TestHelpers.h"
#include "update/modHuffman.h"

#include <gtest/gtest.h>

using codectest::Bytes;
using codectest::Hex;
using modHuffman::DecodeStream;
using modHuffman::EncodeStream;

namespace {

struct Vector {
    const char* name;
    QByteArray input;
    QByteArray stream;
};

// Bit runs are written first bit = least significant bit.
const Vector kVectors[] = {
    {"Empty", QByteArray(), Bytes({0x48, 0x45, 0x30, 0x0D})},
    {"OneByte", QByteArray("x"), Bytes({0x48, 0x45, 0x30, 0x0D, 0x78})},
    {"OneValueOnly", QByteArray("aaaa"), Bytes({0x48, 0x45, 0x30, 0x0D, 0x61, 0x61, 0x61, 0x61})},
    // Tree: (c, (a, b)); a = 10, b = 11, c = 0. Code bits 1 0 | 1 1 | 0 and
    // data bits 10 11 0 are both 0b01101 = 0D.
    {"ThreeEqualWeights", QByteArray("abc"),
     Bytes({0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x02, 0x62, 0x02, 0x63, 0x01,
            0x0D, 0x0D})},
    // Two values: a = 0 (the lighter leaf first), b = 1. Code bits 0 1 = 02,
    // data bits 0 1 1 = 06.
    {"TwoValues", QByteArray("abb"),
     Bytes({0x48, 0x45, 0x33, 0x0D, 0x61, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x61, 0x01, 0x62, 0x01, 0x02, 0x06})},
    // Two bits of data for two input bytes still beats nothing: compressed,
    // although the stream is longer than its input.
    {"TwoDistinctBytes", QByteArray("ab"),
     Bytes({0x48, 0x45, 0x33, 0x0D, 0x03, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x61, 0x01, 0x62, 0x01, 0x02, 0x02})},
    // Four equal weights: (a, b) then (c, d) then the two pairs; a = 00,
    // b = 01, c = 10, d = 11. The code bits 00 01 10 11 fill exactly one byte
    // (0b11011000 = D8), so the data bits start on the very next byte.
    {"CodeBitsEndOnByteBoundary", QByteArray("abcd"),
     Bytes({0x48, 0x45, 0x33, 0x0D, 0x04, 0x04, 0x00, 0x00, 0x00, 0x04, 0x00, 0x61, 0x02, 0x62, 0x02, 0x63, 0x02,
            0x64, 0x02, 0xD8, 0xD8})},
    // Weights a 2, b 2, c 1: the candidates start as a, b (equal weights);
    // c is lighter than both and replaces the first candidate, giving
    // (c, b) with c on the left, then (a, (c, b)): a = 0, c = 10, b = 11.
    // Code bits 0 | 11 | 10 = 0b01110 = 0E; data 0 0 11 11 10 = 0b01111100 = 7C.
    {"TieReplacesFirstCandidate", QByteArray("aabbc"),
     Bytes({0x48, 0x45, 0x33, 0x0D, 0x63, 0x05, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x01, 0x62, 0x02, 0x63, 0x02,
            0x0E, 0x7C})},
    // Weights a 1, b 3, c 2: c is not lighter than a but lighter than b, so it
    // replaces the second candidate: (a, c), then (b, (a, c)): b = 0, a = 10,
    // c = 11. Code bits 10 | 0 | 11 = 0b11001 = 19; data 10 0 0 0 11 11 =
    // E1 01 (nine bits).
    {"LighterNodeReplacesSecondCandidate", QByteArray("abbbcc"),
     Bytes({0x48, 0x45, 0x33, 0x0D, 0x03, 0x06, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x02, 0x62, 0x01, 0x63, 0x02,
            0x19, 0xE1, 0x01})},
};

class HuffmanVectors : public testing::TestWithParam<Vector> {};

TEST_P(HuffmanVectors, EncodesToTheExactBytes)
{
    QByteArray bytes = GetParam().input;
    modHuffman::HuffmanEncode(bytes);
    EXPECT_EQ(Hex(bytes), Hex(GetParam().stream));
}

INSTANTIATE_TEST_SUITE_P(, HuffmanVectors, testing::ValuesIn(kVectors),
                         [](const testing::TestParamInfo<Vector>& info) { return info.param.name; });

// "abc" with some bytes changed.
QByteArray Abc(std::initializer_list<std::pair<int, int>> changes)
{
    QByteArray s = kVectors[3].stream;
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
    {"StoredStreamGivesTheBytesAfterTheIdentification", Bytes({0x48, 0x45, 0x30, 0x0D, 0x00, 0x0D}), Bytes({0, 0x0D})},
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
                         [](const testing::TestParamInfo<Quirk>& info) { return info.param.name; });

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
