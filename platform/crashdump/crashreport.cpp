#include "platform/crashdump/crashreport.h"

#include <QRegularExpression>

#include <algorithm>

namespace tervolin::platform::crashdump {

namespace {

using Re = QRegularExpression;
constexpr auto kCaseless = Re::CaseInsensitiveOption;
constexpr auto kLines = Re::MultilineOption;

// A hex number as texts write it: optional 0x, digits, optionally split by the debugger's backtick.
struct Hex {
    quint64 value = 0;
    int digits = 0;  // significant to the width: how many digits the writer printed
};

std::optional<Hex> parseHex(QStringView token)
{
    token = token.trimmed();
    if (token.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        token = token.mid(2);
    QString digits = token.toString();
    digits.remove(QLatin1Char('`'));
    if (digits.isEmpty() || digits.size() > 16)
        return std::nullopt;
    bool ok = false;
    const quint64 value = digits.toULongLong(&ok, 16);
    if (!ok)
        return std::nullopt;
    return Hex{value, int(digits.size())};
}

std::optional<quint32> parseCode(QStringView token, int base = 16)
{
    if (base == 16) {
        const auto hex = parseHex(token);
        if (!hex || hex->value > 0xFFFFFFFFull)
            return std::nullopt;
        return quint32(hex->value);
    }
    bool ok = false;
    const quint64 value = token.trimmed().toULongLong(&ok, 10);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return quint32(value);
}

// "CRITICAL PROCESS DIED" and "critical_process_died" alike become "CRITICAL_PROCESS_DIED".
QString normalizeName(QStringView name)
{
    QString result = name.trimmed().toString().toUpper();
    result.replace(Re(QStringLiteral("[\\s_]+")), QStringLiteral("_"));
    return result;
}

// A report being assembled: the text it was found in spans [begin, end).
struct Part {
    CrashReport report;
    qsizetype end = 0;
    int maxDigits = 0;
    bool hasParameterTokens = false;
};

void setParameter(Part& part, int index, const Hex& hex)
{
    if (index < 0 || index > 3 || part.report.parameters[size_t(index)])
        return;
    part.report.parameters[size_t(index)] = hex.value;
    part.maxDigits = std::max(part.maxDigits, hex.digits);
    part.hasParameterTokens = true;
}

void setParameters(Part& part, QStringView list)
{
    const auto tokens = list.split(QLatin1Char(','));
    for (qsizetype i = 0; i < tokens.size() && i < 4; ++i)
        if (const auto hex = parseHex(tokens[i]))
            setParameter(part, int(i), *hex);
}

// An anchor: a match that carries a code (or, on the blue screen, a name) and so begins a report.
struct AnchorRule {
    Re pattern;
    ReportForm form;
    void (*fill)(Part&, const QRegularExpressionMatch&);
};

const std::vector<AnchorRule>& anchorRules()
{
    // One set per thread: QRegularExpression is reentrant, not documented as safe to share between threads.
    thread_local const std::vector<AnchorRule> rules = [] {
        std::vector<AnchorRule> r;
        // Event log (System, source BugCheck), English and Chinese.
        r.push_back({Re(QStringLiteral("(?:bug\\s*check\\s+was|检测错误|错误检查)\\s*[:：]\\s*(0x[0-9a-f]{1,8})\\s*\\(([^)]{0,400})\\)"), kCaseless),
                     ReportForm::EventLog, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.code = parseCode(m.capturedView(1));
                         setParameters(p, m.capturedView(2));
                     }});
        // The old blue screen.
        r.push_back({Re(QStringLiteral("\\bSTOP\\s*:\\s*(0x[0-9a-f]{1,8})\\s*\\(([^)]{0,400})\\)"), kCaseless),
                     ReportForm::OldStopScreen, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.code = parseCode(m.capturedView(1));
                         setParameters(p, m.capturedView(2));
                     }});
        // Debugger: "BugCheck 9F, {…}", the "!analyze -v" header and the newer BUGCHECK_CODE field.
        r.push_back({Re(QStringLiteral("\\bBugCheck\\s+([0-9a-f]{1,8})\\s*,\\s*\\{([^}]{0,400})\\}"), kCaseless),
                     ReportForm::Debugger, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.code = parseCode(m.capturedView(1));
                         setParameters(p, m.capturedView(2));
                     }});
        r.push_back({Re(QStringLiteral("^[^\\S\\r\\n]*([A-Z][A-Z0-9]*(?:_[A-Z0-9]+)+)[^\\S\\r\\n]+\\(([0-9a-fA-F]{1,8})\\)[^\\S\\r\\n]*$"), kLines),
                     ReportForm::Debugger, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.name = m.captured(1);
                         p.report.code = parseCode(m.capturedView(2));
                     }});
        r.push_back({Re(QStringLiteral("\\bBUGCHECK_CODE\\s*:\\s*(?:0x)?([0-9a-f]{1,8})\\b"), kCaseless),
                     ReportForm::Debugger, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.code = parseCode(m.capturedView(1));
                     }});
        // Error reporting ("Problem signature" of a BlueScreen event).
        r.push_back({Re(QStringLiteral("\\bBCCode\\s*[:：]\\s*(?:0x)?([0-9a-f]{1,8})\\b"), kCaseless),
                     ReportForm::ErrorReport, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.code = parseCode(m.capturedView(1));
                     }});
        // Kernel-Power event 41: the code is decimal; 0 means the machine lost power without a stop.
        r.push_back({Re(QStringLiteral("\\bBugcheckCode\\b[\"'\\s>:=]*(\\d{1,10})"), kCaseless),
                     ReportForm::KernelPower, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.code = parseCode(m.capturedView(1), 10);
                     }});
        // The blue screen of Windows 8 and later (10 and 11 print the name with blanks or underscores).
        r.push_back({Re(QStringLiteral("(?:\\bStop\\s+code|终止代码|停止代码)[^\\S\\r\\n]*[:：][^\\S\\r\\n]*"
                                       "(0x[0-9a-f]{1,8}\\b|(?-i:[A-Z][A-Z0-9_]*\\b(?:[^\\S\\r\\n]+[A-Z0-9_]+\\b)*)|[a-z][a-z0-9]*(?:_[a-z0-9]+)+\\b)"),
                        kCaseless),
                     ReportForm::StopScreen, [](Part& p, const QRegularExpressionMatch& m) {
                         if (m.capturedView(1).startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
                             p.report.code = parseCode(m.capturedView(1));
                         else
                             p.report.name = normalizeName(m.capturedView(1));
                     }});
        r.push_back({Re(QStringLiteral("search online later for this error\\s*:\\s*(?-i:([A-Z][A-Z0-9_]*\\b(?:[^\\S\\r\\n]+[A-Z0-9_]+\\b)*))"), kCaseless),
                     ReportForm::StopScreen, [](Part& p, const QRegularExpressionMatch& m) {
                         p.report.name = normalizeName(m.capturedView(1));
                     }});
        return r;
    }();
    return rules;
}

