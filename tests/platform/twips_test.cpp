#include <gtest/gtest.h>

#include "platform/twips.h"

using tervolin::platform::twipsToPixels;

// The nearest pixel: values the window layouts use, and the neighbours of a half pixel (7.5 twips).
TEST(Twips, ConvertToTheNearestPixel)
{
    struct Case { int twips; int pixels; };
    for (const Case& c : {Case{0, 0}, Case{7, 0}, Case{8, 1}, Case{15, 1}, Case{22, 1}, Case{23, 2}, Case{255, 17}, Case{400, 27},
                          Case{960, 64}, Case{4680, 312}, Case{9405, 627}})
        EXPECT_EQ(twipsToPixels(c.twips), c.pixels) << c.twips;
    static_assert(twipsToPixels(400) == 27, "usable in constant expressions");
}

TEST(Twips, ARectangleConvertsEachValueOnItsOwn)
{
    EXPECT_EQ(twipsToPixels(120, 0, 400, 400), QRect(8, 0, 27, 27));
    EXPECT_EQ(twipsToPixels(QRect(7, 8, 22, 23)), QRect(0, 1, 1, 2));
}
