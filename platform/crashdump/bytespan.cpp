#include "platform/crashdump/bytespan.h"

#include <limits>

namespace tervolin::platform::crashdump {

ByteSpan::ByteSpan(quint64 base, QByteArray bytes) : base_(base), data_(std::move(bytes)), size_(quint64(data_.size()))
{
    // A span whose last byte would lie past the largest offset holds nothing.
    if (size_ > std::numeric_limits<quint64>::max() - base_) {
        data_.clear();
        size_ = 0;
    }
}

bool ByteSpan::contains(quint64 offset, quint64 size) const
{
    if (offset < base_)
        return false;
    const quint64 relative = offset - base_;
    return relative <= size_ && size <= size_ - relative;
}

std::optional<ByteSpan> ByteSpan::read(quint64 offset, quint64 size) const
{
    if (!contains(offset, size))
        return std::nullopt;
    ByteSpan part;
    part.base_ = offset;
    part.data_ = data_;
    part.begin_ = begin_ + (offset - base_);
    part.size_ = size;
    return part;
}

const uchar* ByteSpan::at(quint64 offset, quint64 size) const
{
    if (!contains(offset, size))
        return nullptr;
    return reinterpret_cast<const uchar*>(data_.constData()) + begin_ + (offset - base_);
}

std::optional<quint8> ByteSpan::u8(quint64 offset) const
{
    const uchar* p = at(offset, 1);
    if (!p)
        return std::nullopt;
    return p[0];
}

std::optional<quint16> ByteSpan::u16(quint64 offset) const
{
    const uchar* p = at(offset, 2);
    if (!p)
        return std::nullopt;
    return quint16(p[0] | (p[1] << 8));
}

std::optional<quint32> ByteSpan::u32(quint64 offset) const
{
    const uchar* p = at(offset, 4);
    if (!p)
        return std::nullopt;
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

std::optional<quint64> ByteSpan::u64(quint64 offset) const
{
    const uchar* p = at(offset, 8);
    if (!p)
        return std::nullopt;
    quint64 value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

std::optional<quint64> ByteSpan::word(quint64 offset, int width) const
{
    if (width == 32) {
        const auto value = u32(offset);
        return value ? std::optional<quint64>(*value) : std::nullopt;
    }
    return u64(offset);
}

bool ByteSpan::hasTag(quint64 offset, const char (&tag)[5]) const
{
    const uchar* p = at(offset, 4);
    return p && p[0] == uchar(tag[0]) && p[1] == uchar(tag[1]) && p[2] == uchar(tag[2]) && p[3] == uchar(tag[3]);
}

QByteArrayView ByteSpan::bytes(quint64 offset, quint64 size) const
{
    const uchar* p = at(offset, size);
    if (!p)
        return {};
    return QByteArrayView(p, qsizetype(size));
}

}  // namespace tervolin::platform::crashdump
