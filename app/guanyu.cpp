// Interim definition so that the main window links; the About window module replaces this file.
#include "app/guanyu.h"

namespace tervolin::app {

void ShowAboutWindow(QWidget* owner) { (void)owner; }

}  // namespace tervolin::app
