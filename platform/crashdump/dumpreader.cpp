#include "platform/crashdump/dumpreader.h"

#include "platform/crashdump/kerneldump.h"
#include "platform/crashdump/userdump.h"

#include <algorithm>

namespace tervolin::platform::crashdump {

namespace {

static_assert(kHeadBytes == 0x2000 + triage::kHeaderBytes);

QString leadingBytes(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 8)).toByteArray().toHex(' '));
}

}  // namespace

FileKind sniff(QByteArrayView first)
{
    if (first.startsWith("PAGEDU64"))
        return FileKind::Kernel64;
    if (first.startsWith("PAGEDUMP"))
        return FileKind::Kernel32;
    if (first.startsWith("MDMP"))
        return FileKind::User;
    if (first.startsWith("PK\x03\x04") || first.startsWith("PK\x05\x06") || first.startsWith("MSCF") ||
        first.startsWith(QByteArrayView("7z\xBC\xAF\x27\x1C", 6)))
        return FileKind::Archive;
    return FileKind::Other;
}

bool isInLiveReportsFolder(const QString& name)
{
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const auto parts = QStringView(path).split(QLatin1Char('/'));
    return std::any_of(parts.begin(), parts.end(), [](QStringView part) {
        return part.compare(QLatin1String("LiveKernelReports"), Qt::CaseInsensitive) == 0;
    });
}

DumpInfo readDump(const QString& path, const ReadOptions& options)
{
    QString error;
    auto source = FileSource::open(path, &error);
    if (!source)
        return DumpInfo::failure(path, ReadError::CannotOpen, error);
    return readDump(*source, path, options);
}

DumpInfo readDump(ByteSource& source, const QString& name, const ReadOptions& options)
{
    const quint64 size = source.size();
    if (size == 0)
        return DumpInfo::failure(name, ReadError::NotADump, QStringLiteral("the file is empty"));
    const ByteSpan head = source.read(0, kHeadBytes);
    if (head.isEmpty())
        return DumpInfo::failure(name, ReadError::CannotOpen, QStringLiteral("the file cannot be read"));
    const QByteArrayView first = head.bytes(0, std::min<quint64>(head.size(), 8));

    DumpInfo info;
    info.file = name;
    switch (sniff(first)) {
    case FileKind::Kernel64:
    case FileKind::Kernel32: {
        const KernelLayout& layout = sniff(first) == FileKind::Kernel64 ? kernelLayout64() : kernelLayout32();
        if (head.size() < layout.minimumHeader)
            return DumpInfo::failure(name, ReadError::HeaderIncomplete,
                          QStringLiteral("the dump header is cut off after %1 bytes, before the stop code and its "
                                         "parameters")
                              .arg(head.size()));
        readKernelDump(source, head, layout, options, info);
        break;
    }
    case FileKind::User:
        if (head.size() < 0x20)
            return DumpInfo::failure(name, ReadError::HeaderIncomplete,
                          QStringLiteral("the minidump header is cut off after %1 bytes").arg(head.size()));
        readUserDump(source, head, options, info);
        break;
    case FileKind::Archive:
        return DumpInfo::failure(name, ReadError::NotADump,
                      QStringLiteral("the file is an archive (zip, 7z or cab), not a dump; open it as an archive"));
    case FileKind::Other:
        if (first.startsWith("PAGE") && first.size() < 8)
            return DumpInfo::failure(name, ReadError::HeaderIncomplete,
                          QStringLiteral("the dump header is cut off after %1 bytes").arg(head.size()));
        if (first.startsWith("PAGE"))
            return DumpInfo::failure(name, ReadError::UnknownVariant,
                          QStringLiteral("the file starts like a kernel dump (PAGE) but with an unknown marker (%1)")
                              .arg(leadingBytes(first)));
        if (std::all_of(first.begin(), first.end(), [](char c) { return c == 0; }))
            return DumpInfo::failure(name, ReadError::Unfinished,
                          QStringLiteral("the file starts with zero bytes: Windows did not finish writing this dump "
                                         "(the computer restarted or lost power while it was written)"));
        if (size < 8)
            return DumpInfo::failure(name, ReadError::NotADump,
                          QStringLiteral("the file is too short to be a crash dump (%1 bytes)").arg(size));
        return DumpInfo::failure(name, ReadError::NotADump,
                      QStringLiteral("the file is not a crash dump (it starts with %1)").arg(leadingBytes(first)));
    }
    if (isInLiveReportsFolder(name) && info.format != DumpFormat::User)
        info.live = true;
    return info;
}

}  // namespace tervolin::platform::crashdump
