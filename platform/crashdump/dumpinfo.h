#pragma once
// What reading one crash dump yields: plain values, no texts for the user. Fields the dump does not hold (or holds
// as the unwritten fill "PAGE") are empty optionals. The stop code is kept exactly as stored.

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace tervolin::platform::crashdump {

enum class DumpFormat : quint8 {
    Kernel64,  // "PAGE" "DU64"
    Kernel32,  // "PAGE" "DUMP"
    User,      // "MDMP": an application crash, not a stop
};

/// Why a file yields no dump (DumpInfo::error says it in a sentence).
enum class ReadError : quint8 {
    None,
    CannotOpen,         // missing, no permission, a folder or a device
    NotADump,           // no dump signature; also an empty file
    Unfinished,         // starts with zero bytes: Windows did not finish writing it
    HeaderIncomplete,   // a dump signature but too short to hold the stop code and its parameters
    UnknownVariant,     // "PAGE" followed by an unknown marker
    ArchiveUnreadable,  // an archive (or an entry of one) that libarchive cannot read
    NestedArchive,      // an archive inside an archive: not opened
};

/// Something the reader noticed but read past (DumpInfo::warnings).
enum class WarningKind : quint8 {
    Truncated,            // the file is shorter than its header says
    HeaderIncomplete,     // the header ends early: fields past the cut are unknown
    TriageInvalid,        // a small dump whose triage header or its TRGD marker is missing or inconsistent
    DriverListDamaged,    // the loaded-driver list (or part of it) lies outside the file or is inconsistent
    UnloadedListDamaged,  // the same for the unloaded-driver list
    ListCapped,           // a list held more entries than the reader takes; the rest was skipped
    NameDamaged,          // a driver or program name could not be read or decoded (U+FFFD stands in)
    StreamDamaged,        // an application dump stream lies outside the file
    Encrypted,            // the dump's memory is encrypted: only the header can be read
    ImplausibleTime,      // a crash time or up-time outside any plausible range (shown as unknown)
    EntryCapped,          // an archive entry larger than the reader takes from an archive
};

struct DumpWarning {
    WarningKind kind;
    QString message;  // an English sentence for logs and the command line
};

struct LoadedDriver {
    QString name;
    quint64 base = 0;
    quint32 size = 0;
    quint32 timestamp = 0;  // the image's link time stamp (seconds since 1970, UTC)
};

struct UnloadedDriver {
    QString name;
    quint64 start = 0;
    quint64 end = 0;
};

/// How the probable culprit was found.
enum class SuspectMethod : quint8 {
    Context,    // the instruction pointer of the saved context (for an application dump: the exception address)
    Parameter,  // a stop-code parameter documented as a code address
    Stack,      // the first non-kernel driver address on the saved stack: a guess
    Text,       // named by a crash-report text
};

struct Suspect {
    QString module;
    std::optional<quint64> offset;  // the address's offset inside the module, where known
    SuspectMethod method = SuspectMethod::Context;
};

struct DumpInfo {
    /// The file, or "…/archive.zip/entry.dmp" for an archive entry.
    QString file;
    /// Set (with `error`) when the file yields no dump; every field below is then empty.
    ReadError errorKind = ReadError::None;
    QString error;

    DumpFormat format = DumpFormat::Kernel64;
    std::optional<quint32> dumpType;  // 1 complete, 2 kernel, 4 small, 5/6 bitmap, 7 automatic, or any other number
    bool live = false;                // taken while Windows kept running (no stop)
    std::optional<quint32> machine;   // image machine type: 0x14C, 0x8664, 0xAA64, …
    std::optional<quint32> build;
    std::optional<quint32> processors;
    /// The stop code (for an application dump: the exception code).
    std::optional<quint32> code;
    std::array<quint64, 4> parameters{};
    int parameterCount = 0;  // 4 for a kernel dump, 0 for an application dump
    int parameterWidth = 64;  // 32 or 64: how the parameters are formatted
    std::optional<QDateTime> crashTime;  // UTC
    std::optional<quint64> uptimeSeconds;
    /// Small dumps: the loaded drivers; application dumps: the modules. Empty when read without the list.
    std::vector<LoadedDriver> drivers;
    quint32 driverCount = 0;  // how many the dump lists (as read), also when the list itself was not kept
    std::vector<UnloadedDriver> unloaded;
    std::optional<Suspect> suspect;
    QString program;  // application dumps: the program's file name
    std::vector<DumpWarning> warnings;

    /// A file that yields no dump, with the reason.
    static DumpInfo failure(const QString& file, ReadError kind, const QString& message);

    bool ok() const { return errorKind == ReadError::None; }
    void warn(WarningKind kind, const QString& message) { warnings.push_back({kind, message}); }
    bool hasWarning(WarningKind kind) const;
};

/// "complete", "kernel", "small", "bitmap-complete", "bitmap-kernel", "automatic"; empty for other numbers.
QString dumpTypeToken(quint32 dumpType);
/// "x86", "x64", "arm64"; empty for other machine types.
QString machineToken(quint32 machine);
/// "kernel64", "kernel32", "user".
QString formatToken(DumpFormat format);
/// "context", "parameter", "stack", "text".
QString methodToken(SuspectMethod method);

/// Newest crash first; dumps without a crash time after those with one, unreadable files last; ties by file name.
void sortNewestFirst(std::vector<DumpInfo>& dumps);

}  // namespace tervolin::platform::crashdump
