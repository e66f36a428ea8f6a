#include <gtest/gtest.h>

#include <QPainter>

#include "controls/button/primitives.h"
#include "controls/button/vantlebutton.h"
#include "tests/button/buttontestsupport.h"
#include "tests/support/qtprinters.h"

using namespace tervolin;
using namespace tervolin::controls;
using platform::ColorRef;
using platform::Picture;
using platform::Rect;

namespace {

constexpr ColorRef Face = 0xF0F0F0;          // the surface background: button face
constexpr ButtonStyles NoPainterStyle{200};
constexpr ButtonStates Hot = ButtonStates::StateHot;
constexpr ButtonStates Down = ButtonStates::StateDown;  // no painter, no offsets
constexpr ColorRef Red = 0x0000FF;           // 0x00BBGGRR
constexpr ColorRef Green = 0x00FF00;
constexpr ColorRef Blue = 0xFF0000;
constexpr ColorRef Yellow = 0x00FFFF;

class Pipeline : public ::testing::Test
{
protected:
    test::ButtonForm form;
    std::unique_ptr<vantlebutton> b;

    void SetUp() override
    {
        b = form.place();
        b->resize(60, 30);
        b->initProperties();
        b->setButtonStyle(NoPainterStyle);
        b->setCaption(QString());
    }

