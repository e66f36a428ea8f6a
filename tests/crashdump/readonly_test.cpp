// Reading never changes what it reads (bytes and time stamps) and never reads a whole dump.
#include <gtest/gtest.h>

#include "platform/crashdump/dumpreader.h"
#include "platform/crashdump/dumpscanner.h"
#include "tests/crashdump/dumpbuilder.h"
#include "tests/support/testsupport.h"

#include <QFile>

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tervolin::platform::crashdump;
using namespace tervolin::test;
using namespace tervolin::test::dumps;

namespace {

struct Stamp {
    timespec atime{};
    timespec mtime{};
    timespec ctime{};
};

bool operator==(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

Stamp stampOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return {info.st_atim, info.st_mtim, info.st_ctim};
}

// Access time two days back, modification three: an ordinary read would move the access time (relatime).
void ageTimes(const QString& path)
{
    const time_t now = ::time(nullptr);
    const timespec times[2] = {{now - 2 * 86400, 0}, {now - 3 * 86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether this file system records access times at all (noatime mounts do not).
bool accessTimesRecorded(const QString& dir)
{
    const QString probe = dir + QStringLiteral("/probe");
    writeFile(probe, QByteArray(100, 'p'));
    ageTimes(probe);
    const Stamp before = stampOf(probe);
    {
        QFile file(probe);
        file.open(QIODevice::ReadOnly);
        file.readAll();
    }
    return !(stampOf(probe).atime == before.atime);
}

struct Subject {
    const char* name;
    QByteArray bytes;
    const char* file;
};

void PrintTo(const Subject& s, std::ostream* os) { *os << s.name; }

class ReadOnly : public ::testing::TestWithParam<Subject> {};

TEST_P(ReadOnly, BytesAndTimesUnchanged)
{
    const QString dir = scratchDir();
    const QString path = dir + QLatin1Char('/') + QString::fromLatin1(GetParam().file);
    ASSERT_TRUE(writeFile(path, GetParam().bytes));
    ageTimes(path);
    const Stamp before = stampOf(path);

    readDump(path);
    scanPaths({path});
    scanPaths({dir});

    const Stamp after = stampOf(path);
    EXPECT_EQ(contentOf(path), GetParam().bytes);
    EXPECT_TRUE(after.mtime == before.mtime);
    EXPECT_TRUE(after.ctime == before.ctime);
    if (!accessTimesRecorded(dir))
        GTEST_SKIP() << "this file system does not record access times; bytes and modification time were checked";
    // contentOf above read the file the ordinary way after the check; compare the stamp taken before it.
    EXPECT_TRUE(after.atime == before.atime) << "the access time moved";
}

std::vector<Subject> subjects()
{
    return {
        {"small dump", buildKernelDump(typicalSmallDump(1, 20)).bytes, "Mini.dmp"},
        {"application dump", buildUserDump(UserDumpSpec{}).bytes, "app.dmp"},
        {"truncated dump", buildKernelDump(typicalSmallDump(2, 20)).bytes.left(0x2100), "cut.dmp"},
        {"archive", buildArchive(ArchiveFormat::Zip, {{QStringLiteral("a.dmp"), buildKernelDump(typicalSmallDump(3, 5)).bytes}}),
         "a.zip"},
    };
}

INSTANTIATE_TEST_SUITE_P(Files, ReadOnly, ::testing::ValuesIn(subjects()));

// Counts what a reader asks of the source underneath.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(ByteSource& inner) : inner_(inner) {}
    quint64 size() override { return inner_.size(); }
    quint64 bytesRead = 0;
    quint64 largestRead = 0;

protected:
    qint64 readAt(quint64 offset, quint64 size, char* into) override
    {
        bytesRead += size;
        largestRead = std::max(largestRead, size);
        const ByteSpan span = inner_.read(offset, size);
        if (!span.isEmpty())
            std::memcpy(into, span.bytes(span.base(), span.size()).data(), size_t(span.size()));
        return qint64(span.size());
    }

private:
    ByteSource& inner_;
};

TEST(BoundedReads, A16GiBDumpIsReadByItsHeader)
{
    KernelDumpSpec spec;
    spec.dumpType = 1;
    spec.code = 0xEF;
    spec.totalSize = 16ull << 30;
    const QString path = scratchDir() + QStringLiteral("/MEMORY.DMP");
    ASSERT_TRUE(writeFile(path, buildKernelDump(spec).bytes));
    ASSERT_TRUE(QFile::resize(path, qint64(spec.totalSize)));  // sparse: no disk space is used
    QString error;
    auto file = FileSource::open(path, &error);
    ASSERT_TRUE(file) << error.toStdString();
    CountingSource counting(*file);
    const DumpInfo info = readDump(counting, path);
    ASSERT_TRUE(info.ok());
    EXPECT_EQ(info.code, 0xEFu);
    EXPECT_TRUE(info.warnings.empty());
    EXPECT_LE(counting.bytesRead, 0x3000u);
}

TEST(BoundedReads, HugeCountsReadLittle)
{
    Built built = buildKernelDump(typicalSmallDump(4, 10));
    const quint64 triage = built.offsets.at(QStringLiteral("triage"));
    put32(built.bytes, triage + 0x34, 0xFFFFFFFF);         // driver count
    put32(built.bytes, triage + 0x3C, 0xFFFFFFFF);         // string pool size
    put32(built.bytes, triage + 0x2C, 0xFFFFFFFF);         // stack size
    put64(built.bytes, built.offsets.at(QStringLiteral("unloaded")), ~0ull);
    MemorySource memory(built.bytes, 1ull << 40);           // a file that claims a terabyte
    CountingSource counting(memory);
    const DumpInfo info = readDump(counting, QStringLiteral("x.dmp"));
    ASSERT_TRUE(info.ok());
    EXPECT_LE(counting.largestRead, ByteSource::kMaxSlice);
    EXPECT_LE(counting.bytesRead, 16u << 20);
}

}  // namespace
