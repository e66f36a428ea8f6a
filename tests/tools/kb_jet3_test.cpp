// tervolin-kb on a Simplified Chinese Access 97 knowledge base: its texts come out in Chinese, not as the
// CP1252 reading of their GBK bytes.
#include <gtest/gtest.h>

#include <QTextStream>

#include "tools/kb/kbtool.h"

using namespace tervolin::tools;

namespace {

QString gbkFixture()
{
    // Qt's test library defines the folder of the tests' sources for every target that links it.
    return QStringLiteral(QT_TESTCASE_SOURCEDIR "/fixtures/jet/lanping_jet3_gbk.mdb");
}

struct KbRun {
    int status;
    QString out;
    QString err;
};

KbRun kb(const QStringList& arguments)
{
    KbRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = runKb(QStringList{QStringLiteral("--db"), gbkFixture()} + arguments, QStringLiteral("/nonexistent/db1.mdb"), out, err);
    out.flush();
    err.flush();
    return r;
}

TEST(KbJet3, ListShowsTheChineseCodes)
{
    const KbRun r = kb({QStringLiteral("list")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("0x0000007B\n蓝屏\n0x000000D1\n0x0000009f\n"));
}

TEST(KbJet3, LookupOfAChineseCodeShowsItsTexts)
{
    const KbRun r = kb({QStringLiteral("lookup"), QStringLiteral("蓝屏")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("GBK 独有的字：镕、喆、堃。"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("无"))) << r.out.toStdString();
}

// The long analysis lives on a long-value page; NULL and an empty Memo stay apart in the export.
TEST(KbJet3, ExportKeepsEveryText)
{
    const KbRun r = kb({QStringLiteral("export")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5) << r.out.toStdString();
    EXPECT_EQ(lines[2],
              QStringLiteral("0x000000D1\t驱动程序在过高的中断请求级别访问了分页内存或无效地址。常见原因是驱动程序有缺陷，"
                             "或新装的驱动程序与系统不兼容。\t\\N"));
    EXPECT_EQ(lines[3], QStringLiteral("0x0000009f\t电源状态转换失败。\t"));
}

}  // namespace
