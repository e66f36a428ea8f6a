#include "platform/data/lookup.h"

#include "platform/data/datacontrol.h"
#include "platform/data/sqltext.h"

namespace tervolin::platform::data {

QString lookupQuery(const QString& code)
{
    return QStringLiteral("select fenxi,jiejue from lanping where daima='") + sqlLiteralBody(code) + QStringLiteral("'");
}

LookupResult lookupCode(DataControl& control, const QString& code)
{
    control.setRecordSource(lookupQuery(code));
    control.Refresh();
    const Recordset& recordset = control.recordset();
    LookupResult result;
    if (recordset.isBOF() || recordset.isEOF())
        return result;
    result.found = true;
    result.fenxi = recordset.text(QStringLiteral("fenxi"));
    result.jiejue = recordset.text(QStringLiteral("jiejue"));
    return result;
}

}  // namespace tervolin::platform::data
