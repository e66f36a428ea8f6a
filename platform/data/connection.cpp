#include "platform/data/connection.h"

#include "platform/data/connectionstring.h"
#include "platform/data/dataerror.h"

namespace tervolin::platform::data {

void Connection::Open(const QString& connectionString, const QString& /*userId*/, const QString& /*password*/, int /*options*/)
{
    const QString path = dataSourceOf(connectionString);
    if (path.isEmpty())
        throw DataError(QStringLiteral("the connection string names no Data Source"), QString());
    engine_ = openDatabaseFile(path);
    connectionString_ = connectionString;
}

void Connection::Close() { engine_.reset(); }

std::shared_ptr<EngineConnection> Connection::engine() const
{
    if (!engine_)
        throw DataError(QStringLiteral("the connection is not open"), QString());
    return engine_;
}

}  // namespace tervolin::platform::data
