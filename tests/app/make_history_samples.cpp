// Writes the crash-history samples (tests/app/historysamples.h) into a folder, for looking at the window by hand
// and for the README's screenshot. Usage: make_history_samples DIR
#include <QCoreApplication>

#include <cstdio>

#include "tests/app/historysamples.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const tervolin::test::SampleTree tree = tervolin::test::writeSampleTree(QString::fromLocal8Bit(argv[1]));
    std::printf("%s\n%s\n", qPrintable(tree.windowsFolder), qPrintable(tree.mailFolder));
    return 0;
}
