#pragma once
// Finding the crash dumps of a Windows installation on the mounted volumes: a volume that holds Windows/System32
// (names compared without regard to case, as NTFS compares them) is one, and its Windows/Minidump,
// Windows/MEMORY.DMP and Windows/LiveKernelReports are where Windows writes its dumps. Only looks: nothing is
// opened for writing, nothing mounted.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace tervolin::app {

struct MountedVolume
{
    QString root;          // the mount point
    QByteArray fileSystem; // "ntfs3", "fuseblk", "ext4", …
};

struct WindowsInstallation
{
    QString root;           // the volume's mount point
    QString windowsFolder;  // its Windows folder, spelt as on the volume
    QStringList dumpPaths;  // the dump folders and files there, spelt as on the volume
    QStringList unreadable; // those of them that cannot be read, each with the reason (Chinese)
};

/// The volumes mounted now (QStorageInfo), without network file systems, which could hang a look at their root.
std::vector<MountedVolume> mountedVolumes();

/// The Windows installations on `volumes`.
std::vector<WindowsInstallation> findWindowsInstallations(const std::vector<MountedVolume>& volumes);

/// How to mount a Windows partition read-only, for when none is found or its dumps cannot be read.
QString mountAdvice();

}  // namespace tervolin::app
