// The bundled db1.mdb as the build writes it beside the program: complete, well-formed, and every documented code
// found through the window's own lookup.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>

#include <sqlite3.h>

#include <memory>

#include "app/form1.h"
#include "app/startup.h"
#include "app/userdata.h"
#include "platform/listbox.h"
#include "tests/app/mainwindow.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;

namespace {

struct DocumentedCode
{
    QString code;
    QString name;
};

// data/bugcheck_codes.csv: "code,name,parameters,page" per line after a header.
std::vector<DocumentedCode> documentedCodes()
{
    std::vector<DocumentedCode> codes;
    QFile file(tervolin::test::sourceFile(QStringLiteral("data/bugcheck_codes.csv")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return codes;
    file.readLine();
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char(','));
        if (fields.size() == 4)
            codes.push_back({fields[0], fields[1]});
    }
    return codes;
}

struct Row
{
    std::optional<QString> daima;
    std::optional<QString> fenxi;
    std::optional<QString> jiejue;
};

std::vector<Row> tableRows()
{
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(TERVOLIN_BUILT_DB, &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT daima, fenxi, jiejue FROM lanping", -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                Row row;
                for (int c = 0; c < 3; ++c) {
                    std::optional<QString> value;
                    if (sqlite3_column_type(st, c) != SQLITE_NULL)
                        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
                    (c == 0 ? row.daima : c == 1 ? row.fenxi : row.jiejue) = value;
                }
                rows.push_back(row);
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return rows;
}

bool hasChinese(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

class BundledKnowledgeBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(QStringLiteral(TERVOLIN_BUILT_DB))) << TERVOLIN_BUILT_DB;
        rows = tableRows();
        ASSERT_FALSE(rows.empty());
    }

    void openWindow()
    {
        tervolin::test::openMainWindow(QFileInfo(QStringLiteral(TERVOLIN_BUILT_DB)).absolutePath(), box, form, ui, false);
    }

    void TearDown() override
    {
        form.reset();
        UserData::setApplicationDirectory({});
    }

    std::vector<Row> rows;
    tervolin::test::RecordingMessageBox box;
    std::unique_ptr<Form1> form;
    tervolin::app::Form1Controls ui;
};

}  // namespace

TEST_F(BundledKnowledgeBase, EveryRowHasACodeUniqueWithoutRegardToCaseAndChineseTexts)
{
    QSet<QString> seen;
    for (const Row& row : rows) {
        ASSERT_TRUE(row.daima.has_value());
        const QString code = *row.daima;
        EXPECT_FALSE(code.trimmed().isEmpty());
        EXPECT_EQ(code, code.trimmed());
        EXPECT_FALSE(code.contains(QLatin1Char('\''))) << code.toStdString();
        EXPECT_FALSE(seen.contains(code.toLower())) << "duplicate daima " << code.toStdString();
        seen.insert(code.toLower());
        for (const auto& text : {row.fenxi, row.jiejue}) {
            ASSERT_TRUE(text.has_value()) << code.toStdString();
            EXPECT_FALSE(text->trimmed().isEmpty()) << code.toStdString();
            EXPECT_TRUE(hasChinese(*text)) << code.toStdString();
        }
    }
}

TEST_F(BundledKnowledgeBase, EachCodeStandsBesideItsNameWithTheSameTextsInNumericOrder)
{
    QHash<QString, QString> nameOf;
    for (const DocumentedCode& d : documentedCodes())
        nameOf.insert(d.code.toUpper(), d.name);
    ASSERT_EQ(nameOf.size(), 425);
    ASSERT_EQ(rows.size() % 2, 0u);
    qulonglong previous = 0;
    for (std::size_t i = 0; i < rows.size(); i += 2) {
        const QString hex = rows[i].daima.value_or(QString());
        const QString name = rows[i + 1].daima.value_or(QString());
        bool ok = false;
        const qulonglong value = hex.mid(2).toULongLong(&ok, 16);
        ASSERT_TRUE(ok && hex.startsWith(QStringLiteral("0x")) && hex.size() == 10) << hex.toStdString();
        EXPECT_GT(value, previous) << hex.toStdString();
        previous = value;
        if (nameOf.contains(hex.toUpper())) {
            EXPECT_EQ(name, nameOf.value(hex.toUpper())) << hex.toStdString();
        }
        EXPECT_EQ(rows[i].fenxi, rows[i + 1].fenxi) << hex.toStdString();
        EXPECT_EQ(rows[i].jiejue, rows[i + 1].jiejue) << hex.toStdString();
    }
}

TEST_F(BundledKnowledgeBase, EveryDocumentedCodeIsFoundByItsHexFormAndByItsName)
{
    const std::vector<DocumentedCode> documented = documentedCodes();
    ASSERT_EQ(documented.size(), 425u);
    openWindow();
    for (const DocumentedCode& d : documented) {
        QString analysis;
        for (const QString& typed : {d.code, d.name}) {
            ui.Text1->setText(typed);
            form->Search();
            ASSERT_TRUE(box.calls.empty()) << "not found: " << typed.toStdString();
            EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：") + typed);
            EXPECT_EQ(ui.List1->text(), typed);
            EXPECT_TRUE(hasChinese(ui.Text2->toPlainText())) << typed.toStdString();
            EXPECT_TRUE(hasChinese(ui.Text3->toPlainText())) << typed.toStdString();
            if (analysis.isEmpty())
                analysis = ui.Text2->toPlainText();
            else
                EXPECT_EQ(ui.Text2->toPlainText(), analysis) << typed.toStdString();
        }
    }
}

TEST_F(BundledKnowledgeBase, RecordCountLineCountsEveryRow)
{
    openWindow();
    EXPECT_GE(rows.size(), 2u * 425u);
    EXPECT_EQ(ui.List1->ListCount(), static_cast<int>(rows.size()));
    EXPECT_EQ(ui.Label8->text(), QStringLiteral("当前数据库共有%1条记录").arg(rows.size()));
}
