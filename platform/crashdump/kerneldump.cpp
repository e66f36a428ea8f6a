#include "platform/crashdump/kerneldump.h"

#include "platform/crashdump/culprit.h"
#include "platform/crashdump/utf16.h"

#include <algorithm>
#include <array>

namespace tervolin::platform::crashdump {

namespace {

// Header fields that Windows did not write still hold the fill pattern "PAGE".
constexpr quint32 kFill32 = 0x45474150;
constexpr quint64 kFill64 = 0x4547415045474150ull;

constexpr quint32 kAttributeLiveDump = 0x10;
constexpr quint32 kAttributeEncrypted = 0x100;
constexpr quint32 kDumpTypeTriage = 4;

constexpr quint64 kMaxWindow = 1u << 20;
constexpr quint64 kSecondsFrom1601To1970 = 11'644'473'600ull;
constexpr quint64 kMaxUptimeSeconds = 100ull * 366 * 24 * 3600;

std::optional<quint32> field32(const ByteSpan& head, quint64 offset)
{
    const auto value = head.u32(offset);
    if (!value || *value == kFill32)
        return std::nullopt;
    return value;
}

std::optional<quint64> field64(const ByteSpan& head, quint64 offset)
{
    const auto value = head.u64(offset);
    if (!value || *value == kFill64)
        return std::nullopt;
    return value;
}

QString hex(quint64 value)
{
    return QStringLiteral("0x%1").arg(value, 0, 16, QLatin1Char('0'));
}

void readTime(const ByteSpan& head, const KernelLayout& layout, DumpInfo& info)
{
    if (const auto fileTime = field64(head, layout.systemTime); fileTime && *fileTime != 0) {
        const quint64 seconds = *fileTime / 10'000'000;
        // 1990-01-01 to 2200-01-01, in seconds since 1601.
        constexpr quint64 earliest = kSecondsFrom1601To1970 + 631'152'000ull;
        constexpr quint64 latest = kSecondsFrom1601To1970 + 7'258'118'400ull;
        if (seconds >= earliest && seconds < latest)
            info.crashTime = QDateTime::fromSecsSinceEpoch(qint64(seconds - kSecondsFrom1601To1970), Qt::UTC);
        else
            info.warn(WarningKind::ImplausibleTime,
                      QStringLiteral("the crash time in the header (%1) is not a plausible date").arg(hex(*fileTime)));
    }
    if (const auto upTime = field64(head, layout.systemUpTime)) {
        const quint64 seconds = *upTime / 10'000'000;
        if (seconds <= kMaxUptimeSeconds)
            info.uptimeSeconds = seconds;
        else
            info.warn(WarningKind::ImplausibleTime,
                      QStringLiteral("the up-time in the header (%1) is not plausible").arg(hex(*upTime)));
    }
}

// True when [offset, offset + count * entry) lies inside the file, computed without overflow.
bool fits(quint64 fileSize, quint64 offset, quint64 count, quint64 entry)
{
    if (offset > fileSize)
        return false;
    return entry == 0 || count <= (fileSize - offset) / entry;
}

// A triage structure's offset: 0 means absent; anything inside the dump header or past the file is damage.
enum class Where { Absent, Damaged, Fine };
Where place(quint64 offset, const KernelLayout& layout, quint64 fileSize)
{
    if (offset == 0)
        return Where::Absent;
    if (offset < layout.headerSize || offset >= fileSize)
        return Where::Damaged;
    return Where::Fine;
}

struct Scratch {
    std::vector<LoadedDriver> drivers;
    std::vector<quint32> nameOffsets;
};

Scratch& scratch()
{
    thread_local Scratch space;
    return space;
}

class TriageReader {
public:
    TriageReader(ByteSource& source, const ByteSpan& head, const KernelLayout& layout, const ReadOptions& options,
                 DumpInfo& info)
        : source_(source), head_(head), layout_(layout), options_(options), info_(info), fileSize_(source.size())
    {
        if (!options_.driverList) {
            drivers_.clear();
            nameOffsets_.clear();
        }
    }

