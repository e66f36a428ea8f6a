#include "bench/benchtables.h"

#include <QFile>

#include <sqlite3.h>

namespace tervolin::bench {

QString generatedCode(int row) { return QStringLiteral("0x%1").arg(0x00100000 + row, 8, 16, QLatin1Char('0')).toUpper(); }

void writeGeneratedTable(const QString& path, int rows)
{
    QFile::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                     "CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT); BEGIN",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO lanping VALUES(?, '这个错误表示驱动程序访问了无效的内存地址。', '更新或卸载最近安装的驱动程序。')",
                       -1, &insert, nullptr);
    for (int i = 0; i < rows; ++i) {
        const QByteArray code = generatedCode(i).toUtf8();
        sqlite3_bind_text(insert, 1, code.constData(), static_cast<int>(code.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT; CREATE INDEX daima_index ON lanping(daima) WHERE daima IS NOT NULL", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace tervolin::bench
