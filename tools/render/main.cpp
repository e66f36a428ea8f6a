// tervolin-render: draws one of the program's controls with given properties, size and state to a PNG.

#include "platform/colour.h"
#include "platform/font.h"
#include "tools/render/buttongallery.h"
#include "tools/render/buttonrender.h"
#include "tools/render/progressbar_command.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <utility>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;  // keeps Qt from warning about a missing runtime directory
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid()) {
        QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    }
    QApplication app(argc, argv);
    tervolin::platform::SystemColours::install(tervolin::platform::SystemColours::pinnedTable());
    tervolin::platform::installFontSubstitutions();

    using Command = int (*)(const QStringList&);
    const std::pair<const char*, Command> commands[] = {
        {"button", &tervolin::tools::runButtonCommand},
        {"button-gallery", &tervolin::tools::runButtonGallery},
        {"progressbar", &tervolin::tools::runProgressBarCommand},
        {"progressbar-gallery", &tervolin::tools::runProgressBarGallery},
    };
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (const auto& [name, run] : commands)
        if (!args.isEmpty() && args.first() == QLatin1String(name))
            return run(args.mid(1));
    return tervolin::tools::usageError(QString(), tervolin::tools::buttonUsage() + tervolin::tools::progressBarUsage());
}
