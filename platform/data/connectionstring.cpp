#include "platform/data/connectionstring.h"

#include <QStringList>

namespace tervolin::platform::data {

QString connectionStringValue(const QString& connectionString, const QString& key)
{
    const QStringList parts = connectionString.split(QLatin1Char(';'));
    for (const QString& part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (part.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1).trimmed();
    }
    return {};
}

}  // namespace tervolin::platform::data
