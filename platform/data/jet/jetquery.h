#pragma once
// The statements a Jet database answers: a select of named columns (or *) from one table, optionally filtered by
// one column equal to one quoted literal. Anything else is refused rather than half-understood.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace tervolin::platform::data::jet {

class JetFile;

/// SELECT (* | column {, column}) FROM table [WHERE column = 'literal'] [;] — keywords and names case-blind,
/// '' inside the literal stands for one apostrophe.
struct SelectStatement {
    QStringList columns;  // empty for *
    QString table;
    QString whereColumn;  // empty when there is no WHERE
    QString whereValue;
};

/// Parses `sql`; nullopt with `error` set for any other statement.
std::optional<SelectStatement> parseSelect(const QString& sql, QString* error);

class JetTable;

/// One running select: a forward scan that stops at each matching row, in file order. Text equality is
/// case-blind, as in Jet; the first matching row comes first.
class JetQuery {
public:
    /// Parses `sql` and opens its table on `file`; * stands for every Text or Memo column of the table, in the
    /// table's order (the engine reads no other kind). Null with `error` set on an unsupported statement or a
    /// missing table or column.
    static std::unique_ptr<JetQuery> prepare(JetFile& file, const QString& sql, QString* error);
    ~JetQuery();

    const QStringList& columns() const { return columns_; }
    /// Moves to the next matching row; false at the end, or on a damaged file with `error` set.
    bool step(QString* error);
    /// The selected values of the current row; NULL is a null QString (see JetTable::text).
    const QStringList& row() const { return row_; }

private:
    JetQuery() = default;
    std::unique_ptr<JetTable> table_;
    QStringList columns_;
    QStringList row_;
    int filter_ = -1;
    QString filterValue_;
};

}  // namespace tervolin::platform::data::jet
