#include "platform/crashdump/userdump.h"

#include "platform/crashdump/culprit.h"
#include "platform/crashdump/utf16.h"

#include <algorithm>

namespace tervolin::platform::crashdump {

namespace {

constexpr quint32 kModuleListStream = 4;
constexpr quint32 kExceptionStream = 6;
constexpr quint32 kSystemInfoStream = 7;
constexpr quint16 kMinidumpVersion = 0xA793;

struct Stream {
    quint32 size = 0;
    quint32 rva = 0;
};

std::optional<quint32> machineOf(quint16 architecture)
{
    switch (architecture) {
    case 0: return 0x14C;    // PROCESSOR_ARCHITECTURE_INTEL
    case 5: return 0x1C4;    // PROCESSOR_ARCHITECTURE_ARM
    case 9: return 0x8664;   // PROCESSOR_ARCHITECTURE_AMD64
    case 12: return 0xAA64;  // PROCESSOR_ARCHITECTURE_ARM64
    default: return std::nullopt;
    }
}

class UserDumpReader {
public:
    UserDumpReader(ByteSource& source, const ByteSpan& head, const ReadOptions& options, DumpInfo& info)
        : source_(source), head_(head), options_(options), info_(info), fileSize_(source.size())
    {
    }

    void read()
    {
        info_.format = DumpFormat::User;
        info_.parameterCount = 0;
        if (head_.u16(4) != kMinidumpVersion)
            info_.warn(WarningKind::StreamDamaged,
                       QStringLiteral("the minidump version %1 is not the usual one; read as far as it is consistent")
                           .arg(head_.u16(4).value_or(0), 4, 16, QLatin1Char('0')));
        if (const auto stamp = head_.u32(0x14); stamp && *stamp != 0) {
            // 1990-01-01 to 2106 (the largest u32): a plausible crash time.
            if (*stamp >= 631'152'000u)
                info_.crashTime = QDateTime::fromSecsSinceEpoch(qint64(*stamp), Qt::UTC);
            else
                info_.warn(WarningKind::ImplausibleTime,
                           QStringLiteral("the minidump's time stamp %1 is not a plausible date").arg(*stamp));
        }
        readDirectory();
        if (exception_.size)
            readException();
        if (systemInfo_.size)
            readSystemInfo();
        if (modules_.size)
            readModules();
        if (exceptionAddress_) {
            const ModuleMap map(info_.drivers);
            if (const LoadedDriver* module = map.find(*exceptionAddress_)) {
                QString moduleName = module->name;
                if (!options_.driverList && module != info_.drivers.data()) {
                    bool damaged = false;
                    moduleName = this->moduleName(nameRvas_[size_t(module - info_.drivers.data())], &damaged);
                    if (damaged)
                        info_.warn(WarningKind::NameDamaged,
                                   QStringLiteral("the faulting module's name could not be read in full"));
                }
                info_.suspect = Suspect{moduleName, *exceptionAddress_ - module->base, SuspectMethod::Context};
            }
        }
        info_.driverCount = quint32(info_.drivers.size());
        if (!options_.driverList)
            info_.drivers = {};
    }

private:
    void damaged(const QString& what)
    {
        info_.warn(WarningKind::StreamDamaged, what);
    }

    void readDirectory()
    {
        const quint32 declared = head_.u32(8).value_or(0);
        const quint64 rva = head_.u32(0xC).value_or(0);
        quint64 count = std::min(declared, userdump::kMaxStreams);
        if (rva == 0 || rva >= fileSize_) {
            if (declared != 0)
                damaged(QStringLiteral("the stream directory lies outside the file"));
            return;
        }
        count = std::min<quint64>(count, (fileSize_ - rva) / 12);
        if (count < declared)
            damaged(QStringLiteral("the minidump declares %1 streams; %2 can be read").arg(declared).arg(count));
        const ByteSpan directory = source_.read(rva, count * 12);
        count = std::min<quint64>(count, directory.size() / 12);
        for (quint64 i = 0; i < count; ++i) {
            const quint64 entry = rva + i * 12;
            const quint32 type = directory.u32(entry).value_or(0);
            const Stream stream{directory.u32(entry + 4).value_or(0), directory.u32(entry + 8).value_or(0)};
            // The first stream of each kind counts, as debuggers read it.
            Stream* slot = type == kExceptionStream    ? &exception_
                           : type == kSystemInfoStream ? &systemInfo_
                           : type == kModuleListStream ? &modules_
                                                       : nullptr;
            if (slot && slot->size == 0)
                *slot = stream;
        }
    }

