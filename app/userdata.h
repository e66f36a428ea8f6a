#pragma once
// Module UserData: where the data file lies and the shared connection that is open for the whole run.

#include <QString>

#include "platform/data/connection.h"

namespace tervolin::app::UserData {

/// The directory that holds the program file (or the directory set for tests), without a trailing
/// separator unless it is the root.
QString applicationDirectory();
/// Makes applicationDirectory() answer a given directory; an empty text restores the program's own.
void setApplicationDirectory(const QString& directory);

/// The full path of db1.mdb in the application directory.
QString DatabaseFilePath();

/// Opens DbConnection on DatabaseFilePath() with client-side cursors. Throws platform::data::DataError.
void OpenDatabase();

/// The shared connection (closed until OpenDatabase).
platform::data::Connection& DbConnection();

}  // namespace tervolin::app::UserData
