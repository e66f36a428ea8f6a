#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>

#include <functional>
#include <memory>

#include "controls/progressbar/colours.h"
#include "controls/progressbar/progressbar.h"
#include "platform/formdescription.h"
#include "tests/button/changesignals.h"
#include "tests/button/testnames.h"
#include "tests/support/qtprinters.h"

using namespace tervolin::controls;
using tervolin::platform::ControlContainer;
using tervolin::platform::Font;
using tervolin::platform::FontDescription;
using tervolin::platform::PropertyStore;
using tervolin::platform::rgb;

namespace {

// A progress bar placed on a form, with every property-changed notification recorded.
struct Placed
{
    ControlContainer form;
    std::unique_ptr<ProgressBar> bar = std::make_unique<ProgressBar>();
    QStringList told;

    Placed()
    {
        FontDescription ambient;
        ambient.name = QStringLiteral("宋体");
        ambient.size = 9;
        form.setFont(ambient);
        bar->setSite(&form, QStringLiteral("ProgressBar1"));
        bar->resize(295, 20);
        QObject::connect(bar.get(), &ProgressBar::propertyChanged, [this](const QString& name) { told << name; });
    }
    void placeNew()
    {
        bar->initProperties();
        told.clear();
    }
};

QStringList strings(const std::vector<const char*>& names)
{
    QStringList out;
    for (const char* n : names)
        out << QString::fromLatin1(n);
    return out;
}

struct ClampCase
{
    const char* name;
    std::function<void(ProgressBar&)> act;
    int min, value, max;
    std::vector<const char*> told;
};

class Clamping : public ::testing::TestWithParam<ClampCase>
{
};

TEST_P(Clamping, KeepsMinValueMaxConsistentAndNotifiesInOrder)
{
    const ClampCase& c = GetParam();
    Placed p;
    p.placeNew();  // Min 0, Value 50, Max 100
    c.act(*p.bar);
    EXPECT_EQ(p.bar->Min(), c.min);
    EXPECT_EQ(p.bar->Value(), c.value);
    EXPECT_EQ(p.bar->Max(), c.max);
    EXPECT_EQ(p.told, strings(c.told));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Clamping,
    ::testing::Values(
        ClampCase{"MaxZero", [](ProgressBar& b) { b.setMax(0); }, 0, 1, 1, {"Value", "Max"}},
        ClampCase{"MaxNegative", [](ProgressBar& b) { b.setMax(-7); }, 0, 1, 1, {"Value", "Max"}},
        ClampCase{"MaxBelowValue", [](ProgressBar& b) { b.setMax(30); }, 0, 30, 30, {"Value", "Max"}},
        ClampCase{"MaxRaised", [](ProgressBar& b) { b.setMax(200); }, 0, 50, 200, {"Max"}},
        ClampCase{"MaxAtMin",
                  [](ProgressBar& b) {
                      b.setMin(10);
                      b.setMax(10);
                  },
                  10, 11, 11, {"Min", "Value", "Max"}},
        ClampCase{"MaxBelowMin",
                  [](ProgressBar& b) {
                      b.setMin(40);
                      b.setMax(5);
                  },
                  40, 41, 41, {"Min", "Value", "Max"}},
        ClampCase{"MinAtMax", [](ProgressBar& b) { b.setMin(100); }, 99, 99, 100, {"Value", "Min"}},
        ClampCase{"MinAboveMax", [](ProgressBar& b) { b.setMin(1000); }, 99, 99, 100, {"Value", "Min"}},
        ClampCase{"MinNegative", [](ProgressBar& b) { b.setMin(-3); }, 0, 50, 100, {"Min"}},
        ClampCase{"MinAboveValue", [](ProgressBar& b) { b.setMin(60); }, 60, 60, 100, {"Value", "Min"}},
        ClampCase{"ValueAboveMax", [](ProgressBar& b) { b.setValue(101); }, 0, 100, 100, {"Value"}},
        ClampCase{"ValueBelowMin",
                  [](ProgressBar& b) {
                      b.setMin(20);
                      b.setValue(5);
                  },
                  20, 20, 100, {"Min", "Value"}},
        ClampCase{"ValueNegative", [](ProgressBar& b) { b.setValue(-1); }, 0, 0, 100, {"Value"}},
        ClampCase{"ValueUnchangedStillNotifies", [](ProgressBar& b) { b.setValue(50); }, 0, 50, 100, {"Value"}},
        ClampCase{"MaxAtIntLimit",
                  [](ProgressBar& b) {
                      b.setMax(2147483647);
                      b.setMin(2147483647);
                  },
                  2147483646, 2147483646, 2147483647, {"Max", "Value", "Min"}}),
    [](const ::testing::TestParamInfo<ClampCase>& row) { return std::string(row.param.name); });

struct Let
{
    const char* key;
    QVariant value;
    bool changesLook;  // Min (Value stays in range) and the unused custom colours leave the pixels as they are
};

// A value for each property but the font, different from a new instance's.
const std::vector<Let>& lets()
{
    static const std::vector<Let> list{{"Value", 10, true},
                                       {"Max", 90, true},
                                       {"Min", 5, false},
                                       {"RoundedValue", 0, true},
                                       {"Enabled", false, true},
                                       {"Theme", 7, true},
                                       {"TextStyle", 1, true},
                                       {"Orientations", 2, true},
                                       {"TextAlignment", 1, true},
                                       {"Text", QStringLiteral("t"), true},
                                       {"TextEffectColor", 0x123456, true},
                                       {"TextEffect", 4, true},
                                       {"TextForeColor", 0xFF, true},
                                       {"PBSCustomeColor1", 0x10, false},
                                       {"PBSCustomeColor2", 0x20, false}};
    return list;
}

TEST(ProgressBar, EveryLetNotifiesItsKeyBeforeItRedraws)
{
    for (const Let& let : lets()) {
        Placed p;
        p.placeNew();
        const QImage before = p.bar->surface().image().copy();
        bool redrawnWhenTold = false;
        QObject::connect(p.bar.get(), &ProgressBar::propertyChanged,
                         [&](const QString&) { redrawnWhenTold = p.bar->surface().image() != before; });
        ASSERT_TRUE(p.bar->setProperty(let.key, let.value)) << let.key;
        EXPECT_EQ(p.told, QStringList{QString::fromLatin1(let.key)}) << let.key;
        QVariant readBack = p.bar->property(let.key);  // an enumeration reads back as its enum type
        ASSERT_TRUE(readBack.convert(let.value.metaType())) << let.key;
        EXPECT_EQ(readBack, let.value) << let.key;
        EXPECT_FALSE(redrawnWhenTold) << let.key;
        EXPECT_EQ(p.bar->surface().image() != before, let.changesLook) << let.key;
    }
}

TEST(ProgressBar, ANewInstanceAssignsEachDefaultThroughItsLet)
{
    Placed p;
    p.bar->initProperties();
    EXPECT_EQ(p.told, strings({"Max", "Min", "Value", "RoundedValue", "Enabled", "Theme", "TextForeColor", "Text", "TextAlignment",
                               "TextEffect", "TextEffectColor", "TextStyle", "Orientations", "TextFont"}));
    const ProgressBar& b = *p.bar;
    EXPECT_EQ(b.Value(), 50);
    EXPECT_EQ(b.Text(), QStringLiteral("Z42K ProgressBar"));
    EXPECT_EQ(b.TextStyle(), ProgressBar::TextStyleValue::CustomText);
    EXPECT_EQ(b.TextEffect(), ProgressBar::TextEffectValue::DropShadow);
    EXPECT_EQ(b.TextEffectColor(), 0xFFFFFF);
    EXPECT_EQ(b.TextAlignment(), ProgressBar::TextAlignmentValue::MiddleCenter);
    EXPECT_EQ(b.Theme(), ProgressBar::ThemeValue::Gold);
    EXPECT_TRUE(b.Enabled());
    ASSERT_TRUE(b.TextFont());
    EXPECT_EQ(b.TextFont()->name(), QStringLiteral("宋体"));
    EXPECT_EQ(b.PBSCustomeColor1(), 0);
    EXPECT_EQ(b.lastRedraw().caption, QStringLiteral("Z42K ProgressBar"));
    EXPECT_EQ(b.lastRedraw().fillLength, 148);
    EXPECT_EQ(b.surface().pixel(5, 10), rgb(203, 166, 57));  // left of the centred caption
}

TEST(ProgressBar, ANewInstanceStoresOnlyWhatDiffersFromTheStoredDefaults)
{
    Placed p;
    p.placeNew();
    PropertyStore store;
    p.bar->writeProperties(store);
    EXPECT_EQ(store.keys(), strings({"TextStyle", "Text", "TextEffectColor", "TextEffect"}));
    EXPECT_EQ(store.readInt(u"textstyle", 0), 3);
    EXPECT_EQ(store.readInt(u"TEXTEFFECT", 0), 5);
    EXPECT_EQ(store.readInt(u"TextEffectColor", 0), 0xFFFFFF);
}

TEST(ProgressBar, AnEmptyStoreLoadsTheReadDefaultsInReadOrder)
{
    Placed p;
    p.bar->readProperties(PropertyStore());
    EXPECT_EQ(p.told, strings({"Max", "Min", "Value", "RoundedValue", "Enabled", "Theme", "TextStyle", "Orientations", "Text",
                               "TextEffectColor", "TextEffect", "TextAlignment", "TextFont", "TextForeColor", "PBSCustomeColor2",
                               "PBSCustomeColor1"}));
    const ProgressBar& b = *p.bar;
    EXPECT_EQ(b.TextStyle(), ProgressBar::TextStyleValue::ValueText);
    EXPECT_EQ(b.TextEffect(), ProgressBar::TextEffectValue::Plain);
    EXPECT_EQ(b.TextEffectColor(), rgb(200, 200, 200));
    EXPECT_EQ(b.Text(), QStringLiteral("ProgressBar1"));  // the display name
    EXPECT_EQ(b.lastRedraw().caption, QStringLiteral("50"));
}

TEST(ProgressBar, AnEmptyTextIsNotStoredAndLoadsAsTheDisplayName)
{
    Placed p;
    p.placeNew();
    p.bar->setText(QString());
    PropertyStore store;
    p.bar->writeProperties(store);
    EXPECT_FALSE(store.contains(u"Text"));
    Placed q;
    q.bar->readProperties(store);
    EXPECT_EQ(q.bar->Text(), QStringLiteral("ProgressBar1"));
}

struct LoadCase
{
    const char* name;
    std::vector<std::pair<const char*, QVariant>> stored;
    int min, value, max;
};

class Loading : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(Loading, AppliesEachKeyThroughItsLet)
{
    PropertyStore store;
    for (const auto& [key, value] : GetParam().stored)
        store.set(QString::fromLatin1(key), value);
    Placed p;
    p.bar->readProperties(store);
    EXPECT_EQ(p.bar->Min(), GetParam().min);
    EXPECT_EQ(p.bar->Value(), GetParam().value);
    EXPECT_EQ(p.bar->Max(), GetParam().max);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Loading,
    ::testing::Values(LoadCase{"MinNotBelowMax", {{"Max", 20}, {"Min", 25}, {"Value", 22}}, 19, 20, 20},
                      LoadCase{"MinEqualsMax", {{"max", 20}, {"MIN", 20}}, 19, 20, 20},
                      LoadCase{"ValueOutOfRange", {{"Max", 20}, {"Min", 5}, {"Value", 2}}, 5, 5, 20},
                      LoadCase{"ZeroMax", {{"Max", 0}}, 0, 1, 1},
                      LoadCase{"NumberAsText", {{"Max", QStringLiteral(" 300 ")}, {"Value", 250}}, 0, 250, 300}),
    [](const ::testing::TestParamInfo<LoadCase>& row) { return std::string(row.param.name); });

TEST(ProgressBar, LoadingSkipsAKeyThatCannotBeReadAndGoesOn)
{
    PropertyStore store;
    store.set(QStringLiteral("Theme"), QStringLiteral("gold"));
    store.set(QStringLiteral("TextFont"), QVariant());  // an unset object reference
    store.set(QStringLiteral("TextStyle"), 2);
    Placed p;
    p.bar->readProperties(store);
    EXPECT_EQ(p.bar->Theme(), ProgressBar::ThemeValue{0});  // kept its value
    EXPECT_FALSE(p.bar->TextFont());
    EXPECT_EQ(p.bar->TextStyle(), ProgressBar::TextStyleValue::PercentText);
    EXPECT_FALSE(p.told.contains(QStringLiteral("Theme")));
    EXPECT_FALSE(p.told.contains(QStringLiteral("TextFont")));
    EXPECT_EQ(p.told.back(), QStringLiteral("PBSCustomeColor1"));
}

TEST(ProgressBar, EveryPropertySurvivesASaveAndLoadThroughAFormDescription)
{
    Placed p;
    p.placeNew();
    ProgressBar& b = *p.bar;
    b.setOrientations(ProgressBar::OrientationValue::Vertical);
    b.setMax(500);
    b.setMin(7);
    b.setValue(321);
    b.setRoundedValue(0);
    b.setEnabled(false);
    b.setTheme(ProgressBar::ThemeValue::Custom);
    b.setTextStyle(ProgressBar::TextStyleValue::PercentText);
    FontDescription fd;
    fd.name = QStringLiteral("Tahoma");
    fd.size = 12;
    fd.weight = 700;
    fd.italic = true;
    b.setTextFont(std::make_shared<Font>(fd));
    b.setTextForeColor(static_cast<int>(0x80000012u));
    b.setTextAlignment(ProgressBar::TextAlignmentValue::BottomRight);
    b.setText(QStringLiteral("进度"));
    b.setTextEffectColor(0x0000FF);
    b.setTextEffect(ProgressBar::TextEffectValue::Outline);
    b.setPBSCustomeColor2(0xABCDEF);
    b.setPBSCustomeColor1(0x123456);

    tervolin::platform::FormDescription form;
    form.form = QStringLiteral("Form1");
    tervolin::platform::ControlDescription control;
    control.name = QStringLiteral("ProgressBar1");
    control.type = QStringLiteral("ProgressBar");
    b.writeProperties(control.properties);
    EXPECT_EQ(control.properties.keys().first(), QStringLiteral("Orientations"));
    EXPECT_EQ(control.properties.keys().last(), QStringLiteral("PBSCustomeColor1"));
    form.controls.push_back(control);
    const auto parsed = tervolin::platform::FormDescription::parse(form.toJson(), QStringLiteral("form1.json"));
    ASSERT_TRUE(std::holds_alternative<tervolin::platform::FormDescription>(parsed));
    const auto& back = std::get<tervolin::platform::FormDescription>(parsed);

    Placed q;
    q.bar->readProperties(back.control(u"ProgressBar1")->properties);
    const ProgressBar& c = *q.bar;
    for (const char* name : {"Orientations", "Max", "Min", "Value", "RoundedValue", "Enabled", "Theme", "TextStyle", "TextForeColor",
                             "TextAlignment", "Text", "TextEffectColor", "TextEffect", "PBSCustomeColor2", "PBSCustomeColor1"})
        EXPECT_EQ(c.property(name), b.property(name)) << name;
    ASSERT_TRUE(c.TextFont());
    EXPECT_EQ(c.TextFont()->description(), fd);
    // Saved again, the loaded bar writes the same description.
    PropertyStore again;
    q.bar->writeProperties(again);
    EXPECT_EQ(again.keys(), control.properties.keys());
}

TEST(ProgressBar, TheFontIsSharedNotCopied)
{
    Placed p;
    p.placeNew();
    auto font = std::make_shared<Font>();
    p.bar->setTextFont(font);
    EXPECT_EQ(p.bar->TextFont().get(), font.get());
    font->setSize(20);
    p.bar->setValue(10);  // the next redraw uses the font as it is now
    EXPECT_DOUBLE_EQ(p.bar->surface().font().pointSizeF(), 20);
}

// Enabled is the bar's own enabled state: disabling it through a QWidget pointer or the property, or disabling
// its parent window, greys the drawing; only a change of its own state is a property change.
TEST(ProgressBar, DisabledLookFollowsQtsEnabledState)
{
    struct Path
    {
        const char* name;
        std::function<void(QWidget& window, QWidget& bar, bool on)> set;
        bool own;
    };
    const Path paths[] = {
        {"through a QWidget pointer", [](QWidget&, QWidget& bar, bool on) { bar.setEnabled(on); }, true},
        {"through the property", [](QWidget&, QWidget& bar, bool on) { bar.setProperty("Enabled", on); }, true},
        {"parent window", [](QWidget& window, QWidget&, bool on) { window.setEnabled(on); }, false},
    };
    const tervolin::platform::ColorRef gold = rgb(203, 166, 57);  // left of the centred caption
    for (const Path& path : paths) {
        QWidget window;
        Placed p;
        p.bar->setParent(&window);
        p.placeNew();
        QSignalSpy enabledChanged(p.bar.get(), &ProgressBar::EnabledChanged);
        const QStringList announced = path.own ? QStringList{QStringLiteral("Enabled")} : QStringList{};

        path.set(window, *p.bar, false);
        EXPECT_EQ(p.bar->Enabled(), !path.own) << path.name;
        EXPECT_FALSE(p.bar->isEnabled()) << path.name;
        EXPECT_EQ(p.bar->surface().pixel(5, 10), tervolin::controls::progressbar::GreyColour(gold)) << path.name;
        EXPECT_EQ(p.told, announced) << path.name;
        EXPECT_EQ(enabledChanged.count(), path.own ? 1 : 0) << path.name;
        PropertyStore store;
        p.bar->writeProperties(store);
        EXPECT_EQ(store.contains(u"Enabled"), path.own) << path.name;

        p.told.clear();
        path.set(window, *p.bar, true);
        EXPECT_TRUE(p.bar->Enabled()) << path.name;
        EXPECT_EQ(p.bar->surface().pixel(5, 10), gold) << path.name;
        EXPECT_EQ(p.told, announced) << path.name;
    }
}

// Every property has a change signal, emitted with the new value where the container is told, also for the same
// value again (as the notice is); Enabled, set through QWidget::setEnabled, signals only a change.
TEST(ProgressBar, EveryPropertySignalsWithItsNotice)
{
    const QMetaObject& mo = ProgressBar::staticMetaObject;
    ASSERT_EQ(mo.propertyCount() - mo.propertyOffset(), 16);
    for (const Let& let : lets()) {
        Placed p;
        p.placeNew();
        const QMetaProperty property = mo.property(mo.indexOfProperty(let.key));
        ASSERT_TRUE(property.hasNotifySignal()) << let.key;
        tervolin::test::ChangeSignals changes(*p.bar);
        QSignalSpy spy(p.bar.get(), property.notifySignal());
        for (int time = 0; time < 2; ++time)
            ASSERT_TRUE(p.bar->setProperty(let.key, let.value)) << let.key;
        const bool once = QLatin1String(let.key) == QLatin1String("Enabled");
        EXPECT_EQ(changes.signalled, changes.told) << let.key;
        ASSERT_EQ(spy.count(), once ? 1 : 2) << let.key;
        QVariant signalled = spy.first().first();
        ASSERT_TRUE(signalled.convert(let.value.metaType())) << let.key;
        EXPECT_EQ(signalled, let.value) << let.key;
    }
    // The font, set as an object.
    Placed p;
    p.placeNew();
    QSignalSpy fontChanged(p.bar.get(), &ProgressBar::TextFontChanged);
    auto font = std::make_shared<Font>();
    p.bar->setTextFont(font);
    ASSERT_EQ(fontChanged.count(), 1);
    EXPECT_EQ(fontChanged.first().first().value<std::shared_ptr<Font>>(), font);
}

TEST(ProgressBar, EnumeratedPropertiesKeepAnyNumberAndKnowTheirNames)
{
    const QMetaObject& mo = ProgressBar::staticMetaObject;
    for (const char* name : {"Theme", "TextStyle", "Orientations", "TextAlignment", "TextEffect"})
        EXPECT_TRUE(mo.property(mo.indexOfProperty(name)).isEnumType()) << name;
    EXPECT_STREQ(mo.property(mo.indexOfProperty("TextEffect")).enumerator().valueToKey(5), "DropShadow");
    Placed p;
    p.placeNew();
    ASSERT_TRUE(p.bar->setProperty("Theme", -40));
    EXPECT_EQ(tervolin::controls::progressbar::numberOf(p.bar->Theme()), -40);
    ASSERT_TRUE(p.bar->setProperty("Orientations", QStringLiteral("Vertical")));
    EXPECT_EQ(p.bar->Orientations(), ProgressBar::OrientationValue::Vertical);
}

TEST(ProgressBar, ResizeRedrawsAtTheNewSize)
{
    Placed p;
    p.placeNew();
    p.bar->setExtentTwips(100 * 15, 30 * 15);
    EXPECT_EQ(p.bar->surface().width(), 100);
    EXPECT_EQ(p.bar->surface().height(), 30);
    EXPECT_EQ(p.bar->lastRedraw().fillLength, 50);
    EXPECT_EQ(p.bar->windowRegion().boundingRect(), (tervolin::platform::Rect{0, 0, 100, 30}));
}

TEST(ProgressBar, HelpStringsForThePropertyBrowser)
{
    const std::vector<std::pair<const char*, const char*>> help{
        {"Value", "Progressbar Value."},
        {"Max", "Progressbar Max Value."},
        {"Min", "Progressbar Min Value."},
        {"RoundedValue", "Progressbar Rounded Corner Value."},
        {"Enabled", "Progressbar Enabled/Disabled."},
        {"Theme", "Progressbar Styles."},
        {"TextStyle", "Progressbar Text Style."},
        {"Orientations", ""},
        {"TextAlignment", "Progressbar Text Alignment."},
        {"Text", "Progressbar Text."},
        {"TextEffectColor", "Progressbar Text Effect Color."},
        {"TextEffect", "Progressbar Text Effect."},
        {"TextForeColor", "Progressbar Text Color."},
        {"TextFont", "Progressbar Text Font."},
        {"PBSCustomeColor1", "Progressbar Style Custome Color 1."},
        {"PBSCustomeColor2", "Progressbar Style Custome Color 2."}};
    for (const auto& [property, text] : help) {
        EXPECT_GE(ProgressBar::staticMetaObject.indexOfProperty(property), 0) << property;
        EXPECT_EQ(ProgressBar::helpString(property), QString::fromLatin1(text)) << property;
    }
}

TEST(ProgressBar, GradientMethodsDrawOnAGivenSurface)
{
    ProgressBar b;
    tervolin::platform::Surface s(6, 6, rgb(1, 1, 1));
    b.GradientTwoColour(s, 1, rgb(10, 20, 30), rgb(10, 20, 30), 0, 0, 3, 3);
    EXPECT_EQ(s.pixel(2, 2), rgb(10, 20, 30));
    EXPECT_EQ(s.pixel(3, 3), rgb(1, 1, 1));
    const auto error = b.DrawGradientFourColour(s, 0, 0, 0, 2, 0, 0, 0, 0);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, 9);
    EXPECT_FALSE(b.DrawGradientFourColour(s, 3, 3, 3, 3, rgb(9, 9, 9), rgb(9, 9, 9), rgb(9, 9, 9), rgb(9, 9, 9)));
    EXPECT_EQ(s.pixel(5, 5), rgb(9, 9, 9));
}

TEST(ProgressBar, ACreatedInstanceRedrawsWithoutARatio)
{
    Placed p;
    p.bar->setTheme(ProgressBar::ThemeValue{0});  // Max 0, Orientations 0, all black
    EXPECT_EQ(p.bar->lastRedraw().fillLength, 0);
    EXPECT_EQ(p.bar->lastRedraw().percent, 0);
    EXPECT_FALSE(p.bar->lastRedraw().caption);
    EXPECT_EQ(p.bar->surface().pixel(0, 0), 0);  // black outline, square corners
    EXPECT_EQ(p.bar->surface().pixel(10, 10), p.bar->surface().backgroundColour());
}

}  // namespace
