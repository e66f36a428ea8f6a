// The checked window and the sources behind it: every read that does not fit yields nothing, offsets near the top
// of the 64-bit range do not wrap, and no source hands out more than one bounded slice.
#include <gtest/gtest.h>

#include "platform/crashdump/bytesource.h"
#include "platform/crashdump/bytespan.h"
#include "platform/crashdump/utf16.h"

#include <cstring>
#include <limits>

using namespace tervolin::platform::crashdump;

namespace {

constexpr quint64 kMax = std::numeric_limits<quint64>::max();

ByteSpan sample()
{
    // Eight bytes read from file offset 0x100.
    return ByteSpan(0x100, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
}

}  // namespace

TEST(ByteSpan, ChecksEveryReadAgainstTheBytesHeld)
{
    struct Case { quint64 offset; quint64 size; bool fits; };
    const Case cases[] = {
        {0x100, 8, true},   {0x100, 0, true},    {0x108, 0, true},   {0x107, 1, true},
        {0x107, 2, false},  {0xFF, 1, false},    {0x109, 0, false},  {0x100, 9, false},
        {0x104, kMax, false}, {kMax, 1, false},  {kMax - 3, 8, false}, {0, kMax, false},
    };
    const ByteSpan span = sample();
    for (const Case& c : cases) {
        EXPECT_EQ(span.contains(c.offset, c.size), c.fits) << std::hex << c.offset << "+" << c.size;
        EXPECT_EQ(span.read(c.offset, c.size).has_value(), c.fits) << std::hex << c.offset << "+" << c.size;
    }
}

TEST(ByteSpan, LittleEndianValuesAtAbsoluteOffsets)
{
    const ByteSpan span = sample();
    EXPECT_EQ(span.u8(0x100), 0x01);
    EXPECT_EQ(span.u16(0x100), 0x0201);
    EXPECT_EQ(span.u32(0x104), 0x08070605u);
    EXPECT_EQ(span.u64(0x100), 0x0807060504030201ull);
    EXPECT_EQ(span.word(0x104, 32), 0x08070605u);
    EXPECT_FALSE(span.u32(0x105));
    EXPECT_FALSE(span.u64(0x101));
    EXPECT_FALSE(span.u16(kMax));
    // A part keeps absolute offsets and cannot reach past itself.
    const auto part = span.read(0x102, 4);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->u32(0x102), 0x06050403u);
    EXPECT_FALSE(part->u8(0x106));
    EXPECT_FALSE(part->u8(0x101));
    EXPECT_TRUE(span.hasTag(0x100, "\x01\x02\x03\x04"));
    EXPECT_FALSE(span.hasTag(0x106, "\x07\x08\x00\x00"));
}

TEST(ByteSpan, ASpanEndingPastTheLargestOffsetHoldsNothing)
{
    const ByteSpan span(kMax - 2, QByteArray(8, 'x'));
    EXPECT_TRUE(span.isEmpty());
    EXPECT_FALSE(span.u8(kMax - 2));
}

TEST(ByteSource, ReadsAreBoundedAndShortAtTheEnd)
{
    MemorySource source(QByteArray(100, 'a'), 1000);
    EXPECT_EQ(source.size(), 1000u);
    EXPECT_EQ(source.read(90, 20).size(), 10u);  // the bytes held end at 100
    EXPECT_FALSE(source.readExact(90, 20));
    EXPECT_TRUE(source.readExact(90, 10));
    EXPECT_TRUE(source.read(500, 10).isEmpty());
    EXPECT_TRUE(source.read(0, ByteSource::kMaxSlice + 1).isEmpty());
    EXPECT_TRUE(source.read(kMax, 1).isEmpty());
}

TEST(ByteSource, StreamPullsOnlyAsFarAsAsked)
{
    QByteArray data(300000, '\0');
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i % 251);
    qint64 pulled = 0;
    StreamSource stream(
        [&](char* buffer, qint64 max) -> qint64 {
            const qint64 n = std::min<qint64>(max, data.size() - pulled);
            std::memcpy(buffer, data.constData() + pulled, size_t(n));
            pulled += n;
            return n;
        },
        quint64(data.size()), 200000);
    EXPECT_EQ(stream.read(10, 4).u8(12), 12 % 251);
    EXPECT_LT(pulled, 70000);  // one block, not the whole entry
    // Slices in any order, from the bytes kept.
    EXPECT_EQ(stream.read(150000, 1).u8(150000), 150000 % 251);
    EXPECT_EQ(stream.read(100, 1).u8(100), 100);
    // Past the cap nothing is read, and the stream says it was cut.
    EXPECT_TRUE(stream.read(250000, 8).isEmpty());
    EXPECT_TRUE(stream.capped());
    EXPECT_FALSE(stream.failed());
}

