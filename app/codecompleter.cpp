#include "app/codecompleter.h"

#include <QRegularExpression>

#include "platform/crashdump/crashreport.h"

#include <algorithm>
#include <array>

namespace tervolin::app {
namespace {

constexpr std::uint32_t DenseGrams = 36 * 36 * 36;
constexpr std::uint32_t Unseen = 0xFFFFFFFFu;

// Letters and digits (after case folding) are the alphabet of the dense trigram table; -1 for anything else.
int symbol(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return -1;
}

// A trigram's number: below DenseGrams for three letters or digits, otherwise the three bytes packed above it.
std::uint64_t gramOf(const char* p)
{
    const int a = symbol(p[0]);
    const int b = symbol(p[1]);
    const int c = symbol(p[2]);
    if (a >= 0 && b >= 0 && c >= 0)
        return static_cast<std::uint64_t>(a * 36 * 36 + b * 36 + c);
    const auto byte = [](char x) { return std::uint64_t{static_cast<unsigned char>(x)}; };
    return DenseGrams + (byte(p[0]) << 16 | byte(p[1]) << 8 | byte(p[2]));
}

bool isSeparator(QChar c) { return c.isSpace() || c == QLatin1Char('_') || c == QLatin1Char('-'); }

// Case-folded UTF-8, without the blanks, underscores and hyphens that screens, logs and people put in differently.
// UTF-8 keys compare bytewise, which keeps sorting and prefix search cheap.
std::string foldKey(QStringView text)
{
    std::string key;
    key.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            if (!isSeparator(c))
                key.push_back(static_cast<char>(c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? c.unicode() + 32 : c.unicode()));
        } else if (!isSeparator(c)) {
            const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            key += text.mid(i, length).toString().toCaseFolded().toStdString();
            i += length - 1;
        }
    }
    return key;
}

std::optional<std::uint64_t> hexValue(std::string_view digits)
{
    if (digits.size() > 16)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int s = symbol(c);
        if (s < 0 || s > 15)
            return std::nullopt;
        value = value << 4 | static_cast<std::uint64_t>(s);
    }
    return value;
}

// A stored code of the form 0x…: its value and its digits without leading zeros (lower case).
std::optional<std::pair<std::uint64_t, std::string>> storedHex(QStringView code)
{
    const QStringView t = code.trimmed();
    if (t.size() < 3 || t.size() > 18 || t[0] != QLatin1Char('0') || (t[1] != QLatin1Char('x') && t[1] != QLatin1Char('X')))
        return std::nullopt;
    const std::string digits = foldKey(t.mid(2));
    if (digits.size() != static_cast<std::size_t>(t.size() - 2))
        return std::nullopt;
    const auto value = hexValue(digits);
    if (!value)
        return std::nullopt;
    const std::size_t first = digits.find_first_not_of('0');
    return std::pair{*value, first == std::string::npos ? std::string("0") : digits.substr(first)};
}

bool contains(const std::vector<std::uint32_t>& ids, std::uint32_t id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

CodeCompleter::CodeCompleter(const platform::TextList& codes) : codes_(codes)
{
    std::vector<bool> isHex;
    isHex.reserve(static_cast<std::size_t>(codes.size()));
    keyStart_.reserve(static_cast<std::size_t>(codes.size()) + 1);
    keyStart_.push_back(0);
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const Id id = static_cast<Id>(i);
        if (auto hex = storedHex(codes.at(i))) {
            hexByValue_.emplace_back(hex->first, id);
            keys_ += hex->second;
            isHex.push_back(true);
        } else {
            namesByKey_.push_back(id);
            keys_ += foldKey(codes.at(i));
            isHex.push_back(false);
        }
        keyStart_.push_back(static_cast<std::uint32_t>(keys_.size()));
    }
    std::sort(hexByValue_.begin(), hexByValue_.end());
    // Sorting compares the first eight bytes of each key as one number and only looks further on a tie.
    std::vector<std::pair<std::uint64_t, Id>> byPrefix;
    byPrefix.reserve(namesByKey_.size());
    for (const Id id : namesByKey_) {
        const std::string_view k = key(id);
        std::uint64_t prefix = 0;
        for (std::size_t i = 0; i < 8; ++i)
            prefix = prefix << 8 | (i < k.size() ? static_cast<unsigned char>(k[i]) : 0u);
        byPrefix.emplace_back(prefix, id);
    }
    std::sort(byPrefix.begin(), byPrefix.end(), [this](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        const int order = key(a.second).compare(key(b.second));
        return order < 0 || (order == 0 && a.second < b.second);
    });
    for (std::size_t i = 0; i < byPrefix.size(); ++i)
        namesByKey_[i] = byPrefix[i].second;
    dropRepeats();
    pairNeighbours(isHex);
    buildTrigrams();
}

