// Damaged dumps: cut at every structure boundary, offsets past the end, huge counts, unterminated and undecodable
// names. Each is read as far as it is sound, with a warning, or refused with its reason; none may crash (these
// tests also run under AddressSanitizer and UndefinedBehaviorSanitizer).
#include <gtest/gtest.h>

#include "platform/crashdump/kerneldump.h"
#include "platform/crashdump/userdump.h"
#include "tests/crashdump/crashdumptest.h"
#include "tests/crashdump/dumpbuilder.h"

#include <functional>

using namespace tervolin::platform::crashdump;
using namespace tervolin::test;
using namespace tervolin::test::dumps;

namespace {

KernelDumpSpec small(bool is64)
{
    KernelDumpSpec spec;
    spec.is64 = is64;
    spec.machine = is64 ? 0x8664u : 0x14Cu;
    spec.code = 0x3B;
    const quint64 k = is64 ? 0xFFFFF80128600000ull : 0x82A00000ull;
    spec.parameters = {0xC0000005, k + 0x2000010, 0, 0};
    spec.drivers = {{QStringLiteral("ntoskrnl.exe"), k, 0x1000000, 1},
                    {QStringLiteral("hal.dll"), k + 0x1000000, 0x10000, 2},
                    {QStringLiteral("nvlddmkm.sys"), k + 0x2000000, 0x100000, 3},
                    {QStringLiteral("last.sys"), k + 0x3000000, 0x1000, 4}};
    spec.unloaded = {{QStringLiteral("old.sys"), k + 0x4000000, k + 0x4001000}};
    spec.instructionPointer = k + 0x100;
    spec.stack = {k + 0x2000020, 0};
    spec.crashTime = QDateTime(QDate(2023, 5, 6), QTime(7, 8, 9), Qt::UTC);
    spec.uptimeSeconds = 42;
    return spec;
}

UserDumpSpec userSpec()
{
    UserDumpSpec spec;
    spec.exceptionCode = 0xC0000005;
    spec.exceptionAddress = 0x7FF612341000ull;
    spec.timestamp = 1700000000;
    spec.modules = {{QStringLiteral("C:\\Program Files\\Game\\game.exe"), 0x7FF612340000ull, 0x100000, 5},
                    {QStringLiteral("C:\\Windows\\System32\\ntdll.dll"), 0x7FFA00000000ull, 0x200000, 6}};
    return spec;
}

struct Cut {
    const char* name;
    Built built;
    bool kernel;
    quint64 minimum;  // shorter than this is refused
    quint32 code;
};

void PrintTo(const Cut& c, std::ostream* os) { *os << c.name; }

class CutDump : public ::testing::TestWithParam<Cut> {};

TEST_P(CutDump, AtEveryBoundaryAndBesideIt)
{
    const Cut& c = GetParam();
    std::set<quint64> cuts;
    for (quint64 b : c.built.boundaries)
        for (quint64 at : {b - 1, b, b + 1})
            if (at >= 1 && at <= quint64(c.built.bytes.size()))
                cuts.insert(at);
    for (quint64 at : cuts) {
        SCOPED_TRACE(at);
        const DumpInfo info = readBytes(c.built.bytes.left(qsizetype(at)));
        if (at < c.minimum) {
            EXPECT_FALSE(info.ok());
            EXPECT_FALSE(info.error.isEmpty());
            EXPECT_TRUE(info.drivers.empty());
            continue;
        }
        ASSERT_TRUE(info.ok()) << info.error.toStdString();
        if (c.kernel) {
            EXPECT_EQ(info.code, c.code);
            // Anything short of the whole file is noticed.
            if (at < quint64(c.built.bytes.size())) {
                EXPECT_FALSE(info.warnings.empty());
            } else {
                EXPECT_TRUE(info.warnings.empty()) << warningList(info).toStdString();
            }
        } else if (info.code) {
            EXPECT_EQ(*info.code, c.code);
        }
        for (const LoadedDriver& d : info.drivers)
            EXPECT_FALSE(d.name.isEmpty());
    }
}

std::vector<Cut> cuts()
{
    KernelDumpSpec complete;
    complete.dumpType = 1;
    complete.code = 0x9F;
    complete.totalSize = 0x3000;
    return {
        {"small64", buildKernelDump(small(true)), true, 0x60, 0x3B},
        {"small32", buildKernelDump(small(false)), true, 0x3C, 0x3B},
        {"complete64", buildKernelDump(complete), true, 0x60, 0x9F},
        {"user", buildUserDump(userSpec()), false, 0x20, 0xC0000005},
    };
}

INSTANTIATE_TEST_SUITE_P(Dumps, CutDump, ::testing::ValuesIn(cuts()));

struct Damage {
    const char* name;
    bool user;
    std::function<void(Built&)> patch;
    std::function<void(const DumpInfo&)> check;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

quint64 at(const Built& b, const char* name) { return b.offsets.at(QString::fromLatin1(name)); }
quint64 triageField(const Built& b, quint64 relative) { return at(b, "triage") + relative; }

bool has(const DumpInfo& d, WarningKind kind) { return d.hasWarning(kind); }

void firstDriversIntact(const DumpInfo& d)
{
    ASSERT_GE(d.drivers.size(), 3u);
    EXPECT_EQ(d.drivers[0].name, QStringLiteral("ntoskrnl.exe"));
    EXPECT_EQ(d.drivers[2].name, QStringLiteral("nvlddmkm.sys"));
}

class DamagedDump : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedDump, ReadAsFarAsSoundOrRefused)
{
    const Damage& d = GetParam();
    Built built = d.user ? buildUserDump(userSpec()) : buildKernelDump(small(true));
    d.patch(built);
    const DumpInfo info = readBytes(built.bytes);
    d.check(info);
    // Read without the driver list, the damaged dump gives the same answers.
    MemorySource source(built.bytes);
    ReadOptions options;
    options.driverList = false;
    const DumpInfo light = readDump(source, QStringLiteral("x.dmp"), options);
    EXPECT_EQ(light.errorKind, info.errorKind);
    EXPECT_EQ(light.code, info.code);
    EXPECT_EQ(light.driverCount, info.driverCount);
    EXPECT_EQ(light.program, info.program);
    ASSERT_EQ(light.suspect.has_value(), info.suspect.has_value());
    if (info.suspect) {
        EXPECT_EQ(light.suspect->module, info.suspect->module);
        EXPECT_EQ(light.suspect->offset, info.suspect->offset);
    }
}

const Damage kDamages[] = {
    {"driver list offset past the end", false,
     [](Built& b) { put32(b.bytes, triageField(b, triage::kDriverListOffset), 0xFFFFFFF0); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         EXPECT_TRUE(d.drivers.empty());
         EXPECT_TRUE(has(d, WarningKind::DriverListDamaged));
         EXPECT_EQ(d.code, 0x3Bu);
         EXPECT_EQ(d.unloaded.size(), 1u);
     }},
    {"driver list offset inside the header", false,
     [](Built& b) { put32(b.bytes, triageField(b, triage::kDriverListOffset), 0x100); },
     [](const DumpInfo& d) {
         EXPECT_TRUE(d.drivers.empty());
         EXPECT_TRUE(has(d, WarningKind::DriverListDamaged));
     }},
    {"huge driver count", false,
     [](Built& b) { put32(b.bytes, triageField(b, triage::kDriverCount), 0xFFFFFFFF); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         firstDriversIntact(d);
         EXPECT_LE(d.drivers.size(), limits::kMaxDrivers);
         EXPECT_TRUE(has(d, WarningKind::ListCapped));
         EXPECT_TRUE(has(d, WarningKind::DriverListDamaged));
     }},
    {"driver count past the end of the file", false,
     [](Built& b) { put32(b.bytes, triageField(b, triage::kDriverCount), 5); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         firstDriversIntact(d);  // a fifth entry would run past the end: the four that fit are read
         EXPECT_EQ(d.drivers.size(), 4u);
         EXPECT_TRUE(has(d, WarningKind::DriverListDamaged));
     }},
    {"huge unloaded count", false,
     [](Built& b) { put64(b.bytes, at(b, "unloaded"), ~0ull); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         EXPECT_LE(d.unloaded.size(), limits::kMaxUnloaded);
         EXPECT_TRUE(has(d, WarningKind::ListCapped));
         firstDriversIntact(d);
     }},
    {"unloaded list past the end", false,
     [](Built& b) { put32(b.bytes, triageField(b, triage::kUnloadedDriversOffset), quint32(b.bytes.size() + 8)); },
     [](const DumpInfo& d) {
         EXPECT_TRUE(d.unloaded.empty());
         EXPECT_TRUE(has(d, WarningKind::UnloadedListDamaged));
     }},
    {"string pool past the end: names are read one by one", false,
     [](Built& b) { put32(b.bytes, triageField(b, triage::kStringPoolOffset), 0xFFFFFF00); },
     [](const DumpInfo& d) {
         firstDriversIntact(d);
         EXPECT_FALSE(has(d, WarningKind::NameDamaged));
     }},
    {"huge string pool size", false,
     [](Built& b) { put32(b.bytes, triageField(b, triage::kStringPoolSize), 0xFFFFFFFF); },
     [](const DumpInfo& d) {
         firstDriversIntact(d);
         EXPECT_EQ(d.drivers[3].name, QStringLiteral("last.sys"));
     }},
    {"name offset past the end", false,
     [](Built& b) { put32(b.bytes, at(b, "drivers"), 0xFFFFFFF0); },
     [](const DumpInfo& d) {
         ASSERT_EQ(d.drivers.size(), 4u);
         EXPECT_EQ(d.drivers[0].name, QStringLiteral("\uFFFD"));
         EXPECT_EQ(d.drivers[2].name, QStringLiteral("nvlddmkm.sys"));
         EXPECT_TRUE(has(d, WarningKind::NameDamaged));
     }},
    {"unterminated name running to the end of the file", false,
     [](Built& b) {
         const quint64 name = at(b, "name3");
         put32(b.bytes, name, 0xFFFFFFFF);
         b.bytes.truncate(qsizetype(name + 4 + 2 * 8));  // "last.sys" without its NUL, then the end
     },
     [](const DumpInfo& d) {
         ASSERT_EQ(d.drivers.size(), 4u);
         EXPECT_EQ(d.drivers[3].name, QStringLiteral("last.sys"));
         EXPECT_TRUE(has(d, WarningKind::NameDamaged));
         EXPECT_TRUE(has(d, WarningKind::Truncated));
     }},
    {"name length counted in bytes", false,
     [](Built& b) { put32(b.bytes, at(b, "name2"), 2 * 12); },
     [](const DumpInfo& d) {
         EXPECT_EQ(d.drivers[2].name, QStringLiteral("nvlddmkm.sys"));  // the NUL ends it
         EXPECT_FALSE(has(d, WarningKind::NameDamaged));
     }},
    {"undecodable name", false,
     [](Built& b) { put16(b.bytes, at(b, "name2") + 4 + 2, 0xD800); },
     [](const DumpInfo& d) {
         EXPECT_EQ(d.drivers[2].name, QStringLiteral("n\uFFFDlddmkm.sys"));
         EXPECT_TRUE(has(d, WarningKind::NameDamaged));
     }},
    {"missing TRGD marker", false,
     [](Built& b) { b.bytes.replace(qsizetype(at(b, "valid")), 4, "XXXX"); },
     [](const DumpInfo& d) {
         EXPECT_TRUE(has(d, WarningKind::TriageInvalid));
         firstDriversIntact(d);
     }},
    {"context and stack past the end", false,
     [](Built& b) {
         put32(b.bytes, triageField(b, triage::kContextOffset), 0xFFFFFFF0);
         put32(b.bytes, triageField(b, triage::kCallStackOffset), 0xFFFFFFF0);
     },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.suspect);  // P2 of 0x3B still names the driver
         EXPECT_EQ(d.suspect->module, QStringLiteral("nvlddmkm.sys"));
         EXPECT_EQ(d.suspect->method, SuspectMethod::Parameter);
     }},
    {"huge stack size", false,
     [](Built& b) {
         put32(b.bytes, triageField(b, triage::kSizeOfCallStack), 0xFFFFFFFF);
         put64(b.bytes, 0x48, 0);  // P2 no longer helps: the stack decides
     },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.suspect);
         EXPECT_EQ(d.suspect->method, SuspectMethod::Stack);
     }},
    {"implausible times", false,
     [](Built& b) {
         put64(b.bytes, 0xFA8, ~0ull >> 1);
         put64(b.bytes, 0x1030, ~0ull >> 1);
     },
     [](const DumpInfo& d) {
         EXPECT_FALSE(d.crashTime);
         EXPECT_FALSE(d.uptimeSeconds);
         EXPECT_TRUE(has(d, WarningKind::ImplausibleTime));
     }},
    {"encrypted dump", false,
     [](Built& b) { put32(b.bytes, 0x1050, 0x100); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         EXPECT_TRUE(has(d, WarningKind::Encrypted));
         EXPECT_TRUE(d.drivers.empty());
         EXPECT_EQ(d.code, 0x3Bu);
     }},
    {"unwritten code", false,
     [](Built& b) { b.bytes.replace(0x38, 4, "PAGE"); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         EXPECT_FALSE(d.code);
     }},
    {"unknown marker", false, [](Built& b) { b.bytes.replace(4, 4, "XY64"); },
     [](const DumpInfo& d) { EXPECT_EQ(d.errorKind, ReadError::UnknownVariant); }},
    {"zero bytes: an unfinished dump", false, [](Built& b) { b.bytes.fill('\0'); },
     [](const DumpInfo& d) { EXPECT_EQ(d.errorKind, ReadError::Unfinished); }},
    {"empty file", false, [](Built& b) { b.bytes.clear(); },
     [](const DumpInfo& d) {
         EXPECT_EQ(d.errorKind, ReadError::NotADump);
         EXPECT_EQ(d.error, QStringLiteral("the file is empty"));
     }},
    {"a text file", false, [](Built& b) { b.bytes = "Hello, this is no dump.\n"; },
     [](const DumpInfo& d) {
         EXPECT_EQ(d.errorKind, ReadError::NotADump);
         EXPECT_TRUE(d.error.contains(QStringLiteral("48 65 6c 6c")));
     }},
    {"a zip handed to the dump reader", false, [](Built& b) { b.bytes = QByteArray("PK\x03\x04", 4) + QByteArray(60, 'z'); },
     [](const DumpInfo& d) { EXPECT_EQ(d.errorKind, ReadError::NotADump); }},
    {"three bytes", false, [](Built& b) { b.bytes = "PAG"; },
     [](const DumpInfo& d) { EXPECT_EQ(d.errorKind, ReadError::NotADump); }},
    {"seven bytes of a signature", false, [](Built& b) { b.bytes = "PAGEDU6"; },
     [](const DumpInfo& d) { EXPECT_EQ(d.errorKind, ReadError::HeaderIncomplete); }},
    {"user: huge stream count", true, [](Built& b) { put32(b.bytes, 8, 0xFFFFFFFF); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         EXPECT_TRUE(has(d, WarningKind::StreamDamaged));
         EXPECT_EQ(d.code, 0xC0000005u);
     }},
    {"user: directory past the end", true, [](Built& b) { put32(b.bytes, 0xC, 0xFFFFFFF0); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         EXPECT_EQ(d.format, DumpFormat::User);
         EXPECT_FALSE(d.code);
         EXPECT_TRUE(has(d, WarningKind::StreamDamaged));
     }},
    {"user: huge module count", true, [](Built& b) { put32(b.bytes, at(b, "modules"), 0xFFFFFFFF); },
     [](const DumpInfo& d) {
         ASSERT_GE(d.drivers.size(), 2u);
         EXPECT_LE(d.drivers.size(), 2u);  // the stream's size bounds the list
         EXPECT_TRUE(has(d, WarningKind::StreamDamaged));
     }},
    {"user: module name past the end", true,
     [](Built& b) { put32(b.bytes, at(b, "modules") + 4 + 0x14, 0xFFFFFFF0); },
     [](const DumpInfo& d) {
         EXPECT_EQ(d.program, QStringLiteral("\uFFFD"));
         EXPECT_TRUE(has(d, WarningKind::NameDamaged));
     }},
    {"user: the faulting module's name unreadable", true,
     [](Built& b) { put32(b.bytes, at(b, "modules") + 4 + 0x14, 0); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.suspect);
         EXPECT_EQ(d.suspect->module, QStringLiteral("\uFFFD"));
         EXPECT_TRUE(has(d, WarningKind::NameDamaged));
     }},
    {"user: name length past the end", true,
     [](Built& b) { put32(b.bytes, at(b, "name1"), 0x7FFFFFFF); },
     [](const DumpInfo& d) {
         ASSERT_EQ(d.drivers.size(), 2u);
         EXPECT_EQ(d.drivers[1].name, QStringLiteral("ntdll.dll"));
         EXPECT_TRUE(has(d, WarningKind::NameDamaged));
     }},
    {"user: exception stream past the end", true,
     [](Built& b) { put32(b.bytes, at(b, "directory") + 12 + 8, 0xFFFFFF00); },
     [](const DumpInfo& d) {
         EXPECT_FALSE(d.code);
         EXPECT_FALSE(d.suspect);
         EXPECT_TRUE(has(d, WarningKind::StreamDamaged));
         EXPECT_EQ(d.program, QStringLiteral("game.exe"));
     }},
    {"user: unusual version", true, [](Built& b) { put16(b.bytes, 4, 0x1234); },
     [](const DumpInfo& d) {
         ASSERT_TRUE(d.ok());
         EXPECT_TRUE(has(d, WarningKind::StreamDamaged));
         EXPECT_EQ(d.program, QStringLiteral("game.exe"));
     }},
};

INSTANTIATE_TEST_SUITE_P(Mutations, DamagedDump, ::testing::ValuesIn(kDamages));

}  // namespace