    ColorRef at(int x, int y) const { return b->surface().pixel(x, y); }
    int countOf(ColorRef c) const
    {
        int n = 0;
        for (int y = 0; y < b->height(); ++y)
            for (int x = 0; x < b->width(); ++x)
                n += at(x, y) == c ? 1 : 0;
        return n;
    }
    bool allBackgroundOutside(const Rect& r) const
    {
        for (int y = 0; y < b->height(); ++y)
            for (int x = 0; x < b->width(); ++x)
                if (!r.contains(x, y) && at(x, y) != Face)
                    return false;
        return true;
    }
};

QImage quadrants(int size, bool alpha)
{
    QImage img(size, size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int h = size / 2;
    QPainter p(&img);
    p.fillRect(0, 0, h, h, QColor(255, 0, 0));
    p.fillRect(h, 0, size - h, h, QColor(0, 255, 0));
    p.fillRect(0, h, h, size - h, QColor(0, 0, 255));
    p.fillRect(h, h, size - h, size - h, QColor(255, 255, 0));
    return img;
}

TEST_F(Pipeline, StyleWithoutPainterDrawsOnlyTheBackground)
{
    for (const ButtonStyles style : {NoPainterStyle, ButtonStyles{16}, ButtonStyles{-1}}) {
        b->setButtonStyle(style);
        b->Redraw();
        EXPECT_EQ(countOf(Face), 60 * 30) << style;
        EXPECT_EQ(b->region().boundingRect(), (Rect{0, 0, 60, 30})) << style;
        EXPECT_TRUE(b->region().contains(0, 0)) << style;
    }
}

TEST_F(Pipeline, OutlineFollowsTheStyleTable)
{
    struct Case { std::int32_t style; bool rounded; };
    const Case cases[] = {{0, false}, {1, false}, {2, true},  {3, true},  {4, true},  {5, false}, {6, true},
                          {7, false}, {8, true},  {9, false}, {10, true}, {11, false}, {12, false}, {13, false},
                          {14, true}, {15, false}, {16, false}, {-5, false}};
    for (const Case& c : cases) {
        b->setButtonStyle(ButtonStyles{c.style});
        const platform::Region& r = b->region();
        // Rounded outlines run one pixel past the client area to the right and bottom.
        EXPECT_EQ(r.boundingRect(), c.rounded ? (Rect{0, 0, 61, 31}) : (Rect{0, 0, 60, 30})) << c.style;
        EXPECT_EQ(r.contains(0, 0), !c.rounded) << c.style;
        EXPECT_TRUE(r.contains(30, 0)) << c.style;
        EXPECT_FALSE(b->mask().isEmpty()) << c.style;
    }
    b->setButtonStyle(ButtonStyles::RoundGlass);
    int left = 0, right = 0;
    ASSERT_TRUE(b->region().rowSpan(0, left, right));
    EXPECT_GT(left, 3);  // the 18 × 18 corner
}

TEST_F(Pipeline, CheckedButtonIsForcedDownExceptInStylesWithTheirOwnCheckedLook)
{
    struct Case { ButtonStyles style; bool checkBox; bool value; ButtonStates after; };
    const Case cases[] = {
        {ButtonStyles::Glossy, true, true, Down},     {NoPainterStyle, true, true, Down},
        {ButtonStyles{-3}, true, true, Down},         {ButtonStyles::Standard, true, true, Hot},
        {ButtonStyles::Silver, true, true, Hot},      {ButtonStyles::ToolbarBlue, true, true, Hot},
        {ButtonStyles::Glossy, true, false, Hot},     {ButtonStyles::Glossy, false, false, Hot},
    };
    for (const Case& c : cases) {
        b->setCheckBoxMode(c.checkBox);
        b->setValue(c.value);
        b->setButtonStyle(c.style);
        b->ButtonState = ButtonStates::StateHot;
        b->Redraw();
        EXPECT_EQ(b->ButtonState, c.after) << c.style << " " << c.checkBox << c.value;
        b->setCheckBoxMode(false);
    }
}

// A painter that records what it is shown and asks for what the test wants.
struct RecordingPainter
{
    static std::vector<ButtonLook>& looks()
    {
        static std::vector<ButtonLook> v;
        return v;
    }
    static PainterRequests& requests()
    {
        static PainterRequests r;
        return r;
    }
    static void paint(platform::Surface& s, const ButtonLook& look, PainterRequests& out)
    {
        looks().push_back(look);
        out = requests();
        FillRectangle(s, Blue, Rect{0, 0, 2, 2});
    }
};

class PainterInterface : public Pipeline
{
protected:
    static constexpr ButtonStyles Style{201};
    void SetUp() override
    {
        Pipeline::SetUp();
        RecordingPainter::looks().clear();
        RecordingPainter::requests() = {};
        StylePainterRegistry::add(Style, &RecordingPainter::paint);
    }
    void TearDown() override { StylePainterRegistry::remove(Style); }
};

TEST_F(PainterInterface, PainterSeesTheButtonAndTheFocusRectangleOfThePreviousRedraw)
{
    b->setCaption(QStringLiteral("Search"));
    b->setBackColor(0x123456);
    b->HasFocus = true;
    b->ParentActive = true;
    b->PointerOver = true;
    b->setDisplayAsDefault(true);
    b->setButtonStyle(Style);  // ApplyStyleDefaults leaves the colour of an unknown style
    RecordingPainter::looks().clear();
    b->Redraw();
    b->ButtonState = ButtonStates::StateDown;
    b->Redraw();
    ASSERT_EQ(RecordingPainter::looks().size(), 2u);
    const ButtonLook& first = RecordingPainter::looks()[0];
    const ButtonLook& second = RecordingPainter::looks()[1];
    EXPECT_EQ(first.ButtonStyle, Style);
    EXPECT_EQ(first.W, 60);
    EXPECT_EQ(first.H, 30);
    EXPECT_EQ(first.clientRect, (Rect{0, 0, 60, 30}));
    EXPECT_EQ(first.BackColor, 0x123456);
    EXPECT_TRUE(first.HasFocus);
    EXPECT_TRUE(first.ParentActive);
    EXPECT_TRUE(first.PointerOver);
    EXPECT_TRUE(first.DisplayAsDefault);
    EXPECT_TRUE(first.Enabled);
    EXPECT_EQ(second.state, ButtonStates::StateDown);
    // The setter's redraws ran before these two, so the first already sees a kept rectangle; the down state
    // keeps it unchanged for the next redraw.
    const Rect kept = b->captionFocusRect();
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_EQ(first.captionFocusRect, kept);
    EXPECT_EQ(second.captionFocusRect, kept);
    // The painter's pixels stay under the caption and picture.
    EXPECT_EQ(at(0, 0), Blue);
}

TEST_F(PainterInterface, FocusRectangleIsEmptyBeforeTheFirstRedraw)
{
    auto fresh = form.place(QStringLiteral("fresh"));
    platform::PropertyStore store;
    store.set(QStringLiteral("ButtonStyle"), numberOf(Style));
    RecordingPainter::looks().clear();
    fresh->readProperties(store);  // its resize handling draws for the first time
    ASSERT_FALSE(RecordingPainter::looks().empty());
    EXPECT_EQ(RecordingPainter::looks().front().captionFocusRect, (Rect{}));
}

TEST_F(PainterInterface, RequestsAreAppliedAfterThePainter)
{
    b->setButtonStyle(Style);
    RecordingPainter::requests().foreColor = 0x0000FF;
    RecordingPainter::requests().surfaceBackground = platform::systemColour(24);  // tooltip background
    b->Redraw();
    EXPECT_EQ(b->ForeColor(), 0x0000FF);
    EXPECT_EQ(at(30, 15), Face);  // the new background is used from the next clear on
    b->Redraw();
    EXPECT_EQ(at(30, 15), platform::rgb(255, 255, 225));
}

TEST_F(Pipeline, Size16CopiesTheTopLeftOfABitmapAndScalesAnIcon)
{
    b->setPictureAlign(PictureAlignments::PictureCenter);
    b->setPictureSize(PictureSizes::Size16);
    // 60 × 30, 16 × 16 centred: (22, 7).
    b->setPicture(Picture::bitmap(quadrants(48, false)));
    EXPECT_EQ(b->pictureX(), 22);
    EXPECT_EQ(b->pictureY(), 7);
    EXPECT_EQ(countOf(Red), 16 * 16);
    EXPECT_EQ(at(22, 7), Red);
    EXPECT_EQ(at(37, 22), Red);
    EXPECT_EQ(at(21, 7), Face);
    EXPECT_EQ(at(38, 22), Face);
    EXPECT_EQ(countOf(Green) + countOf(Blue) + countOf(Yellow), 0);

    b->setPicture(Picture::icon(quadrants(48, true)));
    EXPECT_EQ(at(22 + 3, 7 + 3), Red);
    EXPECT_EQ(at(22 + 12, 7 + 3), Green);
    EXPECT_EQ(at(22 + 3, 7 + 12), Blue);
    EXPECT_EQ(at(22 + 12, 7 + 12), Yellow);
    EXPECT_EQ(at(21, 7), Face);
    EXPECT_EQ(at(38, 22), Face);
}

TEST_F(Pipeline, TallPictureIsShrunkWithoutBeingCentredAgain)
{
    b->resize(60, 20);
    b->setPictureAlign(PictureAlignments::PictureCenter);
    b->setPicture(test::solidBitmap(32, 32, qRgb(255, 0, 0)));
    EXPECT_EQ(b->pictureX(), 14);
    EXPECT_EQ(b->pictureY(), 1);
    EXPECT_EQ(b->pictureWidth(), 32);
    EXPECT_EQ(b->pictureHeight(), 16);
    EXPECT_EQ(at(14, 1), Red);
    EXPECT_EQ(at(45, 16), Red);
    EXPECT_EQ(at(14, 17), Face);
    EXPECT_EQ(at(14, 0), Face);
}

TEST_F(Pipeline, PictureByStateAndKind)
{
    const Picture redBitmap = test::solidBitmap(16, 16, qRgb(255, 0, 0));
    const Picture greenBitmap = test::solidBitmap(16, 16, qRgb(0, 255, 0));
    const Picture greenIcon = test::solidIcon(16, 16, qRgba(0, 255, 0, 255));
    struct Case { const char* name; Picture hover; ButtonStates state; ColorRef shown; };
    const Case cases[] = {
        {"normal_shows_picture", greenBitmap, ButtonStates::StateNormal, Red},
        {"hot_shows_hover", greenBitmap, Hot, Green},
        {"down_shows_hover", greenBitmap, Down, Green},
        {"hover_of_another_kind_is_ignored", greenIcon, Hot, Red},
        {"no_hover", Picture(), Hot, Red},
        {"no_image_for_other_states", greenBitmap, ButtonStates{3}, Face},
    };
    b->setPictureAlign(PictureAlignments::PictureCenter);
    for (const Case& c : cases) {
        b->setPicture(redBitmap);
        b->setPictureHover(c.hover);
        b->ButtonState = c.state;
        b->Redraw();
        EXPECT_EQ(at(b->pictureX() + 8, b->pictureY() + 8), c.shown) << c.name;
    }
}

TEST_F(Pipeline, CheckedPictureReplacesABitmapAndOverlaysAnIcon)
{
    b->setButtonStyle(ButtonStyles::Standard);  // keeps its state when checked: state 0, no offset
    b->setPictureAlign(PictureAlignments::PictureCenter);
    b->setCheckBoxMode(true);
    b->setValue(true);

    b->setPicture(test::solidBitmap(16, 16, qRgb(255, 0, 0)));
    b->setPictureHover(test::solidBitmap(16, 16, qRgb(0, 255, 0)));
    b->ButtonState = ButtonStates::StateNormal;
    b->Redraw();
    EXPECT_EQ(at(b->pictureX() + 8, b->pictureY() + 8), Green);

    // An icon whose right half is transparent: the state image shows through there.
    QImage half(16, 16, QImage::Format_ARGB32);
    half.fill(qRgba(0, 0, 0, 0));
    QPainter(&half).fillRect(0, 0, 8, 16, QColor(0, 255, 0));
    b->setPicture(test::solidIcon(16, 16, qRgba(255, 0, 0, 255)));
    b->setPictureHover(Picture::icon(half));
    b->Redraw();
    EXPECT_EQ(at(b->pictureX() + 2, b->pictureY() + 8), Green);
    EXPECT_EQ(at(b->pictureX() + 13, b->pictureY() + 8), Red);
}

TEST_F(Pipeline, MaskColourMakesBitmapPixelsTransparent)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 0));
    QPainter(&img).fillRect(0, 0, 8, 16, QColor(224, 224, 224));  // the default mask colour 0xE0E0E0
    b->setPictureAlign(PictureAlignments::PictureCenter);
    b->setPicture(Picture::bitmap(img));
    const int x = b->pictureX(), y = b->pictureY();
    EXPECT_EQ(at(x + 2, y + 2), 0xE0E0E0);
    b->setUseMaskColor(true);
    EXPECT_EQ(at(x + 2, y + 2), Face);
    EXPECT_EQ(at(x + 12, y + 2), Red);
}

