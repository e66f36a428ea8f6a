#include "tests/app/historysamples.h"

#include <QDir>

#include <algorithm>

#include "tests/crashdump/dumpbuilder.h"

namespace tervolin::test {

namespace {

using namespace dumps;

constexpr quint64 KernelBase = 0xFFFFF80251A00000ull;

// The drivers of one Windows 10 machine, at fixed addresses.
std::vector<Driver> machineDrivers()
{
    const char* names[] = {"ntoskrnl.exe", "hal.dll", "ACPI.sys", "storport.sys", "stornvme.sys", "iaStorAC.sys", "ndis.sys", "tcpip.sys",
                           "Netwtw10.sys", "rt640x64.sys", "dxgkrnl.sys", "nvlddmkm.sys", "USBXHCI.sys", "fltmgr.sys", "Wdf01000.sys",
                           "win32kfull.sys"};
    std::vector<Driver> drivers;
    quint64 base = KernelBase;
    quint32 stamp = 0x5F1D2C3B;
    for (const char* name : names) {
        const quint32 size = QString::fromLatin1(name) == QStringLiteral("ntoskrnl.exe") ? 0x1046000u
                             : QString::fromLatin1(name) == QStringLiteral("nvlddmkm.sys") ? 0x2A00000u
                                                                                            : 0x80000u;
        drivers.push_back({QString::fromLatin1(name), base, size, stamp});
        base += (quint64(size) + 0xFFFFF) & ~quint64(0xFFFFF);
        stamp += 0x10203;
    }
    return drivers;
}

quint64 baseOf(const std::vector<Driver>& drivers, const char* name)
{
    const auto it = std::find_if(drivers.begin(), drivers.end(), [&](const Driver& d) { return d.name == QLatin1String(name); });
    return it->base;
}

KernelDumpSpec smallDump(quint32 code, const QDateTime& time)
{
    KernelDumpSpec spec;
    spec.code = code;
    spec.drivers = machineDrivers();
    spec.crashTime = time;
    spec.uptimeSeconds = 3 * 3600 + 17 * 60 + quint64(time.time().minute());
    spec.instructionPointer = KernelBase + 0x3F5A10;  // inside KeBugCheckEx
    spec.unloaded = {{QStringLiteral("mouhid.sys"), 0xFFFFF80290000000ull, 0xFFFFF80290020000ull},
                     {QStringLiteral("WUDFRd.sys"), 0xFFFFF802A0000000ull, 0xFFFFF802A0040000ull}};
    for (int i = 0; i < 64; ++i)
        spec.stack.push_back(i % 9 == 4 ? KernelBase + 0x1000 * quint64(i) : 0xFFFFD00012340000ull + 8 * quint64(i));
    return spec;
}

QDateTime at(int month, int day, int hour, int minute) { return QDateTime(QDate(2024, month, day), QTime(hour, minute), Qt::UTC); }

QString minidumpName(const QDateTime& t, int n)
{
    return t.toString(QStringLiteral("MMddyy")) + QStringLiteral("-%1-01.dmp").arg(9000 + n);
}

}  // namespace

const SampleDump& SampleTree::withCode(std::uint32_t code) const
{
    return *std::find_if(dumps.begin(), dumps.end(), [&](const SampleDump& d) { return d.code == code && d.readable; });
}

SampleTree writeSampleTree(const QString& root)
{
    SampleTree tree;
    tree.root = root;
    tree.windowsFolder = root + QStringLiteral("/Windows");
    tree.mailFolder = root + QStringLiteral("/mail");
    QDir().mkpath(tree.windowsFolder + QStringLiteral("/System32"));
    QDir().mkpath(tree.mailFolder);
    const QString minidump = tree.windowsFolder + QStringLiteral("/Minidump/");
    const std::vector<Driver> drivers = machineDrivers();

    struct Small
    {
        quint32 code;
        QDateTime time;
        const char* culprit;
        const char* how;  // "p2", "p3", "p4": the parameter holds its address; "ip": the context; "stack": the stack
        QString key;
    };
    const Small smalls[] = {
        {0xD1, at(3, 14, 21, 7), "Netwtw10.sys", "p4", QStringLiteral("0x000000D1")},
        {0x1000007E, at(3, 9, 8, 42), "iaStorAC.sys", "p2", QStringLiteral("0x0000007E")},
        {0x133, at(3, 2, 19, 55), "storport.sys", "ip", QStringLiteral("0x00000133")},
        {0x9F, at(2, 26, 23, 12), "USBXHCI.sys", "stack", QStringLiteral("0x0000009F")},
        {0x50, at(2, 18, 10, 31), "rt640x64.sys", "p3", QStringLiteral("0x00000050")},
    };
    int n = 0;
    for (const Small& s : smalls) {
        KernelDumpSpec spec = smallDump(s.code, s.time);
        const quint64 address = baseOf(drivers, s.culprit) + 0x1A2B0 + quint64(n) * 0x40;
        const QString how = QString::fromLatin1(s.how);
        spec.parameters = {0xFFFFB00C1F2A3040ull, 2, 0, 0};
        if (s.code == 0x1000007E)
            spec.parameters[0] = 0xFFFFFFFFC0000005ull;
        if (s.code == 0x9F)
            spec.parameters = {3, 0xFFFFB00C20A41060ull, 0xFFFFF8025E07F750ull, 0xFFFFB00C22D0A8A0ull};
        if (s.code == 0x133)
            spec.parameters = {1, 0x1E00, 0xFFFFF80252D1A340ull, 0};
        if (how == QStringLiteral("p2"))
            spec.parameters[1] = address;
        else if (how == QStringLiteral("p3"))
            spec.parameters[2] = address;
        else if (how == QStringLiteral("p4"))
            spec.parameters[3] = address;
        else if (how == QStringLiteral("ip"))
            spec.instructionPointer = address;
        else
            spec.stack[7] = address;
        const QString path = minidump + minidumpName(s.time, n++);
        writeFile(path, buildKernelDump(spec).bytes);
        tree.dumps.push_back({path, s.code, s.key, s.time, QString::fromLatin1(s.culprit), true});
    }

    // The kernel dump of the last crash but one: a header, no driver list.
    KernelDumpSpec kernel;
    kernel.dumpType = 2;
    kernel.code = 0x9F;
    kernel.parameters = {3, 0xFFFFB00C20A41060ull, 0xFFFFF8025E07F750ull, 0xFFFFB00C22D0A8A0ull};
    kernel.crashTime = at(2, 26, 23, 12).addSecs(1);
    kernel.uptimeSeconds = 7200;
    writeFile(tree.windowsFolder + QStringLiteral("/MEMORY.DMP"), buildKernelDump(kernel).bytes);
    tree.dumps.push_back({tree.windowsFolder + QStringLiteral("/MEMORY.DMP"), 0x9F, QStringLiteral("0x0000009F"), *kernel.crashTime, {}, true});

    // A live dump: the display driver stopped answering and Windows recovered.
    KernelDumpSpec live;
    live.dumpType = 6;
    live.code = 0x141;
    live.attributes = 0x10;
    live.parameters = {0xFFFFB00C2A1B4010ull, 0xFFFFF8025A4B2C90ull, 0, 0x3C20};
    live.crashTime = at(3, 11, 17, 3);
    live.uptimeSeconds = 86400 + 5400;
    const QString livePath = tree.windowsFolder + QStringLiteral("/LiveKernelReports/WATCHDOG/WATCHDOG-20240311-1703.dmp");
    writeFile(livePath, buildKernelDump(live).bytes);
    tree.dumps.push_back({livePath, 0x141, QStringLiteral("0x00000141"), *live.crashTime, {}, true});

    // By mail: an archive with a small dump, and a program's crash.
    KernelDumpSpec mailed = smallDump(0xA, at(2, 1, 9, 28));
    mailed.parameters = {0x28, 2, 0, baseOf(drivers, "ndis.sys") + 0x4C10};
    const QString mailedName = minidumpName(*mailed.crashTime, 8);
    writeFile(tree.mailFolder + QStringLiteral("/dumps.zip"),
              buildArchive(ArchiveFormat::Zip, {{mailedName, buildKernelDump(mailed).bytes}}));
    tree.dumps.push_back({tree.mailFolder + QStringLiteral("/dumps.zip/") + mailedName, 0xA, QStringLiteral("0x0000000A"), *mailed.crashTime,
                          QStringLiteral("ndis.sys"), true});

    UserDumpSpec app;
    app.exceptionAddress = 0x7FFA12345678ull;
    app.timestamp = quint32(at(3, 5, 20, 16).toSecsSinceEpoch());
    app.modules = {{QStringLiteral("C:\\Program Files\\Game\\game.exe"), 0x7FF612340000ull, 0x100000, 5},
                   {QStringLiteral("C:\\Windows\\System32\\ntdll.dll"), 0x7FFA12300000ull, 0x200000, 6}};
    writeFile(tree.mailFolder + QStringLiteral("/game.exe.1234.dmp"), buildUserDump(app).bytes);
    tree.dumps.push_back({tree.mailFolder + QStringLiteral("/game.exe.1234.dmp"), 0xC0000005, {}, at(3, 5, 20, 16), QStringLiteral("ntdll.dll"), true});

    // A dump Windows did not finish: zero bytes where the header should be.
    writeFile(minidump + QStringLiteral("031524-9999-01.dmp"), QByteArray(0x3000, '\0'));
    tree.dumps.push_back({minidump + QStringLiteral("031524-9999-01.dmp"), 0, {}, {}, {}, false});

    std::stable_sort(tree.dumps.begin(), tree.dumps.end(), [](const SampleDump& a, const SampleDump& b) {
        if (a.readable != b.readable)
            return a.readable;
        return a.crashTime > b.crashTime;
    });
    return tree;
}

}  // namespace tervolin::test
