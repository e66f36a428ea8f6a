#pragma once
// Helpers shared by the crash-dump tests.

#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/dumpinfo.h"
#include "platform/crashdump/dumpreader.h"

#include <QStringList>

namespace tervolin::test {

/// Reads dump bytes from memory, named `name`.
inline platform::crashdump::DumpInfo readBytes(const QByteArray& bytes, const QString& name = QStringLiteral("x.dmp"))
{
    platform::crashdump::MemorySource source(bytes);
    return platform::crashdump::readDump(source, name);
}

/// The kinds of the warnings of `info`, for messages.
inline QString warningList(const platform::crashdump::DumpInfo& info)
{
    QStringList lines;
    for (const auto& w : info.warnings)
        lines << QStringLiteral("%1: %2").arg(int(w.kind)).arg(w.message);
    return lines.join(QStringLiteral("; "));
}

}  // namespace tervolin::test
