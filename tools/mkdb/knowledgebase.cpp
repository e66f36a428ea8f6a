#include "tools/mkdb/knowledgebase.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

#include <sqlite3.h>

namespace tervolin::tools {
namespace {

QString where(const QString& file, int line) { return QStringLiteral("%1:%2").arg(QFileInfo(file).fileName()).arg(line); }

QString unescape(const QString& text, const QString& file, int line)
{
    try {
        return unescapeKnowledgeText(text);
    } catch (const KnowledgeError& e) {
        throw KnowledgeError(QStringLiteral("%1: %2").arg(where(file, line), QString::fromStdString(e.what())));
    }
}

class Database
{
public:
    explicit Database(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
            fail(path);
    }
    ~Database() { sqlite3_close_v2(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const char* sql)
    {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(QString::fromUtf8(sql));
    }
    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail(const QString& what) const
    {
        throw KnowledgeError(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db_))));
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

QString unescapeKnowledgeText(const QString& text)
{
    QString out = QStringLiteral("");  // never null: an empty field is an empty text, not NULL
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\')) {
            out.append(c);
            continue;
        }
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (next == QLatin1Char('n'))
            out.append(QStringLiteral("\r\n"));
        else if (next == QLatin1Char('t'))
            out.append(QLatin1Char('\t'));
        else if (next == QLatin1Char('\\'))
            out.append(QLatin1Char('\\'));
        else
            throw KnowledgeError(QStringLiteral("unknown escape \\%1").arg(next.isNull() ? QString() : QString(next)));
        ++i;
    }
    return out;
}

QString escapeKnowledgeText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            out.append(QStringLiteral("\\\\"));
        } else if (c == QLatin1Char('\t')) {
            out.append(QStringLiteral("\\t"));
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            // CR LF is one line break; a lone CR or LF becomes one too.
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out.append(QStringLiteral("\\n"));
        } else {
            out.append(c);
        }
    }
    return out;
}

std::vector<KnowledgeEntry> parseKnowledgeText(const QString& fileName, const QByteArray& content)
{
    static const QRegularExpression codePattern(QStringLiteral("^0x[0-9A-Fa-f]{8}$"));
    static const QRegularExpression namePattern(QStringLiteral("^[A-Za-z0-9_]+$"));
    std::vector<KnowledgeEntry> entries;
    const QString text = QString::fromUtf8(content);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i + 1);
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList columns = line.split(QLatin1Char('\t'));
        if (columns.size() != 4)
            throw KnowledgeError(QStringLiteral("%1: expected 4 tab-separated columns, found %2").arg(where(fileName, lineNumber)).arg(columns.size()));
        KnowledgeEntry entry;
        entry.code = columns.at(0);
        entry.name = columns.at(1);
        if (!codePattern.match(entry.code).hasMatch())
            throw KnowledgeError(QStringLiteral("%1: the code \"%2\" is not of the form 0x0000007B").arg(where(fileName, lineNumber), entry.code));
        if (!namePattern.match(entry.name).hasMatch())
            throw KnowledgeError(QStringLiteral("%1: the name \"%2\" is not a symbolic name").arg(where(fileName, lineNumber), entry.name));
        entry.value = entry.code.mid(2).toUInt(nullptr, 16);
        entry.fenxi = unescape(columns.at(2), fileName, lineNumber);
        entry.jiejue = unescape(columns.at(3), fileName, lineNumber);
        entry.file = fileName;
        entry.line = lineNumber;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<KnowledgeRow> knowledgeRows(std::vector<KnowledgeEntry> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const KnowledgeEntry& a, const KnowledgeEntry& b) { return a.value < b.value; });
    QHash<QString, const KnowledgeEntry*> seen;
    std::vector<KnowledgeRow> rows;
    rows.reserve(entries.size() * 2);
    for (const KnowledgeEntry& entry : entries) {
        for (const QString& daima : {entry.code, entry.name}) {
            // daima compares without regard to case in the table, so keys that differ only in case collide.
            const QString key = daima.toUpper();
            if (const auto it = seen.constFind(key); it != seen.constEnd()) {
                throw KnowledgeError(QStringLiteral("%1: duplicate daima \"%2\" (already at %3)")
                                         .arg(where(entry.file, entry.line), daima, where((*it)->file, (*it)->line)));
            }
            seen.insert(key, &entry);
            rows.push_back({daima, entry.fenxi, entry.jiejue});
        }
    }
    return rows;
}

std::vector<KnowledgeRow> readKnowledgeFiles(const QStringList& paths)
{
    std::vector<KnowledgeEntry> all;
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw KnowledgeError(QStringLiteral("%1: %2").arg(path, file.errorString()));
        std::vector<KnowledgeEntry> entries = parseKnowledgeText(path, file.readAll());
        std::move(entries.begin(), entries.end(), std::back_inserter(all));
    }
    return knowledgeRows(std::move(all));
}

void writeKnowledgeDatabase(const std::vector<KnowledgeRow>& rows, const QString& outputPath)
{
    const QString temporary = outputPath + QStringLiteral(".part");
    QFile::remove(temporary);
    {
        Database db(temporary);
        db.exec("PRAGMA journal_mode=OFF");
        db.exec("CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT)");
        db.exec("BEGIN");
        sqlite3_stmt* insert = nullptr;
        if (sqlite3_prepare_v2(db.handle(), "INSERT INTO lanping(daima,fenxi,jiejue) VALUES(?,?,?)", -1, &insert, nullptr) != SQLITE_OK)
            db.fail(QStringLiteral("INSERT"));
        for (const KnowledgeRow& row : rows) {
            const QString* texts[] = {&row.daima, &row.fenxi, &row.jiejue};
            for (int i = 0; i < 3; ++i) {
                // A null text stays NULL, so that converting a knowledge base keeps its NULLs.
                if (texts[i]->isNull()) {
                    sqlite3_bind_null(insert, i + 1);
                    continue;
                }
                const QByteArray value = texts[i]->toUtf8();
                sqlite3_bind_text(insert, i + 1, value.constData(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
            }
            if (sqlite3_step(insert) != SQLITE_DONE) {
                sqlite3_finalize(insert);
                db.fail(QStringLiteral("INSERT"));
            }
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        // A partial index: equality lookups use it, but a full "SELECT daima FROM lanping" cannot, so the code
        // list keeps the table's own row order (a plain index would make the engine return it sorted).
        db.exec("CREATE INDEX lanping_daima ON lanping(daima) WHERE daima IS NOT NULL");
        db.exec("COMMIT");
    }
    QFile::remove(outputPath);
    if (!QFile::rename(temporary, outputPath))
        throw KnowledgeError(QStringLiteral("%1: cannot be written").arg(outputPath));
}

}  // namespace tervolin::tools
