// Tervolin: explains Windows stop codes. Loads the main window on db1.mdb beside the program and runs it; crash
// dumps, folders and archives named on the command line (a file manager passes them so) open in the crash history.
#include <QApplication>

#include "app/firstpaintreport.h"
#include "app/form1.h"
#include "app/form1history.h"
#include "app/startup.h"
#include "platform/colour.h"
#include "platform/font.h"
#include "platform/messagebox.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Lets Wayland compositors and desktop shells match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tervolin.Tervolin"));
    tervolin::platform::installFontSubstitutions();
    tervolin::platform::installStandardDialogTranslations(app);
    tervolin::platform::SystemColours::install(tervolin::platform::SystemColours::fromDesktopPalette());

    tervolin::platform::QtMessageBoxService messageBox;
    const auto form = tervolin::app::loadMainWindow(messageBox);
    if (!form)
        return 1;
    tervolin::app::FirstPaintReport::watch(*form);
    form->showCentred();

    const QStringList paths = tervolin::app::Form1History::pathsFromArguments(QApplication::arguments().mid(1));
    if (!paths.isEmpty())
        form->crashHistory().openPaths(paths);
    return QApplication::exec();
}
