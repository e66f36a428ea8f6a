#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <csignal>
#include <random>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/data/dataerror.h"
#include "platform/data/engine.h"
#include "platform/data/jet/jetfile.h"
#include "platform/data/jet/jetquery.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform::data::jet;

namespace {

QString fixture(const char* name) { return tervolin::test::jetFixture(name); }

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
        const std::unique_ptr<JetQuery> q = JetQuery::prepare(*file, QString::fromUtf8(sql), &error);
        if (!q)
            return error;
        while (q->step(&error)) {
        }
        if (!error.isEmpty())
            return error;
    }
    return {};
}

// Opens `path` as the tool does at start: every table of the file scanned through JetFile, then the engine's
// open. Returns the JetFile error (empty on success) and the engine's error, one per line.
QString openEverything(const QString& path)
{
    QString jetError;
    if (const std::unique_ptr<JetFile> file = JetFile::open(path, &jetError)) {
        for (const QString& name : file->tableNames()) {
            const std::unique_ptr<JetTable> table = file->openTable(name, {}, &jetError);
            while (table && table->next(&jetError)) {
            }
            if (!jetError.isEmpty())
                break;
        }
    }
    QString engineError;
    try {
        tervolin::platform::data::openDatabaseFile(path);
    } catch (const tervolin::platform::data::DataError& e) {
        engineError = e.message();
    }
    return jetError + QLatin1Char('\n') + engineError;
}

struct Bounded {
    bool started = false;   // the pipe and the child could be made
    bool finished = false;  // false: the child was still running when the alarm killed it
    int status = 0;
    QString output;
};

// Runs openEverything(path) in a child process that an alarm kills after `seconds`. A damaged file has sent
// libmdb into an endless loop before; run in-process, a return of that fault would hang the whole suite
// instead of failing one test. The result comes back through a pipe.
Bounded openInChild(const QString& path, unsigned seconds)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        alarm(seconds);
        // libmdb prints a warning per step of such a loop; keep the test log readable.
        const int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0)
            dup2(devNull, STDERR_FILENO);
        const QByteArray result = openEverything(path).toUtf8();
        const bool written = write(fds[1], result.constData(), std::size_t(result.size())) == result.size();
        _exit(written ? 0 : 3);
    }
    close(fds[1]);
    Bounded outcome;
    QByteArray output;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, qsizetype(n));
    close(fds[0]);
    if (pid < 0 || waitpid(pid, &outcome.status, 0) != pid)
        return outcome;
    outcome.started = true;
    outcome.finished = !(WIFSIGNALED(outcome.status) && WTERMSIG(outcome.status) == SIGALRM);
    outcome.output = QString::fromUtf8(output);
    return outcome;
}

quint32 readU32(const QByteArray& bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

void writeU32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xff);
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
    const QString text = writeScratch(QStringLiteral("notes.mdb"), "just some text, not a database\n");
    const QString empty = writeScratch(QStringLiteral("empty.mdb"), {});
    // Cut before the catalogue's rows, and between the catalogue and the table's definition (page 24).
    const QByteArray sample = readAll(fixture("lanping_sample.mdb"));
    const QString noCatalogue = writeScratch(QStringLiteral("cut6.mdb"), sample.left(6 * 4096));
    const QString noDefinition = writeScratch(QStringLiteral("cut20.mdb"), sample.left(20 * 4096));
    // The catalogue's definition (page 2) with its Name column renamed.
    QByteArray renamed = sample;
    const char nameEntry[] = {8, 0, 'N', 0, 'a', 0, 'm', 0, 'e', 0};  // length, then UTF-16
    const QByteArray nameColumn(nameEntry, sizeof nameEntry);
    const qsizetype nameAt = renamed.indexOf(nameColumn, 2 * 4096);
    ASSERT_TRUE(nameAt > 2 * 4096 && nameAt < 3 * 4096);
    renamed[nameAt + 2] = 'X';
    const QString noNameColumn = writeScratch(QStringLiteral("renamed.mdb"), renamed);
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
        {noCatalogue, "lanping", {}, "the Jet database is damaged: its table catalogue declares 19 rows but 0 can be read"},
        {noDefinition, "lanping", {}, "the Jet database is damaged: the catalogue places table \"lanping\" on page 24, outside the file"},
        {noNameColumn, "lanping", {}, "the Jet database is damaged: its table catalogue has no Name column of the right type"},
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
    for (const char* name : {"lanping_sample.mdb", "jackcess_testUnicodeCompV2003.mdb", "jackcess_testV1997.mdb"}) {
        const QByteArray before = QCryptographicHash::hash(readAll(fixture(name)), QCryptographicHash::Sha256);
        scanEverything(fixture(name));
        scanEverything(fixture(name));
        EXPECT_EQ(QCryptographicHash::hash(readAll(fixture(name)), QCryptographicHash::Sha256), before) << name;
    }
}

TEST(JetFile, TruncatedCopiesGiveErrors)
{
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

// Object property blocks (a signature, then records that each start with their length) are stored in the
// catalogue's long binary column. A record length of 0, or one shorter than a record header, once made the
// open loop forever; the tool reads no properties, so such a file opens or is refused as damaged, promptly.
TEST(JetFile, DamagedPropertyBlocksNeitherHangNorWrite)
{
    struct Case {
        const char* fixture;
        const char* signature;
        int record;  // 0: the block's first record (the name list), 1: the one after it
        quint32 length;
    };
    const Case cases[] = {
        {"jackcess_testV1997.mdb", "KKD", 0, 0},
        {"jackcess_testV1997.mdb", "KKD", 1, 3},
        {"jackcess_testUnicodeCompV2003.mdb", "MR2", 0, 0},
        {"jackcess_testUnicodeCompV2003.mdb", "MR2", 1, 5},
    };
    for (const Case& c : cases) {
        const std::string label = std::string(c.fixture) + " record " + std::to_string(c.record) + " length " + std::to_string(c.length);
        QByteArray bytes = readAll(fixture(c.fixture));
        const QByteArray signature(c.signature, 4);  // with its terminating NUL
        int blocks = 0;
        for (qsizetype at = bytes.indexOf(signature); at >= 0 && at + 16 < bytes.size(); at = bytes.indexOf(signature, at + 1)) {
            qsizetype record = at + 4;
            if (c.record == 1)
                record += qsizetype(readU32(bytes, record));
            if (record + 4 > bytes.size())
                continue;
            writeU32(bytes, record, c.length);
            ++blocks;
        }
        ASSERT_GT(blocks, 0) << label;
        const QString path = writeScratch(QStringLiteral("props.mdb"), bytes);
        const QByteArray before = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);

        const Bounded outcome = openInChild(path, 20);
        ASSERT_TRUE(outcome.started) << label << ": no child process";
        ASSERT_TRUE(outcome.finished) << label << ": the open did not finish within 20 s";
        ASSERT_TRUE(WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 0) << label << ": status " << outcome.status;
        const QStringList errors = outcome.output.split(QLatin1Char('\n'));
        ASSERT_EQ(errors.size(), 2) << label;
        EXPECT_TRUE(errors[0].isEmpty() || errors[0].startsWith(QStringLiteral("the Jet database is damaged: ")))
            << label << ": " << errors[0].toStdString();
        EXPECT_TRUE(errors[1].isEmpty() || errors[1].startsWith(QStringLiteral("the Jet database is damaged: ")))
            << label << ": " << errors[1].toStdString();
        EXPECT_EQ(QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256), before) << label;
    }
}
