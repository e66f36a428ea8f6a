#pragma once
// Reading one crash dump: a kernel dump (64- or 32-bit header), or an application minidump. Only the header and a
// few bounded slices are read, through ByteSource; the file is never written, locked or touched in its times.

#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpinfo.h"

#include <QByteArrayView>

namespace tervolin::platform::crashdump {

/// How many bytes a reader takes from the start of a file in its first read: the largest dump header and the
/// small-dump header behind it.
inline constexpr quint64 kHeadBytes = 0x2050;

/// What a file's first bytes say it is.
enum class FileKind : quint8 { Kernel64, Kernel32, User, Archive, Other };
FileKind sniff(QByteArrayView firstBytes);

struct ReadOptions {
    /// Keep the loaded-driver (module) list with every name. Without it a dump still yields its driver count, the
    /// unloaded drivers and the suspect; a list of many dumps reads several times faster and keeps far less memory,
    /// and the one dump a user opens can be read again with its list.
    bool driverList = true;
};

/// Reads the dump at `path`. Never throws: a file that yields no dump comes back with errorKind and error set.
DumpInfo readDump(const QString& path, const ReadOptions& options = {});

/// Reads a dump from `source`; `name` becomes DumpInfo::file (and a "LiveKernelReports" folder in it marks the dump
/// as live).
DumpInfo readDump(ByteSource& source, const QString& name, const ReadOptions& options = {});

/// True when `name` has a path component "LiveKernelReports" (any case), where Windows keeps live dumps.
bool isInLiveReportsFolder(const QString& name);

}  // namespace tervolin::platform::crashdump
