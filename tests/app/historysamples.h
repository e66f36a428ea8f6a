#pragma once
// A Windows installation's crash dumps as a technician finds them, written by the test dump builder: small dumps
// in Windows/Minidump with drivers that are to blame in different ways, a kernel dump (MEMORY.DMP), a live dump
// in LiveKernelReports, and beside the installation an application dump, an archive that came by mail and a
// dump Windows never finished writing. For the crash-history tests and the README's screenshots.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace tervolin::test {

struct SampleDump
{
    QString path;             // as the history names it ("…/mail/dumps.zip/020124-9828-01.dmp" in the archive)
    std::uint32_t code = 0;   // the stop code as stored
    QString searchKey;        // what the main window is asked to search ("0x0000007E" for 0x1000007E)
    QDateTime crashTime;      // UTC; invalid for dumps without one
    QString suspect;          // the driver the history names, empty for none
    bool readable = true;
};

struct SampleTree
{
    QString root;
    QString windowsFolder;   // root/Windows (with System32)
    QString mailFolder;      // root/mail
    std::vector<SampleDump> dumps;  // newest crash first, as the history lists them

    /// The dump with this stop code (each code is used once but for 0x9F, whose small dump comes first).
    const SampleDump& withCode(std::uint32_t code) const;
};

/// Writes the samples under `root` (created). Crash times fall in 2024 at fixed hours (UTC).
SampleTree writeSampleTree(const QString& root);

}  // namespace tervolin::test
