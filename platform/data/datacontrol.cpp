#include "platform/data/datacontrol.h"

#include "platform/data/connection.h"

namespace tervolin::platform::data {

void DataControl::setConnectionString(const QString& connectionString)
{
    if (connectionString == connectionString_)
        return;
    connectionString_ = connectionString;
    recordset_.Close();
    engine_.reset();
}

void DataControl::Refresh()
{
    recordset_.Close();
    if (!engine_) {
        Connection connection;
        connection.Open(connectionString_);
        engine_ = connection.engine();
    }
    const QString source = commandType_ == CommandType::Table ? QStringLiteral("SELECT * FROM ") + recordSource_ : recordSource_;
    recordset_.Open(source, engine_);
}

}  // namespace tervolin::platform::data
