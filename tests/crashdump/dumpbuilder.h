#pragma once
// Writes crash dumps as Windows lays them out (kernel dumps with 64- and 32-bit headers, small dumps with driver
// lists, application minidumps) and packs them into zip, 7z and cab archives, so tests, the fuzz corpus and the
// benchmarks run on files made here rather than on dumps from someone's machine. The header is filled with "PAGE"
// first, as Windows does, so fields a spec leaves out read as unwritten.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace tervolin::test::dumps {

struct Driver {
    QString name;
    quint64 base = 0;
    quint32 size = 0;
    quint32 timestamp = 0;
};

struct Unloaded {
    QString name;
    quint64 start = 0;
    quint64 end = 0;
};

struct KernelDumpSpec {
    bool is64 = true;
    std::optional<quint32> machine = 0x8664u;
    quint32 dumpType = 4;  // 1 complete, 2 kernel, 4 small, 5/6 bitmap
    std::optional<quint32> build = 19041u;
    std::optional<quint32> processors = 8u;
    quint32 code = 0x7E;
    std::array<quint64, 4> parameters{};
    std::optional<QDateTime> crashTime;
    std::optional<quint64> uptimeSeconds;
    std::optional<quint32> attributes;  // 0x10: a live dump
    // Small dumps only.
    std::vector<Driver> drivers;
    std::vector<Unloaded> unloaded;
    std::optional<quint64> instructionPointer;  // written into the triage context record
    std::vector<quint64> stack;                 // the saved stack, one word each
    // Dumps other than small ones: the file's size (the memory pages are zero bytes).
    quint64 totalSize = 0;
};

/// A dump as written, with the offsets of its structures so tests can cut or damage it at the right places.
struct Built {
    QByteArray bytes;
    std::map<QString, quint64> offsets;  // "triage", "context", "unloaded", "stack", "drivers", "strings", "valid", …
    std::vector<quint64> boundaries;     // every place where one structure ends and the next begins, ascending
};

Built buildKernelDump(const KernelDumpSpec& spec);

struct UserDumpSpec {
    std::optional<quint32> exceptionCode = 0xC0000005u;
    quint64 exceptionAddress = 0;
    std::vector<Driver> modules;  // names are full paths; the first module is the program
    quint16 architecture = 9;     // PROCESSOR_ARCHITECTURE_AMD64
    quint8 processors = 4;
    quint32 build = 22621;
    quint32 timestamp = 0;  // seconds since 1970
};

Built buildUserDump(const UserDumpSpec& spec);

/// A typical small dump: a 64-bit Windows 10 machine, the kernel, the HAL and `extraDrivers` more drivers, three
/// unloaded drivers, a saved stack. Deterministic for a given `seed`.
KernelDumpSpec typicalSmallDump(int seed, int extraDrivers = 150);

// Little-endian patching of built bytes.
void put16(QByteArray& bytes, quint64 offset, quint16 value);
void put32(QByteArray& bytes, quint64 offset, quint32 value);
void put64(QByteArray& bytes, quint64 offset, quint64 value);

enum class ArchiveFormat { Zip, SevenZip, Cab };
using ArchiveEntries = std::vector<std::pair<QString, QByteArray>>;

/// Packs `entries` (name, bytes): zip and 7z through libarchive; cab, which libarchive cannot write, by this
/// builder's own uncompressed cabinet writer.
QByteArray buildArchive(ArchiveFormat format, const ArchiveEntries& entries);

/// Writes `bytes` to `path` (creating folders); false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);

}  // namespace tervolin::test::dumps
