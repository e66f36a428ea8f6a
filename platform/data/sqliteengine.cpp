#include "platform/data/sqliteengine.h"

#include <QStringList>
#include <QUrl>

#include <sqlite3.h>

#include "platform/data/dataerror.h"

namespace tervolin::platform::data {
namespace {

// SQLite's tokenizer ends every token at a NUL character, so a string literal that holds one would end early
// and the statement would fail. Each such literal is rewritten into the concatenation of its pieces with
// char(0) between them ('a\0b' becomes ('a'||char(0)||'b')), which is exactly the same text. Quoted names,
// bracketed names and comments are copied untouched; a NUL anywhere else stays and the statement is refused.
QString spellOutNulsInLiterals(const QString& sql)
{
    if (!sql.contains(QChar(u'\0')))
        return sql;
    QString out;
    out.reserve(sql.size() + 16);
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype from, QStringView closing) {
        const qsizetype end = sql.indexOf(closing, from);
        const qsizetype stop = end < 0 ? n : end + closing.size();
        out += QStringView(sql).mid(i, stop - i);
        i = stop;
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'') {
            // Find the literal's end; a doubled apostrophe is one apostrophe inside it.
            qsizetype j = i + 1;
            bool hasNul = false;
            while (j < n) {
                if (sql[j] == u'\'') {
                    if (j + 1 < n && sql[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                hasNul = hasNul || sql[j] == QChar(u'\0');
                ++j;
            }
            const qsizetype stop = j < n ? j + 1 : n;
            if (!hasNul || j >= n) {
                out += QStringView(sql).mid(i, stop - i);
            } else {
                const QStringList pieces = sql.mid(i + 1, j - i - 1).split(QChar(u'\0'));
                out += u'(';
                for (qsizetype k = 0; k < pieces.size(); ++k) {
                    if (k > 0)
                        out += QStringLiteral("||char(0)||");
                    out += u'\'' + pieces[k] + u'\'';
                }
                out += u')';
            }
            i = stop;
        } else if (c == u'"') {
            copyUntil(i + 1, u"\"");
        } else if (c == u'[') {
            copyUntil(i + 1, u"]");
        } else if (c == u'`') {
            copyUntil(i + 1, u"`");
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            copyUntil(i + 2, u"\n");
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            copyUntil(i + 2, u"*/");
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

class SqliteConnection final : public EngineConnection, public std::enable_shared_from_this<SqliteConnection>
{
public:
    SqliteConnection(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}
    ~SqliteConnection() override { sqlite3_close_v2(db_); }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::unique_ptr<Cursor> execute(const QString& sql) override;
    QString filePath() const override { return path_; }

    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail() const { throw DataError(QString::fromUtf8(sqlite3_errmsg(db_)), path_); }

private:
    sqlite3* db_;
    QString path_;
};

class SqliteCursor final : public Cursor
{
public:
    SqliteCursor(std::shared_ptr<SqliteConnection> connection, sqlite3_stmt* statement)
        : connection_(std::move(connection)), statement_(statement)
    {
    }
    ~SqliteCursor() override { sqlite3_finalize(statement_); }
    SqliteCursor(const SqliteCursor&) = delete;
    SqliteCursor& operator=(const SqliteCursor&) = delete;

    bool step() override
    {
        if (done_)
            return false;
        const int rc = sqlite3_step(statement_);
        if (rc == SQLITE_ROW)
            return true;
        done_ = true;
        if (rc == SQLITE_DONE)
            return false;
        connection_->fail();
    }

    int columnIndex(const QString& name) const override
    {
        const int count = sqlite3_column_count(statement_);
        for (int i = 0; i < count; ++i) {
            if (QString::fromUtf8(sqlite3_column_name(statement_, i)).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    QVariant value(int column) const override
    {
        switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return QVariant::fromValue<qint64>(sqlite3_column_int64(statement_, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement_, column);
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
            return QByteArray(bytes, sqlite3_column_bytes(statement_, column));
        }
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
            return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
        }
        }
    }

private:
    std::shared_ptr<SqliteConnection> connection_;
    sqlite3_stmt* statement_;
    bool done_ = false;
};

std::unique_ptr<Cursor> SqliteConnection::execute(const QString& sql)
{
    const QByteArray utf8 = spellOutNulsInLiterals(sql).toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &statement, &tail) != SQLITE_OK)
        fail();
    if (statement == nullptr)
        throw DataError(QStringLiteral("the query is empty"), path_);
    // One statement per call: text after it (a second statement, or anything past an embedded NUL) is refused.
    const auto consumed = static_cast<qsizetype>(tail - utf8.constData());
    if (!QByteArray(utf8.mid(consumed)).trimmed().isEmpty()) {
        sqlite3_finalize(statement);
        throw DataError(QStringLiteral("the query holds more than one statement"), path_);
    }
    // The file is opened read-only; this refuses writing statements before they reach it.
    if (sqlite3_stmt_readonly(statement) == 0) {
        sqlite3_finalize(statement);
        throw DataError(QStringLiteral("the query would change the database, which is opened read-only"), path_);
    }
    return std::make_unique<SqliteCursor>(shared_from_this(), statement);
}

}  // namespace

std::shared_ptr<EngineConnection> openSqliteFile(const QString& path)
{
    // immutable=1: SQLite takes no locks and never looks for or writes a journal, so the file stays byte-identical.
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw DataError(message, path);
    }
    auto connection = std::make_shared<SqliteConnection>(db, path);
    // Reading the schema now reports a damaged or truncated file at open rather than at the first query.
    auto cursor = connection->execute(QStringLiteral("SELECT name FROM sqlite_master"));
    while (cursor->step()) {
    }
    return connection;
}

}  // namespace tervolin::platform::data
