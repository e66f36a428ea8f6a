#pragma once
// Real SQLite files for tests: a lanping table with given rows, or any schema.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace tervolin::test {

struct LanpingRow
{
    std::optional<QString> daima;
    std::optional<QString> fenxi;
    std::optional<QString> jiejue;
};

/// Creates `path` with the given CREATE statement(s) and runs the inserts; std::nullopt binds NULL.
void createDatabase(const QString& path, const char* schemaSql, const std::vector<LanpingRow>& rows = {},
                    const char* insertSql = "INSERT INTO lanping(daima,fenxi,jiejue) VALUES(?,?,?)");

/// Creates `path` with table lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT), the partial index on daima that
/// the bundled file has, and the rows.
void createLanping(const QString& path, const std::vector<LanpingRow>& rows);

/// SHA-256 of a file's bytes.
QByteArray fileHash(const QString& path);

}  // namespace tervolin::test
