#pragma once
// The Jet engine behind connections and recordsets: a user's Access db1.mdb, read-only through libmdb.

#include <QString>

#include <memory>

#include "platform/data/engine.h"

namespace tervolin::platform::data {

/// Opens a Jet 3/Jet 4 (or ACE) file read-only and checks that it holds table lanping with the text columns
/// daima, fenxi and jiejue. Throws DataError (with the path) when it does not, or when the file is damaged.
std::shared_ptr<EngineConnection> openJetFile(const QString& path);

}  // namespace tervolin::platform::data
