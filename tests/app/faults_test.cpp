// Faults from outside the program: the data file damaged, swapped, locked or made unreadable while the window is
// open, unusual codes typed into the input, and damaged form descriptions. Each must end in a correct answer or a
// clear report naming the file — never a crash, a wrong row, or a write to the data file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <sqlite3.h>
#include <unistd.h>

#include <functional>
#include <memory>

#include "app/form1.h"
#include "app/startup.h"
#include "app/knowledgebase.h"
#include "app/userdata.h"
#include "controls/button/vantlebutton.h"
#include "platform/data/dataerror.h"
#include "platform/formdescription.h"
#include "platform/listbox.h"
#include "tests/app/mainwindow.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;
using tervolin::platform::MessageBoxIcon;
using tervolin::test::LanpingRow;

namespace {

const QString NotFound = QStringLiteral("找不到记录");

QString withNul(const char* before, const char* after)
{
    return QString::fromUtf8(before) + QChar(u'\0') + QString::fromUtf8(after);
}

std::vector<LanpingRow> rows()
{
    std::vector<LanpingRow> r = {
        {QStringLiteral("0x0000007B"), QStringLiteral("分析 7B"), QStringLiteral("解决 7B")},
        {QStringLiteral("0x0000000A"), QStringLiteral("分析 0A"), QStringLiteral("解决 0A")},
        {withNul("NUL", "INSIDE"), QStringLiteral("stored with a NUL"), QStringLiteral("j")},
        {withNul("O'", "'Brien"), QStringLiteral("apostrophes and a NUL"), QStringLiteral("j")},
    };
    // Enough rows that the table spans many pages, so a damaged file is noticed on reads beyond the cache.
    for (int i = 0; i < 100; ++i)
        r.push_back({QStringLiteral("0x%1").arg(0x10000 + i, 8, 16, QLatin1Char('0')), QString(2000, QLatin1Char('f')), QStringLiteral("j")});
    return r;
}

void overwrite(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class FaultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = tervolin::test::scratchDir();
        path = dir + QStringLiteral("/db1.mdb");
        // One file made once and copied: each insert of the helper is its own transaction.
        static const QString pristine = [] {
            const QString p = tervolin::test::scratchDir() + QStringLiteral("/pristine.mdb");
            tervolin::test::createLanping(p, rows());
            return p;
        }();
        ASSERT_TRUE(QFile::copy(pristine, path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        UserData::setApplicationDirectory(dir);
    }
    void TearDown() override
    {
        form.reset();
        UserData::setApplicationDirectory({});
    }

    void openWindow() { tervolin::test::openMainWindow(dir, box, form, ui); }

    void search(const QString& code)
    {
        ui.Text1->setText(code);
        Q_EMIT ui.Command1->Click();
    }

    tervolin::test::RecordingMessageBox box;
    std::unique_ptr<Form1> form;
    tervolin::app::Form1Controls ui;
    QString dir;
    QString path;
};

}  // namespace

// The file is changed behind the open window; the next lookups must give the right row or report the file.
TEST_F(FaultTest, DataFileChangedWhileTheWindowIsOpenGivesTheRightRowOrAClearError)
{
    struct Case { const char* name; std::function<void(const QString&)> fault; };
    const Case cases[] = {
        {"deleted", [](const QString& p) { ASSERT_TRUE(QFile::remove(p)); }},
        {"truncated in place", [](const QString& p) { ASSERT_TRUE(QFile::resize(p, 1024)); }},
        {"garbage in place",
         [](const QString& p) {
             const qint64 size = QFileInfo(p).size();
             QFile file(p);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.write(QByteArray(size, '\xA5'));
         }},
        {"replaced by another database",
         [](const QString& p) {
             const QString other = p + QStringLiteral(".new");
             tervolin::test::createLanping(other, {{QStringLiteral("0x0000007B"), QStringLiteral("other"), QStringLiteral("other")}});
             ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(p).constData()), 0);
         }},
        {"replaced by garbage",
         [](const QString& p) {
             ASSERT_TRUE(QFile::remove(p));
             overwrite(p, QByteArray(8192, 'x'));
         }},
        {"swapped for a folder",
         [](const QString& p) {
             ASSERT_TRUE(QFile::remove(p));
             ASSERT_TRUE(QDir().mkdir(p));
         }},
        {"made unreadable", [](const QString& p) { ASSERT_TRUE(QFile::setPermissions(p, QFileDevice::Permissions())); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        openWindow();
        c.fault(path);
        const bool isFile = QFileInfo(path).isFile();
        const QByteArray before = isFile ? tervolin::test::fileHash(path) : QByteArray();

        // A code beyond the first pages, then a listed one by the list's own path.
        for (const QString& code : {QStringLiteral("0x00010063"), QStringLiteral("0x0000007B")}) {
            box.calls.clear();
            search(code);
            if (box.calls.empty()) {
                // Found: the row of the file the window opened on (its connection stays open), or of a file now
                // at the path — never anything else.
                EXPECT_EQ(ui.List1->text().compare(code, Qt::CaseInsensitive), 0);
                const QString fenxi = ui.Text2->toPlainText();
                const QString expected = code == QStringLiteral("0x0000007B") ? QStringLiteral("分析 7B") : QString(2000, QLatin1Char('f'));
                EXPECT_TRUE(fenxi == expected || fenxi == QStringLiteral("other")) << fenxi.left(40).toStdString();
            } else {
                ASSERT_EQ(box.calls.size(), 1u);
                EXPECT_EQ(box.calls[0].icon, MessageBoxIcon::Critical);
                // Either the file's own failure with its path, or not found — never a row from elsewhere.
                if (box.calls[0].text != NotFound) {
                    EXPECT_TRUE(box.calls[0].text.contains(path)) << box.calls[0].text.toStdString();
                }
            }
        }
        if (isFile) {
            EXPECT_EQ(tervolin::test::fileHash(path), before) << "the data file was written";
        }
        form.reset();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

TEST_F(FaultTest, UnreadableFileAtStartIsReported)
{
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user (root) reads the file despite its permissions";
    EXPECT_EQ(loadMainWindow(box), nullptr) << "opened an unreadable file";
    ASSERT_EQ(box.calls.size(), 1u);
    EXPECT_TRUE(box.calls[0].text.contains(path)) << box.calls[0].text.toStdString();
    EXPECT_TRUE(box.calls[0].text.contains(QStringLiteral("cannot be read"))) << box.calls[0].text.toStdString();
}

// Another connection holds a write transaction with uncommitted changes. The window reads without taking locks,
// so it neither waits nor fails, sees only committed rows, and writes nothing.
TEST_F(FaultTest, AWriterHoldingATransactionNeitherBlocksNorLeaksIntoLookups)
{
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE; UPDATE lanping SET fenxi='uncommitted'; "
                                   "INSERT INTO lanping VALUES('0xNEW','n','n')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const QByteArray before = tervolin::test::fileHash(path);

    openWindow();
    EXPECT_EQ(ui.List1->ListCount(), static_cast<int>(rows().size()));
    search(QStringLiteral("0x0000007B"));
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 7B"));
    search(QStringLiteral("0xNEW"));
    ASSERT_EQ(box.calls.size(), 1u);
    EXPECT_EQ(box.calls[0].text, NotFound);
    EXPECT_EQ(tervolin::test::fileHash(path), before);

    EXPECT_EQ(sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    EXPECT_EQ(tervolin::test::fileHash(path), before);
}

// Typed codes of any length and content: the literal carries the text exactly, so only a stored code is found,
// and nothing ends the program.
TEST_F(FaultTest, UnusualCodesAreLookedUpExactly)
{
    openWindow();
    const QByteArray before = tervolin::test::fileHash(path);
    struct Case { const char* name; QString code; bool found; };
    const Case cases[] = {
        {"one character", QStringLiteral("0"), false},
        {"10 000 characters", QString(10'000, QLatin1Char('7')), false},
        {"10 000 apostrophes", QString(10'000, QLatin1Char('\'')), false},
        {"a lone NUL", QString(1, QChar(u'\0')), false},
        {"NUL after a stored code", QStringLiteral("0x0000007B") + QChar(u'\0'), false},
        {"NUL before a stored code", QChar(u'\0') + QStringLiteral("0x0000007B"), false},
        {"stored code with a NUL", withNul("nul", "inside"), true},
        {"stored code with a NUL and apostrophes", withNul("O'", "'Brien"), true},
        {"NUL that would end the literal", withNul("x", "' or '1'='1"), false},
        {"lone high surrogate", QStringLiteral("0x7B") + QChar(0xD800), false},
        {"lone low surrogate", QChar(0xDC00) + QStringLiteral("0x7B"), false},
        {"reversed pair", QString(QChar(0xDC00)) + QChar(0xD800), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        box.calls.clear();
        search(c.code);
        ASSERT_EQ(ui.Text1->text(), c.code);  // the box holds the code unchanged
        if (c.found) {
            EXPECT_TRUE(box.calls.empty());
            EXPECT_EQ(ui.List1->text().compare(c.code, Qt::CaseInsensitive), 0);
            EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：") + ui.List1->text());
        } else {
            EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：") + c.code);
            ASSERT_EQ(box.calls.size(), 1u);
            EXPECT_EQ(box.calls[0].text, NotFound);
        }
    }
    EXPECT_EQ(tervolin::test::fileHash(path), before);
}

// Codes longer than the input box holds reach the lookup through the data control unchanged.
TEST_F(FaultTest, VeryLongCodesAreLookedUpThroughTheDataControl)
{
    const auto knowledge = KnowledgeBase::openFile(path);
    const QString million(1'000'000, QLatin1Char('B'));
    for (const QString& code : {QString(), million, QStringLiteral("0x0000007B") + million, million + QChar(u'\0') + million}) {
        const CodeAnswer answer = knowledge->lookup(code);
        EXPECT_FALSE(answer.found) << code.size();
    }
    EXPECT_TRUE(knowledge->lookup(withNul("NUL", "INSIDE")).found);
}

// A hand-edited form description: keys that are missing take defaults, a wrong type or garbage is an error that
// names the file and the key.
TEST(FormDescriptionFaults, MissingKeysTakeDefaultsAndBadValuesNameFileAndKey)
{
    using tervolin::platform::FormDescription;
    using tervolin::platform::FormDescriptionError;
    const QString file = QStringLiteral("/forms/edited.json");

    const auto defaults = FormDescription::parse(R"({"controls":[{"name":"Command1","type":"vantlebutton"}]})", file);
    ASSERT_TRUE(std::holds_alternative<FormDescription>(defaults));
    const auto& form = std::get<FormDescription>(defaults);
    ASSERT_NE(form.control(u"command1"), nullptr);
    EXPECT_FALSE(form.control(u"command1")->extent.has_value());
    EXPECT_TRUE(form.form.isEmpty());

    struct Case { const char* name; QByteArray json; QString key; };
    const Case cases[] = {
        {"empty file", "", QString()},
        {"garbage", "\x01\xff{not json", QString()},
        {"top level is an array", "[1,2]", QString()},
        {"form is a number", R"({"form":3})", QStringLiteral("form")},
        {"controls is an object", R"({"controls":{}})", QStringLiteral("controls")},
        {"control without a name", R"({"controls":[{"type":"vantlebutton"}]})", QStringLiteral("controls[0].name")},
        {"control without a type", R"({"controls":[{"name":"a"}]})", QStringLiteral("controls[0].type")},
        {"extent of three", R"({"controls":[{"name":"a","type":"t","extent":[1,2,3]}]})", QStringLiteral("controls[0].extent")},
        {"extent of texts", R"({"controls":[{"name":"a","type":"t","extent":["1","2","3","4"]}]})", QStringLiteral("controls[0].extent")},
        {"properties is a list", R"({"controls":[{"name":"a","type":"t","properties":[]}]})", QStringLiteral("controls[0].properties")},
        {"fractional number", R"({"controls":[{"name":"a","type":"t","properties":{"buttonstyle":1.5}}]})",
         QStringLiteral("controls[0].properties.buttonstyle")},
        {"number too large", R"({"controls":[{"name":"a","type":"t","properties":{"backcolor":1e20}}]})",
         QStringLiteral("controls[0].properties.backcolor")},
        {"array value", R"({"controls":[{"name":"a","type":"t","properties":{"caption":[1]}}]})",
         QStringLiteral("controls[0].properties.caption")},
        {"second control damaged", R"({"controls":[{"name":"a","type":"t"},{"name":5,"type":"t"}]})", QStringLiteral("controls[1].name")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = FormDescription::parse(c.json, file);
        ASSERT_TRUE(std::holds_alternative<FormDescriptionError>(parsed));
        const auto& error = std::get<FormDescriptionError>(parsed);
        EXPECT_EQ(error.file, file);
        EXPECT_EQ(error.key, c.key);
        EXPECT_TRUE(error.toString().startsWith(file));
        if (!c.key.isEmpty()) {
            EXPECT_TRUE(error.toString().contains(c.key)) << error.toString().toStdString();
        }
    }

    const auto missing = FormDescription::load(QStringLiteral("/nonexistent/form1.json"));
    ASSERT_TRUE(std::holds_alternative<FormDescriptionError>(missing));
    EXPECT_EQ(std::get<FormDescriptionError>(missing).file, QStringLiteral("/nonexistent/form1.json"));
}
