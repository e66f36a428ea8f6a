#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <functional>

#include "platform/data/connection.h"
#include "platform/data/dataerror.h"
#include "platform/data/engine.h"
#include "platform/data/recordset.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform::data;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray jetHeader(const char* engineName)
{
    QByteArray header("\x00\x01\x00\x00", 4);
    header.append(engineName, 16);
    header.append(QByteArray(2048 - header.size(), '\0'));
    return header;
}

}  // namespace

TEST(Engine, FilesThatCannotBeOpenedFailWithTheirPathAndAReadableReason)
{
    struct Case { const char* name; std::function<void(const QString&)> make; const char* reason; };
    const Case cases[] = {
        {"missing", [](const QString&) {}, "does not exist"},
        {"empty", [](const QString& p) { writeFile(p, {}); }, "empty"},
        {"text", [](const QString& p) { writeFile(p, "daima\tfenxi\tjiejue\n0x7B\ta\tb\n"); }, "not a database"},
        {"folder", [](const QString& p) { QDir().mkpath(p); }, "folder"},
        {"jet", [](const QString& p) { writeFile(p, jetHeader("Standard Jet DB\0")); }, "damaged"},
        {"ace", [](const QString& p) { writeFile(p, jetHeader("Standard ACE DB\0")); }, "damaged"},
        {"truncated",
         [](const QString& p) {
             tervolin::test::createLanping(p, {{QStringLiteral("0x7B"), QStringLiteral("a"), QStringLiteral("b")}});
             QFile::resize(p, 700);
         },
         ""},
        {"damaged header",
         [](const QString& p) {
             tervolin::test::createLanping(p, {});
             QFile file(p);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.seek(16);
             file.write(QByteArray(84, '\xFF'));
         },
         ""},
    };
    for (const Case& c : cases) {
        const QString path = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
        c.make(path);
        const bool existed = QFileInfo::exists(path);
        Connection connection;
        try {
            connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source = ") + path);
            Recordset rs;  // a damaged file may open and fail on its first read instead
            rs.Open(QStringLiteral("SELECT daima FROM lanping"), connection);
            while (!rs.isEOF())
                rs.MoveNext();
            ADD_FAILURE() << c.name << ": opened";
        } catch (const DataError& error) {
            EXPECT_EQ(error.filePath(), path) << c.name;
            EXPECT_FALSE(error.message().isEmpty()) << c.name;
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.reason))) << c.name << ": " << error.message().toStdString();
        }
        EXPECT_EQ(QFileInfo::exists(path), existed) << c.name << ": opening must never create the file";
    }
}

TEST(Engine, WrongSchemaFailsOnTheQueryWithTheEngineText)
{
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createDatabase(path, "CREATE TABLE other(daima TEXT); CREATE TABLE lanping2(x)");
    Connection connection;
    connection.Open(QStringLiteral("Data Source=") + path);
    Recordset rs;
    try {
        rs.Open(QStringLiteral("SELECT daima FROM lanping"), connection);
        FAIL() << "opened";
    } catch (const DataError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("no such table: lanping"));
    }
}

TEST(Engine, FormatIsChosenByTheFirstBytes)
{
    EXPECT_EQ(detectFileFormat(QByteArray("SQLite format 3\0xyz", 19)), FileFormat::SQLite);
    EXPECT_EQ(detectFileFormat(jetHeader("Standard Jet DB\0")), FileFormat::Jet);
    EXPECT_EQ(detectFileFormat(QByteArray("SQLite format 2\0", 16)), FileFormat::Unknown);
    EXPECT_EQ(detectFileFormat(QByteArray("\x00\x01\x00\x00Standard", 12)), FileFormat::Unknown);
    EXPECT_EQ(detectFileFormat(QByteArray()), FileFormat::Unknown);
}

TEST(Engine, RealJetFileOpensWithTheJetEngineUntouched)
{
    const QString path = tervolin::test::jetFixture("lanping_sample.mdb");
    const QByteArray before = tervolin::test::fileHash(path);
    const std::shared_ptr<EngineConnection> connection = openDatabaseFile(path);
    const std::unique_ptr<Cursor> cursor = connection->execute(QStringLiteral("SELECT daima FROM lanping"));
    int rows = 0;
    while (cursor->step())
        ++rows;
    EXPECT_EQ(rows, 14);
    EXPECT_EQ(tervolin::test::fileHash(path), before);
}

// The names a file offers, and what * reads on a Jet table: its Text and Memo columns (the kinds the engine reads),
// in the table's order.
TEST(Engine, BothEnginesNameTheirTablesAndSelectAllReadsWhatTheyCan)
{
    const QString sqlite = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createDatabase(sqlite, "CREATE TABLE lanping(daima TEXT, fenxi TEXT, jiejue TEXT); CREATE INDEX i ON lanping(daima);"
                                           "CREATE TABLE Canshu(daima TEXT, xuhao INTEGER, hanyi TEXT); CREATE VIEW codes AS SELECT daima FROM lanping");
    struct Case { QString path; QStringList tables; };
    const Case cases[] = {
        {sqlite, {QStringLiteral("lanping"), QStringLiteral("Canshu"), QStringLiteral("codes")}},
        {tervolin::test::jetFixture("lanping_sample.mdb"), {QStringLiteral("lanping")}},
        {tervolin::test::jetFixture("jackcess_testV1997.mdb"), {QStringLiteral("Table1"), QStringLiteral("Table2"), QStringLiteral("Table3"), QStringLiteral("Table4")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(openDatabaseFile(c.path)->tableNames(), c.tables) << c.path.toStdString();

    const std::shared_ptr<EngineConnection> jet = openDatabaseFile(tervolin::test::jetFixture("jackcess_testV1997.mdb"));
    const std::unique_ptr<Cursor> all = jet->execute(QStringLiteral("select * from Table1"));
    EXPECT_EQ(all->columnIndex(QStringLiteral("A")), 0);
    EXPECT_EQ(all->columnIndex(QStringLiteral("B")), 1);
    for (const char* number : {"C", "D", "E", "F", "G", "H", "I"})
        EXPECT_EQ(all->columnIndex(QString::fromLatin1(number)), -1) << number;
    ASSERT_TRUE(all->step());
    try {
        jet->execute(QStringLiteral("select E from Table1"));
        ADD_FAILURE() << "read a number column";
    } catch (const DataError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("not a Text or Memo column"))) << error.message().toStdString();
    }
}
