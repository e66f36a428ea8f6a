#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include "tests/support/testsupport.h"
#include "tools/mkdb/knowledgebase.h"

using namespace tervolin::tools;

namespace {

QString errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const KnowledgeError& error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

QString writeSource(const QString& name, const QByteArray& content)
{
    const QString path = tervolin::test::scratchDir() + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

}  // namespace

const QByteArray SampleSource =
    "code: 0x0000009F\n"
    "name: DRIVER_POWER_STATE_FAILURE\n"
    "\n"
    "[fenxi]\n"
    "\n"
    "\xe5\x88\x86\xe6\x9e\x90 C:\\Windows  \r\n"
    "\n"
    "second\n"
    "\n"
    "[jiejue]\n"
    "1. run:\n"
    "    sfc /scannow\n"
    "[canshu]\n"
    "1: type\n"
    "\n"
    "3: object\n"
    "[canshuzhi 1]\n"
    "0x0003: blocked\n"
    "0X1:   deleted\n";

TEST(KnowledgeBase, ASourceFileGivesTheTextsLineByLineAndItsParameters)
{
    const KnowledgeEntry e = parseKnowledgeFile(QStringLiteral("dir/0x0000009F.txt"), SampleSource);
    EXPECT_EQ(e.code, QStringLiteral("0x0000009F"));
    EXPECT_EQ(e.name, QStringLiteral("DRIVER_POWER_STATE_FAILURE"));
    EXPECT_EQ(e.value, 0x9Fu);
    // Backslashes stay, trailing blanks and blank edge lines go, inner blank lines and indentation stay.
    EXPECT_EQ(e.fenxi, QStringLiteral("分析 C:\\Windows\r\n\r\nsecond"));
    EXPECT_EQ(e.jiejue, QStringLiteral("1. run:\r\n    sfc /scannow"));
    ASSERT_EQ(e.parameters.size(), 2u);
    EXPECT_EQ(e.parameters[1].number, 3);
    EXPECT_EQ(e.parameters[1].meaning, QStringLiteral("object"));
    ASSERT_EQ(e.values.size(), 2u);
    EXPECT_EQ(e.values[0].value, QStringLiteral("0x3"));
    EXPECT_EQ(e.values[1].value, QStringLiteral("0x1"));
    EXPECT_EQ(e.values[1].meaning, QStringLiteral("deleted"));
}

TEST(KnowledgeBase, FaultsInASourceFileNameFileAndLine)
{
    const QByteArray head = "code: 0x0000000A\nname: A\n";
    const QByteArray texts = "[fenxi]\nf\n[jiejue]\nj\n";
    struct Case { const char* file; QByteArray content; const char* message; };
    const Case cases[] = {
        {"0x0000000A.txt", "code: 0x7B\n", "0x0000000A.txt:1: the code \"0x7B\""},
        {"0x0000000A.txt", "code: 0x0000000a\n", "the code \"0x0000000a\""},
        {"0x0000000A.txt", "code: 0x0000000A\nname: not a name\n", "0x0000000A.txt:2: the name"},
        {"0x0000000A.txt", "code: 0x0000000A\ncode: 0x0000000A\n", ":2: expected \"code:\" or \"name:\""},
        {"0x0000000A.txt", "code: 0x0000000A\n" + texts, "\"code:\" and \"name:\" are required"},
        {"0x0000000B.txt", head + texts, "must be named 0x0000000A.txt"},
        {"0x0000000A.txt", head + "[fenxi]\nf\n", "[fenxi] and [jiejue] are required"},
        {"0x0000000A.txt", head + "[fenxi]\n\n[jiejue]\nj\n", "must not be empty"},
        {"0x0000000A.txt", head + texts + "[fenxi]\nmore\n", ":7: section [fenxi] occurs twice"},
        {"0x0000000A.txt", head + "[fenxi]\n[Jiejue]\n", ":4: unknown section [Jiejue]"},
        {"0x0000000A.txt", head + texts + "[canshuzhi 5]\n", "unknown section [canshuzhi 5]"},
        {"0x0000000A.txt", head + texts + "[canshu]\n5: x\n", ":8: expected \"N: meaning\""},
        {"0x0000000A.txt", head + texts + "[canshu]\n2: x\n1: y\n", ":9: parameter 1 is out of order"},
        {"0x0000000A.txt", head + texts + "[canshu]\n1: x\n[canshuzhi 1]\n3: y\n", ":10: expected \"0xVALUE: meaning\""},
        {"0x0000000A.txt", head + texts + "[canshu]\n1: x\n[canshuzhi 1]\n0x10000000000000000: y\n", "expected \"0xVALUE: meaning\""},
        {"0x0000000A.txt", head + texts + "[canshu]\n1: x\n[canshuzhi 1]\n0x3: y\n0x03: z\n", ":11: value 0x3 of parameter 1 is given twice"},
        {"0x0000000A.txt", head + texts + "[canshu]\n1: x\n[canshuzhi 2]\n0x3: y\n", ":10: parameter 2 has values but no line"},
        {"0x0000000A.txt", head + texts + "[canshu]\n1: x\n[canshuzhi 1]\n[canshuzhi 1]\n", "section [canshuzhi 1] occurs twice"},
        {"0x0000000A.txt", head + "[fenxi]\na\tb\n[jiejue]\nj\n", ":4: tabs"},
        {"0x0000000A.txt", head + "[fenxi]\n\xff\n[jiejue]\nj\n", "not valid UTF-8"},
    };
    for (const Case& c : cases) {
        const QString message = errorOf([&] { parseKnowledgeFile(QString::fromLatin1(c.file), c.content); });
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << c.message << " | got: " << message.toStdString();
    }
}

TEST(KnowledgeBase, FilesBecomeTwoRowsEachOrderedByTheCodesValueAndDuplicatesAreNamed)
{
    const auto source = [](const char* code, const char* name) {
        return QByteArray("code: ") + code + "\nname: " + name + "\n[fenxi]\nf " + code + "\n[jiejue]\nj\n";
    };
    const QString d1 = writeSource(QStringLiteral("0x000000D1.txt"), source("0x000000D1", "DRIVER_IRQL_NOT_LESS_OR_EQUAL"));
    const QString a = writeSource(QStringLiteral("0x0000000A.txt"), source("0x0000000A", "IRQL_NOT_LESS_OR_EQUAL"));
    const auto entries = readKnowledgeFiles({d1, a});
    const auto rows = knowledgeRows(entries);
    const QStringList expected = {QStringLiteral("0x0000000A"), QStringLiteral("IRQL_NOT_LESS_OR_EQUAL"), QStringLiteral("0x000000D1"),
                                  QStringLiteral("DRIVER_IRQL_NOT_LESS_OR_EQUAL")};
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].daima, expected.at(static_cast<qsizetype>(i)));
    EXPECT_EQ(rows[1].fenxi, QStringLiteral("f 0x0000000A"));

    const QString dir = tervolin::test::scratchDir() + QStringLiteral("/other");
    QDir().mkpath(dir);
    QFile::copy(a, dir + QStringLiteral("/0x0000000A.txt"));
    EXPECT_TRUE(errorOf([&] { readKnowledgeFiles({a, dir + QStringLiteral("/0x0000000A.txt")}); })
                    .contains(QStringLiteral("0x0000000A.txt:1: duplicate daima \"0x0000000A\" (already at 0x0000000A.txt:1)")));
    const QString b = writeSource(QStringLiteral("0x0000000B.txt"), source("0x0000000B", "IRQL_NOT_LESS_OR_EQUAL"));
    EXPECT_TRUE(errorOf([&] { readKnowledgeFiles({a, b}); }).contains(QStringLiteral("duplicate daima \"IRQL_NOT_LESS_OR_EQUAL\"")));
}

