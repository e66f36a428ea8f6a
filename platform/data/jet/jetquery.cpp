#include "platform/data/jet/jetquery.h"

#include "platform/data/jet/jetfile.h"

namespace tervolin::platform::data::jet {

namespace {

class Scanner {
public:
    explicit Scanner(const QString& text) : s_(text) {}

    void skipBlanks()
    {
        while (i_ < s_.size() && s_[i_].isSpace())
            ++i_;
    }
    bool atEnd()
    {
        skipBlanks();
        return i_ >= s_.size();
    }
    bool symbol(QChar c)
    {
        skipBlanks();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    // A plain name ([A-Za-z_][A-Za-z0-9_]*) or a bracketed one.
    std::optional<QString> name()
    {
        skipBlanks();
        if (i_ < s_.size() && s_[i_] == QLatin1Char('[')) {
            const qsizetype close = s_.indexOf(QLatin1Char(']'), i_ + 1);
            if (close <= i_ + 1)
                return std::nullopt;
            QString n = s_.mid(i_ + 1, close - i_ - 1);
            i_ = close + 1;
            return n;
        }
        const qsizetype begin = i_;
        while (i_ < s_.size() && s_[i_].unicode() < 128
               && (s_[i_].isLetter() || s_[i_] == QLatin1Char('_') || (i_ > begin && s_[i_].isDigit())))
            ++i_;
        if (i_ == begin)
            return std::nullopt;
        return s_.mid(begin, i_ - begin);
    }
    bool keyword(const char* word)
    {
        const qsizetype save = i_;
        const std::optional<QString> n = name();
        if (n && n->compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
        i_ = save;
        return false;
    }
    // 'text' with '' standing for one apostrophe.
    std::optional<QString> literal()
    {
        skipBlanks();
        if (i_ >= s_.size() || s_[i_] != QLatin1Char('\''))
            return std::nullopt;
        QString value;
        for (qsizetype j = i_ + 1; j < s_.size(); ++j) {
            if (s_[j] != QLatin1Char('\'')) {
                value.append(s_[j]);
            } else if (j + 1 < s_.size() && s_[j + 1] == QLatin1Char('\'')) {
                value.append(QLatin1Char('\''));
                ++j;
            } else {
                i_ = j + 1;
                return value;
            }
        }
        return std::nullopt;
    }

private:
    const QString& s_;
    qsizetype i_ = 0;
};

bool isKeyword(const QString& n)
{
    for (const char* k : {"select", "from", "where"})
        if (n.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

}  // namespace

std::optional<SelectStatement> parseSelect(const QString& sql, QString* error)
{
    Scanner in(sql);
    SelectStatement st;
    bool ok = in.keyword("select");
    if (ok && !in.symbol(QLatin1Char('*'))) {
        do {
            const std::optional<QString> column = in.name();
            ok = column && !isKeyword(*column);
            if (ok)
                st.columns.append(*column);
        } while (ok && in.symbol(QLatin1Char(',')));
    }
    ok = ok && in.keyword("from");
    if (ok) {
        const std::optional<QString> table = in.name();
        ok = table && !isKeyword(*table);
        if (ok)
            st.table = *table;
    }
    if (ok && in.keyword("where")) {
        const std::optional<QString> column = in.name();
        ok = column && !isKeyword(*column) && in.symbol(QLatin1Char('='));
        const std::optional<QString> value = ok ? in.literal() : std::nullopt;
        ok = ok && value.has_value();
        if (ok) {
            st.whereColumn = *column;
            st.whereValue = *value;
        }
    }
    if (ok)
        in.symbol(QLatin1Char(';'));
    if (!ok || !in.atEnd()) {
        *error = QStringLiteral("unsupported statement for a Jet database: %1").arg(sql);
        return std::nullopt;
    }
    return st;
}

std::unique_ptr<JetQuery> JetQuery::prepare(JetFile& file, const QString& sql, QString* error)
{
    const std::optional<SelectStatement> st = parseSelect(sql, error);
    if (!st)
        return nullptr;
    std::unique_ptr<JetQuery> query(new JetQuery);
    query->columns_ = st->columns;
    if (query->columns_.isEmpty()) {
        const std::unique_ptr<JetTable> table = file.openTable(st->table, {}, error);
        if (!table)
            return nullptr;
        query->columns_ = table->textColumns();
    }

    // Columns read: the selected ones, then the filter column unless it is selected too.
    QStringList read = query->columns_;
    if (!st->whereColumn.isEmpty()) {
        for (int i = 0; i < read.size() && query->filter_ < 0; ++i)
            if (read[i].compare(st->whereColumn, Qt::CaseInsensitive) == 0)
                query->filter_ = i;
        if (query->filter_ < 0) {
            query->filter_ = int(read.size());
            read.append(st->whereColumn);
        }
        query->filterValue_ = st->whereValue;
    }
    query->table_ = file.openTable(st->table, read, error);
    if (!query->table_)
        return nullptr;
    return query;
}

JetQuery::~JetQuery() = default;

bool JetQuery::step(QString* error)
{
    row_.clear();
    QString value;
    while (table_->next(error)) {
        if (filter_ >= 0) {
            if (!table_->text(filter_, &value, error))
                return false;
            if (value.compare(filterValue_, Qt::CaseInsensitive) != 0)
                continue;
        }
        for (int i = 0; i < columns_.size(); ++i) {
            if (!table_->text(i, &value, error)) {
                row_.clear();
                return false;
            }
            row_.append(value);
        }
        return true;
    }
    return false;
}

}  // namespace tervolin::platform::data::jet
