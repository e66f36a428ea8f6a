#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include <QSignalSpy>
#include <QTest>

#include "controls/button/vantlebutton.h"
#include "platform/messagebox.h"
#include "platform/storedobjects.h"
#include "tests/button/buttontestsupport.h"
#include "tests/button/changesignals.h"
#include "tests/button/inputharness.h"
#include "tests/support/qtprinters.h"

using namespace tervolin;
using namespace tervolin::controls;
using platform::ColorRef;
using platform::Picture;
using platform::PropertyStore;

namespace {

constexpr ColorRef ButtonFace = 0xF0F0F0;  // system colour 15 in the pinned table
constexpr ColorRef ButtonText = 0x000000;  // system colour 18

// A style number no painter of the program uses, given a recording painter for these tests.
constexpr ButtonStyles TracedStyle{77};

class ButtonTest : public ::testing::Test
{
protected:
    test::ButtonForm form;
    std::unique_ptr<vantlebutton> b;

    void SetUp() override
    {
        StylePainterRegistry::add(TracedStyle, &test::PainterTrace::paint);
        b = form.place();
    }
    void TearDown() override
    {
        b.reset();
        StylePainterRegistry::remove(TracedStyle);
    }

    PropertyStore written(vantlebutton& button)
    {
        PropertyStore s;
        button.writeProperties(s);
        return s;
    }
};

TEST_F(ButtonTest, NewButtonStartsWithTheDocumentedValues)
{
    b->initProperties();
    EXPECT_EQ(b->ButtonStyle(), ButtonStyles::Standard);
    EXPECT_TRUE(b->ShowFocusRect());
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->Caption(), QStringLiteral("vantlebutton1"));
    EXPECT_EQ(b->surfaceFont().name, QStringLiteral("Tahoma"));
    EXPECT_EQ(b->Font(), nullptr);
    EXPECT_EQ(b->PictureAlign(), PictureAlignments::PictureLeftOfCaption);
    EXPECT_EQ(b->CaptionAlign(), CaptionAlignments::AlignCenter);
    EXPECT_FALSE(b->UseMaskColor());
    EXPECT_EQ(b->MaskColor(), 0xE0E0E0);
    EXPECT_EQ(b->BackColor(), ButtonFace);
    EXPECT_EQ(b->ForeColor(), ButtonText);
    EXPECT_EQ(b->MousePointer(), 0);
    EXPECT_TRUE(b->picture().isNone());
    EXPECT_TRUE(b->IsNT);
    EXPECT_EQ(b->clientWidth(), 97);
    EXPECT_EQ(b->clientHeight(), 25);
    EXPECT_NE(b->hWnd(), 0);
    EXPECT_EQ(b->hWnd(), platform::handleOf(b.get()));
}

TEST_F(ButtonTest, NewButtonWritesTheDocumentedKeysInOrder)
{
    b->initProperties();
    const PropertyStore s = written(*b);
    // Standard (0) differs from the stored default Flat, the focus flag from false; everything else is default.
    EXPECT_EQ(s.keys(), (QStringList{QStringLiteral("ButtonStyle"), QStringLiteral("ShowFocusRect")}));
    EXPECT_EQ(s.readInt(u"buttonstyle", 1), 0);
}

