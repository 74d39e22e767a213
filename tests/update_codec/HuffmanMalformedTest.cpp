// Streams that are damaged on purpose. Each row is named after the fault it
// guards against; every one must end in a codec error (never a crash, a hang
// or a huge allocation).
#include "tests/update_codec/TestHelpers.h"
#include "update/modHuffman.h"

#include <gtest/gtest.h>

using codectest::BuildStream;
using codectest::Bytes;
using codectest::StreamParts;
using modHuffman::DecodeStream;
using modHuffman::HuffmanError;

namespace {

// "abc": a = 10, b = 11, c = 0 (see the vectors).
StreamParts Abc()
{
    StreamParts p;
    p.checksum = 0x60;
    p.length = 3;
    p.codes = {{'a', {1, 0}}, {'b', {1, 1}}, {'c', {0}}};
    p.data = {1, 0, 1, 1, 0};
    return p;
}

template <typename F>
StreamParts AbcWith(F change)
{
    StreamParts p = Abc();
    change(p);
    return p;
}

struct Malformed {
    const char* name;
    QByteArray stream;
    const char* source;
    const char* messagePart;
};

const Malformed kMalformed[] = {
    {"ShorterThanIdentification", Bytes({0x48, 0x45, 0x33}), "HuffmanDecode()", "fewer than its 4-byte"},
    {"ShorterThanHeader", Bytes({0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0x03}), "HuffmanDecode()",
     "fewer than its 11-byte header"},
    {"UnknownMethodByte", Bytes({0x48, 0x45, 0x31, 0x0D, 0x00, 0x01}), "HuffmanDecode()",
     "I dati non possono essere compressi, il pacchetto non e' stato riconosciuto"},
    {"NegativeLength", BuildStream(AbcWith([](StreamParts& p) { p.length = -3; })), "HuffmanDecode()",
     "negative length"},
    // Header says three pairs, the stream ends after one.
    {"TableRunsPastEnd", Bytes({0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x02}),
     "HuffmanDecode()", "runs past the end"},
    {"NegativeTableSize", Bytes({0x48, 0x45, 0x33, 0x0D, 0x60, 0x03, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x61}),
     "HuffmanDecode()", "negative code table size"},
    // a = 0 bits long.
    {"ZeroCodeLength",
     Bytes({0x48, 0x45, 0x33, 0x0D, 0x61, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x61, 0x00, 0x62, 0x01, 0x00, 0x00}),
     "HuffmanDecode()", "code length of 0"},
    // a claims 200 code bits; one code byte follows.
    {"CodeBitsRunPastEnd", Bytes({0x48, 0x45, 0x33, 0x0D, 0x61, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x61, 0xC8, 0x00}),
     "HuffmanDecode()", "code bits run past the end"},
    {"CodeRepeatsAnother", BuildStream(AbcWith([](StreamParts& p) { p.codes = {{'a', {1, 0}}, {'b', {1, 0}}, {'c', {0}}}; })),
     "HuffmanDecode()", "repeats the code of byte value 97"},
    // a = 1 is inserted first; b = 10 starts with it.
    {"CodeStartsWithAnother", BuildStream(AbcWith([](StreamParts& p) { p.codes = {{'a', {1}}, {'b', {1, 0}}, {'c', {0}}}; })),
     "HuffmanDecode()", "begins with the whole code of byte value 97"},
    // a = 10 is inserted first; b = 1 is its beginning.
    {"CodeIsPrefixOfAnother", BuildStream(AbcWith([](StreamParts& p) { p.codes = {{'a', {1, 0}}, {'b', {1}}, {'c', {0}}}; })),
     "HuffmanDecode()", "is the beginning of another code"},
    // Only a = 0 exists; the first data bit is 1.
    {"DataBitLeadsToMissingChild", BuildStream(AbcWith([](StreamParts& p) {
         p.codes = {{'a', {0}}};
         p.data = {1};
         p.length = 1;
     })),
     "HuffmanDecode()", "data bit 0 leads to a code that is not in the table"},
    // Seven bytes declared; the one data byte gives a b c c c c and ends.
    {"DataBitsEndEarly", BuildStream(AbcWith([](StreamParts& p) { p.length = 7; })), "HuffmanDecode()",
     "end after 6 of the 7 declared bytes"},
    // Two billion bytes declared behind one data byte: refused before any
    // output is allocated.
    {"LengthBeyondWhatTheDataCanHold", BuildStream(AbcWith([](StreamParts& p) { p.length = 0x7FFFFFFF; })),
     "HuffmanDecode()", "cannot hold them"},
    {"NoCodesButData", BuildStream(AbcWith([](StreamParts& p) { p.codes.clear(); })), "HuffmanDecode()",
     "not in the table"},
    // Every code 8 bits long (each data byte one code), 257 bytes declared
    // behind 256 data bytes.
    {"EightBitCodesEndEarly", [] {
         QByteArray in;
         for (int v = 0; v < 256; ++v)
             in.append(char(v));
         QByteArray s = modHuffman::EncodeStream(in);
         s[5] = 1;
         return s;
     }(),
     "HuffmanDecode()", "end after 256 of the 257 declared bytes"},
    {"ChecksumMismatch", BuildStream(AbcWith([](StreamParts& p) { p.checksum = 0x61; })), "clsHuffman.Decode()",
     "The data might be corrupted (checksum did not match expected value)"},
    // One data bit flipped: b c ... instead of a b c.
    {"DataBitFlipped", BuildStream(AbcWith([](StreamParts& p) { p.data[1] = 1; })), "clsHuffman.Decode()",
     "checksum did not match"},
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
                         [](const testing::TestParamInfo<Malformed>& info) { return info.param.name; });

} // namespace
