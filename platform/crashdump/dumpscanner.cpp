#include "platform/crashdump/dumpscanner.h"

#include "platform/crashdump/archivereader.h"
#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpreader.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace tervolin::platform::crashdump {

namespace {

bool cancelled(const std::atomic_bool* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// A file to read, or a problem met while collecting (a missing path, an unreadable folder).
struct Item {
    QString path;
    std::optional<DumpInfo> problem;
};

class Collector {
public:
    Collector(const ScanOptions& options, const std::atomic_bool* cancel) : options_(options), cancel_(cancel) {}

    void add(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) {
            items_.push_back({path, DumpInfo::failure(path, ReadError::CannotOpen, QStringLiteral("the file does not exist"))});
            return;
        }
        if (info.isDir())
            walk(path, 0);
        else
            items_.push_back({path, std::nullopt});
    }

    std::vector<Item>& items() { return items_; }

private:
    void walk(const QString& folder, int depth)
    {
        if (cancelled(cancel_))
            return;
        const QFileInfo self(folder);
        if (!self.isReadable() || !self.isExecutable()) {
            items_.push_back({folder, DumpInfo::failure(folder, ReadError::CannotOpen,
                                              QStringLiteral("the folder cannot be read (permission denied)"))});
            return;
        }
        // The directory entries' own types decide what is a folder, without a stat per file. Linked folders are
        // not followed: a mounted Windows disk has junctions that loop.
        struct Entry {
            QString name;
            QString path;
            bool folder;
        };
        std::vector<Entry> entries;
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (info.isDir()) {
                if (!info.isSymLink())
                    entries.push_back({it.fileName(), it.filePath(), true});
            } else if (isScannedName(it.fileName())) {
                entries.push_back({it.fileName(), it.filePath(), false});
            }
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
        for (const Entry& entry : entries) {
            if (!entry.folder)
                items_.push_back({entry.path, std::nullopt});
            else if (depth + 1 > options_.maxDepth)
                items_.push_back({entry.path, DumpInfo::failure(entry.path, ReadError::CannotOpen,
                                                      QStringLiteral("the folder lies too deep to be scanned"))});
            else
                walk(entry.path, depth + 1);
        }
    }

    const ScanOptions& options_;
    const std::atomic_bool* cancel_;
    std::vector<Item> items_;
};

bool looksLikeDumpName(const QString& name)
{
    return name.endsWith(QLatin1String(".dmp"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".mdmp"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".hdmp"), Qt::CaseInsensitive);
}

// Reads the entries of one archive; false when cancelled.
bool scanArchive(ByteSource& source, const QString& path, const ScanCallbacks& callbacks,
                 const std::atomic_bool* cancel, const ScanOptions& options)
{
    ArchiveReader reader(source);
    if (!reader.open()) {
        callbacks.result(DumpInfo::failure(path, ReadError::ArchiveUnreadable,
                                 QStringLiteral("the archive cannot be read: %1").arg(reader.error())));
        return true;
    }
    ArchiveReader::Entry entry;
    quint32 seen = 0;
    while (reader.next(&entry)) {
        if (cancelled(cancel))
            return false;
        const QString name = path + QLatin1Char('/') + entry.name;
        if (++seen > options.maxArchiveEntries) {
            callbacks.result(DumpInfo::failure(path, ReadError::ArchiveUnreadable,
                                     QStringLiteral("the archive holds more than %1 files; the rest were skipped")
                                         .arg(options.maxArchiveEntries)));
            return true;
        }
        if (entry.encrypted) {
            if (looksLikeDumpName(entry.name))
                callbacks.result(DumpInfo::failure(name, ReadError::ArchiveUnreadable,
                                         QStringLiteral("the archive entry is password-protected")));
            continue;
        }
        auto stream = reader.entrySource(entry, options.entryCap);
        const ByteSpan first = stream->read(0, 8);
        const FileKind kind = sniff(first.bytes(0, first.size()));
        if (stream->failed()) {
            callbacks.result(DumpInfo::failure(name, ReadError::ArchiveUnreadable,
                                     QStringLiteral("the archive entry cannot be read: %1").arg(reader.error())));
            continue;
        }
        if (kind == FileKind::Archive) {
            callbacks.result(DumpInfo::failure(name, ReadError::NestedArchive,
                                     QStringLiteral("an archive inside an archive is not opened; unpack it first")));
            continue;
        }
        if (kind == FileKind::Other && !looksLikeDumpName(entry.name))
            continue;  // a read-me or other companion file
        DumpInfo info = readDump(*stream, name, options.read);
        if (stream->failed() && info.ok())
            info.warn(WarningKind::Truncated,
                      QStringLiteral("the archive entry is damaged and could not be read to its end: %1")
                          .arg(reader.error()));
        else if (stream->failed())
            info = DumpInfo::failure(name, ReadError::ArchiveUnreadable,
                           QStringLiteral("the archive entry cannot be read: %1").arg(reader.error()));
        else if (stream->capped() && info.ok())
            info.warn(WarningKind::EntryCapped,
                      QStringLiteral("only the first %1 MiB of the archive entry were read")
                          .arg(options.entryCap >> 20));
        callbacks.result(std::move(info));
    }
    if (!reader.error().isEmpty())
        callbacks.result(DumpInfo::failure(path, ReadError::ArchiveUnreadable,
                                 QStringLiteral("the archive is damaged: %1").arg(reader.error())));
    return true;
}

}  // namespace

bool isScannedName(const QString& fileName)
{
    return looksLikeDumpName(fileName) || fileName.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) ||
           fileName.endsWith(QLatin1String(".7z"), Qt::CaseInsensitive) ||
           fileName.endsWith(QLatin1String(".cab"), Qt::CaseInsensitive);
}

bool scanPaths(const QStringList& paths, const ScanCallbacks& callbacks, const std::atomic_bool* cancel,
               const ScanOptions& options)
{
    Collector collector(options, cancel);
    for (const QString& path : paths)
        collector.add(path);
    std::vector<Item>& items = collector.items();
    const qint64 total = qint64(items.size());
    if (callbacks.progress)
        callbacks.progress(0, total);
    qint64 done = 0;
    for (Item& item : items) {
        if (cancelled(cancel))
            return false;
        if (item.problem) {
            callbacks.result(std::move(*item.problem));
        } else {
            QString error;
            auto source = FileSource::open(item.path, &error);
            if (!source)
                callbacks.result(DumpInfo::failure(item.path, ReadError::CannotOpen, error));
            else if (!scanSource(*source, item.path, callbacks, cancel, options))
                return false;
        }
        if (callbacks.progress)
            callbacks.progress(++done, total);
    }
    return !cancelled(cancel);
}

bool scanSource(ByteSource& source, const QString& name, const ScanCallbacks& callbacks,
                const std::atomic_bool* cancel, const ScanOptions& options)
{
    // The same first read serves the dump reader (ByteSource keeps it).
    const ByteSpan head = source.read(0, kHeadBytes);
    if (sniff(head.bytes(0, std::min<quint64>(head.size(), 8))) == FileKind::Archive)
        return scanArchive(source, name, callbacks, cancel, options);
    callbacks.result(readDump(source, name, options.read));
    return true;
}

std::vector<DumpInfo> scanPaths(const QStringList& paths, const std::atomic_bool* cancel, const ScanOptions& options)
{
    std::vector<DumpInfo> results;
    ScanCallbacks callbacks;
    callbacks.result = [&results](DumpInfo&& info) { results.push_back(std::move(info)); };
    scanPaths(paths, callbacks, cancel, options);
    return results;
}

}  // namespace tervolin::platform::crashdump
