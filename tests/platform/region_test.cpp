#include <gtest/gtest.h>

#include <climits>

#include <QWidget>

#include "platform/region.h"

using namespace tervolin::platform;

namespace {

// Pixels the shape leaves out of each corner row, read back through contains().
std::vector<int> topLeftInsets(const Region& region, const Rect& r, int rows)
{
    std::vector<int> out;
    for (int y = r.top; y < r.top + rows; ++y) {
        int n = 0;
        while (n < r.right - r.left && !region.contains(r.left + n, y))
            ++n;
        out.push_back(n);
    }
    return out;
}

}  // namespace

struct RoundCase
{
    const char* name;
    Rect rect;
    int ellipseW, ellipseH;
    std::vector<int> insets;  // rows 0.. of the top-left corner
};

class RoundRectCases : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundRectCases, CornersAreSymmetricAndShapedAsDocumented)
{
    const RoundCase& c = GetParam();
    const Region region = Region::roundRect(c.rect, c.ellipseW, c.ellipseH);
    EXPECT_EQ(topLeftInsets(region, c.rect, static_cast<int>(c.insets.size())), c.insets);
    // The four corners mirror each other; right and bottom edges are exclusive.
    for (int j = 0; j < c.rect.height(); ++j)
        for (int i = 0; i < c.rect.width(); ++i) {
            const bool tl = region.contains(c.rect.left + i, c.rect.top + j);
            ASSERT_EQ(tl, region.contains(c.rect.right - 1 - i, c.rect.top + j)) << i << "," << j;
            ASSERT_EQ(tl, region.contains(c.rect.left + i, c.rect.bottom - 1 - j)) << i << "," << j;
        }
    EXPECT_FALSE(region.contains(c.rect.right, c.rect.top + c.rect.height() / 2));
    EXPECT_FALSE(region.contains(c.rect.left + c.rect.width() / 2, c.rect.bottom));
    EXPECT_TRUE(region.contains(c.rect.right - 1, c.rect.top + c.rect.height() / 2));
    // The Qt region covers exactly the same pixels.
    const QRegion q = region.toQRegion();
    for (int y = c.rect.top - 1; y <= c.rect.bottom; ++y)
        for (int x = c.rect.left - 1; x <= c.rect.right; ++x)
            ASSERT_EQ(q.contains(QPoint(x, y)), region.contains(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Region, RoundRectCases,
    ::testing::Values(
        // The round glass buttons: 25 × 25 client, region (0, 0, 26, 26), ellipse 18 × 18.
        RoundCase{"roundGlass25", {0, 0, 26, 26}, 18, 18, {7, 4, 3, 2, 1, 1, 1, 0, 0}},
        // The glossy buttons: 97 × 25 client, region (0, 0, 98, 26), ellipse 3 × 3: only the corner pixel goes.
        RoundCase{"glossy97", {0, 0, 98, 26}, 3, 3, {1, 0}},
        RoundCase{"silver4", {0, 0, 40, 20}, 4, 4, {1, 0}},
        RoundCase{"square", {2, 3, 12, 9}, 1, 1, {0, 0}},
        RoundCase{"clampedToTheRectangle", {0, 0, 10, 6}, 50, 50, {3, 1, 0}},
        RoundCase{"offsetRectangle", {5, 7, 31, 33}, 18, 18, {7, 4, 3, 2, 1, 1, 1, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Region, RectanglesAndEmptyRegions)
{
    const Region r = Region::rectangle({0, 0, 97, 25});
    EXPECT_TRUE(r.contains(0, 0));
    EXPECT_TRUE(r.contains(96, 24));
    EXPECT_FALSE(r.contains(97, 24));
    EXPECT_EQ(r.boundingRect(), (Rect{0, 0, 97, 25}));
    EXPECT_EQ(r.toQRegion(), QRegion(0, 0, 97, 25));
    for (const Rect& e : {Rect{5, 5, 5, 9}, Rect{5, 5, 1, 1}}) {
        EXPECT_TRUE(Region::rectangle(e).isEmpty());
        EXPECT_TRUE(Region::roundRect(e, 3, 3).isEmpty());
        EXPECT_TRUE(Region::roundRect(e, 3, 3).toQRegion().isEmpty());
    }
    EXPECT_TRUE(Region().isEmpty());
    EXPECT_FALSE(Region().contains(0, 0));
    const Region huge = Region::roundRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MAX, -4);
    EXPECT_TRUE(huge.contains(0, 0));
}

TEST(Region, BecomesTheWidgetsMask)
{
    QWidget w;
    w.resize(25, 25);
    Region::roundRect({0, 0, 26, 26}, 18, 18).applyTo(w);
    EXPECT_FALSE(w.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(w.mask().contains(QPoint(12, 12)));
    EXPECT_TRUE(w.mask().contains(QPoint(7, 0)));
}
