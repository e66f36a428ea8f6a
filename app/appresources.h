#pragma once
// The program's embedded resources: the program icon and the windows' form descriptions.

#include <QIcon>
#include <QPixmap>

namespace tervolin::app {

/// Makes the embedded resources readable (they live in a static library, so they are registered by hand).
void initAppResources();

/// The program icon: one 48 × 48 image.
QPixmap programIconPixmap();
QIcon programIcon();

}  // namespace tervolin::app
