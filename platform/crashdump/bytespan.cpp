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
