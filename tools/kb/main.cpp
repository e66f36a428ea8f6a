// tervolin-kb: the knowledge base on the command line.

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

#include "tools/kb/kbtool.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString defaultDb = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("db1.mdb"));
    const int status = tervolin::tools::runKb(QCoreApplication::arguments().mid(1), defaultDb, out, err);
    out.flush();
    err.flush();
    return status;
}
