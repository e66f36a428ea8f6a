#pragma once
// Building SQL texts from values.

#include <QString>

namespace tervolin::platform::data {

/// The text to put between the apostrophes of an SQL string literal: every apostrophe doubled,
/// so the literal holds exactly the given text and cannot end early.
inline QString sqlLiteralBody(const QString& text)
{
    QString body = text;
    body.replace(QLatin1Char('\''), QStringLiteral("''"));
    return body;
}

}  // namespace tervolin::platform::data
