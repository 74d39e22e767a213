// Streams computed by hand: the encoder must give exactly these bytes, and the
// decoder must give the input back from them; damaged streams end in the
// codec's error.
#include "tests/update/TestHelpers.h"
#include "update/modHuffman.h"

#include <gtest/gtest.h>

#include <functional>

using codectest::Hex;
using codectest::StreamParts;
using modHuffman::DecodeStream;
using modHuffman::HuffmanError;

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

// ---- Streams damaged on purpose --------------------------------------------
// Each row is named after the fault it guards against; every one must end in
// a codec error (never a crash, a hang or a huge allocation).

// "abc" (see the vectors) with one change.
QByteArray AbcWith(const std::function<void(StreamParts&)>& change)
{
    StreamParts p;
    p.checksum = 0x60;
    p.length = 3;
    p.codes = {{'a', {1, 0}}, {'b', {1, 1}}, {'c', {0}}};
    p.data = {1, 0, 1, 1, 0};
    change(p);
    return codectest::BuildStream(p);
}

QByteArray EightBitCodesWithOneByteMoreDeclared()
{
    QByteArray in;
    for (int v = 0; v < 256; ++v)
        in.append(char(v));
    QByteArray s = modHuffman::EncodeStream(in);
    s[5] = 1; // 257 bytes declared behind 256 data bytes
    return s;
}

struct Malformed {
    const char* name;
    QByteArray stream;
    const char* messagePart;
    const char* source = "HuffmanDecode()";
};

const Malformed kMalformed[] = {
    {"ShorterThanIdentification", QByteArray::fromHex("484533"), "fewer than its 4-byte"},
    {"ShorterThanHeader", QByteArray::fromHex("4845330D 60 03000000 03"), "fewer than its 11-byte header"},
    {"UnknownMethodByte", QByteArray::fromHex("4845310D 0001"),
     "I dati non possono essere compressi, il pacchetto non e' stato riconosciuto"},
    {"NegativeLength", AbcWith([](StreamParts& p) { p.length = -3; }), "negative length"},
    // Header says three pairs, the stream ends after one.
    {"TableRunsPastEnd", QByteArray::fromHex("4845330D 60 03000000 0300 6102"), "runs past the end"},
    {"NegativeTableSize", QByteArray::fromHex("4845330D 60 03000000 FFFF 61"), "negative code table size"},
    // a = 0 bits long.
    {"ZeroCodeLength", QByteArray::fromHex("4845330D 61 01000000 0200 6100 6201 00 00"), "code length of 0"},
    // a claims 200 code bits; one code byte follows.
    {"CodeBitsRunPastEnd", QByteArray::fromHex("4845330D 61 01000000 0100 61C8 00"), "code bits run past the end"},
    {"CodeRepeatsAnother", AbcWith([](StreamParts& p) {
         p.codes = {{'a', {1, 0}}, {'b', {1, 0}}, {'c', {0}}};
     }),
     "repeats the code of byte value 97"},
    // a = 1 is inserted first; b = 10 starts with it.
    {"CodeStartsWithAnother", AbcWith([](StreamParts& p) {
         p.codes = {{'a', {1}}, {'b', {1, 0}}, {'c', {0}}};
     }),
     "begins with the whole code of byte value 97"},
    // a = 10 is inserted first; b = 1 is its beginning.
    {"CodeIsPrefixOfAnother", AbcWith([](StreamParts& p) {
         p.codes = {{'a', {1, 0}}, {'b', {1}}, {'c', {0}}};
     }),
     "is the beginning of another code"},
    // Only a = 0 exists; the first data bit is 1.
    {"DataBitLeadsToMissingChild", AbcWith([](StreamParts& p) {
         p = {0x60, 1, {{'a', {0}}}, {1}};
     }),
     "data bit 0 leads to a code that is not in the table"},
    // Seven bytes declared; the one data byte gives a b c c c c and ends.
    {"DataBitsEndEarly", AbcWith([](StreamParts& p) { p.length = 7; }), "end after 6 of the 7 declared bytes"},
    // Two billion bytes declared behind one data byte: refused before any
    // output is allocated.
    {"LengthBeyondWhatTheDataCanHold", AbcWith([](StreamParts& p) { p.length = 0x7FFFFFFF; }), "cannot hold them"},
    {"NoCodesButData", AbcWith([](StreamParts& p) { p.codes.clear(); }), "not in the table"},
    {"EightBitCodesEndEarly", EightBitCodesWithOneByteMoreDeclared(), "end after 256 of the 257 declared bytes"},
    {"ChecksumMismatch", AbcWith([](StreamParts& p) { p.checksum = 0x61; }),
     "The data might be corrupted (checksum did not match expected value)", "clsHuffman.Decode()"},
    // One data bit flipped: b c ... instead of a b c.
    {"DataBitFlipped", AbcWith([](StreamParts& p) { p.data[1] = 1; }), "checksum did not match", "clsHuffman.Decode()"},
};

class HuffmanMalformed : public testing::TestWithParam<Malformed> {};

TEST_P(HuffmanMalformed, RaisesTheCodecError)
{
    const Malformed& m = GetParam();
    QByteArray bytes = m.stream;
    try {
        modHuffman::HuffmanDecode(bytes);
        FAIL() << "decoded to " << codectest::Hex(bytes);
    } catch (const HuffmanError& e) {
        EXPECT_EQ(e.number(), -2147221504);
        EXPECT_EQ(e.source(), QString::fromLatin1(m.source));
        EXPECT_TRUE(e.message().contains(QString::fromLatin1(m.messagePart))) << e.message().toStdString();
    }
    EXPECT_EQ(bytes, m.stream) << "the stream must stay as it was";
}

INSTANTIATE_TEST_SUITE_P(, HuffmanMalformed, testing::ValuesIn(kMalformed),
                         [](const testing::TestParamInfo<Malformed>& row) { return row.param.name; });

} // namespace
