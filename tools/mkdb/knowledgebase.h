#pragma once
// Builds the bundled knowledge base: reads the per-code text source files and writes the SQLite db1.mdb.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace tervolin::tools {

/// A fault in the text source or in writing the database; the message names file and line where there is one.
class KnowledgeError : public std::runtime_error
{
public:
    explicit KnowledgeError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// The meaning of one bug-check parameter (1 to 4) of a code.
struct ParameterMeaning
{
    int number = 0;
    QString meaning;
};

/// A documented value of one parameter; `value` is hexadecimal without leading zeros, upper case ("0x3").
struct ParameterValue
{
    int number = 0;
    QString value;
    QString meaning;
};

/// One source file: a stop code, its symbolic name, the two texts (line breaks CR LF) and its parameters.
struct KnowledgeEntry
{
    QString code;
    QString name;
    QString fenxi;
    QString jiejue;
    std::vector<ParameterMeaning> parameters;
    std::vector<ParameterValue> values;
    std::uint32_t value = 0;  // the numeric value of the code
    QString file;
    int line = 0;
};

/// One table row as stored; a null QString is written as NULL.
struct KnowledgeRow
{
    QString daima;
    QString fenxi;
    QString jiejue;
};

/// Resolves the escapes of one text field: \\n a line break (CR LF), \\t a tab, \\\\ a backslash.
/// Throws KnowledgeError for any other backslash sequence.
QString unescapeKnowledgeText(const QString& text);
/// The inverse of unescapeKnowledgeText; a lone CR or LF is written as a line break too.
QString escapeKnowledgeText(const QString& text);

/// Parses one code's source file (format in data/README.md). The file's name must be the code with ".txt".
/// Throws KnowledgeError naming file and line.
KnowledgeEntry parseKnowledgeFile(const QString& fileName, const QByteArray& content);

/// Entries ordered by the numeric value of their codes. Throws KnowledgeError for a code or name that occurs twice
/// (compared without regard to case, as the table compares them), naming both files.
std::vector<KnowledgeEntry> sortedKnowledge(std::vector<KnowledgeEntry> entries);

/// The lanping rows of sorted entries: two per entry (code, then name) with the same texts.
std::vector<KnowledgeRow> knowledgeRows(const std::vector<KnowledgeEntry>& entries);

/// Reads and sorts the source files. Throws KnowledgeError.
std::vector<KnowledgeEntry> readKnowledgeFiles(const QStringList& paths);

/// Writes a fresh SQLite database with table lanping and its daima index; replaces the output only on success.
void writeKnowledgeDatabase(const std::vector<KnowledgeRow>& rows, const QString& outputPath);
/// The same with the parameter tables canshu and canshuzhi of the entries.
void writeKnowledgeDatabase(const std::vector<KnowledgeEntry>& entries, const QString& outputPath);

}  // namespace tervolin::tools
