#include "platform/crashdump/bytesource.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tervolin::platform::crashdump {

namespace {

// Read buffers are taken back once no span holds them any more, so a scan of many files reuses the same few
// buffers instead of growing and trimming the heap for every file. Only buffers up to kPooledMax are kept.
constexpr qsizetype kPooledMax = 256 << 10;
thread_local std::array<QByteArray, 4> t_buffers;

}  // namespace

ByteSpan ByteSource::read(quint64 offset, quint64 size)
{
    const quint64 total = this->size();
    if (size > kMaxSlice || offset >= total)
        return ByteSpan(offset, {});
    const quint64 length = std::min(size, total - offset);
    if (length == 0)
        return ByteSpan(offset, {});
    if (const auto cached = last_.read(offset, length))
        return *cached;
    const qsizetype wanted = qsizetype(length);
    // A free pooled buffer that is large enough (the smallest such) is taken out of the pool while it is filled:
    // filling may read another source on this thread (an archive entry pulls from its archive), and that read must
    // not pick the same buffer.
    QByteArray* slot = nullptr;
    for (QByteArray& buffer : t_buffers)
        if (buffer.isDetached() && buffer.capacity() >= wanted && (!slot || buffer.capacity() < slot->capacity()))
            slot = &buffer;
    QByteArray bytes = slot ? std::move(*slot) : QByteArray(wanted, Qt::Uninitialized);
    bytes.resize(wanted);
    const qint64 n = readAt(offset, length, bytes.data());
    bytes.resize(n < 0 ? 0 : qsizetype(std::min<quint64>(quint64(n), length)));
    if (bytes.capacity() <= kPooledMax) {
        for (QByteArray& buffer : t_buffers) {
            if (buffer.isNull() || buffer.isDetached()) {
                buffer = bytes;  // shared: it is free again once the last span lets go
                break;
            }
        }
    }
    last_ = ByteSpan(offset, std::move(bytes));
    return last_;
}

std::optional<ByteSpan> ByteSource::readExact(quint64 offset, quint64 size)
{
    return read(offset, size).read(offset, size);
}

#ifdef Q_OS_UNIX

std::unique_ptr<FileSource> FileSource::open(const QString& path, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK keeps a FIFO from stalling the open; it does not change reads of a regular file.
    int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
#ifdef O_NOATIME
    int fd = ::open(name.constData(), flags | O_NOATIME);
    // O_NOATIME is refused (EPERM) on files the user does not own; read them without it.
    if (fd < 0 && errno == EPERM)
        fd = ::open(name.constData(), flags);
#else
    int fd = ::open(name.constData(), flags);
#endif
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT)
            *error = QStringLiteral("the file does not exist");
        else if (code == EACCES || code == EPERM)
            *error = QStringLiteral("the file may not be read (permission denied)");
        else
            *error = QStringLiteral("the file cannot be opened: %1").arg(QString::fromLocal8Bit(std::strerror(code)));
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        *error = QStringLiteral("the file cannot be examined: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = S_ISDIR(info.st_mode) ? QStringLiteral("it is a folder, not a file")
                                       : QStringLiteral("it is not a regular file (a device, pipe or socket)");
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<FileSource> source(new FileSource);
    source->fd_ = fd;
    source->size_ = quint64(info.st_size);
    return source;
}

FileSource::~FileSource()
{
    if (fd_ >= 0)
        ::close(fd_);
}

qint64 FileSource::readAt(quint64 offset, quint64 size, char* into)
{
    quint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, into + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;  // the file shrank while it was read
        done += quint64(n);
    }
    return qint64(done);
}

#else

// Elsewhere a QFile opened read-only, unbuffered, stands in for the descriptor.
std::unique_ptr<FileSource> FileSource::open(const QString& path, QString* error)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *error = QStringLiteral("the file cannot be opened: %1").arg(file->errorString());
        return nullptr;
    }
    if (file->isSequential()) {
        *error = QStringLiteral("it is not a regular file (a device, pipe or socket)");
        return nullptr;
    }
    std::unique_ptr<FileSource> source(new FileSource);
    source->size_ = quint64(file->size());
    source->file_ = std::move(file);
    return source;
}

FileSource::~FileSource() = default;

qint64 FileSource::readAt(quint64 offset, quint64 size, char* into)
{
    if (!file_->seek(qint64(offset)))
        return -1;
    return file_->read(into, qint64(size));
}

#endif

MemorySource::MemorySource(QByteArray bytes, quint64 declaredSize)
    : bytes_(std::move(bytes)), size_(std::max(declaredSize, quint64(bytes_.size())))
{
}

qint64 MemorySource::readAt(quint64 offset, quint64 size, char* into)
{
    if (offset >= quint64(bytes_.size()))
        return 0;
    const quint64 available = std::min(size, quint64(bytes_.size()) - offset);
    std::memcpy(into, bytes_.constData() + offset, size_t(available));
    return qint64(available);
}

StreamSource::StreamSource(Pull pull, quint64 declaredSize, quint64 cap)
    : pull_(std::move(pull)), declared_(declaredSize), cap_(cap)
{
}

quint64 StreamSource::size()
{
    if (declared_ != 0)
        return declared_;
    pullTo(cap_);
    return quint64(buffer_.size());
}

void StreamSource::pullTo(quint64 end)
{
    end = std::min(end, cap_);
    while (!ended_ && quint64(buffer_.size()) < end) {
        const qint64 chunk = qint64(std::min<quint64>(64u << 10, end - quint64(buffer_.size())));
        const qsizetype old = buffer_.size();
        buffer_.resize(old + qsizetype(chunk));
        const qint64 n = pull_(buffer_.data() + old, chunk);
        if (n <= 0) {
            buffer_.resize(old);
            ended_ = true;
            failed_ = n < 0;
            break;
        }
        buffer_.resize(old + qsizetype(std::min(n, chunk)));
    }
    if (!ended_ && quint64(buffer_.size()) >= cap_) {
        // Whatever lies past the cap stays unread: the entry may be far larger than any dump slice we need.
        char probe = 0;
        if (pull_(&probe, 1) > 0)
            capped_ = true;
        ended_ = true;
    }
}

qint64 StreamSource::readAt(quint64 offset, quint64 size, char* into)
{
    pullTo(size > cap_ - std::min(offset, cap_) ? cap_ : offset + size);
    if (offset >= quint64(buffer_.size()))
        return 0;
    const quint64 available = std::min(size, quint64(buffer_.size()) - offset);
    std::memcpy(into, buffer_.constData() + offset, size_t(available));
    return qint64(available);
}

}  // namespace tervolin::platform::crashdump