TEST_F(ButtonTest, EveryKeyIsWrittenInOrderWithItsSpelling)
{
    b->initProperties();
    b->setButtonStyle(ButtonStyles::Glossy);
    b->setShowFocusRect(true);
    b->setEnabled(false);
    platform::FontDescription fd;
    fd.name = QStringLiteral("Tahoma");
    fd.size = 11;
    b->setFont(std::make_shared<platform::Font>(fd));
    b->setBackColor(0x123456);
    b->setCaption(QStringLiteral("查询"));
    b->setForeColor(0x0000FF);
    b->setCheckBoxMode(true);
    b->setValue(true);
    b->setMousePointer(2);
    b->setHandPointer(true);
    b->setPicture(test::solidBitmap(8, 8, qRgb(1, 2, 3)));
    b->setPictureHover(test::solidBitmap(8, 8, qRgb(4, 5, 6)));
    b->setMouseIcon(test::solidIcon(16, 16, qRgba(0, 0, 0, 255)));
    b->setPictureAlign(PictureAlignments::PictureTopEdge);
    b->setPictureSize(PictureSizes::Size24);
    b->setUseMaskColor(true);
    b->setMaskColor(0x00FF00);
    b->setCaptionAlign(CaptionAlignments::AlignRight);

    const PropertyStore s = written(*b);
    EXPECT_EQ(s.keys(), (QStringList{QStringLiteral("ButtonStyle"), QStringLiteral("ShowFocusRect"), QStringLiteral("Enabled"),
                                     QStringLiteral("Font"), QStringLiteral("BackColor"), QStringLiteral("Caption"),
                                     QStringLiteral("ForeColor"), QStringLiteral("CheckBoxMode"), QStringLiteral("Value"),
                                     QStringLiteral("MousePointer"), QStringLiteral("HandPointer"), QStringLiteral("MouseIcon"),
                                     QStringLiteral("Picture"), QStringLiteral("PictureHover"), QStringLiteral("PictureAlign"),
                                     QStringLiteral("pictureSize"), QStringLiteral("UseMaskCOlor"), QStringLiteral("MaskColor"),
                                     QStringLiteral("CaptionAlign")}));

    // Read back into a fresh button: every property comes back.
    auto c = form.place(QStringLiteral("other"));
    c->readProperties(s);
    EXPECT_EQ(c->ButtonStyle(), ButtonStyles::Glossy);
    EXPECT_TRUE(c->ShowFocusRect());
    EXPECT_FALSE(c->Enabled());
    EXPECT_FALSE(c->isEnabled());
    ASSERT_NE(c->Font(), nullptr);
    EXPECT_EQ(c->Font()->description(), fd);
    EXPECT_EQ(c->surfaceFont(), fd);
    EXPECT_EQ(c->BackColor(), 0x123456);
    EXPECT_EQ(c->Caption(), QStringLiteral("查询"));
    EXPECT_EQ(c->ForeColor(), 0x0000FF);
    EXPECT_EQ(c->surfaceForeColor(), 0x0000FF);
    EXPECT_TRUE(c->CheckBoxMode());
    EXPECT_TRUE(c->Value());
    EXPECT_EQ(c->MousePointer(), 99);  // setting MouseIcon made the pointer custom
    EXPECT_TRUE(c->HandPointer());
    EXPECT_EQ(c->MouseIcon(), b->MouseIcon());
    EXPECT_EQ(c->picture(), b->picture());
    EXPECT_EQ(c->PictureHover(), b->PictureHover());
    EXPECT_EQ(c->PictureAlign(), PictureAlignments::PictureTopEdge);
    EXPECT_EQ(c->PictureSize(), PictureSizes::Size24);
    EXPECT_TRUE(c->UseMaskColor());
    EXPECT_EQ(c->MaskColor(), 0x00FF00);
    EXPECT_EQ(c->CaptionAlign(), CaptionAlignments::AlignRight);
}

TEST_F(ButtonTest, ReadsAreCaseBlindAsInSavedForms)
{
    PropertyStore s;
    s.set(QStringLiteral("buttonstyle"), 14);
    s.set(QStringLiteral("backcolor"), 0xD0D0D0);
    s.set(QStringLiteral("caption"), QStringLiteral("x"));
    s.set(QStringLiteral("PICTURESIZE"), 3);
    s.set(QStringLiteral("usemaskcolor"), -1);
    b->readProperties(s);
    EXPECT_EQ(b->ButtonStyle(), ButtonStyles::RoundGlass);
    EXPECT_EQ(b->BackColor(), 0xD0D0D0);
    EXPECT_EQ(b->Caption(), QStringLiteral("x"));
    EXPECT_EQ(b->PictureSize(), PictureSizes::Size32);
    EXPECT_TRUE(b->UseMaskColor());
}

