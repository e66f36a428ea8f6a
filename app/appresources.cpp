#include "app/appresources.h"

#include <QString>

// Q_INIT_RESOURCE names a function at global scope.
static void registerAppResources() { Q_INIT_RESOURCE(app); }

namespace tervolin::app {

void initAppResources()
{
    static const bool registered = (registerAppResources(), true);
    (void)registered;
}

QPixmap programIconPixmap()
{
    initAppResources();
    return QPixmap(QStringLiteral(":/tervolin/icon-48.png"));
}

QIcon programIcon() { return QIcon(programIconPixmap()); }

}  // namespace tervolin::app
