#pragma once
// Kernel crash dumps ("PAGEDU64" and "PAGEDUMP"): the header, and for small (triage) dumps the driver lists, the
// saved context and stack that point at the probable culprit. Offsets and their sources: README.md beside this file.

#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpinfo.h"
#include "platform/crashdump/dumpreader.h"

namespace tervolin::platform::crashdump {

/// The fixed offsets of one header variant (all absolute file offsets) and of its triage structures.
struct KernelLayout {
    DumpFormat format;
    int width;                // pointer size in bits
    quint64 headerSize;       // the triage header starts here
    quint64 majorVersion;
    quint64 minorVersion;     // the build number
    quint64 machine;
    quint64 processors;
    quint64 code;
    quint64 parameters;       // the first of four, `width` bits each
    quint64 contextRecord;
    quint64 dumpType;
    quint64 requiredDumpSpace;
    quint64 systemTime;
    quint64 systemUpTime;
    quint64 attributes;
    quint64 minimumHeader;    // a header cut before this lacks the code or a parameter

    quint64 driverEntrySize;  // DUMP_DRIVER_ENTRY32/64
    quint64 driverBase;       // offsets inside an entry; the name's file offset is at +0
    quint64 driverSize;
    quint64 driverTimestamp;
    quint64 unloadedFirst;    // the unloaded list: a count, then the entries from here on
    quint64 unloadedEntrySize;
    quint64 unloadedName;     // 12 UTF-16 characters at most; their byte length is a u16 at +0
    quint64 unloadedStart;
    quint64 unloadedEnd;
};

const KernelLayout& kernelLayout64();
const KernelLayout& kernelLayout32();

/// Triage header fields: offsets from the start of the triage header (u32 each).
namespace triage {
constexpr quint64 kSizeOfDump = 0x04;
constexpr quint64 kValidOffset = 0x08;
constexpr quint64 kContextOffset = 0x0C;
constexpr quint64 kUnloadedDriversOffset = 0x18;
constexpr quint64 kCallStackOffset = 0x28;
constexpr quint64 kSizeOfCallStack = 0x2C;
constexpr quint64 kDriverListOffset = 0x30;
constexpr quint64 kDriverCount = 0x34;
constexpr quint64 kStringPoolOffset = 0x38;
constexpr quint64 kStringPoolSize = 0x3C;
constexpr quint64 kHeaderBytes = 0x50;  // what the reader takes of the triage header
}  // namespace triage

/// Offset of the instruction pointer inside a CONTEXT record for a machine type, and its width; nothing for
/// machine types whose context is not known here.
struct InstructionPointerField {
    quint64 offset;
    int width;
};
std::optional<InstructionPointerField> instructionPointerField(quint32 machine);

/// Limits applied before any loop or allocation.
namespace limits {
constexpr quint32 kMaxDrivers = 4096;
constexpr quint32 kMaxUnloaded = 1024;
constexpr quint32 kMaxNameUnits = 260;
constexpr quint64 kMaxStringPool = 1u << 20;
constexpr quint64 kMaxStack = 64u << 10;
}  // namespace limits

/// Fills `info` from a kernel dump whose first bytes (at least the signature) are `head`.
void readKernelDump(ByteSource& source, const ByteSpan& head, const KernelLayout& layout, const ReadOptions& options,
                    DumpInfo& info);

}  // namespace tervolin::platform::crashdump