TEST_F(Pipeline, DisabledPicturesAreGreyedAndOtherKindsNeverDrawn)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgba(0, 0, 0, 0));
    QPainter(&icon).fillRect(2, 2, 12, 12, QColor(200, 100, 0));
    b->setPictureAlign(PictureAlignments::PictureCenter);
    b->setPicture(Picture::icon(icon));
    b->setEnabled(false);
    const int x = b->pictureX(), y = b->pictureY();
    EXPECT_EQ(at(x + 8, y + 8), platform::rgb(100, 100, 100));  // (0 + 100 + 200) / 3
    EXPECT_EQ(at(x, y), Face);                                    // transparent corner keeps the face

    for (const bool enabled : {false, true}) {
        b->setEnabled(enabled);
        b->setPicture(Picture::other(QSize(16, 16)));
        EXPECT_EQ(countOf(Face), 60 * 30) << enabled;
    }
}

TEST_F(Pipeline, CaptionStaysInItsRectangle)
{
    struct Case { const char* caption; CaptionAlignments align; int shift; };
    const Case cases[] = {{"Search", CaptionAlignments::AlignCenter, 0},
                          {"&Search", CaptionAlignments::AlignCenter, 3},
                          {"Search", CaptionAlignments::AlignLeft, 0},
                          {"Search", CaptionAlignments::AlignRight, 0}};
    for (const Case& c : cases) {
        b->setCaptionAlign(c.align);
        b->setCaption(QString::fromUtf8(c.caption));
        const QSize m = b->surface().measureText(QString::fromUtf8(c.caption));
        const int expected = c.align == CaptionAlignments::AlignLeft    ? 4
                             : c.align == CaptionAlignments::AlignRight ? 60 - m.width() - 4
                                                                        : 30 - m.width() / 2;
        const Rect r = b->captionRect();
        EXPECT_EQ(r.left, expected + c.shift) << c.caption;
        EXPECT_EQ(r.top, 15 - m.height() / 2) << c.caption;
        EXPECT_EQ(r.width(), m.width()) << c.caption;
        EXPECT_EQ(r.height(), m.height()) << c.caption;
        EXPECT_LT(countOf(Face), 60 * 30) << c.caption;  // something was drawn
        EXPECT_TRUE(allBackgroundOutside(r)) << c.caption;
    }
    // A caption wider than the button starts left of it and is clipped there.
    b->setCaptionAlign(CaptionAlignments::AlignCenter);
    b->setCaption(QStringLiteral("A caption much wider than sixty pixels"));
    EXPECT_LT(b->captionRect().left, 0);
}

TEST_F(Pipeline, PaintShowsTheImageOfTheLastRedraw)
{
    b->setPicture(test::solidBitmap(16, 16, qRgb(255, 0, 0)));
    b->show();
    const QImage shown = b->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(60, 30));
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{b->pictureX() + 4, b->pictureY() + 4}, std::pair{59, 29}})
        EXPECT_EQ(platform::fromQRgb(shown.pixel(x, y)), at(x, y)) << x << "," << y;
}

}  // namespace