    std::optional<ByteSpan> stream(const Stream& stream, quint64 needed, const char* what)
    {
        auto span = stream.size >= needed ? source_.readExact(stream.rva, needed) : std::nullopt;
        if (!span)
            damaged(QStringLiteral("the %1 stream lies outside the file or is too short").arg(QLatin1String(what)));
        return span;
    }

    void readException()
    {
        // MINIDUMP_EXCEPTION_STREAM: ThreadId, alignment, then MINIDUMP_EXCEPTION (code at +0, address at +0x10).
        const auto span = stream(exception_, 0x20, "exception");
        if (!span)
            return;
        info_.code = span->u32(exception_.rva + 0x08);
        exceptionAddress_ = span->u64(exception_.rva + 0x18);
    }

    void readSystemInfo()
    {
        const auto span = stream(systemInfo_, 0x14, "system information");
        if (!span)
            return;
        const quint64 at = systemInfo_.rva;
        info_.machine = machineOf(span->u16(at).value_or(0xFFFF));
        info_.processors = span->u8(at + 6);
        info_.build = span->u32(at + 0x10);
    }

    void readModules()
    {
        const auto head = stream(modules_, 4, "module list");
        if (!head)
            return;
        const quint64 first = modules_.rva + 4;
        const quint32 declared = head->u32(modules_.rva).value_or(0);
        // The stream's own size and the file both bound the list.
        const quint64 room = std::min<quint64>((modules_.size - 4) / userdump::kModuleSize,
                                               first <= fileSize_ ? (fileSize_ - first) / userdump::kModuleSize : 0);
        quint64 count = std::min<quint64>({declared, userdump::kMaxModules, room});
        if (count < declared)
            damaged(QStringLiteral("the module list declares %1 modules; %2 are read").arg(declared).arg(count));
        const ByteSpan list = source_.read(first, count * userdump::kModuleSize);
        count = std::min<quint64>(count, list.size() / userdump::kModuleSize);
        info_.drivers.reserve(size_t(count));
        int damagedNames = 0;
        for (quint64 i = 0; i < count; ++i) {
            const quint64 entry = first + i * userdump::kModuleSize;
            LoadedDriver module;
            module.base = list.u64(entry).value_or(0);
            module.size = list.u32(entry + 8).value_or(0);
            module.timestamp = list.u32(entry + 0x10).value_or(0);
            const quint32 rva = list.u32(entry + 0x14).value_or(0);
            // Without the list only the program's name is decoded (and the faulting module's, below).
            if (options_.driverList || i == 0) {
                bool damaged = false;
                module.name = moduleName(rva, &damaged);
                damagedNames += damaged ? 1 : 0;
                if (i == 0)
                    info_.program = module.name;
            }
            if (!options_.driverList)
                nameRvas_.push_back(rva);
            info_.drivers.push_back(std::move(module));
        }
        if (damagedNames > 0)
            info_.warn(WarningKind::NameDamaged,
                       QStringLiteral("%1 of the module names could not be read in full").arg(damagedNames));
    }

    // A module's file name from its path; U+FFFD when it cannot be read.
    QString moduleName(quint64 rva, bool* damaged)
    {
        QString text = baseName(name(rva, damaged));
        if (text.isEmpty()) {
            *damaged = true;
            return QString(QChar::ReplacementCharacter);
        }
        return text;
    }

    // MINIDUMP_STRING: a u32 length in bytes (without the NUL), then UTF-16.
    QString name(quint64 rva, bool* damaged)
    {
        *damaged = true;
        if (rva == 0 || rva >= fileSize_)
            return {};
        const ByteSpan span = source_.read(rva, 4 + 2ull * userdump::kMaxPathUnits);
        const auto length = span.u32(rva);
        if (!length)
            return {};
        const quint64 units = std::min<quint64>(*length / 2, userdump::kMaxPathUnits);
        const quint64 available = span.end() > rva + 4 ? (span.end() - rva - 4) / 2 : 0;
        const quint64 take = std::min(units, available);
        bool replaced = false;
        QString text = decodeUtf16Name(span.bytes(rva + 4, take * 2), qsizetype(take), &replaced);
        *damaged = replaced || take < units;
        return text;
    }

    ByteSource& source_;
    const ByteSpan& head_;
    const ReadOptions& options_;
    DumpInfo& info_;
    const quint64 fileSize_;
    std::vector<quint32> nameRvas_;  // without the list: where each module's name lies
    Stream exception_;
    Stream systemInfo_;
    Stream modules_;
    std::optional<quint64> exceptionAddress_;
};

}  // namespace

void readUserDump(ByteSource& source, const ByteSpan& head, const ReadOptions& options, DumpInfo& info)
{
    UserDumpReader(source, head, options, info).read();
}

}  // namespace tervolin::platform::crashdump
