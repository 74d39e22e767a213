// Encoder and decoder throughput (MB/s of uncompressed data) on three inputs
// of 8 MiB, next to zlib's deflate with Z_HUFFMAN_ONLY (raw, no checksum) and
// inflate of its output:
//   Text           record-file-like lines
//   Incompressible uniformly random bytes (every code 8 bits)
//   Skewed         one dominant byte, a Fibonacci-weighted tail whose longest
//                  code is over 24 bits, and a random sprinkle
#include "update/modHuffman.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <stdexcept>

namespace {

constexpr int kSize = 8 << 20;

QByteArray TextInput()
{
    static const char* const words[] = {"Loomhearth", "Elite",     "Boss",      "Collector", "Treasure", "Chest",
                                        "Pet",        "Outpost",   "Mission",   "Challenge", "Dungeon",  "of",
                                        "the",        "Thornmere", "Saltreach", "Rimeholt",  "Amber",    "Marsh",
                                        "Skill",      "Trophy",    "Green"};
    std::mt19937 rng(1);
    QByteArray out;
    out.reserve(kSize + 200);
    int record = 0;
    while (out.size() < kSize) {
        out += QByteArray::number(++record) + '\t';
        const int n = 2 + int(rng() % 4);
        for (int w = 0; w < n; ++w) {
            out += words[rng() % std::size(words)];
            out += w + 1 < n ? ' ' : '\t';
        }
        out += QByteArray::number(int(rng() % 4000)) + '\t' + QByteArray::number(int(rng() % 3000)) + '\t';
        out += QByteArray::number(int(rng() % 9)) + "\r\n";
    }
    out.truncate(kSize);
    return out;
}

QByteArray RandomInput()
{
    std::mt19937_64 rng(2);
    QByteArray out(kSize, Qt::Uninitialized);
    for (int i = 0; i < kSize; i += 8) {
        const quint64 v = rng();
        std::memcpy(out.data() + i, &v, 8);
    }
    return out;
}

QByteArray SkewedInput()
{
    QByteArray out;
    out.reserve(kSize);
    long long a = 1, b = 1;
    for (int v = 1; v <= 30; ++v) { // Fib(1..30): about 2 MB, a deep chain
        out.append(QByteArray(int(a), char(v)));
        std::tie(a, b) = std::pair(b, a + b);
    }
    std::mt19937 rng(3);
    while (out.size() < kSize)
        out.append(rng() % 64 == 0 ? char(100 + rng() % 100) : char(0));
    std::shuffle(out.begin(), out.end(), rng);
    return out;
}

const QByteArray& Input(int which)
{
    static const QByteArray inputs[] = {TextInput(), RandomInput(), SkewedInput()};
    return inputs[which];
}

int LongestCode(const QByteArray& stream)
{
    if (modHuffman::IsStoredStream(stream))
        return 0;
    int longest = 0;
    const int n = quint8(stream[9]) | (quint8(stream[10]) << 8);
    for (int e = 0; e < n; ++e)
        longest = std::max(longest, int(quint8(stream[12 + 2 * e])));
    return longest;
}

QByteArray ZlibHuffmanOnly(const QByteArray& in)
{
    z_stream s{};
    if (deflateInit2(&s, 6, Z_DEFLATED, -15, 8, Z_HUFFMAN_ONLY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    QByteArray out(int(deflateBound(&s, uLong(in.size()))), Qt::Uninitialized);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    s.avail_in = uInt(in.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = uInt(out.size());
    if (deflate(&s, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("deflate");
    out.truncate(int(s.total_out));
    deflateEnd(&s);
    return out;
}

void ZlibInflate(const QByteArray& in, QByteArray& out)
{
    z_stream s{};
    if (inflateInit2(&s, -15) != Z_OK)
        throw std::runtime_error("inflateInit2");
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    s.avail_in = uInt(in.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = uInt(out.size());
    if (inflate(&s, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("inflate");
    inflateEnd(&s);
}

void Label(benchmark::State& state, const QByteArray& in, qsizetype packed)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * in.size());
    state.counters["ratio%"] = 100.0 * double(packed) / double(in.size());
}

void BM_Encode(benchmark::State& state)
{
    const QByteArray& in = Input(int(state.range(0)));
    QByteArray stream;
    for (auto _ : state) {
        stream = modHuffman::EncodeStream(in);
        benchmark::DoNotOptimize(stream.data());
    }
    Label(state, in, stream.size());
    state.counters["longest"] = LongestCode(stream);
}

void BM_Decode(benchmark::State& state)
{
    const QByteArray& in = Input(int(state.range(0)));
    const QByteArray stream = modHuffman::EncodeStream(in);
    // Into one reused buffer, as zlib's inflate below writes into one.
    QByteArray out;
    for (auto _ : state) {
        modHuffman::DecodeStreamInto(stream, out);
        benchmark::DoNotOptimize(out.data());
    }
    if (out != in)
        state.SkipWithError("round trip failed");
    Label(state, in, stream.size());
}

void BM_ZlibDeflateHuffmanOnly(benchmark::State& state)
{
    const QByteArray& in = Input(int(state.range(0)));
    QByteArray packed;
    for (auto _ : state) {
        packed = ZlibHuffmanOnly(in);
        benchmark::DoNotOptimize(packed.data());
    }
    Label(state, in, packed.size());
}

void BM_ZlibInflate(benchmark::State& state)
{
    const QByteArray& in = Input(int(state.range(0)));
    const QByteArray packed = ZlibHuffmanOnly(in);
    QByteArray out(in.size(), Qt::Uninitialized);
    for (auto _ : state) {
        ZlibInflate(packed, out);
        benchmark::DoNotOptimize(out.data());
    }
    if (out != in)
        state.SkipWithError("round trip failed");
    Label(state, in, packed.size());
}

void Inputs(benchmark::internal::Benchmark* b)
{
    b->ArgName("input")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

} // namespace

// input: 0 = text, 1 = incompressible, 2 = skewed
BENCHMARK(BM_Encode)->Apply(Inputs);
BENCHMARK(BM_ZlibDeflateHuffmanOnly)->Apply(Inputs);
BENCHMARK(BM_Decode)->Apply(Inputs);
BENCHMARK(BM_ZlibInflate)->Apply(Inputs);

BENCHMARK_MAIN();
