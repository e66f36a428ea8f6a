// What assistive tools see of a vantlebutton, through QAccessible as a screen reader's bridge queries it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>


#include "controls/button/accessiblebutton.h"
#include "controls/button/vantlebutton.h"
#include "tests/button/inputharness.h"
#include "tests/support/qtprinters.h"

using namespace tervolin;
using namespace tervolin::controls;

namespace {

QAccessibleInterface* accessible(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr);
    return iface;
}

TEST(AccessibleButton, ThePushButtonOrCheckBoxNamedByItsCaption)
{
    test::InputHarness h;
    h.b->setCaption(QStringLiteral("&Search"));
    QAccessibleInterface* iface = accessible(h.b.get());
    ASSERT_NE(dynamic_cast<AccessibleButton*>(iface), nullptr) << "the factory hands out the button's interface";
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_FALSE(iface->state().checkable);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Search"));
    EXPECT_EQ(iface->text(QAccessible::Accelerator), QStringLiteral("Alt+S"));

    h.b->setCheckBoxMode(true);
    EXPECT_EQ(iface->role(), QAccessible::CheckBox);
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);
    h.b->setValue(true);
    EXPECT_TRUE(iface->state().checked);

    // A name set for assistive tools wins over the caption.
    h.b->setAccessibleName(QStringLiteral("Start the search"));
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Start the search"));
}

TEST(AccessibleButton, NameIsTheCaptionAsDrawn)
{
    struct Case { const char* caption; const char* name; const char* shortcut; };
    const Case cases[] = {
        {"查询", "查询", ""},
        {"--", "--", ""},
        {"X", "X", ""},
        {"&OK", "OK", "Alt+O"},
        {"Save && E&xit", "Save & Exit", "Alt+X"},  // a doubled marker is a literal "&"
        {"&&", "&", ""},
        {"Trailing&", "Trailing", ""},             // a lone marker at the end draws nothing
        {"", "", ""},
    };
    test::ButtonForm form;
    auto b = form.place();
    b->initProperties();
    QAccessibleInterface* iface = accessible(b.get());
    for (const Case& c : cases) {
        b->setCaption(QString::fromUtf8(c.caption));
        EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.caption;
        EXPECT_EQ(iface->text(QAccessible::Accelerator), QString::fromUtf8(c.shortcut)) << c.caption;
    }
}

TEST(AccessibleButton, FocusableFocusedAndUnavailableWhenDisabled)
{
    test::InputHarness h;
    QAccessibleInterface* iface = accessible(h.b.get());
    EXPECT_TRUE(iface->state().focusable);
    h.b->clearFocus();
    EXPECT_FALSE(iface->state().focused);
    h.b->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(iface->state().focused);
    EXPECT_FALSE(iface->state().disabled);
    h.form.window.setEnabled(false);  // a disabled window disables its buttons
    EXPECT_TRUE(iface->state().disabled);
    EXPECT_TRUE(iface->actionInterface()->actionNames().indexOf(QAccessibleActionInterface::pressAction()) < 0);
}

TEST(AccessibleButton, PressClicksAsARealClickDoes)
{
    struct Case { const char* name; bool checkBox; bool enabled; QStringList events; bool value; };
    const Case cases[] = {
        {"push button", false, true, {"MouseDown(1)", "Click", "MouseUp(1)"}, false},
        {"check box", true, true, {"MouseDown(1)", "Click", "MouseUp(1)"}, true},
        {"disabled", false, false, {}, false},
    };
    for (const Case& c : cases) {
        test::InputHarness h;
        h.b->setCaption(QStringLiteral("&Go"));
        h.b->setCheckBoxMode(c.checkBox);
        h.b->setEnabled(c.enabled);
        h.take();
        QAccessibleActionInterface* actions = accessible(h.b.get())->actionInterface();
        ASSERT_NE(actions, nullptr) << c.name;
        if (c.enabled) {
            EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()), QStringList{"Alt+G"}) << c.name;
            EXPECT_EQ(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()), c.checkBox) << c.name;
        }
        actions->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(h.take(), c.events) << c.name;
        EXPECT_EQ(h.b->Value(), c.value) << c.name;
        EXPECT_EQ(h.b->hasFocus(), c.enabled) << c.name << ": a click gives the focus";
        EXPECT_FALSE(h.b->LeftButtonHeld) << c.name;
    }
}

}  // namespace