    void read()
    {
        const quint64 start = layout_.headerSize;
        std::optional<ByteSpan> header = head_.read(start, triage::kHeaderBytes);
        if (!header)
            header = source_.readExact(start, triage::kHeaderBytes);
        if (!header) {
            info_.warn(WarningKind::TriageInvalid,
                       QStringLiteral("the small dump ends before its triage header: no driver lists"));
            return;
        }
        triage_ = *header;
        prefetch();
        const quint64 valid = triageField(triage::kValidOffset);
        if (place(valid, layout_, fileSize_) != Where::Fine || !slice(valid, 4).hasTag(valid, "TRGD"))
            info_.warn(WarningKind::TriageInvalid,
                       QStringLiteral("the triage data lacks its TRGD marker (the dump may be unfinished); "
                                      "the driver lists are read as far as they are consistent"));
        readStringPool();
        readDrivers();
        readUnloaded();
        findCulprit();
        info_.driverCount = quint32(drivers_.size());
    }

    quint64 declaredSize() const { return triageField(triage::kSizeOfDump); }

private:
    quint64 triageField(quint64 relative) const
    {
        return triage_.u32(layout_.headerSize + relative).value_or(0);
    }

    // Windows writes the triage structures close together: one read of the range they span (when it is small)
    // serves all the reads below.
    void prefetch()
    {
        quint64 low = ~0ull;
        quint64 high = 0;
        const auto cover = [&](quint64 offset, quint64 size) {
            if (place(offset, layout_, fileSize_) != Where::Fine)
                return;
            low = std::min(low, offset);
            high = std::max(high, offset + std::min(size, fileSize_ - offset));
        };
        cover(triageField(triage::kValidOffset), 4);
        cover(triageField(triage::kContextOffset), 0x200);
        cover(triageField(triage::kUnloadedDriversOffset), layout_.unloadedFirst + 64 * layout_.unloadedEntrySize);
        cover(triageField(triage::kCallStackOffset),
              std::min<quint64>(triageField(triage::kSizeOfCallStack), limits::kMaxStack));
        cover(triageField(triage::kDriverListOffset),
              std::min<quint64>(triageField(triage::kDriverCount), limits::kMaxDrivers) * layout_.driverEntrySize);
        if (options_.driverList)
            cover(triageField(triage::kStringPoolOffset),
                  std::min<quint64>(triageField(triage::kStringPoolSize), limits::kMaxStringPool));
        if (high > low && high - low <= kMaxWindow)
            window_ = source_.read(low, high - low);
    }

    // Like ByteSource::read, from the prefetched range where it holds the bytes.
    ByteSpan slice(quint64 offset, quint64 size)
    {
        if (const auto inside = window_.read(offset, size))
            return *inside;
        return source_.read(offset, size);
    }

    void readStringPool()
    {
        if (!options_.driverList)
            return;  // the few names needed are read one by one
        const quint64 offset = triageField(triage::kStringPoolOffset);
        if (place(offset, layout_, fileSize_) != Where::Fine)
            return;
        const quint64 size = std::min<quint64>(triageField(triage::kStringPoolSize), limits::kMaxStringPool);
        pool_ = slice(offset, std::min(size, fileSize_ - offset));
    }

    // A DUMP_STRING: a u32 length, then NUL-terminated UTF-16. Windows headers describe the length as bytes,
    // public parsers read it as characters; decoding up to the first NUL within the larger reading serves both.
    QString name(quint64 offset, bool* damaged)
    {
        *damaged = true;
        const auto unreadable = [] { return QString(QChar::ReplacementCharacter); };
        if (place(offset, layout_, fileSize_) != Where::Fine)
            return unreadable();
        constexpr quint64 maxBytes = 4 + 2ull * limits::kMaxNameUnits;
        ByteSpan own;  // used when the name lies outside the string pool as read
        const ByteSpan* span = &pool_;
        if (!pool_.contains(offset, 4)) {
            own = slice(offset, std::min(maxBytes, fileSize_ - offset));
            span = &own;
        }
        const auto length = span->u32(offset);
        if (!length)
            return unreadable();
        const quint64 units = std::min<quint64>(*length, limits::kMaxNameUnits);
        if (span == &pool_ && !pool_.contains(offset + 4, units * 2)) {
            own = slice(offset, std::min(maxBytes, fileSize_ - offset));  // the name runs past the pool as read
            span = &own;
        }
        const quint64 available = span->end() > offset + 4 ? (span->end() - offset - 4) / 2 : 0;
        const quint64 take = std::min(units, available);
        bool replaced = false;
        const QString text = decodeUtf16Name(span->bytes(offset + 4, take * 2), qsizetype(take), &replaced);
        if (text.isEmpty())
            return unreadable();
        // Shorter than taken: a NUL ended it. Otherwise it is whole only when nothing was cut away.
        const bool terminated = quint64(text.size()) < take;
        *damaged = replaced || (!terminated && (take < units || *length > limits::kMaxNameUnits));
        return text;
    }

