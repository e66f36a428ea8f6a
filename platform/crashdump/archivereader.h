#pragma once
// The entries of a zip, 7z or cab archive, streamed through libarchive from a ByteSource (so an archive file is
// read with the same read-only, bounded access as a dump). Entries are decompressed only as far as they are read.

#include "platform/crashdump/bytesource.h"

#include <QString>

#include <memory>

struct archive;

namespace tervolin::platform::crashdump {

class ArchiveReader {
public:
    struct Entry {
        QString name;             // the path inside the archive, control characters replaced
        quint64 declaredSize = 0;  // 0 when the archive does not say
        bool encrypted = false;
    };

    explicit ArchiveReader(ByteSource& source);
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    /// Starts reading; false with error() set when the data is no archive libarchive can read.
    bool open();
    /// Moves to the next regular-file entry. False at the end, or on damage (then error() is set).
    bool next(Entry* entry);
    /// A source that streams the current entry, keeping at most `cap` bytes; valid until next() is called.
    std::unique_ptr<StreamSource> entrySource(const Entry& entry, quint64 cap);
    /// libarchive's message for the last failure; empty when there was none.
    const QString& error() const { return error_; }

private:
    friend struct ArchiveCallbacks;
    void fail();

    ByteSource& source_;
    archive* archive_ = nullptr;
    quint64 position_ = 0;  // where the next read callback continues
    QByteArray block_;      // the bytes handed to libarchive by the last read callback
    QString error_;
};

}  // namespace tervolin::platform::crashdump