TEST_F(ButtonTest, EmptyStoreLoadsTheStoredDefaults)
{
    platform::FontDescription ambient;
    ambient.name = QStringLiteral("宋体");
    ambient.size = 10.5;
    form.container.setFont(ambient);
    b->readProperties(PropertyStore());
    EXPECT_EQ(b->ButtonStyle(), ButtonStyles::Flat);
    EXPECT_FALSE(b->ShowFocusRect());
    EXPECT_EQ(b->Caption(), QStringLiteral("vantlebutton"));
    EXPECT_EQ(b->BackColor(), ButtonFace);
    EXPECT_EQ(b->ForeColor(), ButtonText);
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->MaskColor(), 0xE0E0E0);
    EXPECT_EQ(b->PictureAlign(), PictureAlignments::PictureLeftOfCaption);
    EXPECT_EQ(b->CaptionAlign(), CaptionAlignments::AlignCenter);
    ASSERT_NE(b->Font(), nullptr);
    EXPECT_EQ(b->Font()->description(), ambient);
    EXPECT_FALSE(b->DisplayAsDefault);
    EXPECT_EQ(b->ParentWindow, platform::handleOf(&form.window));
    // Only the caption differs: it reads with one default and writes with another.
    EXPECT_EQ(written(*b).keys(), QStringList{QStringLiteral("Caption")});
}

TEST_F(ButtonTest, CaptionUsesDifferentReadAndWriteDefaults)
{
    struct Case { const char* caption; bool stored; const char* readBack; };
    const Case cases[] = {
        {"vantlebutton1", false, "vantlebutton"},
        {"vantlebutton", true, "vantlebutton"},
        {"", true, ""},
        {"&Search", true, "&Search"},
    };
    for (const Case& k : cases) {
        b->initProperties();
        b->setCaption(QString::fromUtf8(k.caption));
        const PropertyStore s = written(*b);
        EXPECT_EQ(s.contains(u"caption"), k.stored) << k.caption;
        auto c = form.place();
        c->readProperties(s);
        EXPECT_EQ(c->Caption(), QString::fromUtf8(k.readBack)) << k.caption;
    }
}

TEST_F(ButtonTest, StoredFormsElideStyleDefaults)
{
    struct Case { ButtonStyles style; bool storesStyle; bool storesForeColor; bool storesFocusRect; };
    const Case cases[] = {
        {ButtonStyles::Flat, false, false, true},        // Flat focus rect is on by style: stored
        {ButtonStyles::RoundGlass, true, false, false},  // default ForeColor and no focus rect: neither stored
        {ButtonStyles::Shadow, true, true, true},        // white caption
        {ButtonStyles::Standard, true, false, true},
    };
    for (const Case& k : cases) {
        b->initProperties();
        b->setButtonStyle(k.style);
        const PropertyStore s = written(*b);
        EXPECT_EQ(s.contains(u"ButtonStyle"), k.storesStyle) << k.style;
        EXPECT_EQ(s.contains(u"ForeColor"), k.storesForeColor) << k.style;
        EXPECT_EQ(s.contains(u"ShowFocusRect"), k.storesFocusRect) << k.style;
        auto c = form.place();
        c->readProperties(s);
        EXPECT_EQ(c->ButtonStyle(), k.style);
    }
}

struct StyleDefaults
{
    std::int32_t style;
    ColorRef back;   // -2: unchanged
    ColorRef fore;
    bool focusRect;
};

class ApplyStyleDefaultsTest : public ButtonTest, public ::testing::WithParamInterface<StyleDefaults> {};

