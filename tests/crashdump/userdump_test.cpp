// Application minidumps: recognised as such, with the exception code, the program and the module that faulted.
#include <gtest/gtest.h>

#include "tests/crashdump/crashdumptest.h"
#include "tests/crashdump/dumpbuilder.h"

using namespace tervolin::platform::crashdump;
using namespace tervolin::test;
using namespace tervolin::test::dumps;

namespace {

struct Case {
    const char* name;
    UserDumpSpec spec;
    std::optional<quint32> machine;
    std::optional<quint32> code;
    QString program;
    std::optional<Suspect> suspect;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

UserDumpSpec game(quint16 architecture)
{
    UserDumpSpec s;
    s.architecture = architecture;
    s.exceptionCode = 0xC0000005;
    s.exceptionAddress = 0x7FFA00012345ull;
    s.timestamp = 1700000000;
    s.modules = {{QString::fromUtf8("C:\\Games\\游戏\\game.exe"), 0x7FF612340000ull, 0x100000, 5},
                 {QStringLiteral("C:\\Windows\\System32\\ntdll.dll"), 0x7FFA00000000ull, 0x200000, 6}};
    return s;
}

std::vector<Case> cases()
{
    std::vector<Case> c;
    c.push_back({"x64 access violation in ntdll", game(9), 0x8664u, 0xC0000005u, QString::fromUtf8("game.exe"),
                 Suspect{QStringLiteral("ntdll.dll"), 0x12345, SuspectMethod::Context}});
    c.push_back({"x86", game(0), 0x14Cu, 0xC0000005u, QStringLiteral("game.exe"),
                 Suspect{QStringLiteral("ntdll.dll"), 0x12345, SuspectMethod::Context}});
    c.push_back({"arm64", game(12), 0xAA64u, 0xC0000005u, QStringLiteral("game.exe"),
                 Suspect{QStringLiteral("ntdll.dll"), 0x12345, SuspectMethod::Context}});
    {
        UserDumpSpec s = game(9);
        s.exceptionCode.reset();
        c.push_back({"no exception stream (a hang dump)", s, 0x8664u, std::nullopt, QStringLiteral("game.exe"), std::nullopt});
    }
    {
        UserDumpSpec s = game(6);  // IA-64: no machine type this reader names
        s.exceptionAddress = 0x1000;
        c.push_back({"address outside every module", s, std::nullopt, 0xC0000005u, QStringLiteral("game.exe"), std::nullopt});
    }
    return c;
}

class UserDumpRead : public ::testing::TestWithParam<Case> {};

TEST_P(UserDumpRead, Fields)
{
    const Case& c = GetParam();
    const DumpInfo info = readBytes(buildUserDump(c.spec).bytes, QStringLiteral("game.exe.1234.dmp"));
    ASSERT_TRUE(info.ok()) << info.error.toStdString();
    EXPECT_EQ(info.format, DumpFormat::User);
    EXPECT_EQ(formatToken(info.format), QStringLiteral("user"));
    EXPECT_EQ(info.parameterCount, 0);
    EXPECT_FALSE(info.dumpType);
    EXPECT_EQ(info.machine, c.machine);
    EXPECT_EQ(info.processors, 4u);
    EXPECT_EQ(info.build, 22621u);
    EXPECT_EQ(info.code, c.code);
    EXPECT_EQ(info.program, c.program);
    EXPECT_EQ(info.crashTime, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    ASSERT_EQ(info.drivers.size(), 2u);
    EXPECT_EQ(info.drivers[1].name, QStringLiteral("ntdll.dll"));
    EXPECT_EQ(info.drivers[1].size, 0x200000u);
    EXPECT_EQ(info.drivers[1].timestamp, 6u);
    ASSERT_EQ(info.suspect.has_value(), c.suspect.has_value());
    if (c.suspect) {
        EXPECT_EQ(info.suspect->module, c.suspect->module);
        EXPECT_EQ(info.suspect->offset, c.suspect->offset);
        EXPECT_EQ(info.suspect->method, SuspectMethod::Context);
    }
    EXPECT_TRUE(info.warnings.empty()) << warningList(info).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Dumps, UserDumpRead, ::testing::ValuesIn(cases()));

TEST_P(UserDumpRead, WithoutTheModuleList)
{
    const Case& c = GetParam();
    MemorySource source(buildUserDump(c.spec).bytes);
    ReadOptions options;
    options.driverList = false;
    const DumpInfo info = readDump(source, QStringLiteral("a.dmp"), options);
    ASSERT_TRUE(info.ok());
    EXPECT_TRUE(info.drivers.empty());
    EXPECT_EQ(info.driverCount, 2u);
    EXPECT_EQ(info.program, c.program);
    ASSERT_EQ(info.suspect.has_value(), c.suspect.has_value());
    if (c.suspect) {
        EXPECT_EQ(info.suspect->module, c.suspect->module);
    }
}

TEST(UserDump, NeverLiveEvenInTheLiveReportsFolder)
{
    const DumpInfo info = readBytes(buildUserDump(game(9)).bytes, QStringLiteral("C:/Windows/LiveKernelReports/a.dmp"));
    EXPECT_FALSE(info.live);
}

}  // namespace
