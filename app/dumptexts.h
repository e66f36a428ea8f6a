#pragma once
// The user's words for what the crash-dump reader returns: dump types, machines, how a suspect was found, why a
// file could not be read and what was noticed while reading it, in Simplified Chinese. The one place where the
// reader's kinds become texts, for the crash-history window and the command line alike.

#include <QDateTime>
#include <QString>

#include <cstdint>

#include "platform/crashdump/crashreport.h"
#include "platform/crashdump/dumpinfo.h"

namespace tervolin::app::dumptexts {

namespace crashdump = platform::crashdump;

/// "小型转储", "内核转储", "完整转储", …; "实时转储（系统未蓝屏）" for a live dump, "应用程序崩溃" for an
/// application dump, "无法读取" for a file that yields none.
QString typeText(const crashdump::DumpInfo& dump);
/// The dump type alone ("位图内核转储"; "转储类型 9" for a number without a name).
QString dumpTypeText(std::uint32_t dumpType);
/// "64 位内核转储", "32 位内核转储", "应用程序转储".
QString formatText(crashdump::DumpFormat format);
/// "x86", "x64", "ARM64", or the number in hexadecimal.
QString machineText(std::uint32_t machine);
/// How the probable culprit was found; `userDump` words the instruction pointer as the exception address.
QString methodText(crashdump::SuspectMethod method, bool userDump = false);
/// Why a file yields no dump.
QString errorText(crashdump::ReadError error);
/// What the reader noticed and read past.
QString warningText(crashdump::WarningKind kind);
/// Where a crash-report text comes from ("系统事件日志", "蓝屏画面", …).
QString reportFormText(crashdump::ReportForm form);

/// A parameter as the dump writes it: "0x%016X" for 64-bit dumps, "0x%08X" for 32-bit ones.
QString parameterText(std::uint64_t value, int width);
/// A module offset or an address: "0x" and upper-case hexadecimal digits, no padding.
QString hexText(std::uint64_t value);
/// "2 天 3 小时 4 分 5 秒", leading zero units left out ("5 秒").
QString uptimeText(std::uint64_t seconds);
/// A crash time in local time, "2021-02-21 09:38:22".
QString localTimeText(const QDateTime& utc);
/// "nvlddmkm.sys +0x1A2B" (the offset where known), and "（推测）" after a guess from the stack.
QString suspectText(const crashdump::Suspect& suspect);

/// The text shown when a knowledge base has no meaning for a parameter.
QString unknownMeaning();

}  // namespace tervolin::app::dumptexts
