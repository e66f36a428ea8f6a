#include "tests/crashdump/dumpbuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <set>

namespace tervolin::test::dumps {

void put16(QByteArray& bytes, quint64 offset, quint16 value)
{
    for (int i = 0; i < 2; ++i)
        bytes[qsizetype(offset) + i] = char((value >> (8 * i)) & 0xFF);
}

void put32(QByteArray& bytes, quint64 offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[qsizetype(offset) + i] = char((value >> (8 * i)) & 0xFF);
}

void put64(QByteArray& bytes, quint64 offset, quint64 value)
{
    for (int i = 0; i < 8; ++i)
        bytes[qsizetype(offset) + i] = char((value >> (8 * i)) & 0xFF);
}

namespace {

quint64 align8(quint64 value)
{
    return (value + 7) & ~quint64(7);
}

void putWord(QByteArray& bytes, quint64 offset, quint64 value, bool is64)
{
    if (is64)
        put64(bytes, offset, value);
    else
        put32(bytes, offset, quint32(value));
}

void putUtf16(QByteArray& bytes, quint64 offset, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        put16(bytes, offset + quint64(2 * i), text[i].unicode());
}

// Grows `bytes` to `size` (zero bytes).
void reserve(QByteArray& bytes, quint64 size)
{
    if (quint64(bytes.size()) < size)
        bytes.append(QByteArray(qsizetype(size) - bytes.size(), '\0'));
}

quint64 fileTime(const QDateTime& time)
{
    return (quint64(time.toSecsSinceEpoch()) + 11'644'473'600ull) * 10'000'000ull;
}

struct HeaderOffsets {
    quint64 size, machine, processors, code, parameters, dumpType, required, systemTime, upTime, attributes;
};

}  // namespace

Built buildKernelDump(const KernelDumpSpec& spec)
{
    const bool w = spec.is64;
    const HeaderOffsets h = w ? HeaderOffsets{0x2000, 0x30, 0x34, 0x38, 0x40, 0xF98, 0xFA0, 0xFA8, 0x1030, 0x1050}
                              : HeaderOffsets{0x1000, 0x20, 0x24, 0x28, 0x2C, 0xF88, 0xFA0, 0xFC0, 0xFB8, 0x8A0};
    const quint64 word = w ? 8 : 4;
    Built built;
    QByteArray& b = built.bytes;
    b = QByteArray(qsizetype(h.size), '\0');
    for (quint64 i = 0; i < h.size; i += 4)
        b.replace(qsizetype(i), 4, "PAGE");
    b.replace(0, 8, w ? "PAGEDU64" : "PAGEDUMP");
    put32(b, 0x08, 0xF);
    if (spec.build)
        put32(b, 0x0C, *spec.build);
    if (spec.machine)
        put32(b, h.machine, *spec.machine);
    if (spec.processors)
        put32(b, h.processors, *spec.processors);
    put32(b, h.code, spec.code);
    if (w)
        put32(b, 0x3C, 0);  // alignment before the 64-bit parameters
    for (int i = 0; i < 4; ++i)
        putWord(b, h.parameters + quint64(i) * word, spec.parameters[size_t(i)], w);
    put32(b, h.dumpType, spec.dumpType);
    if (spec.crashTime)
        put64(b, h.systemTime, fileTime(*spec.crashTime));
    if (spec.uptimeSeconds)
        put64(b, h.upTime, *spec.uptimeSeconds * 10'000'000ull);
    if (spec.attributes)
        put32(b, h.attributes, *spec.attributes);
    built.offsets[QStringLiteral("header")] = 0;
    std::set<quint64> boundaries{8, h.parameters + 4 * word, h.size};

    if (spec.dumpType == 4) {
        const quint64 t = h.size;
        built.offsets[QStringLiteral("triage")] = t;
        quint64 at = t + 0x100;
        boundaries.insert(t + 0x50);
        // Context record.
        const quint64 contextSize = w ? 0x4D0 : 0x2CC;
        const quint64 context = at;
        reserve(b, context + contextSize);
        if (spec.instructionPointer) {
            const quint64 ip = !w ? 0xB8 : spec.machine == 0xAA64u ? 0x108 : 0xF8;
            putWord(b, context + ip, *spec.instructionPointer, w);
        }
        at = align8(context + contextSize);
        boundaries.insert(at);
        // Unloaded drivers: a count, then the entries.
        const quint64 unloaded = at;
        const quint64 first = unloaded + (w ? 8 : 4);
        const quint64 entry = w ? 0x38 : 0x28;
        reserve(b, first + entry * spec.unloaded.size());
        putWord(b, unloaded, spec.unloaded.size(), w);
        for (size_t i = 0; i < spec.unloaded.size(); ++i) {
            const quint64 e = first + entry * i;
            const QString name = spec.unloaded[i].name.left(12);
            put16(b, e, quint16(name.size() * 2));
            putUtf16(b, e + (w ? 0x10 : 0x08), name);
            putWord(b, e + (w ? 0x28 : 0x20), spec.unloaded[i].start, w);
            putWord(b, e + (w ? 0x30 : 0x24), spec.unloaded[i].end, w);
        }
        at = align8(first + entry * spec.unloaded.size());
        boundaries.insert(first);
        boundaries.insert(at);
        // The saved stack.
        const quint64 stack = at;
        reserve(b, stack + word * spec.stack.size());
        for (size_t i = 0; i < spec.stack.size(); ++i)
            putWord(b, stack + word * i, spec.stack[i], w);
        at = align8(stack + word * spec.stack.size());
        boundaries.insert(at);
        // The driver list, then the string pool with the names.
        const quint64 drivers = at;
        const quint64 driverEntry = w ? 0x90 : 0x4C;
        const quint64 strings = align8(drivers + driverEntry * spec.drivers.size());
        reserve(b, strings);
        quint64 name = strings;
        for (size_t i = 0; i < spec.drivers.size(); ++i) {
            const Driver& d = spec.drivers[i];
            const quint64 e = drivers + driverEntry * i;
            put32(b, e, quint32(name));
            putWord(b, e + (w ? 0x38 : 0x1C), d.base, w);
            put32(b, e + (w ? 0x48 : 0x24), d.size);
            put32(b, e + (w ? 0x88 : 0x48), d.timestamp);
            reserve(b, name + 4 + 2 * quint64(d.name.size()) + 2);
            put32(b, name, quint32(d.name.size()));
            putUtf16(b, name + 4, d.name);
            built.offsets[QStringLiteral("name%1").arg(i)] = name;
            name = align8(name + 4 + 2 * quint64(d.name.size()) + 2);
            reserve(b, name);
        }
        for (size_t i = 0; i <= spec.drivers.size(); ++i)
            boundaries.insert(drivers + driverEntry * i);
        boundaries.insert(strings);
        // The validity marker closes the triage data.
        const quint64 valid = name;
        reserve(b, valid + 4);
        b.replace(qsizetype(valid), 4, "TRGD");
        boundaries.insert(valid);
        const quint64 total = valid + 4;

        built.offsets[QStringLiteral("context")] = context;
        built.offsets[QStringLiteral("unloaded")] = unloaded;
        built.offsets[QStringLiteral("stack")] = stack;
        built.offsets[QStringLiteral("drivers")] = drivers;
        built.offsets[QStringLiteral("strings")] = strings;
        built.offsets[QStringLiteral("valid")] = valid;
        put32(b, t + 0x00, 19041);
        put32(b, t + 0x04, quint32(total));
        put32(b, t + 0x08, quint32(valid));
        put32(b, t + 0x0C, quint32(context));
        put32(b, t + 0x18, quint32(unloaded));
        put32(b, t + 0x28, quint32(stack));
        put32(b, t + 0x2C, quint32(word * spec.stack.size()));
        put32(b, t + 0x30, quint32(drivers));
        put32(b, t + 0x34, quint32(spec.drivers.size()));
        put32(b, t + 0x38, quint32(strings));
        put32(b, t + 0x3C, quint32(name - strings));
        put64(b, h.required, total);
    } else {
        const quint64 total = std::max<quint64>(spec.totalSize, h.size + 0x1000);
        if (spec.dumpType == 5 || spec.dumpType == 6) {
            // The bitmap header that follows the dump header.
            reserve(b, h.size + 0x1000);
            b.replace(qsizetype(h.size), 8, spec.dumpType == 5 ? "FDMPDUMP" : "SDMPDUMP");
            boundaries.insert(h.size + 0x38);
        }
        put64(b, h.required, total);
        built.offsets[QStringLiteral("total")] = total;
        // Only the header and what follows it are written; a caller that wants the full size extends the file.
        if (total <= (64u << 20))
            reserve(b, total);
    }
    boundaries.insert(quint64(b.size()));
    built.boundaries.assign(boundaries.begin(), boundaries.end());
    return built;
}

Built buildUserDump(const UserDumpSpec& spec)
{
    Built built;
    QByteArray& b = built.bytes;
    // Header, a directory of three streams, then the streams.
    const quint64 directory = 0x20;
    const quint32 streams = spec.exceptionCode ? 3 : 2;
    quint64 at = directory + 12 * streams;
    b = QByteArray(qsizetype(at), '\0');
    b.replace(0, 4, "MDMP");
    put16(b, 4, 0xA793);
    put32(b, 8, streams);
    put32(b, 0xC, quint32(directory));
    put32(b, 0x14, spec.timestamp);
    std::set<quint64> boundaries{4, 0x20, at};

    // System information.
    const quint64 system = at;
    reserve(b, system + 0x38);
    put16(b, system, spec.architecture);
    b[qsizetype(system + 6)] = char(spec.processors);
    put32(b, system + 8, 10);
    put32(b, system + 0x10, spec.build);
    at = system + 0x38;
    boundaries.insert(at);

    // Exception stream: thread id, alignment, MINIDUMP_EXCEPTION, thread context location.
    quint64 exception = 0;
    if (spec.exceptionCode) {
        exception = at;
        reserve(b, exception + 0xA8);
        put32(b, exception, 1234);
        put32(b, exception + 8, *spec.exceptionCode);
        put64(b, exception + 0x18, spec.exceptionAddress);
        at = exception + 0xA8;
        boundaries.insert(at);
    }

    // Module list, then the names.
    const quint64 modules = at;
    const quint64 moduleSize = 108;
    at = modules + 4 + moduleSize * spec.modules.size();
    reserve(b, at);
    put32(b, modules, quint32(spec.modules.size()));
    for (size_t i = 0; i <= spec.modules.size(); ++i)
        boundaries.insert(modules + 4 + moduleSize * i);
    for (size_t i = 0; i < spec.modules.size(); ++i) {
        const quint64 e = modules + 4 + moduleSize * i;
        const Driver& m = spec.modules[i];
        put64(b, e, m.base);
        put32(b, e + 8, m.size);
        put32(b, e + 0x10, m.timestamp);
        const quint64 name = align8(at);
        reserve(b, name + 4 + 2 * quint64(m.name.size()) + 2);
        put32(b, e + 0x14, quint32(name));
        put32(b, name, quint32(m.name.size() * 2));
        putUtf16(b, name + 4, m.name);
        built.offsets[QStringLiteral("name%1").arg(i)] = name;
        at = name + 4 + 2 * quint64(m.name.size()) + 2;
    }
    const quint32 modulesSize = quint32(4 + moduleSize * spec.modules.size());

    quint64 entry = directory;
    const auto addStream = [&](quint32 type, quint32 size, quint64 rva) {
        put32(b, entry, type);
        put32(b, entry + 4, size);
        put32(b, entry + 8, quint32(rva));
        entry += 12;
    };
    addStream(7, 0x38, system);
    if (spec.exceptionCode)
        addStream(6, 0xA8, exception);
    addStream(4, modulesSize, modules);
    built.offsets[QStringLiteral("directory")] = directory;
    built.offsets[QStringLiteral("system")] = system;
    built.offsets[QStringLiteral("exception")] = exception;
    built.offsets[QStringLiteral("modules")] = modules;
    boundaries.insert(quint64(b.size()));
    built.boundaries.assign(boundaries.begin(), boundaries.end());
    return built;
}

KernelDumpSpec typicalSmallDump(int seed, int extraDrivers)
{
    KernelDumpSpec spec;
    spec.code = 0x3B;
    const quint64 kernelBase = 0xFFFFF80000000000ull + (quint64(seed % 64) << 24);
    spec.drivers.push_back({QStringLiteral("ntoskrnl.exe"), kernelBase, 0x1046000, 0x5F1D2C3B});
    spec.drivers.push_back({QStringLiteral("hal.dll"), kernelBase + 0x2000000, 0x6000, 0x5F1D2C3C});
    quint64 base = 0xFFFFF80010000000ull;
    for (int i = 0; i < extraDrivers; ++i) {
        const quint32 size = 0x10000u + quint32((i * 7919 + seed * 104729) % 0x80000);
        spec.drivers.push_back({QStringLiteral("driver%1_%2.sys").arg(i).arg(seed), base, size, 0x5A000000u + quint32(i)});
        base += (quint64(size) + 0xFFFF) & ~quint64(0xFFFF);
    }
    const Driver& culprit = spec.drivers[2 + size_t(seed) % size_t(std::max(extraDrivers, 1))];
    spec.parameters = {0xC0000005, culprit.base + 0x1234, 0xFFFFD0012345F000ull, 0};
    spec.instructionPointer = kernelBase + 0x3F5A10;  // inside the kernel, as in KeBugCheckEx
    spec.unloaded = {{QStringLiteral("dump_dumpfve.sys"), 0xFFFFF80090000000ull, 0xFFFFF80090020000ull},
                     {QStringLiteral("WUDFRd.sys"), 0xFFFFF800A0000000ull, 0xFFFFF800A0040000ull},
                     {QStringLiteral("mouhid.sys"), 0xFFFFF800B0000000ull, 0xFFFFF800B0010000ull}};
    for (int i = 0; i < 512; ++i)
        spec.stack.push_back(i % 17 == 5 ? kernelBase + 0x100 * quint64(i) : 0xFFFFD00012340000ull + 8 * quint64(i));
    spec.crashTime = QDateTime(QDate(2024, 3, 1 + seed % 28), QTime(8, seed % 60, 0), Qt::UTC);
    spec.uptimeSeconds = 3600 + quint64(seed);
    return spec;
}

QByteArray buildArchive(ArchiveFormat format, const ArchiveEntries& entries)
{
    QByteArray out;
    if (format == ArchiveFormat::Cab) {
        // CFHEADER, one CFFOLDER without compression, the CFFILE entries, then CFDATA blocks of at most 32 KiB.
        QByteArray data;
        for (const auto& [name, bytes] : entries)
            data += bytes;
        QByteArray files;
        quint32 offset = 0;
        for (const auto& [name, bytes] : entries) {
            QByteArray record(16, '\0');
            put32(record, 0, quint32(bytes.size()));
            put32(record, 4, offset);
            put16(record, 8, 0);
            put16(record, 10, quint16(((2024 - 1980) << 9) | (3 << 5) | 1));
            put16(record, 12, quint16(12 << 11));
            put16(record, 14, 0x20 | 0x80);  // archive, name in UTF-8
            files += record + name.toUtf8() + '\0';
            offset += quint32(bytes.size());
        }
        const quint64 blocks = std::max<quint64>(1, (quint64(data.size()) + 32767) / 32768);
        const quint64 headerSize = 36 + 8;
        const quint64 dataStart = headerSize + quint64(files.size());
        QByteArray cab(qsizetype(headerSize), '\0');
        cab.replace(0, 4, "MSCF");
        put32(cab, 16, quint32(headerSize));
        cab[24] = 3;
        cab[25] = 1;
        put16(cab, 26, 1);
        put16(cab, 28, quint16(entries.size()));
        put32(cab, 36, quint32(dataStart));
        put16(cab, 40, quint16(blocks));
        put16(cab, 42, 0);
        cab += files;
        for (quint64 i = 0; i < blocks; ++i) {
            const QByteArray chunk = data.mid(qsizetype(i * 32768), 32768);
            QByteArray block(8, '\0');
            put16(block, 4, quint16(chunk.size()));
            put16(block, 6, quint16(chunk.size()));
            cab += block + chunk;
        }
        put32(cab, 8, quint32(cab.size()));
        return cab;
    }

    archive* a = archive_write_new();
    if (format == ArchiveFormat::Zip)
        archive_write_set_format_zip(a);
    else
        archive_write_set_format_7zip(a);
    archive_write_set_bytes_in_last_block(a, 1);  // no padding: the archive ends where its data ends
    archive_write_open2(
        a, &out, nullptr,
        [](archive*, void* data, const void* buffer, size_t length) -> la_ssize_t {
            static_cast<QByteArray*>(data)->append(static_cast<const char*>(buffer), qsizetype(length));
            return la_ssize_t(length);
        },
        nullptr, nullptr);
    for (const auto& [name, bytes] : entries) {
        archive_entry* entry = archive_entry_new();
        const QByteArray path = name.toUtf8();
        archive_entry_set_pathname_utf8(entry, path.constData());
        archive_entry_set_size(entry, bytes.size());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_write_header(a, entry);
        archive_write_data(a, bytes.constData(), size_t(bytes.size()));
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace tervolin::test::dumps
