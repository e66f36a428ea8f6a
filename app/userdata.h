#pragma once
// Module UserData: where the data file lies, and opening the knowledge base on it with the window's two
// connection strings.

#include <QString>

#include <memory>

namespace tervolin::app {
class KnowledgeBase;
}

namespace tervolin::app::UserData {

/// The directory that holds the program file (or the directory set for tests), without a trailing
/// separator unless it is the root.
QString applicationDirectory();
/// Makes applicationDirectory() answer a given directory; an empty text restores the program's own.
void setApplicationDirectory(const QString& directory);

/// The full path of db1.mdb in the application directory.
QString DatabaseFilePath();

/// Opens the knowledge base on DatabaseFilePath(): the shared connection on
/// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source = <path>", the lookup data control on
/// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<directory>/db1.mdb;Persist Security Info=False".
/// Throws platform::data::DataError.
std::unique_ptr<KnowledgeBase> OpenDatabase();

}  // namespace tervolin::app::UserData
