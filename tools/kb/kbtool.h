#pragma once
// tervolin-kb: inspect, export, import and convert a knowledge base from the command line, through the same
// data layer and the same lookup as the window.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tervolin::tools {

/// Exit statuses: 0 success (lookup: found), 1 lookup not found, 2 usage error, 3 data or file error.
enum KbStatus { KbOk = 0, KbNotFound = 1, KbUsage = 2, KbFailed = 3 };

/// Runs one command line (without the program name). `defaultDb` is used when --db is not given.
int runKb(const QStringList& arguments, const QString& defaultDb, QTextStream& out, QTextStream& err);

/// The usage text that --help prints.
QString kbUsage();

}  // namespace tervolin::tools
