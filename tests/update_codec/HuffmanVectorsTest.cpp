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
    EXPECT_EQ(Hex(EncodeStream(GetParam().input)), Hex(GetParam().stream));
}

TEST_P(HuffmanVectors, DecodesBack)
{
    EXPECT_EQ(DecodeStream(GetParam().stream), GetParam().input);
}

TEST_P(HuffmanVectors, InPlaceFormsAgree)
{
    QByteArray bytes = GetParam().input;
    modHuffman::HuffmanEncode(bytes, bytes.size());
    EXPECT_EQ(bytes, GetParam().stream);
    modHuffman::HuffmanDecode(bytes, bytes.size());
    EXPECT_EQ(bytes, GetParam().input);
}

INSTANTIATE_TEST_SUITE_P(, HuffmanVectors, testing::ValuesIn(kVectors),
                         [](const testing::TestParamInfo<Vector>& info) { return info.param.name; });

TEST(HuffmanEncode, EncodesOnlyTheGivenLength)
{
    QByteArray bytes("abcdef");
    modHuffman::HuffmanEncode(bytes, 3);
    EXPECT_EQ(bytes, kVectors[3].stream);
}

TEST(HuffmanEncode, EveryValueOnceKeepsTheCompressedFormAtEightBitsEach)
{
    QByteArray input;
    for (int v = 0; v < 256; ++v)
        input.append(char(v));
    const QByteArray stream = EncodeStream(input);
    ASSERT_EQ(stream.left(4), Bytes({0x48, 0x45, 0x33, 0x0D}));
    // header + 256 table pairs + 256 codes of 8 bits + 256 data bytes
    EXPECT_EQ(stream.size(), 11 + 512 + 256 + 256);
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(quint8(stream[11 + 2 * v + 1]), 8) << "value " << v;
    EXPECT_EQ(DecodeStream(stream), input);
}

TEST(HuffmanDecode, StoredStreamGivesTheBytesAfterTheIdentification)
{
    EXPECT_EQ(DecodeStream(Bytes({0x48, 0x45, 0x30, 0x0D, 0x00, 0xFF, 0x0D})), Bytes({0x00, 0xFF, 0x0D}));
}

TEST(HuffmanDecode, DecodesOnlyTheGivenStreamLength)
{
    QByteArray bytes = Bytes({0x48, 0x45, 0x30, 0x0D, 0x01, 0x02, 0x03});
    modHuffman::HuffmanDecode(bytes, 5);
    EXPECT_EQ(bytes, Bytes({0x01}));
}

TEST(HuffmanDecode, UnrecognisedIdentificationIsReadAsCompressed)
{
    QByteArray stream = kVectors[3].stream; // "abc"
    stream.replace(0, 4, "XYZW");
    EXPECT_EQ(DecodeStream(stream), QByteArray("abc"));
}

TEST(HuffmanDecode, ZeroDeclaredLengthLeavesTheStreamAsItIs)
{
    QByteArray stream = kVectors[3].stream;
    stream[5] = 0; // length 3 -> 0
    QByteArray bytes = stream;
    modHuffman::HuffmanDecode(bytes);
    EXPECT_EQ(bytes, stream);
}

TEST(HuffmanDecode, OutputStopsAtTheDeclaredLength)
{
    QByteArray stream = kVectors[3].stream; // data bits a b c
    stream[5] = 2;                          // only "ab" wanted
    stream[4] = 'a' ^ 'b';
    EXPECT_EQ(DecodeStream(stream), QByteArray("ab"));
}

TEST(HuffmanDecode, DeclaredAndStoredLengthsAreVisibleWithoutDecoding)
{
    EXPECT_EQ(modHuffman::DeclaredLength(kVectors[3].stream), 3);
    EXPECT_EQ(modHuffman::DeclaredLength(kVectors[2].stream), 4);
    EXPECT_EQ(modHuffman::DeclaredLength(Bytes({0x48, 0x45, 0x33})), -1);
    EXPECT_TRUE(modHuffman::IsStoredStream(kVectors[0].stream));
    EXPECT_FALSE(modHuffman::IsStoredStream(kVectors[3].stream));
}

} // namespace
