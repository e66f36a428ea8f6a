#include "tools/mkdb/knowledgebase.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

#include <sqlite3.h>

namespace tervolin::tools {
namespace {

QString where(const QString& file, int line) { return QStringLiteral("%1:%2").arg(QFileInfo(file).fileName()).arg(line); }

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

namespace {

enum class Section { Header, Fenxi, Jiejue, Canshu, Canshuzhi };

// A text section's lines: trailing blanks dropped, blank lines at either end dropped, joined with CR LF.
QString joinSection(QStringList lines)
{
    for (QString& line : lines) {
        qsizetype end = line.size();
        while (end > 0 && line.at(end - 1).isSpace())
            --end;
        line.truncate(end);
    }
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(QStringLiteral("\r\n"));
}

// "0x0003" → "0x3"; empty when the text is not a hexadecimal number of at most 64 bits.
QString normalisedValue(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^0[xX]([0-9A-Fa-f]{1,16})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return {};
    bool ok = false;
    const qulonglong value = match.captured(1).toULongLong(&ok, 16);
    return ok ? QStringLiteral("0x") + QString::number(value, 16).toUpper() : QString();
}

}  // namespace

KnowledgeEntry parseKnowledgeFile(const QString& fileName, const QByteArray& content)
{
    static const QRegularExpression codePattern(QStringLiteral("^0x[0-9A-F]{8}$"));
    static const QRegularExpression namePattern(QStringLiteral("^[A-Z0-9_]+$"));
    static const QRegularExpression sectionPattern(QStringLiteral("^\\[(fenxi|jiejue|canshu|canshuzhi ([1-4]))\\]$"));
    static const QRegularExpression meaningPattern(QStringLiteral("^([1-4]):\\s*(\\S.*)$"));
    static const QRegularExpression valuePattern(QStringLiteral("^(\\S+):\\s*(\\S.*)$"));

    KnowledgeEntry entry;
    entry.file = fileName;
    entry.line = 1;
    const auto fail = [&](int line, const QString& message) { throw KnowledgeError(QStringLiteral("%1: %2").arg(where(fileName, line), message)); };

    QString text;
    {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = decoder.decode(content);
        if (decoder.hasError())
            fail(1, QStringLiteral("the file is not valid UTF-8"));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    Section section = Section::Header;
    int valuesOf = 0;
    QStringList fenxi, jiejue;
    bool haveFenxi = false, haveJiejue = false, haveCanshu = false;
    std::vector<int> valueSections;
    std::vector<int> valueLines;  // the line of each value, for the check that its parameter has a meaning
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i + 1);
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.contains(QLatin1Char('\t')) || line.contains(QLatin1Char('\r')))
            fail(lineNumber, QStringLiteral("tabs and lone carriage returns are not allowed"));
        if (line.startsWith(QLatin1Char('['))) {
            const QRegularExpressionMatch match = sectionPattern.match(line);
            if (!match.hasMatch())
                fail(lineNumber, QStringLiteral("unknown section %1").arg(line));
            const QString name = match.captured(1);
            bool* seen = nullptr;
            if (name == QStringLiteral("fenxi")) {
                section = Section::Fenxi;
                seen = &haveFenxi;
            } else if (name == QStringLiteral("jiejue")) {
                section = Section::Jiejue;
                seen = &haveJiejue;
            } else if (name == QStringLiteral("canshu")) {
                section = Section::Canshu;
                seen = &haveCanshu;
            } else {
                section = Section::Canshuzhi;
                valuesOf = match.captured(2).toInt();
                if (std::find(valueSections.begin(), valueSections.end(), valuesOf) != valueSections.end())
                    fail(lineNumber, QStringLiteral("section %1 occurs twice").arg(line));
                valueSections.push_back(valuesOf);
            }
            if (seen) {
                if (*seen)
                    fail(lineNumber, QStringLiteral("section %1 occurs twice").arg(line));
                *seen = true;
            }
            continue;
        }
        switch (section) {
        case Section::Header: {
            if (line.trimmed().isEmpty())
                break;
            if (line.startsWith(QStringLiteral("code:")) && entry.code.isEmpty()) {
                entry.code = line.mid(5).trimmed();
                if (!codePattern.match(entry.code).hasMatch())
                    fail(lineNumber, QStringLiteral("the code \"%1\" is not of the form 0x0000007B").arg(entry.code));
                entry.line = lineNumber;
            } else if (line.startsWith(QStringLiteral("name:")) && entry.name.isEmpty()) {
                entry.name = line.mid(5).trimmed();
                if (!namePattern.match(entry.name).hasMatch())
                    fail(lineNumber, QStringLiteral("the name \"%1\" is not a symbolic name").arg(entry.name));
            } else {
                fail(lineNumber, QStringLiteral("expected \"code:\" or \"name:\" (each once) before the first section"));
            }
            break;
        }
        case Section::Fenxi: fenxi.append(line); break;
        case Section::Jiejue: jiejue.append(line); break;
        case Section::Canshu: {
            if (line.trimmed().isEmpty())
                break;
            const QRegularExpressionMatch match = meaningPattern.match(line);
            if (!match.hasMatch())
                fail(lineNumber, QStringLiteral("expected \"N: meaning\" with N from 1 to 4"));
            const int number = match.captured(1).toInt();
            if (!entry.parameters.empty() && entry.parameters.back().number >= number)
                fail(lineNumber, QStringLiteral("parameter %1 is out of order or given twice").arg(number));
            entry.parameters.push_back({number, match.captured(2).trimmed()});
            break;
        }
        case Section::Canshuzhi: {
            if (line.trimmed().isEmpty())
                break;
            const QRegularExpressionMatch match = valuePattern.match(line);
            const QString value = match.hasMatch() ? normalisedValue(match.captured(1)) : QString();
            if (value.isEmpty())
                fail(lineNumber, QStringLiteral("expected \"0xVALUE: meaning\" with a hexadecimal value"));
            for (const ParameterValue& known : entry.values) {
                if (known.number == valuesOf && known.value == value)
                    fail(lineNumber, QStringLiteral("value %1 of parameter %2 is given twice").arg(value).arg(valuesOf));
            }
            entry.values.push_back({valuesOf, value, match.captured(2).trimmed()});
            valueLines.push_back(lineNumber);
            break;
        }
        }
    }
    if (entry.code.isEmpty() || entry.name.isEmpty())
        fail(1, QStringLiteral("\"code:\" and \"name:\" are required"));
    if (QFileInfo(fileName).fileName() != entry.code + QStringLiteral(".txt"))
        fail(entry.line, QStringLiteral("the file of code %1 must be named %1.txt").arg(entry.code));
    if (!haveFenxi || !haveJiejue)
        fail(static_cast<int>(lines.size()), QStringLiteral("sections [fenxi] and [jiejue] are required"));
    entry.fenxi = joinSection(fenxi);
    entry.jiejue = joinSection(jiejue);
    if (entry.fenxi.isEmpty() || entry.jiejue.isEmpty())
        fail(static_cast<int>(lines.size()), QStringLiteral("[fenxi] and [jiejue] must not be empty"));
    for (std::size_t v = 0; v < entry.values.size(); ++v) {
        const int number = entry.values[v].number;
        const bool described = std::any_of(entry.parameters.begin(), entry.parameters.end(), [&](const ParameterMeaning& p) { return p.number == number; });
        if (!described)
            fail(valueLines[v], QStringLiteral("parameter %1 has values but no line in [canshu]").arg(number));
    }
    entry.value = entry.code.mid(2).toUInt(nullptr, 16);
    return entry;
}

