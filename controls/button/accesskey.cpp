#include "controls/button/accesskey.h"

namespace tervolin::controls {

QChar accessKeyOf(const QString& caption)
{
    const qsizetype n = caption.size();
    if (n <= 1)
        return {};
    const qsizetype a = caption.indexOf(QLatin1Char('&'));
    if (a < 0 || a == n - 1)
        return {};
    if (caption.at(a + 1) != QLatin1Char('&'))
        return caption.at(a + 1).toLower();
    // "&&" draws a literal "&"; look at the next marker.
    const qsizetype c = caption.indexOf(QLatin1Char('&'), a + 2);
    if (c < 0 || c == n - 1 || caption.at(c + 1) == QLatin1Char('&'))
        return {};
    return caption.at(c + 1).toLower();
}

QKeySequence accessKeySequence(QChar key)
{
    if (key.isNull())
        return {};
    return QKeySequence(QStringLiteral("Alt+") + key.toUpper());
}

}  // namespace tervolin::controls
