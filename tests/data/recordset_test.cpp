#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/data/connection.h"
#include "platform/data/datacontrol.h"
#include "platform/data/dataerror.h"
#include "platform/data/recordset.h"
#include "platform/data/sqltext.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform::data;
using tervolin::test::LanpingRow;

namespace {

QString connectionStringFor(const QString& path) { return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source = ") + path; }

QString lookupQuery(const QString& code)
{
    return QStringLiteral("select fenxi,jiejue from lanping where daima='") + sqlLiteralBody(code) + QStringLiteral("'");
}

QStringList allCodes(const QString& path)
{
    Connection connection;
    connection.Open(connectionStringFor(path));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT daima FROM lanping"), connection);
    QStringList codes;
    while (!rs.isEOF()) {
        codes << rs.text(QStringLiteral("daima"));
        rs.MoveNext();
    }
    rs.Close();
    return codes;
}

const QString longCode = QString(10000, QLatin1Char('Z'));

std::vector<LanpingRow> sampleRows()
{
    return {
        {QStringLiteral("0x0000007B"), QStringLiteral("first 7B"), QStringLiteral("fix 7B")},
        {QStringLiteral("0x0000007B"), QStringLiteral("second 7B"), QStringLiteral("fix 7B again")},
        {QStringLiteral(" 0x50"), QStringLiteral("leading blank"), QStringLiteral("j")},
        {QStringLiteral("0x51 "), QStringLiteral("trailing blank"), QStringLiteral("j")},
        {QStringLiteral("O'Brien"), QStringLiteral("apostrophe"), QStringLiteral("j")},
        {QStringLiteral("'; drop table lanping; --"), QStringLiteral("injection stored"), QStringLiteral("j")},
        {QStringLiteral("nullfields"), std::nullopt, std::nullopt},
        {longCode, QStringLiteral("long code"), QStringLiteral("j")},
        {QStringLiteral("😀蓝屏"), QStringLiteral("emoji"), QStringLiteral("表情")},
        {QStringLiteral("蓝屏代码"), QStringLiteral("分析\r\n第二行"), QStringLiteral("解决")},
    };
}

class RecordsetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = tervolin::test::scratchDir();
        path = dir + QStringLiteral("/db1.mdb");
        tervolin::test::createLanping(path, sampleRows());
    }
    QString dir;
    QString path;
};

}  // namespace

TEST_F(RecordsetTest, LookupsCompareTheStoredCodeWithTheTextAsTyped)
{
    struct Case { QString typed; bool found; QString fenxi; };
    const Case cases[] = {
        {QStringLiteral("0x0000007B"), true, QStringLiteral("first 7B")},  // duplicate: the first row
        {QStringLiteral("0x0000007b"), true, QStringLiteral("first 7B")},  // case-blind
        {QStringLiteral("0x0000007B "), false, {}},                        // a typed blank is kept
        {QStringLiteral(" 0x50"), true, QStringLiteral("leading blank")},
        {QStringLiteral("0x50"), false, {}},
        {QStringLiteral("0x51 "), true, QStringLiteral("trailing blank")},
        {QStringLiteral("0x51"), false, {}},
        {QStringLiteral("O'Brien"), true, QStringLiteral("apostrophe")},
        {QStringLiteral("o'brien"), true, QStringLiteral("apostrophe")},
        {QStringLiteral("'; drop table lanping; --"), true, QStringLiteral("injection stored")},
        {QStringLiteral("x' OR '1'='1"), false, {}},
        {QStringLiteral("'"), false, {}},
        {QStringLiteral("nullfields"), true, QString()},
        {longCode, true, QStringLiteral("long code")},
        {longCode + QLatin1Char('Z'), false, {}},
        {QStringLiteral("😀蓝屏"), true, QStringLiteral("emoji")},
        {QStringLiteral("蓝屏代码"), true, QStringLiteral("分析\r\n第二行")},
        {QString(), false, {}},
    };
    DataControl control;
    control.setConnectionString(connectionStringFor(path));
    control.setCommandType(CommandType::Text);
    for (const Case& c : cases) {
        control.setRecordSource(lookupQuery(c.typed));
        control.Refresh();
        const Recordset& rs = control.recordset();
        const bool found = !rs.isBOF() && !rs.isEOF();
        ASSERT_EQ(found, c.found) << c.typed.left(40).toStdString();
        if (found) {
            EXPECT_EQ(rs.text(QStringLiteral("fenxi")), c.fenxi) << c.typed.left(40).toStdString();
        }
    }
    EXPECT_EQ(allCodes(path).size(), 10) << "the table must be untouched";
}

