#include "platform/data/engine.h"

#include <QFile>
#include <QFileInfo>

#include "platform/data/dataerror.h"
#include "platform/data/jet/jetengine.h"
#include "platform/data/sqliteengine.h"

namespace tervolin::platform::data {

FileFormat detectFileFormat(const QByteArray& header)
{
    static const QByteArray sqliteMagic("SQLite format 3\0", 16);
    if (header.startsWith(sqliteMagic))
        return FileFormat::SQLite;
    // Jet 3/4 and ACE files: a 4-byte page signature, then the engine's name.
    static const QByteArray jetName("Standard Jet DB\0", 16);
    static const QByteArray aceName("Standard ACE DB\0", 16);
    const QByteArray name = header.mid(4, 16);
    if (header.startsWith(QByteArray("\x00\x01\x00\x00", 4)) && (name == jetName || name == aceName))
        return FileFormat::Jet;
    return FileFormat::Unknown;
}

std::shared_ptr<EngineConnection> openDatabaseFile(const QString& path)
{
    if (path.isEmpty())
        throw DataError(QStringLiteral("no data file is named"), path);
    const QFileInfo info(path);
    if (!info.exists())
        throw DataError(QStringLiteral("the file does not exist"), path);
    if (info.isDir())
        throw DataError(QStringLiteral("the path names a folder, not a file"), path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("the file cannot be read: %1").arg(file.errorString()), path);
    const QByteArray header = file.read(100);
    file.close();

    switch (detectFileFormat(header)) {
    case FileFormat::SQLite:
        return openSqliteFile(path);
    case FileFormat::Jet:
        return openJetFile(path);
    case FileFormat::Unknown:
        break;
    }
    throw DataError(header.isEmpty() ? QStringLiteral("the file is empty, not a database")
                                     : QStringLiteral("the file is not a database of a known format"),
                    path);
}

}  // namespace tervolin::platform::data
