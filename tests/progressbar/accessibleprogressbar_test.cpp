// What assistive tools see of a ProgressBar, through QAccessible as a screen reader's bridge queries it.
#include <gtest/gtest.h>

#include <QAccessible>

#include "controls/progressbar/accessibleprogressbar.h"
#include "controls/progressbar/progressbar.h"
#include "platform/usercontrol.h"
#include "tests/support/qtprinters.h"

using namespace tervolin::controls;

namespace {

struct Placed
{
    tervolin::platform::ControlContainer form;
    ProgressBar bar;

    Placed()
    {
        bar.setSite(&form, QStringLiteral("ProgressBar1"));
        bar.resize(200, 20);
        bar.initProperties();  // 50 of 0 to 100, caption "Z42K ProgressBar"
    }
};

TEST(AccessibleProgressBar, AProgressBarWithItsValueAndRange)
{
    Placed p;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&p.bar);
    ASSERT_NE(dynamic_cast<AccessibleProgressBar*>(iface), nullptr) << "the factory hands out the bar's interface";
    EXPECT_EQ(iface->role(), QAccessible::ProgressBar);
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue(), QVariant(50));
    EXPECT_EQ(value->minimumValue(), QVariant(0));
    EXPECT_EQ(value->maximumValue(), QVariant(100));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("50%"));

    p.bar.setMax(400);
    p.bar.setMin(20);
    p.bar.setValue(100);
    EXPECT_EQ(value->currentValue(), QVariant(100));
    EXPECT_EQ(value->minimumValue(), QVariant(20));
    EXPECT_EQ(value->maximumValue(), QVariant(400));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("25%"));  // Value / Max, as the bar fills
    value->setCurrentValue(7);                                           // the bar takes no input
    EXPECT_EQ(p.bar.Value(), 100);
}

TEST(AccessibleProgressBar, NamedByTheCaptionItShows)
{
    struct Case
    {
        const char* name;
        ProgressBar::TextStyleValue style;
        ProgressBar::TextEffectValue effect;
        const char* accessibleName;
    };
    using Style = ProgressBar::TextStyleValue;
    using Effect = ProgressBar::TextEffectValue;
    const Case cases[] = {
        {"custom text", Style::CustomText, Effect::DropShadow, "Z42K ProgressBar"},
        {"value", Style::ValueText, Effect::Plain, "50"},
        {"percentage", Style::PercentText, Effect::Outline, "50%"},
        {"no caption", Style{0}, Effect::Plain, ""},
        {"caption not drawn", Style::CustomText, Effect{9}, ""},
    };
    for (const Case& c : cases) {
        Placed p;
        p.bar.setTextStyle(c.style);
        p.bar.setTextEffect(c.effect);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&p.bar)->text(QAccessible::Name), QString::fromUtf8(c.accessibleName))
            << c.name;
    }
    Placed p;
    p.bar.setAccessibleName(QStringLiteral("Download"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&p.bar)->text(QAccessible::Name), QStringLiteral("Download"));
}

}  // namespace
