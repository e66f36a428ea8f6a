#pragma once
// Helpers shared by the test executables.

#include <QString>

namespace tervolin::test {

/// A file of the project's source tree, by its path from the top ("data/bugcheck_codes.csv").
QString sourceFile(const QString& relative);

/// One of the Jet test databases in tests/fixtures/jet.
QString jetFixture(const char* name);

/// The shared fixtures folder (../shared beside the repository), or an empty string when it is absent.
QString sharedDir();

/// A fresh private temporary directory for one test, removed at process exit.
QString scratchDir();

}  // namespace tervolin::test

/// Skips the current test with a clear reason when ../shared is absent (a user's fresh clone).
#define TERVOLIN_REQUIRE_SHARED()                                                                    \
    do {                                                                                             \
        if (::tervolin::test::sharedDir().isEmpty())                                                 \
            GTEST_SKIP() << "../shared (fixtures and reference data) is not present beside the clone"; \
    } while (0)
