#pragma once
// Generated knowledge bases for the benchmarks: a lanping table of any number of rows shaped like the bundled
// table's, with the index on daima that the bundled file has.

#include <QString>

namespace tervolin::bench {

/// The code of generated row `row`: "0x00100000" upwards.
QString generatedCode(int row);

/// Writes `path` (a new SQLite file) with `rows` generated rows.
void writeGeneratedTable(const QString& path, int rows);

}  // namespace tervolin::bench
