// tervolin-kb dump: JSON read back with its fixed keys, newest crash first; the exit statuses; the plain Chinese
// output; crash reports as text from a file (UTF-8, UTF-16, GB18030) and from standard input through the program.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringEncoder>

#include "app/knowledgebase.h"
#include "tests/app/historysamples.h"
#include "tests/support/qtprinters.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"
#include "tools/kb/dumpcommand.h"
#include "tools/kb/kbtool.h"

using namespace tervolin::tools;

void PrintTo(const QJsonValue& value, std::ostream* os)
{
    *os << QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}
using tervolin::test::SampleTree;

namespace {

// Every code of the samples but 0x133, with names beside the codes and a meaning for 0xD1's first parameter.
QString knowledgeFile()
{
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createDatabase(path, R"(
        CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);
        INSERT INTO lanping VALUES
          ('0x0000000A', '分析 0A', '解决 0A'), ('IRQL_NOT_LESS_OR_EQUAL', '分析 0A', '解决 0A'),
          ('0x00000050', '分析 50', '解决 50'), ('0x0000007E', '分析 7E', '解决 7E'),
          ('SYSTEM_THREAD_EXCEPTION_NOT_HANDLED', '分析 7E', '解决 7E'), ('0x0000009F', '分析 9F', '解决 9F'),
          ('DRIVER_POWER_STATE_FAILURE', '分析 9F', '解决 9F'), ('0x00000141', '分析 141', '解决 141'),
          ('0x000000D1', '分析 D1', '解决 D1'), ('DRIVER_IRQL_NOT_LESS_OR_EQUAL', '分析 D1', '解决 D1'),
          ('0x0000005A', '分析 5A', '解决 5A'), ('CRITICAL_SERVICE_FAILED', '分析 5A', '解决 5A'),
          ('0x00000024', '分析 24', '解决 24');
        CREATE TABLE canshu(daima TEXT, xuhao INTEGER, hanyi TEXT);
        INSERT INTO canshu VALUES('0x000000D1', 1, '被访问的内存地址');
    )");
    return path;
}

struct KbRun
{
    int status = -1;
    QString out;
    QString err;
};

KbRun kb(const QStringList& arguments, const QString& db)
{
    KbRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = runKb(QStringList{QStringLiteral("--db"), db} + arguments, QStringLiteral("/nonexistent/db1.mdb"), out, err);
    out.flush();
    err.flush();
    return r;
}

KbRun dumpText(const QByteArray& input, const QString& db, bool json = true)
{
    QBuffer standardInput;
    standardInput.setData(input);
    standardInput.open(QIODevice::ReadOnly);
    const auto knowledge = tervolin::app::KnowledgeBase::openFile(db);
    KbRun r;
    QTextStream out(&r.out);
    r.status = runDumpCommand({{}, QStringLiteral("-"), json}, *knowledge, out, standardInput);
    out.flush();
    return r;
}

QJsonArray parsed(const QString& out)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << out.toStdString();
    EXPECT_TRUE(doc.isArray());
    return doc.array();
}

QStringList keys(const QJsonObject& o)
{
    QStringList k = o.keys();
    k.sort();
    return k;
}

const QString ReportsText = QStringLiteral(
    "The computer has rebooted from a bugcheck.  The bugcheck was: 0x0000009f (0x0000000000000003, 0xffffe000f38c06a0, "
    "0xfffff8030a4e4840, 0xffffe000f7b1a010). A dump was saved in: C:\\Windows\\MEMORY.DMP. Report Id: 1.\n\n"
    "<EventData><Data Name=\"BugcheckCode\">126</Data><Data Name=\"BugcheckParameter1\">0xffffffffc0000005</Data>"
    "<Data Name=\"BugcheckParameter2\">0xfffff8012a4b1c2d</Data></EventData>\n\n"
    "BCCode: 24 BCP1: 00000000001904FB BCP2: FFFFD000A8A4E5A8 BCP3: FFFFD000A8A4DDC0 BCP4: FFFFF80163A4C7F5\n\n"
    "Stop code: CRITICAL SERVICE FAILED\nWhat failed: nvlddmkm.sys\n\n"
    "*** STOP: 0x000000D1 (0x0000000C,0x00000002,0x00000000,0xF86B5A89)\n");

}  // namespace