    void readDrivers()
    {
        const quint64 offset = triageField(triage::kDriverListOffset);
        const quint64 declared = triageField(triage::kDriverCount);
        const Where where = place(offset, layout_, fileSize_);
        if (where == Where::Absent || declared == 0)
            return;
        if (where == Where::Damaged) {
            info_.warn(WarningKind::DriverListDamaged,
                       QStringLiteral("the driver list offset %1 lies outside the dump").arg(hex(offset)));
            return;
        }
        quint64 count = std::min<quint64>(declared, limits::kMaxDrivers);
        if (count < declared)
            info_.warn(WarningKind::ListCapped, QStringLiteral("the dump lists %1 drivers; the first %2 are read")
                                                    .arg(declared).arg(count));
        if (!fits(fileSize_, offset, count, layout_.driverEntrySize)) {
            const quint64 room = (fileSize_ - offset) / layout_.driverEntrySize;
            info_.warn(WarningKind::DriverListDamaged,
                       QStringLiteral("the driver list of %1 entries runs past the end of the file; %2 are read")
                           .arg(count).arg(room));
            count = room;
        }
        const ByteSpan list = slice(offset, count * layout_.driverEntrySize);
        count = std::min<quint64>(count, list.size() / layout_.driverEntrySize);
        drivers_.reserve(size_t(count));
        if (!options_.driverList)
            nameOffsets_.reserve(size_t(count));
        int damagedNames = 0;
        for (quint64 i = 0; i < count; ++i) {
            const quint64 entry = offset + i * layout_.driverEntrySize;
            LoadedDriver driver;
            bool damaged = false;
            // Without the list, a name is decoded only when the search for the culprit needs it.
            if (options_.driverList)
                driver.name = name(list.u32(entry).value_or(0), &damaged);
            else
                nameOffsets_.push_back(list.u32(entry).value_or(0));
            driver.base = list.word(entry + layout_.driverBase, layout_.width).value_or(0);
            driver.size = list.u32(entry + layout_.driverSize).value_or(0);
            driver.timestamp = list.u32(entry + layout_.driverTimestamp).value_or(0);
            damagedNames += damaged ? 1 : 0;
            drivers_.push_back(std::move(driver));
        }
        if (damagedNames > 0)
            info_.warn(WarningKind::NameDamaged,
                       QStringLiteral("%1 of the driver names could not be read in full").arg(damagedNames));
    }

    void readUnloaded()
    {
        const quint64 offset = triageField(triage::kUnloadedDriversOffset);
        const Where where = place(offset, layout_, fileSize_);
        if (where == Where::Absent)
            return;
        const auto declared = where == Where::Fine ? slice(offset, 8).word(offset, layout_.width)
                                                   : std::optional<quint64>();
        if (!declared) {
            info_.warn(WarningKind::UnloadedListDamaged,
                       QStringLiteral("the unloaded-driver list at offset %1 cannot be read").arg(hex(offset)));
            return;
        }
        if (*declared == 0)
            return;
        quint64 count = std::min<quint64>(*declared, limits::kMaxUnloaded);
        if (count < *declared)
            info_.warn(WarningKind::ListCapped,
                       QStringLiteral("the dump lists %1 unloaded drivers; the first %2 are read")
                           .arg(*declared)
                           .arg(count));
        const quint64 first = offset + layout_.unloadedFirst;
        if (!fits(fileSize_, first, count, layout_.unloadedEntrySize)) {
            const quint64 room = first <= fileSize_ ? (fileSize_ - first) / layout_.unloadedEntrySize : 0;
            info_.warn(WarningKind::UnloadedListDamaged,
                       QStringLiteral("the unloaded-driver list of %1 entries runs past the end of the file; %2 are read")
                           .arg(count).arg(room));
            count = room;
        }
        if (count == 0)
            return;
        const ByteSpan list = slice(first, count * layout_.unloadedEntrySize);
        count = std::min<quint64>(count, list.size() / layout_.unloadedEntrySize);
        info_.unloaded.reserve(size_t(count));
        int damagedNames = 0;
        for (quint64 i = 0; i < count; ++i) {
            const quint64 entry = first + i * layout_.unloadedEntrySize;
            UnloadedDriver driver;
            const quint64 lengthBytes = list.u16(entry).value_or(0);
            const qsizetype units = qsizetype(std::min<quint64>(lengthBytes / 2, 12));
            bool replaced = false;
            driver.name = decodeUtf16Name(list.bytes(entry + layout_.unloadedName, 24), units > 0 ? units : 12, &replaced);
            if (driver.name.isEmpty())
                driver.name = QString(QChar::ReplacementCharacter);
            damagedNames += replaced || driver.name == QString(QChar::ReplacementCharacter) ? 1 : 0;
            driver.start = list.word(entry + layout_.unloadedStart, layout_.width).value_or(0);
            driver.end = list.word(entry + layout_.unloadedEnd, layout_.width).value_or(0);
            info_.unloaded.push_back(std::move(driver));
        }
        if (damagedNames > 0)
            info_.warn(WarningKind::NameDamaged,
                       QStringLiteral("%1 of the unloaded-driver names could not be read in full").arg(damagedNames));
    }

