#include "app/windowsvolumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace tervolin::app {
namespace {

// The entry of `folder` named `name` in any case (an exact spelling first), or empty.
QString entryNamed(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (dir.exists(name))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

bool isNetworkFileSystem(const QByteArray& type)
{
    static const QByteArrayList network = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "9p", "afs", "ceph", "glusterfs"};
    return network.contains(type);
}

// Empty when the folder or file can be read; else why not.
QString unreadableReason(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isReadable())
        return QStringLiteral("%1：没有读取权限").arg(path);
    if (info.isDir() && !QDir(path).isReadable())
        return QStringLiteral("%1：无法列出其中的文件").arg(path);
    return {};
}

}  // namespace

std::vector<MountedVolume> mountedVolumes()
{
    std::vector<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes())
        if (storage.isValid() && !isNetworkFileSystem(storage.fileSystemType()))
            volumes.push_back({storage.rootPath(), storage.fileSystemType()});
    return volumes;
}

std::vector<WindowsInstallation> findWindowsInstallations(const std::vector<MountedVolume>& volumes)
{
    std::vector<WindowsInstallation> found;
    for (const MountedVolume& volume : volumes) {
        const QString windows = entryNamed(volume.root, QStringLiteral("Windows"));
        if (windows.isEmpty() || !QFileInfo(windows).isDir())
            continue;
        const QString system32 = entryNamed(windows, QStringLiteral("System32"));
        if (system32.isEmpty() || !QFileInfo(system32).isDir())
            continue;
        WindowsInstallation installation{volume.root, windows, {}, {}};
        for (const QString& name : {QStringLiteral("Minidump"), QStringLiteral("MEMORY.DMP"), QStringLiteral("LiveKernelReports")}) {
            const QString path = entryNamed(windows, name);
            if (path.isEmpty())
                continue;
            if (const QString reason = unreadableReason(path); !reason.isEmpty())
                installation.unreadable << reason;
            else
                installation.dumpPaths << path;
        }
        found.push_back(std::move(installation));
    }
    return found;
}

QString mountAdvice()
{
    return QStringLiteral(
        "要读取 Windows 磁盘上的转储文件，请先以只读方式挂载它的 Windows 分区（NTFS）：\n"
        "1. 用 lsblk -f 找出 NTFS 分区，例如 /dev/sdb3；\n"
        "2. sudo mkdir -p /mnt/windows\n"
        "3. sudo mount -o ro /dev/sdXN /mnt/windows\n"
        "   或者使用 ntfs-3g：sudo ntfs-3g -o ro /dev/sdXN /mnt/windows\n"
        "（把 /dev/sdXN 换成第 1 步找到的分区。）Windows 处于休眠状态或开启了“快速启动”时，分区只能以只读方式挂载，"
        "这样也正好不会改动它。转储文件夹没有读取权限时，可以加上 -o ro,uid=$(id -u) 重新挂载，或者用 sudo 复制出转储文件。\n"
        "挂载之后，再单击“查找 Windows 分区”。");
}

}  // namespace tervolin::app