TEST_F(RecordsetTest, NullFieldsReadAsEmptyText)
{
    DataControl control;
    control.setConnectionString(connectionStringFor(path));
    control.setRecordSource(lookupQuery(QStringLiteral("nullfields")));
    control.Refresh();
    EXPECT_TRUE(control.recordset().value(QStringLiteral("fenxi")).isNull());
    EXPECT_EQ(control.recordset().text(QStringLiteral("FENXI")), QString());
    EXPECT_EQ(control.recordset().text(QStringLiteral("jiejue")), QString());
}

TEST_F(RecordsetTest, ListsEveryRowInTheEngineOrderWithDuplicates)
{
    const QStringList codes = allCodes(path);
    ASSERT_EQ(codes.size(), 10);
    EXPECT_EQ(codes.at(0), QStringLiteral("0x0000007B"));
    EXPECT_EQ(codes.at(1), QStringLiteral("0x0000007B"));
    EXPECT_EQ(codes.at(2), QStringLiteral(" 0x50"));
    EXPECT_EQ(codes.at(9), QStringLiteral("蓝屏代码"));
}

TEST(Recordset, EmptyTableIsAtBothEndsAndFieldsCannotBeRead)
{
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createLanping(path, {});
    EXPECT_TRUE(allCodes(path).isEmpty());
    Connection connection;
    connection.Open(connectionStringFor(path));
    Recordset rs;
    rs.Open(lookupQuery(QStringLiteral("0x0000007B")), connection);
    EXPECT_TRUE(rs.isBOF());
    EXPECT_TRUE(rs.isEOF());
    EXPECT_THROW(rs.value(QStringLiteral("fenxi")), DataError);
    EXPECT_THROW(rs.MoveNext(), DataError);
}

TEST_F(RecordsetTest, MovingPastTheLastRowSetsEofOnlyAndUnknownFieldsFail)
{
    Connection connection;
    connection.Open(connectionStringFor(path));
    Recordset rs;
    rs.Open(lookupQuery(QStringLiteral("0x0000007B")), connection);
    EXPECT_FALSE(rs.isBOF());
    EXPECT_THROW(rs.value(QStringLiteral("daima")), DataError);  // not selected
    rs.MoveNext();
    EXPECT_EQ(rs.text(QStringLiteral("fenxi")), QStringLiteral("second 7B"));
    rs.MoveNext();
    EXPECT_TRUE(rs.isEOF());
    EXPECT_FALSE(rs.isBOF());
}

TEST_F(RecordsetTest, StatementsThatWriteOrChainAreRefused)
{
    Connection connection;
    connection.Open(connectionStringFor(path));
    for (const char* sql : {"DELETE FROM lanping", "SELECT 1; DELETE FROM lanping", "CREATE TABLE t(x)", "PRAGMA user_version=5"}) {
        Recordset rs;
        EXPECT_THROW(rs.Open(QString::fromUtf8(sql), connection), DataError) << sql;
    }
    EXPECT_EQ(allCodes(path).size(), 10);
}

TEST_F(RecordsetTest, ASessionOfLookupsLeavesTheFileByteIdenticalAndCreatesNoFiles)
{
    const QByteArray before = tervolin::test::fileHash(path);
    const QStringList filesBefore = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    {
        DataControl control;
        control.setConnectionString(connectionStringFor(path));
        for (const LanpingRow& row : sampleRows()) {
            control.setRecordSource(lookupQuery(*row.daima));
            control.Refresh();
        }
        allCodes(path);
    }
    EXPECT_EQ(tervolin::test::fileHash(path), before);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

TEST(DataControl, RefreshReopensWhenTheConnectionStringChangesAndReadsTables)
{
    const QString a = tervolin::test::scratchDir() + QStringLiteral("/a.mdb");
    const QString b = tervolin::test::scratchDir() + QStringLiteral("/b.mdb");
    tervolin::test::createLanping(a, {{QStringLiteral("A"), QStringLiteral("from a"), {}}});
    tervolin::test::createLanping(b, {{QStringLiteral("B"), QStringLiteral("from b"), {}}});
    DataControl control;
    control.setCommandType(CommandType::Table);
    control.setRecordSource(QStringLiteral("lanping"));
    control.setConnectionString(connectionStringFor(a));
    control.Refresh();
    EXPECT_EQ(control.recordset().text(QStringLiteral("daima")), QStringLiteral("A"));
    control.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + b + QStringLiteral(";Persist Security Info=False"));
    control.Refresh();
    EXPECT_EQ(control.recordset().text(QStringLiteral("fenxi")), QStringLiteral("from b"));
}

TEST(DataControl, RefreshWithoutADataSourceFails)
{
    DataControl control;
    control.setRecordSource(QStringLiteral("select * from lanping"));
    EXPECT_THROW(control.Refresh(), DataError);
    EXPECT_FALSE(control.recordset().isOpen());
}

