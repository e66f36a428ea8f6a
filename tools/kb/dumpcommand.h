#pragma once
// tervolin-kb dump: reads crash dumps (files, folders, archives) and crash reports copied as text, and prints for
// each what it holds and what the knowledge base says about its stop code, as readable Chinese or as JSON.

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tervolin::app {
class KnowledgeBase;
}

namespace tervolin::tools {

struct DumpCommand
{
    QStringList paths;  // dump files, folders (read recursively) and archives
    QString textFile;   // crash reports as text: a file, "-" for standard input, empty for none
    bool json = false;
};

/// Runs the command; `standardInput` is read for `--text -`. Returns 0 when every file was read and every stop
/// code found, 1 when some code is not in the knowledge base, 3 when some file (or text) could not be read.
/// A failure of the knowledge base itself throws platform::data::DataError.
int runDumpCommand(const DumpCommand& command, app::KnowledgeBase& knowledge, QTextStream& out, QIODevice& standardInput);

/// Decodes a crash-report text as Windows and people save it: UTF-16 or UTF-8 by its byte-order mark, else UTF-8,
/// else (not valid UTF-8) GB18030, the code page of Chinese Windows.
QString decodeReportText(const QByteArray& bytes);

}  // namespace tervolin::tools
