// Reads arbitrary bytes as a crash dump and, the same bytes, as an archive of dumps. Refusals and warnings are
// expected; crashes, reads past a limit and results that break the reader's promises are not.
#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpreader.h"
#include "platform/crashdump/dumpscanner.h"
#include "platform/crashdump/kerneldump.h"
#include "platform/crashdump/userdump.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tervolin::platform::crashdump;

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

void check(const DumpInfo& info)
{
    if (!info.ok()) {
        require(!info.error.isEmpty(), "a refusal names its reason");
        require(info.drivers.empty() && info.unloaded.empty() && !info.suspect, "a refusal carries no data");
        return;
    }
    require(info.parameterWidth == 32 || info.parameterWidth == 64, "parameter width");
    require(info.drivers.size() <= std::max(limits::kMaxDrivers, userdump::kMaxModules), "driver cap");
    require(info.unloaded.size() <= limits::kMaxUnloaded, "unloaded cap");
    const auto clean = [](const QString& name) {
        for (QChar c : name)
            if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
                return false;
        return !name.isEmpty();
    };
    for (const LoadedDriver& d : info.drivers)
        require(clean(d.name), "driver names are non-empty text");
    for (const UnloadedDriver& d : info.unloaded)
        require(clean(d.name), "unloaded names are non-empty text");
    require(info.drivers.empty() || info.drivers.size() == info.driverCount, "the driver count");
    if (info.suspect && !info.drivers.empty()) {
        bool listed = false;
        for (const LoadedDriver& d : info.drivers)
            listed = listed || d.name == info.suspect->module;
        require(listed, "the suspect is a listed module");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        MemorySource source(bytes);
        const DumpInfo full = readDump(source, QStringLiteral("fuzz.dmp"));
        check(full);
        // Without the driver list: the same dump, the same suspect.
        MemorySource again(bytes);
        ReadOptions options;
        options.driverList = false;
        const DumpInfo light = readDump(again, QStringLiteral("fuzz.dmp"), options);
        check(light);
        require(light.ok() == full.ok() && light.code == full.code && light.driverCount == full.driverCount &&
                    light.suspect.has_value() == full.suspect.has_value() &&
                    (!light.suspect || light.suspect->module == full.suspect->module),
                "reading without the list changes nothing else");
    }
    {
        // As an archive (or whatever its first bytes make it), entries capped low to keep runs quick.
        MemorySource source(bytes);
        ScanCallbacks callbacks;
        int results = 0;
        callbacks.result = [&](DumpInfo&& info) {
            check(info);
            ++results;
        };
        ScanOptions limits;
        limits.entryCap = 1u << 20;
        limits.maxArchiveEntries = 64;
        scanSource(source, QStringLiteral("fuzz.zip"), callbacks, nullptr, limits);
        require(results >= 1 || bytes.isEmpty() || sniff(bytes) == FileKind::Archive, "a non-archive yields one result");
    }
    return 0;
}
