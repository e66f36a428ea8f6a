#include "app/dumptexts.h"

#include <QStringList>

namespace tervolin::app::dumptexts {

using crashdump::DumpFormat;
using crashdump::ReadError;
using crashdump::ReportForm;
using crashdump::SuspectMethod;
using crashdump::WarningKind;

QString typeText(const crashdump::DumpInfo& dump)
{
    if (!dump.ok())
        return QStringLiteral("无法读取");
    if (dump.format == DumpFormat::User)
        return QStringLiteral("应用程序崩溃");
    if (dump.live)
        return QStringLiteral("实时转储（系统未蓝屏）");
    return dump.dumpType ? dumpTypeText(*dump.dumpType) : QStringLiteral("内核转储（类型未知）");
}

QString dumpTypeText(std::uint32_t dumpType)
{
    switch (dumpType) {
    case 1: return QStringLiteral("完整转储");
    case 2: return QStringLiteral("内核转储");
    case 4: return QStringLiteral("小型转储");
    case 5: return QStringLiteral("位图完整转储");
    case 6: return QStringLiteral("位图内核转储");
    case 7: return QStringLiteral("自动转储");
    default: return QStringLiteral("转储类型 %1").arg(dumpType);
    }
}

QString formatText(DumpFormat format)
{
    switch (format) {
    case DumpFormat::Kernel64: return QStringLiteral("64 位内核转储");
    case DumpFormat::Kernel32: return QStringLiteral("32 位内核转储");
    case DumpFormat::User: return QStringLiteral("应用程序转储");
    }
    return {};
}

QString machineText(std::uint32_t machine)
{
    switch (machine) {
    case 0x14C: return QStringLiteral("x86");
    case 0x8664: return QStringLiteral("x64");
    case 0xAA64: return QStringLiteral("ARM64");
    default: return hexText(machine);
    }
}

QString methodText(SuspectMethod method, bool userDump)
{
    switch (method) {
    case SuspectMethod::Context:
        return userDump ? QStringLiteral("异常地址所在的模块") : QStringLiteral("崩溃时指令地址所在的模块");
    case SuspectMethod::Parameter: return QStringLiteral("停止代码参数中的代码地址所在的模块");
    case SuspectMethod::Stack: return QStringLiteral("栈上第一个内核以外的驱动地址（推测）");
    case SuspectMethod::Text: return QStringLiteral("崩溃报告中写明的驱动");
    }
    return {};
}

QString errorText(ReadError error)
{
    switch (error) {
    case ReadError::None: return {};
    case ReadError::CannotOpen: return QStringLiteral("打不开：文件不存在、没有读取权限，或者不是普通文件");
    case ReadError::NotADump: return QStringLiteral("不是 Windows 转储文件");
    case ReadError::Unfinished: return QStringLiteral("转储没有写完：文件开头全是零字节，Windows 未能完成写入");
    case ReadError::HeaderIncomplete: return QStringLiteral("文件太短，转储头里连停止代码和参数都不完整");
    case ReadError::UnknownVariant: return QStringLiteral("未知的内核转储格式");
    case ReadError::ArchiveUnreadable: return QStringLiteral("压缩文件无法读取或已损坏");
    case ReadError::NestedArchive: return QStringLiteral("压缩文件里的压缩文件：请先解压外层文件");
    }
    return {};
}

QString warningText(WarningKind kind)
{
    switch (kind) {
    case WarningKind::Truncated: return QStringLiteral("文件比转储头所说的短（被截断），缺少的部分无法读取");
    case WarningKind::HeaderIncomplete: return QStringLiteral("转储头不完整，截断处之后的字段未知");
    case WarningKind::TriageInvalid: return QStringLiteral("小型转储的附加数据缺失或前后矛盾，驱动信息可能不可靠");
    case WarningKind::DriverListDamaged: return QStringLiteral("已加载驱动列表损坏，可能不完整");
    case WarningKind::UnloadedListDamaged: return QStringLiteral("已卸载驱动列表损坏，可能不完整");
    case WarningKind::ListCapped: return QStringLiteral("列表中的项目过多，超出的部分未读取");
    case WarningKind::NameDamaged: return QStringLiteral("有名称无法解码，用 \uFFFD 代替");
    case WarningKind::StreamDamaged: return QStringLiteral("应用程序转储中有数据流超出了文件范围");
    case WarningKind::Encrypted: return QStringLiteral("转储内容已加密，只能读取转储头");
    case WarningKind::ImplausibleTime: return QStringLiteral("崩溃时间或运行时间不合理，按未知处理");
    case WarningKind::EntryCapped: return QStringLiteral("压缩文件中的条目过大，只读取了开头部分");
    }
    return {};
}

QString reportFormText(ReportForm form)
{
    switch (form) {
    case ReportForm::EventLog: return QStringLiteral("系统事件日志（BugCheck）");
    case ReportForm::KernelPower: return QStringLiteral("Kernel-Power 事件");
    case ReportForm::ErrorReport: return QStringLiteral("错误报告（BCCode）");
    case ReportForm::Debugger: return QStringLiteral("调试器输出");
    case ReportForm::StopScreen: return QStringLiteral("蓝屏画面");
    case ReportForm::OldStopScreen: return QStringLiteral("旧式蓝屏画面（STOP）");
    }
    return {};
}

QString parameterText(std::uint64_t value, int width)
{
    const int digits = width == 32 ? 8 : 16;
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString hexText(std::uint64_t value) { return QStringLiteral("0x") + QString::number(value, 16).toUpper(); }

QString uptimeText(std::uint64_t seconds)
{
    const std::uint64_t days = seconds / 86400;
    const std::uint64_t hours = seconds / 3600 % 24;
    const std::uint64_t minutes = seconds / 60 % 60;
    QStringList parts;
    if (days)
        parts << QStringLiteral("%1 天").arg(days);
    if (days || hours)
        parts << QStringLiteral("%1 小时").arg(hours);
    if (days || hours || minutes)
        parts << QStringLiteral("%1 分").arg(minutes);
    parts << QStringLiteral("%1 秒").arg(seconds % 60);
    return parts.join(QLatin1Char(' '));
}

QString localTimeText(const QDateTime& utc) { return utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QString suspectText(const crashdump::Suspect& suspect)
{
    QString text = suspect.module;
    if (suspect.offset)
        text += QStringLiteral(" +") + hexText(*suspect.offset);
    if (suspect.method == SuspectMethod::Stack)
        text += QStringLiteral("（推测）");
    return text;
}

QString unknownMeaning() { return QStringLiteral("含义未知"); }

}  // namespace tervolin::app::dumptexts
