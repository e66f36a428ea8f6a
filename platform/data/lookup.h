#pragma once
// The lookup of one stop code, shared by the main window and the command-line tool so that both ask the
// knowledge base the same question in the same way.

#include <QString>

namespace tervolin::platform::data {

class DataControl;

/// "select fenxi,jiejue from lanping where daima='…'" with the code inside the literal, every apostrophe doubled.
QString lookupQuery(const QString& code);

struct LookupResult {
    bool found = false;
    QString fenxi;   // NULL reads as empty text
    QString jiejue;
};

/// Sets the data control's record source to lookupQuery(code), refreshes it and reads the first row.
/// Found unless the recordset is at BOF or EOF. Throws DataError.
LookupResult lookupCode(DataControl& control, const QString& code);

}  // namespace tervolin::platform::data