// Details that belong to the report around them.
enum class Attach { Previous, Next };
struct DetailRule {
    Re pattern;
    Attach attach;
    void (*fill)(Part&, const QRegularExpressionMatch&);
};

void blame(Part& p, QStringView module, std::optional<quint64> offset = std::nullopt)
{
    if (p.report.suspect || module.isEmpty())
        return;
    p.report.suspect = Suspect{module.toString(), offset, SuspectMethod::Text};
}

const std::vector<DetailRule>& detailRules()
{
    thread_local const std::vector<DetailRule> rules = [] {
        std::vector<DetailRule> r;
        r.push_back({Re(QStringLiteral("\\bBugcheckParameter([1-4])\\b[\"'\\s>:=]*(0x[0-9a-f]{1,16}|\\d{1,20})"), kCaseless),
                     Attach::Previous, [](Part& p, const QRegularExpressionMatch& m) {
                         const QStringView value = m.capturedView(2);
                         std::optional<Hex> hex;
                         if (value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
                             hex = parseHex(value);
                         } else {
                             bool ok = false;
                             const quint64 v = value.toULongLong(&ok, 10);
                             if (ok)
                                 hex = Hex{v, v > 0xFFFFFFFFull ? 16 : 8};
                         }
                         if (hex)
                             setParameter(p, m.capturedView(1).toInt() - 1, *hex);
                     }});
        r.push_back({Re(QStringLiteral("\\bBCP([1-4])\\s*[:：]\\s*(?:0x)?([0-9a-f`]{1,17})\\b"), kCaseless), Attach::Previous,
                     [](Part& p, const QRegularExpressionMatch& m) {
                         if (const auto hex = parseHex(m.capturedView(2)))
                             setParameter(p, m.capturedView(1).toInt() - 1, *hex);
                     }});
        r.push_back({Re(QStringLiteral("^\\s*Arg([1-4])\\s*:\\s*([0-9a-f`]{1,17})\\b"), kCaseless | kLines), Attach::Previous,
                     [](Part& p, const QRegularExpressionMatch& m) {
                         if (const auto hex = parseHex(m.capturedView(2)))
                             setParameter(p, m.capturedView(1).toInt() - 1, *hex);
                     }});
        r.push_back({Re(QStringLiteral("\\bBUGCHECK_P([1-4])\\s*:\\s*(?:0x)?([0-9a-f`]{1,17})\\b"), kCaseless), Attach::Previous,
                     [](Part& p, const QRegularExpressionMatch& m) {
                         if (const auto hex = parseHex(m.capturedView(2)))
                             setParameter(p, m.capturedView(1).toInt() - 1, *hex);
                     }});
        r.push_back({Re(QStringLiteral("(?:A dump was saved in|已将转储的数据保存在)\\s*[:：]\\s*([^\\r\\n。]+?)[.。]?\\s*(?:Report Id|报告\\s*ID|$)"),
                        kCaseless | kLines),
                     Attach::Previous, [](Part& p, const QRegularExpressionMatch& m) {
                         if (p.report.dumpFile.isEmpty())
                             p.report.dumpFile = m.captured(1).trimmed();
                     }});
        r.push_back({Re(QStringLiteral("(?:What failed|失败的操作)[^\\S\\r\\n]*[:：][^\\S\\r\\n]*([\\w.\\-]+)"), kCaseless),
                     Attach::Previous, [](Part& p, const QRegularExpressionMatch& m) { blame(p, m.capturedView(1)); }});
        // "( nvlddmkm+12b7d0 )" is an offset in the module; "( nt!KeAccumulateTicks+1c880e )" one in a function.
        r.push_back({Re(QStringLiteral("Probably caused by\\s*:\\s*([\\w.\\-]+)(?:\\s*\\(\\s*[\\w.\\-]+(![^+\\s)]*)?\\+([0-9a-f`]+)\\s*\\))?"),
                        kCaseless),
                     Attach::Previous, [](Part& p, const QRegularExpressionMatch& m) {
                         std::optional<quint64> offset;
                         if (m.hasCaptured(3) && !m.hasCaptured(2))
                             if (const auto hex = parseHex(m.capturedView(3)))
                                 offset = hex->value;
                         blame(p, m.capturedView(1), offset);
                     }});
        r.push_back({Re(QStringLiteral("^\\s*IMAGE_NAME\\s*:\\s*([\\w.\\-]+)"), kCaseless | kLines), Attach::Previous,
                     [](Part& p, const QRegularExpressionMatch& m) { blame(p, m.capturedView(1)); }});
        // The old screen names the file and the address inside it: "*** X.SYS - Address F88C0D4E base at F88A9000".
        r.push_back({Re(QStringLiteral("\\*{2,3}\\s+([\\w.\\-]+\\.(?:sys|dll|exe))\\s+-\\s+Address\\s+(?:0x)?([0-9a-f]{1,16})\\s+base\\s+at\\s+(?:0x)?([0-9a-f]{1,16})"),
                        kCaseless),
                     Attach::Previous, [](Part& p, const QRegularExpressionMatch& m) {
                         const auto address = parseHex(m.capturedView(2));
                         const auto base = parseHex(m.capturedView(3));
                         std::optional<quint64> offset;
                         if (address && base && address->value >= base->value)
                             offset = address->value - base->value;
                         blame(p, m.capturedView(1), offset);
                     }});
        // Before the STOP line, the old screen names the culprit file and the stop code's name on a line of its own.
        r.push_back({Re(QStringLiteral("caused by the following file\\s*:\\s*([\\w.\\-]+)"), kCaseless), Attach::Next,
                     [](Part& p, const QRegularExpressionMatch& m) { blame(p, m.capturedView(1)); }});
        r.push_back({Re(QStringLiteral("^[^\\S\\r\\n]*([A-Z][A-Z0-9]*(?:_[A-Z0-9]+)+)[^\\S\\r\\n]*$"), kLines), Attach::Next,
                     [](Part& p, const QRegularExpressionMatch& m) {
                         if (p.report.name.isEmpty())
                             p.report.name = m.captured(1);
                     }});
        return r;
    }();
    return rules;
}

