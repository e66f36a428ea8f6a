// The driver that probably caused the stop, one case per way of finding it, each read from a small dump built
// with that clue.
#include <gtest/gtest.h>

#include "platform/crashdump/culprit.h"
#include "tests/crashdump/crashdumptest.h"
#include "tests/crashdump/dumpbuilder.h"

using namespace tervolin::platform::crashdump;
using namespace tervolin::test;
using namespace tervolin::test::dumps;

namespace {

constexpr quint64 kKernel = 0xFFFFF80128600000ull;
constexpr quint64 kHal = 0xFFFFF80127E00000ull;
constexpr quint64 kStorport = 0xFFFFF80129E00000ull;
constexpr quint64 kNvidia = 0xFFFFF8012A000000ull;
constexpr quint64 kNowhere = 0xFFFFD00012345678ull;

KernelDumpSpec withDrivers(quint32 code, std::array<quint64, 4> parameters)
{
    KernelDumpSpec spec;
    spec.code = code;
    spec.parameters = parameters;
    spec.drivers = {{QStringLiteral("ntoskrnl.exe"), kKernel, 0x1046000, 1},
                    {QStringLiteral("hal.dll"), kHal, 0x6000, 2},
                    {QStringLiteral("storport.sys"), kStorport, 0x90000, 3},
                    {QStringLiteral("nvlddmkm.sys"), kNvidia, 0x2000000, 4}};
    spec.instructionPointer = kKernel + 0x3F5A10;
    return spec;
}

struct Case {
    const char* name;
    KernelDumpSpec spec;
    std::optional<Suspect> expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

Case viaParameter(const char* name, quint32 code, int index)
{
    std::array<quint64, 4> p{kNowhere, kNowhere, kNowhere, kNowhere};
    p[size_t(index)] = kNvidia + 0x10;
    return {name, withDrivers(code, p), Suspect{QStringLiteral("nvlddmkm.sys"), 0x10, SuspectMethod::Parameter}};
}

std::vector<Case> cases()
{
    std::vector<Case> c;
    {
        KernelDumpSpec s = withDrivers(0x7E, {0, kStorport + 8, 0, 0});
        s.instructionPointer = kNvidia + 0x500;
        c.push_back({"context inside a driver wins over a parameter", s,
                     Suspect{QStringLiteral("nvlddmkm.sys"), 0x500, SuspectMethod::Context}});
    }
    c.push_back(viaParameter("P2 of 0x7E", 0x7E, 1));
    c.push_back(viaParameter("P2 of 0x1000007E", 0x1000007E, 1));
    c.push_back(viaParameter("P2 of 0x8E", 0x8E, 1));
    c.push_back(viaParameter("P2 of 0x1000008E", 0x1000008E, 1));
    c.push_back(viaParameter("P2 of 0x3B", 0x3B, 1));
    c.push_back(viaParameter("P2 of 0x1E", 0x1E, 1));
    c.push_back(viaParameter("P4 of 0x0A", 0x0A, 3));
    c.push_back(viaParameter("P4 of 0xD1", 0xD1, 3));
    c.push_back(viaParameter("P3 of 0x50", 0x50, 2));
    {
        // 0x9F documents no code address: P2 inside a driver means nothing.
        KernelDumpSpec s = withDrivers(0x9F, {3, kNvidia + 0x10, 0, 0});
        c.push_back({"no code-address parameter for 0x9F", s, Suspect{QStringLiteral("ntoskrnl.exe"), 0x3F5A10, SuspectMethod::Context}});
    }
    {
        KernelDumpSpec s = withDrivers(0x9F, {3, 0, 0, 0});
        s.stack = {kNowhere, kKernel + 0x100, kHal + 0x20, kStorport + 0x4321, kNvidia + 0x99};
        c.push_back({"stack scan skips the kernel and the HAL", s,
                     Suspect{QStringLiteral("storport.sys"), 0x4321, SuspectMethod::Stack}});
    }
    {
        KernelDumpSpec s = withDrivers(0x0A, {0, 2, 0, kKernel + 0x40});
        s.instructionPointer = kNowhere;
        s.stack = {kHal + 8, kKernel};
        c.push_back({"only the kernel: the first kernel hit is the answer", s,
                     Suspect{QStringLiteral("ntoskrnl.exe"), 0x40, SuspectMethod::Parameter}});
    }
    {
        KernelDumpSpec s = withDrivers(0x0A, {0, 2, 0, kNowhere});
        s.instructionPointer = kNowhere;
        s.stack = {kNowhere, 0};
        c.push_back({"no clue at all", s, std::nullopt});
    }
    {
        KernelDumpSpec s = withDrivers(0x7E, {0, kNvidia + 0x10, 0, 0});
        s.drivers.clear();
        c.push_back({"no driver list", s, std::nullopt});
    }
    return c;
}

class SuspectDriver : public ::testing::TestWithParam<Case> {};

TEST_P(SuspectDriver, FoundAndLabelled)
{
    const Case& c = GetParam();
    const QByteArray bytes = buildKernelDump(c.spec).bytes;
    // The same answer with the full driver list and without it (names decoded only where the search needs them).
    for (const bool list : {true, false}) {
        SCOPED_TRACE(list ? "with the driver list" : "without the driver list");
        MemorySource source(bytes);
        ReadOptions options;
        options.driverList = list;
        const DumpInfo info = readDump(source, QStringLiteral("x.dmp"), options);
        ASSERT_TRUE(info.ok()) << info.error.toStdString();
        EXPECT_EQ(info.driverCount, quint32(c.spec.drivers.size()));
        EXPECT_EQ(info.drivers.size(), list ? c.spec.drivers.size() : 0u);
        ASSERT_EQ(info.suspect.has_value(), c.expected.has_value());
        if (!c.expected)
            continue;
        EXPECT_EQ(info.suspect->module, c.expected->module);
        EXPECT_EQ(info.suspect->offset, c.expected->offset);
        EXPECT_EQ(methodToken(info.suspect->method), methodToken(c.expected->method));
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, SuspectDriver, ::testing::ValuesIn(cases()));

TEST(SuspectDriver, KernelAndHalNames)
{
    for (const char* name : {"ntoskrnl.exe", "NTOSKRNL.EXE", "ntkrnlmp.exe", "ntkrnlpa.exe", "ntkrpamp.exe", "ntkrla57.exe",
                             "hal.dll", "halmacpi.dll", "HALACPI.DLL"})
        EXPECT_TRUE(isKernelOrHal(QString::fromLatin1(name))) << name;
    for (const char* name : {"nvlddmkm.sys", "halo.sys", "ntfs.sys", "hal.sys", "ntoskrnl.sys"})
        EXPECT_FALSE(isKernelOrHal(QString::fromLatin1(name))) << name;
}

TEST(SuspectDriver, OverlappingAndEmptyModules)
{
    // A damaged list may overlap or hold zero-sized entries; a lookup never picks a module that misses the address.
    const std::vector<LoadedDriver> drivers = {{QStringLiteral("a.sys"), 0x1000, 0x1000, 0},
                                               {QStringLiteral("b.sys"), 0x1800, 0x100, 0},
                                               {QStringLiteral("z.sys"), 0x1900, 0, 0},
                                               {QStringLiteral("top.sys"), ~0ull - 0xF, 0x10, 0}};
    const ModuleMap map(drivers);
    EXPECT_EQ(map.find(0x1850)->name, QStringLiteral("b.sys"));
    EXPECT_EQ(map.find(0x1950)->name, QStringLiteral("a.sys"));
    EXPECT_EQ(map.find(0x1000)->name, QStringLiteral("a.sys"));
    EXPECT_EQ(map.find(0x2000), nullptr);
    EXPECT_EQ(map.find(0xFFF), nullptr);
    EXPECT_EQ(map.find(~0ull)->name, QStringLiteral("top.sys"));
}

}  // namespace
