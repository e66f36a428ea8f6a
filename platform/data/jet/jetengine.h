#pragma once
// The Jet engine behind connections and recordsets: an Access .mdb file, read-only through libmdb.

#include <QString>

#include <memory>

#include "platform/data/engine.h"

namespace tervolin::platform::data {

/// Opens a Jet 3/Jet 4 (or ACE) file read-only and reads its table catalogue. Throws DataError (with the path)
/// when the file is not a Jet database or is damaged.
std::shared_ptr<EngineConnection> openJetFile(const QString& path);

}  // namespace tervolin::platform::data