TEST(ByteSource, StreamErrorIsReported)
{
    StreamSource stream([](char*, qint64) -> qint64 { return -1; }, 0, 1000);
    EXPECT_TRUE(stream.read(0, 8).isEmpty());
    EXPECT_TRUE(stream.failed());
    EXPECT_EQ(stream.size(), 0u);
}

// A source that reads another one while it fills a read, as an archive entry pulls from its archive.
class RelaySource final : public ByteSource {
public:
    explicit RelaySource(ByteSource& inner) : inner_(inner) {}
    quint64 size() override { return inner_.size(); }

protected:
    qint64 readAt(quint64 offset, quint64 size, char* into) override
    {
        QByteArray wanted;
        {
            const ByteSpan span = inner_.read(offset, size);
            wanted = span.bytes(span.base(), span.size()).toByteArray();
        }
        // Then read ahead, as a decompressor does, before handing the bytes over.
        inner_.read(offset + 4096, size);
        inner_.read(offset + 8192, size);
        std::memcpy(into, wanted.constData(), size_t(wanted.size()));
        return qint64(wanted.size());
    }

private:
    ByteSource& inner_;
};

TEST(ByteSource, NestedReadsOnOneThreadKeepTheirBytes)
{
    QByteArray data(64 << 10, '\0');
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char((i * 7) % 251);
    const auto expected = [&](quint64 offset) { return quint8(data[qsizetype(offset)]); };
    MemorySource inner(data);
    RelaySource outer(inner);
    for (quint64 round = 0; round < 8; ++round) {
        const quint64 at = round * 512;
        const ByteSpan a = outer.read(at, 1000);
        const ByteSpan b = inner.read(at + 8192, 1000);  // from the inner source's last read
        ASSERT_EQ(a.size(), 1000u);
        ASSERT_EQ(b.size(), 1000u);
        for (quint64 i = 0; i < 1000; i += 97) {
            EXPECT_EQ(a.u8(at + i), expected(at + i)) << round << " " << i;
            EXPECT_EQ(b.u8(at + 8192 + i), expected(at + 8192 + i)) << round << " " << i;
        }
    }
}

TEST(Utf16Name, DecodesUntilNulAndReplacesWhatIsNotText)
{
    const auto utf16 = [](std::initializer_list<char16_t> units) {
        QByteArray bytes;
        for (char16_t u : units) {
            bytes.append(char(u & 0xFF));
            bytes.append(char(u >> 8));
        }
        return bytes;
    };
    struct Case { QByteArray bytes; qsizetype max; QString text; bool replaced; };
    const Case cases[] = {
        {utf16({'a', 'b', '.', 's', 'y', 's'}), 100, QStringLiteral("ab.sys"), false},
        {utf16({'a', 'b', 0, 'c'}), 100, QStringLiteral("ab"), false},
        {utf16({'a', 'b', 'c', 'd'}), 2, QStringLiteral("ab"), false},
        {utf16({'a', 0xD800, 'b'}), 100, QStringLiteral("a\uFFFDb"), true},         // lone high surrogate
        {utf16({0xDC00, 'x'}), 100, QStringLiteral("\uFFFDx"), true},               // lone low surrogate
        {utf16({0xD83D, 0xDE00}), 100, QString::fromUtf8("\xF0\x9F\x98\x80"), false},  // a pair stays
        {utf16({0xD83D}), 100, QStringLiteral("\uFFFD"), true},                     // a pair cut by the end
        {utf16({'a', 0x1B, '[', '2', 'J'}), 100, QStringLiteral("a\uFFFD[2J"), true},  // no terminal escapes
        {utf16({0x9A71, 0x52A8}), 100, QString::fromUtf8("驱动"), false},
        {QByteArray("a\0b", 3), 100, QStringLiteral("a"), false},  // an odd last byte is ignored
        {QByteArray(), 100, QString(), false},
        {utf16({'a'}), -5, QString(), false},
    };
    for (const Case& c : cases) {
        bool replaced = false;
        EXPECT_EQ(decodeUtf16Name(c.bytes, c.max, &replaced), c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(replaced, c.replaced) << c.bytes.toHex().constData();
    }
    EXPECT_EQ(baseName(QStringLiteral("C:\\Program Files\\App\\app.exe")), QStringLiteral("app.exe"));
    EXPECT_EQ(baseName(QStringLiteral("/usr/bin/x")), QStringLiteral("x"));
    EXPECT_EQ(baseName(QStringLiteral("plain")), QStringLiteral("plain"));
}
