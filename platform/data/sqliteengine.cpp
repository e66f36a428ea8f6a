#include "platform/data/sqliteengine.h"

#include <QStringList>
#include <QUrl>

#include <sqlite3.h>

#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "platform/data/dataerror.h"
#include "platform/data/sqltext.h"

namespace tervolin::platform::data {
namespace {

bool isNameCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.unicode() >= 0x80; }

// One string literal of a query: its text as written (apostrophes included), its value, and whether it is a
// blob literal (x'…').
struct Literal
{
    QStringView written;
    QString value;
    bool blob = false;
};

// Walks a query as SQLite's tokenizer would for string literals: quoted names ("…", […], `…`) and comments are
// copied untouched, every complete string literal is handed to `replace`, which appends what stands for it to
// the output (false gives up: the result is empty). `plain` tells whether the text has no unterminated literal
// and no NUL outside a literal; such parts are copied as they are.
template <typename Replace>
std::optional<QString> rewriteLiterals(const QString& sql, Replace replace, bool* plain)
{
    QString out;
    out.reserve(sql.size() + 16);
    *plain = true;
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
            Literal literal;
            literal.blob = i > 0 && (sql[i - 1] == u'x' || sql[i - 1] == u'X') && (i < 2 || !isNameCharacter(sql[i - 2]));
            // A doubled apostrophe is one apostrophe inside the literal.
            qsizetype j = i + 1;
            qsizetype quote = -1;
            while ((quote = sql.indexOf(u'\'', j)) >= 0) {
                literal.value += QStringView(sql).mid(j, quote - j);
                if (quote + 1 < n && sql[quote + 1] == u'\'') {
                    literal.value += u'\'';
                    j = quote + 2;
                    continue;
                }
                break;
            }
            if (quote < 0) {
                *plain = false;
                out += QStringView(sql).mid(i);
                break;
            }
            literal.written = QStringView(sql).mid(i, quote + 1 - i);
            if (!replace(literal, &out))
                return std::nullopt;
            i = quote + 1;
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
            // Copy up to the next character that may open a literal, a quoted name or a comment.
            *plain = *plain && c != QChar(u'\0');
            qsizetype j = i + 1;
            while (j < n) {
                const char16_t d = sql[j].unicode();
                if (d == u'\'' || d == u'"' || d == u'[' || d == u'`' || d == u'-' || d == u'/' || d == u'\0')
                    break;
                ++j;
            }
            out += QStringView(sql).mid(i, j - i);
            i = j;
        }
    }
    return out;
}

// SQLite's tokenizer ends every token at a NUL character, so a string literal that holds one would end early
// and the statement would fail. Each such literal is rewritten into the concatenation of its pieces with
// char(0) between them ('a\0b' becomes ('a'||char(0)||'b')), which is exactly the same text. A NUL anywhere
// else stays and the statement is refused.
QString spellOutNulsInLiterals(const QString& sql)
{
    if (!sql.contains(QChar(u'\0')))
        return sql;
    bool plain = true;
    return *rewriteLiterals(
        sql,
        [](const Literal& literal, QString* out) {
            if (!literal.value.contains(QChar(u'\0'))) {
                *out += literal.written;
                return true;
            }
            const QStringList pieces = literal.value.split(QChar(u'\0'));
            *out += u'(';
            for (qsizetype k = 0; k < pieces.size(); ++k) {
                if (k > 0)
                    *out += QStringLiteral("||char(0)||");
                *out += u'\'' + sqlLiteralBody(pieces[k]) + u'\'';
            }
            *out += u')';
            return true;
        },
        &plain);
}

// A query with its string literals taken out: "select … where daima='0x7B'" becomes "select … where daima=?1"
// with "0x7B" bound as the first parameter. Queries that differ only in their literals share one prepared
// statement, and preparing costs many times more than running an indexed lookup. A literal holding a NUL is
// bound as it is; blob literals stay as written. Returns false for a text that is better prepared as written:
// a NUL outside a literal, an unterminated literal, too many literals.
struct ParameterisedSql
{
    QByteArray text;
    std::vector<QByteArray> literals;
};

