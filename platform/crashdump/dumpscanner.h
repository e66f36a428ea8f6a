#pragma once
// Reading many dumps at once: files, folders (recursively) and archives (.zip, .7z, .cab). Every dump, and every
// file or archive entry that yields none, comes back as one DumpInfo, so a folder with some bad files lists those
// with their reason and reads the rest. Plain functions without shared state: run them on a worker thread and hand
// the results to the UI from the callbacks (which run on the scanning thread).

#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpinfo.h"
#include "platform/crashdump/dumpreader.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

namespace tervolin::platform::crashdump {

struct ScanOptions {
    ReadOptions read;                    // e.g. read.driverList = false for a list of many dumps
    quint64 entryCap = 64u << 20;        // bytes kept of one archive entry (a small dump is far smaller)
    quint32 maxArchiveEntries = 100000;  // entries looked at in one archive
    int maxDepth = 64;                   // folder levels below a given folder
};

struct ScanCallbacks {
    /// One call per dump or bad file, in the order found.
    std::function<void(DumpInfo&&)> result;
    /// Files done of the files found (an archive counts as one file); called with (0, total) before the first.
    std::function<void(qint64 done, qint64 total)> progress;
};

/// True for the file names a folder scan looks at: *.dmp, *.mdmp, *.hdmp, *.zip, *.7z, *.cab (any case). Files
/// named directly are read whatever their name.
bool isScannedName(const QString& fileName);

/// Scans `paths`. `cancel`, when given, is checked between files and between archive entries. Returns false when
/// the scan was cancelled (results delivered so far stand).
bool scanPaths(const QStringList& paths, const ScanCallbacks& callbacks, const std::atomic_bool* cancel = nullptr,
               const ScanOptions& options = {});

/// Reads one opened file or in-memory blob named `name`: an archive's entries (decided by its first bytes, not its
/// name), else the dump it holds. False when cancelled.
bool scanSource(ByteSource& source, const QString& name, const ScanCallbacks& callbacks,
                const std::atomic_bool* cancel = nullptr, const ScanOptions& options = {});

/// scanPaths collecting the results, in the order found.
std::vector<DumpInfo> scanPaths(const QStringList& paths, const std::atomic_bool* cancel = nullptr,
                                const ScanOptions& options = {});

}  // namespace tervolin::platform::crashdump
