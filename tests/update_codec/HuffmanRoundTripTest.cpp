// Encode -> decode over many generated inputs, and the encoder compared with a
// plain bit-by-bit rendering of the coding rules on each of them.
#include "tests/update_codec/TestHelpers.h"
#include "update/modHuffman.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

using codectest::BitSink;
using codectest::Hex;
using modHuffman::DecodeStream;
using modHuffman::EncodeStream;

namespace {

// The coding rules written out as plainly as possible: the node table with
// its candidate scan, recursive code assignment, one bit at a time.
QByteArray ReferenceEncode(const QByteArray& in)
{
    if (in.isEmpty())
        return QByteArray("HE0\r");
    long long freq[256] = {};
    for (char c : in)
        ++freq[quint8(c)];
    struct Node {
        int parent = -1, left = -1, right = -1, value = -1;
        long long weight = 0;
    };
    std::vector<Node> nodes;
    for (int v = 0; v < 256; ++v)
        if (freq[v])
            nodes.push_back({-1, -1, -1, v, freq[v]});
    const int k = int(nodes.size());
    for (int round = 0; round < k - 1; ++round) {
        int i1 = -1, i2 = -1;
        for (int n = 0; n < int(nodes.size()); ++n) {
            if (nodes[n].parent != -1)
                continue;
            if (i1 == -1) { i1 = n; continue; }
            if (i2 == -1) { i2 = n; continue; }
            const long long w = nodes[n].weight, w1 = nodes[i1].weight, w2 = nodes[i2].weight;
            if (w < w1) {
                if (w < w2) {
                    if (w1 < w2) i2 = n; else i1 = n;
                } else {
                    i1 = n;
                }
            } else if (w < w2) {
                i2 = n;
            }
        }
        nodes.push_back({-1, i1, i2, -1, nodes[i1].weight + nodes[i2].weight});
        nodes[i1].parent = nodes[i2].parent = int(nodes.size()) - 1;
    }
    std::vector<int> codes[256];
    std::vector<int> path;
    std::function<void(int)> assign = [&](int n) {
        if (nodes[n].value >= 0) {
            codes[nodes[n].value] = path;
            return;
        }
        path.push_back(0);
        assign(nodes[n].left);
        path.back() = 1;
        assign(nodes[n].right);
        path.pop_back();
    };
    assign(int(nodes.size()) - 1);
    long long d = 0;
    for (int v = 0; v < 256; ++v)
        d += freq[v] * static_cast<long long>(codes[v].size());
    if ((d + 7) / 8 == 0 || (d + 7) / 8 > in.size())
        return QByteArray("HE0\r") + in;
    QByteArray out("HE3\r");
    char x = 0;
    for (char c : in)
        x ^= c;
    out.append(x);
    const qint32 len = qint32(in.size());
    for (int b = 0; b < 4; ++b)
        out.append(char(len >> (8 * b)));
    int n = 0;
    for (int v = 0; v < 256; ++v)
        n += codes[v].empty() ? 0 : 1;
    out.append(char(n)).append(char(n >> 8));
    BitSink table;
    for (int v = 0; v < 256; ++v) {
        if (!codes[v].empty()) {
            out.append(char(v)).append(char(codes[v].size()));
            table.Put(codes[v]);
        }
    }
    BitSink data;
    for (char c : in)
        data.Put(codes[quint8(c)]);
    return out + table.bytes() + data.bytes();
}

QByteArray Random(std::mt19937& rng, int size, int alphabet)
{
    QByteArray out(size, Qt::Uninitialized);
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    for (char& c : out)
        c = char(pick(rng));
    return out;
}

// Byte value v occurs Fib(v + 1) times: the deepest tree the weights allow.
QByteArray Fibonacci(int values)
{
    QByteArray out;
    long long a = 1, b = 1;
    for (int v = 0; v < values; ++v) {
        out.append(QByteArray(int(a), char(v)));
        std::tie(a, b) = std::pair(b, a + b);
    }
    std::shuffle(out.begin(), out.end(), std::mt19937(7));
    return out;
}

// Value v occurs about 2^(k - v) times: a geometric skew.
QByteArray Skewed(std::mt19937& rng, int size)
{
    QByteArray out(size, Qt::Uninitialized);
    std::geometric_distribution<int> g(0.5);
    for (char& c : out)
        c = char(std::min(g(rng), 255));
    return out;
}

struct Generated {
    std::string name;
    QByteArray input;
};

std::vector<Generated> Inputs()
{
    std::mt19937 rng(20261206);
    std::vector<Generated> all;
    for (int size : {1, 2, 3, 7, 8, 9, 63, 64, 65, 1000, 4099})
        all.push_back({"AllValues" + std::to_string(size), Random(rng, size, 256)});
    for (int size : {1, 2, 5, 100000})
        all.push_back({"OneValue" + std::to_string(size), QByteArray(size, '\x7F')});
    for (int size : {2, 3, 9, 17, 5000})
        all.push_back({"TwoValues" + std::to_string(size), Random(rng, size, 2)});
    for (int alphabet : {3, 5, 13, 40, 200})
        all.push_back({"Alphabet" + std::to_string(alphabet), Random(rng, 3000, alphabet)});
    for (int values : {3, 12, 20})
        all.push_back({"Fibonacci" + std::to_string(values), Fibonacci(values)});
    all.push_back({"Skewed", Skewed(rng, 20000)});
    QByteArray text;
    for (int i = 0; i < 300; ++i)
        text += QByteArray("Region ") + QByteArray::number(i % 17) + "\tElite boss\t" + QByteArray::number(i * 31) +
                "\r\n";
    all.push_back({"Text", text});
    QByteArray zeros(4096, '\0');
    zeros[100] = 1;
    all.push_back({"ZerosWithOneOther", zeros});
    return all;
}

class HuffmanRoundTrip : public testing::TestWithParam<Generated> {};

TEST_P(HuffmanRoundTrip, DecodesToTheInput)
{
    const QByteArray& input = GetParam().input;
    EXPECT_EQ(DecodeStream(EncodeStream(input)), input);
}

TEST_P(HuffmanRoundTrip, EncoderMatchesTheCodingRules)
{
    const QByteArray& input = GetParam().input;
    const QByteArray ours = EncodeStream(input);
    const QByteArray reference = ReferenceEncode(input);
    ASSERT_EQ(ours.size(), reference.size());
    EXPECT_TRUE(ours == reference) << "first difference at byte "
                                   << std::mismatch(ours.begin(), ours.end(), reference.begin()).first - ours.begin();
}

INSTANTIATE_TEST_SUITE_P(, HuffmanRoundTrip, testing::ValuesIn(Inputs()),
                         [](const testing::TestParamInfo<Generated>& info) { return info.param.name; });

TEST(HuffmanRoundTripDeep, FibonacciWeightsGiveCodesLongerThan24Bits)
{
    const QByteArray input = Fibonacci(28); // about 830 kB
    const QByteArray stream = EncodeStream(input);
    int longest = 0;
    const int entries = quint8(stream[9]) | (quint8(stream[10]) << 8);
    for (int e = 0; e < entries; ++e)
        longest = std::max(longest, int(quint8(stream[11 + 2 * e + 1])));
    EXPECT_EQ(longest, 27);
    EXPECT_EQ(DecodeStream(stream), input);
    EXPECT_EQ(stream, ReferenceEncode(input));
}

// Codes up to the longest the table allows (255 bits), written by hand: value
// v < 255 is v ones then a zero, value 255 is 255 ones. The decoder's lookup
// covers the short ones, the long ones go down the tree.
TEST(HuffmanRoundTripDeep, DecodesCodesUpTo255Bits)
{
    codectest::StreamParts parts;
    for (int v = 0; v < 256; ++v) {
        std::vector<int> bits(std::min(v, 255), 1);
        if (v < 255)
            bits.push_back(0);
        parts.codes.push_back({v, bits});
    }
    QByteArray expected;
    std::mt19937 rng(5);
    for (int i = 0; i < 3000; ++i)
        expected.append(char(i % 7 == 0 ? rng() % 256 : rng() % 4));
    for (int v : {254, 255, 0, 255, 13, 254})
        expected.append(char(v));
    for (char c : expected) {
        parts.data.insert(parts.data.end(), parts.codes[quint8(c)].second.begin(), parts.codes[quint8(c)].second.end());
        parts.checksum ^= quint8(c);
    }
    parts.length = qint32(expected.size());
    EXPECT_EQ(DecodeStream(codectest::BuildStream(parts)), expected);
}

} // namespace
