#include "platform/crashdump/utf16.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

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
    QString text(units, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    if (units == 0) {
        if (replaced)
            *replaced = false;
        return text;
    }
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
        std::memcpy(out, bytes.data(), size_t(units) * 2);
    else
        qFromLittleEndian<quint16>(bytes.data(), units, out);
    // One pass: cut at the first NUL, and note whether anything needs replacing.
    qsizetype length = 0;
    bool special = false;
    for (; length < units; ++length) {
        const char16_t unit = out[length];
        if (unit == 0)
            break;
        special |= (unit < 0x20) | (char16_t(unit - 0x7F) <= 0x20) | ((unit & 0xF800) == 0xD800);
    }
    text.truncate(length);
    if (replaced)
        *replaced = false;
    if (!special)
        return text;
    qsizetype n = 0;
    bool bad = false;
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t unit = out[i];
        if (QChar::isHighSurrogate(unit) && i + 1 < length && QChar::isLowSurrogate(out[i + 1])) {
            out[n++] = unit;
            out[n++] = out[++i];
        } else if (QChar::isSurrogate(unit) || isControl(unit)) {
            out[n++] = QChar::ReplacementCharacter;
            bad = true;
        } else {
            out[n++] = unit;
        }
    }
    text.truncate(n);
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
