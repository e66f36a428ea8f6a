// Kernel dumps as Windows writes them: every header variant and dump type, read back field by field.
#include <gtest/gtest.h>

#include "platform/crashdump/dumpreader.h"
#include "tests/crashdump/crashdumptest.h"
#include "tests/crashdump/dumpbuilder.h"

#include <functional>

using namespace tervolin::platform::crashdump;
using namespace tervolin::test;
using namespace tervolin::test::dumps;

namespace {

const QDateTime kCrash(QDate(2021, 2, 21), QTime(1, 38, 22), Qt::UTC);

KernelDumpSpec smallDump64()
{
    KernelDumpSpec spec;
    spec.code = 0x1000007E;
    spec.parameters = {0xFFFFFFFFC0000005ull, 0xFFFFF8012A4B1234ull, 0xFFFFD0012345E7A8ull, 0xFFFFD0012345DFE0ull};
    spec.crashTime = kCrash;
    spec.uptimeSeconds = 93784;
    spec.drivers = {{QStringLiteral("ntoskrnl.exe"), 0xFFFFF80128600000ull, 0x1046000, 0x5F1D2C3B},
                    {QStringLiteral("hal.dll"), 0xFFFFF80127E00000ull, 0x6000, 0x11223344},
                    {QStringLiteral("nvlddmkm.sys"), 0xFFFFF8012A000000ull, 0x2000000, 0x60A1B2C3},
                    {QString::fromUtf8("驱动程序.sys"), 0xFFFFF8012E000000ull, 0x10000, 1}};
    spec.unloaded = {{QStringLiteral("dump_dumpfve.sys"), 0xFFFFF80130000000ull, 0xFFFFF80130020000ull},
                     {QStringLiteral("WUDFRd.sys"), 0xFFFFF80131000000ull, 0xFFFFF80131040000ull}};
    spec.instructionPointer = 0xFFFFF801289F5A10ull;  // KeBugCheckEx, inside the kernel
    spec.stack = {0, 0xFFFFF80128700000ull, 0xFFFFF8012A001000ull};
    return spec;
}

struct Case {
    const char* name;
    std::function<KernelDumpSpec()> spec;
    const char* path;
    std::function<void(const DumpInfo&)> check;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class KernelDumpRead : public ::testing::TestWithParam<Case> {};

TEST_P(KernelDumpRead, Fields)
{
    const Case& c = GetParam();
    const DumpInfo info = readBytes(buildKernelDump(c.spec()).bytes, QString::fromUtf8(c.path));
    ASSERT_TRUE(info.ok()) << info.error.toStdString();
    EXPECT_EQ(info.file, QString::fromUtf8(c.path));
    c.check(info);
}

const Case kCases[] = {
    {"small64", smallDump64, "Mini022121-01.dmp",
     [](const DumpInfo& d) {
         EXPECT_EQ(d.format, DumpFormat::Kernel64);
         EXPECT_EQ(d.dumpType, 4u);
         EXPECT_EQ(dumpTypeToken(*d.dumpType), QStringLiteral("small"));
         EXPECT_FALSE(d.live);
         EXPECT_EQ(d.machine, 0x8664u);
         EXPECT_EQ(machineToken(*d.machine), QStringLiteral("x64"));
         EXPECT_EQ(d.build, 19041u);
         EXPECT_EQ(d.processors, 8u);
         EXPECT_EQ(d.code, 0x1000007Eu);  // kept as stored
         EXPECT_EQ(d.parameterCount, 4);
         EXPECT_EQ(d.parameterWidth, 64);
         EXPECT_EQ(d.parameters[0], 0xFFFFFFFFC0000005ull);
         EXPECT_EQ(d.parameters[3], 0xFFFFD0012345DFE0ull);
         EXPECT_EQ(d.crashTime, kCrash);
         EXPECT_EQ(d.crashTime->toString(Qt::ISODate), QStringLiteral("2021-02-21T01:38:22Z"));
         EXPECT_EQ(d.uptimeSeconds, 93784u);
         ASSERT_EQ(d.drivers.size(), 4u);
         EXPECT_EQ(d.driverCount, 4u);
         EXPECT_EQ(d.drivers[2].name, QStringLiteral("nvlddmkm.sys"));
         EXPECT_EQ(d.drivers[2].base, 0xFFFFF8012A000000ull);
         EXPECT_EQ(d.drivers[2].size, 0x2000000u);
         EXPECT_EQ(d.drivers[2].timestamp, 0x60A1B2C3u);
         EXPECT_EQ(d.drivers[3].name, QString::fromUtf8("驱动程序.sys"));
         ASSERT_EQ(d.unloaded.size(), 2u);
         EXPECT_EQ(d.unloaded[0].name, QStringLiteral("dump_dumpfve"));  // twelve characters are kept
         EXPECT_EQ(d.unloaded[1].name, QStringLiteral("WUDFRd.sys"));
         EXPECT_EQ(d.unloaded[1].start, 0xFFFFF80131000000ull);
         EXPECT_EQ(d.unloaded[1].end, 0xFFFFF80131040000ull);
         // The context points into the kernel; P2 of 0x1000007E into nvlddmkm.sys.
         ASSERT_TRUE(d.suspect);
         EXPECT_EQ(d.suspect->module, QStringLiteral("nvlddmkm.sys"));
         EXPECT_EQ(d.suspect->offset, 0x4B1234u);
         EXPECT_EQ(d.suspect->method, SuspectMethod::Parameter);
         EXPECT_TRUE(d.warnings.empty()) << warningList(d).toStdString();
     }},
    {"small32",
     [] {
         KernelDumpSpec s;
         s.is64 = false;
         s.machine = 0x14C;
         s.build = 7601;
         s.processors = 2;
         s.code = 0xD1;
         s.parameters = {0x0000000C, 2, 0, 0x8F4A1234};
         s.crashTime = kCrash;
         s.drivers = {{QStringLiteral("ntkrpamp.exe"), 0x82A00000, 0x410000, 7},
                      {QStringLiteral("halmacpi.dll"), 0x82E00000, 0x37000, 8},
                      {QStringLiteral("tcpip.sys"), 0x8F400000, 0x100000, 9}};
         s.unloaded = {{QStringLiteral("spsys.sys"), 0x90000000, 0x90071000}};
         s.instructionPointer = 0x82A81234;
         return s;
     },
     "Mini.dmp",
     [](const DumpInfo& d) {
         EXPECT_EQ(d.format, DumpFormat::Kernel32);
         EXPECT_EQ(d.parameterWidth, 32);
         EXPECT_EQ(d.machine, 0x14Cu);
         EXPECT_EQ(d.build, 7601u);
         EXPECT_EQ(d.processors, 2u);
         EXPECT_EQ(d.code, 0xD1u);
         EXPECT_EQ(d.parameters[3], 0x8F4A1234u);
         EXPECT_EQ(d.crashTime, kCrash);
         ASSERT_EQ(d.drivers.size(), 3u);
         EXPECT_EQ(d.drivers[2].name, QStringLiteral("tcpip.sys"));
         EXPECT_EQ(d.drivers[2].base, 0x8F400000u);
         EXPECT_EQ(d.drivers[2].size, 0x100000u);
         EXPECT_EQ(d.drivers[2].timestamp, 9u);
         ASSERT_EQ(d.unloaded.size(), 1u);
         EXPECT_EQ(d.unloaded[0].name, QStringLiteral("spsys.sys"));
         EXPECT_EQ(d.unloaded[0].end, 0x90071000u);
         ASSERT_TRUE(d.suspect);
         EXPECT_EQ(d.suspect->module, QStringLiteral("tcpip.sys"));
         EXPECT_EQ(d.suspect->method, SuspectMethod::Parameter);
         EXPECT_TRUE(d.warnings.empty()) << warningList(d).toStdString();
     }},
    {"complete",
     [] {
         KernelDumpSpec s;
         s.dumpType = 1;
         s.code = 0x9F;
         s.parameters = {3, 0xFFFFE000F38C06A0ull, 0xFFFFD000E6A4F8F0ull, 0xFFFFE000F9E43C60ull};
         s.crashTime = kCrash;
         s.totalSize = 0x40000;
         return s;
     },
     "MEMORY.DMP",
     [](const DumpInfo& d) {
         EXPECT_EQ(d.dumpType, 1u);
         EXPECT_EQ(dumpTypeToken(1), QStringLiteral("complete"));
         EXPECT_EQ(d.code, 0x9Fu);
         EXPECT_EQ(d.parameters[1], 0xFFFFE000F38C06A0ull);
         EXPECT_TRUE(d.drivers.empty());  // a full dump's module list lives in its memory pages
         EXPECT_FALSE(d.suspect);
         EXPECT_FALSE(d.uptimeSeconds);  // left unwritten ("PAGE")
         EXPECT_TRUE(d.warnings.empty()) << warningList(d).toStdString();
     }},
    {"bitmap",
     [] {
         KernelDumpSpec s;
         s.dumpType = 5;
         s.code = 0xEF;
         s.crashTime = kCrash;
         return s;
     },
     "MEMORY.DMP",
     [](const DumpInfo& d) {
         EXPECT_EQ(d.dumpType, 5u);
         EXPECT_EQ(dumpTypeToken(5), QStringLiteral("bitmap-complete"));
         EXPECT_EQ(dumpTypeToken(6), QStringLiteral("bitmap-kernel"));
         EXPECT_EQ(dumpTypeToken(2), QStringLiteral("kernel"));
         EXPECT_EQ(dumpTypeToken(7), QStringLiteral("automatic"));
         EXPECT_EQ(d.code, 0xEFu);
     }},
    {"newer dump type is shown as its number",
     [] {
         KernelDumpSpec s;
         s.dumpType = 9;
         return s;
     },
     "x.dmp",
     [](const DumpInfo& d) {
         EXPECT_EQ(d.dumpType, 9u);
         EXPECT_TRUE(dumpTypeToken(9).isEmpty());
     }},
    {"live by attribute",
     [] {
         KernelDumpSpec s;
         s.dumpType = 6;
         s.code = 0x141;
         s.attributes = 0x10;
         return s;
     },
     "dumps/x.dmp",
     [](const DumpInfo& d) {
         EXPECT_TRUE(d.live);
         EXPECT_EQ(d.code, 0x141u);
     }},
    {"live by folder",
     [] {
         KernelDumpSpec s;
         s.dumpType = 6;
         s.code = 0x117;
         return s;
     },
     "/mnt/win/Windows/LiveKernelReports/WATCHDOG/WD-20240301-0815.dmp",
     [](const DumpInfo& d) { EXPECT_TRUE(d.live); }},
    {"live folder in another case, inside an archive",
     [] { return KernelDumpSpec{}; },
     "mail/dumps.zip/livekernelreports/x.dmp",
     [](const DumpInfo& d) { EXPECT_TRUE(d.live); }},
    {"a folder merely named alike is not live",
     [] { return KernelDumpSpec{}; },
     "/home/u/LiveKernelReportsOld/x.dmp",
     [](const DumpInfo& d) { EXPECT_FALSE(d.live); }},
    {"unwritten fields are unknown",
     [] {
         KernelDumpSpec s;
         s.machine.reset();
         s.build.reset();
         s.processors.reset();
         s.dumpType = 2;
         return s;
     },
     "x.dmp",
     [](const DumpInfo& d) {
         EXPECT_FALSE(d.machine);
         EXPECT_FALSE(d.build);
         EXPECT_FALSE(d.processors);
         EXPECT_FALSE(d.crashTime);
         EXPECT_FALSE(d.live);
     }},
    {"arm64 context",
     [] {
         KernelDumpSpec s = smallDump64();
         s.machine = 0xAA64;
         s.code = 0x50;  // P3 is no code address here: the context decides
         s.parameters = {0, 0, 0, 0};
         s.instructionPointer = 0xFFFFF8012E000100ull;
         return s;
     },
     "x.dmp",
     [](const DumpInfo& d) {
         EXPECT_EQ(machineToken(*d.machine), QStringLiteral("arm64"));
         ASSERT_TRUE(d.suspect);
         EXPECT_EQ(d.suspect->module, QString::fromUtf8("驱动程序.sys"));
         EXPECT_EQ(d.suspect->method, SuspectMethod::Context);
         EXPECT_EQ(d.suspect->offset, 0x100u);
     }},
};

INSTANTIATE_TEST_SUITE_P(Dumps, KernelDumpRead, ::testing::ValuesIn(kCases));

}  // namespace
