#include "platform/crashdump/dumpinfo.h"

#include <algorithm>

namespace tervolin::platform::crashdump {

DumpInfo DumpInfo::failure(const QString& file, ReadError kind, const QString& message)
{
    DumpInfo info;
    info.file = file;
    info.errorKind = kind;
    info.error = message;
    return info;
}

bool DumpInfo::hasWarning(WarningKind kind) const
{
    return std::any_of(warnings.begin(), warnings.end(), [kind](const DumpWarning& w) { return w.kind == kind; });
}

QString dumpTypeToken(quint32 dumpType)
{
    switch (dumpType) {
    case 1: return QStringLiteral("complete");
    case 2: return QStringLiteral("kernel");
    case 4: return QStringLiteral("small");
    case 5: return QStringLiteral("bitmap-complete");
    case 6: return QStringLiteral("bitmap-kernel");
    case 7: return QStringLiteral("automatic");
    default: return {};
    }
}

QString machineToken(quint32 machine)
{
    switch (machine) {
    case 0x14C: return QStringLiteral("x86");
    case 0x8664: return QStringLiteral("x64");
    case 0xAA64: return QStringLiteral("arm64");
    default: return {};
    }
}

QString formatToken(DumpFormat format)
{
    switch (format) {
    case DumpFormat::Kernel64: return QStringLiteral("kernel64");
    case DumpFormat::Kernel32: return QStringLiteral("kernel32");
    case DumpFormat::User: return QStringLiteral("user");
    }
    return {};
}

QString methodToken(SuspectMethod method)
{
    switch (method) {
    case SuspectMethod::Context: return QStringLiteral("context");
    case SuspectMethod::Parameter: return QStringLiteral("parameter");
    case SuspectMethod::Stack: return QStringLiteral("stack");
    case SuspectMethod::Text: return QStringLiteral("text");
    }
    return {};
}

void sortNewestFirst(std::vector<DumpInfo>& dumps)
{
    // Rank 0: a crash time; 1: read, no time; 2: unreadable.
    const auto rank = [](const DumpInfo& d) { return !d.ok() ? 2 : d.crashTime ? 0 : 1; };
    std::stable_sort(dumps.begin(), dumps.end(), [&](const DumpInfo& a, const DumpInfo& b) {
        const int ra = rank(a);
        const int rb = rank(b);
        if (ra != rb)
            return ra < rb;
        if (ra == 0 && *a.crashTime != *b.crashTime)
            return *a.crashTime > *b.crashTime;
        return a.file < b.file;
    });
}

}  // namespace tervolin::platform::crashdump
