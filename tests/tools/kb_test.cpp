#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>

#include "tests/support/qtprinters.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"
#include "tools/kb/kbtool.h"

using namespace tervolin::tools;

namespace {

QString fixture(const char* name) { return tervolin::test::jetFixture(name); }

struct KbRun {
    int status;
    QString out;
    QString err;
};

KbRun kb(const QStringList& arguments, const QString& defaultDb = QStringLiteral("/nonexistent/db1.mdb"))
{
    KbRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = runKb(arguments, defaultDb, out, err);
    out.flush();
    err.flush();
    return r;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

// NULL survives the conversion (the sample's NULLs are Memo values; a zero-length Text value would read as NULL).
TEST(KbTool, ConvertOfTheJetSampleExportsItsTsv)
{
    const QString converted = tervolin::test::scratchDir() + QStringLiteral("/converted.mdb");
    const QByteArray jetHash = QCryptographicHash::hash(readAll(fixture("lanping_sample.mdb")), QCryptographicHash::Sha256);
    const KbRun convert = kb({QStringLiteral("convert"), fixture("lanping_sample.mdb"), converted});
    ASSERT_EQ(convert.status, 0) << convert.err.toStdString();
    EXPECT_EQ(QCryptographicHash::hash(readAll(fixture("lanping_sample.mdb")), QCryptographicHash::Sha256), jetHash);

    const QString expected = QString::fromUtf8(readAll(fixture("lanping_sample.tsv")));
    for (const QString& db : {fixture("lanping_sample.mdb"), converted}) {
        const KbRun exported = kb({QStringLiteral("--db"), db, QStringLiteral("export")});
        ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
        EXPECT_EQ(exported.out, expected) << db.toStdString();
        EXPECT_EQ(kb({QStringLiteral("count")}, db).out, QStringLiteral("14\n"));
    }
    EXPECT_EQ(kb({QStringLiteral("list")}, converted).out, kb({QStringLiteral("list")}, fixture("lanping_sample.mdb")).out);
}

TEST(KbTool, LookupAnswersLikeTheWindowWithExitStatus)
{
    const QString jet = fixture("lanping_sample.mdb");
    struct Case { QStringList args; int status; const char* out; };
    const Case cases[] = {
        {{QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("O'Brien")}, 0,
         "{\"found\": true, \"fenxi\": \"含有撇号的代码。\", \"jiejue\": \"撇号代码的解决方法。\", \"canshu\": []}\n"},
        {{QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("0x0000007b")}, 0, nullptr},
        {{QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("nullboth")}, 0, "{\"found\": true, \"fenxi\": \"\", \"jiejue\": \"\", \"canshu\": []}\n"},
        {{QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("--exact"), QStringLiteral("0x00000050")}, 1, "{\"found\": false, \"canshu\": []}\n"},
        {{QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("0x00000050")}, 0,
         "{\"found\": true, \"resolved\": \" 0x00000050\", \"fenxi\": \"前面带一个空格的代码。\", \"jiejue\": \"带空格代码的解决方法。\", \"canshu\": []}\n"},
        {{QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("' or ''='")}, 1, "{\"found\": false, \"canshu\": []}\n"},
        {{QStringLiteral("lookup"), QStringLiteral(" 0x00000050")}, 0, "fenxi:\n前面带一个空格的代码。\n\njiejue:\n带空格代码的解决方法。\n"},
        {{QStringLiteral("lookup"), QStringLiteral("nothing")}, 1, ""},
    };
    for (const Case& c : cases) {
        const KbRun r = kb(c.args, jet);
        EXPECT_EQ(r.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString() << r.err.toStdString();
        if (c.out) {
            EXPECT_EQ(r.out, QString::fromUtf8(c.out)) << c.args.join(QLatin1Char(' ')).toStdString();
        }
    }
    // The first of the duplicated rows, with its CR LF kept in JSON.
    const KbRun dup = kb({QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("0x0000007b")}, jet);
    EXPECT_TRUE(dup.out.startsWith(QStringLiteral("{\"found\": true, \"fenxi\": \"启动设备不可访问"))) << dup.out.toStdString();
    EXPECT_TRUE(dup.out.contains(QStringLiteral("\\r\\n")));
}

// The parameter meanings come with a code written in hexadecimal, in any case and with or without leading zeros,
// and with its symbolic name (the row holding the same texts as the code's); a name of no stored code has none.
// Documented values come under their parameter, in the table's order; other codes' values and parameter numbers
// outside 1-4 stay out.
TEST(KbTool, LookupAddsTheParameterMeanings)
{
    const QString db = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createDatabase(db, R"(
        CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);
        INSERT INTO lanping VALUES('0x0000009F', 'f', 'j'), ('DRIVER_POWER_STATE_FAILURE', 'f', 'j'), ('LONE_NAME', 'g', 'k');
        CREATE TABLE canshu(daima TEXT, xuhao INTEGER, hanyi TEXT);
        INSERT INTO canshu VALUES('0x0000009F', 2, '设备对象 "PDO"'), ('0x0000009F', 1, '类型');
        CREATE TABLE canshuzhi(daima TEXT, xuhao INTEGER, zhi TEXT, hanyi TEXT);
        INSERT INTO canshuzhi VALUES('0x0000009F', 1, '0x3', '设备对象阻塞'), ('0x0000009F', 1, '0x4', '超时'),
                                    ('0x0000009F', 9, '0x1', '不是参数'), ('0x000000D1', 1, '0x3', '别的代码');
    )");
    const QString meanings = QStringLiteral(R"([{"xuhao": 1, "hanyi": "类型", "zhi": [{"zhi": "0x3", "hanyi": "设备对象阻塞"}, )"
                                            R"({"zhi": "0x4", "hanyi": "超时"}]}, {"xuhao": 2, "hanyi": "设备对象 \"PDO\""}])");
    struct Case { const char* code; int status; QString out; };
    const Case cases[] = {
        {"0x0000009F", 0, QStringLiteral(R"({"found": true, "fenxi": "f", "jiejue": "j", "canshu": )") + meanings + QStringLiteral("}\n")},
        {"0x0000009f", 0, QStringLiteral(R"({"found": true, "fenxi": "f", "jiejue": "j", "canshu": )") + meanings + QStringLiteral("}\n")},
        {"0x9F", 0, QStringLiteral(R"({"found": true, "resolved": "0x0000009F", "fenxi": "f", "jiejue": "j", "canshu": )") + meanings + QStringLiteral("}\n")},
        {"DRIVER_POWER_STATE_FAILURE", 0, QStringLiteral(R"({"found": true, "fenxi": "f", "jiejue": "j", "canshu": )") + meanings + QStringLiteral("}\n")},
        {"LONE_NAME", 0, QStringLiteral(R"({"found": true, "fenxi": "g", "jiejue": "k", "canshu": []})") + QStringLiteral("\n")},
    };
    for (const Case& c : cases) {
        const KbRun r = kb({QStringLiteral("lookup"), QStringLiteral("--json"), QString::fromUtf8(c.code)}, db);
        EXPECT_EQ(r.status, c.status) << c.code;
        EXPECT_EQ(r.out, c.out) << c.code;
    }
    EXPECT_EQ(kb({QStringLiteral("lookup"), QStringLiteral("0x0000009F")}, db).out,
              QStringLiteral("fenxi:\nf\n\njiejue:\nj\n\ncanshu:\n1: 类型\n    0x3: 设备对象阻塞\n    0x4: 超时\n2: 设备对象 \"PDO\"\n"));
}

