#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/knowledgebase.h"
#include "app/userdata.h"
#include "platform/data/dataerror.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;

namespace {
struct DirectoryGuard
{
    ~DirectoryGuard() { UserData::setApplicationDirectory({}); }
};
}  // namespace

TEST(UserData, DatabaseFilePathAddsOneSeparatorOnlyWhenMissing)
{
    DirectoryGuard guard;
    struct Case { const char* directory; const char* path; };
    for (const Case& c : {Case{"/opt/tervolin", "/opt/tervolin/db1.mdb"}, Case{"/", "/db1.mdb"}, Case{"/srv/蓝屏 工具", "/srv/蓝屏 工具/db1.mdb"}}) {
        UserData::setApplicationDirectory(QString::fromUtf8(c.directory));
        EXPECT_EQ(UserData::DatabaseFilePath(), QString::fromUtf8(c.path));
    }
    UserData::setApplicationDirectory({});
    EXPECT_EQ(UserData::DatabaseFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/db1.mdb"));
}

TEST(UserData, OpenDatabaseKeepsBothConnectionStringTextsAndClientCursors)
{
    DirectoryGuard guard;
    const QString dir = tervolin::test::scratchDir();
    tervolin::test::createLanping(dir + QStringLiteral("/db1.mdb"), {});
    UserData::setApplicationDirectory(dir);
    const auto knowledge = UserData::OpenDatabase();
    EXPECT_TRUE(knowledge->connection().isOpen());
    EXPECT_EQ(knowledge->connection().ConnectionString(), QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source = ") + dir + QStringLiteral("/db1.mdb"));
    EXPECT_EQ(knowledge->connection().cursorLocation(), tervolin::platform::data::CursorLocation::Client);
    EXPECT_EQ(knowledge->dataControl().ConnectionString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir + QStringLiteral("/db1.mdb;Persist Security Info=False"));
    EXPECT_EQ(knowledge->dataControl().commandType(), tervolin::platform::data::CommandType::Text);
    EXPECT_EQ(knowledge->dataControl().RecordSource(), QStringLiteral("select * from lanping"));
}

TEST(UserData, OpenDatabaseOnAMissingFileFailsWithItsPath)
{
    DirectoryGuard guard;
    const QString dir = tervolin::test::scratchDir();
    UserData::setApplicationDirectory(dir);
    try {
        UserData::OpenDatabase();
        FAIL() << "opened";
    } catch (const tervolin::platform::data::DataError& error) {
        EXPECT_EQ(error.filePath(), dir + QStringLiteral("/db1.mdb"));
    }
}
