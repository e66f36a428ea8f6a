#include "platform/crashdump/archivereader.h"

#include <QStringDecoder>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cstdio>

namespace tervolin::platform::crashdump {

namespace {

constexpr quint64 kBlock = 64u << 10;

// Entry names are labels only; anything that is not text (or could steer a terminal) becomes U+FFFD. Names without
// the UTF-8 flag are often in the Chinese Windows code page.
QString entryName(archive_entry* entry)
{
    QString name;
    if (const char* utf8 = archive_entry_pathname_utf8(entry)) {
        name = QString::fromUtf8(utf8);
    } else if (const char* raw = archive_entry_pathname(entry)) {
        const QByteArray bytes(raw);
        auto utf8Decoder = QStringDecoder(QStringDecoder::Utf8);
        name = utf8Decoder(bytes);
        if (utf8Decoder.hasError()) {
            auto gbk = QStringDecoder("GB18030");
            if (gbk.isValid()) {
                const QString decoded = gbk(bytes);
                if (!gbk.hasError())
                    name = decoded;
            }
        }
    }
    for (QChar& c : name)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            c = QChar::ReplacementCharacter;
    return name;
}

}  // namespace

struct ArchiveCallbacks {
    static la_ssize_t read(archive*, void* data, const void** buffer)
    {
        auto* self = static_cast<ArchiveReader*>(data);
        // libarchive may keep using a block after asking for the next one; each block is its own copy, which no
        // later read reuses.
        const ByteSpan span = self->source_.read(self->position_, kBlock);
        self->block_ = span.bytes(span.base(), span.size()).toByteArray();
        self->position_ += quint64(self->block_.size());
        *buffer = self->block_.constData();
        return la_ssize_t(self->block_.size());
    }

    static la_int64_t seek(archive*, void* data, la_int64_t offset, int whence)
    {
        auto* self = static_cast<ArchiveReader*>(data);
        const qint64 size = qint64(self->source_.size());
        qint64 base = 0;
        if (whence == SEEK_CUR)
            base = qint64(self->position_);
        else if (whence == SEEK_END)
            base = size;
        if ((offset < 0 && -offset > base) || (offset > 0 && offset > size - base))
            return ARCHIVE_FATAL;
        self->position_ = quint64(base + offset);
        return la_int64_t(self->position_);
    }

    static la_int64_t skip(archive*, void* data, la_int64_t request)
    {
        auto* self = static_cast<ArchiveReader*>(data);
        const quint64 size = self->source_.size();
        const quint64 room = size > self->position_ ? size - self->position_ : 0;
        const quint64 step = std::min<quint64>(quint64(std::max<la_int64_t>(request, 0)), room);
        self->position_ += step;
        return la_int64_t(step);
    }
};

ArchiveReader::ArchiveReader(ByteSource& source) : source_(source) {}

ArchiveReader::~ArchiveReader()
{
    if (archive_)
        archive_read_free(archive_);
}

void ArchiveReader::fail()
{
    const char* message = archive_ ? archive_error_string(archive_) : nullptr;
    error_ = message ? QString::fromUtf8(message) : QStringLiteral("the archive is damaged");
}

bool ArchiveReader::open()
{
    archive_ = archive_read_new();
    if (!archive_) {
        error_ = QStringLiteral("out of memory");
        return false;
    }
    archive_read_support_format_zip(archive_);
    archive_read_support_format_7zip(archive_);
    archive_read_support_format_cab(archive_);
    archive_read_set_callback_data(archive_, this);
    archive_read_set_read_callback(archive_, &ArchiveCallbacks::read);
    archive_read_set_seek_callback(archive_, &ArchiveCallbacks::seek);
    archive_read_set_skip_callback(archive_, &ArchiveCallbacks::skip);
    if (archive_read_open1(archive_) != ARCHIVE_OK) {
        fail();
        return false;
    }
    return true;
}

bool ArchiveReader::next(Entry* entry)
{
    for (;;) {
        archive_entry* header = nullptr;
        const int status = archive_read_next_header(archive_, &header);
        if (status == ARCHIVE_EOF)
            return false;
        if (status == ARCHIVE_FATAL || status == ARCHIVE_RETRY || !header) {
            fail();
            return false;
        }
        if (archive_entry_filetype(header) != AE_IFREG)
            continue;
        entry->name = entryName(header);
        entry->declaredSize = archive_entry_size_is_set(header) && archive_entry_size(header) > 0
                                  ? quint64(archive_entry_size(header))
                                  : 0;
        entry->encrypted = archive_entry_is_encrypted(header) != 0;
        return true;
    }
}

std::unique_ptr<StreamSource> ArchiveReader::entrySource(const Entry& entry, quint64 cap)
{
    return std::make_unique<StreamSource>(
        [this](char* buffer, qint64 max) -> qint64 {
            const la_ssize_t n = archive_read_data(archive_, buffer, size_t(max));
            if (n < 0)
                fail();
            return n < 0 ? -1 : qint64(n);
        },
        entry.declaredSize, cap);
}

}  // namespace tervolin::platform::crashdump
