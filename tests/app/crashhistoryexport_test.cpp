// The exports of the crash history with awkward contents: names and paths with separators, quotes and line
// breaks, a module name that a spreadsheet would run as a formula, control characters in a damaged name.
#include <gtest/gtest.h>

#include <QXmlStreamReader>

#include "app/crashhistoryexport.h"
#include "tests/support/qtprinters.h"

using namespace tervolin::app;
namespace crashdump = tervolin::platform::crashdump;

namespace {

HistoryEntry entry(const QString& file, const QString& module)
{
    HistoryEntry e;
    e.dump.file = file;
    e.dump.code = 0xD1;
    e.dump.parameterCount = 4;
    e.dump.parameterWidth = 32;
    e.dump.parameters = {0xC, 2, 0, 0x8F4A1234};
    e.dump.dumpType = 4;
    e.dump.format = crashdump::DumpFormat::Kernel32;
    e.dump.suspect = crashdump::Suspect{module, 0x1234, crashdump::SuspectMethod::Parameter};
    e.explanation.key = QStringLiteral("0x000000D1");
    e.explanation.found = true;
    e.explanation.name = QStringLiteral("DRIVER_IRQL_NOT_LESS_OR_EQUAL");
    return e;
}

}  // namespace

TEST(CrashHistoryExport, CsvQuotesWhatNeedsItAndDefusesFormulas)
{
    crashdump::DumpInfo bad;
    bad.file = QStringLiteral("/x/bad.dmp");
    bad.errorKind = crashdump::ReadError::NotADump;
    const std::vector<HistoryEntry> entries = {entry(QStringLiteral("/mnt/a,b/\"quoted\"\nnext.dmp"), QStringLiteral("=cmd|' /C calc'!A0")),
                                               {bad, {}}};
    const QByteArray bytes = crashexport::csv(entries);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0], QStringLiteral("崩溃时间,代码,名称,可能相关的驱动,类型,文件,参数 1,参数 2,参数 3,参数 4"));
    EXPECT_EQ(lines[1], QStringLiteral("未知,0x000000D1,DRIVER_IRQL_NOT_LESS_OR_EQUAL,'=cmd|' /C calc'!A0 +0x1234,小型转储,"
                                       "\"/mnt/a,b/\"\"quoted\"\"\nnext.dmp\",0x0000000C,0x00000002,0x00000000,0x8F4A1234"));
    EXPECT_EQ(lines[2], QStringLiteral(",,不是 Windows 转储文件,,无法读取,/x/bad.dmp,,,,"));
    EXPECT_EQ(lines[3], QString());
    EXPECT_EQ(lines.size(), 4);
}

TEST(CrashHistoryExport, HtmlIsOneWellFormedPageWhateverTheNamesHold)
{
    const std::vector<HistoryEntry> entries = {entry(QStringLiteral("/a/<b>&amp;.dmp"), QStringLiteral("x\x01y</td>.sys"))};
    const QByteArray page = crashexport::html(entries, QDateTime(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC));
    QXmlStreamReader xml(page);
    QStringList cells;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("td"))
            cells << xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(cells.size(), 10);
    EXPECT_EQ(cells[3], QStringLiteral("x\uFFFDy</td>.sys +0x1234"));
    EXPECT_EQ(cells[5], QStringLiteral("/a/<b>&amp;.dmp"));
    EXPECT_TRUE(page.contains("<title>崩溃记录</title>"));
    EXPECT_TRUE(page.contains("<html lang=\"zh-CN\">"));
}

TEST(CrashHistoryExport, AFailedWriteLeavesTheOldFileAndSaysWhy)
{
    EXPECT_TRUE(crashexport::save(QStringLiteral("/nonexistent-folder/x.html"), "x").startsWith(QStringLiteral("无法写入")));
}
