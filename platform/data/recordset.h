#pragma once
// A forward-only recordset: the rows of one query, positioned on the first row when opened.

#include <QString>
#include <QVariant>

#include <memory>

#include "platform/data/engine.h"

namespace tervolin::platform::data {

class Connection;

class Recordset
{
public:
    /// Runs a query on an open connection and moves to the first row. Throws DataError.
    void Open(const QString& source, const Connection& activeConnection);
    /// Runs a query on an engine connection directly (used by the data control).
    void Open(const QString& source, const std::shared_ptr<EngineConnection>& engine);
    void Close();
    bool isOpen() const { return cursor_ != nullptr; }

    /// True when the recordset holds no row (it is forward-only: the position never goes before the first row).
    /// Named so because EOF is a macro of the C library.
    bool isBOF() const { return bof_; }
    /// True when there is no current row: the recordset is empty or has moved past its last row.
    bool isEOF() const { return eof_; }

    /// The value of a field of the current row by name (case-blind); a null QVariant for NULL.
    /// Throws DataError at BOF/EOF or for an unknown field.
    QVariant value(const QString& field) const;
    /// The value as text; NULL reads as empty text.
    QString text(const QString& field) const;
    /// Appends the value as text to a list; NULL as empty text. Reads a long column without a string per row.
    void appendText(const QString& field, TextList* list) const;

    /// Moves to the next row; throws DataError when already at the end.
    void MoveNext();

private:
    /// The column of a field, checked to be readable on the current row. Throws DataError.
    int currentColumn(const QString& field) const;

    std::unique_ptr<Cursor> cursor_;
    mutable QString lastField_;
    mutable int lastColumn_ = -1;
    QString filePath_;
    bool bof_ = true;
    bool eof_ = true;
};

}  // namespace tervolin::platform::data