void CodeCompleter::dropRepeats()
{
    // A code listed twice is offered once, as its first entry. Equal texts have equal keys (or values), so
    // they stand together in the sorted indexes, the first entry first.
    repeat_.assign(static_cast<std::size_t>(codes_.size()), false);
    const auto markRuns = [this](auto begin, auto end, auto sameKey, auto idOf) {
        for (auto run = begin; run != end;) {
            auto next = run + 1;
            while (next != end && sameKey(*run, *next))
                ++next;
            for (auto a = run; a != next; ++a)
                for (auto b = run; b != a; ++b)
                    if (!repeat_[idOf(*b)] && codes_.at(idOf(*a)) == codes_.at(idOf(*b))) {
                        repeat_[idOf(*a)] = true;
                        break;
                    }
            run = next;
        }
    };
    markRuns(hexByValue_.begin(), hexByValue_.end(), [](const auto& a, const auto& b) { return a.first == b.first; },
             [](const auto& entry) { return entry.second; });
    markRuns(namesByKey_.begin(), namesByKey_.end(), [this](Id a, Id b) { return key(a) == key(b); }, [](Id id) { return id; });
    std::erase_if(hexByValue_, [this](const auto& entry) { return repeat_[entry.second]; });
    std::erase_if(namesByKey_, [this](Id id) { return repeat_[id]; });
    distinct_ = static_cast<int>(std::count(repeat_.begin(), repeat_.end(), false));
}

void CodeCompleter::pairNeighbours(const std::vector<bool>& isHex)
{
    // The bundled table writes each code as a hexadecimal row directly followed by its name row. A pair is taken
    // only where that pattern stands alone, so a block of codes followed by a block of names pairs nothing.
    const std::size_t n = isHex.size();
    partner_.assign(n, NoPartner);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (!isHex[i] || isHex[i + 1])
            continue;
        if ((i > 0 && isHex[i - 1]) || (i + 2 < n && !isHex[i + 2]))
            continue;
        partner_[i] = static_cast<Id>(i + 1);
        partner_[i + 1] = static_cast<Id>(i);
    }
}

void CodeCompleter::buildTrigrams()
{
    // Two passes over the keys: count each trigram once per code, then fill the postings in code order, so each
    // list is sorted and free of repeats. `last` remembers the code a dense trigram was last seen in.
    std::vector<Id> last(DenseGrams, Unseen);
    const auto eachNewGram = [&](auto visit) {
        std::fill(last.begin(), last.end(), Unseen);
        for (Id id = 0; id < static_cast<Id>(codes_.size()); ++id) {
            if (repeat_[id])
                continue;
            const std::string_view k = key(id);
            for (std::size_t i = 0; i + 3 <= k.size(); ++i) {
                const std::uint64_t g = gramOf(k.data() + i);
                if (g >= DenseGrams || last[g] != id)
                    visit(g, id);
                if (g < DenseGrams)
                    last[g] = id;
            }
        }
    };
    std::vector<std::uint32_t> count(DenseGrams + 1, 0);
    std::vector<std::pair<std::uint64_t, Id>> other;
    eachNewGram([&](std::uint64_t g, Id id) {
        if (g >= DenseGrams)
            other.emplace_back(g, id);
        else
            ++count[g];
    });
    gramStart_.assign(DenseGrams + 1, 0);
    for (std::uint32_t g = 0; g < DenseGrams; ++g)
        gramStart_[g + 1] = gramStart_[g] + count[g];
    gramIds_.resize(gramStart_[DenseGrams]);
    std::vector<std::uint32_t> fill(gramStart_.begin(), gramStart_.end() - 1);
    eachNewGram([&](std::uint64_t g, Id id) {
        if (g < DenseGrams)
            gramIds_[fill[g]++] = id;
    });
    std::sort(other.begin(), other.end());
    other.erase(std::unique(other.begin(), other.end()), other.end());
    for (const auto& [gram, id] : other) {
        if (otherGrams_.empty() || otherGrams_.back().first != gram)
            otherGrams_.emplace_back(gram, std::vector<Id>{});
        otherGrams_.back().second.push_back(id);
    }
}

const CodeCompleter::Id* CodeCompleter::postings(std::uint64_t gram, std::size_t& count) const
{
    if (gram < DenseGrams) {
        count = gramStart_[gram + 1] - gramStart_[gram];
        return gramIds_.data() + gramStart_[gram];
    }
    const auto it = std::lower_bound(otherGrams_.begin(), otherGrams_.end(), gram,
                                     [](const auto& entry, std::uint64_t g) { return entry.first < g; });
    if (it == otherGrams_.end() || it->first != gram) {
        count = 0;
        return nullptr;
    }
    count = it->second.size();
    return it->second.data();
}

