// Feeds arbitrary texts to the connection-string parser. Whatever it returns must be a part of the input:
// a value never holds text the connection string did not contain.
#include "platform/data/connectionstring.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tervolin::platform::data;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Ask for the usual keys and for a key taken from the input itself (up to its first '=').
    QString ownKey = text.section(QLatin1Char('='), 0, 0).section(QLatin1Char(';'), -1).trimmed();
    const QString keys[] = {QStringLiteral("Data Source"), QStringLiteral("Provider"), QStringLiteral("Persist Security Info"),
                            ownKey, QString()};
    for (const QString& key : keys) {
        const QString value = connectionStringValue(text, key);
        if (!value.isNull() && !text.contains(value)) {
            std::fprintf(stderr, "value '%s' for key '%s' is not in the input\n", qPrintable(value), qPrintable(key));
            std::abort();
        }
    }
    const QString source = dataSourceOf(text);
    if (source != connectionStringValue(text, QStringLiteral("data source"))) {
        std::fprintf(stderr, "key matching depends on case\n");
        std::abort();
    }
    return 0;
}
