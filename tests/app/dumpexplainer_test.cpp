// What the knowledge base says about crash dumps and reports: codes with the 0x10000000 bit, names and codes of
// each other, parameter meanings (and their absence in a user's own file), on real SQLite and Jet files; and the
// user's words for the reader's kinds.
#include <gtest/gtest.h>

#include "app/dumpexplainer.h"
#include "app/dumptexts.h"
#include "app/knowledgebase.h"
#include "tests/support/qtprinters.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;
namespace crashdump = tervolin::platform::crashdump;

namespace {

// Codes stored as the bundled base stores them (key row, then name row with the same texts), one stored with the
// 0x10000000 bit itself, and parameter tables for 0x7E.
QString knowledgeFile()
{
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createDatabase(path, R"(
        CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);
        INSERT INTO lanping VALUES('0x0000007E', '线程异常', '更新驱动'), ('SYSTEM_THREAD_EXCEPTION_NOT_HANDLED', '线程异常', '更新驱动'),
                                  ('0x0000008E', '内核异常', '检查内存'), ('KERNEL_MODE_EXCEPTION_NOT_HANDLED', '内核异常', '检查内存'),
                                  ('0x1000008E', '带标志位的内核异常', '同 0x8E'),
                                  ('0x000000D1', '驱动 IRQL', '找出驱动'), ('ALSO_D1', '驱动 IRQL', '另一种解决'),
                                  ('0x00000001', '', ''), ('EMPTY_NAME', '', ''),
                                  ('NAME_ONLY', '只有名称', '只有名称的解决方法');
        CREATE TABLE canshu(daima TEXT, xuhao INTEGER, hanyi TEXT);
        INSERT INTO canshu VALUES('0x0000007E', 1, '异常代码'), ('0x0000007E', 2, '异常地址');
        CREATE TABLE canshuzhi(daima TEXT, xuhao INTEGER, zhi TEXT, hanyi TEXT);
        INSERT INTO canshuzhi VALUES('0x0000007E', 1, '0xC0000005', '访问冲突');
    )");
    return path;
}

crashdump::DumpInfo kernelDump(quint32 code, std::array<quint64, 4> parameters = {})
{
    crashdump::DumpInfo d;
    d.code = code;
    d.parameters = parameters;
    d.parameterCount = 4;
    return d;
}

}  // namespace

