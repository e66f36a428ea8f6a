#pragma once
// Names stored in dumps are little-endian UTF-16 that nobody checked. Decoding stops at the first NUL; a lone
// surrogate and any control character (which could steer a terminal) become U+FFFD.

#include <QByteArrayView>
#include <QString>

namespace tervolin::platform::crashdump {

/// Decodes at most `maxUnits` UTF-16 code units from `bytes` (an odd last byte is ignored). `replaced`, when
/// given, is set true when anything was replaced by U+FFFD.
QString decodeUtf16Name(QByteArrayView bytes, qsizetype maxUnits, bool* replaced = nullptr);

/// The last path component of a Windows or POSIX path ("\\SystemRoot\\System32\\x.sys" -> "x.sys").
QString baseName(const QString& path);

}  // namespace tervolin::platform::crashdump
