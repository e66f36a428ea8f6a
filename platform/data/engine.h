#pragma once
// The engine interface behind connections and recordsets. One engine per file format; the format is
// recognised by the file's first bytes, so a connection string never has to name the engine.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

#include "platform/core/textlist.h"

namespace tervolin::platform::data {

using platform::TextList;

/// A forward-only result of one query. Engines raise DataError for failures.
class Cursor
{
public:
    virtual ~Cursor() = default;
    /// Moves to the next row (the first one on the first call); false when there is none.
    virtual bool step() = 0;
    /// The index of the column with this name (case-blind), or -1.
    virtual int columnIndex(const QString& name) const = 0;
    /// The value of a column of the current row; a null QVariant for NULL.
    virtual QVariant value(int column) const = 0;
    /// The value as text; a null QString for NULL.
    virtual QString text(int column) const
    {
        const QVariant v = value(column);
        return v.isNull() ? QString() : v.toString();
    }
    /// Appends the value as text to a list (NULL as empty text).
    virtual void appendText(int column, TextList* list) const { list->append(text(column)); }
};

/// An open, read-only database file.
class EngineConnection
{
public:
    virtual ~EngineConnection() = default;
    /// Runs one SQL statement; the cursor keeps the connection alive as long as it lives.
    virtual std::unique_ptr<Cursor> execute(const QString& sql) = 0;
    /// The names of the tables (and views) that queries can read, in the file's own order.
    virtual QStringList tableNames() = 0;
    virtual QString filePath() const = 0;
};

enum class FileFormat { SQLite, Jet, Unknown };

/// The format that a file's first bytes (at least the first 20) name.
FileFormat detectFileFormat(const QByteArray& header);

/// Opens a file read-only with the engine its format calls for. Never creates or writes the file.
/// Throws DataError when the file cannot be read, is of no known format, or its engine fails.
std::shared_ptr<EngineConnection> openDatabaseFile(const QString& path);

}  // namespace tervolin::platform::data
