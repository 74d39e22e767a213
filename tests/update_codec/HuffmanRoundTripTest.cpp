// Deep trees and long codes.
#include "tests/update_codec/TestHelpers.h"
#include "update/modHuffman.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using codectest::Fibonacci;
using modHuffman::DecodeStream;
using modHuffman::EncodeStream;

namespace {

// About 3.5 MB whose rarest value gets a 30-bit code.
TEST(HuffmanRoundTripDeep, FibonacciWeightsGiveCodesLongerThan24Bits)
{
    const QByteArray input = Fibonacci(31);
    const QByteArray stream = EncodeStream(input);
    int longest = 0;
    for (int e = 0; e < 31; ++e)
        longest = std::max(longest, int(quint8(stream[12 + 2 * e])));
    EXPECT_EQ(longest, 30);
    EXPECT_EQ(DecodeStream(stream), input);
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