TEST(KbDump, JsonListsEveryDumpNewestFirstWithItsFields)
{
    const QString db = knowledgeFile();
    const SampleTree samples = tervolin::test::writeSampleTree(tervolin::test::scratchDir());
    const KbRun r = kb({QStringLiteral("dump"), QStringLiteral("--json"), samples.windowsFolder, samples.mailFolder}, db);
    EXPECT_EQ(r.status, KbFailed) << "the unfinished dump is unreadable";
    const QJsonArray dumps = parsed(r.out);
    ASSERT_EQ(dumps.size(), qsizetype(samples.dumps.size()));
    for (qsizetype i = 0; i < dumps.size(); ++i)
        EXPECT_EQ(dumps[i].toObject().value(QStringLiteral("file")).toString(), samples.dumps[std::size_t(i)].path) << i;

    const QStringList dumpKeys = {"build", "code", "crash_time", "drivers", "dump_type", "fenxi", "file", "format", "found", "jiejue",
                                  "live", "machine", "name", "parameters", "processors", "suspect", "unloaded_drivers",
                                  "uptime_seconds", "warnings"};
    const QJsonObject d1 = dumps[0].toObject();
    EXPECT_EQ(keys(d1), dumpKeys);
    EXPECT_EQ(d1[QStringLiteral("format")], QStringLiteral("kernel64"));
    EXPECT_EQ(d1[QStringLiteral("dump_type")], QStringLiteral("small"));
    EXPECT_EQ(d1[QStringLiteral("live")], false);
    EXPECT_EQ(d1[QStringLiteral("machine")], QStringLiteral("x64"));
    EXPECT_EQ(d1[QStringLiteral("build")], 19041);
    EXPECT_EQ(d1[QStringLiteral("processors")], 8);
    EXPECT_EQ(d1[QStringLiteral("code")], QStringLiteral("0x000000D1"));
    EXPECT_EQ(d1[QStringLiteral("name")], QStringLiteral("DRIVER_IRQL_NOT_LESS_OR_EQUAL"));
    const QJsonArray parameters = d1[QStringLiteral("parameters")].toArray();
    ASSERT_EQ(parameters.size(), 4);
    EXPECT_EQ(parameters[0], QStringLiteral("0xFFFFB00C1F2A3040"));
    EXPECT_EQ(parameters[1], QStringLiteral("0x0000000000000002"));
    EXPECT_EQ(d1[QStringLiteral("crash_time")], QStringLiteral("2024-03-14T21:07:00Z"));
    EXPECT_EQ(d1[QStringLiteral("uptime_seconds")], 3 * 3600 + 17 * 60 + 7);
    EXPECT_EQ(d1[QStringLiteral("drivers")], 16);
    EXPECT_EQ(d1[QStringLiteral("unloaded_drivers")], (QJsonArray{QStringLiteral("mouhid.sys"), QStringLiteral("WUDFRd.sys")}));
    const QJsonObject suspect = d1[QStringLiteral("suspect")].toObject();
    EXPECT_EQ(suspect[QStringLiteral("module")], QStringLiteral("Netwtw10.sys"));
    EXPECT_EQ(suspect[QStringLiteral("offset")], QStringLiteral("0x1A2B0"));
    EXPECT_EQ(suspect[QStringLiteral("method")], QStringLiteral("parameter"));
    EXPECT_EQ(d1[QStringLiteral("found")], true);
    EXPECT_EQ(d1[QStringLiteral("fenxi")], QStringLiteral("分析 D1"));
    EXPECT_EQ(d1[QStringLiteral("jiejue")], QStringLiteral("解决 D1"));
    EXPECT_EQ(d1[QStringLiteral("warnings")], QJsonArray());

    const auto byFile = [&](const QString& file) {
        for (const QJsonValue& v : dumps)
            if (v.toObject()[QStringLiteral("file")] == file)
                return v.toObject();
        ADD_FAILURE() << file.toStdString();
        return QJsonObject();
    };
    const QJsonObject flagged = byFile(samples.withCode(0x1000007E).path);
    EXPECT_EQ(flagged[QStringLiteral("code")], QStringLiteral("0x1000007E"));
    EXPECT_EQ(flagged[QStringLiteral("name")], QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"));
    EXPECT_EQ(flagged[QStringLiteral("fenxi")], QStringLiteral("分析 7E"));
    EXPECT_EQ(flagged[QStringLiteral("suspect")].toObject()[QStringLiteral("module")], QStringLiteral("iaStorAC.sys"));
    const QJsonObject watchdog = byFile(samples.windowsFolder + QStringLiteral("/LiveKernelReports/WATCHDOG/WATCHDOG-20240311-1703.dmp"));
    EXPECT_EQ(watchdog[QStringLiteral("live")], true);
    EXPECT_EQ(watchdog[QStringLiteral("dump_type")], QStringLiteral("bitmap-kernel"));
    EXPECT_EQ(watchdog[QStringLiteral("suspect")], QJsonValue());
    EXPECT_EQ(byFile(samples.windowsFolder + QStringLiteral("/MEMORY.DMP"))[QStringLiteral("dump_type")], QStringLiteral("kernel"));
    const QJsonObject app = byFile(samples.mailFolder + QStringLiteral("/game.exe.1234.dmp"));
    EXPECT_EQ(app[QStringLiteral("format")], QStringLiteral("user"));
    EXPECT_EQ(app[QStringLiteral("program")], QStringLiteral("game.exe"));
    EXPECT_EQ(app[QStringLiteral("parameters")], QJsonArray());
    EXPECT_EQ(app[QStringLiteral("found")], false);
    EXPECT_EQ(app[QStringLiteral("dump_type")], QJsonValue());
    const QJsonObject missing = [&] {
        for (const QJsonValue& v : dumps)
            if (v.toObject()[QStringLiteral("code")] == QStringLiteral("0x00000133"))
                return v.toObject();
        return QJsonObject();
    }();
    EXPECT_EQ(missing[QStringLiteral("found")], false);
    EXPECT_EQ(missing[QStringLiteral("name")], QJsonValue());
    EXPECT_EQ(missing[QStringLiteral("fenxi")], QJsonValue());
    const QJsonObject unfinished = dumps.last().toObject();
    EXPECT_EQ(keys(unfinished), (QStringList{QStringLiteral("error"), QStringLiteral("file")}));
    EXPECT_TRUE(unfinished[QStringLiteral("error")].toString().contains(QStringLiteral("没有写完")));
}

TEST(KbDump, ExitStatusSaysWhetherAllWasReadAndFound)
{
    const QString db = knowledgeFile();
    const SampleTree samples = tervolin::test::writeSampleTree(tervolin::test::scratchDir());
    QString missingCode;
    for (const auto& s : samples.dumps)
        if (s.code == 0x133)
            missingCode = s.path;
    const QString found = samples.withCode(0xD1).path;
    const QString unfinished = samples.dumps.back().path;
    const QString app = samples.mailFolder + QStringLiteral("/game.exe.1234.dmp");
    struct Case { QStringList paths; int status; };
    const Case cases[] = {
        {{found}, KbOk},
        {{found, app}, KbOk},  // an application crash has no stop code to find
        {{found, missingCode}, KbNotFound},
        {{found, unfinished}, KbFailed},
        {{missingCode, unfinished}, KbFailed},
        {{QStringLiteral("/nonexistent/x.dmp")}, KbFailed},
    };
    for (const Case& c : cases) {
        for (const bool json : {false, true}) {
            QStringList args{QStringLiteral("dump")};
            if (json)
                args << QStringLiteral("--json");
            EXPECT_EQ(kb(args + c.paths, db).status, c.status) << c.paths.join(QLatin1Char(' ')).toStdString();
        }
    }
    EXPECT_EQ(kb({QStringLiteral("dump")}, db).status, KbUsage);
    EXPECT_EQ(kb({QStringLiteral("dump"), QStringLiteral("--text")}, db).status, KbUsage);
    EXPECT_EQ(kb({QStringLiteral("dump"), found}, QStringLiteral("/nonexistent/db1.mdb")).status, KbFailed);

    // A report text that cannot be read is named with the reason in Chinese, and the dumps beside it are still read.
    struct TextCase { QString file; const char* reason; };
    const TextCase texts[] = {
        {QStringLiteral("/nonexistent/report.txt"), "无法读取：文件不存在"},
        {samples.mailFolder, "无法读取：这是文件夹，不是文字文件"},
    };
    for (const TextCase& t : texts) {
        const KbRun r = kb({QStringLiteral("dump"), QStringLiteral("--text"), t.file, found}, db);
        EXPECT_EQ(r.status, KbFailed);
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(t.reason))) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("代码：0x000000D1"))) << r.out.toStdString();
    }
}

