// Unpacking within bounds, each run in a child process so that its memory
// peak is its own (ru_maxrss of the child), with the disk used below the
// program folder's Temp/ and the destination sampled every 5 ms:
//   ListBomb      a 62 MiB files.krb whose second member decodes to 520 MB:
//                 only files.txt is taken, as the wizard does
//   InstallBomb   the same package installed as an update package: the
//                 520 MB member is decoded in pieces beside its target
//   ManyMembers   a 64k-member package installed
// Counters: peak_rss_MB, peak_temp_MiB (Temp/ with the package in it),
// peak_dest_MiB (the destination folder, staged files included).
#include "update/clsKRBfile.h"
#include "update/modHuffman.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Entry(const QByteArray& name, const QByteArray& stream)
{
    char header[6];
    qToLittleEndian<qint32>(qint32(stream.size()), header);
    qToLittleEndian<qint16>(qint16(name.size()), header + 4);
    return QByteArray(header, 6) + name + stream;
}

// `length` bytes "a" with the one-bit code 0: about length / 8 stored bytes.
QByteArray OneBitStream(qint32 length)
{
    char le[4];
    qToLittleEndian<qint32>(length, le);
    return QByteArray("HE3\r") + char(length % 2 ? 'a' : 0) + QByteArray(le, 4) + QByteArray::fromHex("0100 6101 00") +
           QByteArray((length + 7) / 8, 0);
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray BombPackage()
{
    return Entry("files.txt", modHuffman::EncodeStream("bomb.krb;1000;01-05-2009;Data\r\n")) +
           Entry("bomb.bin", OneBitStream(520'000'000));
}

QByteArray ManyMembers()
{
    QByteArray package;
    for (int i = 0; i < 65536; ++i)
        package += Entry("m" + QByteArray::number(i) + ".txt", "HE0\rx");
    return package;
}

// Bytes on disk below `folder` (allocated blocks, hidden files included).
qint64 DiskUsed(const QString& folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        struct stat st {};
        if (lstat(QFile::encodeName(it.next()).constData(), &st) == 0)
            total += qint64(st.st_blocks) * 512;
    }
    return total;
}

struct Peaks {
    double rssMB = 0;
    double tempMiB = 0;
    double destMiB = 0;
    bool ok = false;
};

// Runs `work` in a child while sampling the two folders; gives the child's
// memory peak and the folders' disk peaks.
template <typename Work>
Peaks RunMeasured(const QString& temp, const QString& dest, Work work)
{
    // Forked before the sampler starts: the child has no other thread's
    // locks to inherit.
    const pid_t child = fork();
    if (child == 0)
        _exit(work() ? 0 : 1);
    std::atomic<bool> done{false};
    std::atomic<qint64> peakTemp{0}, peakDest{0};
    std::thread sampler([&] {
        while (!done.load()) {
            peakTemp = std::max(peakTemp.load(), DiskUsed(temp));
            peakDest = std::max(peakDest.load(), DiskUsed(dest));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    done = true;
    sampler.join();
    Peaks p;
    p.rssMB = double(usage.ru_maxrss) / 1024.0;
    p.tempMiB = double(peakTemp.load()) / double(1 << 20);
    p.destMiB = double(peakDest.load()) / double(1 << 20);
    p.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return p;
}

void Report(benchmark::State& state, const Peaks& p)
{
    if (!p.ok)
        state.SkipWithError("unpacking failed");
    state.counters["peak_rss_MB"] = p.rssMB;
    state.counters["peak_temp_MiB"] = p.tempMiB;
    state.counters["peak_dest_MiB"] = p.destMiB;
}

// A program folder with Temp/ holding `package` and an empty Data/.
struct Folder {
    QTemporaryDir dir;
    QString temp, dest, package;
    explicit Folder(const QByteArray& bytes)
        : temp(dir.path() + "/Temp"), dest(dir.path() + "/Data"), package(dir.path() + "/Temp/pack.krb")
    {
        QDir().mkpath(temp);
        QDir().mkpath(dest);
        Write(package, bytes);
    }
};

void BM_ListBomb(benchmark::State& state)
{
    Folder f(BombPackage());
    for (auto _ : state) {
        const Peaks p = RunMeasured(f.temp, f.dest, [&] {
            clsKRBfile package;
            ExtractLimits limits;
            limits.maxMemberBytes = qint64{16} << 20;
            package.SetLimits(limits);
            return package.AddKRBfileFromDisk(f.package) && package.ExtractOneFileToDisk("files.txt", f.temp);
        });
        Report(state, p);
    }
}

void BM_InstallBomb(benchmark::State& state)
{
    Folder f(BombPackage());
    for (auto _ : state) {
        const Peaks p = RunMeasured(f.temp, f.dest, [&] {
            clsKRBfile package;
            return package.AddKRBfileFromDisk(f.package) && package.ExtractAllFileToDisk(f.dest);
        });
        Report(state, p);
        state.PauseTiming();
        QDir(f.dest).removeRecursively();
        QDir().mkpath(f.dest);
        state.ResumeTiming();
    }
}

void BM_ManyMembers(benchmark::State& state)
{
    Folder f(ManyMembers());
    for (auto _ : state) {
        const Peaks p = RunMeasured(f.temp, f.dest, [&] {
            clsKRBfile package;
            return package.AddKRBfileFromDisk(f.package) && package.ExtractAllFileToDisk(f.dest);
        });
        Report(state, p);
    }
}

} // namespace

BENCHMARK(BM_ListBomb)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_InstallBomb)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ManyMembers)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
