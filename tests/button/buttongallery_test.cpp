// The render tool's gallery sheet: each cell holds its style's button in the column's look, drawn with the
// colours a designer gets by choosing the style.
#include <gtest/gtest.h>

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "tools/render/buttongallery.h"

using namespace tervolin;
using namespace tervolin::controls;

namespace {

enum Column { Normal, Hot, Down, Checked, Disabled, Focused };

class Gallery : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        auto result = tools::renderButtonGallery();
        ASSERT_TRUE(std::holds_alternative<QImage>(result)) << std::get<QString>(result).toStdString();
        sheet() = std::get<QImage>(result);
    }
    static QImage& sheet()
    {
        static QImage image;
        return image;
    }
    /// The colour at (x, y) of a cell.
    static platform::ColorRef at(ButtonStyles style, Column column, int x, int y)
    {
        const QPoint p = tools::galleryCell(style, column).topLeft() + QPoint(x, y);
        return platform::fromQRgb(sheet().pixel(p));
    }
};

TEST_F(Gallery, HoldsSixteenStylesInSixLooks)
{
    EXPECT_EQ(tools::galleryColumns().size(), 6);
    const QRect last = tools::galleryCell(ButtonStyles::SideGradient, Focused);
    EXPECT_EQ(last.size(), QSize(97, 25));
    EXPECT_TRUE(sheet().rect().contains(last));
    EXPECT_FALSE(last.intersects(tools::galleryCell(ButtonStyles::SideGradient, Disabled)));
    EXPECT_FALSE(last.intersects(tools::galleryCell(ButtonStyles::RoundGlass, Focused)));
}

TEST_F(Gallery, CellsUseTheStyleDefaultsAndTheColumnLook)
{
    const platform::ColorRef navy = 0x800000;
    // ToolbarOrange at rest: its lower band (from row 9 at 97 × 25) starts in the style's own light blue.
    EXPECT_EQ(at(ButtonStyles::ToolbarOrange, Normal, 2, 9), 0xFFD1AD);
    // WarmGradient: framed in navy when hot, down or checked, not at rest.
    EXPECT_NE(at(ButtonStyles::WarmGradient, Normal, 0, 0), navy);
    EXPECT_EQ(at(ButtonStyles::WarmGradient, Hot, 0, 0), navy);
    EXPECT_EQ(at(ButtonStyles::WarmGradient, Down, 0, 0), navy);
    EXPECT_EQ(at(ButtonStyles::WarmGradient, Checked, 0, 12), navy);
    // PaleBlue is a flat face at rest and when disabled, a framed panel when hot.
    EXPECT_EQ(at(ButtonStyles::PaleBlue, Normal, 2, 12), at(ButtonStyles::PaleBlue, Disabled, 2, 12));
    EXPECT_EQ(at(ButtonStyles::PaleBlue, Hot, 0, 12), 0xCA9E61);
    // A rounded style leaves the sheet showing through its cut corner.
    EXPECT_EQ(at(ButtonStyles::Shaded, Normal, 0, 0), platform::rgb(0xF0, 0xF0, 0xF0));
}

}  // namespace
