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
