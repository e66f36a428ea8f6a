#pragma once
// Application (user-mode) minidumps ("MDMP"): the exception code, the program, its modules and the one holding
// the exception address. Layout from the public minidumpapiset.h documentation; see README.md beside this file.

#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpinfo.h"
#include "platform/crashdump/dumpreader.h"

namespace tervolin::platform::crashdump {

namespace userdump {
constexpr quint32 kMaxStreams = 4096;
constexpr quint32 kMaxModules = 4096;
constexpr quint32 kMaxPathUnits = 1024;
constexpr quint64 kModuleSize = 108;  // MINIDUMP_MODULE (packed to 4 bytes)
}  // namespace userdump

/// Fills `info` from an application minidump whose first bytes are `head`.
void readUserDump(ByteSource& source, const ByteSpan& head, const ReadOptions& options, DumpInfo& info);

}  // namespace tervolin::platform::crashdump
