// Parses arbitrary text as pasted crash reports. Any text is valid input; the parser must not crash and its results
// must keep their promises.
#include "platform/crashdump/crashreport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tervolin::platform::crashdump;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<CrashReport> reports = parseCrashReports(text);
    qsizetype previous = -1;
    for (const CrashReport& r : reports) {
        if ((!r.code && r.name.isEmpty()) || r.position <= previous || r.position >= text.size() ||
            (r.parameterWidth != 32 && r.parameterWidth != 64)) {
            std::fprintf(stderr, "broken promise in a report at %lld\n", static_cast<long long>(r.position));
            std::abort();
        }
        previous = r.position;
    }
    return 0;
}