    void findCulprit()
    {
        if (drivers_.empty())
            return;
        SuspectClues clues;
        clues.code = info_.code;
        clues.parameters = info_.parameters;
        clues.parameterCount = info_.parameterCount;
        clues.stackWordWidth = layout_.width;
        if (info_.machine) {
            if (const auto ip = instructionPointerField(*info_.machine)) {
                // The triage context when the dump has one, else the context record in the header.
                const quint64 context = triageField(triage::kContextOffset);
                if (place(context, layout_, fileSize_) == Where::Fine)
                    clues.instructionPointer = slice(context + ip->offset, 8).word(context + ip->offset, ip->width);
                else
                    clues.instructionPointer = head_.word(layout_.contextRecord + ip->offset, ip->width);
            }
        }
        const ModuleMap map(drivers_);
        // Without the list, names are decoded as the search meets their modules; the kernel's comes up again and
        // again on a stack, so the last few are kept.
        std::array<std::pair<const LoadedDriver*, QString>, 4> recent{};
        size_t next = 0;
        ModuleName nameOf;
        if (!options_.driverList) {
            nameOf = [&](const LoadedDriver& module) {
                for (const auto& [known, text] : recent)
                    if (known == &module)
                        return text;
                bool damaged = false;
                QString text = name(nameOffsets_[size_t(&module - drivers_.data())], &damaged);
                recent[next++ % recent.size()] = {&module, text};
                return text;
            };
        }
        info_.suspect = findSuspect(map, clues, nameOf);
        if (info_.suspect && !isKernelOrHal(info_.suspect->module))
            return;
        // Only now is the saved stack worth reading.
        const quint64 stack = triageField(triage::kCallStackOffset);
        if (place(stack, layout_, fileSize_) != Where::Fine)
            return;
        const quint64 size = std::min<quint64>(triageField(triage::kSizeOfCallStack), limits::kMaxStack);
        clues.stack = slice(stack, std::min(size, fileSize_ - stack));
        info_.suspect = findSuspect(map, clues, nameOf);
    }

