#pragma once
// The SQLite engine: opens a file read-only and immutable, so no lock, journal or write ever touches it.

#include <QString>

#include <memory>

#include "platform/data/engine.h"

namespace tervolin::platform::data {

/// Opens an SQLite file read-only; throws DataError when the engine cannot read its schema.
std::shared_ptr<EngineConnection> openSqliteFile(const QString& path);

}  // namespace tervolin::platform::data