TEST_P(ApplyStyleDefaultsTest, SetsColoursAndFocusFlag)
{
    const StyleDefaults& p = GetParam();
    b->initProperties();
    b->setBackColor(0x010203);
    b->setForeColor(0x040506);
    b->setShowFocusRect(!p.focusRect);
    b->setButtonStyle(ButtonStyles{p.style});
    EXPECT_EQ(b->ButtonStyle(), ButtonStyles{p.style});
    EXPECT_EQ(b->BackColor(), p.back == -2 ? 0x010203 : p.back);
    EXPECT_EQ(b->ForeColor(), p.fore);
    EXPECT_EQ(b->ShowFocusRect(), p.focusRect);
    // Out-of-range styles are kept by the store too.
    auto c = form.place();
    c->readProperties(written(*b));
    EXPECT_EQ(c->ButtonStyle(), ButtonStyles{p.style});
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ApplyStyleDefaultsTest,
    ::testing::Values(StyleDefaults{0, ButtonFace, ButtonText, true}, StyleDefaults{1, ButtonFace, ButtonText, true},
                      StyleDefaults{2, 0xE7EBEC, ButtonText, false}, StyleDefaults{3, ButtonFace, ButtonText, false},
                      StyleDefaults{4, 0xE3E3E3, ButtonText, false}, StyleDefaults{5, 0xAA6D00, 0xFFFFFF, true},
                      StyleDefaults{6, 0xE1D6D5, ButtonText, true}, StyleDefaults{7, 0xFFD1AD, ButtonText, false},
                      StyleDefaults{8, ButtonFace, ButtonText, false}, StyleDefaults{9, ButtonFace, ButtonText, false},
                      StyleDefaults{10, 0xFFD1AD, ButtonText, false}, StyleDefaults{11, ButtonFace, ButtonText, false},
                      StyleDefaults{12, ButtonFace, ButtonText, false}, StyleDefaults{13, 0xFCE1CA, ButtonText, false},
                      StyleDefaults{14, 0xD0D0D0, ButtonText, false}, StyleDefaults{15, 0xE6CAA7, ButtonText, true},
                      StyleDefaults{16, -2, ButtonText, false}, StyleDefaults{-1, -2, ButtonText, false},
                      StyleDefaults{std::numeric_limits<std::int32_t>::max(), -2, ButtonText, false}),
    [](const ::testing::TestParamInfo<StyleDefaults>& row) { return test::nameOf(ButtonStyles{row.param.style}); });

// --- Setter side effects and notices ---------------------------------------------------------------------------

struct SetterCase
{
    const char* name;
    std::function<void(vantlebutton&)> before;  // preparation, not traced
    std::function<void(vantlebutton&)> set;
    QStringList expected;                        // "Redraw" and "notify:<name>" in order
    QStringList silent = {};                     // change signals after the notices, without a notice of their own
};

class SetterTest : public ButtonTest, public ::testing::WithParamInterface<SetterCase>
{
protected:
    /// A new button drawn by the recording painter, prepared as the row says.
    void prepare()
    {
        b->initProperties();
        b->setButtonStyle(TracedStyle);
        if (GetParam().before)
            GetParam().before(*b);
    }
};

TEST_P(SetterTest, SideEffectsAndNoticesInOrder)
{
    const SetterCase& p = GetParam();
    prepare();
    QStringList seen;
    test::PainterTrace::calls().clear();
    QObject::connect(b.get(), &vantlebutton::propertyChanged, [&seen](const QString& name) {
        seen << test::PainterTrace::calls();
        test::PainterTrace::calls().clear();
        seen << QStringLiteral("notify:") + name;
    });
    p.set(*b);
    seen << test::PainterTrace::calls();
    EXPECT_EQ(seen, p.expected);
}

// Every notice to the container comes with the property's change signal, in the same order; a few changes only
// signal.
TEST_P(SetterTest, ChangeSignalsGoWithTheNotices)
{
    const SetterCase& p = GetParam();
    prepare();
    test::ChangeSignals changes(*b);
    p.set(*b);
    EXPECT_EQ(changes.signalled, changes.told + p.silent);
}

const Picture Bitmap = test::solidBitmap(8, 8, qRgb(10, 20, 30));
const QString R = QStringLiteral("Redraw");
QString N(const char* name) { return QStringLiteral("notify:") + QLatin1String(name); }

