#include "platform/propertystore.h"

#include <QStringList>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tervolin::platform {

namespace {

// Integers are kept as 32-bit values; an unsigned 32-bit value (a system colour written as 0x8000000F)
// is kept by its bit pattern.
std::optional<std::int32_t> toInt32(long double v)
{
    if (!std::isfinite(static_cast<double>(v)) || v != std::trunc(v))
        return std::nullopt;
    if (v < static_cast<long double>(std::numeric_limits<std::int32_t>::min())
        || v > static_cast<long double>(std::numeric_limits<std::uint32_t>::max()))
        return std::nullopt;
    const auto wide = static_cast<std::int64_t>(v);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide & 0xFFFFFFFF));
}

}  // namespace

QVariant PropertyStore::normalise(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QVariant::fromValue<std::int32_t>(value.toBool() ? -1 : 0);
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return QVariant::fromValue<std::int32_t>(value.toInt());
    case QMetaType::UInt:
        return QVariant::fromValue<std::int32_t>(static_cast<std::int32_t>(value.toUInt()));
    case QMetaType::LongLong:
    case QMetaType::Long:
        if (auto v = toInt32(static_cast<long double>(value.toLongLong())))
            return QVariant::fromValue<std::int32_t>(*v);
        return {};
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        if (auto v = toInt32(static_cast<long double>(value.toULongLong())))
            return QVariant::fromValue<std::int32_t>(*v);
        return {};
    case QMetaType::Double:
    case QMetaType::Float:
        if (auto v = toInt32(static_cast<long double>(value.toDouble())))
            return QVariant::fromValue<std::int32_t>(*v);
        return {};
    case QMetaType::QString:
        return value;
    case QMetaType::QVariantMap:
        return value;
    default:
        return {};
    }
}

bool PropertyStore::sameValue(const QVariant& a, const QVariant& b)
{
    const QVariant na = normalise(a);
    const QVariant nb = normalise(b);
    if (!na.isValid() || !nb.isValid())
        return na.isValid() == nb.isValid();
    if (na.typeId() != nb.typeId())
        return false;
    return na == nb;
}

std::vector<PropertyStore::Entry>::const_iterator PropertyStore::find(QStringView key) const
{
    return std::find_if(entries_.begin(), entries_.end(),
                        [key](const Entry& e) { return QStringView(e.first).compare(key, Qt::CaseInsensitive) == 0; });
}

std::vector<PropertyStore::Entry>::iterator PropertyStore::find(QStringView key)
{
    return std::find_if(entries_.begin(), entries_.end(),
                        [key](const Entry& e) { return QStringView(e.first).compare(key, Qt::CaseInsensitive) == 0; });
}

QVariant PropertyStore::ReadProperty(QStringView key, const QVariant& defaultValue) const
{
    const auto it = find(key);
    return it == entries_.end() ? normalise(defaultValue) : it->second;
}

void PropertyStore::WriteProperty(const QString& key, const QVariant& value, const QVariant& defaultValue)
{
    if (sameValue(value, defaultValue)) {
        remove(key);
        return;
    }
    set(key, value);
}

void PropertyStore::set(const QString& key, const QVariant& value)
{
    const QVariant stored = normalise(value);
    if (auto it = find(key); it != entries_.end()) {
        it->first = key;
        it->second = stored;
        return;
    }
    entries_.emplace_back(key, stored);
}

std::int32_t PropertyStore::readInt(QStringView key, std::int32_t defaultValue) const
{
    const QVariant v = ReadProperty(key, QVariant::fromValue(defaultValue));
    return v.typeId() == QMetaType::Int ? v.toInt() : defaultValue;
}

bool PropertyStore::readBool(QStringView key, bool defaultValue) const
{
    const QVariant v = ReadProperty(key, QVariant(defaultValue));
    return v.typeId() == QMetaType::Int ? v.toInt() != 0 : defaultValue;
}

QString PropertyStore::readString(QStringView key, const QString& defaultValue) const
{
    const QVariant v = ReadProperty(key, defaultValue);
    return v.typeId() == QMetaType::QString ? v.toString() : defaultValue;
}

bool PropertyStore::contains(QStringView key) const { return find(key) != entries_.end(); }

bool PropertyStore::remove(QStringView key)
{
    const auto it = find(key);
    if (it == entries_.end())
        return false;
    entries_.erase(it);
    return true;
}

QStringList PropertyStore::keys() const
{
    QStringList out;
    for (const Entry& e : entries_)
        out << e.first;
    return out;
}

}  // namespace tervolin::platform
