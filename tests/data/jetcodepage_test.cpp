#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

#include "platform/data/jet/jetcodepage.h"
#include "platform/data/jet/jetfile.h"
#include "platform/data/jet/jetquery.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform::data::jet;

namespace {

// An Access 97 file holding lanping in code page 936, sort order 2052 (see tests/fixtures/jet/README.md).
QString gbkFixture()
{
    // Qt's test library defines the folder of the tests' sources for every target that links it.
    return QStringLiteral(QT_TESTCASE_SOURCEDIR "/fixtures/jet/lanping_jet3_gbk.mdb");
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// The fixture with other values in its header's sort-order (0x3A) and code-page (0x3C) fields. The header is
// RC4-encrypted from 0x18 on; a stream cipher lets a field change by XOR with the old and the new value.
QString withHeader(quint16 codePage, quint16 sortOrder)
{
    QByteArray bytes = readAll(gbkFixture());
    const auto patch = [&](int offset, quint16 oldValue, quint16 newValue) {
        const quint16 delta = oldValue ^ newValue;
        bytes[offset] = char(quint8(bytes[offset]) ^ (delta & 0xff));
        bytes[offset + 1] = char(quint8(bytes[offset + 1]) ^ (delta >> 8));
    };
    patch(0x3a, 2052, sortOrder);
    patch(0x3c, 936, codePage);
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/cp%1-sort%2.mdb").arg(codePage).arg(sortOrder);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

struct Rows {
    int codePage = -1;
    QList<QStringList> rows;  // daima, fenxi, jiejue; a NULL field is a null QString
    QString error;
};

Rows readLanping(const QString& path)
{
    Rows result;
    const std::unique_ptr<JetFile> file = JetFile::open(path, &result.error);
    if (!file)
        return result;
    result.codePage = file->textCodePage();
    const std::unique_ptr<JetTable> table =
        file->openTable(QStringLiteral("lanping"), {QStringLiteral("daima"), QStringLiteral("fenxi"), QStringLiteral("jiejue")}, &result.error);
    if (!table)
        return result;
    while (table->next(&result.error)) {
        QStringList row;
        for (int i = 0; i < 3; ++i) {
            QString value;
            if (!table->text(i, &value, &result.error))
                return result;
            row.append(value);
        }
        result.rows.append(row);
    }
    return result;
}

const QString kSecondCode = QStringLiteral("蓝屏");  // C0 B6 C6 C1 in the file

// ---------------------------------------------------------------------------------------------------------------

struct CodePageCase {
    const char* name;
    quint16 field;
    quint16 sortOrder;
    int expected;
};

void PrintTo(const CodePageCase& c, std::ostream* os) { *os << c.name; }

class Jet3CodePageChoice : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(Jet3CodePageChoice, FieldThenSortOrderThen1252)
{
    EXPECT_EQ(jet3CodePage(GetParam().field, GetParam().sortOrder), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Header, Jet3CodePageChoice,
    ::testing::Values(
        CodePageCase{"GeneralFile", 1252, 1033, 1252}, CodePageCase{"ChineseFile", 936, 2052, 936},
        CodePageCase{"FieldWinsOverSortOrder", 1252, 2052, 1252}, CodePageCase{"FieldAlone", 950, 0, 950},
        CodePageCase{"SimplifiedChineseSort", 0, 2052, 936}, CodePageCase{"SingaporeSort", 0, 0x1004, 936},
        CodePageCase{"TraditionalChineseSort", 0, 1028, 950}, CodePageCase{"HongKongSort", 0, 0x0c04, 950},
        CodePageCase{"JapaneseSort", 0, 1041, 932}, CodePageCase{"KoreanSort", 0, 1042, 949},
        CodePageCase{"ThaiSort", 0, 1054, 874}, CodePageCase{"CzechSort", 0, 1029, 1250},
        CodePageCase{"PolishSort", 0, 1045, 1250}, CodePageCase{"SerbianLatinSort", 0, 0x081a, 1250},
        CodePageCase{"SerbianCyrillicSort", 0, 0x0c1a, 1251}, CodePageCase{"CyrillicSort", 0, 1049, 1251},
        CodePageCase{"GreekSort", 0, 1032, 1253}, CodePageCase{"TurkishSort", 0, 1055, 1254},
        CodePageCase{"HebrewSort", 0, 1037, 1255}, CodePageCase{"ArabicSort", 0, 1025, 1256},
        CodePageCase{"EstonianSort", 0, 0x0425, 1257}, CodePageCase{"VietnameseSort", 0, 0x042a, 1258},
        CodePageCase{"SwedishSort", 0, 1053, 1252}, CodePageCase{"NeutralSort", 0, 1024, 1252},
        CodePageCase{"NothingSaid", 0, 0, 1252}, CodePageCase{"UnknownFieldUsesSortOrder", 65001, 2052, 936},
        CodePageCase{"DosCodePageUsesSortOrder", 437, 1049, 1251}, CodePageCase{"Garbage", 0xffff, 0xffff, 1252}),
    [](const ::testing::TestParamInfo<CodePageCase>& row) { return std::string(row.param.name); });

struct DecodeCase {
    const char* name;
    int codePage;
    QByteArray bytes;
    QString expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class CodePageDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(CodePageDecoding, DecodesEveryKnownCodePage)
{
    CodePageDecoder decoder(GetParam().codePage);
    ASSERT_TRUE(decoder.valid());
    const QByteArray& bytes = GetParam().bytes;
    const QString text = decoder.decode(reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size()));
    EXPECT_EQ(text, GetParam().expected) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, CodePageDecoding,
    ::testing::Values(
        DecodeCase{"Gbk", 936, QByteArray("\xc0\xb6\xc6\xc1\xe9\x46\x80"), QStringLiteral("蓝屏镕€")},
        DecodeCase{"Big5", 950, QByteArray("\xa4\xa4\xa4\xe5"), QStringLiteral("中文")},
        DecodeCase{"ShiftJis", 932, QByteArray("\x93\xfa\x96\x7b\xb1"), QStringLiteral("日本ｱ")},
        DecodeCase{"Korean", 949, QByteArray("\xc7\xd1\xb1\xb9"), QStringLiteral("한국")},
        DecodeCase{"Thai", 874, QByteArray("\xa1"), QStringLiteral("ก")},
        DecodeCase{"CentralEurope", 1250, QByteArray("\xf8"), QStringLiteral("ř")},
        DecodeCase{"Cyrillic", 1251, QByteArray("\xc4\xe0"), QStringLiteral("Да")},
        DecodeCase{"Western", 1252, QByteArray("\xe9\x80"), QStringLiteral("é€")},
        DecodeCase{"Greek", 1253, QByteArray("\xe1"), QStringLiteral("α")},
        DecodeCase{"Turkish", 1254, QByteArray("\xf0"), QStringLiteral("ğ")},
        DecodeCase{"Hebrew", 1255, QByteArray("\xe0"), QStringLiteral("א")},
        DecodeCase{"Arabic", 1256, QByteArray("\xc7"), QStringLiteral("ا")},
        DecodeCase{"Baltic", 1257, QByteArray("\xe0"), QStringLiteral("ą")},
        DecodeCase{"Vietnamese", 1258, QByteArray("\xfe"), QStringLiteral("₫")},
        DecodeCase{"LeadByteCutOff", 936, QByteArray("A\x81"), QStringLiteral("A\uFFFD")},
        DecodeCase{"BadTrailByte", 936, QByteArray("\x81\x20" "A"), QStringLiteral("\uFFFD A")},
        DecodeCase{"UndefinedByte", 1252, QByteArray("a\x81" "b"), QStringLiteral("a\uFFFDb")},
        DecodeCase{"UndefinedShiftJisByte", 932, QByteArray("\x80\x93\xfa"), QStringLiteral("\uFFFD日")},
        DecodeCase{"NulKept", 1252, QByteArray("a\0b", 3), QString(QStringLiteral("a\0b").data(), 3)}),
    [](const ::testing::TestParamInfo<DecodeCase>& row) { return std::string(row.param.name); });

TEST(CodePageDecoder, UnknownCodePagesAreNotDecoded)
{
    for (const int codePage : {0, 437, 65001, 1259, -1}) {
        CodePageDecoder decoder(codePage);
        EXPECT_FALSE(decoder.valid()) << codePage;
        EXPECT_FALSE(isKnownCodePage(codePage)) << codePage;
        EXPECT_TRUE(decoder.decode(reinterpret_cast<const unsigned char*>("abc"), 3).isEmpty());
    }
}

TEST(CodePageDecoder, ALongTextOfOnlyBadBytesIsReplacedWhole)
{
    const QByteArray bytes(5000, '\x81');
    CodePageDecoder decoder(1252);
    const QString text = decoder.decode(reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size()));
    EXPECT_EQ(text, QString(5000, QChar::ReplacementCharacter));
}

// ---------------------------------------------------------------------------------------------------------------

TEST(Jet3Text, TheChineseFixtureReadsInItsCodePage)
{
    const Rows read = readLanping(gbkFixture());
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.codePage, 936);
    const QList<QStringList> expected{
        {QStringLiteral("0x0000007B"), QStringLiteral("系统启动时无法访问系统分区。"), QStringLiteral("检查硬盘连接与磁盘控制器模式设置。")},
        {kSecondCode, QStringLiteral("GBK 独有的字：镕、喆、堃。"), QStringLiteral("无")},
        {QStringLiteral("0x000000D1"),
         QStringLiteral("驱动程序在过高的中断请求级别访问了分页内存或无效地址。常见原因是驱动程序有缺陷，或新装的驱动程序与系统不兼容。"),
         QString()},
        {QStringLiteral("0x0000009f"), QStringLiteral("电源状态转换失败。"), QStringLiteral("")},
    };
    ASSERT_EQ(read.rows.size(), expected.size());
    for (qsizetype r = 0; r < expected.size(); ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(read.rows[r][c], expected[r][c]) << "row " << r << " column " << c;
            EXPECT_EQ(read.rows[r][c].isNull(), expected[r][c].isNull()) << "row " << r << " column " << c;
        }
    }
}

struct HeaderCase {
    const char* name;
    quint16 codePageField;
    quint16 sortOrder;
    int codePage;
    QString secondCode;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

class Jet3Header : public ::testing::TestWithParam<HeaderCase> {};

// The same bytes read in the code page the header names: by its code-page field, by its sort order alone, and as
// CP1252 only where the file says so or says nothing.
TEST_P(Jet3Header, DecidesHowTheTextsRead)
{
    const Rows read = readLanping(withHeader(GetParam().codePageField, GetParam().sortOrder));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    EXPECT_EQ(read.codePage, GetParam().codePage);
    ASSERT_EQ(read.rows.size(), 4);
    EXPECT_EQ(read.rows[1][0], GetParam().secondCode) << read.rows[1][0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Fixture, Jet3Header,
    ::testing::Values(HeaderCase{"CodePageAndSortOrder", 936, 2052, 936, kSecondCode},
                      HeaderCase{"SortOrderOnly", 0, 2052, 936, kSecondCode},
                      HeaderCase{"CodePageOnly", 936, 0, 936, kSecondCode},
                      HeaderCase{"SaysNothing", 0, 0, 1252, QStringLiteral("À¶ÆÁ")},
                      HeaderCase{"Says1252", 1252, 2052, 1252, QStringLiteral("À¶ÆÁ")}),
    [](const ::testing::TestParamInfo<HeaderCase>& row) { return std::string(row.param.name); });

// libmdb's own conversion follows MDB_JET3_CHARSET and MDBICONV; what the tool shows must not.
TEST(Jet3Text, TheEnvironmentDoesNotChangeTheTexts)
{
    const char* saved[] = {std::getenv("MDB_JET3_CHARSET"), std::getenv("MDBICONV")};
    const QByteArray restore[] = {saved[0] ? QByteArray(saved[0]) : QByteArray(), saved[1] ? QByteArray(saved[1]) : QByteArray()};
    qputenv("MDB_JET3_CHARSET", "CP1252");
    qputenv("MDBICONV", "GBK");
    const Rows read = readLanping(gbkFixture());
    for (int i = 0; i < 2; ++i) {
        const char* name = i == 0 ? "MDB_JET3_CHARSET" : "MDBICONV";
        if (saved[i])
            qputenv(name, restore[i]);
        else
            qunsetenv(name);
    }
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    ASSERT_EQ(read.rows.size(), 4);
    EXPECT_EQ(read.rows[1][0], kSecondCode);
    EXPECT_EQ(read.rows[1][1], QStringLiteral("GBK 独有的字：镕、喆、堃。"));
}

// The queries the tool sends compare the decoded texts, so a Chinese code typed as text is found.
TEST(Jet3Text, AQueryFindsAChineseCode)
{
    QString error;
    const std::unique_ptr<JetFile> file = JetFile::open(gbkFixture(), &error);
    ASSERT_TRUE(file) << error.toStdString();
    const std::unique_ptr<JetQuery> query = JetQuery::prepare(
        *file, QStringLiteral("select fenxi,jiejue from lanping where daima='蓝屏'"), &error);
    ASSERT_TRUE(query) << error.toStdString();
    ASSERT_TRUE(query->step(&error)) << error.toStdString();
    EXPECT_EQ(query->row().value(0), QStringLiteral("GBK 独有的字：镕、喆、堃。"));
    EXPECT_EQ(query->row().value(1), QStringLiteral("无"));
    EXPECT_FALSE(query->step(&error));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}

TEST(Jet3Text, Jet4FilesHaveNoCodePage)
{
    QString error;
    const QString jet4 = QFileInfo(gbkFixture()).absolutePath() + QStringLiteral("/lanping_sample.mdb");
    const std::unique_ptr<JetFile> file = JetFile::open(jet4, &error);
    ASSERT_TRUE(file) << error.toStdString();
    EXPECT_FALSE(file->isJet3());
    EXPECT_EQ(file->textCodePage(), 0);
}

}  // namespace
