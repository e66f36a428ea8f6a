// Opens arbitrary bytes as a data file through the engine selection (SQLite or Jet by the first bytes) and
// runs the statements the tool runs on it. Refusals (DataError) are expected; crashes are not, and the
// file must be left exactly as written.
#include "platform/data/dataerror.h"
#include "platform/data/engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tervolin::platform::data;

namespace {

const QString& scratchPath()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tervolin-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("data.db"));
    return path;
}

void run(EngineConnection& connection, const QString& sql)
{
    try {
        auto cursor = connection.execute(sql);
        const int columns[] = {cursor->columnIndex(QStringLiteral("daima")), cursor->columnIndex(QStringLiteral("fenxi")),
                               cursor->columnIndex(QStringLiteral("jiejue"))};
        for (int rows = 0; rows < 100000 && cursor->step(); ++rows) {
            for (int column : columns)
                if (column >= 0)
                    (void)cursor->value(column).toString();
        }
    } catch (const DataError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString& path = scratchPath();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    try {
        auto connection = openDatabaseFile(path);
        run(*connection, QStringLiteral("SELECT daima,fenxi,jiejue FROM lanping"));
        run(*connection, QStringLiteral("SELECT daima FROM lanping"));
        run(*connection, QStringLiteral("select * from lanping"));
        run(*connection, QStringLiteral("select fenxi,jiejue from lanping where daima='0x0000000A'"));
        (void)connection->tableNames();
    } catch (const DataError&) {
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes) {
        std::fprintf(stderr, "the data file changed while it was read\n");
        std::abort();
    }
    return 0;
}
