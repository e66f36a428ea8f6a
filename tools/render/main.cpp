// tervolin-render: draws one of the program's controls with given properties, size and state to a PNG.

#include "platform/colour.h"
#include "platform/font.h"
#include "tools/render/buttongallery.h"
#include "tools/render/buttonrender.h"
#include "tools/render/progressbar_command.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <variant>

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

    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (!args.isEmpty() && args.first() == QLatin1String("progressbar"))
        return tervolin::tools::runProgressBarCommand(args.mid(1));
    if (!args.isEmpty() && args.first() == QLatin1String("progressbar-gallery"))
        return tervolin::tools::runProgressBarGallery(args.mid(1));
    if (!args.isEmpty() && args.first() == QLatin1String("button-gallery"))
        return tervolin::tools::runButtonGallery(args.mid(1));
    if (args.isEmpty() || args.first() != QLatin1String("button")) {
        err << tervolin::tools::buttonUsage() << tervolin::tools::progressBarUsage();
        return 2;
    }
    args.removeFirst();
    const auto parsed = tervolin::tools::parseButtonArguments(args);
    if (const QString* e = std::get_if<QString>(&parsed)) {
        err << "tervolin-render: " << *e << "\n" << tervolin::tools::buttonUsage();
        return 2;
    }
    const auto& options = std::get<tervolin::tools::ButtonRenderOptions>(parsed);
    const auto rendered = tervolin::tools::renderButton(options);
    if (const QString* e = std::get_if<QString>(&rendered)) {
        err << "tervolin-render: " << *e << "\n";
        return 1;
    }
    if (!std::get<QImage>(rendered).save(options.out, "PNG")) {
        err << "tervolin-render: cannot write \"" << options.out << "\"\n";
        return 1;
    }
    return 0;
}
