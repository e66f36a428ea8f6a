// Pixel tests of the RoundGlass painter: image choice, strip and centre colours, which piece wins where they
// overlap at 25 × 25, the rounded outline, the generated corner patches, and the container's colour behind the
// corners through a real button.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "controls/button/buttontypes.h"
#include "controls/button/stylepainter.h"
#include "controls/button/styles/roundglassimage.h"
#include "controls/button/vantlebutton.h"
#include "platform/surface.h"
#include "tests/button/buttontestsupport.h"
#include "tests/button/painttestsupport.h"

using namespace tervolin;
using namespace tervolin::controls;
using platform::ColorRef;
using platform::Surface;
using roundglass::Corner;
using roundglass::Image;
using test::hex;
using test::Painted;

namespace {

constexpr ColorRef Cleared = hex(0x00FF00);  // appears in none of the pictures

struct Look
{
    ButtonStates state = ButtonStates::StateNormal;
    bool checked = false;  // CheckBoxMode and Value
    bool focus = false;
    bool isDefault = false;
    bool parentActive = true;
};

Painted paint(const Look& l, int W = 25, int H = 25)
{
    ButtonLook look = test::lookOf(ButtonStyles::RoundGlass, l.state, W, H, 0x123456);  // BackColor: ignored
    look.CheckBoxMode = l.checked;
    look.Value = l.checked;
    look.HasFocus = l.focus;
    look.DisplayAsDefault = l.isDefault;
    look.ParentActive = l.parentActive;
    look.AmbientBackColor = 0x0000FF;
    return test::paint(look, Cleared);
}

Look stateLook(Image image)
{
    return {image == Image::Normal ? ButtonStates::StateNormal
            : image == Image::Hot  ? ButtonStates::StateHot
                                   : ButtonStates::StateDown};
}

// Row 0 tells the three pictures apart.
constexpr std::uint32_t TopRow[3] = {0x6A6967, 0x080645, 0x0A093C};

TEST(RoundGlassChoice, ImageByStateFocusDefaultAndActivation)
{
    struct Case
    {
        const char* name;
        Look look;
        int image;  // 0 normal, 1 hot, 2 down, -1 nothing drawn
    };
    const Case cases[] = {
        {"normal", {}, 0},
        {"hot", {ButtonStates::StateHot}, 1},
        {"down", {ButtonStates::StateDown}, 2},
        {"focused in an active window", {ButtonStates::StateNormal, false, true}, 1},
        {"default in an active window", {ButtonStates::StateNormal, false, false, true}, 1},
        {"focused in an inactive window", {ButtonStates::StateNormal, false, true, false, false}, 0},
        {"default in an inactive window", {ButtonStates::StateNormal, false, false, true, false}, 0},
        {"down and focused", {ButtonStates::StateDown, false, true}, 2},
        {"checked", {ButtonStates::StateNormal, true}, 2},
        {"checked and focused", {ButtonStates::StateHot, true, true}, 2},
        {"unknown state", {ButtonStates{5}}, -1},
        {"unknown state, focused", {ButtonStates{5}, false, true}, 1},
    };
    for (const Case& c : cases) {
        const Painted p = paint(c.look);
        const ColorRef top = p.surface.pixel(12, 0);
        EXPECT_EQ(top, c.image < 0 ? Cleared : hex(TopRow[c.image])) << c.name;
        if (c.image < 0) {
            EXPECT_EQ(p.surface.pixel(12, 12), Cleared) << c.name;
        }
        // The outline is re-applied with the normal picture only; the container's colour is always requested.
        EXPECT_EQ(p.requests.updateRegion, c.image == 0) << c.name;
        ASSERT_TRUE(p.requests.surfaceBackground.has_value()) << c.name;
        EXPECT_EQ(*p.requests.surfaceBackground, 0x0000FF) << c.name;
        EXPECT_FALSE(p.requests.foreColor.has_value()) << c.name;
    }
}

// At 25 × 25 the left and right pieces overlap in columns 8 to 17 (the right ones win), the horizontal strips
// cover columns 9 to 17 of rows 0 to 11 and 14 to 24, and the vertical strips rows 11 to 14.
struct StripProbe
{
    const char* what;
    int x;
    int y;
    std::uint32_t colour[3];  // normal, hot, down
};

const StripProbe StripProbes[] = {
    {"row 0", 12, 0, {0x6A6967, 0x080645, 0x0A093C}},
    {"row 0 at its left end", 9, 0, {0x6A6967, 0x080645, 0x0A093C}},
    {"row 5", 9, 5, {0xEAE8EB, 0x8EB4E3, 0x8AA8CF}},
    {"row 10", 17, 10, {0xE8E7EA, 0x6AA6E2, 0x6A9BCC}},
    {"row 11 over the vertical strips", 17, 11, {0xE9EBE8, 0x76ACE6, 0x75A1D0}},
    {"row 11 over the vertical strips", 9, 11, {0xE9EBE8, 0x76ACE6, 0x75A1D0}},
    {"column W - 17 left of the horizontal strips", 8, 11, {0xE8E7EA, 0x6AA6E2, 0x6A9BCC}},
    {"column 7: left strips only", 7, 12, {0xDFDFDF, 0x4B94D9, 0x4E89C2}},
    {"column 0", 0, 13, {0xF7F7F7, 0xF7F7F7, 0xF7F7F7}},
    {"column 2", 2, 12, {0x999999, 0x132E71, 0x172D63}},
    {"column W - 17 over column 8", 8, 12, {0xE8E7EA, 0x6AA6E2, 0x6A9BCC}},
    {"column W - 13 over column 12", 12, 12, {0xE7E7E7, 0x63A3E0, 0x6397C9}},
    {"column W - 8 over column 17", 17, 13, {0xDEDEDE, 0x4B93DB, 0x4E88C3}},
    {"column W - 7: right strips only", 18, 14, {0xD9D9D9, 0x398DD6, 0x3E82BE}},
    {"column W - 3", 22, 13, {0xA3A3A3, 0x14357C, 0x19336D}},
    {"column W - 1", 24, 12, {0xF6F6F6, 0xF6F6F6, 0xF6F6F6}},
    {"row H - 11 over the vertical strips", 12, 14, {0xE9EBE8, 0x76ACE6, 0x75A1D0}},
    {"row H - 10", 17, 15, {0xEFF1EE, 0x81B6F1, 0x7FAADA}},
    {"row H - 6", 9, 19, {0xFFFFFF, 0x9ED5FE, 0x99C6E7}},
    {"row H - 2", 12, 23, {0x545454, 0x405D63, 0x3E565A}},
    {"row H - 1", 9, 24, {0xC5C5C5, 0xC5C5C5, 0xC5C5C5}},
};

TEST(RoundGlassPieces, StripColoursAndOverlapsAt25x25)
{
    for (const Image image : {Image::Normal, Image::Hot, Image::Down}) {
        const int i = static_cast<int>(image);
        const Painted p = paint(stateLook(image));
        for (const StripProbe& s : StripProbes)
            EXPECT_EQ(p.surface.pixel(s.x, s.y), hex(s.colour[i])) << "image " << i << ": " << s.what;
    }
}

// Outside the strips, the patches: right over left where they overlap, each where its corner puts it.
TEST(RoundGlassPieces, PatchesWinInTheirDrawingOrderAt25x25)
{
    struct Case
    {
        int x;
        int y;
        Corner corner;  // the patch whose pixel must show
        int dx;
        int dy;
    };
    const Case cases[] = {
        {8, 3, Corner::TopRight, 17, 3},      // column 8 is both TL x = 8 and TR k = 17
        {7, 3, Corner::TopLeft, 7, 3},        // left of the right patch
        {18, 9, Corner::TopRight, 7, 9},
        {8, 20, Corner::BottomRight, 17, 5},  // column 8 of row H - 5
        {4, 20, Corner::BottomLeft, 4, 5},
        {20, 16, Corner::BottomRight, 5, 9},
    };
    for (const Image image : {Image::Normal, Image::Hot, Image::Down}) {
        const roundglass::GlassImage& g = roundglass::glassImage(image);
        const Painted p = paint(stateLook(image));
        for (const Case& c : cases) {
            const roundglass::PatchPixel* found = nullptr;
            for (const roundglass::PatchPixel& px : g.patch(c.corner))
                if (px.dx == c.dx && px.dy == c.dy)
                    found = &px;
            ASSERT_NE(found, nullptr) << c.x << ", " << c.y;
            EXPECT_EQ(p.surface.pixel(c.x, c.y), found->colour) << "image " << static_cast<int>(image) << " at " << c.x
                                                                  << ", " << c.y;
        }
    }
}

// The top and bottom patches overlap when the button is lower than 23 pixels: the bottom ones win. In a
// 16-pixel button row 6 is top row 6 (outline: column 0 unset) and bottom row H - 10 (no pixel unset); the
// vertical strips run upwards from row 11 and stop short of it.
TEST(RoundGlassPieces, BottomPatchesWinOverTopOnesInALowButton)
{
    constexpr int W = 60;
    const roundglass::GlassImage& g = roundglass::glassImage(Image::Normal);
    const Painted p = paint({}, W, 16);
    const auto colourOf = [&](Corner c, int dx, int dy) {
        for (const roundglass::PatchPixel& px : g.patch(c))
            if (px.dx == dx && px.dy == dy)
                return px.colour;
        return Cleared;
    };
    EXPECT_EQ(p.surface.pixel(0, 6), colourOf(Corner::BottomLeft, 0, 10));
    EXPECT_EQ(p.surface.pixel(W - 1, 6), colourOf(Corner::BottomRight, 1, 10));
    EXPECT_NE(p.surface.pixel(0, 6), Cleared);
    // Row 5 belongs to the top patches only, whose outline leaves its outermost pixels unset.
    EXPECT_EQ(p.surface.pixel(0, 5), Cleared);
    EXPECT_EQ(p.surface.pixel(W - 1, 5), Cleared);
    EXPECT_EQ(p.surface.pixel(1, 5), colourOf(Corner::TopLeft, 1, 5));
    // The vertical strips, drawn upwards from row 11 towards row H - 10, cover rows 7 to 11.
    EXPECT_EQ(p.surface.pixel(0, 7), hex(0xF7F7F7));
    EXPECT_EQ(p.surface.pixel(0, 11), hex(0xF7F7F7));
}

TEST(RoundGlassPieces, CentreColourWhereNothingCoversIt)
{
    const std::uint32_t centre[3] = {0xE8E7EA, 0x6AA6E2, 0x6A9BCC};
    for (const Image image : {Image::Normal, Image::Hot, Image::Down}) {
        const int i = static_cast<int>(image);
        const Painted p = paint(stateLook(image), 60, 40);
        // Columns 18 to 42 and rows 12 to 28 lie between the strips.
        for (const auto& [x, y] : {std::pair{18, 12}, std::pair{30, 20}, std::pair{42, 28}})
            EXPECT_EQ(p.surface.pixel(x, y), hex(centre[i])) << "image " << i << " at " << x << ", " << y;
        // Strips away from the corners: column 0 from row 11, row 0 from column 17.
        EXPECT_EQ(p.surface.pixel(0, 11), hex(0xF7F7F7));
        EXPECT_EQ(p.surface.pixel(0, 29), hex(0xF7F7F7));
        EXPECT_EQ(p.surface.pixel(42, 0), hex(TopRow[i]));
        EXPECT_EQ(p.surface.pixel(17, 0), hex(TopRow[i]));
    }
}

// The rounded outline: per row, the listed number of pixels from the outer edge keep the cleared colour, the next
// one is drawn. Checked on a size where no pieces overlap.
TEST(RoundGlassOutline, UnsetPixelsPerRowInEveryCorner)
{
    constexpr int W = 60;
    constexpr int H = 40;
    for (const Image image : {Image::Normal, Image::Hot, Image::Down}) {
        const Painted p = paint(stateLook(image), W, H);
        const auto check = [&](const char* corner, auto outline, bool right, bool bottom) {
            for (std::size_t r = 0; r < outline.size() + 2; ++r) {
                const int unset = r < outline.size() ? outline[r] : 0;
                const int y = bottom ? H - 1 - static_cast<int>(r) : static_cast<int>(r);
                for (int i = 0; i <= unset; ++i) {
                    const int x = right ? W - 1 - i : i;
                    EXPECT_EQ(p.surface.pixel(x, y) == Cleared, i < unset)
                        << "image " << static_cast<int>(image) << " " << corner << " row " << r << " pixel " << i;
                }
            }
        };
        check("top-left", roundglass::TopLeftOutline, false, false);
        check("top-right", roundglass::TopRightOutline, true, false);
        check("bottom-left", roundglass::BottomLeftOutline, false, true);
        check("bottom-right", roundglass::BottomRightOutline, true, true);
        // Nothing else is left cleared.
        int cleared = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                cleared += p.surface.pixel(x, y) == Cleared ? 1 : 0;
        EXPECT_EQ(cleared, 22 + 24 + 14 + 17);
    }
}

// The generated corners: inside their patch extents, meeting the strips at their inner edges, dark outline
// fading through anti-aliased shades to a light outer rim.
TEST(RoundGlassImage, PatchesStayInsideTheirExtentsAndMeetTheStrips)
{
    for (const Image image : {Image::Normal, Image::Hot, Image::Down}) {
        const roundglass::GlassImage& g = roundglass::glassImage(image);
        const int topRows = image == Image::Normal ? 13 : 11;
        const int bottomRows = image == Image::Normal ? 10 : 12;
        EXPECT_EQ(g.topPatchRows, topRows);
        EXPECT_EQ(g.bottomPatchRows, bottomRows);
        for (const Corner c : {Corner::TopLeft, Corner::BottomLeft, Corner::TopRight, Corner::BottomRight}) {
            const bool right = c == Corner::TopRight || c == Corner::BottomRight;
            const bool bottom = c == Corner::BottomLeft || c == Corner::BottomRight;
            int lastRowKey = -1;
            for (const roundglass::PatchPixel& px : g.patch(c)) {
                EXPECT_TRUE(right ? px.dx >= 1 && px.dx <= 17 : px.dx >= 0 && px.dx <= 17);
                EXPECT_TRUE(bottom ? px.dy >= 1 && px.dy <= bottomRows : px.dy >= 0 && px.dy < topRows);
                // Row by row from the top row of the patch.
                const int rowKey = bottom ? -px.dy : px.dy;
                EXPECT_GE(rowKey, lastRowKey == -1 ? rowKey : lastRowKey);
                lastRowKey = rowKey;
                // Where a patch runs along a straight edge it carries that edge's strip colour.
                // The innermost column (17 or W - 17) runs next to the horizontal strips.
                if (px.dx == 17 && (bottom ? px.dy <= 11 : px.dy <= 10)) {
                    const ColorRef strip = bottom ? g.bottomRows[static_cast<std::size_t>(11 - px.dy)]
                                                  : g.topRows[static_cast<std::size_t>(px.dy)];
                    EXPECT_EQ(px.colour, strip) << "corner " << static_cast<int>(c) << " row " << px.dy;
                }
                const int innerRow = bottom ? bottomRows : topRows - 1;  // next to the vertical strips
                if (px.dy == innerRow && px.dx <= 8) {
                    const ColorRef strip = right ? g.rightColumns[static_cast<std::size_t>(17 - px.dx)]
                                                 : g.leftColumns[static_cast<std::size_t>(px.dx)];
                    EXPECT_EQ(px.colour, strip) << "corner " << static_cast<int>(c) << " column " << px.dx;
                }
            }
        }
        // Top-left row 0 runs from a light rim at its first pixel to the outline colour at column 17.
        std::vector<ColorRef> row0;
        for (const roundglass::PatchPixel& px : g.patch(Corner::TopLeft))
            if (px.dy == 0)
                row0.push_back(px.colour);
        ASSERT_EQ(row0.size(), 18u - 6u);
        const auto lightness = [](ColorRef c) { return platform::redOf(c) + platform::greenOf(c) + platform::blueOf(c); };
        EXPECT_GT(lightness(row0.front()), 3 * 0xC0) << static_cast<int>(image);
        EXPECT_EQ(row0.back(), g.topRows[0]);
        int shades = 0;  // anti-aliasing: colours strictly between the rim and the outline
        for (const ColorRef c : row0)
            shades += lightness(c) < lightness(row0.front()) && lightness(c) > lightness(g.topRows[0]) ? 1 : 0;
        EXPECT_GE(shades, 2) << static_cast<int>(image);
    }
}

// Through the button's own redraw: after a redraw on a red container the pixels outside the outline are red.
TEST(RoundGlassButton, CornersShowTheContainerColourAfterARedraw)
{
    test::ButtonForm form;
    form.container.setBackColor(0x0000FF);  // red
    auto b = form.place();
    b->initProperties();
    b->setButtonStyle(ButtonStyles::RoundGlass);
    b->resize(25, 25);
    struct Case
    {
        const char* name;
        ButtonStates state;
        bool focus;
        std::uint32_t centre;  // a pixel of row 0 that tells the picture
    };
    const Case cases[] = {
        {"normal", ButtonStates::StateNormal, false, 0x6A6967},
        {"hot", ButtonStates::StateHot, false, 0x080645},
        {"down", ButtonStates::StateDown, false, 0x0A093C},
        {"focused", ButtonStates::StateNormal, true, 0x080645},
    };
    for (const Case& c : cases) {
        b->ButtonState = c.state;
        b->HasFocus = c.focus;
        b->ParentActive = true;
        b->Redraw();
        b->Redraw();
        const Surface& s = b->surface();
        EXPECT_EQ(s.pixel(12, 0), hex(c.centre)) << c.name;
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 4}, std::pair{24, 0},
                                   std::pair{18, 0}, std::pair{0, 24}, std::pair{4, 24}, std::pair{24, 24},
                                   std::pair{24, 18}})
            EXPECT_EQ(s.pixel(x, y), hex(0xFF0000)) << c.name << " at " << x << ", " << y;
    }
    // The colour follows the container.
    form.container.setBackColor(0x00FF00);
    b->Redraw();
    b->Redraw();
    EXPECT_EQ(b->surface().pixel(0, 0), hex(0x00FF00));
}

}  // namespace