std::vector<KnowledgeEntry> sortedKnowledge(std::vector<KnowledgeEntry> entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const KnowledgeEntry& a, const KnowledgeEntry& b) { return a.value < b.value; });
    QHash<QString, const KnowledgeEntry*> seen;
    for (const KnowledgeEntry& entry : entries) {
        for (const QString& daima : {entry.code, entry.name}) {
            // daima compares without regard to case in the table, so keys that differ only in case collide.
            const QString key = daima.toUpper();
            if (const auto it = seen.constFind(key); it != seen.constEnd()) {
                throw KnowledgeError(QStringLiteral("%1: duplicate daima \"%2\" (already at %3)")
                                         .arg(where(entry.file, entry.line), daima, where((*it)->file, (*it)->line)));
            }
            seen.insert(key, &entry);
        }
    }
    return entries;
}

std::vector<KnowledgeRow> knowledgeRows(const std::vector<KnowledgeEntry>& entries)
{
    std::vector<KnowledgeRow> rows;
    rows.reserve(entries.size() * 2);
    for (const KnowledgeEntry& entry : entries) {
        rows.push_back({entry.code, entry.fenxi, entry.jiejue});
        rows.push_back({entry.name, entry.fenxi, entry.jiejue});
    }
    return rows;
}

std::vector<KnowledgeEntry> readKnowledgeFiles(const QStringList& paths)
{
    std::vector<KnowledgeEntry> all;
    all.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw KnowledgeError(QStringLiteral("%1: %2").arg(path, file.errorString()));
        all.push_back(parseKnowledgeFile(path, file.readAll()));
    }
    return sortedKnowledge(std::move(all));
}

