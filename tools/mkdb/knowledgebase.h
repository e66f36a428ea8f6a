#pragma once
// Builds the bundled knowledge base: reads the tab-separated text source and writes the SQLite db1.mdb.

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

/// One line of the source: a stop code, its symbolic name and the two texts (escapes resolved, line breaks CR LF).
struct KnowledgeEntry
{
    QString code;
    QString name;
    QString fenxi;
    QString jiejue;
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

/// Parses one source file's content. Throws KnowledgeError naming file and line.
std::vector<KnowledgeEntry> parseKnowledgeText(const QString& fileName, const QByteArray& content);

/// The rows of all entries: two per entry (code, then name), ordered by the numeric value of the code.
/// Throws KnowledgeError for a daima that occurs twice (compared without regard to case), naming both places.
std::vector<KnowledgeRow> knowledgeRows(std::vector<KnowledgeEntry> entries);

/// Reads the files and returns their rows. Throws KnowledgeError.
std::vector<KnowledgeRow> readKnowledgeFiles(const QStringList& paths);

/// Writes a fresh SQLite database with table lanping and its daima index; replaces the output only on success.
void writeKnowledgeDatabase(const std::vector<KnowledgeRow>& rows, const QString& outputPath);

}  // namespace tervolin::tools