bool compatible(const CrashReport& a, const CrashReport& b)
{
    if (a.code && b.code) {
        if (*a.code != *b.code)
            return false;
    } else if (a.name.isEmpty() || a.name != b.name) {
        return false;  // without two codes, only two equal names tell that both describe one stop
    }
    if (!a.name.isEmpty() && !b.name.isEmpty() && a.name != b.name)
        return false;
    for (size_t i = 0; i < 4; ++i)
        if (a.parameters[i] && b.parameters[i] && *a.parameters[i] != *b.parameters[i])
            return false;
    return true;
}

void mergeInto(Part& into, const Part& from)
{
    CrashReport& a = into.report;
    const CrashReport& b = from.report;
    if (!a.code)
        a.code = b.code;
    if (a.name.isEmpty())
        a.name = b.name;
    for (size_t i = 0; i < 4; ++i)
        if (!a.parameters[i])
            a.parameters[i] = b.parameters[i];
    if (!a.suspect)
        a.suspect = b.suspect;
    if (a.dumpFile.isEmpty())
        a.dumpFile = b.dumpFile;
    into.maxDigits = std::max(into.maxDigits, from.maxDigits);
    into.hasParameterTokens = into.hasParameterTokens || from.hasParameterTokens;
    into.end = std::max(into.end, from.end);
}

}  // namespace