namespace {

// A pasted crash report that the forms above do not take apart (the Kernel-Power event's decimal code, "BCCode: 7e
// BCP1: …", a whole event-log text, a blue screen's name before "What failed:") names its code or stop through the
// crash-report parser. A code found above is kept, so that typing on goes on completing the digits as typed.
void useCrashReport(const QString& typed, CompletionQuery& query)
{
    // The parser's forms all carry one of these words; other texts are left to the forms above, cheaply.
    static const QRegularExpression marker(QStringLiteral("bug\\s*check|bccode|stop|停止代码|终止代码|检测错误|错误检查"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!typed.contains(marker))
        return;
    const std::vector<platform::crashdump::CrashReport> reports = platform::crashdump::parseCrashReports(typed);
    const auto report = std::find_if(reports.begin(), reports.end(), [](const auto& r) { return r.code || !r.name.isEmpty(); });
    if (report == reports.end())
        return;
    if (report->code) {
        if (query.hexDigits && hexValue(*query.hexDigits) == *report->code)
            return;
        query.hexDigits = QString::number(*report->code, 16).toStdString();
        query.textKey = foldKey(report->name);
        query.markedAsCode = true;
    } else if (!query.hexDigits) {
        query.textKey = foldKey(report->name);
    }
}

}  // namespace

CompletionQuery CodeCompleter::parse(const QString& typed)
{
    static const QRegularExpression label(
        QStringLiteral(R"(^[\s*]*(?:stop\s*code|stop|bccode|bug\s*check\s*code|bugcheck\s*code|bug\s*check|bugcheck|)"
                       R"(错误代码|停止代码|终止代码|蓝屏代码)(?:\s*[:：]\s*|\s+))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression hexCore(QStringLiteral("^(0x)?([0-9a-f]*)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression hexToken(QStringLiteral("(?<![0-9a-z_])0x([0-9a-f]{1,16})(?![0-9a-z_])"),
                                             QRegularExpression::CaseInsensitiveOption);

    CompletionQuery query;
    QString core = typed.trimmed();
    if (const auto m = label.match(core); m.hasMatch() && m.capturedLength() < core.size()) {
        core = core.mid(m.capturedLength());
        query.markedAsCode = true;
    }
    // The parameters that follow a code on a crash screen or in a log ("(0xC0000005, …)") are not part of it.
    static const QString cuts = QStringLiteral("(（{,，");
    for (qsizetype i = 0; i < core.size(); ++i) {
        if (cuts.contains(core[i])) {
            core.truncate(i);
            break;
        }
    }
    core = core.trimmed();
    // "CRITICAL_PROCESS_DIED What failed: …": a name shown on a screen has no blanks of its own.
    static const QRegularExpression blankRun(QStringLiteral("\\s"));
    if (const qsizetype blank = core.indexOf(blankRun); blank > 0 && core.left(blank).contains(QLatin1Char('_')))
        core.truncate(blank);

    query.textKey = foldKey(core);
    if (const auto m = hexCore.match(core); m.hasMatch() && (m.capturedLength(1) > 0 || m.capturedLength(2) > 0) && m.capturedLength(2) <= 16) {
        query.hexDigits = foldKey(m.capturedView(2));
        query.markedAsCode = query.markedAsCode || m.capturedLength(1) > 0;
    } else if (const auto t = hexToken.match(typed); t.hasMatch()) {
        query.hexDigits = foldKey(t.capturedView(1));
        query.markedAsCode = true;
    }
    useCrashReport(typed, query);
    return query;
}

void CodeCompleter::addHexRange(std::uint64_t low, std::uint64_t high, std::vector<Id>& out, std::size_t limit) const
{
    auto it = std::lower_bound(hexByValue_.begin(), hexByValue_.end(), std::pair<std::uint64_t, Id>{low, 0});
    for (; it != hexByValue_.end() && it->first <= high && out.size() < limit; ++it) {
        ++examined_;
        if (!contains(out, it->second))
            out.push_back(it->second);
    }
}

void CodeCompleter::addHexMatches(const std::string& digits, std::vector<Id>& out, std::size_t limit) const
{
    const auto value = hexValue(digits);
    if (!value)
        return;
    const std::size_t length = digits.size();
    if (digits.empty() || digits.front() == '0') {
        // Typed with leading zeros: the digits begin the code's zero-padded form (8 digits, or 16 for longer input).
        const std::size_t width = length <= 8 ? 8 : 16;
        const unsigned shift = static_cast<unsigned>(4 * (width - length));  // at most 32
        const std::uint64_t low = *value << shift;
        addHexRange(low, low + ((std::uint64_t{1} << shift) - 1), out, limit);
        return;
    }
    // Typed without padding: the value itself, then longer codes whose digits begin with it, shortest first.
    for (std::size_t width = length; width <= 16 && out.size() < limit; ++width) {
        const unsigned shift = static_cast<unsigned>(4 * (width - length));
        if (shift > 0 && (*value >> (64 - shift)) != 0)
            break;
        const std::uint64_t low = *value << shift;
        addHexRange(low, low + ((std::uint64_t{1} << shift) - 1), out, limit);
    }
}

void CodeCompleter::addNameMatches(const std::string& key, bool exactOnly, std::vector<Id>& out, std::size_t limit) const
{
    if (key.empty())
        return;
    auto it = std::lower_bound(namesByKey_.begin(), namesByKey_.end(), std::string_view(key),
                               [this](Id id, std::string_view k) { return this->key(id) < k; });
    for (; it != namesByKey_.end() && out.size() < limit; ++it) {
        ++examined_;
        const std::string_view candidate = this->key(*it);
        if (exactOnly ? candidate != key : !candidate.starts_with(key))
            break;
        if (!contains(out, *it))
            out.push_back(*it);
    }
}

void CodeCompleter::addContaining(const std::string& needle, std::vector<Id>& out, std::size_t limit) const
{
    if (needle.size() < 3 || out.size() >= limit)
        return;
    struct List
    {
        const Id* ids;
        std::size_t count;
    };
    std::vector<List> lists;
    for (std::size_t i = 0; i + 3 <= needle.size(); ++i) {
        List l{nullptr, 0};
        l.ids = postings(gramOf(needle.data() + i), l.count);
        if (l.count == 0)
            return;
        lists.push_back(l);
    }
    std::sort(lists.begin(), lists.end(), [](const List& a, const List& b) { return a.count < b.count; });
    // Walk the rarest trigram's codes; the next two rarest filter cheaply before the key itself is checked.
    const std::size_t filters = std::min<std::size_t>(lists.size(), 3);
    for (std::size_t i = 0; i < lists[0].count && out.size() < limit; ++i) {
        const Id id = lists[0].ids[i];
        ++examined_;
        bool candidate = true;
        for (std::size_t f = 1; f < filters && candidate; ++f)
            candidate = std::binary_search(lists[f].ids, lists[f].ids + lists[f].count, id);
        if (candidate && key(id).find(needle) != std::string_view::npos && !contains(out, id))
            out.push_back(id);
    }
}

QStringList CodeCompleter::complete(const QString& typed, int limit) const
{
    examined_ = 0;
    if (limit <= 0)
        return {};
    const CompletionQuery query = parse(typed);
    if (query.textKey.empty() && !query.hexDigits)
        return {};
    const auto cap = static_cast<std::size_t>(limit);
    std::vector<Id> found;

    addNameMatches(query.textKey, true, found, cap);
    // Letters a–f alone ("bad", "dead") more likely begin a name than a code; a digit or "0x" says it is a code.
    const bool hexFirst = query.hexDigits && (query.markedAsCode || std::any_of(query.hexDigits->begin(), query.hexDigits->end(), [](char c) { return c >= '0' && c <= '9'; }));
    if (hexFirst)
        addHexMatches(*query.hexDigits, found, cap);
    addNameMatches(query.textKey, false, found, cap);
    if (query.hexDigits && !hexFirst)
        addHexMatches(*query.hexDigits, found, cap);
    std::string strippedDigits;
    if (query.hexDigits) {
        const std::size_t first = query.hexDigits->find_first_not_of('0');
        if (first != std::string::npos)
            strippedDigits = query.hexDigits->substr(first);
        addContaining(strippedDigits, found, cap);
    }
    if (query.textKey != strippedDigits)
        addContaining(query.textKey, found, cap);

    // Each code's other row stands right after it.
    std::vector<Id> ordered;
    ordered.reserve(found.size() * 2);
    for (const Id id : found) {
        for (const Id next : {id, partner_[id]})
            if (next != NoPartner && !repeat_[next] && ordered.size() < cap && !contains(ordered, next))
                ordered.push_back(next);
    }
    QStringList result;
    result.reserve(static_cast<qsizetype>(ordered.size()));
    for (const Id id : ordered)
        result.append(codes_.text(id));
    return result;
}

std::optional<QString> CodeCompleter::named(const QString& typed) const
{
    const CompletionQuery query = parse(typed);
    std::vector<Id> found;
    const bool hasDigit = query.hexDigits && std::any_of(query.hexDigits->begin(), query.hexDigits->end(), [](char c) { return c >= '0' && c <= '9'; });
    if (query.hexDigits && !query.hexDigits->empty() && (query.markedAsCode || hasDigit)) {
        if (const auto value = hexValue(*query.hexDigits))
            addHexRange(*value, *value, found, 1);
    }
    if (found.empty())
        addNameMatches(query.textKey, true, found, 1);
    if (found.empty())
        return std::nullopt;
    return codes_.text(found.front());
}

}  // namespace tervolin::app
