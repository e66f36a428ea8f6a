#pragma once
// The container's store of a control's design-time properties: one value per key, keys matched without
// regard to letter case, and read/write with defaults so that a value equal to its default is never kept.

#include <QString>
#include <QVariant>

#include <cstdint>
#include <utility>
#include <vector>

namespace tervolin::platform {

/// Stored values are normalised to a few forms so that equality with a default is meaningful:
/// - nothing (an invalid QVariant): an object reference that is not set;
/// - std::int32_t: integers, enumerations, colours and booleans (true is -1, false is 0);
/// - QString: texts;
/// - QVariantMap: a structured value such as a font or a picture description.
class PropertyStore
{
public:
    using Entry = std::pair<QString, QVariant>;

    /// Converts a value to its stored form: bool → -1/0, any integral number that fits 32 bits (signed or
    /// unsigned) → std::int32_t, texts and maps as they are. Anything else becomes nothing.
    static QVariant normalise(const QVariant& value);
    /// Stored forms compare equal (after normalising both sides).
    static bool sameValue(const QVariant& a, const QVariant& b);

    /// The value under the key (any letter case), or the default when the key is missing.
    QVariant ReadProperty(QStringView key, const QVariant& defaultValue = {}) const;
    /// Stores the value under the key; a value equal to its default is not stored (and an earlier value
    /// under that key is removed). A key already present keeps its place and takes the new spelling.
    void WriteProperty(const QString& key, const QVariant& value, const QVariant& defaultValue = {});

    /// Typed reads: the value converted, or the default when the key is missing or of another form.
    std::int32_t readInt(QStringView key, std::int32_t defaultValue) const;
    bool readBool(QStringView key, bool defaultValue) const;
    QString readString(QStringView key, const QString& defaultValue) const;

    /// Stores a value without comparing it with a default (used when loading a saved description).
    void set(const QString& key, const QVariant& value);
    bool contains(QStringView key) const;
    bool remove(QStringView key);
    void clear() { entries_.clear(); }
    bool isEmpty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }

    /// The stored entries in the order they were first written, with the spelling of their last write.
    const std::vector<Entry>& entries() const { return entries_; }
    /// The keys in stored order.
    QStringList keys() const;

private:
    std::vector<Entry>::const_iterator find(QStringView key) const;
    std::vector<Entry>::iterator find(QStringView key);

    std::vector<Entry> entries_;
};

}  // namespace tervolin::platform
