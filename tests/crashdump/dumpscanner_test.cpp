// Scanning files, folders and archives: every dump found, every bad file listed with its reason, the rest read.
#include <gtest/gtest.h>

#include "platform/crashdump/dumpscanner.h"
#include "tests/crashdump/crashdumptest.h"
#include "tests/crashdump/dumpbuilder.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <map>
#include <unistd.h>

using namespace tervolin::platform::crashdump;
using namespace tervolin::test;
using namespace tervolin::test::dumps;

namespace {

QDateTime day(int d) { return QDateTime(QDate(2024, 1, d), QTime(12, 0), Qt::UTC); }

QByteArray small64(int d)
{
    KernelDumpSpec s = typicalSmallDump(d, 5);
    s.crashTime = day(d);
    return buildKernelDump(s).bytes;
}

QByteArray small32(int d)
{
    KernelDumpSpec s;
    s.is64 = false;
    s.machine = 0x14C;
    s.code = 0x0A;
    s.crashTime = day(d);
    s.drivers = {{QStringLiteral("ntkrnlpa.exe"), 0x82A00000, 0x400000, 1}};
    return buildKernelDump(s).bytes;
}

// A dump without triage data: only its header says what stopped and when.
QByteArray headerOnly(quint32 dumpType, quint32 code, int d)
{
    KernelDumpSpec s;
    s.dumpType = dumpType;
    s.code = code;
    s.crashTime = day(d);
    return buildKernelDump(s).bytes;
}

QByteArray complete(int d) { return headerOnly(1, 0x9F, d); }
QByteArray bitmap(int d) { return headerOnly(5, 0x133, d); }
QByteArray live(int d) { return headerOnly(6, 0x141, d); }

QByteArray user()
{
    UserDumpSpec s;
    s.timestamp = quint32(day(3).toSecsSinceEpoch());
    s.modules = {{QStringLiteral("C:\\app\\app.exe"), 0x400000, 0x1000, 1}};
    return buildUserDump(s).bytes;
}

std::map<QString, DumpInfo> byName(std::vector<DumpInfo> results, const QString& root)
{
    std::map<QString, DumpInfo> map;
    for (DumpInfo& info : results) {
        const QString name = info.file.startsWith(root) ? info.file.mid(root.size() + 1) : info.file;
        EXPECT_EQ(map.count(name), 0u) << name.toStdString();
        map[name] = std::move(info);
    }
    return map;
}

const ArchiveEntries& archiveContent()
{
    static const ArchiveEntries entries = {
        {QStringLiteral("Minidump/Mini010124-01.dmp"), small64(1)},
        {QStringLiteral("Minidump/Mini010224-01.dmp"), small32(2)},
        {QStringLiteral("MEMORY.DMP"), complete(4)},
        {QStringLiteral("bitmap.dmp"), bitmap(5)},
        {QStringLiteral("LiveKernelReports/WATCHDOG/WD-1.dmp"), live(6)},
        {QStringLiteral("app.exe.123.dmp"), user()},
        {QStringLiteral("readme.txt"), QByteArray("see the dumps\n")},
        {QStringLiteral("notadump.dmp"), QByteArray("nothing here")},
        {QString::fromUtf8("蓝屏/Mini.dmp"), small64(7)},
    };
    return entries;
}

void expectArchiveContent(const std::map<QString, DumpInfo>& found, const QString& archive)
{
    const auto get = [&](const char* entry) -> const DumpInfo& {
        const QString key = archive + QLatin1Char('/') + QString::fromUtf8(entry);
        EXPECT_EQ(found.count(key), 1u) << key.toStdString();
        static const DumpInfo missing;
        return found.count(key) ? found.at(key) : missing;
    };
    EXPECT_EQ(found.size(), 8u);  // readme.txt is skipped
    EXPECT_EQ(get("Minidump/Mini010124-01.dmp").code, 0x3Bu);
    EXPECT_EQ(get("Minidump/Mini010124-01.dmp").drivers.size(), 7u);
    EXPECT_EQ(get("Minidump/Mini010224-01.dmp").format, DumpFormat::Kernel32);
    EXPECT_EQ(get("MEMORY.DMP").dumpType, 1u);
    EXPECT_EQ(get("bitmap.dmp").dumpType, 5u);
    EXPECT_TRUE(get("LiveKernelReports/WATCHDOG/WD-1.dmp").live);
    EXPECT_EQ(get("app.exe.123.dmp").program, QStringLiteral("app.exe"));
    EXPECT_EQ(get("notadump.dmp").errorKind, ReadError::NotADump);
    EXPECT_EQ(get("蓝屏/Mini.dmp").crashTime, day(7));
    for (const auto& [name, info] : found) {
        if (info.ok()) {
            EXPECT_TRUE(info.warnings.empty()) << name.toStdString() << ": " << warningList(info).toStdString();
        }
    }
}

struct ArchiveCase {
    const char* name;
    ArchiveFormat format;
    const char* file;
};

void PrintTo(const ArchiveCase& c, std::ostream* os) { *os << c.name; }

class ArchiveScan : public ::testing::TestWithParam<ArchiveCase> {};

TEST_P(ArchiveScan, EveryKindOfDumpInside)
{
    const QString dir = scratchDir();
    const QString path = dir + QLatin1Char('/') + QString::fromLatin1(GetParam().file);
    ASSERT_TRUE(writeFile(path, buildArchive(GetParam().format, archiveContent())));
    expectArchiveContent(byName(scanPaths({path}), dir), QString::fromLatin1(GetParam().file));
}

INSTANTIATE_TEST_SUITE_P(Formats, ArchiveScan,
                         ::testing::Values(ArchiveCase{"zip", ArchiveFormat::Zip, "dumps.zip"},
                                           ArchiveCase{"sevenzip", ArchiveFormat::SevenZip, "dumps.7z"},
                                           ArchiveCase{"cab", ArchiveFormat::Cab, "dumps.cab"},
                                           // The contents decide, not the name.
                                           ArchiveCase{"zip named dmp", ArchiveFormat::Zip, "mail-attachment.dmp"}));

TEST(ArchiveScan, CompressedCabinetMadeByGcab)
{
    const QString gcab = QStandardPaths::findExecutable(QStringLiteral("gcab"));
    if (gcab.isEmpty())
        GTEST_SKIP() << "gcab is not installed (scripts/setup installs it)";
    const QString dir = scratchDir();
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/in/Mini010124-01.dmp"), small64(1)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/in/app.dmp"), user()));
    QProcess process;
    process.setWorkingDirectory(dir + QStringLiteral("/in"));
    process.start(gcab, {QStringLiteral("-c"), QStringLiteral("-z"), dir + QStringLiteral("/packed.cab"),
                         QStringLiteral("Mini010124-01.dmp"), QStringLiteral("app.dmp")});
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const auto found = byName(scanPaths({dir + QStringLiteral("/packed.cab")}), dir);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found.at(QStringLiteral("packed.cab/Mini010124-01.dmp")).drivers.size(), 7u);
    EXPECT_EQ(found.at(QStringLiteral("packed.cab/app.dmp")).format, DumpFormat::User);
}

