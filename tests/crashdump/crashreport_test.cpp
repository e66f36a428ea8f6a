// Crash reports pasted as text, one real-looking sample of each form Windows and its tools write.
#include <gtest/gtest.h>

#include "platform/crashdump/crashreport.h"

using namespace tervolin::platform::crashdump;

namespace {

using Params = std::array<std::optional<quint64>, 4>;

struct Expected {
    ReportForm form;
    std::optional<quint32> code;
    const char* name;
    Params parameters;
    int width;
    const char* module;              // nullptr: no suspect
    std::optional<quint64> offset;
    const char* dumpFile;
};

struct Case {
    const char* name;
    const char* text;
    std::vector<Expected> reports;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

constexpr std::nullopt_t none = std::nullopt;

const Case kCases[] = {
    {"event log",
     "Log Name:      System\n"
     "Source:        Microsoft-Windows-WER-SystemErrorReporting\n"
     "Event ID:      1001\n"
     "Description:\n"
     "The computer has rebooted from a bugcheck.  The bugcheck was: 0x0000009f (0x0000000000000003, 0xffffe000f38c06a0, "
     "0xffffd000e6a4f8f0, 0xffffe000f9e43c60). A dump was saved in: C:\\WINDOWS\\MEMORY.DMP. Report Id: 071516-12312-01.\n",
     {{ReportForm::EventLog, 0x9F, "", {3, 0xFFFFE000F38C06A0ull, 0xFFFFD000E6A4F8F0ull, 0xFFFFE000F9E43C60ull}, 64, nullptr,
       none, "C:\\WINDOWS\\MEMORY.DMP"}}},
    {"event log in Chinese",
     "计算机已经从检测错误后重新启动。检测错误: 0x00000116 (0xffffa8067ff5e010, 0xfffff8066d7fe480, 0xffffffffc000009a, "
     "0x0000000000000004)。已将转储的数据保存在: C:\\WINDOWS\\Minidump\\031524-10234-01.dmp。报告 ID: 4e1e8c4f-0c9e-4b3a-9d2f-1d2e3f4a5b6c。",
     {{ReportForm::EventLog, 0x116, "", {0xFFFFA8067FF5E010ull, 0xFFFFF8066D7FE480ull, 0xFFFFFFFFC000009Aull, 4}, 64, nullptr,
       none, "C:\\WINDOWS\\Minidump\\031524-10234-01.dmp"}}},
    {"Kernel-Power event XML, decimal code; a power loss (code 0) is no report",
     "<Event xmlns=\"http://schemas.microsoft.com/win/2004/08/events/event\">\n"
     "  <System>\n    <Provider Name=\"Microsoft-Windows-Kernel-Power\" />\n    <EventID>41</EventID>\n  </System>\n"
     "  <EventData>\n"
     "    <Data Name=\"BugcheckCode\">126</Data>\n"
     "    <Data Name=\"BugcheckParameter1\">0xffffffffc0000005</Data>\n"
     "    <Data Name=\"BugcheckParameter2\">0xfffff8012a4b1234</Data>\n"
     "    <Data Name=\"BugcheckParameter3\">0xffffd0012345e7a8</Data>\n"
     "    <Data Name=\"BugcheckParameter4\">0xffffd0012345dfe0</Data>\n"
     "    <Data Name=\"SleepInProgress\">0</Data>\n"
     "  </EventData>\n</Event>\n"
     "<Event><EventData><Data Name=\"BugcheckCode\">0</Data><Data Name=\"BugcheckParameter1\">0x0</Data></EventData></Event>\n"
     "<Event><EventData><Data Name=\"BugcheckCode\">307</Data><Data Name=\"BugcheckParameter1\">0x1</Data>"
     "<Data Name=\"BugcheckParameter2\">0x1e00</Data><Data Name=\"BugcheckParameter3\">0xfffff8050c2fb320</Data>"
     "<Data Name=\"BugcheckParameter4\">0x0</Data></EventData></Event>\n",
     {{ReportForm::KernelPower, 0x7E, "", {0xFFFFFFFFC0000005ull, 0xFFFFF8012A4B1234ull, 0xFFFFD0012345E7A8ull, 0xFFFFD0012345DFE0ull},
       64, nullptr, none, ""},
      {ReportForm::KernelPower, 0x133, "", {1, 0x1E00, 0xFFFFF8050C2FB320ull, 0}, 64, nullptr, none, ""}}},
    {"Kernel-Power friendly view",
     "Kernel-Power 41\n  BugcheckCode 268435582\n  BugcheckParameter1 0xffffffffc0000005\n  BugcheckParameter2 0x8e4b1c4f\n"
     "  BugcheckParameter3 0xa8b4bb6c\n  BugcheckParameter4 0x0\n  SleepInProgress 0\n",
     {{ReportForm::KernelPower, 0x1000007E, "", {0xFFFFFFFFC0000005ull, 0x8E4B1C4F, 0xA8B4BB6C, 0}, 64, nullptr, none, ""}}},
    {"error reporting",
     "Problem signature:\n  Problem Event Name:\tBlueScreen\n  OS Version:\t6.1.7601.2.1.0.256.1\n  Locale ID:\t2052\n\n"
     "Additional information about the problem:\n  BCCode:\t24\n  BCP1:\t00000000001904FB\n  BCP2:\tFFFFF8800A0A98E8\n"
     "  BCP3:\tFFFFF8800A0A9140\n  BCP4:\tFFFFF88001C4F5B5\n  OS Version:\t6_1_7601\n  Service Pack:\t1_0\n",
     {{ReportForm::ErrorReport, 0x24, "", {0x1904FB, 0xFFFFF8800A0A98E8ull, 0xFFFFF8800A0A9140ull, 0xFFFFF88001C4F5B5ull}, 64,
       nullptr, none, ""}}},
    {"error reporting on one line, 32-bit",
     "BCCode: 1000008e BCP1: C0000005 BCP2: 8E4B1C4F BCP3: A8B4BB6C BCP4: 00000000 OSVer: 6_1_7600",
     {{ReportForm::ErrorReport, 0x1000008E, "", {0xC0000005, 0x8E4B1C4F, 0xA8B4BB6C, 0}, 32, nullptr, none, ""}}},
    {"debugger: BugCheck line and !analyze -v of the same stop",
     "*******************************************************************************\n"
     "*                        Bugcheck Analysis                                    *\n"
     "*******************************************************************************\n\n"
     "Use !analyze -v to get detailed debugging information.\n\n"
     "BugCheck 9F, {3, ffffe000f38c06a0, ffffd000e6a4f8f0, ffffe000f9e43c60}\n\n"
     "Probably caused by : pci.sys\n\nFollowup: MachineOwner\n---------\n\n1: kd> !analyze -v\n"
     "DRIVER_POWER_STATE_FAILURE (9f)\nA driver has failed to complete a power IRP within a specific time.\nArguments:\n"
     "Arg1: 0000000000000003, A device object has been blocking an Irp for too long a time\n"
     "Arg2: ffffe000f38c06a0, Physical Device Object of the stack\n"
     "Arg3: ffffd000e6a4f8f0, nt!TRIAGE_9F_POWER on Win7 and higher, otherwise the Functional Device Object of the stack\n"
     "Arg4: ffffe000f9e43c60, The blocked IRP\n",
     {{ReportForm::Debugger, 0x9F, "DRIVER_POWER_STATE_FAILURE",
       {3, 0xFFFFE000F38C06A0ull, 0xFFFFD000E6A4F8F0ull, 0xFFFFE000F9E43C60ull}, 64, "pci.sys", none, ""}}},
    {"debugger, 32-bit, with the culprit's offset",
     "BugCheck 1000008E, {c0000005, 8e4b1c4f, a8b4bb6c, 0}\n\n"
     "Probably caused by : nvlddmkm.sys ( nvlddmkm+12b7d0 )\n",
     {{ReportForm::Debugger, 0x1000008E, "", {0xC0000005, 0x8E4B1C4F, 0xA8B4BB6C, 0}, 32, "nvlddmkm.sys", 0x12B7D0, ""}}},
    {"debugger with symbols: the offset is in a function, not the module",
     "BugCheck 133, {1, 1e00, fffff8050c2fb320, 0}\nProbably caused by : ntkrnlmp.exe ( nt!KeAccumulateTicks+1c880e )\n",
     {{ReportForm::Debugger, 0x133, "", {1, 0x1E00, 0xFFFFF8050C2FB320ull, 0}, 64, "ntkrnlmp.exe", none, ""}}},
    {"newer debugger fields",
     "DPC_WATCHDOG_VIOLATION (133)\nThe DPC watchdog detected a prolonged run time at an IRQL of DISPATCH_LEVEL or above.\n"
     "Arguments:\nArg1: 0000000000000001, The system cumulatively spent an extended period of time at\n"
     "Arg2: 0000000000001e00, The watchdog period (in ticks).\nArg3: fffff8050c2fb320, cast to nt!DPC_WATCHDOG_GLOBAL_TRIAGE_BLOCK\n"
     "Arg4: 0000000000000000\n\nDebugging Details:\n------------------\n\nBUGCHECK_CODE:  133\n\nBUGCHECK_P1: 1\n\n"
     "BUGCHECK_P2: 1e00\n\nBUGCHECK_P3: fffff8050c2fb320\n\nBUGCHECK_P4: 0\n\nIMAGE_NAME:  ntkrnlmp.exe\n",
     {{ReportForm::Debugger, 0x133, "DPC_WATCHDOG_VIOLATION", {1, 0x1E00, 0xFFFFF8050C2FB320ull, 0}, 64, "ntkrnlmp.exe", none,
       ""}}},
    {"Windows 10 screen: name with blanks",
     "Your PC ran into a problem and needs to restart. We're just collecting some error info, and then we'll restart for you.\n\n"
     "100% complete\n\nFor more information about this issue and possible fixes, visit https://www.windows.com/stopcode\n\n"
     "If you call a support person, give them this info:\nStop code: CRITICAL PROCESS DIED\nWhat failed: nvlddmkm.sys\n",
     {{ReportForm::StopScreen, none, "CRITICAL_PROCESS_DIED", {}, 64, "nvlddmkm.sys", none, ""}}},
    {"Windows 11 screen in Chinese",
     "你的设备遇到问题，需要重启。我们只收集某些错误信息，然后为你重新启动。\n\n100% 完成\n\n"
     "如果致电支持人员，请向他们提供以下信息:\n终止代码: SYSTEM_THREAD_EXCEPTION_NOT_HANDLED\n失败的操作: igdkmd64.sys\n",
     {{ReportForm::StopScreen, none, "SYSTEM_THREAD_EXCEPTION_NOT_HANDLED", {}, 64, "igdkmd64.sys", none, ""}}},
    {"screen copied onto one line", "Stop code: CRITICAL SERVICE FAILED What failed: x.sys",
     {{ReportForm::StopScreen, none, "CRITICAL_SERVICE_FAILED", {}, 64, "x.sys", none, ""}}},
    {"screen with a code", "Stop code: 0xc000021a",
     {{ReportForm::StopScreen, 0xC000021A, "", {}, 64, nullptr, none, ""}}},
    {"Windows 8 screen",
     "Your PC ran into a problem and needs to restart. We're just collecting some error info, and then we'll restart for "
     "you. (0% complete)\n\nIf you'd like to know more, you can search online later for this error: HAL_INITIALIZATION_FAILED",
     {{ReportForm::StopScreen, none, "HAL_INITIALIZATION_FAILED", {}, 64, nullptr, none, ""}}},
    {"old screen",
     "A problem has been detected and Windows has been shut down to prevent damage\nto your computer.\n\n"
     "The problem seems to be caused by the following file: SPCMDCON.SYS\n\nPAGE_FAULT_IN_NONPAGED_AREA\n\n"
     "If this is the first time you've seen this stop error screen,\nrestart your computer.\n\nTechnical information:\n\n"
     "*** STOP: 0x00000050 (0xFD3094C2,0x00000001,0xFBFE7617,0x00000000)\n\n"
     "***  SPCMDCON.SYS - Address FBFE7617 base at FBFE5000, DateStamp 3d6dd67c\n",
     {{ReportForm::OldStopScreen, 0x50, "PAGE_FAULT_IN_NONPAGED_AREA", {0xFD3094C2, 1, 0xFBFE7617, 0}, 32, "SPCMDCON.SYS",
       0x2617, ""}}},
    {"old screen, name after the STOP line",
     "STOP: 0x0000007B (0xF78D2524,0xC0000034,0x00000000,0x00000000)\nINACCESSIBLE_BOOT_DEVICE\n",
     {{ReportForm::OldStopScreen, 0x7B, "INACCESSIBLE_BOOT_DEVICE", {0xF78D2524, 0xC0000034, 0, 0}, 32, nullptr, none, ""}}},
    {"several events, newest first as the event viewer lists them",
     "The bugcheck was: 0x0000000a (0x0000000000000000, 0x0000000000000002, 0x0000000000000000, 0xfffff80312345678). "
     "A dump was saved in: C:\\Windows\\Minidump\\030224-1.dmp.\n"
     "The bugcheck was: 0x0000003b (0x00000000c0000005, 0xfffff80312340000, 0xffffd0012345e7a8, 0x0000000000000000). "
     "A dump was saved in: C:\\Windows\\Minidump\\030124-1.dmp.\n",
     {{ReportForm::EventLog, 0x0A, "", {0, 2, 0, 0xFFFFF80312345678ull}, 64, nullptr, none, "C:\\Windows\\Minidump\\030224-1.dmp"},
      {ReportForm::EventLog, 0x3B, "", {0xC0000005, 0xFFFFF80312340000ull, 0xFFFFD0012345E7A8ull, 0}, 64, nullptr, none,
       "C:\\Windows\\Minidump\\030124-1.dmp"}}},
    {"the event-log sentence beside the Kernel-Power event of the same stop",
     "The bugcheck was: 0x1000007e (0xffffffffc0000005, 0xfffff8012a4b1234, 0xffffd0012345e7a8, 0xffffd0012345dfe0).\n"
     "<Data Name=\"BugcheckCode\">268435582</Data><Data Name=\"BugcheckParameter1\">0xffffffffc0000005</Data>"
     "<Data Name=\"BugcheckParameter2\">0xfffff8012a4b1234</Data>",
     {{ReportForm::EventLog, 0x1000007E, "",
       {0xFFFFFFFFC0000005ull, 0xFFFFF8012A4B1234ull, 0xFFFFD0012345E7A8ull, 0xFFFFD0012345DFE0ull}, 64, nullptr, none, ""}}},
    {"no report", "Hello, my computer shows a blue screen sometimes. What failed: nothing I know.", {}},
    {"a code too large is ignored", "BCCode: 123456789 BCP1: 0", {}},
};

class CrashReportText : public ::testing::TestWithParam<Case> {};

TEST_P(CrashReportText, Parsed)
{
    const Case& c = GetParam();
    const std::vector<CrashReport> reports = parseCrashReports(QString::fromUtf8(c.text));
    ASSERT_EQ(reports.size(), c.reports.size());
    for (size_t i = 0; i < reports.size(); ++i) {
        SCOPED_TRACE(i);
        const CrashReport& r = reports[i];
        const Expected& e = c.reports[i];
        EXPECT_EQ(reportFormToken(r.form), reportFormToken(e.form));
        EXPECT_EQ(r.code, e.code);
        EXPECT_EQ(r.name, QString::fromUtf8(e.name));
        for (size_t p = 0; p < 4; ++p)
            EXPECT_EQ(r.parameters[p], e.parameters[p]) << "parameter " << p + 1;
        EXPECT_EQ(r.parameterWidth, e.width);
        ASSERT_EQ(r.suspect.has_value(), e.module != nullptr);
        if (e.module) {
            EXPECT_EQ(r.suspect->module, QString::fromUtf8(e.module));
            EXPECT_EQ(r.suspect->offset, e.offset);
            EXPECT_EQ(r.suspect->method, SuspectMethod::Text);
        }
        EXPECT_EQ(r.dumpFile, QString::fromUtf8(e.dumpFile));
    }
    for (size_t i = 1; i < reports.size(); ++i)
        EXPECT_LT(reports[i - 1].position, reports[i].position);
}

INSTANTIATE_TEST_SUITE_P(Forms, CrashReportText, ::testing::ValuesIn(kCases));

TEST(CrashReportText, OnlyTheFirstPartOfAHugeTextIsRead)
{
    QString text(kMaxText, QLatin1Char('x'));
    text += QStringLiteral("\nBugCheck 9F, {3, 0, 0, 0}\n");
    EXPECT_TRUE(parseCrashReports(text).empty());
    EXPECT_EQ(parseCrashReports(QStringLiteral("BugCheck 9F, {3, 0, 0, 0}")).size(), 1u);
}

}  // namespace
