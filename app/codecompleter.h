#pragma once
// Completion of a half-typed stop code against the codes of the loaded table. Built once from the code list;
// each query is answered from in-memory indexes (numeric order of the hexadecimal codes, sorted name keys,
// trigram postings for matches inside a code), so a keystroke costs the same on a table of a million rows.

#include <QString>
#include <QStringList>

#include "platform/core/textlist.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tervolin::app {

/// What a typed or pasted text asks for, after the forms copied from screens and logs are taken apart.
struct CompletionQuery
{
    /// Hexadecimal digits of the code, lower case, without "0x" but with any leading zeros as typed.
    std::optional<std::string> hexDigits;
    /// The text key: case-folded UTF-8, with blanks, '_' and '-' removed.
    std::string textKey;
    /// The text says it is a code: "0x", or a label such as "STOP:" or "BCCode:" before it.
    bool markedAsCode = false;
};

class CodeCompleter
{
public:
    static constexpr int DefaultLimit = 50;

    /// Indexes the codes (duplicates are offered once). A hexadecimal code and a name that stand next to each
    /// other in that order, as the two rows of one code do in the bundled table, are offered together.
    explicit CodeCompleter(const platform::TextList& codes);

    /// Takes apart `STOP: 0x0000007E (0xC0000005, …)`, `BCCode: 7e`, `错误代码 0x7B`, `Stop code: NAME` and the like.
    static CompletionQuery parse(const QString& typed);

    /// The stored codes that the typed text may mean, best first, at most `limit` of them: the code whose value
    /// or name equals it, then codes that begin with it, then (from three characters on) codes that contain it.
    QStringList complete(const QString& typed, int limit = DefaultLimit) const;

    /// The stored code that the text names as a whole, for a lookup that forgives the form: a code of the same
    /// value however it is written ("7b", "0x7B", "STOP: 0x0000007B (…)", "BCCode: 7b"), or a name that equals the
    /// text but for case, blanks, '_' and '-'. Letters a–f alone count as a value only when marked as a code ("0xbad").
    /// Never a code the text only begins or contains; nothing when it names none.
    std::optional<QString> named(const QString& typed) const;

    /// Distinct codes indexed.
    int size() const { return distinct_; }
    /// Index entries the last complete() looked at; a measure of its work that does not depend on the clock.
    std::size_t lastExamined() const { return examined_; }

private:
    using Id = std::uint32_t;

    std::string_view key(Id id) const { return std::string_view(keys_).substr(keyStart_[id], keyStart_[id + 1] - keyStart_[id]); }
    void dropRepeats();
    void buildTrigrams();
    void pairNeighbours(const std::vector<bool>& isHex);
    void addHexRange(std::uint64_t low, std::uint64_t high, std::vector<Id>& out, std::size_t limit) const;
    void addHexMatches(const std::string& digits, std::vector<Id>& out, std::size_t limit) const;
    void addNameMatches(const std::string& key, bool exactOnly, std::vector<Id>& out, std::size_t limit) const;
    void addContaining(const std::string& needle, std::vector<Id>& out, std::size_t limit) const;
    const Id* postings(std::uint64_t gram, std::size_t& count) const;

    platform::TextList codes_;              // the list's entries; an entry's index is its id
    std::vector<bool> repeat_;              // the entry repeats an earlier one and is not offered
    int distinct_ = 0;
    std::string keys_;                      // every entry's match key, back to back
    std::vector<std::uint32_t> keyStart_;   // entry i's key is keys_[keyStart_[i], keyStart_[i + 1])
    std::vector<std::pair<std::uint64_t, Id>> hexByValue_;  // hexadecimal codes by value
    std::vector<Id> namesByKey_;               // the other codes, by key
    std::vector<Id> partner_;                  // the other row of the same code, or NoPartner
    // Trigram postings in one array: letters and digits map to 36 symbols, so those trigrams index offsets
    // directly; trigrams with any other character are kept in a sorted side table.
    std::vector<std::uint32_t> gramStart_;
    std::vector<Id> gramIds_;
    std::vector<std::pair<std::uint64_t, std::vector<Id>>> otherGrams_;
    mutable std::size_t examined_ = 0;

    static constexpr Id NoPartner = 0xFFFFFFFFu;
};

}  // namespace tervolin::app
