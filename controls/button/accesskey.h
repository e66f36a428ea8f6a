#pragma once
// The keyboard access key a caption marks with "&".

#include <QChar>
#include <QKeySequence>
#include <QString>

namespace tervolin::controls {

/// The character after the first single "&" of the caption, in lower case; a null QChar when there is none.
/// Only the first two "&" groups count: a caption that opens with "&&" takes the character after the next
/// "&" (unless that "&" is doubled too), and a marker at the very end marks nothing.
QChar accessKeyOf(const QString& caption);

/// The key sequence that presses the access key, Alt with the key ("Alt+S"); empty for a null key.
QKeySequence accessKeySequence(QChar key);

}  // namespace tervolin::controls
