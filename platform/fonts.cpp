#include "platform/fonts.h"

#include <QFont>
#include <QString>

namespace tervolin::platform {

void installFontSubstitutions()
{
    const QString song = QStringLiteral("AR PL UMing CN");
    const QString kai = QStringLiteral("AR PL UKai CN");
    for (const QString& name : {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("新宋体"), QStringLiteral("NSimSun")})
        QFont::insertSubstitution(name, song);
    for (const QString& name : {QStringLiteral("楷体_GB2312"), QStringLiteral("楷体"), QStringLiteral("KaiTi"), QStringLiteral("KaiTi_GB2312")})
        QFont::insertSubstitution(name, kai);
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
}

}  // namespace tervolin::platform
