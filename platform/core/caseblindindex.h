#pragma once
// An index for finding the first entry of a TextList that equals a text without regard to case: the case-folded
// entries' hashes with their rows, sorted. Built once (on any thread) and asked many times, so that a search does
// not scan a long list: a binary search finds the candidates and the first that really matches is the answer.

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/core/textlist.h"

namespace tervolin::platform {

class CaseBlindIndex
{
public:
    CaseBlindIndex() = default;

    /// Indexes entries [first, first + count) of `items`; rows are counted from `first`.
    static CaseBlindIndex build(const TextList& items, qsizetype first, qsizetype count)
    {
        CaseBlindIndex index;
        index.byHash_.reserve(static_cast<std::size_t>(count));
        for (qsizetype i = 0; i < count; ++i)
            index.byHash_.emplace_back(foldedHash(items.at(first + i)), i);
        std::sort(index.byHash_.begin(), index.byHash_.end());
        index.built_ = true;
        return index;
    }
    static CaseBlindIndex build(const TextList& items) { return build(items, 0, items.size()); }

    bool isBuilt() const { return built_; }

    /// The first row r of the indexed entries for which items.at(first + r) equals `text` without regard to case,
    /// or -1. `items` and `first` are those the index was built on (or a list that holds the same entries there).
    qsizetype find(const TextList& items, qsizetype first, QStringView text) const
    {
        const quint64 hash = foldedHash(text);
        auto it = std::lower_bound(byHash_.begin(), byHash_.end(), std::pair<quint64, qsizetype>{hash, -1});
        if (it == byHash_.end() || it->first != hash)
            return -1;
        const QString folded = text.toString().toCaseFolded();
        for (; it != byHash_.end() && it->first == hash; ++it) {
            if (items.at(first + it->second).toString().toCaseFolded() == folded)
                return it->second;
        }
        return -1;
    }

    /// FNV-1a over the case-folded code points, without building the folded string. QString::toCaseFolded folds
    /// code point by code point in the same way, so texts whose folded forms are equal hash alike.
    static quint64 foldedHash(QStringView text)
    {
        quint64 hash = 0xcbf29ce484222325ull;
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t c = text[i].unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(text[i], text[i + 1]);
                ++i;
            }
            hash ^= QChar::toCaseFolded(c);
            hash *= 0x100000001b3ull;
        }
        return hash;
    }

private:
    std::vector<std::pair<quint64, qsizetype>> byHash_;  // (hash of the case-folded entry, row), in order
    bool built_ = false;
};

}  // namespace tervolin::platform