TEST(ArchiveScan, DamagedNestedAndCapped)
{
    const QString dir = scratchDir();
    const QByteArray zip = buildArchive(ArchiveFormat::Zip, archiveContent());
    // A zip cut in half: the entries before the cut are read, then the damage is reported.
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/cut.zip"), zip.left(zip.size() / 2)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/nested.zip"),
                          buildArchive(ArchiveFormat::Zip, {{QStringLiteral("inner.zip"), zip},
                                                            {QStringLiteral("Mini.dmp"), small64(9)}})));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/garbage.7z"), QByteArray("7z\xBC\xAF\x27\x1C", 6) + QByteArray(100, 'x')));
    const auto found = byName(scanPaths({dir + QStringLiteral("/cut.zip"), dir + QStringLiteral("/nested.zip"),
                                         dir + QStringLiteral("/garbage.7z")}),
                              dir);
    ASSERT_TRUE(found.count(QStringLiteral("cut.zip")));
    EXPECT_EQ(found.at(QStringLiteral("cut.zip")).errorKind, ReadError::ArchiveUnreadable);
    EXPECT_TRUE(found.count(QStringLiteral("cut.zip/Minidump/Mini010124-01.dmp")));
    EXPECT_EQ(found.at(QStringLiteral("nested.zip/inner.zip")).errorKind, ReadError::NestedArchive);
    EXPECT_TRUE(found.at(QStringLiteral("nested.zip/Mini.dmp")).ok());
    EXPECT_EQ(found.at(QStringLiteral("garbage.7z")).errorKind, ReadError::ArchiveUnreadable);

    // An entry larger than the cap: the header is read, the rest left in the archive.
    KernelDumpSpec big;
    big.dumpType = 1;
    big.code = 0x7B;
    big.totalSize = 3u << 20;
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/big.zip"),
                          buildArchive(ArchiveFormat::Zip, {{QStringLiteral("MEMORY.DMP"), buildKernelDump(big).bytes}})));
    ScanOptions limits;
    limits.entryCap = 1u << 20;
    const auto capped = byName(scanPaths({dir + QStringLiteral("/big.zip")}, nullptr, limits), dir);
    const DumpInfo& memory = capped.at(QStringLiteral("big.zip/MEMORY.DMP"));
    ASSERT_TRUE(memory.ok());
    EXPECT_EQ(memory.code, 0x7Bu);
    EXPECT_FALSE(memory.hasWarning(WarningKind::Truncated));  // the archive's size counts, not the bytes read
}

