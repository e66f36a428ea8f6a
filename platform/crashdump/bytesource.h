#pragma once
// Where dump bytes come from: a file opened read-only, bytes in memory, or an archive entry that is streamed
// on demand. A reader asks for bounded slices only; no source ever hands out more than kMaxSlice bytes at once,
// so nothing reads a whole dump.

#include "platform/crashdump/bytespan.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QFile;

namespace tervolin::platform::crashdump {

class ByteSource {
public:
    /// The largest slice one read returns.
    static constexpr quint64 kMaxSlice = 4u << 20;

    virtual ~ByteSource() = default;
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    /// The size of the file or entry (for an archive entry, the size its archive declares).
    virtual quint64 size() = 0;

    /// The bytes at [offset, offset + size) as far as they can be read: shorter at the end of the data, empty on a
    /// read error or when `size` exceeds kMaxSlice. Callers check what they use through the span. A read that lies
    /// inside the previous one is served from it.
    ByteSpan read(quint64 offset, quint64 size);
    /// The exact slice, or nothing when not all of it can be read.
    std::optional<ByteSpan> readExact(quint64 offset, quint64 size);

protected:
    /// Reads up to `size` bytes at `offset` (never past size()) into `into`; returns how many (fewer at the end),
    /// or -1 on an error.
    virtual qint64 readAt(quint64 offset, quint64 size, char* into) = 0;

private:
    ByteSpan last_;  // the latest slice read: a read inside it is served from memory
};

/// A file opened for reading only: O_RDONLY (with O_NOATIME where the system permits it, silently without where
/// not), never locked, never written, its times left alone. Only regular files are accepted.
class FileSource final : public ByteSource {
public:
    /// Opens `path`; null with `error` set (a sentence without the path) when it cannot be opened or is not a
    /// regular file.
    static std::unique_ptr<FileSource> open(const QString& path, QString* error);
    ~FileSource() override;

    quint64 size() override { return size_; }

protected:
    qint64 readAt(quint64 offset, quint64 size, char* into) override;

private:
    FileSource() = default;
    int fd_ = -1;                 // POSIX systems
    std::unique_ptr<QFile> file_;  // elsewhere
    quint64 size_ = 0;
};

/// Bytes already in memory. `declaredSize`, when larger than the bytes, is the size of the whole file that the
/// bytes begin (an archive entry read in part); what lies past the bytes reads as missing.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(QByteArray bytes, quint64 declaredSize = 0);
    quint64 size() override { return size_; }

protected:
    qint64 readAt(quint64 offset, quint64 size, char* into) override;

private:
    QByteArray bytes_;
    quint64 size_;
};

/// A forward-only stream (an archive entry being decompressed) read on demand: the bytes pulled so far are kept,
/// up to `cap`, so slices may be asked for in any order; nothing past the furthest slice asked for is pulled.
class StreamSource final : public ByteSource {
public:
    /// Fills the buffer with up to `max` bytes; returns how many (0 at the end, negative on an error).
    using Pull = std::function<qint64(char* buffer, qint64 max)>;
    /// `declaredSize` 0 means unknown: size() then pulls the stream to its end or to `cap`.
    StreamSource(Pull pull, quint64 declaredSize, quint64 cap);
    quint64 size() override;
    /// True when pulling failed (a damaged archive entry).
    bool failed() const { return failed_; }
    /// True when the entry is larger than the cap, so its end could not be read.
    bool capped() const { return capped_; }

protected:
    qint64 readAt(quint64 offset, quint64 size, char* into) override;

private:
    void pullTo(quint64 end);

    Pull pull_;
    QByteArray buffer_;
    quint64 declared_;
    quint64 cap_;
    bool ended_ = false;
    bool failed_ = false;
    bool capped_ = false;
};

}  // namespace tervolin::platform::crashdump
