#include "app/dumpexplainer.h"

#include "app/dumptexts.h"

namespace tervolin::app {

using platform::crashdump::CrashReport;
using platform::crashdump::DumpFormat;
using platform::crashdump::DumpInfo;

DumpExplainer::DumpExplainer(KnowledgeBase* knowledge) : knowledge_(knowledge) {}

DumpExplanation DumpExplainer::explainCode(std::uint32_t code)
{
    if (const auto known = byCode_.constFind(code); known != byCode_.cend())
        return *known;
    DumpExplanation e;
    e.key = KnowledgeBase::codeKey(code);
    e.code = code;
    if (knowledge_) {
        CodeMatch match = knowledge_->lookupCode(code);
        e.key = match.key;
        e.found = match.answer.found;
        e.fenxi = std::move(match.answer.fenxi);
        e.jiejue = std::move(match.answer.jiejue);
        if (e.found) {
            e.code = KnowledgeBase::parseCode(e.key).value_or(code);
            e.name = knowledge_->codeName(e.key);
        }
    }
    byCode_.insert(code, e);
    return e;
}

DumpExplanation DumpExplainer::explain(const DumpInfo& dump)
{
    if (!dump.ok() || dump.format == DumpFormat::User || !dump.code)
        return {};
    return explainCode(*dump.code);
}

DumpExplanation DumpExplainer::explain(const CrashReport& report)
{
    if (report.code) {
        DumpExplanation e = explainCode(*report.code);
        if (e.name.isEmpty())
            e.name = report.name;
        return e;
    }
    DumpExplanation e;
    e.name = report.name;
    if (report.name.isEmpty())
        return e;
    e.key = report.name;
    if (!knowledge_)
        return e;
    // The name's own row answers as well as its code's; the code, where the base pairs them, is the better key.
    if (const auto code = knowledge_->codeOfName(report.name)) {
        e = explainCode(*code);
        if (e.name.isEmpty())
            e.name = report.name;
        return e;
    }
    const CodeAnswer answer = knowledge_->lookup(report.name);
    e.found = answer.found;
    e.fenxi = answer.fenxi;
    e.jiejue = answer.jiejue;
    return e;
}

std::vector<ParameterExplanation> DumpExplainer::parameters(const DumpExplanation& explanation,
                                                            const std::array<std::optional<quint64>, 4>& values)
{
    std::vector<ParameterExplanation> result;
    std::vector<ParameterMeaning> meanings;
    if (knowledge_ && explanation.code)
        meanings = knowledge_->parameterMeanings(*explanation.code);
    for (int n = 1; n <= 4; ++n) {
        ParameterExplanation p;
        p.number = n;
        p.value = values[std::size_t(n - 1)];
        p.meaning = dumptexts::unknownMeaning();
        for (const ParameterMeaning& m : meanings)
            if (m.xuhao == n && !m.hanyi.isEmpty())
                p.meaning = m.hanyi;
        if (knowledge_ && explanation.code && p.value)
            p.valueMeaning = knowledge_->valueMeaning(*explanation.code, n, *p.value);
        result.push_back(std::move(p));
    }
    return result;
}

std::vector<ParameterExplanation> DumpExplainer::parameters(const DumpExplanation& explanation, const DumpInfo& dump)
{
    if (!dump.ok() || dump.format == DumpFormat::User || dump.parameterCount < 4)
        return {};
    std::array<std::optional<quint64>, 4> values;
    for (std::size_t i = 0; i < 4; ++i)
        values[i] = dump.parameters[i];
    return parameters(explanation, values);
}

}  // namespace tervolin::app