// Queries that differ only in their literals share a prepared statement; every shape of literal must still mean
// exactly what the text says, and a literal that cannot become a parameter must still work as written.
TEST_F(RecordsetTest, LiteralsMeanTheSameWhetherOrNotTheStatementIsReused)
{
    struct Case { const char* name; QString sql; QString field; QString first; int rows; };
    const Case cases[] = {
        {"literal among the result columns keeps its column name",
         QStringLiteral("select 'x''y' from lanping where daima='O''Brien'"), QStringLiteral("'x''y'"), QStringLiteral("x'y"), 1},
        {"table named in apostrophes", QStringLiteral("select daima from 'lanping' where daima='nullfields'"), QStringLiteral("daima"),
         QStringLiteral("nullfields"), 1},
        {"blob literal", QStringLiteral("select daima from lanping where daima=cast(x'4F27427269656E' as text)"),
         QStringLiteral("daima"), QStringLiteral("O'Brien"), 1},
        {"apostrophe inside a comment and a quoted name",
         QStringLiteral("select \"daima\" from lanping -- don't\nwhere /* it's */ daima='0x0000007B'"), QStringLiteral("daima"),
         QStringLiteral("0x0000007B"), 2},
        {"several literals", QStringLiteral("select daima from lanping where daima in ('O''Brien', ' 0x50', '0x51 ')"),
         QStringLiteral("daima"), QStringLiteral(" 0x50"), 3},
        {"literal with a NUL", QStringLiteral("select count(*) as n from lanping where daima='a") + QChar(u'\0') + QStringLiteral("b'"),
         QStringLiteral("n"), QStringLiteral("0"), 1},
        {"pattern", QStringLiteral("select daima from lanping where daima like '0x5%'"), QStringLiteral("daima"), QStringLiteral("0x51 "), 1},
        {"literal with a NUL in a text prepared as written",
         QStringLiteral("select count(*) as n from 'lanping' where daima='a") + QChar(u'\0') + QStringLiteral("''b'"), QStringLiteral("n"),
         QStringLiteral("0"), 1},
    };
    Connection connection;
    connection.Open(connectionStringFor(path));
    // Twice: the second round runs on statements kept from the first.
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (round ? " (again)" : ""));
            Recordset rs;
            rs.Open(c.sql, connection);
            ASSERT_FALSE(rs.isEOF());
            EXPECT_EQ(rs.text(c.field), c.first);
            int rows = 0;
            for (; !rs.isEOF(); rs.MoveNext())
                ++rows;
            EXPECT_EQ(rows, c.rows);
        }
    }
}

TEST_F(RecordsetTest, TwoOpenRecordsetsOfTheSameShapeKeepTheirOwnRows)
{
    Connection connection;
    connection.Open(connectionStringFor(path));
    Recordset a;
    Recordset b;
    a.Open(lookupQuery(QStringLiteral("0x0000007B")), connection);
    b.Open(lookupQuery(QStringLiteral("O'Brien")), connection);
    EXPECT_EQ(a.text(QStringLiteral("fenxi")), QStringLiteral("first 7B"));
    EXPECT_EQ(b.text(QStringLiteral("fenxi")), QStringLiteral("apostrophe"));
    a.MoveNext();
    EXPECT_EQ(a.text(QStringLiteral("fenxi")), QStringLiteral("second 7B"));
    b.MoveNext();
    EXPECT_TRUE(b.isEOF());
}

TEST_F(RecordsetTest, LookupUsesTheCodeIndex)
{
    Connection connection;
    connection.Open(connectionStringFor(path));
    Recordset rs;
    rs.Open(QStringLiteral("explain query plan ") + lookupQuery(QStringLiteral("0x0000007B")), connection);
    QString plan;
    for (; !rs.isEOF(); rs.MoveNext())
        plan += rs.text(QStringLiteral("detail")) + QLatin1Char('\n');
    EXPECT_TRUE(plan.contains(QStringLiteral("USING INDEX"))) << plan.toStdString();
}

TEST_F(RecordsetTest, BrokenTextsReportTheEngineMessage)
{
    Connection connection;
    connection.Open(connectionStringFor(path));
    const struct { const char* sql; const char* message; } cases[] = {
        {"select daima from lanping where daima='open", "unrecognized token"},
        {"select daima from lanping where daima='a'; delete from lanping", "more than one statement"},
        {"insert into lanping values('a','b','c')", "read-only"},
        {"select daima from nosuchtable where daima='a'", "no such table"},
    };
    for (const auto& c : cases) {
        Recordset rs;
        try {
            rs.Open(QString::fromUtf8(c.sql), connection);
            ADD_FAILURE() << c.sql << ": ran";
        } catch (const DataError& error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.message))) << c.sql << ": " << error.message().toStdString();
        }
    }
    EXPECT_EQ(allCodes(path).size(), 10);
}
