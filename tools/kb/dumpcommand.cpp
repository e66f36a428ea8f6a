#include "tools/kb/dumpcommand.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <vector>

#include "app/dumpexplainer.h"
#include "app/dumptexts.h"
#include "platform/crashdump/crashreport.h"
#include "platform/crashdump/dumpscanner.h"
#include "tools/kb/kbtool.h"

namespace tervolin::tools {
namespace {

using app::DumpExplainer;
using app::DumpExplanation;
using app::ParameterExplanation;
namespace texts = app::dumptexts;
using namespace platform::crashdump;

// A report text is a page or two; anything far larger is no copied report.
constexpr qint64 MaxTextBytes = 16 << 20;

// What the exit status is made of.
struct Tally
{
    bool unreadable = false;
    bool notFound = false;
};

QJsonValue optionalInt(const std::optional<quint64>& value)
{
    return value ? QJsonValue(qint64(*value)) : QJsonValue(QJsonValue::Null);
}

QJsonValue optionalText(const QString& text) { return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text); }

QJsonValue codeJson(const std::optional<quint32>& code)
{
    return code ? QJsonValue(app::KnowledgeBase::codeKey(*code)) : QJsonValue(QJsonValue::Null);
}

QJsonValue suspectJson(const std::optional<Suspect>& suspect)
{
    if (!suspect)
        return QJsonValue::Null;
    QJsonObject o;
    o[QStringLiteral("module")] = suspect->module;
    o[QStringLiteral("offset")] = suspect->offset ? QJsonValue(texts::hexText(*suspect->offset)) : QJsonValue(QJsonValue::Null);
    o[QStringLiteral("method")] = methodToken(suspect->method);
    return o;
}

void addAnswer(QJsonObject& o, const DumpExplanation& e)
{
    o[QStringLiteral("name")] = optionalText(e.name);
    o[QStringLiteral("found")] = e.found;
    o[QStringLiteral("fenxi")] = e.found ? QJsonValue(e.fenxi) : QJsonValue(QJsonValue::Null);
    o[QStringLiteral("jiejue")] = e.found ? QJsonValue(e.jiejue) : QJsonValue(QJsonValue::Null);
}

QJsonObject dumpJson(const DumpInfo& d, const DumpExplanation& e)
{
    QJsonObject o;
    o[QStringLiteral("file")] = d.file;
    if (!d.ok()) {
        o[QStringLiteral("error")] = texts::errorText(d.errorKind);
        return o;
    }
    o[QStringLiteral("format")] = formatToken(d.format);
    QJsonValue dumpType = QJsonValue::Null;
    if (d.dumpType) {
        const QString token = dumpTypeToken(*d.dumpType);
        dumpType = token.isEmpty() ? QJsonValue(qint64(*d.dumpType)) : QJsonValue(token);
    }
    o[QStringLiteral("dump_type")] = dumpType;
    o[QStringLiteral("live")] = d.live;
    QJsonValue machine = QJsonValue::Null;
    if (d.machine) {
        const QString token = machineToken(*d.machine);
        machine = token.isEmpty() ? QJsonValue(qint64(*d.machine)) : QJsonValue(token);
    }
    o[QStringLiteral("machine")] = machine;
    o[QStringLiteral("build")] = optionalInt(d.build);
    o[QStringLiteral("processors")] = optionalInt(d.processors);
    o[QStringLiteral("code")] = codeJson(d.code);
    QJsonArray parameters;
    for (int i = 0; i < d.parameterCount && i < 4; ++i)
        parameters.append(texts::parameterText(d.parameters[std::size_t(i)], d.parameterWidth));
    o[QStringLiteral("parameters")] = parameters;
    o[QStringLiteral("crash_time")] = d.crashTime ? QJsonValue(d.crashTime->toString(Qt::ISODate)) : QJsonValue(QJsonValue::Null);
    o[QStringLiteral("uptime_seconds")] = optionalInt(d.uptimeSeconds);
    o[QStringLiteral("drivers")] = qint64(d.driverCount);
    QJsonArray unloaded;
    for (const UnloadedDriver& u : d.unloaded)
        unloaded.append(u.name);
    o[QStringLiteral("unloaded_drivers")] = unloaded;
    o[QStringLiteral("suspect")] = suspectJson(d.suspect);
    addAnswer(o, e);
    if (d.format == DumpFormat::User)
        o[QStringLiteral("program")] = optionalText(d.program);
    QJsonArray warnings;
    for (const DumpWarning& w : d.warnings)
        warnings.append(texts::warningText(w.kind));
    o[QStringLiteral("warnings")] = warnings;
    return o;
}

QJsonObject reportJson(const QString& file, const CrashReport& r, const DumpExplanation& e)
{
    QJsonObject o;
    o[QStringLiteral("file")] = file;
    o[QStringLiteral("format")] = QStringLiteral("text");
    o[QStringLiteral("report")] = reportFormToken(r.form);
    o[QStringLiteral("code")] = codeJson(r.code ? r.code : e.code);
    QJsonArray parameters;
    for (const std::optional<quint64>& p : r.parameters)
        parameters.append(p ? QJsonValue(texts::parameterText(*p, r.parameterWidth)) : QJsonValue(QJsonValue::Null));
    o[QStringLiteral("parameters")] = parameters;
    o[QStringLiteral("suspect")] = suspectJson(r.suspect);
    if (!r.dumpFile.isEmpty())
        o[QStringLiteral("dump_file")] = r.dumpFile;
    addAnswer(o, e);
    o[QStringLiteral("warnings")] = QJsonArray();
    return o;
}

// Texts from the knowledge base break lines with CR LF.
QString indented(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return QStringLiteral("  ") + text.replace(QLatin1Char('\n'), QStringLiteral("\n  "));
}

void writeParameters(QTextStream& out, const std::vector<ParameterExplanation>& parameters, int width)
{
    for (const ParameterExplanation& p : parameters) {
        out << "参数 " << p.number << "：" << (p.value ? texts::parameterText(*p.value, width) : QStringLiteral("（未给出）")) << "  "
            << p.meaning;
        if (!p.valueMeaning.isEmpty())
            out << "——" << p.valueMeaning;
        out << '\n';
    }
}

void writeAnswer(QTextStream& out, const DumpExplanation& e)
{
    if (!e.found) {
        out << "知识库中没有此代码。\n";
        return;
    }
    out << "问题分析：\n" << indented(e.fenxi) << "\n解决方法：\n" << indented(e.jiejue) << '\n';
}

void writeCodeLine(QTextStream& out, const std::optional<quint32>& code, const DumpExplanation& e)
{
    out << "代码：" << (code ? app::KnowledgeBase::codeKey(*code) : QStringLiteral("未知"));
    if (!e.name.isEmpty())
        out << ' ' << e.name;
    if (e.found && code && e.key.compare(app::KnowledgeBase::codeKey(*code), Qt::CaseInsensitive) != 0)
        out << "（按 " << e.key << " 查询）";
    out << '\n';
}

void writeDump(QTextStream& out, DumpExplainer& explainer, const DumpInfo& d, const DumpExplanation& e)
{
    out << "文件：" << d.file << '\n';
    if (!d.ok()) {
        out << "无法读取：" << texts::errorText(d.errorKind) << '\n';
        return;
    }
    const bool user = d.format == DumpFormat::User;
    out << "类型：" << texts::typeText(d);
    if (!user)
        out << "，" << texts::formatText(d.format);
    if (!user && d.live && d.dumpType)
        out << "，" << texts::dumpTypeText(*d.dumpType);
    out << '\n';
    out << "崩溃时间：" << (d.crashTime ? texts::localTimeText(*d.crashTime) + QStringLiteral("（本地时间）") : QStringLiteral("未知")) << '\n';
    if (user) {
        out << "程序：" << (d.program.isEmpty() ? QStringLiteral("未知") : d.program) << '\n';
        out << "异常代码：" << (d.code ? app::KnowledgeBase::codeKey(*d.code) : QStringLiteral("未知")) << '\n';
    } else {
        writeCodeLine(out, d.code, e);
        writeParameters(out, explainer.parameters(e, d), d.parameterWidth);
    }
    QStringList system;
    if (d.build)
        system << QStringLiteral("版本号 %1").arg(*d.build);
    if (d.machine)
        system << texts::machineText(*d.machine);
    if (d.processors)
        system << QStringLiteral("%1 个处理器").arg(*d.processors);
    if (!system.isEmpty())
        out << "系统：" << system.join(QStringLiteral("，")) << '\n';
    if (d.uptimeSeconds)
        out << "运行时间：" << texts::uptimeText(*d.uptimeSeconds) << '\n';
    out << (user ? "可能相关的模块：" : "可能相关的驱动：");
    if (d.suspect)
        out << texts::suspectText(*d.suspect) << "（根据：" << texts::methodText(d.suspect->method, user) << "）\n";
    else
        out << "未能确定\n";
    if (d.driverCount)
        out << (user ? "已加载的模块：" : "已加载的驱动：") << d.driverCount << " 个\n";
    if (!d.unloaded.empty()) {
        QStringList names;
        for (const UnloadedDriver& u : d.unloaded)
            names << u.name;
        out << "已卸载的驱动：" << names.join(QStringLiteral("、")) << '\n';
    }
    for (const DumpWarning& w : d.warnings)
        out << "注意：" << texts::warningText(w.kind) << '\n';
    if (!user)
        writeAnswer(out, e);
}

void writeReport(QTextStream& out, DumpExplainer& explainer, const QString& file, const CrashReport& r, const DumpExplanation& e)
{
    out << "文件：" << file << '\n';
    out << "类型：崩溃报告文字，" << texts::reportFormText(r.form) << '\n';
    writeCodeLine(out, r.code ? r.code : e.code, e);
    const bool anyParameter = std::any_of(r.parameters.begin(), r.parameters.end(), [](const auto& p) { return p.has_value(); });
    if (anyParameter)
        writeParameters(out, explainer.parameters(e, r.parameters), r.parameterWidth);
    if (r.suspect)
        out << "可能相关的驱动：" << texts::suspectText(*r.suspect) << "（根据：" << texts::methodText(r.suspect->method) << "）\n";
    if (!r.dumpFile.isEmpty())
        out << "转储文件：" << r.dumpFile << '\n';
    writeAnswer(out, e);
}

// The bytes of the report text, or nothing with `error` set.
std::optional<QByteArray> readReportBytes(const QString& name, QIODevice& standardInput, QString* error)
{
    QFile file;
    QIODevice* device = &standardInput;
    if (name != QStringLiteral("-")) {
        file.setFileName(name);
        const QFileInfo info(name);
        if (!info.exists())
            *error = QStringLiteral("文件不存在");
        else if (info.isDir())
            *error = QStringLiteral("这是文件夹，不是文字文件");
        else if (!file.open(QIODevice::ReadOnly))
            *error = QStringLiteral("无法打开：没有读取权限，或者不是普通文件");
        if (!file.isOpen())
            return std::nullopt;
        device = &file;
    }
    QByteArray bytes;
    while (bytes.size() <= MaxTextBytes) {
        // A read blocks until there is data or the end; nothing means the end.
        const QByteArray chunk = device->read(1 << 16);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (bytes.size() > MaxTextBytes) {
        *error = QStringLiteral("文字超过 16 MiB，不像是复制下来的崩溃报告");
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

QString decodeReportText(const QByteArray& bytes)
{
    if (const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb18030("GB18030");
    if (gb18030.isValid()) {
        QString chinese = gb18030(bytes);
        if (!gb18030.hasError())
            return chinese;
    }
    return text;
}

int runDumpCommand(const DumpCommand& command, app::KnowledgeBase& knowledge, QTextStream& out, QIODevice& standardInput)
{
    DumpExplainer explainer(&knowledge);
    Tally tally;
    QJsonArray json;
    bool first = true;
    const auto separate = [&] {
        if (!first)
            out << '\n';
        first = false;
    };

    if (!command.paths.isEmpty()) {
        ScanOptions options;
        options.read.driverList = false;  // the count, the unloaded drivers and the suspect are still read
        std::vector<DumpInfo> dumps = scanPaths(command.paths, nullptr, options);
        sortNewestFirst(dumps);
        for (const DumpInfo& d : dumps) {
            const DumpExplanation e = explainer.explain(d);
            if (!d.ok())
                tally.unreadable = true;
            else if (!e.key.isEmpty() && !e.found)
                tally.notFound = true;
            if (command.json) {
                json.append(dumpJson(d, e));
            } else {
                separate();
                writeDump(out, explainer, d, e);
            }
        }
    }

    if (!command.textFile.isEmpty()) {
        const QString shownName = command.textFile == QStringLiteral("-") ? QStringLiteral("（标准输入）") : command.textFile;
        QString error;
        std::vector<CrashReport> reports;
        if (const std::optional<QByteArray> bytes = readReportBytes(command.textFile, standardInput, &error)) {
            reports = parseCrashReports(decodeReportText(*bytes));
            if (reports.empty())
                error = QStringLiteral("文字中没有找到崩溃报告（蓝屏代码）");
        }
        if (!error.isEmpty()) {
            tally.unreadable = true;
            if (command.json) {
                json.append(QJsonObject{{QStringLiteral("file"), command.textFile}, {QStringLiteral("error"), error}});
            } else {
                separate();
                out << "文件：" << shownName << "\n无法读取：" << error << '\n';
            }
        }
        for (const CrashReport& r : reports) {
            const DumpExplanation e = explainer.explain(r);
            if (!e.found)
                tally.notFound = true;
            if (command.json) {
                json.append(reportJson(command.textFile, r, e));
            } else {
                separate();
                writeReport(out, explainer, shownName, r, e);
            }
        }
    }

    if (command.json)
        out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return tally.unreadable ? KbFailed : tally.notFound ? KbNotFound : KbOk;
}

}  // namespace tervolin::tools
