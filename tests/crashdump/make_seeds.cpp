// Writes the seed corpus of the crash-dump fuzz target from the test dump builder: one file of each dump kind, the
// same inside zip, 7z and cab, and a few damaged copies. Usage: crashdump_seeds DIR
#include "tests/crashdump/dumpbuilder.h"

#include <QDir>

#include <cstdio>

using namespace tervolin::test::dumps;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const auto write = [&](const char* name, const QByteArray& bytes) {
        if (!writeFile(dir + QLatin1Char('/') + QString::fromLatin1(name), bytes)) {
            std::fprintf(stderr, "cannot write %s\n", name);
            std::exit(1);
        }
    };

    KernelDumpSpec small64 = typicalSmallDump(1, 4);
    small64.stack.resize(32);
    KernelDumpSpec small32;
    small32.is64 = false;
    small32.machine = 0x14C;
    small32.code = 0xD1;
    small32.parameters = {0xC, 2, 0, 0x8F4A1234};
    small32.drivers = {{QStringLiteral("ntkrpamp.exe"), 0x82A00000, 0x410000, 7},
                       {QStringLiteral("tcpip.sys"), 0x8F400000, 0x100000, 9}};
    small32.unloaded = {{QStringLiteral("spsys.sys"), 0x90000000, 0x90071000}};
    small32.instructionPointer = 0x82A81234;
    small32.stack = {0x8F400010, 0};
    KernelDumpSpec complete;
    complete.dumpType = 1;
    complete.code = 0x9F;
    complete.totalSize = 0x2000;  // the header alone: its size field says more
    KernelDumpSpec bitmap;
    bitmap.dumpType = 5;
    bitmap.code = 0x133;
    KernelDumpSpec live;
    live.dumpType = 6;
    live.code = 0x141;
    live.attributes = 0x10;
    UserDumpSpec user;
    user.exceptionAddress = 0x7FFA00012345ull;
    user.timestamp = 1700000000;
    user.modules = {{QStringLiteral("C:\\Games\\game.exe"), 0x7FF612340000ull, 0x100000, 5},
                    {QStringLiteral("C:\\Windows\\System32\\ntdll.dll"), 0x7FFA00000000ull, 0x200000, 6}};

    const QByteArray s64 = buildKernelDump(small64).bytes;
    const QByteArray u = buildUserDump(user).bytes;
    write("small64.dmp", s64);
    write("small32.dmp", buildKernelDump(small32).bytes);
    write("complete.dmp", buildKernelDump(complete).bytes.left(0x2000));
    write("bitmap.dmp", buildKernelDump(bitmap).bytes.left(0x2040));
    write("live.dmp", buildKernelDump(live).bytes.left(0x2000));
    write("user.dmp", u);
    write("cut.dmp", s64.left(s64.size() / 2));
    const ArchiveEntries entries = {{QStringLiteral("Minidump/small64.dmp"), s64}, {QStringLiteral("user.dmp"), u}};
    write("dumps.zip", buildArchive(ArchiveFormat::Zip, entries));
    write("dumps.7z", buildArchive(ArchiveFormat::SevenZip, entries));
    write("dumps.cab", buildArchive(ArchiveFormat::Cab, entries));
    return 0;
}