    ByteSource& source_;
    const ByteSpan& head_;
    const KernelLayout& layout_;
    const ReadOptions& options_;
    DumpInfo& info_;
    const quint64 fileSize_;
    // Without the list the entries go to per-thread scratch space, so a list of many dumps allocates nothing per
    // driver; with it, straight into the result.
    std::vector<LoadedDriver>& drivers_ = options_.driverList ? info_.drivers : scratch().drivers;
    std::vector<quint32>& nameOffsets_ = scratch().nameOffsets;  // without the list: where each name lies
    ByteSpan triage_;
    ByteSpan window_;
    ByteSpan pool_;
};

}  // namespace

const KernelLayout& kernelLayout64()
{
    static const KernelLayout layout{
        .format = DumpFormat::Kernel64,
        .width = 64,
        .headerSize = 0x2000,
        .majorVersion = 0x08,
        .minorVersion = 0x0C,
        .machine = 0x30,
        .processors = 0x34,
        .code = 0x38,
        .parameters = 0x40,
        .contextRecord = 0x348,
        .dumpType = 0xF98,
        .requiredDumpSpace = 0xFA0,
        .systemTime = 0xFA8,
        .systemUpTime = 0x1030,
        .attributes = 0x1050,
        .minimumHeader = 0x60,
        .driverEntrySize = 0x90,
        .driverBase = 0x38,
        .driverSize = 0x48,
        .driverTimestamp = 0x88,
        .unloadedFirst = 8,
        .unloadedEntrySize = 0x38,
        .unloadedName = 0x10,
        .unloadedStart = 0x28,
        .unloadedEnd = 0x30,
    };
    return layout;
}

const KernelLayout& kernelLayout32()
{
    static const KernelLayout layout{
        .format = DumpFormat::Kernel32,
        .width = 32,
        .headerSize = 0x1000,
        .majorVersion = 0x08,
        .minorVersion = 0x0C,
        .machine = 0x20,
        .processors = 0x24,
        .code = 0x28,
        .parameters = 0x2C,
        .contextRecord = 0x320,
        .dumpType = 0xF88,
        .requiredDumpSpace = 0xFA0,
        .systemTime = 0xFC0,
        .systemUpTime = 0xFB8,
        .attributes = 0x8A0,
        .minimumHeader = 0x3C,
        .driverEntrySize = 0x4C,
        .driverBase = 0x1C,
        .driverSize = 0x24,
        .driverTimestamp = 0x48,
        .unloadedFirst = 4,
        .unloadedEntrySize = 0x28,
        .unloadedName = 0x08,
        .unloadedStart = 0x20,
        .unloadedEnd = 0x24,
    };
    return layout;
}

std::optional<InstructionPointerField> instructionPointerField(quint32 machine)
{
    switch (machine) {
    case 0x8664: return InstructionPointerField{0xF8, 64};   // CONTEXT.Rip
    case 0xAA64: return InstructionPointerField{0x108, 64};  // ARM64_NT_CONTEXT.Pc
    case 0x14C: return InstructionPointerField{0xB8, 32};    // CONTEXT.Eip
    default: return std::nullopt;
    }
}

void readKernelDump(ByteSource& source, const ByteSpan& head, const KernelLayout& layout, const ReadOptions& options,
                    DumpInfo& info)
{
    info.format = layout.format;
    info.parameterWidth = layout.width;
    info.parameterCount = 4;
    info.code = field32(head, layout.code);
    for (int i = 0; i < 4; ++i)
        info.parameters[size_t(i)] =
            head.word(layout.parameters + quint64(i) * quint64(layout.width / 8), layout.width).value_or(0);
    if (head.size() < layout.headerSize)
        info.warn(WarningKind::HeaderIncomplete,
                  QStringLiteral("the dump header is cut off after %1 of its %2 bytes; fields past the cut are unknown")
                      .arg(head.size()).arg(layout.headerSize));
    info.build = field32(head, layout.minorVersion);
    info.machine = field32(head, layout.machine);
    info.processors = field32(head, layout.processors);
    info.dumpType = field32(head, layout.dumpType);
    readTime(head, layout, info);

    const std::optional<quint32> attributes = field32(head, layout.attributes);
    if (attributes && (*attributes & kAttributeLiveDump))
        info.live = true;
    const bool encrypted = attributes && (*attributes & kAttributeEncrypted);
    if (encrypted)
        info.warn(WarningKind::Encrypted,
                  QStringLiteral("the dump's contents are encrypted: only its header can be read"));

    const quint64 fileSize = source.size();
    quint64 declared = 0;
    if (const auto required = field64(head, layout.requiredDumpSpace); required && qint64(*required) > 0)
        declared = *required;

    if (info.dumpType == kDumpTypeTriage && !encrypted && head.size() >= layout.headerSize) {
        TriageReader reader(source, head, layout, options, info);
        reader.read();
        if (declared == 0)
            declared = reader.declaredSize();
    }
    if (declared > fileSize)
        info.warn(WarningKind::Truncated,
                  QStringLiteral("the file holds %1 of the %2 bytes its header declares (a truncated copy?)")
                      .arg(fileSize).arg(declared));
}

}  // namespace tervolin::platform::crashdump
