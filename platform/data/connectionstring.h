#pragma once
// Connection strings are kept as texts ("Provider=…;Data Source = …") and parsed on open.

#include <QString>

namespace tervolin::platform::data {

/// The value of one key of a connection string ("Data Source", blanks around '=' allowed, case-blind key),
/// or a null QString when the key is absent.
QString connectionStringValue(const QString& connectionString, const QString& key);

/// The file a connection string names: its "Data Source" value.
inline QString dataSourceOf(const QString& connectionString) { return connectionStringValue(connectionString, QStringLiteral("Data Source")); }

}  // namespace tervolin::platform::data
