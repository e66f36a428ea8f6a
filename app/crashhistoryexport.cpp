#include "app/crashhistoryexport.h"

#include <QSaveFile>

#include "app/dumptexts.h"

namespace tervolin::app::crashexport {

namespace {

QString csvField(QString text)
{
    // A name or path out of a dump is not ours: it must not run as a formula in the program that opens the file.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        text.prepend(QLatin1Char('\''));
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

QString escaped(const QString& text)
{
    // Control characters (a damaged name may hold them) have no place in a page; they show as U+FFFD.
    QString clean = text;
    for (QChar& c : clean)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n'))
            c = QChar::ReplacementCharacter;
    return clean.toHtmlEscaped();
}

}  // namespace

QStringList headings()
{
    QStringList h;
    for (int c = 0; c < CrashHistoryModel::ColumnCount; ++c)
        h << CrashHistoryModel::columnTitle(c);
    for (int n = 1; n <= 4; ++n)
        h << QStringLiteral("参数 %1").arg(n);
    return h;
}

QStringList fields(const HistoryEntry& entry)
{
    QStringList f;
    for (int c = 0; c < CrashHistoryModel::ColumnCount; ++c)
        f << CrashHistoryModel::cellText(entry, c);
    const platform::crashdump::DumpInfo& d = entry.dump;
    for (int n = 0; n < 4; ++n)
        f << (d.ok() && n < d.parameterCount ? dumptexts::parameterText(d.parameters[std::size_t(n)], d.parameterWidth) : QString());
    return f;
}

QByteArray csv(const std::vector<HistoryEntry>& entries)
{
    QString text;
    const auto line = [&](const QStringList& values) {
        QStringList quoted;
        for (const QString& v : values)
            quoted << csvField(v);
        text += quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    line(headings());
    for (const HistoryEntry& e : entries)
        line(fields(e));
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QByteArray html(const std::vector<HistoryEntry>& entries, const QDateTime& created)
{
    QString page = QStringLiteral(
        "<!DOCTYPE html>\n"
        "<html lang=\"zh-CN\">\n"
        "<head>\n"
        "<meta charset=\"utf-8\"/>\n"
        "<title>崩溃记录</title>\n"
        "<style>\n"
        "body { font-family: sans-serif; margin: 1.5em; color: #222; }\n"
        "table { border-collapse: collapse; font-size: 0.9em; }\n"
        "th, td { border: 1px solid #b8c4d6; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }\n"
        "th { background: #dfe8f5; }\n"
        "tr:nth-child(even) td { background: #f4f7fc; }\n"
        "td.unreadable { color: #c00000; }\n"
        "td.code, td.parameter { font-family: monospace; white-space: nowrap; }\n"
        "</style>\n"
        "</head>\n"
        "<body>\n");
    page += QStringLiteral("<h1>崩溃记录</h1>\n<p>导出时间：%1，共 %2 项。</p>\n")
                .arg(escaped(created.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))))
                .arg(entries.size());
    page += QStringLiteral("<table>\n<thead>\n<tr>");
    for (const QString& h : headings())
        page += QStringLiteral("<th>") + escaped(h) + QStringLiteral("</th>");
    page += QStringLiteral("</tr>\n</thead>\n<tbody>\n");
    for (const HistoryEntry& e : entries) {
        page += QStringLiteral("<tr>");
        const QStringList values = fields(e);
        for (int i = 0; i < values.size(); ++i) {
            QString cls;
            if (i == CrashHistoryModel::Name && !e.dump.ok())
                cls = QStringLiteral("unreadable");
            else if (i == CrashHistoryModel::Code)
                cls = QStringLiteral("code");
            else if (i >= CrashHistoryModel::ColumnCount)
                cls = QStringLiteral("parameter");
            page += (cls.isEmpty() ? QStringLiteral("<td>") : QStringLiteral("<td class=\"%1\">").arg(cls)) + escaped(values[i])
                    + QStringLiteral("</td>");
        }
        page += QStringLiteral("</tr>\n");
    }
    page += QStringLiteral("</tbody>\n</table>\n</body>\n</html>\n");
    return page.toUtf8();
}

QString save(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("无法写入 %1：%2").arg(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("无法写入 %1：%2").arg(path, file.errorString());
    return {};
}

}  // namespace tervolin::app::crashexport