TEST(KbDump, PlainOutputIsABlockPerDumpInChinese)
{
    const QString db = knowledgeFile();
    const SampleTree samples = tervolin::test::writeSampleTree(tervolin::test::scratchDir());
    const KbRun r = kb({QStringLiteral("dump"), samples.withCode(0x1000007E).path, samples.withCode(0xD1).path, samples.dumps.back().path}, db);
    EXPECT_EQ(r.status, KbFailed);
    const QStringList blocks = r.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(blocks.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(blocks[0].startsWith(QStringLiteral("文件：") + samples.withCode(0xD1).path + QLatin1Char('\n')));
    for (const char* line : {"类型：小型转储，64 位内核转储", "代码：0x000000D1 DRIVER_IRQL_NOT_LESS_OR_EQUAL", "参数 1：0xFFFFB00C1F2A3040  被访问的内存地址",
                             "参数 2：0x0000000000000002  含义未知", "系统：版本号 19041，x64，8 个处理器", "运行时间：3 小时 17 分 7 秒",
                             "可能相关的驱动：Netwtw10.sys +0x1A2B0（根据：停止代码参数中的代码地址所在的模块）", "已加载的驱动：16 个",
                             "已卸载的驱动：mouhid.sys、WUDFRd.sys", "问题分析：\n  分析 D1", "解决方法：\n  解决 D1"})
        EXPECT_TRUE(blocks[0].contains(QString::fromUtf8(line))) << line << "\n" << blocks[0].toStdString();
    EXPECT_TRUE(blocks[1].contains(QStringLiteral("代码：0x1000007E SYSTEM_THREAD_EXCEPTION_NOT_HANDLED（按 0x0000007E 查询）")))
        << blocks[1].toStdString();
    EXPECT_TRUE(blocks[2].contains(QStringLiteral("无法读取：")));
}

TEST(KbDump, CrashReportsAsTextInTheEncodingsWindowsWrites)
{
    const QString db = knowledgeFile();
    struct Expected { const char* report; const char* code; bool found; };
    const Expected expected[] = {
        {"event-log", "0x0000009F", true}, {"kernel-power", "0x0000007E", true}, {"error-report", "0x00000024", true},
        {"stop-screen", "0x0000005A", true}, {"old-stop-screen", "0x000000D1", true},
    };
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
    QStringEncoder gb18030("GB18030");
    ASSERT_TRUE(gb18030.isValid());
    const QByteArray encodings[] = {ReportsText.toUtf8(), utf16(ReportsText)};
    for (const QByteArray& bytes : encodings) {
        const KbRun r = dumpText(bytes, db);
        EXPECT_EQ(r.status, KbOk);
        const QJsonArray reports = parsed(r.out);
        ASSERT_EQ(reports.size(), qsizetype(std::size(expected))) << r.out.toStdString();
        for (qsizetype i = 0; i < reports.size(); ++i) {
            const QJsonObject o = reports[i].toObject();
            EXPECT_EQ(o[QStringLiteral("file")], QStringLiteral("-"));
            EXPECT_EQ(o[QStringLiteral("format")], QStringLiteral("text"));
            EXPECT_EQ(o[QStringLiteral("report")], QString::fromLatin1(expected[i].report));
            EXPECT_EQ(o[QStringLiteral("code")], QString::fromLatin1(expected[i].code));
            EXPECT_EQ(o[QStringLiteral("found")], expected[i].found);
            EXPECT_EQ(o[QStringLiteral("parameters")].toArray().size(), 4);
        }
        EXPECT_EQ(reports[0].toObject()[QStringLiteral("parameters")].toArray()[0], QStringLiteral("0x0000000000000003"));
        EXPECT_EQ(reports[0].toObject()[QStringLiteral("dump_file")], QStringLiteral("C:\\Windows\\MEMORY.DMP"));
        EXPECT_EQ(reports[1].toObject()[QStringLiteral("parameters")].toArray()[2], QJsonValue());
        EXPECT_EQ(reports[3].toObject()[QStringLiteral("name")], QStringLiteral("CRITICAL_SERVICE_FAILED"));
        EXPECT_EQ(reports[3].toObject()[QStringLiteral("suspect")].toObject()[QStringLiteral("module")], QStringLiteral("nvlddmkm.sys"));
        EXPECT_EQ(reports[4].toObject()[QStringLiteral("parameters")].toArray()[3], QStringLiteral("0xF86B5A89"));
    }

    // Chinese Windows saves text in its code page.
    const QString chinese = QStringLiteral("计算机已经从检测错误后重新启动。检测错误: 0x0000009f (0x0000000000000003, 0xffffe000f38c06a0, "
                                           "0xfffff8030a4e4840, 0xffffe000f7b1a010)。");
    EXPECT_EQ(decodeReportText(gb18030(chinese)), chinese);
    const KbRun fromGbk = dumpText(gb18030(chinese), db, false);
    EXPECT_EQ(fromGbk.status, KbOk);
    EXPECT_TRUE(fromGbk.out.contains(QStringLiteral("代码：0x0000009F DRIVER_POWER_STATE_FAILURE"))) << fromGbk.out.toStdString();
    EXPECT_TRUE(fromGbk.out.contains(QStringLiteral("类型：崩溃报告文字，系统事件日志（BugCheck）")));

    // A code the base lacks, and a text that holds no report.
    EXPECT_EQ(dumpText("BugCheck 133, {1, 1e00, fffff80375efa320, 0}", db).status, KbNotFound);
    const KbRun nothing = dumpText("hello", db);
    EXPECT_EQ(nothing.status, KbFailed);
    EXPECT_EQ(keys(parsed(nothing.out)[0].toObject()), (QStringList{QStringLiteral("error"), QStringLiteral("file")}));
}

TEST(KbDump, ReadsAReportFromStandardInputAndDumpsBesideIt)
{
    const QString db = knowledgeFile();
    const SampleTree samples = tervolin::test::writeSampleTree(tervolin::test::scratchDir());
    QProcess program;
    program.start(QStringLiteral(TERVOLIN_KB), {QStringLiteral("--db"), db, QStringLiteral("dump"), QStringLiteral("--json"),
                                               QStringLiteral("--text"), QStringLiteral("-"), samples.withCode(0xD1).path});
    ASSERT_TRUE(program.waitForStarted());
    program.write("*** STOP: 0x0000000A (0x00000028,0x00000002,0x00000000,0x804E3B2C)\n");
    program.closeWriteChannel();
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), KbOk) << program.readAllStandardError().toStdString();
    const QJsonArray all = parsed(QString::fromUtf8(program.readAllStandardOutput()));
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].toObject()[QStringLiteral("code")], QStringLiteral("0x000000D1"));
    EXPECT_EQ(all[1].toObject()[QStringLiteral("code")], QStringLiteral("0x0000000A"));
    EXPECT_EQ(all[1].toObject()[QStringLiteral("name")], QStringLiteral("IRQL_NOT_LESS_OR_EQUAL"));
}
