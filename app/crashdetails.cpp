#include "app/crashdetails.h"

#include <QDateTime>
#include <QTimeZone>

#include "app/dumptexts.h"

namespace tervolin::app {

namespace {

using platform::crashdump::DumpFormat;
using platform::crashdump::DumpInfo;
namespace texts = dumptexts;

QString e(const QString& text) { return text.toHtmlEscaped(); }

QString row(const QString& label, const QString& valueHtml)
{
    return QStringLiteral("<tr><th align=\"left\" valign=\"top\">%1</th><td>%2</td></tr>").arg(e(label), valueHtml);
}

QString heading(const QString& text) { return QStringLiteral("<h3>%1</h3>").arg(e(text)); }

QString stampText(quint32 stamp)
{
    if (stamp == 0)
        return QStringLiteral("—");
    return QDateTime::fromSecsSinceEpoch(stamp, QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-dd"));
}

QString parametersHtml(const DumpInfo& dump, const std::vector<ParameterExplanation>& parameters)
{
    QString html = heading(QStringLiteral("参数")) + QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    for (const ParameterExplanation& p : parameters) {
        QString meaning = e(p.meaning);
        if (!p.valueMeaning.isEmpty())
            meaning += QStringLiteral("<br/><i>%1</i>").arg(e(p.valueMeaning));
        html += QStringLiteral("<tr><th align=\"left\" valign=\"top\">参数 %1</th><td valign=\"top\"><tt>%2</tt></td><td>%3</td></tr>")
                    .arg(p.number)
                    .arg(p.value ? texts::parameterText(*p.value, dump.parameterWidth) : QStringLiteral("—"), meaning);
    }
    return html + QStringLiteral("</table>");
}

QString driversHtml(const DumpInfo& dump, DriverListState state)
{
    const bool user = dump.format == DumpFormat::User;
    QString html = heading(QStringLiteral("%1（%2 个）").arg(user ? QStringLiteral("已加载的模块") : QStringLiteral("已加载的驱动")).arg(dump.driverCount));
    if (state == DriverListState::Reading)
        return html + QStringLiteral("<p>正在读取列表……</p>");
    if (dump.drivers.empty())
        return html + QStringLiteral("<p>%1</p>").arg(dump.format == DumpFormat::User || dump.dumpType == 4u
                                                         ? QStringLiteral("转储中没有列表。")
                                                         : QStringLiteral("这种转储只在内存页中记录驱动列表，本程序不读取。"));
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr><th align=\"left\">名称</th><th align=\"left\">基址</th>"
                           "<th align=\"left\">大小</th><th align=\"left\">时间戳</th></tr>");
    for (const auto& d : dump.drivers) {
        const bool suspect = dump.suspect && dump.suspect->module == d.name;
        html += QStringLiteral("<tr><td>%1</td><td><tt>%2</tt></td><td><tt>%3</tt></td><td>%4</td></tr>")
                    .arg(suspect ? QStringLiteral("<b>%1</b>").arg(e(d.name)) : e(d.name), texts::hexText(d.base),
                         texts::hexText(d.size), stampText(d.timestamp));
    }
    return html + QStringLiteral("</table>");
}

QString unloadedHtml(const DumpInfo& dump)
{
    QString html = heading(QStringLiteral("已卸载的驱动（%1 个）").arg(dump.unloaded.size()));
    if (dump.unloaded.empty())
        return html + QStringLiteral("<p>无</p>");
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr><th align=\"left\">名称</th><th align=\"left\">起始地址</th>"
                           "<th align=\"left\">结束地址</th></tr>");
    for (const auto& u : dump.unloaded)
        html += QStringLiteral("<tr><td>%1</td><td><tt>%2</tt></td><td><tt>%3</tt></td></tr>").arg(e(u.name), texts::hexText(u.start), texts::hexText(u.end));
    return html + QStringLiteral("</table>");
}

}  // namespace

QString crashDetailsHtml(const HistoryEntry& entry, const DumpInfo& dump, const std::vector<ParameterExplanation>& parameters,
                         DriverListState state)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    html += row(QStringLiteral("文件"), e(dump.file));
    if (!dump.ok()) {
        html += row(QStringLiteral("无法读取"), QStringLiteral("<font color=\"#c00000\">%1</font>").arg(e(texts::errorText(dump.errorKind))));
        return html + QStringLiteral("</table>");
    }
    const bool user = dump.format == DumpFormat::User;
    QString type = texts::typeText(dump) + QStringLiteral("，") + texts::formatText(dump.format);
    if (!user && dump.live && dump.dumpType)
        type += QStringLiteral("，") + texts::dumpTypeText(*dump.dumpType);
    html += row(QStringLiteral("类型"), e(type));
    html += row(QStringLiteral("崩溃时间"), dump.crashTime ? e(QStringLiteral("%1（本地时间），%2 UTC")
                                                              .arg(texts::localTimeText(*dump.crashTime),
                                                                   dump.crashTime->toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))))
                                                    : QStringLiteral("未知"));
    if (user) {
        html += row(QStringLiteral("程序"), e(dump.program.isEmpty() ? QStringLiteral("未知") : dump.program));
        html += row(QStringLiteral("异常代码"), dump.code ? e(KnowledgeBase::codeKey(*dump.code)) : QStringLiteral("未知"));
    } else {
        QString code = dump.code ? e(KnowledgeBase::codeKey(*dump.code)) : QStringLiteral("未知");
        const DumpExplanation& x = entry.explanation;
        if (!x.name.isEmpty())
            code += QStringLiteral(" ") + e(x.name);
        if (x.found && dump.code && x.key.compare(KnowledgeBase::codeKey(*dump.code), Qt::CaseInsensitive) != 0)
            code += e(QStringLiteral("（按 %1 查询）").arg(x.key));
        if (!x.found)
            code += QStringLiteral("<br/><font color=\"#c00000\">知识库中没有此代码</font>");
        html += row(QStringLiteral("代码"), code);
    }
    html += row(QStringLiteral("版本号"), dump.build ? QString::number(*dump.build) : QStringLiteral("未知"));
    html += row(QStringLiteral("体系结构"), dump.machine ? e(texts::machineText(*dump.machine)) : QStringLiteral("未知"));
    html += row(QStringLiteral("处理器"), dump.processors ? QStringLiteral("%1 个").arg(*dump.processors) : QStringLiteral("未知"));
    html += row(QStringLiteral("运行时间"), dump.uptimeSeconds ? e(texts::uptimeText(*dump.uptimeSeconds)) : QStringLiteral("未知"));
    const QString suspectLabel = user ? QStringLiteral("可能相关的模块") : QStringLiteral("可能相关的驱动");
    html += row(suspectLabel, dump.suspect ? QStringLiteral("<b>%1</b><br/>根据：%2")
                                                 .arg(e(texts::suspectText(*dump.suspect)), e(texts::methodText(dump.suspect->method, user)))
                                           : QStringLiteral("未能确定"));
    for (const auto& w : dump.warnings)
        html += row(QStringLiteral("注意"), e(texts::warningText(w.kind)));
    html += QStringLiteral("</table>");
    if (!user)
        html += parametersHtml(dump, parameters);
    html += driversHtml(dump, state);
    if (!user)
        html += unloadedHtml(dump);
    return html;
}

}  // namespace tervolin::app
