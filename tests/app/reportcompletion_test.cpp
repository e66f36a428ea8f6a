// The completion on the input box takes apart whole crash reports pasted into it, through the crash-report
// parser: forms the completer's own reading does not know, and a code it found already kept as typed.
#include <gtest/gtest.h>

#include "app/codecompleter.h"
#include "tests/support/qtprinters.h"

using namespace tervolin::app;

namespace {

const CodeCompleter& completer()
{
    static const CodeCompleter c(QStringList{QStringLiteral("0x0000007E"), QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"),
                                             QStringLiteral("0x00000024"), QStringLiteral("NTFS_FILE_SYSTEM"),
                                             QStringLiteral("0x0000009F"), QStringLiteral("DRIVER_POWER_STATE_FAILURE"),
                                             QStringLiteral("0x0000005A"), QStringLiteral("CRITICAL_SERVICE_FAILED"),
                                             QStringLiteral("0x00000240"), QStringLiteral("0x00002400")});
    return c;
}

}  // namespace

TEST(ReportCompletion, PastedCrashReportsOfferTheirCodeFirst)
{
    struct Case { const char* typed; const char* first; };
    const Case cases[] = {
        // Kernel-Power: the code is decimal (126 = 0x7E).
        {R"(<Data Name="BugcheckCode">126</Data> <Data Name="BugcheckParameter1">0xffffffffc0000005</Data>)", "0x0000007E"},
        // Error reporting: the code's digits are followed by the parameters.
        {"BCCode: 24 BCP1: 00000000001904FB BCP2: FFFFD000A8A4E5A8 OSVer: 10_0_19045", "0x00000024"},
        // The event log's sentence, parameters in parentheses.
        {"The computer has rebooted from a bugcheck.  The bugcheck was: 0x0000009f (0x0000000000000003, 0xffffe000f38c06a0, "
         "0xfffff8030a4e4840, 0xffffe000f7b1a010). A dump was saved in: C:\\Windows\\MEMORY.DMP.",
         "0x0000009F"},
        // The blue screen of Windows 10: the name with blanks, the driver after it.
        {"Stop code: CRITICAL SERVICE FAILED What failed: nvlddmkm.sys", "CRITICAL_SERVICE_FAILED"},
        // Debugger output.
        {"BugCheck 7E, {ffffffffc0000005, fffff8012a4b1c2d, ffffd000201a7e08, ffffd000201a7620}", "0x0000007E"},
    };
    for (const Case& c : cases) {
        const QStringList offers = completer().complete(QString::fromUtf8(c.typed));
        ASSERT_FALSE(offers.isEmpty()) << c.typed;
        EXPECT_EQ(offers.first(), QString::fromUtf8(c.first)) << c.typed;
    }
}

TEST(ReportCompletion, ACodeBeingTypedAfterItsLabelStillCompletesAsTyped)
{
    // "BCCode: 24" names 0x24 exactly and offers the longer codes that begin with its digits after it.
    EXPECT_EQ(completer().complete(QStringLiteral("BCCode: 24")).mid(0, 3),
              (QStringList{QStringLiteral("0x00000024"), QStringLiteral("NTFS_FILE_SYSTEM"), QStringLiteral("0x00000240")}));
    // A text with a label word but no report is read as before.
    EXPECT_EQ(completer().complete(QStringLiteral("stop 0x9f")).first(), QStringLiteral("0x0000009F"));
}