TEST(FolderScan, ReadsTheGoodAndListsTheBad)
{
    const QString dir = scratchDir();
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/Minidump/Mini010124-01.dmp"), small64(1)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/Minidump/Mini010224-01.dmp"), small32(2)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/Minidump/broken.dmp"), QByteArray("garbage")));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/Minidump/unfinished.dmp"), QByteArray(65536, '\0')));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/Minidump/empty.dmp"), QByteArray()));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/Minidump/readme.txt"), QByteArray("not scanned")));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/Minidump/old/deeper/MINI.DMP"), small64(3)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/MEMORY.DMP"), complete(4)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/LiveKernelReports/WATCHDOG/WD.dmp"), live(6)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/Windows/packed.zip"),
                          buildArchive(ArchiveFormat::Zip, {{QStringLiteral("a.dmp"), small64(8)}})));
    // A junction-like link back up the tree is not followed.
    ASSERT_TRUE(QFile::link(dir + QStringLiteral("/Windows"), dir + QStringLiteral("/Windows/Minidump/loop")));
    // A named file is read whatever its name.
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/renamed.bin"), small64(10)));

    std::vector<std::pair<qint64, qint64>> progress;
    std::vector<DumpInfo> results;
    ScanCallbacks callbacks;
    callbacks.result = [&](DumpInfo&& info) { results.push_back(std::move(info)); };
    callbacks.progress = [&](qint64 done, qint64 total) { progress.emplace_back(done, total); };
    ASSERT_TRUE(scanPaths({dir + QStringLiteral("/Windows"), dir + QStringLiteral("/renamed.bin"),
                           dir + QStringLiteral("/missing.dmp")},
                          callbacks));
    const auto found = byName(results, dir);
    EXPECT_EQ(found.size(), 11u);
    EXPECT_TRUE(found.at(QStringLiteral("Windows/Minidump/Mini010124-01.dmp")).ok());
    EXPECT_TRUE(found.at(QStringLiteral("Windows/Minidump/Mini010224-01.dmp")).ok());
    EXPECT_EQ(found.at(QStringLiteral("Windows/Minidump/broken.dmp")).errorKind, ReadError::NotADump);
    EXPECT_EQ(found.at(QStringLiteral("Windows/Minidump/unfinished.dmp")).errorKind, ReadError::Unfinished);
    EXPECT_EQ(found.at(QStringLiteral("Windows/Minidump/empty.dmp")).errorKind, ReadError::NotADump);
    EXPECT_TRUE(found.at(QStringLiteral("Windows/Minidump/old/deeper/MINI.DMP")).ok());
    EXPECT_EQ(found.at(QStringLiteral("Windows/MEMORY.DMP")).dumpType, 1u);
    EXPECT_TRUE(found.at(QStringLiteral("Windows/LiveKernelReports/WATCHDOG/WD.dmp")).live);
    EXPECT_TRUE(found.at(QStringLiteral("Windows/packed.zip/a.dmp")).ok());
    EXPECT_TRUE(found.at(QStringLiteral("renamed.bin")).ok());
    EXPECT_EQ(found.at(QStringLiteral("missing.dmp")).errorKind, ReadError::CannotOpen);
    EXPECT_EQ(found.count(QStringLiteral("Windows/Minidump/readme.txt")), 0u);
    // Progress: the total first, then one step per file (the archive is one).
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), std::make_pair(qint64(0), qint64(11)));
    EXPECT_EQ(progress.back(), std::make_pair(qint64(11), qint64(11)));
    for (size_t i = 1; i < progress.size(); ++i)
        EXPECT_EQ(progress[i].first, progress[i - 1].first + 1);
}

