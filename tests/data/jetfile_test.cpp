#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <random>

#include "platform/data/jet/jetfile.h"
#include "platform/data/jet/jetquery.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform::data::jet;

namespace {

QString fixture(const char* name) { return tervolin::test::sharedDir() + QStringLiteral("/fixtures/jet/") + QLatin1String(name); }

QByteArray readAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString writeScratch(const QString& name, const QByteArray& bytes)
{
    const QString path = tervolin::test::scratchDir() + QLatin1Char('/') + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QStringList column(const QString& path, const char* table, const char* name)
{
    QString error;
    const std::unique_ptr<JetFile> file = JetFile::open(path, &error);
    EXPECT_TRUE(file) << error.toStdString();
    if (!file)
        return {};
    const std::unique_ptr<JetTable> t = file->openTable(QString::fromUtf8(table), {QString::fromUtf8(name)}, &error);
    EXPECT_TRUE(t) << error.toStdString();
    QStringList values;
    QString value;
    while (t && t->next(&error)) {
        EXPECT_TRUE(t->text(0, &value, &error)) << error.toStdString();
        values.append(value);
    }
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return values;
}

// Every statement the tool issues, run to the end; the first error, or an empty text.
QString scanEverything(const QString& path)
{
    QString error;
    const std::unique_ptr<JetFile> file = JetFile::open(path, &error);
    if (!file)
        return error;
    for (const char* sql : {"SELECT daima FROM lanping", "select * from lanping",
                            "select fenxi,jiejue from lanping where daima='LONGTEXT'"}) {
        const std::unique_ptr<JetQuery> q =
            JetQuery::prepare(*file, QString::fromUtf8(sql), {QStringLiteral("daima"), QStringLiteral("fenxi"), QStringLiteral("jiejue")}, &error);
        if (!q)
            return error;
        while (q->step(&error)) {
        }
        if (!error.isEmpty())
            return error;
    }
    return {};
}

}  // namespace

TEST(JetFile, RecognisesTheJetSignature)
{
    EXPECT_TRUE(hasJetSignature(QByteArrayView("\x00\x01\x00\x00Standard Jet DB\x00", 20)));
    EXPECT_TRUE(hasJetSignature(QByteArrayView("\x00\x01\x00\x00Standard ACE DB\x00", 20)));
    EXPECT_FALSE(hasJetSignature(QByteArrayView("SQLite format 3\x00\x10\x00", 18)));
    EXPECT_FALSE(hasJetSignature(QByteArrayView("\x00\x01\x00\x00Standard Jet", 16)));
}

TEST(JetFile, DecodesCompressedUnicodeAndJet3Texts)
{
    TERVOLIN_REQUIRE_SHARED();
    const QStringList unicode = column(fixture("jackcess_testUnicodeCompV2003.mdb"), "Table", "Unicode");
    ASSERT_GE(unicode.size(), 8);
    EXPECT_EQ(unicode[0], QStringLiteral("only ascii chars"));
    EXPECT_EQ(unicode[1], QStringLiteral("ääkkösiä"));
    EXPECT_EQ(unicode[2], QStringLiteral("Мир"));
    EXPECT_EQ(unicode[3], QString::fromUtf16(u"\u03F0\u03B1\u1F76 \u03C4\u1F79\u03C4' \u1F10\u03B3\u1F7C \u039A\u1F7B\u03F0\u03BB\u03C9\u03C0\u03B1"));
    EXPECT_EQ(unicode[4], QStringLiteral("漢字仮名交じり文"));
    EXPECT_TRUE(unicode[7].endsWith(QStringLiteral("ûüýþÿ")));

    const QStringList jet3 = column(fixture("jackcess_testV1997.mdb"), "table1", "a");
    ASSERT_GE(jet3.size(), 2);
    EXPECT_EQ(jet3[0], QStringLiteral("a"));
    EXPECT_EQ(jet3[1], QStringLiteral("abcdefg"));
}

TEST(JetFile, OpenErrorsAreClear)
{
    TERVOLIN_REQUIRE_SHARED();
    const QString text = writeScratch(QStringLiteral("notes.mdb"), "just some text, not a database\n");
    const QString empty = writeScratch(QStringLiteral("empty.mdb"), {});
    struct Case { QString path; const char* table; QStringList columns; const char* error; };
    const Case cases[] = {
        {fixture("jackcess_testUnicodeCompV2003.mdb"), "lanping", {}, "the database has no table \"lanping\""},
        {fixture("jackcess_testV1997.mdb"), "lanping", {}, "the database has no table \"lanping\""},
        {fixture("jackcess_testV1997.mdb"), "Table1", {QStringLiteral("C")}, "the column \"C\" of table \"Table1\" is not a Text or Memo column"},
        {fixture("lanping_sample.mdb"), "LANPING", {QStringLiteral("Daima"), QStringLiteral("zhushi")}, "the table \"LANPING\" has no column \"zhushi\""},
        {fixture("no_such_file.mdb"), "lanping", {}, "the file does not exist"},
        {text, "lanping", {}, "the file is not a Jet (Access) database"},
        {empty, "lanping", {}, "the file is not a Jet (Access) database"},
        {tervolin::test::scratchDir(), "lanping", {}, "the file does not exist"},
    };
    for (const Case& c : cases) {
        QString error;
        std::unique_ptr<JetFile> file = JetFile::open(c.path, &error);
        if (file && !file->openTable(QString::fromUtf8(c.table), c.columns, &error))
            file.reset();
        EXPECT_FALSE(file) << c.path.toStdString();
        EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.path.toStdString();
    }
}

TEST(JetFile, ReadingNeverChangesTheFile)
{
    TERVOLIN_REQUIRE_SHARED();
    for (const char* name : {"lanping_sample.mdb", "jackcess_testUnicodeCompV2003.mdb", "jackcess_testV1997.mdb"}) {
        const QByteArray before = QCryptographicHash::hash(readAll(fixture(name)), QCryptographicHash::Sha256);
        scanEverything(fixture(name));
        scanEverything(fixture(name));
        EXPECT_EQ(QCryptographicHash::hash(readAll(fixture(name)), QCryptographicHash::Sha256), before) << name;
    }
}

TEST(JetFile, TruncatedCopiesGiveErrors)
{
    TERVOLIN_REQUIRE_SHARED();
    const QByteArray original = readAll(fixture("lanping_sample.mdb"));
    ASSERT_EQ(scanEverything(fixture("lanping_sample.mdb")), QString());
    // Cut inside the header, at page boundaries before and after the table's pages, and inside a page.
    for (const qsizetype size : {qsizetype(10), qsizetype(100), qsizetype(4096), qsizetype(3 * 4096), qsizetype(15 * 4096),
                                 qsizetype(20 * 4096 + 77), qsizetype(29 * 4096), original.size() - 4096, original.size() - 1}) {
        const QString path = writeScratch(QStringLiteral("cut%1.mdb").arg(size), original.left(size));
        EXPECT_NE(scanEverything(path), QString()) << "truncated to " << size;
    }
}

// Damaged files must give errors or readable rows, never a crash (this test is meant for the sanitizer build too).
TEST(JetFile, ByteFlippedCopiesNeverCrash)
{
    TERVOLIN_REQUIRE_SHARED();
    const QByteArray original = readAll(fixture("lanping_sample.mdb"));
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/flipped.mdb");
    std::mt19937 random(20240611);
    int errors = 0;
    const int copies = 300;
    for (int n = 0; n < copies; ++n) {
        QByteArray bytes = original;
        // Aim at one page at a time, so that the catalogue, table definition, data and long-value pages are all hit.
        const qsizetype page = qsizetype(random() % quint32(original.size() / 4096));
        const int flips = 1 + int(random() % 6);
        for (int i = 0; i < flips; ++i)
            bytes[page * 4096 + qsizetype(random() % 4096)] ^= char(1 + random() % 255);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        if (!scanEverything(path).isEmpty())
            ++errors;
    }
    EXPECT_GT(errors, 0);
}
