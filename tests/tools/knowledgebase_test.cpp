#include <gtest/gtest.h>

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

TEST(KnowledgeBase, LinesBecomeTwoRowsEachOrderedByTheCodesValue)
{
    const QString a = writeSource(QStringLiteral("codes-2.tsv"),
                                  "# comment\n\n0x0000007B\tINACCESSIBLE_BOOT_DEVICE\t\xe5\x88\x86\xe6\x9e\x90\\n2\tfix\\ttab \\\\ end\r\n");
    const QString b = writeSource(QStringLiteral("codes-1.tsv"), "0x000000d1\tDRIVER_IRQL_NOT_LESS_OR_EQUAL\tf\tj\n0x0000000A\tIRQL_NOT_LESS_OR_EQUAL\tf\tj\n");
    const auto rows = readKnowledgeFiles({a, b});
    ASSERT_EQ(rows.size(), 6u);
    const QStringList expected = {QStringLiteral("0x0000000A"), QStringLiteral("IRQL_NOT_LESS_OR_EQUAL"), QStringLiteral("0x0000007B"),
                                  QStringLiteral("INACCESSIBLE_BOOT_DEVICE"), QStringLiteral("0x000000d1"), QStringLiteral("DRIVER_IRQL_NOT_LESS_OR_EQUAL")};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].daima, expected.at(static_cast<qsizetype>(i)));
    EXPECT_EQ(rows[2].fenxi, QStringLiteral("分析\r\n2"));
    EXPECT_EQ(rows[3].jiejue, QStringLiteral("fix\ttab \\ end"));
}

TEST(KnowledgeBase, FaultsNameFileAndLine)
{
    struct Case { QByteArray content; const char* message; };
    const Case cases[] = {
        {"0x0000000A\tA\tf\n", "bad.tsv:1: expected 4 tab-separated columns, found 3"},
        {"# c\n0x7B\tA\tf\tj\n", "bad.tsv:2: the code \"0x7B\""},
        {"0x0000000A\tNOT A NAME\tf\tj\n", "bad.tsv:1: the name"},
        {"0x0000000A\tA\tf\\x\tj\n", "bad.tsv:1: unknown escape \\x"},
        {"0x0000000A\tA\tf\tj\n0x0000000a\tB\tf\tj\n", "bad.tsv:2: duplicate daima \"0x0000000a\" (already at bad.tsv:1)"},
        {"0x0000000A\tSAME\tf\tj\n0x0000000B\tsame\tf\tj\n", "bad.tsv:2: duplicate daima \"same\" (already at bad.tsv:1)"},
    };
    for (const Case& c : cases) {
        const QString path = writeSource(QStringLiteral("bad.tsv"), c.content);
        const QString message = errorOf([&] { readKnowledgeFiles({path}); });
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
    }
    const QString one = writeSource(QStringLiteral("one.tsv"), "0x0000000A\tA\tf\tj\n");
    const QString two = writeSource(QStringLiteral("two.tsv"), "\n0x0000000A\tB\tf\tj\n");
    EXPECT_TRUE(errorOf([&] { readKnowledgeFiles({one, two}); }).contains(QStringLiteral("two.tsv:2: duplicate daima \"0x0000000A\" (already at one.tsv:1)")));
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