INSTANTIATE_TEST_SUITE_P(
    Properties, SetterTest,
    ::testing::Values(
        SetterCase{"ButtonStyle", {}, [](vantlebutton& x) { x.setButtonStyle(TracedStyle); }, {R, N("ButtonStyle")}},
        SetterCase{"ShowFocusRect", {}, [](vantlebutton& x) { x.setShowFocusRect(false); }, {N("ShowFocusRect")}},
        SetterCase{"BackColor", {}, [](vantlebutton& x) { x.setBackColor(1); }, {R, N("BackColor")}},
        SetterCase{"Enabled", {}, [](vantlebutton& x) { x.setEnabled(false); }, {R, N("Enabled")}},
        SetterCase{"Caption", {}, [](vantlebutton& x) { x.setCaption(QStringLiteral("&OK")); }, {R, N("Caption")}},
        SetterCase{"ValueOutsideCheckBoxMode", {}, [](vantlebutton& x) { x.setValue(true); }, {R}},
        SetterCase{"ValueInCheckBoxMode", [](vantlebutton& x) { x.setCheckBoxMode(true); },
                   [](vantlebutton& x) { x.setValue(true); }, {R, N("Value")}},
        SetterCase{"MousePointer", {}, [](vantlebutton& x) { x.setMousePointer(3); }, {N("MousePointer")}},
        SetterCase{"HandPointer", {}, [](vantlebutton& x) { x.setHandPointer(true); }, {N("HandPointer")}},
        SetterCase{"MouseIcon", {}, [](vantlebutton& x) { x.setMouseIcon(Bitmap); }, {N("MouseIcon")}, {"MousePointer"}},
        SetterCase{"Picture", {}, [](vantlebutton& x) { x.setPicture(Bitmap); }, {R, N("Picture")}},
        SetterCase{"PictureCleared", [](vantlebutton& x) { x.setPicture(Bitmap); },
                   [](vantlebutton& x) { x.setPicture(Picture()); }, {R}, {"Picture"}},
        SetterCase{"PictureHoverWithoutPicture", {}, [](vantlebutton& x) { x.setPictureHover(Bitmap); },
                   {N("Picture"), R, N("PictureHover")}},
        SetterCase{"PictureHoverWithPicture", [](vantlebutton& x) { x.setPicture(Bitmap); },
                   [](vantlebutton& x) { x.setPictureHover(Bitmap); }, {R, N("PictureHover")}},
        SetterCase{"PictureHoverCleared", [](vantlebutton& x) { x.setPicture(Bitmap); },
                   [](vantlebutton& x) { x.setPictureHover(Picture()); }, {R}, {"PictureHover"}},
        SetterCase{"PictureSize", {}, [](vantlebutton& x) { x.setPictureSize(PictureSizes::Size24); }, {R, N("PictureSize")}},
        SetterCase{"MaskColor", {}, [](vantlebutton& x) { x.setMaskColor(5); }, {R, N("MaskColor")}},
        SetterCase{"UseMaskColorWithoutPicture", {}, [](vantlebutton& x) { x.setUseMaskColor(true); }, {N("UseMaskColor")}},
        SetterCase{"UseMaskColorWithPicture", [](vantlebutton& x) { x.setPicture(Bitmap); },
                   [](vantlebutton& x) { x.setUseMaskColor(true); }, {R, N("UseMaskColor")}},
        SetterCase{"CheckBoxMode", {}, [](vantlebutton& x) { x.setCheckBoxMode(true); }, {R, N("Value"), N("CheckBoxMode")}},
        SetterCase{"PictureAlignWithoutPicture", {}, [](vantlebutton& x) { x.setPictureAlign(PictureAlignments::PictureLeftEdge); }, {N("PictureAlign")}},
        SetterCase{"PictureAlignWithPicture", [](vantlebutton& x) { x.setPicture(Bitmap); },
                   [](vantlebutton& x) { x.setPictureAlign(PictureAlignments::PictureLeftEdge); }, {R, N("PictureAlign")}},
        SetterCase{"CaptionAlign", {}, [](vantlebutton& x) { x.setCaptionAlign(CaptionAlignments::AlignLeft); }, {R, N("CaptionAlign")}},
        SetterCase{"ForeColor", {}, [](vantlebutton& x) { x.setForeColor(7); }, {R, N("ForeColor")}},
        SetterCase{"Font", {}, [](vantlebutton& x) { x.setFont(std::make_shared<platform::Font>()); },
                   {R, N("Font"), R, N("Font")}}),
    [](const ::testing::TestParamInfo<SetterCase>& row) { return std::string(row.param.name); });

