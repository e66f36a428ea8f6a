#include "app/userdata.h"

#include <QCoreApplication>
#include <QDir>

#include <memory>

namespace tervolin::app::UserData {
namespace {

QString& directoryOverride()
{
    static QString directory;
    return directory;
}

std::unique_ptr<platform::data::Connection>& connection()
{
    static std::unique_ptr<platform::data::Connection> c = std::make_unique<platform::data::Connection>();
    return c;
}

}  // namespace

QString applicationDirectory()
{
    const QString& forced = directoryOverride();
    return forced.isEmpty() ? QCoreApplication::applicationDirPath() : forced;
}

void setApplicationDirectory(const QString& directory) { directoryOverride() = directory; }

QString DatabaseFilePath()
{
    const QString directory = applicationDirectory();
    const QString separator = QStringLiteral("/");
    return directory.endsWith(separator) ? directory + QStringLiteral("db1.mdb") : directory + separator + QStringLiteral("db1.mdb");
}

void OpenDatabase()
{
    const QString connectionString = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;") + QStringLiteral("Data Source = ") + DatabaseFilePath();
    auto fresh = std::make_unique<platform::data::Connection>();
    fresh->setCursorLocation(platform::data::CursorLocation::Client);
    fresh->Open(connectionString, QString(), QString(), -1);
    connection() = std::move(fresh);
}

platform::data::Connection& DbConnection() { return *connection(); }

}  // namespace tervolin::app::UserData