namespace {

class Statement
{
public:
    Statement(Database& db, const char* sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db.handle(), sql, -1, &statement_, nullptr) != SQLITE_OK)
            db.fail(QString::fromUtf8(sql));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // A null text is bound as NULL, so that converting a knowledge base keeps its NULLs.
    void bind(int index, const QString& text)
    {
        if (text.isNull()) {
            sqlite3_bind_null(statement_, index);
            return;
        }
        const QByteArray value = text.toUtf8();
        sqlite3_bind_text(statement_, index, value.constData(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    }
    void bind(int index, int value) { sqlite3_bind_int(statement_, index, value); }
    void run()
    {
        if (sqlite3_step(statement_) != SQLITE_DONE)
            db_.fail(QStringLiteral("INSERT"));
        sqlite3_reset(statement_);
    }

private:
    Database& db_;
    sqlite3_stmt* statement_ = nullptr;
};

void writeDatabase(const std::vector<KnowledgeRow>& rows, const std::vector<KnowledgeEntry>* entries, const QString& outputPath)
{
    const QString temporary = outputPath + QStringLiteral(".part");
    QFile::remove(temporary);
    {
        Database db(temporary);
        db.exec("PRAGMA journal_mode=OFF");
        db.exec("CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT)");
        db.exec("BEGIN");
        {
            Statement insert(db, "INSERT INTO lanping(daima,fenxi,jiejue) VALUES(?,?,?)");
            for (const KnowledgeRow& row : rows) {
                insert.bind(1, row.daima);
                insert.bind(2, row.fenxi);
                insert.bind(3, row.jiejue);
                insert.run();
            }
        }
        // A partial index: equality lookups use it, but a full "SELECT daima FROM lanping" cannot, so the code
        // list keeps the table's own row order (a plain index would make the engine return it sorted).
        db.exec("CREATE INDEX lanping_daima ON lanping(daima) WHERE daima IS NOT NULL");
        if (entries) {
            db.exec("CREATE TABLE canshu(daima TEXT COLLATE NOCASE, xuhao INTEGER, hanyi TEXT)");
            db.exec("CREATE TABLE canshuzhi(daima TEXT COLLATE NOCASE, xuhao INTEGER, zhi TEXT COLLATE NOCASE, hanyi TEXT)");
            Statement meaning(db, "INSERT INTO canshu(daima,xuhao,hanyi) VALUES(?,?,?)");
            Statement value(db, "INSERT INTO canshuzhi(daima,xuhao,zhi,hanyi) VALUES(?,?,?,?)");
            for (const KnowledgeEntry& entry : *entries) {
                for (const ParameterMeaning& p : entry.parameters) {
                    meaning.bind(1, entry.code);
                    meaning.bind(2, p.number);
                    meaning.bind(3, p.meaning);
                    meaning.run();
                }
                for (const ParameterValue& v : entry.values) {
                    value.bind(1, entry.code);
                    value.bind(2, v.number);
                    value.bind(3, v.value);
                    value.bind(4, v.meaning);
                    value.run();
                }
            }
            db.exec("CREATE INDEX canshu_daima ON canshu(daima)");
            db.exec("CREATE INDEX canshuzhi_daima ON canshuzhi(daima, xuhao)");
        }
        db.exec("COMMIT");
    }
    QFile::remove(outputPath);
    if (!QFile::rename(temporary, outputPath))
        throw KnowledgeError(QStringLiteral("%1: cannot be written").arg(outputPath));
}

}  // namespace

void writeKnowledgeDatabase(const std::vector<KnowledgeRow>& rows, const QString& outputPath) { writeDatabase(rows, nullptr, outputPath); }

void writeKnowledgeDatabase(const std::vector<KnowledgeEntry>& entries, const QString& outputPath)
{
    writeDatabase(knowledgeRows(entries), &entries, outputPath);
}

}  // namespace tervolin::tools
