// The code-to-query path: for any code, KnowledgeBase::lookupQuery(code) must be one statement whose string literal holds
// exactly the code. Checked twice against a table lanping(daima,fenxi,jiejue) that holds the code and a few
// near misses (the code cut at its first NUL, with an apostrophe or a letter appended):
//  - the query text as built, prepared directly with SQLite (codes without NUL: SQLite ends tokens at NUL,
//    which the engine handles by rewriting the literal);
//  - the query run through the data layer's SQLite engine on a database file, as the window runs it.
// Each must find exactly the one row. Texts are compared in their UTF-8 form, the form SQLite stores; the
// first input byte chooses whether the rest is read as UTF-8 or as raw UTF-16 (lone surrogates included).
#include "app/knowledgebase.h"
#include "platform/data/dataerror.h"
#include "platform/data/engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace tervolin::platform::data;

namespace {

[[noreturn]] void failWith(const char* what, const QString& code, const QString& query)
{
    std::fprintf(stderr, "%s\ncode (UTF-8, %lld bytes): %s\nquery: %s\n", what, static_cast<long long>(code.toUtf8().size()),
                 code.toUtf8().toHex(' ').constData(), query.toUtf8().toHex(' ').constData());
    std::abort();
}

void check(bool ok, sqlite3* db, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", what, db ? sqlite3_errmsg(db) : "");
        std::abort();
    }
}

// Creates lanping and fills it with the code and its near misses, each once (by UTF-8 bytes).
void fillTable(sqlite3* db, const QByteArray& code)
{
    check(sqlite3_exec(db, "DROP TABLE IF EXISTS lanping; CREATE TABLE lanping(daima TEXT, fenxi TEXT, jiejue TEXT)", nullptr,
                       nullptr, nullptr) == SQLITE_OK,
          db, "create table");
    std::vector<QByteArray> rows{code};
    const qsizetype nul = code.indexOf('\0');
    for (const QByteArray& near : {nul >= 0 ? code.left(nul) : QByteArray("\x01"), code + "'", code + "a", QByteArray("'")}) {
        bool seen = false;
        for (const QByteArray& r : rows)
            seen = seen || r == near;
        if (!seen)
            rows.push_back(near);
    }
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO lanping VALUES (?, ?, 'j')", -1, &insert, nullptr) == SQLITE_OK, db, "prepare insert");
    for (size_t i = 0; i < rows.size(); ++i) {
        sqlite3_bind_text(insert, 1, rows[i].constData(), static_cast<int>(rows[i].size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, i == 0 ? "hit" : "miss", -1, SQLITE_STATIC);
        check(sqlite3_step(insert) == SQLITE_DONE, db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
}

sqlite3* memoryDb()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        check(sqlite3_open(":memory:", &d) == SQLITE_OK, d, "open :memory:");
        return d;
    }();
    return db;
}

const QString& scratchPath()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tervolin-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("lookup.db"));
    return path;
}

void checkDirect(const QString& code, const QString& query)
{
    sqlite3* db = memoryDb();
    fillTable(db, code.toUtf8());
    const QByteArray sql = query.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &statement, &tail) != SQLITE_OK || statement == nullptr)
        failWith("the query does not prepare", code, query);
    if (tail != sql.constData() + sql.size()) {
        sqlite3_finalize(statement);
        failWith("text follows the query's one statement", code, query);
    }
    int rows = 0;
    bool hit = false;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ++rows;
        hit = std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "hit") == 0;
    }
    sqlite3_finalize(statement);
    if (rows != 1 || !hit)
        failWith("the query's literal does not select exactly the code's row", code, query);
}

void checkThroughEngine(const QString& code, const QString& query)
{
    const QString& path = scratchPath();
    QFile::remove(path);
    sqlite3* db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK, db, "create database file");
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    fillTable(db, code.toUtf8());
    sqlite3_close(db);

    int rows = 0;
    bool hit = false;
    try {
        auto connection = openDatabaseFile(path);
        auto cursor = connection->execute(query);
        const int fenxi = cursor->columnIndex(QStringLiteral("fenxi"));
        while (cursor->step()) {
            ++rows;
            hit = cursor->value(fenxi).toString() == QLatin1String("hit");
        }
    } catch (const DataError& e) {
        failWith(qPrintable(QStringLiteral("the engine refused the query: ") + e.message()), code, query);
    }
    if (rows != 1 || !hit)
        failWith("the engine's query does not select exactly the code's row", code, query);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    QString code;
    const auto* rest = reinterpret_cast<const char*>(data + 1);
    const size_t restSize = size - 1;
    if ((data[0] & 1) == 0) {
        code = QString::fromUtf8(rest, static_cast<qsizetype>(restSize));
    } else {
        code.resize(static_cast<qsizetype>(restSize / 2));
        std::memcpy(code.data(), rest, restSize / 2 * sizeof(char16_t));
    }
    const QString query = tervolin::app::KnowledgeBase::lookupQuery(code);
    if (!code.contains(QChar(u'\0')))
        checkDirect(code, query);
    checkThroughEngine(code, query);
    return 0;
}
