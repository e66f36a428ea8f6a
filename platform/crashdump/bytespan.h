#pragma once
// The one window through which the dump readers look at bytes taken from a file. A span knows the file offset of
// its first byte; every access names absolute file offsets and is checked, in 64-bit arithmetic that cannot wrap,
// against the bytes that were actually read. A failed check yields nothing, never a partial value.

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include <cstdint>
#include <optional>

namespace tervolin::platform::crashdump {

class ByteSpan {
public:
    ByteSpan() = default;
    /// The bytes `bytes`, read from the file at offset `base`.
    ByteSpan(quint64 base, QByteArray bytes);

    quint64 base() const { return base_; }
    quint64 size() const { return size_; }
    /// One past the file offset of the last byte held.
    quint64 end() const { return base_ + size_; }
    bool isEmpty() const { return size_ == 0; }

    /// True when [offset, offset + size) lies inside the span.
    bool contains(quint64 offset, quint64 size) const
    {
        if (offset < base_)
            return false;
        const quint64 relative = offset - base_;
        return relative <= size_ && size <= size_ - relative;
    }
    /// The part [offset, offset + size) of this span (sharing its bytes), or nothing when it is not all there.
    std::optional<ByteSpan> read(quint64 offset, quint64 size) const;

    /// Little-endian integers at an absolute file offset.
    std::optional<quint8> u8(quint64 offset) const { return load<quint8>(offset); }
    std::optional<quint16> u16(quint64 offset) const { return load<quint16>(offset); }
    std::optional<quint32> u32(quint64 offset) const { return load<quint32>(offset); }
    std::optional<quint64> u64(quint64 offset) const { return load<quint64>(offset); }
    /// A pointer-sized value: u32 when `width` is 32, u64 otherwise.
    std::optional<quint64> word(quint64 offset, int width) const
    {
        if (width == 32) {
            const auto value = load<quint32>(offset);
            return value ? std::optional<quint64>(*value) : std::nullopt;
        }
        return load<quint64>(offset);
    }

    /// True when the four bytes at `offset` are `tag` (e.g. "PAGE").
    bool hasTag(quint64 offset, const char (&tag)[5]) const;

    /// The bytes [offset, offset + size) for decoding (checked like read()); empty when not all there.
    QByteArrayView bytes(quint64 offset, quint64 size) const;

private:
    const uchar* at(quint64 offset, quint64 size) const
    {
        if (!contains(offset, size))
            return nullptr;
        return reinterpret_cast<const uchar*>(data_.constData()) + begin_ + (offset - base_);
    }
    template <typename T>
    std::optional<T> load(quint64 offset) const
    {
        const uchar* p = at(offset, sizeof(T));
        if (!p)
            return std::nullopt;
        return qFromLittleEndian<T>(p);
    }

    quint64 base_ = 0;
    QByteArray data_;
    quint64 begin_ = 0;  // index of the span's first byte in data_
    quint64 size_ = 0;
};

}  // namespace tervolin::platform::crashdump
