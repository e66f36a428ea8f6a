#pragma once
// A connection to a data file named by a connection string's "Data Source". Opened read-only.

#include <QString>

#include <memory>

#include "platform/data/engine.h"

namespace tervolin::platform::data {

/// Where a connection keeps its cursors; kept as a setting only, every cursor here is client-side and forward-only.
enum class CursorLocation { Server = 2, Client = 3 };

class Connection
{
public:
    /// Opens the file that the connection string's "Data Source" names; user, password and options are
    /// accepted as texts and ignored (the files carry no accounts). Throws DataError.
    void Open(const QString& connectionString, const QString& userId = {}, const QString& password = {}, int options = -1);
    void Close();
    bool isOpen() const { return engine_ != nullptr; }

    const QString& ConnectionString() const { return connectionString_; }
    CursorLocation cursorLocation() const { return cursorLocation_; }
    void setCursorLocation(CursorLocation location) { cursorLocation_ = location; }

    /// The open engine connection; throws DataError when the connection is closed.
    std::shared_ptr<EngineConnection> engine() const;

private:
    QString connectionString_;
    CursorLocation cursorLocation_ = CursorLocation::Server;
    std::shared_ptr<EngineConnection> engine_;
};

}  // namespace tervolin::platform::data