bool parameterise(const QString& sql, ParameterisedSql* out)
{
    constexpr std::size_t MaxLiterals = 999;  // SQLite's smallest documented parameter limit
    out->literals.clear();
    bool plain = true;
    const std::optional<QString> text = rewriteLiterals(
        sql,
        [out](const Literal& literal, QString* rewritten) {
            if (literal.blob) {
                *rewritten += literal.written;
                return true;
            }
            if (out->literals.size() == MaxLiterals)
                return false;
            out->literals.push_back(literal.value.toUtf8());
            *rewritten += u'?' + QString::number(out->literals.size());
            return true;
        },
        &plain);
    if (!text || !plain)
        return false;
    out->text = text->toUtf8();
    return true;
}

class SqliteConnection final : public EngineConnection, public std::enable_shared_from_this<SqliteConnection>
{
public:
    SqliteConnection(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}
    ~SqliteConnection() override
    {
        for (const auto& [text, statements] : idle_)
            for (sqlite3_stmt* statement : statements)
                sqlite3_finalize(statement);
        sqlite3_close_v2(db_);
    }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::unique_ptr<Cursor> execute(const QString& sql) override;
    QStringList tableNames() override
    {
        QStringList names;
        const std::unique_ptr<Cursor> cursor = execute(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view')"));
        while (cursor->step())
            names.append(cursor->text(0));
        return names;
    }
    QString filePath() const override { return path_; }

    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail() const { throw DataError(QString::fromUtf8(sqlite3_errmsg(db_)), path_); }

    /// Takes back a statement whose cursor is done, for the next query of the same shape.
    void release(const QByteArray& text, sqlite3_stmt* statement);

private:
    /// Prepares one statement; false (with nothing prepared) when SQLite refuses the text.
    bool prepare(const QByteArray& utf8, sqlite3_stmt** statement, QByteArray* tail);
    /// Refuses texts with a second statement and statements that would write.
    void check(sqlite3_stmt* statement, const QByteArray& tail);
    std::unique_ptr<Cursor> executeParameterised(const ParameterisedSql& query);

    // Prepared statements kept for reuse, by parameterised text; a few shapes cover every query the tool runs.
    static constexpr int MaxIdleStatements = 16;
    sqlite3* db_;
    QString path_;
    std::map<QByteArray, std::vector<sqlite3_stmt*>> idle_;
    int idleCount_ = 0;
};

class SqliteCursor final : public Cursor
{
public:
    /// `cacheKey` is the parameterised text the statement is kept under when done, or empty to finalize it.
    SqliteCursor(std::shared_ptr<SqliteConnection> connection, sqlite3_stmt* statement, QByteArray cacheKey = {})
        : connection_(std::move(connection)), statement_(statement), cacheKey_(std::move(cacheKey))
    {
        const int count = sqlite3_column_count(statement_);
        names_.reserve(count);
        for (int i = 0; i < count; ++i)
            names_.append(QString::fromUtf8(sqlite3_column_name(statement_, i)));
    }
    ~SqliteCursor() override
    {
        if (!cacheKey_.isEmpty() && !failed_)
            connection_->release(cacheKey_, statement_);
        else
            sqlite3_finalize(statement_);
    }
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
        failed_ = true;
        connection_->fail();
    }

    int columnIndex(const QString& name) const override
    {
        for (qsizetype i = 0; i < names_.size(); ++i) {
            if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
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

    QString text(int column) const override
    {
        // Text columns straight to a QString: reading a whole list goes through here once per row.
        if (sqlite3_column_type(statement_, column) != SQLITE_TEXT)
            return Cursor::text(column);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
    }

    void appendText(int column, TextList* list) const override
    {
        if (sqlite3_column_type(statement_, column) != SQLITE_TEXT)
            return Cursor::appendText(column, list);
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        list->appendUtf8(text, sqlite3_column_bytes(statement_, column));
    }

private:
    std::shared_ptr<SqliteConnection> connection_;
    sqlite3_stmt* statement_;
    QByteArray cacheKey_;
    QStringList names_;
    bool done_ = false;
    bool failed_ = false;
};

bool SqliteConnection::prepare(const QByteArray& utf8, sqlite3_stmt** statement, QByteArray* tail)
{
    const char* end = nullptr;
    *statement = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), statement, &end) != SQLITE_OK) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
        return false;
    }
    *tail = utf8.mid(static_cast<qsizetype>(end - utf8.constData()));
    return true;
}