namespace {
QStringList column(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    QStringList values;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        return {QString::fromUtf8(sqlite3_errmsg(db))};
    while (sqlite3_step(st) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return values;
}
}  // namespace

TEST(KnowledgeBase, WritesTheTableWithItsSchemaAndKeepsTheRowOrderForTheCodeList)
{
    const QString out = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    const QStringList codes = {QStringLiteral("0x0000007B"), QStringLiteral("NAME"), QStringLiteral("0x000000D1"), QStringLiteral("ANAME")};
    std::vector<KnowledgeRow> rows;
    for (const QString& code : codes)
        rows.push_back({code, QStringLiteral("a"), QStringLiteral("b")});
    writeKnowledgeDatabase(rows, out);
    EXPECT_FALSE(QFile::exists(out + QStringLiteral(".part")));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(out).constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_EQ(column(db, "SELECT daima FROM lanping"), codes);
    EXPECT_EQ(column(db, "SELECT daima FROM lanping WHERE daima='0x0000007b' OR daima='name'"), codes.mid(0, 2));
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "EXPLAIN QUERY PLAN select fenxi,jiejue from lanping where daima='x'", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_TRUE(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))).contains(QStringLiteral("USING INDEX")));
    sqlite3_finalize(st);
    sqlite3_close(db);
}

TEST(KnowledgeBase, WritesTheParameterTablesKeyedByTheHexCode)
{
    const QString out = tervolin::test::scratchDir() + QStringLiteral("/params.mdb");
    writeKnowledgeDatabase(std::vector<KnowledgeEntry>{parseKnowledgeFile(QStringLiteral("0x0000009F.txt"), SampleSource)}, out);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(out).constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    EXPECT_EQ(column(db, "SELECT daima FROM lanping"), (QStringList{QStringLiteral("0x0000009F"), QStringLiteral("DRIVER_POWER_STATE_FAILURE")}));
    EXPECT_EQ(column(db, "SELECT daima||'/'||xuhao||'/'||hanyi FROM canshu ORDER BY rowid"),
              (QStringList{QStringLiteral("0x0000009F/1/type"), QStringLiteral("0x0000009F/3/object")}));
    EXPECT_EQ(column(db, "SELECT xuhao||'/'||zhi||'/'||hanyi FROM canshuzhi WHERE daima='0x0000009f' ORDER BY rowid"),
              (QStringList{QStringLiteral("1/0x3/blocked"), QStringLiteral("1/0x1/deleted")}));
    sqlite3_close(db);
}
