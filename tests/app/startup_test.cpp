#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>

#include "app/form1.h"
#include "app/form1layout.h"
#include "app/startup.h"
#include "app/userdata.h"
#include "platform/listbox.h"
#include "tests/app/mainwindow.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;
using tervolin::platform::MessageBoxIcon;

TEST(Startup, AnUnusableDataFileIsReportedWithPathAndEngineTextAndNoWindowOpens)
{
    struct Case { const char* name; std::function<void(const QString&)> make; const char* engineText; };
    const Case cases[] = {
        {"missing", [](const QString&) {}, "does not exist"},
        {"not a database", [](const QString& p) { QFile f(p); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); f.write("plain text, no database"); }, "not a database"},
        {"no table lanping", [](const QString& p) { tervolin::test::createDatabase(p, "CREATE TABLE codes(daima TEXT)"); }, "no such table: lanping"},
        {"column missing", [](const QString& p) { tervolin::test::createDatabase(p, "CREATE TABLE lanping(daima TEXT, fenxi TEXT)"); }, "no such column: jiejue"},
    };
    for (const Case& c : cases) {
        const QString dir = tervolin::test::scratchDir();
        const QString path = dir + QStringLiteral("/db1.mdb");
        c.make(path);
        UserData::setApplicationDirectory(dir);
        tervolin::test::RecordingMessageBox box;
        const auto form = loadMainWindow(box);
        EXPECT_EQ(form, nullptr) << c.name;
        ASSERT_EQ(box.calls.size(), 1u) << c.name;
        EXPECT_TRUE(box.calls[0].text.contains(path)) << c.name << ": " << box.calls[0].text.toStdString();
        EXPECT_TRUE(box.calls[0].text.contains(QString::fromUtf8(c.engineText))) << c.name << ": " << box.calls[0].text.toStdString();
        EXPECT_EQ(box.calls[0].icon, MessageBoxIcon::Critical);
    }
    UserData::setApplicationDirectory({});
}

// The data file is opened and read before the window is built: a failure leaves no widget behind.
TEST(Startup, AFailureBuildsNoWidget)
{
    const QString dir = tervolin::test::scratchDir();
    tervolin::test::createDatabase(dir + QStringLiteral("/db1.mdb"), "CREATE TABLE lanping(daima TEXT, fenxi TEXT)");
    UserData::setApplicationDirectory(dir);
    const qsizetype widgetsBefore = QApplication::allWidgets().size();
    qsizetype widgetsWhileReported = -1;
    tervolin::test::RecordingMessageBox box;
    box.whileOpen = [&] { widgetsWhileReported = QApplication::allWidgets().size(); };
    EXPECT_EQ(loadMainWindow(box), nullptr);
    EXPECT_EQ(box.calls.size(), 1u);
    EXPECT_EQ(widgetsWhileReported, widgetsBefore);
    UserData::setApplicationDirectory({});
}

TEST(Startup, TheDesignNeedsAPlacementForEachButton)
{
    using tervolin::platform::FormDescription;
    const auto built = Form1Design::load();
    ASSERT_TRUE(std::holds_alternative<Form1Design>(built)) << std::get<QString>(built).toStdString();
    EXPECT_EQ(std::get<Form1Design>(built).Command1.extent, QRect(4200, 480, 1455, 375));

    const auto parsed = FormDescription::parse(R"({"controls":[{"name":"Command1","type":"vantlebutton","extent":[1,2,3,4]},
        {"name":"vantlebutton2","type":"vantlebutton","extent":[1,2,3,4]},{"name":"vantlebutton3","type":"vantlebutton"}]})",
                                               QStringLiteral("edited.json"));
    ASSERT_TRUE(std::holds_alternative<FormDescription>(parsed));
    const auto design = Form1Design::from(std::get<FormDescription>(parsed));
    ASSERT_TRUE(std::holds_alternative<QString>(design));
    EXPECT_TRUE(std::get<QString>(design).contains(QStringLiteral("no placement for vantlebutton3"))) << std::get<QString>(design).toStdString();
}

TEST(Startup, AGoodFileGivesAFilledWindowThatIsNotShownYet)
{
    const QString dir = tervolin::test::scratchDir();
    tervolin::test::createLanping(dir + QStringLiteral("/db1.mdb"), {{QStringLiteral("0x0000007B"), QStringLiteral("a"), QStringLiteral("b")}});
    UserData::setApplicationDirectory(dir);
    tervolin::test::RecordingMessageBox box;
    const auto form = loadMainWindow(box);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(box.calls.empty());
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(tervolin::test::waitForCodeList(*form));
    EXPECT_EQ(tervolin::test::form1Controls(*form).List1->ListCount(), 1);
    UserData::setApplicationDirectory({});
}
