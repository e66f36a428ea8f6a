#include <gtest/gtest.h>

#include "platform/colour.h"

using namespace tervolin::platform;

TEST(Colour, ChannelsFollowTheBbggrrConvention)
{
    const ColorRef c = 0xFCF4EF;  // the main window's background: red 239, green 244, blue 252
    EXPECT_EQ(redOf(c), 239);
    EXPECT_EQ(greenOf(c), 244);
    EXPECT_EQ(blueOf(c), 252);
    EXPECT_EQ(rgb(239, 244, 252), c);
    EXPECT_EQ(toQRgb(c), qRgb(239, 244, 252));
    EXPECT_EQ(fromQRgb(qRgb(1, 2, 3)), rgb(1, 2, 3));
}

TEST(Colour, TranslateUsesThePinnedSystemTable)
{
    struct Case { ColorRef in; ColorRef out; };
    const Case cases[] = {
        {0x00123456, 0x00123456},
        {systemColour(5), rgb(255, 255, 255)},
        {systemColour(10), rgb(180, 180, 180)},
        {systemColour(15), rgb(240, 240, 240)},
        {systemColour(18), rgb(0, 0, 0)},
        {systemColour(25), -1},  // no colour at index 25
        {systemColour(31), -1},  // beyond the table
        {static_cast<ColorRef>(0x8000FF05u), -1},
        {0x01000005, -1},        // palette index: not a plain or system colour
    };
    for (const Case& c : cases)
        EXPECT_EQ(translateColour(c.in), c.out) << std::hex << c.in;
}
