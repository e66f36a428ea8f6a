#pragma once
// The crash history written out for other programs: CSV that spreadsheet programs open with its Chinese intact,
// and one self-contained HTML page that any browser shows. Both hold the table's columns and the four parameters.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

#include "app/crashhistorymodel.h"

namespace tervolin::app::crashexport {

/// The exported columns' headings: the table's, then 参数 1 to 参数 4.
QStringList headings();
/// The exported fields of one row, in the order of headings().
QStringList fields(const HistoryEntry& entry);

/// UTF-8 with a byte-order mark, CR LF line ends, RFC 4180 quoting; a field that a spreadsheet would take for a
/// formula (=, +, -, @ first) gets an apostrophe in front.
QByteArray csv(const std::vector<HistoryEntry>& entries);
/// A complete HTML page (also well-formed XML) with the history as a table, titled with `created`.
QByteArray html(const std::vector<HistoryEntry>& entries, const QDateTime& created);

/// Writes `bytes` to `path` in one piece (an existing file is replaced only when all is written); the error text
/// in Chinese, or empty on success.
QString save(const QString& path, const QByteArray& bytes);

}  // namespace tervolin::app::crashexport