void SqliteConnection::check(sqlite3_stmt* statement, const QByteArray& tail)
{
    if (statement == nullptr)
        throw DataError(QStringLiteral("the query is empty"), path_);
    // One statement per call: text after it (a second statement, or anything past an embedded NUL) is refused.
    if (!tail.trimmed().isEmpty()) {
        sqlite3_finalize(statement);
        throw DataError(QStringLiteral("the query holds more than one statement"), path_);
    }
    // The file is opened read-only; this refuses writing statements before they reach it.
    if (sqlite3_stmt_readonly(statement) == 0) {
        sqlite3_finalize(statement);
        throw DataError(QStringLiteral("the query would change the database, which is opened read-only"), path_);
    }
}

void SqliteConnection::release(const QByteArray& text, sqlite3_stmt* statement)
{
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (idleCount_ >= MaxIdleStatements) {
        sqlite3_finalize(statement);
        return;
    }
    idle_[text].push_back(statement);
    ++idleCount_;
}

std::unique_ptr<Cursor> SqliteConnection::executeParameterised(const ParameterisedSql& query)
{
    sqlite3_stmt* statement = nullptr;
    if (auto it = idle_.find(query.text); it != idle_.end() && !it->second.empty()) {
        statement = it->second.back();
        it->second.pop_back();
        --idleCount_;
    } else {
        QByteArray tail;
        // A literal may stand where a parameter may not (a name written in apostrophes, a pragma's argument);
        // such a text is prepared as written instead.
        if (!prepare(query.text, &statement, &tail))
            return nullptr;
        if (statement != nullptr && static_cast<std::size_t>(sqlite3_bind_parameter_count(statement)) != query.literals.size()) {
            sqlite3_finalize(statement);
            return nullptr;
        }
        // A literal among the result columns would name its column "?1" instead of the literal's text.
        for (int i = 0; statement != nullptr && i < sqlite3_column_count(statement); ++i) {
            if (std::strchr(sqlite3_column_name(statement, i), '?') != nullptr) {
                sqlite3_finalize(statement);
                return nullptr;
            }
        }
        check(statement, tail);
    }
    for (std::size_t k = 0; k < query.literals.size(); ++k) {
        const QByteArray& literal = query.literals[k];
        if (sqlite3_bind_text(statement, static_cast<int>(k + 1), literal.constData(), static_cast<int>(literal.size()),
                              SQLITE_TRANSIENT) != SQLITE_OK) {
            sqlite3_finalize(statement);
            fail();
        }
    }
    return std::make_unique<SqliteCursor>(shared_from_this(), statement, query.text);
}

std::unique_ptr<Cursor> SqliteConnection::execute(const QString& sql)
{
    ParameterisedSql query;
    if (parameterise(sql, &query)) {
        if (std::unique_ptr<Cursor> cursor = executeParameterised(query))
            return cursor;
    }
    const QByteArray utf8 = spellOutNulsInLiterals(sql).toUtf8();
    sqlite3_stmt* statement = nullptr;
    QByteArray tail;
    if (!prepare(utf8, &statement, &tail))
        fail();
    check(statement, tail);
    return std::make_unique<SqliteCursor>(shared_from_this(), statement);
}

}  // namespace

std::shared_ptr<EngineConnection> openSqliteFile(const QString& path)
{
    // immutable=1: SQLite takes no locks and never looks for or writes a journal, so the file stays byte-identical.
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
    sqlite3* db = nullptr;
    // NOMUTEX: a connection is only ever used by one thread at a time, so SQLite need not lock around each call.
    const int rc = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
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
