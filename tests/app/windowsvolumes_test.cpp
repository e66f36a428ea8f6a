// Finding Windows installations on mounted volumes: names in any case, the three dump places, volumes without
// Windows, and dump folders that cannot be read.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDevice>

#include <unistd.h>

#include "app/windowsvolumes.h"
#include "tests/support/qtprinters.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;

namespace {

void makeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(WindowsVolumes, FindsSystem32InAnyCaseWithTheDumpPlacesThatExist)
{
    const QString upper = tervolin::test::scratchDir();
    QDir().mkpath(upper + QStringLiteral("/WINDOWS/SYSTEM32"));
    QDir().mkpath(upper + QStringLiteral("/WINDOWS/Minidump"));
    makeFile(upper + QStringLiteral("/WINDOWS/memory.dmp"));
    QDir().mkpath(upper + QStringLiteral("/WINDOWS/LiveKernelReports/WATCHDOG"));
    const QString lower = tervolin::test::scratchDir();
    QDir().mkpath(lower + QStringLiteral("/windows/system32"));
    const QString data = tervolin::test::scratchDir();
    QDir().mkpath(data + QStringLiteral("/Windows"));  // no System32: a folder of that name on a data disk
    makeFile(data + QStringLiteral("/Windows/MEMORY.DMP"));
    const QString fileNamedWindows = tervolin::test::scratchDir();
    makeFile(fileNamedWindows + QStringLiteral("/Windows"));

    const std::vector<WindowsInstallation> found = findWindowsInstallations(
        {{upper, "ntfs3"}, {lower, "fuseblk"}, {data, "ntfs3"}, {fileNamedWindows, "ext4"}, {QStringLiteral("/nonexistent"), "ntfs3"}});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].root, upper);
    EXPECT_EQ(found[0].windowsFolder, upper + QStringLiteral("/WINDOWS"));
    EXPECT_EQ(found[0].dumpPaths, (QStringList{upper + QStringLiteral("/WINDOWS/Minidump"), upper + QStringLiteral("/WINDOWS/memory.dmp"),
                                               upper + QStringLiteral("/WINDOWS/LiveKernelReports")}));
    EXPECT_TRUE(found[0].unreadable.isEmpty());
    EXPECT_EQ(found[1].windowsFolder, lower + QStringLiteral("/windows"));
    EXPECT_TRUE(found[1].dumpPaths.isEmpty());
}

TEST(WindowsVolumes, AnUnreadableDumpFolderIsNamedWithTheReason)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    const QString root = tervolin::test::scratchDir();
    QDir().mkpath(root + QStringLiteral("/Windows/System32"));
    QDir().mkpath(root + QStringLiteral("/Windows/Minidump"));
    QFile::setPermissions(root + QStringLiteral("/Windows/Minidump"), QFileDevice::Permissions());
    const std::vector<WindowsInstallation> found = findWindowsInstallations({{root, "ntfs3"}});
    QFile::setPermissions(root + QStringLiteral("/Windows/Minidump"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].dumpPaths.isEmpty());
    ASSERT_EQ(found[0].unreadable.size(), 1);
    EXPECT_TRUE(found[0].unreadable[0].startsWith(root + QStringLiteral("/Windows/Minidump：")));
}

TEST(WindowsVolumes, TheMountAdviceIsReadOnly)
{
    const QString advice = mountAdvice();
    EXPECT_TRUE(advice.contains(QStringLiteral("sudo mount -o ro /dev/sdXN /mnt/windows")));
    EXPECT_TRUE(advice.contains(QStringLiteral("ntfs-3g -o ro")));
    EXPECT_TRUE(advice.contains(QStringLiteral("快速启动")));
    EXPECT_FALSE(advice.contains(QStringLiteral("rw")));
}
