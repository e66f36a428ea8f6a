// The knowledge base's owner on real files of both engines: the code list, the lookup, the parameter tables and
// their absence, and a file that is no knowledge base.
#include <gtest/gtest.h>

#include <QFile>

#include <functional>

#include "app/knowledgebase.h"
#include "platform/data/dataerror.h"
#include "tests/support/qtprinters.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using tervolin::app::CodeAnswer;
using tervolin::app::KnowledgeBase;
using tervolin::app::ParameterMeaning;
using tervolin::platform::data::DataError;

namespace {

// A SQLite knowledge base with the parameter tables as the bundled file has them, and rows that probe the reading:
// a parameter twice, one beyond the fourth, values with leading zeros and in lower case, a value that is no number.
QString withParameterTables()
{
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createDatabase(path, R"(
        CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);
        INSERT INTO lanping VALUES('0x0000009F', '电源状态', '驱动'), ('DRIVER_POWER_STATE_FAILURE', '电源状态', '驱动');
        CREATE TABLE canshu(daima TEXT, xuhao INTEGER, hanyi TEXT);
        INSERT INTO canshu VALUES('0x0000009F', 2, '第二个'), ('0x0000009F', 1, '类型'), ('0x0000009F', 1, '重复的行'),
                                 ('0x0000009F', 5, '第五个'), ('0x0000009F', 4, '第四个'),
                                 ('0x00000133', 1, 'DPC');
        CREATE TABLE canshuzhi(daima TEXT, xuhao INTEGER, zhi TEXT, hanyi TEXT);
        INSERT INTO canshuzhi VALUES('0x0000009F', 1, '0x3', '设备对象阻塞'), ('0x0000009F', 1, '0x00000004', '超时'),
                                    ('0x0000009F', 2, '0x3', '第二个参数的 3'), ('0x00000133', 1, '0x0', '单个 DPC'),
                                    ('0x00000133', 1, '0x1', '累计'), ('0x0000001E', 1, '0xc0000005', '访问冲突'),
                                    ('0x0000001E', 1, 'not a number', '坏行'), ('0x0000001E', 2, '0xFFFFF80012345678', '地址');
    )");
    return path;
}

}  // namespace

TEST(KnowledgeBase, ListsCountsAndLooksUpAlikeOnBothEngines)
{
    // The Jet sample and a SQLite copy of its rows answer the same questions the same way.
    const QString jet = tervolin::test::jetFixture("lanping_sample.mdb");
    const QString sqlite = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    std::vector<tervolin::test::LanpingRow> copied;
    for (const auto& row : KnowledgeBase::openFile(jet)->rows())
        copied.push_back({row.daima.isNull() ? std::nullopt : std::optional(row.daima), row.fenxi.isNull() ? std::nullopt : std::optional(row.fenxi),
                          row.jiejue.isNull() ? std::nullopt : std::optional(row.jiejue)});
    tervolin::test::createLanping(sqlite, copied);

    for (const QString& path : {jet, sqlite}) {
        SCOPED_TRACE(path.toStdString());
        const auto knowledge = KnowledgeBase::openFile(path);
        EXPECT_EQ(knowledge->filePath(), path);
        const tervolin::platform::TextList codes = knowledge->codes();
        ASSERT_EQ(codes.size(), 14);
        EXPECT_EQ(knowledge->count(), 14);
        EXPECT_EQ(codes.text(0), QStringLiteral("0x0000007B"));
        EXPECT_EQ(codes.text(4), QStringLiteral("0x0000007B"));  // stored twice, listed twice

        struct Case { QString code; bool found; const char* fenxiStart; };
        const Case cases[] = {
            {QStringLiteral("0x0000007b"), true, "启动设备不可访问"},  // the first of two rows, case-blind
            {QStringLiteral("o'brien"), true, "含有撇号的代码"},
            {QStringLiteral(" 0x00000050"), true, "前面带一个空格"},
            {QStringLiteral("0x00000050"), false, ""},  // the blank is part of the stored code
            {QStringLiteral("nullboth"), true, ""},     // NULL fields read as empty text
            {QStringLiteral("' or ''='"), false, ""},
        };
        for (const Case& c : cases) {
            const CodeAnswer answer = knowledge->lookup(c.code);
            EXPECT_EQ(answer.found, c.found) << c.code.toStdString();
            const QString start = QString::fromUtf8(c.fenxiStart);
            EXPECT_EQ(answer.fenxi.left(start.size()), start) << c.code.toStdString();
            EXPECT_EQ(knowledge->dataControl().RecordSource(), KnowledgeBase::lookupQuery(c.code));
        }
        // A file without the parameter tables, like a user's own db1.mdb: no meanings, no error.
        EXPECT_TRUE(knowledge->parameterMeanings(0x7B).empty());
        EXPECT_TRUE(knowledge->valueMeaning(0x7B, 1, 0).isEmpty());
    }
}