TEST_F(ButtonTest, SetterStateChanges)
{
    b->initProperties();
    // Value outside check-box mode is ignored but resets the look.
    b->ButtonState = ButtonStates::StateHot;
    b->setValue(true);
    EXPECT_FALSE(b->Value());
    EXPECT_EQ(b->ButtonState, ButtonStates::StateNormal);

    // Turning check-box mode off keeps Value; on again shows it.
    b->setCheckBoxMode(true);
    b->setValue(true);
    b->ButtonState = ButtonStates::StateHot;
    b->setCheckBoxMode(false);
    EXPECT_TRUE(b->Value());
    EXPECT_EQ(b->ButtonState, ButtonStates::StateNormal);
    b->setCheckBoxMode(true);
    EXPECT_TRUE(b->Value());

    // Value false in check-box mode goes back to normal.
    b->ButtonState = ButtonStates::StateDown;
    b->setValue(false);
    EXPECT_EQ(b->ButtonState, ButtonStates::StateNormal);

    // PictureHover on a button without Picture gives it the same picture.
    b->setPictureHover(Bitmap);
    EXPECT_EQ(b->picture(), Bitmap);

    // MouseIcon chooses the custom pointer, and clearing it the default one.
    b->setMouseIcon(Bitmap);
    EXPECT_EQ(b->MousePointer(), 99);
    b->setMouseIcon(Picture());
    EXPECT_EQ(b->MousePointer(), 0);

    // Caption sets the access key.
    b->setCaption(QStringLiteral("&Search"));
    EXPECT_EQ(b->accessKey(), QLatin1Char('s'));
}

TEST_F(ButtonTest, MousePointerFailsOutsideSixteenBits)
{
    struct Case { std::int32_t value; bool ok; };
    const Case cases[] = {{0, true}, {99, true}, {32767, true}, {-32768, true}, {32768, false}, {-32769, false}, {65535, false}};
    b->initProperties();
    for (const Case& k : cases) {
        b->setMousePointer(5);
        if (k.ok) {
            EXPECT_NO_THROW(b->setMousePointer(k.value)) << k.value;
            EXPECT_EQ(b->MousePointer(), k.value);
        } else {
            try {
                b->setMousePointer(k.value);
                ADD_FAILURE() << "no error for " << k.value;
            } catch (const platform::RuntimeError& e) {
                EXPECT_EQ(e.number(), 6);
            }
            EXPECT_EQ(b->MousePointer(), 5) << k.value;
        }
    }
    // A stored code that does not fit is ignored when loading, not fatal.
    PropertyStore s;
    s.set(QStringLiteral("MousePointer"), 70000);
    auto c = form.place();
    EXPECT_NO_THROW(c->readProperties(s));
    EXPECT_EQ(c->MousePointer(), 0);
}

TEST_F(ButtonTest, ResizeKeepsTheMinimumSize)
{
    struct Case { int wTwips, hTwips, wPixels, hPixels; };
    const Case cases[] = {
        {1455, 375, 97, 25},
        {100, 375, 15, 25},   // 220 twips rounds to 15 pixels
        {1455, 0, 97, 15},
        {0, 0, 15, 15},
        {225, 225, 15, 15},
        {210, 1455, 15, 97},
    };
    b->initProperties();
    for (const Case& k : cases) {
        b->setExtentTwips(k.wTwips, k.hTwips);
        EXPECT_EQ(b->width(), k.wPixels) << k.wTwips << "x" << k.hTwips;
        EXPECT_EQ(b->height(), k.hPixels) << k.wTwips << "x" << k.hTwips;
    }
}

TEST_F(ButtonTest, AmbientChangesReadDisplayAsDefaultAndRedrawOnlyForTheirNames)
{
    b->initProperties();
    b->setButtonStyle(TracedStyle);
    struct Case { std::function<void()> change; bool redraw; bool displayAsDefault; };
    platform::FontDescription f;
    f.size = 20;
    const Case cases[] = {
        {[&] { b->setDisplayAsDefault(true); }, true, true},
        {[&] { form.container.setFont(f); }, false, true},
        {[&] { form.container.setBackColor(0x0000FF); }, true, true},
        {[&] { form.container.setUserMode(false); }, false, true},
        {[&] { b->setDisplayAsDefault(false); }, true, false},
    };
    for (const Case& k : cases) {
        test::PainterTrace::calls().clear();
        k.change();
        EXPECT_EQ(!test::PainterTrace::calls().isEmpty(), k.redraw);
        EXPECT_EQ(b->DisplayAsDefault, k.displayAsDefault);
    }
}

