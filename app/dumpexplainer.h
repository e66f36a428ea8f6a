#pragma once
// What the knowledge base says about a crash dump or a crash report: the key its stop code is stored under, its
// name, analysis and solution, and what each parameter means. Widget-free, for the crash-history window's worker
// and the command line; like the knowledge base it serves one thread.

#include <QHash>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/knowledgebase.h"
#include "platform/crashdump/crashreport.h"
#include "platform/crashdump/dumpinfo.h"

namespace tervolin::app {

struct DumpExplanation
{
    /// The key to search for: the stored key found (see KnowledgeBase::lookupCode), or the code's own key when it
    /// is not stored. Empty when there is no stop code (an application crash, an unreadable file).
    QString key;
    /// The stop code as found: without the 0x10000000 bit when only the code without it is stored; for a report
    /// that names the stop only, the code of that name where the knowledge base has it.
    std::optional<std::uint32_t> code;
    bool found = false;
    QString name;  // the symbolic name from the knowledge base (or from the report), empty when unknown
    QString fenxi;
    QString jiejue;
};

/// One of the four parameters with what it means.
struct ParameterExplanation
{
    int number = 0;                       // 1 to 4
    std::optional<quint64> value;        // empty when a report does not show it
    QString meaning;                      // what the parameter holds, or "含义未知"
    QString valueMeaning;                 // what this value means, where the knowledge base documents it
};

class DumpExplainer
{
public:
    /// `knowledge` may be null (no knowledge base at hand): then no code is found and no name is known.
    explicit DumpExplainer(KnowledgeBase* knowledge);

    /// Looks up the stop code of a kernel dump; an application dump or an unreadable file gets an empty
    /// explanation. Each code is looked up once. Throws platform::data::DataError.
    DumpExplanation explain(const platform::crashdump::DumpInfo& dump);
    /// The same for a crash report; one that shows only the stop's name is looked up by that name.
    DumpExplanation explain(const platform::crashdump::CrashReport& report);

    /// The four parameters with the meanings stored for the explained code. Throws DataError.
    std::vector<ParameterExplanation> parameters(const DumpExplanation& explanation,
                                                 const std::array<std::optional<quint64>, 4>& values);
    /// The parameters of a kernel dump (none for other dumps).
    std::vector<ParameterExplanation> parameters(const DumpExplanation& explanation, const platform::crashdump::DumpInfo& dump);

private:
    DumpExplanation explainCode(std::uint32_t code);

    KnowledgeBase* knowledge_;
    QHash<std::uint32_t, DumpExplanation> byCode_;
};

}  // namespace tervolin::app