TEST(KnowledgeBase, QueryTextsKeysAndCodesAreSpelledExactly)
{
    EXPECT_EQ(KnowledgeBase::lookupQuery(QStringLiteral("0x0000007B")), QStringLiteral("select fenxi,jiejue from lanping where daima='0x0000007B'"));
    EXPECT_EQ(KnowledgeBase::lookupQuery(QStringLiteral("x' OR '1'='1")),
              QStringLiteral("select fenxi,jiejue from lanping where daima='x'' OR ''1''=''1'"));
    EXPECT_EQ(KnowledgeBase::lookupQuery(QString()), QStringLiteral("select fenxi,jiejue from lanping where daima=''"));

    struct KeyCase { std::uint32_t code; const char* key; };
    for (const KeyCase& c : {KeyCase{0x9F, "0x0000009F"}, KeyCase{0, "0x00000000"}, KeyCase{0x1000007E, "0x1000007E"}, KeyCase{0xFFFFFFFF, "0xFFFFFFFF"}})
        EXPECT_EQ(KnowledgeBase::codeKey(c.code), QString::fromLatin1(c.key));

    struct ParseCase { const char* text; std::optional<std::uint32_t> code; };
    const ParseCase parses[] = {
        {"0x9f", 0x9F},        {"0X0000009F", 0x9F}, {"0x000000000000009F", 0x9F}, {"0xffffffff", 0xFFFFFFFFu},
        {"0x100000000", {}},   {"9F", {}},           {"0x", {}},                   {"0x9G", {}},
        {" 0x9F", {}},         {"0x9F ", {}},        {"DRIVER_POWER_STATE_FAILURE", {}}, {"", {}},
    };
    for (const ParseCase& c : parses)
        EXPECT_EQ(KnowledgeBase::parseCode(QString::fromUtf8(c.text)), c.code) << c.text;
}

TEST(KnowledgeBase, ParameterMeaningsComeByNumberFirstRowFirst)
{
    const auto knowledge = KnowledgeBase::openFile(withParameterTables());
    const std::vector<ParameterMeaning> expected = {{1, QStringLiteral("类型")}, {2, QStringLiteral("第二个")}, {4, QStringLiteral("第四个")}};
    EXPECT_EQ(knowledge->parameterMeanings(0x9F), expected);
    EXPECT_EQ(knowledge->parameterMeanings(0x133), (std::vector<ParameterMeaning>{{1, QStringLiteral("DPC")}}));
    EXPECT_TRUE(knowledge->parameterMeanings(0x7E).empty());  // the table is there, the code is not
}

TEST(KnowledgeBase, ValueMeaningsCompareValuesAsNumbers)
{
    const auto knowledge = KnowledgeBase::openFile(withParameterTables());
    struct Case { std::uint32_t code; int xuhao; std::uint64_t value; const char* hanyi; };
    const Case cases[] = {
        {0x9F, 1, 3, "设备对象阻塞"},  {0x9F, 1, 4, "超时"},       // stored "0x00000004"
        {0x9F, 2, 3, "第二个参数的 3"}, {0x9F, 3, 3, ""},           // the value belongs to one parameter only
        {0x9F, 1, 5, ""},             {0x133, 1, 0, "单个 DPC"},   {0x133, 1, 1, "累计"},
        {0x1E, 1, 0xC0000005, "访问冲突"},                         // stored in lower case
        {0x1E, 1, 0x1C0000005, ""},                                // 64-bit values are not cut to 32 bits
        {0x1E, 2, 0xFFFFF80012345678, "地址"},
        {0x7E, 1, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(knowledge->valueMeaning(c.code, c.xuhao, c.value), QString::fromUtf8(c.hanyi)) << std::hex << c.code << " P" << c.xuhao << " " << c.value;
}

TEST(KnowledgeBase, AFileThatIsNoKnowledgeBaseIsRefusedWithItsPathAndReason)
{
    const QString dir = tervolin::test::scratchDir();
    struct Case { const char* name; QString path; std::function<void(const QString&)> make; const char* reason; };
    const Case cases[] = {
        {"missing", dir + QStringLiteral("/missing.mdb"), [](const QString&) {}, "does not exist"},
        {"no lanping", dir + QStringLiteral("/other.mdb"), [](const QString& p) { tervolin::test::createDatabase(p, "CREATE TABLE canshu(daima TEXT)"); },
         "no such table: lanping"},
        {"column missing", dir + QStringLiteral("/short.mdb"), [](const QString& p) { tervolin::test::createDatabase(p, "CREATE TABLE lanping(daima TEXT, fenxi TEXT)"); },
         "no such column: jiejue"},
        {"Jet file of another shape", tervolin::test::jetFixture("jackcess_testV1997.mdb"), [](const QString&) {}, "no table \"lanping\""},
    };
    for (const Case& c : cases) {
        c.make(c.path);
        try {
            KnowledgeBase::openFile(c.path);
            ADD_FAILURE() << c.name << ": opened";
        } catch (const DataError& error) {
            EXPECT_EQ(error.filePath(), c.path) << c.name;
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.reason))) << c.name << ": " << error.message().toStdString();
        }
    }
}