TEST(KnowledgeBaseCodes, ACodeWithTheFlagBitIsLookedUpAsStoredThenWithout)
{
    const auto knowledge = KnowledgeBase::openFile(knowledgeFile());
    struct Case { quint32 code; const char* key; bool found; const char* fenxi; };
    const Case cases[] = {
        {0x7E, "0x0000007E", true, "线程异常"},
        {0x1000007E, "0x0000007E", true, "线程异常"},            // not stored with the bit: the code without it
        {0x1000008E, "0x1000008E", true, "带标志位的内核异常"},  // stored with the bit: as stored
        {0x10000050, "0x10000050", false, ""},                  // neither: the key tried first
        {0x50, "0x00000050", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const CodeMatch match = knowledge->lookupCode(c.code);
        EXPECT_EQ(match.key, QString::fromLatin1(c.key));
        EXPECT_EQ(match.answer.found, c.found);
        EXPECT_EQ(match.answer.fenxi, QString::fromUtf8(c.fenxi));
    }
}

TEST(KnowledgeBaseCodes, NamesAndCodesAreTheOtherRowsWithTheSameTexts)
{
    const auto knowledge = KnowledgeBase::openFile(knowledgeFile());
    EXPECT_EQ(knowledge->codeName(QStringLiteral("0x0000007e")), QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"));
    EXPECT_EQ(knowledge->codeOfName(QStringLiteral("system_thread_exception_not_handled")), 0x7Eu);
    // The same analysis with another solution is another row's business.
    EXPECT_EQ(knowledge->codeName(QStringLiteral("0x000000D1")), QString());
    // An empty analysis pairs nothing; a name without a code has no code.
    EXPECT_EQ(knowledge->aliases(QStringLiteral("0x00000001")), QStringList());
    EXPECT_EQ(knowledge->codeOfName(QStringLiteral("NAME_ONLY")), std::nullopt);
    EXPECT_EQ(knowledge->codeName(QStringLiteral("0x00000050")), QString());
    // A key with an apostrophe stays inside its literal.
    EXPECT_EQ(knowledge->aliases(QStringLiteral("' or ''='")), QStringList());

    // The same questions on a user's Jet file, which has no names beside its codes.
    const auto jet = KnowledgeBase::openFile(tervolin::test::jetFixture("lanping_sample.mdb"));
    EXPECT_EQ(jet->codeName(QStringLiteral("0x0000000A")), QString());
    EXPECT_EQ(jet->codeOfName(QStringLiteral("CRITICAL_PROCESS_DIED")), std::nullopt);
}

TEST(DumpExplainer, ExplainsDumpsAndReportsWithParameterMeanings)
{
    const auto knowledge = KnowledgeBase::openFile(knowledgeFile());
    DumpExplainer explainer(knowledge.get());

    const crashdump::DumpInfo flagged = kernelDump(0x1000007E, {0xC0000005, 0xFFFFF80012345678ull, 0, 0});
    const DumpExplanation e = explainer.explain(flagged);
    EXPECT_EQ(e.key, QStringLiteral("0x0000007E"));
    EXPECT_EQ(e.code, 0x7Eu);
    EXPECT_TRUE(e.found);
    EXPECT_EQ(e.name, QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"));
    const std::vector<ParameterExplanation> p = explainer.parameters(e, flagged);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].meaning, QStringLiteral("异常代码"));
    EXPECT_EQ(p[0].valueMeaning, QStringLiteral("访问冲突"));
    EXPECT_EQ(p[1].meaning, QStringLiteral("异常地址"));
    EXPECT_EQ(p[1].valueMeaning, QString());
    EXPECT_EQ(p[2].meaning, QStringLiteral("含义未知"));
    EXPECT_EQ(p[3].value, 0u);

    // Not stored: the code's own key, nothing found, every parameter unknown.
    const DumpExplanation missing = explainer.explain(kernelDump(0x50));
    EXPECT_EQ(missing.key, QStringLiteral("0x00000050"));
    EXPECT_FALSE(missing.found);
    for (const ParameterExplanation& q : explainer.parameters(missing, kernelDump(0x50)))
        EXPECT_EQ(q.meaning, QStringLiteral("含义未知"));

    // An application crash and an unreadable file are no stop codes.
    crashdump::DumpInfo user = kernelDump(0xC0000005);
    user.format = crashdump::DumpFormat::User;
    user.parameterCount = 0;
    EXPECT_EQ(explainer.explain(user).key, QString());
    EXPECT_TRUE(explainer.parameters({}, user).empty());
    crashdump::DumpInfo bad;
    bad.errorKind = crashdump::ReadError::NotADump;
    EXPECT_EQ(explainer.explain(bad).key, QString());

    // Reports: by code (with the name the text gives when the base has none), and by name alone.
    crashdump::CrashReport byName;
    byName.name = QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED");
    const DumpExplanation named = explainer.explain(byName);
    EXPECT_EQ(named.key, QStringLiteral("0x0000007E"));
    EXPECT_EQ(named.code, 0x7Eu);
    EXPECT_TRUE(named.found);
    crashdump::CrashReport nameOnly;
    nameOnly.name = QStringLiteral("NAME_ONLY");
    const DumpExplanation onlyName = explainer.explain(nameOnly);
    EXPECT_EQ(onlyName.key, QStringLiteral("NAME_ONLY"));
    EXPECT_FALSE(onlyName.code.has_value());
    EXPECT_EQ(onlyName.fenxi, QStringLiteral("只有名称"));
    crashdump::CrashReport unknown;
    unknown.code = 0xDEADBEEF;
    unknown.name = QStringLiteral("SOMETHING_NEW");
    const DumpExplanation fresh = explainer.explain(unknown);
    EXPECT_FALSE(fresh.found);
    EXPECT_EQ(fresh.name, QStringLiteral("SOMETHING_NEW"));
}

TEST(DumpExplainer, AUsersOwnFileWithoutParameterTablesSaysMeaningUnknown)
{
    const auto jet = KnowledgeBase::openFile(tervolin::test::jetFixture("lanping_sample.mdb"));
    DumpExplainer explainer(jet.get());
    const crashdump::DumpInfo d = kernelDump(0xD1, {0xC, 2, 0, 0xFFFFF80012345678ull});
    const DumpExplanation e = explainer.explain(d);
    EXPECT_TRUE(e.found);
    EXPECT_EQ(e.name, QString());
    for (const ParameterExplanation& p : explainer.parameters(e, d)) {
        EXPECT_EQ(p.meaning, QStringLiteral("含义未知"));
        EXPECT_EQ(p.valueMeaning, QString());
    }
    // Without any knowledge base nothing is found, and nothing fails.
    DumpExplainer none(nullptr);
    EXPECT_FALSE(none.explain(d).found);
    EXPECT_EQ(none.explain(d).key, QStringLiteral("0x000000D1"));
}

TEST(DumpTexts, EveryKindHasChineseWords)
{
    using namespace tervolin::app::dumptexts;
    for (int k = int(crashdump::WarningKind::Truncated); k <= int(crashdump::WarningKind::EntryCapped); ++k)
        EXPECT_FALSE(warningText(crashdump::WarningKind(k)).isEmpty()) << k;
    for (int k = int(crashdump::ReadError::CannotOpen); k <= int(crashdump::ReadError::NestedArchive); ++k)
        EXPECT_FALSE(errorText(crashdump::ReadError(k)).isEmpty()) << k;

    struct Case { QString got; const char* expected; };
    crashdump::DumpInfo live = kernelDump(0x141);
    live.live = true;
    live.dumpType = 6;
    crashdump::DumpInfo newer = kernelDump(0x9F);
    newer.dumpType = 9;
    const Case cases[] = {
        {typeText(live), "实时转储（系统未蓝屏）"},
        {typeText(newer), "转储类型 9"},
        {dumpTypeText(5), "位图完整转储"},
        {machineText(0xAA64), "ARM64"},
        {machineText(0x1C4), "0x1C4"},
        {parameterText(0xC0000005, 64), "0x00000000C0000005"},
        {parameterText(0x3, 32), "0x00000003"},
        {uptimeText(59), "59 秒"},
        {uptimeText(3600), "1 小时 0 分 0 秒"},
        {uptimeText(2 * 86400 + 3 * 3600 + 4 * 60 + 5), "2 天 3 小时 4 分 5 秒"},
        {suspectText({QStringLiteral("x.sys"), 0x1A2B, crashdump::SuspectMethod::Stack}), "x.sys +0x1A2B（推测）"},
        {suspectText({QStringLiteral("y.sys"), std::nullopt, crashdump::SuspectMethod::Text}), "y.sys"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, QString::fromUtf8(c.expected));
}
