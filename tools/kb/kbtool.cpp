#include "tools/kb/kbtool.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

#include "app/codecompleter.h"
#include "app/knowledgebase.h"
#include "platform/data/dataerror.h"
#include "tools/kb/dumpcommand.h"
#include "tools/mkdb/knowledgebase.h"

namespace tervolin::tools {
namespace {

using app::KnowledgeBase;
using platform::data::DataError;

struct UsageError {
    QString message;
};

void checkPath(const QString& path)
{
    // A connection string ends its Data Source at the first ';'.
    if (path.contains(QLatin1Char(';')))
        throw UsageError{QStringLiteral("a database path must not contain ';': %1").arg(path)};
}

// NULL stays a null QString, so that a conversion keeps it.
std::vector<KnowledgeRow> readRows(const QString& path)
{
    std::vector<KnowledgeRow> rows;
    for (app::StoredCode& row : KnowledgeBase::openFile(path)->rows())
        rows.push_back({std::move(row.daima), std::move(row.fenxi), std::move(row.jiejue)});
    return rows;
}

QString tsvField(const QString& text)
{
    if (text.isNull())
        return QStringLiteral("\\N");
    return escapeKnowledgeText(text);
}

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString jsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

// What the parameters of a code given in hexadecimal or by its symbolic name (through the code stored with the
// same texts) mean, and their documented values; nothing for any other text.
struct Parameters
{
    std::vector<app::ParameterMeaning> meanings;
    std::vector<app::ParameterValue> values;
};

Parameters parametersOf(KnowledgeBase& knowledge, const QString& typed)
{
    std::optional<std::uint32_t> code = KnowledgeBase::parseCode(typed);
    if (!code)
        code = knowledge.codeOfName(typed);
    if (!code)
        return {};
    return {knowledge.parameterMeanings(*code), knowledge.parameterValues(*code)};
}

// [{"xuhao": 1, "hanyi": "…", "zhi": [{"zhi": "0x3", "hanyi": "…"}, …]}, …]; "zhi" only for a parameter with
// documented values.
QString parametersJson(const Parameters& parameters)
{
    QStringList items;
    for (const app::ParameterMeaning& m : parameters.meanings) {
        QString item = QStringLiteral("{\"xuhao\": %1, \"hanyi\": %2").arg(m.xuhao).arg(jsonString(m.hanyi));
        QStringList values;
        for (const app::ParameterValue& v : parameters.values)
            if (v.xuhao == m.xuhao)
                values.append(QStringLiteral("{\"zhi\": %1, \"hanyi\": %2}").arg(jsonString(v.zhi), jsonString(v.hanyi)));
        if (!values.isEmpty())
            item += QStringLiteral(", \"zhi\": [") + values.join(QStringLiteral(", ")) + QLatin1Char(']');
        items.append(item + QLatin1Char('}'));
    }
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// What a lookup found: the key it was found under (the text as typed, or the stored code the text was resolved
// to) and the answer.
struct Lookup
{
    QString key;
    bool resolved = false;
    app::CodeAnswer answer;
};

// The text as typed first, as the window's search compares it. Unless `exact`, a miss is resolved to the one stored
// code the text names in another form (CodeCompleter::named); a code with the 0x10000000 bit that is not stored
// is looked up as the knowledge base looks such codes up (lookupCode: without that bit).
Lookup lookupForgiving(KnowledgeBase& knowledge, const QString& typed, bool exact)
{
    Lookup result{typed, false, knowledge.lookup(typed)};
    if (result.answer.found || exact)
        return result;
    if (const std::optional<QString> stored = app::CodeCompleter(knowledge.codes()).named(typed))
        return {*stored, true, knowledge.lookup(*stored)};
    const app::CompletionQuery query = app::CodeCompleter::parse(typed);
    bool ok = false;
    const std::uint64_t value = query.hexDigits ? QString::fromStdString(*query.hexDigits).toULongLong(&ok, 16) : 0;
    if (ok && value <= 0xFFFFFFFFu && (value & 0x10000000u)) {
        if (app::CodeMatch match = knowledge.lookupCode(static_cast<std::uint32_t>(value)); match.answer.found)
            return {match.key, true, std::move(match.answer)};
    }
    return result;
}

QString plainText(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// Import rows: one line per row, daima <TAB> fenxi <TAB> jiejue, escapes as export writes them.
std::vector<KnowledgeRow> readTsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KnowledgeError(QStringLiteral("%1: %2").arg(path, file.errorString()));
    std::vector<KnowledgeRow> rows;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() && i == lines.size() - 1)
            break;
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (fields.size() != 3)
            throw KnowledgeError(QStringLiteral("%1:%2: %3 fields where 3 (daima, fenxi, jiejue) are expected")
                                     .arg(path)
                                     .arg(i + 1)
                                     .arg(fields.size()));
        KnowledgeRow row;
        QString* targets[] = {&row.daima, &row.fenxi, &row.jiejue};
        for (int f = 0; f < 3; ++f) {
            try {
                *targets[f] = fields[f] == QStringLiteral("\\N") ? QString() : unescapeKnowledgeText(fields[f]);
            } catch (const KnowledgeError& e) {
                throw KnowledgeError(QStringLiteral("%1:%2: %3").arg(path).arg(i + 1).arg(QString::fromStdString(e.what())));
            }
        }
        rows.push_back(row);
    }
    return rows;
}

void checkOutput(const QString& in, const QString& out, bool force)
{
    const QFileInfo target(out);
    if (!in.isEmpty() && target.exists() && target.canonicalFilePath() == QFileInfo(in).canonicalFilePath())
        throw UsageError{QStringLiteral("the output %1 is the input itself").arg(out)};
    if (target.exists() && !force)
        throw UsageError{QStringLiteral("%1 exists; use --force to replace it").arg(out)};
}

int run(const QStringList& arguments, const QString& defaultDb, QTextStream& out, QTextStream& err)
{
    QString db = defaultDb;
    bool json = false;
    bool force = false;
    bool exact = false;
    QString format = QStringLiteral("tsv");
    QString text;
    QStringList words;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const auto value = [&]() {
            if (i + 1 >= arguments.size())
                throw UsageError{QStringLiteral("%1 needs a value").arg(a)};
            return arguments[++i];
        };
        if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            out << kbUsage();
            return KbOk;
        }
        if (a == QStringLiteral("--db"))
            db = value();
        else if (a == QStringLiteral("--json"))
            json = true;
        else if (a == QStringLiteral("--force"))
            force = true;
        else if (a == QStringLiteral("--exact"))
            exact = true;
        else if (a == QStringLiteral("--format"))
            format = value();
        else if (a == QStringLiteral("--text"))
            text = value();
        else if (a.startsWith(QStringLiteral("--")))
            throw UsageError{QStringLiteral("unknown option %1").arg(a)};
        else
            words.append(a);
    }
    if (words.isEmpty())
        throw UsageError{QStringLiteral("no command given")};
    const QString command = words.takeFirst();
    const auto expect = [&](qsizetype n) {
        if (words.size() != n)
            throw UsageError{QStringLiteral("%1 takes %2 argument(s)").arg(command).arg(n)};
    };
    checkPath(db);

    if (command == QStringLiteral("count")) {
        expect(0);
        out << KnowledgeBase::openFile(db)->count() << '\n';
        return KbOk;
    }
    if (command == QStringLiteral("list")) {
        expect(0);
        const platform::TextList codes = KnowledgeBase::openFile(db)->codes();
        for (qsizetype i = 0; i < codes.size(); ++i)
            out << codes.at(i) << '\n';
        return KbOk;
    }
    if (command == QStringLiteral("lookup")) {
        expect(1);
        const std::unique_ptr<KnowledgeBase> knowledge = KnowledgeBase::openFile(db);
        const Lookup found = lookupForgiving(*knowledge, words[0], exact);
        const app::CodeAnswer& r = found.answer;
        const Parameters parameters = parametersOf(*knowledge, found.key);
        if (found.resolved && !json)
            err << "code: " << found.key << '\n';
        if (json) {
            out << "{\"found\": " << (r.found ? "true" : "false");
            if (found.resolved)
                out << ", \"resolved\": " << jsonString(found.key);
            if (r.found)
                out << ", \"fenxi\": " << jsonString(r.fenxi) << ", \"jiejue\": " << jsonString(r.jiejue);
            out << ", \"canshu\": " << parametersJson(parameters) << "}\n";
        } else if (r.found) {
            out << "fenxi:\n" << plainText(r.fenxi) << "\n\njiejue:\n" << plainText(r.jiejue) << '\n';
            if (!parameters.meanings.empty()) {
                out << "\ncanshu:\n";
                for (const app::ParameterMeaning& m : parameters.meanings) {
                    out << m.xuhao << ": " << plainText(m.hanyi) << '\n';
                    for (const app::ParameterValue& v : parameters.values)
                        if (v.xuhao == m.xuhao)
                            out << "    " << plainText(v.zhi) << ": " << plainText(v.hanyi) << '\n';
                }
            }
        }
        return r.found ? KbOk : KbNotFound;
    }
    if (command == QStringLiteral("dump")) {
        if (words.isEmpty() && text.isEmpty())
            throw UsageError{QStringLiteral("dump needs a PATH or --text FILE")};
        QFile standardInput;
        if (text == QStringLiteral("-"))
            standardInput.open(stdin, QIODevice::ReadOnly);
        return runDumpCommand({words, text, json}, *KnowledgeBase::openFile(db), out, standardInput);
    }
    if (command == QStringLiteral("export")) {
        expect(0);
        if (format != QStringLiteral("tsv") && format != QStringLiteral("csv"))
            throw UsageError{QStringLiteral("unknown format %1 (tsv or csv)").arg(format)};
        const std::vector<KnowledgeRow> rows = readRows(db);
        if (format == QStringLiteral("csv")) {
            out << "daima,fenxi,jiejue\r\n";
            for (const KnowledgeRow& r : rows)
                out << csvField(r.daima) << ',' << csvField(r.fenxi) << ',' << csvField(r.jiejue) << "\r\n";
        } else {
            for (const KnowledgeRow& r : rows)
                out << tsvField(r.daima) << '\t' << tsvField(r.fenxi) << '\t' << tsvField(r.jiejue) << '\n';
        }
        return KbOk;
    }
    if (command == QStringLiteral("import") || command == QStringLiteral("convert")) {
        expect(2);
        const QString& in = words[0];
        const QString& target = words[1];
        if (command == QStringLiteral("convert"))
            checkPath(in);
        checkOutput(in, target, force);
        const std::vector<KnowledgeRow> rows = command == QStringLiteral("import") ? readTsv(in) : readRows(in);
        writeKnowledgeDatabase(rows, target);
        out << rows.size() << " rows written to " << target << '\n';
        return KbOk;
    }
    throw UsageError{QStringLiteral("unknown command %1").arg(command)};
}

}  // namespace

