#pragma once
// Reading one crash dump: a kernel dump (64- or 32-bit header), or an application minidump. Only the header and a
// few bounded slices are read, through ByteSource; the file is never written, locked or touched in its times.

#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpinfo.h"

#include <QByteArrayView>

namespace tervolin::platform::crashdump {

/// What a file's first bytes say it is.
enum class FileKind : quint8 { Kernel64, Kernel32, User, Archive, Other };
FileKind sniff(QByteArrayView firstBytes);

/// Reads the dump at `path`. Never throws: a file that yields no dump comes back with errorKind and error set.
DumpInfo readDump(const QString& path);

/// Reads a dump from `source`; `name` becomes DumpInfo::file (and a "LiveKernelReports" folder in it marks the dump
/// as live).
DumpInfo readDump(ByteSource& source, const QString& name);

/// True when `name` has a path component "LiveKernelReports" (any case), where Windows keeps live dumps.
bool isInLiveReportsFolder(const QString& name);

}  // namespace tervolin::platform::crashdump
