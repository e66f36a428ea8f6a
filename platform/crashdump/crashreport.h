#pragma once
// Crash reports pasted as text: the event-log sentence, the Kernel-Power event (XML or its friendly view), the
// error-reporting text (BCCode/BCP1…), debugger output, the blue screen of Windows 8 and later, and the old
// "*** STOP:" screen, in English or (where Windows writes them so) Chinese. Each report found yields the code, the
// parameters it shows, the stop code's name where the text names one, and the driver the text blames.

#include "platform/crashdump/dumpinfo.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace tervolin::platform::crashdump {

enum class ReportForm : quint8 {
    EventLog,       // "The computer has rebooted from a bugcheck. The bugcheck was: 0x… (…)"
    KernelPower,    // <Data Name="BugcheckCode">126</Data> (decimal) and BugcheckParameter1–4
    ErrorReport,    // "BCCode: 24 BCP1: 00000000001904FB …"
    Debugger,       // "BugCheck 9F, {3, ffffe000f38c06a0, …}", "!analyze -v" output
    StopScreen,     // "Stop code: CRITICAL PROCESS DIED", "What failed: x.sys"
    OldStopScreen,  // "*** STOP: 0x0000007B (0x…,0x…,0x…,0x…)"
};

struct CrashReport {
    ReportForm form = ReportForm::EventLog;
    std::optional<quint32> code;
    /// The stop code's name as the text gives it, blanks turned into underscores ("CRITICAL_SERVICE_FAILED").
    QString name;
    std::array<std::optional<quint64>, 4> parameters;
    int parameterWidth = 64;  // 32 when every parameter was written with at most eight hex digits
    std::optional<Suspect> suspect;  // method Text
    QString dumpFile;                // "A dump was saved in: …"
    qsizetype position = 0;          // where the report begins in the text
};

/// The reports in `text`, in the order they appear. Parts of one report found in several forms (a debugger's
/// "BugCheck" line and its "!analyze -v" header, an event-log sentence beside the Kernel-Power event of the same
/// crash) are merged into one. Only the first kMaxText characters are read.
std::vector<CrashReport> parseCrashReports(const QString& text);

constexpr qsizetype kMaxText = 4 << 20;

/// "event-log", "kernel-power", "error-report", "debugger", "stop-screen", "old-stop-screen".
QString reportFormToken(ReportForm form);

}  // namespace tervolin::platform::crashdump