TEST_F(ButtonTest, FontObjectChangesRedrawAndNotify)
{
    b->initProperties();
    b->setButtonStyle(TracedStyle);
    auto font = std::make_shared<platform::Font>();
    b->setFont(font);
    QStringList notices;
    QObject::connect(b.get(), &vantlebutton::propertyChanged, [&notices](const QString& n) { notices << n; });
    test::PainterTrace::calls().clear();
    font->setSize(14);
    EXPECT_EQ(notices, QStringList{QStringLiteral("Font")});
    EXPECT_EQ(test::PainterTrace::calls().size(), 1);
    EXPECT_EQ(b->surfaceFont().size, 14);
    // A replaced font object is no longer listened to.
    b->setFont(std::make_shared<platform::Font>());
    notices.clear();
    font->setSize(16);
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ButtonTest, AboutShowsTheInformationBox)
{
    struct Recorder : platform::MessageBoxService
    {
        int shown = 0;
        QString text, title;
        platform::MessageBoxIcon icon = platform::MessageBoxIcon::None;
        void show(QWidget*, const QString& t, const QString& ti, platform::MessageBoxIcon i) override
        {
            ++shown;
            text = t;
            title = ti;
            icon = i;
        }
    } seen;
    b->setMessageBoxService(&seen);
    b->About();
    EXPECT_EQ(seen.shown, 1);
    EXPECT_EQ(seen.title, QStringLiteral("About"));
    EXPECT_EQ(seen.icon, platform::MessageBoxIcon::Information);
    EXPECT_TRUE(seen.text.startsWith(QStringLiteral("VantleButton\nA Multistyle Button Control\n\n"))) << seen.text.toStdString();
    EXPECT_GT(seen.text.size(), 42);  // an author line follows
}

