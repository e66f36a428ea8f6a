#include "tests/support/sqlitefiles.h"

#include <QCryptographicHash>
#include <QFile>

#include <stdexcept>

#include <sqlite3.h>

namespace tervolin::test {

void createDatabase(const QString& path, const char* schemaSql, const std::vector<LanpingRow>& rows, const char* insertSql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create test database");
    if (sqlite3_exec(db, schemaSql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    sqlite3_stmt* insert = nullptr;
    if (!rows.empty() && sqlite3_prepare_v2(db, insertSql, -1, &insert, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    for (const LanpingRow& row : rows) {
        const std::optional<QString>* values[] = {&row.daima, &row.fenxi, &row.jiejue};
        for (int i = 0; i < 3; ++i) {
            if (*values[i]) {
                const QByteArray utf8 = (*values[i])->toUtf8();
                sqlite3_bind_text(insert, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(insert, i + 1);
            }
        }
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

void createLanping(const QString& path, const std::vector<LanpingRow>& rows)
{
    createDatabase(path,
                   "CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);"
                   "CREATE INDEX lanping_daima ON lanping(daima) WHERE daima IS NOT NULL;",
                   rows);
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

}  // namespace tervolin::test
