#include "tests/support/testsupport.h"

#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace tervolin::test {

QString sourceFile(const QString& relative) { return QStringLiteral(TERVOLIN_SOURCE_DIR "/") + relative; }

QString jetFixture(const char* name) { return sourceFile(QStringLiteral("tests/fixtures/jet/") + QLatin1String(name)); }

QString scratchDir()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path();
}

}  // namespace tervolin::test
