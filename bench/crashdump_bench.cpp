// Crash dumps: scanning a folder of 1 000 small dumps next to only reading the first 8 KiB of each file, and reading
// a complete dump whose file is 16 GiB (sparse) next to the same dump in a 1 MiB file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <memory>

#include "platform/crashdump/dumpreader.h"
#include "platform/crashdump/dumpscanner.h"
#include "tests/crashdump/dumpbuilder.h"

namespace {

using namespace tervolin::platform::crashdump;
using namespace tervolin::test::dumps;

// Windows writes small dumps of a few hundred KiB: the structures read here, then memory pages.
constexpr qint64 kSmallDumpFileSize = 256 << 10;

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// A Minidump folder of `count` typical small dumps (150 drivers each), made once per run.
QString minidumpFolder(int count)
{
    static std::map<int, QString> folders;
    auto& folder = folders[count];
    if (folder.isEmpty()) {
        folder = scratch().filePath(QStringLiteral("Minidump%1").arg(count));
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i) {
            const QString path = folder + QStringLiteral("/Mini%1-01.dmp").arg(i, 6, 10, QLatin1Char('0'));
            writeFile(path, buildKernelDump(typicalSmallDump(i)).bytes);
            QFile::resize(path, kSmallDumpFileSize);
        }
    }
    return folder;
}

// range(1): 0 reads each dump as a list of many is read (driver count, unloaded drivers and suspect, no names of
// the other drivers), 1 keeps every driver's name as well.
void scan(benchmark::State& state, bool driverList)
{
    const QString folder = minidumpFolder(int(state.range(0)));
    ScanOptions options;
    options.read.driverList = driverList;
    std::size_t drivers = 0;
    std::size_t suspects = 0;
    for (auto _ : state) {
        const std::vector<DumpInfo> dumps = scanPaths({folder}, nullptr, options);
        drivers = 0;
        suspects = 0;
        for (const DumpInfo& d : dumps) {
            drivers += d.driverCount;
            suspects += d.suspect ? 1 : 0;
        }
        benchmark::DoNotOptimize(drivers);
    }
    state.counters["drivers_per_dump"] = double(drivers) / double(state.range(0));
    if (suspects != std::size_t(state.range(0)))
        state.SkipWithError("a dump lacks its suspect driver");
}

void DumpScan(benchmark::State& state) { scan(state, false); }
void DumpScanWithDriverList(benchmark::State& state) { scan(state, true); }

// The floor: list the folder, open each file, read its first 8 KiB, close it.
void DumpScanBaseline(benchmark::State& state)
{
    const QString folder = minidumpFolder(int(state.range(0)));
    char buffer[8192];
    for (auto _ : state) {
        qint64 bytes = 0;
        QDirIterator it(folder, {QStringLiteral("*.dmp")}, QDir::Files);
        while (it.hasNext()) {
            const int fd = ::open(QFile::encodeName(it.next()).constData(), O_RDONLY | O_CLOEXEC);
            bytes += ::read(fd, buffer, sizeof buffer);
            ::close(fd);
        }
        benchmark::DoNotOptimize(bytes);
    }
}

// A complete dump with a valid header in a file of `size` bytes (sparse past the header).
QString completeDump(qint64 size)
{
    static std::map<qint64, QString> files;
    auto& path = files[size];
    if (path.isEmpty()) {
        KernelDumpSpec spec;
        spec.dumpType = 1;
        spec.code = 0xEF;
        spec.totalSize = quint64(size);
        path = scratch().filePath(QStringLiteral("MEMORY-%1.DMP").arg(size));
        writeFile(path, buildKernelDump(spec).bytes.left(0x2000));
        QFile::resize(path, size);
    }
    return path;
}

void DumpOpen(benchmark::State& state, qint64 size)
{
    const QString path = completeDump(size);
    for (auto _ : state) {
        const DumpInfo info = readDump(path);
        if (!info.ok() || !info.warnings.empty())
            state.SkipWithError("the dump did not read cleanly");
        benchmark::DoNotOptimize(info.code);
    }
}

}  // namespace

BENCHMARK(DumpScanBaseline)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(DumpScan)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(DumpScanWithDriverList)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DumpOpen, 1MiB, qint64(1) << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DumpOpen, 16GiB, qint64(16) << 30)->Unit(benchmark::kMicrosecond);
