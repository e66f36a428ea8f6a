#pragma once
// The data control: a connection string, a command type and a record source; Refresh runs the source
// and keeps the resulting recordset until the next Refresh replaces it.

#include <QString>

#include <memory>

#include "platform/data/engine.h"
#include "platform/data/recordset.h"

namespace tervolin::platform::data {

/// How the record source is read: SQL text, or a table name.
enum class CommandType { Text = 1, Table = 2, Unknown = 8 };

class DataControl
{
public:
    const QString& ConnectionString() const { return connectionString_; }
    /// Sets the connection string; the file is opened by the next Refresh.
    void setConnectionString(const QString& connectionString);

    CommandType commandType() const { return commandType_; }
    void setCommandType(CommandType type) { commandType_ = type; }

    const QString& RecordSource() const { return recordSource_; }
    void setRecordSource(const QString& source) { recordSource_ = source; }

    /// Opens the connection when needed, runs the record source and moves to its first row. Throws DataError.
    void Refresh();

    /// The recordset of the last Refresh (closed before the first one).
    Recordset& recordset() { return recordset_; }
    const Recordset& recordset() const { return recordset_; }

private:
    QString connectionString_;
    CommandType commandType_ = CommandType::Unknown;
    QString recordSource_;
    std::shared_ptr<EngineConnection> engine_;
    Recordset recordset_;
};

}  // namespace tervolin::platform::data