QString reportFormToken(ReportForm form)
{
    switch (form) {
    case ReportForm::EventLog: return QStringLiteral("event-log");
    case ReportForm::KernelPower: return QStringLiteral("kernel-power");
    case ReportForm::ErrorReport: return QStringLiteral("error-report");
    case ReportForm::Debugger: return QStringLiteral("debugger");
    case ReportForm::StopScreen: return QStringLiteral("stop-screen");
    case ReportForm::OldStopScreen: return QStringLiteral("old-stop-screen");
    }
    return {};
}

std::vector<CrashReport> parseCrashReports(const QString& input)
{
    const QString text = input.left(kMaxText);

    // Every anchor match, then those inside an earlier one dropped (a STOP line inside an event-log sentence).
    std::vector<Part> parts;
    for (const AnchorRule& rule : anchorRules()) {
        auto it = rule.pattern.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            Part part;
            part.report.form = rule.form;
            part.report.position = m.capturedStart(0);
            part.end = m.capturedEnd(0);
            rule.fill(part, m);
            // Kernel-Power's code 0: no stop happened, the power went.
            if (rule.form == ReportForm::KernelPower && part.report.code == 0u)
                continue;
            if (!part.report.code && part.report.name.isEmpty())
                continue;
            parts.push_back(std::move(part));
        }
    }
    std::stable_sort(parts.begin(), parts.end(),
                     [](const Part& a, const Part& b) { return a.report.position < b.report.position; });
    std::vector<Part> anchors;
    for (Part& part : parts) {
        if (!anchors.empty() && part.report.position < anchors.back().end)
            continue;
        anchors.push_back(std::move(part));
    }
    if (anchors.empty())
        return {};

    // Details go to the report whose text they follow, or, for the old screen's lines above its STOP line, to
    // the report that follows them.
    const auto ownerOf = [&](qsizetype position, Attach attach) -> Part& {
        auto next = std::upper_bound(anchors.begin(), anchors.end(), position,
                                     [](qsizetype pos, const Part& p) { return pos < p.report.position; });
        if ((attach == Attach::Next && next != anchors.end()) || next == anchors.begin())
            return *next;
        return *(next - 1);
    };
    for (const DetailRule& rule : detailRules()) {
        auto it = rule.pattern.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            rule.fill(ownerOf(m.capturedStart(0), rule.attach), m);
        }
    }

    std::vector<Part> merged;
    for (Part& part : anchors) {
        if (!merged.empty() && compatible(merged.back().report, part.report))
            mergeInto(merged.back(), part);
        else
            merged.push_back(std::move(part));
    }
    std::vector<CrashReport> reports;
    reports.reserve(merged.size());
    for (Part& part : merged) {
        part.report.parameterWidth = part.hasParameterTokens && part.maxDigits <= 8 ? 32 : 64;
        reports.push_back(std::move(part.report));
    }
    return reports;
}

}  // namespace tervolin::platform::crashdump
