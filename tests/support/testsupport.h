#pragma once
// Helpers shared by the test executables.

#include <QString>

namespace tervolin::test {

/// A file of the project's source tree, by its path from the top ("data/bugcheck_codes.csv").
QString sourceFile(const QString& relative);

/// One of the Jet test databases in tests/fixtures/jet.
QString jetFixture(const char* name);

/// A fresh private temporary directory for one test, removed at process exit.
QString scratchDir();

}  // namespace tervolin::test