// A text not found as typed that names one stored code in another form is looked up as that code, and the output
// says which; --exact, parts of names and codes the table lacks stay "not found".
TEST(KbTool, ForgivingLookupResolvesOtherFormsOfOneCode)
{
    const QString db = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    tervolin::test::createDatabase(db, R"(
        CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);
        INSERT INTO lanping VALUES('0x0000007B', '7B', 'j7B'), ('INACCESSIBLE_BOOT_DEVICE', '7B', 'j7B'),
            ('0x0000007E', '7E', 'j7E'), ('SYSTEM_THREAD_EXCEPTION_NOT_HANDLED', '7E', 'j7E'), ('0x0000009F', '9F', 'j9F'),
            ('0x1000008E', '1000008E', 'j'), ('0x0000008E', '8E', 'j');
        CREATE TABLE canshu(daima TEXT, xuhao INTEGER, hanyi TEXT);
        INSERT INTO canshu VALUES('0x0000009F', 1, '类型');
    )");
    struct Case { const char* typed; int status; const char* resolved; const char* fenxi; };
    const Case cases[] = {
        {"0x0000007b", 0, nullptr, "7B"},  // found as typed (case-blind): nothing resolved
        {"inaccessible_boot_device", 0, nullptr, "7B"},
        {"7b", 0, "0x0000007B", "7B"},
        {"0x7B", 0, "0x0000007B", "7B"},
        {"  0X07b ", 0, "0x0000007B", "7B"},
        {"STOP: 0x0000007E (0xFFFFFFFFC0000005, 0x0, 0x0, 0x0)", 0, "0x0000007E", "7E"},
        {"*** STOP: 0x0000007e (0xc0000005,0x00000000,0x00000000,0x00000000)", 0, "0x0000007E", "7E"},
        {"BCCode: 7e", 0, "0x0000007E", "7E"},
        {"The computer has rebooted from a bugcheck.  The bugcheck was: 0x0000009f (0x0000000000000003, 0x0).", 0, "0x0000009F", "9F"},
        {"System Thread Exception Not Handled", 0, "SYSTEM_THREAD_EXCEPTION_NOT_HANDLED", "7E"},
        {"0x1000007E", 0, "0x0000007E", "7E"},  // the 0x10000000 bit: stored without it
        {"0x1000008E", 0, nullptr, "1000008E"},  // stored with it: as stored
        {"1000008e", 0, "0x1000008E", "1000008E"},
        {"INACCESSIBLE", 1, nullptr, nullptr},  // a part of a name
        {"boot", 1, nullptr, nullptr},
        {"0x0000007", 1, nullptr, nullptr},  // a part of a code is another code
        {"0x50", 1, nullptr, nullptr},
        {"ab", 1, nullptr, nullptr},  // letters a–f alone are not a code unless marked
    };
    for (const Case& c : cases) {
        const KbRun json = kb({QStringLiteral("lookup"), QStringLiteral("--json"), QString::fromUtf8(c.typed)}, db);
        EXPECT_EQ(json.status, c.status) << c.typed;
        const QString resolved = c.resolved ? QStringLiteral(R"(, "resolved": ")") + QString::fromUtf8(c.resolved) + QLatin1Char('"') : QString();
        if (c.fenxi) {
            EXPECT_TRUE(json.out.startsWith(QStringLiteral(R"({"found": true)") + resolved + QStringLiteral(R"(, "fenxi": ")") +
                                            QString::fromUtf8(c.fenxi) + QLatin1Char('"')))
                << c.typed << ": " << json.out.toStdString();
        } else {
            EXPECT_EQ(json.out, QStringLiteral("{\"found\": false, \"canshu\": []}\n")) << c.typed;
        }
        const KbRun plain = kb({QStringLiteral("lookup"), QString::fromUtf8(c.typed)}, db);
        EXPECT_EQ(plain.status, c.status) << c.typed;
        EXPECT_EQ(plain.err, c.resolved ? QStringLiteral("code: ") + QString::fromUtf8(c.resolved) + QLatin1Char('\n') : QString()) << c.typed;
        if (c.fenxi) {
            EXPECT_TRUE(plain.out.startsWith(QStringLiteral("fenxi:\n") + QString::fromUtf8(c.fenxi) + QLatin1Char('\n'))) << c.typed;
        }
        // --exact compares only as typed.
        const KbRun exact = kb({QStringLiteral("lookup"), QStringLiteral("--exact"), QString::fromUtf8(c.typed)}, db);
        EXPECT_EQ(exact.status, c.status == 0 && !c.resolved ? 0 : 1) << c.typed;
        EXPECT_TRUE(exact.err.isEmpty()) << c.typed;
    }
    // The resolved code's parameter meanings come with it.
    EXPECT_EQ(kb({QStringLiteral("lookup"), QStringLiteral("BCCode: 9f")}, db).out, QStringLiteral("fenxi:\n9F\n\njiejue:\nj9F\n\ncanshu:\n1: 类型\n"));
}