QString kbUsage()
{
    return QStringLiteral(
        "Usage: tervolin-kb [--db FILE] COMMAND\n"
        "Reads a Tervolin knowledge base (SQLite, or a Jet/Access .mdb read-only); FILE defaults to db1.mdb\n"
        "beside this program.\n"
        "\n"
        "Commands:\n"
        "  count                          number of rows of table lanping\n"
        "  list                           every code (daima), one per line, in table order\n"
        "  lookup [--json] [--exact] CODE the analysis and solution of CODE, as the window finds them\n"
        "                                 (case-blind, first matching row); exit status 0 found, 1 not found.\n"
        "                                 CODE not found as typed that names one stop code in another form (7b,\n"
        "                                 0x7B, STOP: 0x0000007E (...), BCCode: 7e, a crash-report line) looks\n"
        "                                 that code up and says which (\"code: KEY\" on standard error, or\n"
        "                                 \"resolved\": \"KEY\" in JSON); parts of names never resolve. --exact\n"
        "                                 compares the text only as typed, as the window's search does.\n"
        "                                 --json prints {\"found\": true, \"fenxi\": \"...\", \"jiejue\": \"...\",\n"
        "                                 \"canshu\": [{\"xuhao\": 1, \"hanyi\": \"...\"}, ...]}; canshu lists what the\n"
        "                                 code's parameters mean (table canshu) for a CODE written 0x... or by name,\n"
        "                                 each with \"zhi\": [{\"zhi\": \"0x3\", \"hanyi\": \"...\"}, ...] when values of\n"
        "                                 it are documented (table canshuzhi)\n"
        "  dump [--json] [--text FILE|-] PATH...\n"
        "                                 read Windows crash dumps (files, folders read recursively, .zip, .7z\n"
        "                                 and .cab archives) and print, newest crash first, each stop code with\n"
        "                                 its parameters, name, analysis and solution, the crash time and the\n"
        "                                 driver that probably caused it. --text reads crash reports copied as\n"
        "                                 text (event log, Kernel-Power event, BCCode, debugger output, the blue\n"
        "                                 screen) from FILE or standard input (-). --json prints a JSON array,\n"
        "                                 one object per dump or report. Exit status 0 all read and found, 1 some\n"
        "                                 code not in the knowledge base, 3 some file unreadable\n"
        "  export [--format tsv|csv]      all rows, columns daima, fenxi, jiejue, to standard output\n"
        "  import TSVFILE OUT.mdb [--force]\n"
        "                                 write a new SQLite knowledge base from a TSV file as export writes it\n"
        "  convert IN.mdb OUT.mdb [--force]\n"
        "                                 write a new SQLite knowledge base with the rows of IN (any readable\n"
        "                                 knowledge base, Jet included), in the same order\n"
        "  --help                         this text\n"
        "\n"
        "TSV: one row per line, fields separated by a tab, no header. In a field \\N alone is NULL, \\t a tab,\n"
        "\\\\ a backslash and \\n a line break (stored as CR LF, the line break the window shows; a lone CR or LF\n"
        "is written as \\n too). From a Jet file, a zero-length Text value reads as NULL.\n"
        "CSV: a header line, then RFC 4180 fields (quoted when they hold a comma, quote or line break), CR LF\n"
        "line ends; NULL is an empty field.\n"
        "import and convert refuse to replace an existing OUT unless --force is given; OUT is written only\n"
        "when everything has been read.\n"
        "\n"
        "Exit status: 0 success, 1 not found (lookup, dump), 2 usage error, 3 database or file error.\n");
}

int runKb(const QStringList& arguments, const QString& defaultDb, QTextStream& out, QTextStream& err)
{
    try {
        return run(arguments, defaultDb, out, err);
    } catch (const UsageError& e) {
        err << "tervolin-kb: " << e.message << "\n(see tervolin-kb --help)\n";
        return KbUsage;
    } catch (const DataError& e) {
        err << "tervolin-kb: " << e.filePath() << ": " << e.message() << '\n';
        return KbFailed;
    } catch (const KnowledgeError& e) {
        err << "tervolin-kb: " << QString::fromStdString(e.what()) << '\n';
        return KbFailed;
    }
}

}  // namespace tervolin::tools