TEST_F(ButtonTest, EventsAreDeclaredInTheirNumberedOrder)
{
    const char* events[] = {"Click", "DblClick", "MouseEnter", "MouseLeave", "MouseMove",
                            "MouseUp", "MouseDown", "KeyDown", "KeyUp", "KeyPress"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(b->eventNumber(events[i]), i + 1) << events[i];
}

// --- Qt properties ----------------------------------------------------------------------------------------------

TEST_F(ButtonTest, StyleChangeSignalsWhatItReplacesWithOneNotice)
{
    b->initProperties();  // Standard: button face, focus rectangle on
    test::ChangeSignals changes(*b);
    b->setButtonStyle(ButtonStyles::Glossy);
    EXPECT_EQ(changes.told, QStringList{QStringLiteral("ButtonStyle")});
    EXPECT_EQ(changes.signalled, (QStringList{QStringLiteral("ButtonStyle"), QStringLiteral("BackColor"),
                                             QStringLiteral("ShowFocusRect")}));
}

TEST(ButtonProperties, InputTogglingValueSignalsWithoutANotice)
{
    struct Case { const char* name; std::function<void(test::InputHarness&)> input; };
    const Case cases[] = {
        {"mouse", [](test::InputHarness& h) {
             QTest::mouseClick(h.win(), Qt::LeftButton, Qt::NoModifier, h.at(10, 10));
         }},
        {"space", [](test::InputHarness& h) { h.b->UserControl_KeyDown(32, 0); }},
        {"access key", [](test::InputHarness& h) { h.b->UserControl_AccessKeyPress('o'); }},
    };
    for (const Case& c : cases) {
        test::InputHarness h;
        h.b->setCheckBoxMode(true);
        QSignalSpy valueChanged(h.b.get(), &vantlebutton::ValueChanged);
        test::ChangeSignals changes(*h.b);
        c.input(h);
        EXPECT_TRUE(h.b->Value()) << c.name;
        ASSERT_EQ(valueChanged.count(), 1) << c.name;
        EXPECT_EQ(valueChanged.first().first(), QVariant(true)) << c.name;
        EXPECT_TRUE(changes.told.isEmpty()) << c.name;
        platform::releaseCapture();
    }
}

// The enumerations keep any 32-bit number, name the listed ones, and take a name where a value is written.
TEST_F(ButtonTest, EnumeratedPropertiesKeepAnyNumberAndKnowTheirNames)
{
    const QMetaObject& mo = vantlebutton::staticMetaObject;
    for (const char* name : {"ButtonStyle", "PictureSize", "PictureAlign", "CaptionAlign"})
        EXPECT_TRUE(mo.property(mo.indexOfProperty(name)).isEnumType()) << name;
    const QMetaEnum styles = mo.property(mo.indexOfProperty("ButtonStyle")).enumerator();
    EXPECT_EQ(styles.keyCount(), 16);
    EXPECT_STREQ(styles.valueToKey(14), "RoundGlass");

    b->initProperties();
    ASSERT_TRUE(b->setProperty("ButtonStyle", 77));
    EXPECT_EQ(numberOf(b->ButtonStyle()), 77);
    ASSERT_TRUE(b->setProperty("ButtonStyle", std::numeric_limits<std::int32_t>::min()));
    EXPECT_EQ(numberOf(b->ButtonStyle()), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(written(*b).readInt(u"ButtonStyle", 0), std::numeric_limits<std::int32_t>::min());
    ASSERT_TRUE(b->setProperty("ButtonStyle", QStringLiteral("Glossy")));
    EXPECT_EQ(b->ButtonStyle(), ButtonStyles::Glossy);
    EXPECT_EQ(b->BackColor(), 0xE3E3E3);  // through the setter, with its side effects
}

// --- Enabled: the widget's own enabled state ----------------------------------------------------------------------

struct EnabledPath
{
    const char* name;
    std::function<void(QWidget& window, QWidget& button, bool on)> set;
    bool own;  // the button's own state changes (not only what it draws)
};
void PrintTo(const EnabledPath& p, std::ostream* os) { *os << p.name; }

class EnabledTest : public ButtonTest, public ::testing::WithParamInterface<EnabledPath> {};

TEST_P(EnabledTest, DisabledLookFollowsQtsEnabledState)
{
    const EnabledPath& path = GetParam();
    b->initProperties();
    b->setCaption(QString());  // no caption over the probed pixel
    b->setButtonStyle(ButtonStyles::Glossy);
    b->resize(97, 25);
    b->Redraw();
    const ColorRef enabledFace = 0xDEDEDE, disabledFace = 0xEBEBEB;  // the Glossy face at (48, 12)
    ASSERT_EQ(b->surface().pixel(48, 12), enabledFace);
    test::ChangeSignals changes(*b);
    const QStringList announced = path.own ? QStringList{QStringLiteral("Enabled")} : QStringList{};

    path.set(form.window, *b, false);
    EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(b->Enabled(), !path.own);
    EXPECT_EQ(b->surface().pixel(48, 12), disabledFace);
    EXPECT_EQ(changes.told, announced);
    EXPECT_EQ(changes.signalled, announced);
    // What is stored is the button's own state.
    EXPECT_EQ(written(*b).contains(u"Enabled"), path.own);

    changes.clear();
    path.set(form.window, *b, true);
    EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->surface().pixel(48, 12), enabledFace);
    EXPECT_EQ(changes.told, announced);

    // Setting the state it already has changes nothing and, as for any widget, announces nothing.
    changes.clear();
    path.set(form.window, *b, true);
    EXPECT_TRUE(changes.signalled.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, EnabledTest,
    ::testing::Values(EnabledPath{"ThroughAWidgetPointer", [](QWidget&, QWidget& w, bool on) { w.setEnabled(on); }, true},
                      EnabledPath{"ThroughTheProperty", [](QWidget&, QWidget& w, bool on) { w.setProperty("Enabled", on); }, true},
                      EnabledPath{"ParentWindow", [](QWidget& window, QWidget&, bool on) { window.setEnabled(on); }, false}),
    [](const ::testing::TestParamInfo<EnabledPath>& row) { return std::string(row.param.name); });

TEST_F(ButtonTest, OwnStateSurvivesTheParentWindowsAndTheLoad)
{
    b->initProperties();
    b->setEnabled(false);
    form.window.setEnabled(false);
    form.window.setEnabled(true);
    EXPECT_FALSE(b->isEnabled());  // disabled on its own, it stays so
    test::PainterTrace::calls().clear();

    // A stored disabled button loads disabled, without notices and with a single redraw at the end of the load.
    auto c = form.place();
    PropertyStore s;
    s.set(QStringLiteral("Enabled"), false);
    s.set(QStringLiteral("ButtonStyle"), numberOf(TracedStyle));
    test::ChangeSignals changes(*c);
    c->readProperties(s);
    EXPECT_FALSE(c->Enabled());
    EXPECT_FALSE(c->isEnabled());
    EXPECT_TRUE(changes.told.isEmpty());
    EXPECT_EQ(test::PainterTrace::calls().size(), 1);
    EXPECT_FALSE(test::PainterTrace::last().Enabled);
}

}  // namespace
