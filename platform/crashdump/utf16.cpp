#include "platform/crashdump/utf16.h"

#include <algorithm>

namespace tervolin::platform::crashdump {

namespace {

bool isControl(char16_t unit)
{
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

}  // namespace

QString decodeUtf16Name(QByteArrayView bytes, qsizetype maxUnits, bool* replaced)
{
    const qsizetype units = std::min(bytes.size() / 2, std::max<qsizetype>(maxUnits, 0));
    const auto unitAt = [&](qsizetype i) {
        return char16_t(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8));
    };
    QString text;
    text.reserve(units);
    bool bad = false;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (unit == 0)
            break;
        if (QChar::isHighSurrogate(unit) && i + 1 < units && QChar::isLowSurrogate(unitAt(i + 1))) {
            text.append(QChar(unit));
            text.append(QChar(unitAt(++i)));
        } else if (QChar::isSurrogate(unit) || isControl(unit)) {
            text.append(QChar::ReplacementCharacter);
            bad = true;
        } else {
            text.append(QChar(unit));
        }
    }
    if (replaced)
        *replaced = bad;
    return text;
}

QString baseName(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

}  // namespace tervolin::platform::crashdump
