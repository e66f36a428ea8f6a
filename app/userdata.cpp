#include "app/userdata.h"

#include <QCoreApplication>

#include "app/knowledgebase.h"

namespace tervolin::app::UserData {
namespace {

QString& directoryOverride()
{
    static QString directory;
    return directory;
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

std::unique_ptr<KnowledgeBase> OpenDatabase()
{
    // The data control's string always inserts the separator, also after a root directory.
    return std::make_unique<KnowledgeBase>(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source = ") + DatabaseFilePath(),
                                           QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + applicationDirectory()
                                               + QStringLiteral("/db1.mdb;Persist Security Info=False"));
}

}  // namespace tervolin::app::UserData