TEST(KbTool, ImportExportRoundTripIsLossless)
{
    const QString dir = tervolin::test::scratchDir();
    const QByteArray tsv = "0x0000007B\tline one\\nline two\ttab\\there\n"
                           "back\\\\slash\t\\N\t\"quoted\", with comma\n"
                           "EMPTY\t\t\\N\n"
                           "0x0000007b\tsecond\tduplicate kept\n";
    writeFile(dir + QStringLiteral("/in.tsv"), tsv);
    const QString out = dir + QStringLiteral("/kb.mdb");
    ASSERT_EQ(kb({QStringLiteral("import"), dir + QStringLiteral("/in.tsv"), out}).status, 0);
    EXPECT_EQ(kb({QStringLiteral("--db"), out, QStringLiteral("export")}).out, QString::fromUtf8(tsv));
    EXPECT_EQ(kb({QStringLiteral("--db"), out, QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("0x0000007B")}).out,
              QStringLiteral("{\"found\": true, \"fenxi\": \"line one\\r\\nline two\", \"jiejue\": \"tab\\there\", \"canshu\": []}\n"));

    const KbRun csv = kb({QStringLiteral("--db"), out, QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(csv.out, QStringLiteral("daima,fenxi,jiejue\r\n"
                                      "0x0000007B,\"line one\r\nline two\",tab\there\r\n"
                                      "back\\slash,,\"\"\"quoted\"\", with comma\"\r\n"
                                      "EMPTY,,\r\n"
                                      "0x0000007b,second,duplicate kept\r\n"));

    // The output is kept unless --force; a conversion never writes over its own input.
    const QByteArray before = readAll(out);
    writeFile(dir + QStringLiteral("/other.tsv"), "X\tY\tZ\n");
    const KbRun refused = kb({QStringLiteral("import"), dir + QStringLiteral("/other.tsv"), out});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force")));
    EXPECT_EQ(readAll(out), before);
    EXPECT_EQ(kb({QStringLiteral("convert"), out, out, QStringLiteral("--force")}).status, 2);
    EXPECT_EQ(readAll(out), before);
    ASSERT_EQ(kb({QStringLiteral("import"), dir + QStringLiteral("/other.tsv"), out, QStringLiteral("--force")}).status, 0);
    EXPECT_EQ(kb({QStringLiteral("list")}, out).out, QStringLiteral("X\n"));
}

TEST(KbTool, ErrorsGoToStandardErrorWithAStatus)
{
    const QString dir = tervolin::test::scratchDir();
    writeFile(dir + QStringLiteral("/bad.tsv"), "only\ttwo\n");
    struct Case { QStringList args; int status; const char* err; };
    const Case cases[] = {
        {{QStringLiteral("count")}, 3, "/nonexistent/db1.mdb"},
        {{QStringLiteral("--db"), fixture("jackcess_testV1997.mdb"), QStringLiteral("list")}, 3, "no table \"lanping\""},
        {{QStringLiteral("--db"), fixture("jackcess_testUnicodeCompV2003.mdb"), QStringLiteral("count")}, 3, "no table \"lanping\""},
        {{QStringLiteral("import"), dir + QStringLiteral("/bad.tsv"), dir + QStringLiteral("/x.mdb")}, 3, "bad.tsv:1"},
        {{QStringLiteral("frobnicate")}, 2, "unknown command"},
        {{}, 2, "no command"},
        {{QStringLiteral("lookup")}, 2, "lookup takes 1"},
        {{QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("xml")}, 2, "unknown format"},
    };
    for (const Case& c : cases) {
        const KbRun r = kb(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/x.mdb")));
    const KbRun help = kb({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("convert IN.mdb OUT.mdb")));
}
