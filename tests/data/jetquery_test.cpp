#include <gtest/gtest.h>

#include <QFile>

#include "platform/data/jet/jetfile.h"
#include "platform/data/jet/jetquery.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform::data::jet;

namespace {

QString fixture(const char* name) { return tervolin::test::jetFixture(name); }

// The rows of lanping_sample.tsv: \N (NULL) reads as empty text, \n is the CR LF stored in the file.
std::vector<QStringList> sampleRows()
{
    QFile file(fixture("lanping_sample.tsv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<QStringList> rows;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList row;
        for (const QByteArray& field : line.split('\t')) {
            QString text = field == "\\N" ? QString() : QString::fromUtf8(field);
            text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
            row.append(text);
        }
        rows.push_back(row);
    }
    return rows;
}

struct QueryRun {
    QString error;
    std::vector<QStringList> rows;
};

QueryRun run(const QString& path, const QString& sql)
{
    QueryRun r;
    const std::unique_ptr<JetFile> file = JetFile::open(path, &r.error);
    if (!file)
        return r;
    const std::unique_ptr<JetQuery> query = JetQuery::prepare(*file, sql, &r.error);
    if (!query)
        return r;
    while (query->step(&r.error))
        r.rows.push_back(query->row());
    return r;
}

}  // namespace

TEST(JetQuery, ParsesTheStatementsTheToolIssuesAndRefusesOthers)
{
    struct Case { const char* sql; bool ok; const char* columns; const char* whereValue; };
    const Case cases[] = {
        {"SELECT daima FROM lanping", true, "daima", nullptr},
        {"select * from lanping", true, "", nullptr},
        {"select fenxi,jiejue from lanping where daima='0x0000007B'", true, "fenxi,jiejue", "0x0000007B"},
        {"select fenxi,jiejue from lanping where daima='O''Brien'", true, "fenxi,jiejue", "O'Brien"},
        {"select fenxi,jiejue from lanping where daima=''''", true, "fenxi,jiejue", "'"},
        {"select fenxi,jiejue from lanping where daima='''; drop table lanping; --'", true, "fenxi,jiejue", "'; drop table lanping; --"},
        {"  Select  FENXI , jiejue\nFrom [lanping]  Where daima = ''  ; ", true, "FENXI,jiejue", ""},
        {"select fenxi from lanping where daima='O'Brien'", false, nullptr, nullptr},
        {"select fenxi from lanping where daima='open", false, nullptr, nullptr},
        {"select fenxi from lanping where daima='a' or 1=1", false, nullptr, nullptr},
        {"select fenxi from lanping; drop table lanping", false, nullptr, nullptr},
        {"select count(*) from lanping", false, nullptr, nullptr},
        {"select fenxi from lanping where daima like 'a%'", false, nullptr, nullptr},
        {"select fenxi from lanping order by daima", false, nullptr, nullptr},
        {"delete from lanping", false, nullptr, nullptr},
        {"select from lanping", false, nullptr, nullptr},
        {"", false, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        QString error;
        const std::optional<SelectStatement> st = parseSelect(QString::fromUtf8(c.sql), &error);
        ASSERT_EQ(st.has_value(), c.ok) << c.sql;
        if (!c.ok) {
            EXPECT_TRUE(error.startsWith(QStringLiteral("unsupported statement"))) << c.sql;
            continue;
        }
        EXPECT_EQ(st->table.toLower(), QStringLiteral("lanping"));
        EXPECT_EQ(st->columns.join(QLatin1Char(',')), QString::fromUtf8(c.columns)) << c.sql;
        EXPECT_EQ(st->whereColumn.isEmpty(), c.whereValue == nullptr) << c.sql;
        if (c.whereValue) {
            EXPECT_EQ(st->whereValue, QString::fromUtf8(c.whereValue)) << c.sql;
        }
    }
}

TEST(JetQuery, ListAndSelectAllGiveEveryRowInFileOrderWhole)
{
    const std::vector<QStringList> expected = sampleRows();
    ASSERT_EQ(expected.size(), 14u);

    const QueryRun codes = run(fixture("lanping_sample.mdb"), QStringLiteral("SELECT daima FROM lanping"));
    ASSERT_TRUE(codes.error.isEmpty()) << codes.error.toStdString();
    ASSERT_EQ(codes.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(codes.rows[i], QStringList{expected[i][0]}) << i;

    const QueryRun all = run(fixture("lanping_sample.mdb"), QStringLiteral("select * from lanping"));
    ASSERT_TRUE(all.error.isEmpty()) << all.error.toStdString();
    ASSERT_EQ(all.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(all.rows[i], expected[i]) << i;
    EXPECT_EQ(all.rows[9][1].size(), 5400);  // LONGTEXT spans several long-value pages
}

TEST(JetQuery, LookupIsCaseBlindExactAndInFileOrder)
{
    const std::vector<QStringList> expected = sampleRows();
    struct Case { const char* literal; int firstRow; int matches; };
    const Case cases[] = {
        {"0x0000007B", 0, 2},   // duplicated code: both rows, the first one first
        {"0x0000007b", 0, 2},   // case-blind
        {"0X0000007B", 0, 2},
        {"0x0000001E", 2, 1},
        {"O''Brien", 5, 1},
        {"o''brien", 5, 1},
        {" 0x00000050", 6, 1},  // the leading blank is part of the code
        {"0x00000050", -1, 0},
        {"0x00000050 ", -1, 0},
        {"NULLFENXI", 7, 1},
        {"NULLBOTH", 8, 1},
        {"LONGTEXT", 9, 1},
        {"蓝屏", 11, 1},
        {"EMPTYSTR", 12, 1},
        {"mixedcase", 13, 1},
        {"MIXEDCASE", 13, 1},
        {"", -1, 0},
        {"''; drop table lanping; --", -1, 0},
    };
    for (const Case& c : cases) {
        const QString sql = QStringLiteral("select fenxi,jiejue from lanping where daima='%1'").arg(QString::fromUtf8(c.literal));
        const QueryRun r = run(fixture("lanping_sample.mdb"), sql);
        ASSERT_TRUE(r.error.isEmpty()) << c.literal << ": " << r.error.toStdString();
        ASSERT_EQ(int(r.rows.size()), c.matches) << c.literal;
        if (c.firstRow >= 0) {
            EXPECT_EQ(r.rows[0], expected[std::size_t(c.firstRow)].mid(1)) << c.literal;
        }
    }
}

TEST(JetQuery, UnsupportedStatementsAndMissingColumnsAreErrors)
{
    struct Case { const char* sql; const char* error; };
    const Case cases[] = {
        {"select daima from lanping where daima='a' or daima='b'", "unsupported statement"},
        {"update lanping set fenxi=''", "unsupported statement"},
        {"select daima, nosuch from lanping", "the table \"lanping\" has no column \"nosuch\""},
        {"select daima from lanping where nosuch='x'", "the table \"lanping\" has no column \"nosuch\""},
        {"select daima from other", "the database has no table \"other\""},
    };
    for (const Case& c : cases) {
        const QueryRun r = run(fixture("lanping_sample.mdb"), QString::fromUtf8(c.sql));
        EXPECT_TRUE(r.rows.empty()) << c.sql;
        EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(c.error))) << c.sql << ": " << r.error.toStdString();
    }
}
