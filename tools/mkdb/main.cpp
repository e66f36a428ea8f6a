// tervolin-mkdb: writes db1.mdb (SQLite) from the knowledge base's text source.
// Usage: tervolin-mkdb OUTPUT CODE.txt...
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include "tools/mkdb/knowledgebase.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fputs("usage: tervolin-mkdb OUTPUT CODE.txt...\n", stderr);
        return 2;
    }
    try {
        const auto entries = tervolin::tools::readKnowledgeFiles(args.mid(1));
        tervolin::tools::writeKnowledgeDatabase(entries, args.at(0));
        std::printf("tervolin-mkdb: %zu codes written to %s\n", entries.size(), qPrintable(args.at(0)));
    } catch (const tervolin::tools::KnowledgeError& error) {
        std::fprintf(stderr, "tervolin-mkdb: %s\n", error.what());
        return 1;
    }
    return 0;
}
