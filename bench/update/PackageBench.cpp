// Unpacking of packages built to hurt, into a temporary folder on disk:
//   DuplicateNameBomb  one member of 8 MiB "a" (one-bit codes, about 1 MiB
//                      stored) and 600 more entries of its name
//   ManyMembers/new    65536 one-byte members into an empty folder
//   ManyMembers/over   the same over the files of the previous run
// The counter peak_rss_MB is the process's resident peak so far (run one
// benchmark at a time with --benchmark_filter to read it for that one).
#include "update/clsKRBfile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

QByteArray Entry(const QByteArray& name, const QByteArray& stream)
{
    char header[6];
    qToLittleEndian<qint32>(qint32(stream.size()), header);
    qToLittleEndian<qint16>(qint16(name.size()), header + 4);
    return QByteArray(header, 6) + name + stream;
}

QByteArray DuplicateNameBomb()
{
    constexpr qint32 length = 8 << 20;
    char le[4];
    qToLittleEndian<qint32>(length, le);
    const QByteArray stream = QByteArray("HE3\r") + char(0) + QByteArray(le, 4) + QByteArray::fromHex("0100 6101 00") +
                              QByteArray(length / 8, 0);
    QByteArray package = Entry("bomb.txt", stream);
    for (int i = 0; i < 600; ++i)
        package += Entry("bomb.txt", "HE0\r");
    return package;
}

QByteArray ManyMembers()
{
    QByteArray package;
    for (int i = 0; i < 65536; ++i)
        package += Entry("m" + QByteArray::number(i) + ".txt", "HE0\rx");
    return package;
}

void ReportPeak(benchmark::State& state)
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024.0;
#endif
}

void Unpack(benchmark::State& state, const QByteArray& bytes, bool overExisting)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        if (!overExisting) {
            state.PauseTiming();
            QDir(dir.path()).removeRecursively();
            QDir().mkpath(dir.path());
            state.ResumeTiming();
        }
        clsKRBfile package;
        if (!package.AddKRBfileFromString(bytes) || !package.ExtractAllFileToDisk(dir.path())) {
            state.SkipWithError("unpacking failed");
            return;
        }
    }
    ReportPeak(state);
}

void BM_DuplicateNameBomb(benchmark::State& state)
{
    static const QByteArray bytes = DuplicateNameBomb();
    Unpack(state, bytes, false);
}

void BM_ManyMembers(benchmark::State& state)
{
    static const QByteArray bytes = ManyMembers();
    Unpack(state, bytes, state.range(0) != 0);
}

} // namespace

BENCHMARK(BM_DuplicateNameBomb)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ManyMembers)->ArgName("over")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