TEST(FolderScan, UnreadableFolderIsListed)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not apply";
    const QString dir = scratchDir();
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/ok/a.dmp"), small64(1)));
    ASSERT_TRUE(QDir().mkpath(dir + QStringLiteral("/locked")));
    QFile::setPermissions(dir + QStringLiteral("/locked"), QFileDevice::Permissions());
    const auto found = byName(scanPaths({dir}), dir);
    QFile::setPermissions(dir + QStringLiteral("/locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(found.at(QStringLiteral("ok/a.dmp")).ok());
    EXPECT_EQ(found.at(QStringLiteral("locked")).errorKind, ReadError::CannotOpen);
}

TEST(FolderScan, CancelStopsBetweenFiles)
{
    const QString dir = scratchDir();
    for (int i = 1; i <= 5; ++i)
        ASSERT_TRUE(writeFile(dir + QStringLiteral("/Mini%1.dmp").arg(i), small64(i)));
    ASSERT_TRUE(writeFile(dir + QStringLiteral("/z.zip"), buildArchive(ArchiveFormat::Zip, archiveContent())));
    std::atomic_bool cancel{false};
    int seen = 0;
    ScanCallbacks callbacks;
    callbacks.result = [&](DumpInfo&&) {
        if (++seen == 2)
            cancel = true;
    };
    EXPECT_FALSE(scanPaths({dir}, callbacks, &cancel));
    EXPECT_EQ(seen, 2);

    // Inside an archive too, between entries.
    seen = 0;
    cancel = false;
    EXPECT_FALSE(scanPaths({dir + QStringLiteral("/z.zip")}, callbacks, &cancel));
    EXPECT_EQ(seen, 2);
    // A flag already set reads nothing.
    seen = 0;
    EXPECT_FALSE(scanPaths({dir}, callbacks, &cancel));
    EXPECT_EQ(seen, 0);
}

TEST(FolderScan, NamesLookedAt)
{
    for (const char* name : {"Mini.dmp", "MEMORY.DMP", "a.mdmp", "a.hdmp", "x.ZIP", "x.7z", "x.cab"})
        EXPECT_TRUE(isScannedName(QString::fromLatin1(name))) << name;
    for (const char* name : {"readme.txt", "dmp", "x.dmp.txt", "x.tar"})
        EXPECT_FALSE(isScannedName(QString::fromLatin1(name))) << name;
}

TEST(SortNewestFirst, ByCrashTimeThenUnknownThenUnreadable)
{
    std::vector<DumpInfo> dumps(6);
    dumps[0].file = QStringLiteral("c-no-time");
    dumps[1].file = QStringLiteral("old");
    dumps[1].crashTime = day(1);
    dumps[2].file = QStringLiteral("bad");
    dumps[2].errorKind = ReadError::NotADump;
    dumps[3].file = QStringLiteral("new");
    dumps[3].crashTime = day(9);
    dumps[4].file = QStringLiteral("a-no-time");
    dumps[5].file = QStringLiteral("same-time-b");
    dumps[5].crashTime = day(1);
    sortNewestFirst(dumps);
    QStringList order;
    for (const DumpInfo& d : dumps)
        order << d.file;
    EXPECT_EQ(order.join(QLatin1Char(' ')), QStringLiteral("new old same-time-b a-no-time c-no-time bad"));
}

}  // namespace
