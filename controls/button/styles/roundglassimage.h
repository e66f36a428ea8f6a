#pragma once
// The three pictures of the RoundGlass button (normal, hot, down). Each is a flat centre colour, 35 one-pixel
// vertical strips (a colour per column of the left and right edges), 24 horizontal strips (a colour per row of
// the top and bottom edges) and four corner patches. The strip colours are fixed tables; the corner patches are
// computed once from them: an anti-aliased rounded corner whose rings take the strip colours, so that each patch
// shades into the strips at its inner edges.

#include "platform/colour.h"

#include <array>
#include <vector>

namespace tervolin::controls::roundglass {

using platform::ColorRef;

enum class Image { Normal, Hot, Down };

enum class Corner { TopLeft, BottomLeft, TopRight, BottomRight };

/// One patch pixel, addressed from its corner: dx is the column x for a left patch and k for column W - k of a
/// right patch (k = 1 to 17); dy is the row y for a top patch and k for row H - k of a bottom patch.
struct PatchPixel
{
    int dx = 0;
    int dy = 0;
    ColorRef colour = 0;
};

/// Columns 0 to 17 of a left patch, k = 1 to 17 of a right one.
constexpr int LeftColumns = 18;
constexpr int RightColumns = 17;

/// Pixels left unset by the rounded outline, per row counted from the outer (top or bottom) edge, each count
/// taken from the outer (left or right) edge. Rows beyond the list have none. The same for all three images.
constexpr std::array<int, 8> TopLeftOutline = {6, 5, 3, 3, 2, 1, 1, 1};
constexpr std::array<int, 8> TopRightOutline = {7, 5, 4, 3, 2, 1, 1, 1};
constexpr std::array<int, 6> BottomLeftOutline = {5, 3, 2, 2, 1, 1};
constexpr std::array<int, 7> BottomRightOutline = {5, 4, 3, 2, 1, 1, 1};

struct GlassImage
{
    ColorRef centre = 0;
    std::array<ColorRef, 18> leftColumns{};   ///< columns 0 to 17
    std::array<ColorRef, 17> rightColumns{};  ///< columns W - 17 to W - 1
    std::array<ColorRef, 12> topRows{};       ///< rows 0 to 11
    std::array<ColorRef, 12> bottomRows{};    ///< rows H - 11 to H (row H lies outside the client area)
    int topPatchRows = 0;                     ///< top patches cover rows 0 to topPatchRows - 1
    int bottomPatchRows = 0;                  ///< bottom patches cover rows H - bottomPatchRows to H - 1
    /// Patch pixels, each patch row by row from its top row; the pixels outside the outline are not listed.
    std::array<std::vector<PatchPixel>, 4> patches;

    const std::vector<PatchPixel>& patch(Corner c) const { return patches[static_cast<std::size_t>(c)]; }
};

/// The picture, built on first use.
const GlassImage& glassImage(Image image);

/// Where a patch pixel lands on a client area of W × H pixels.
int patchX(Corner corner, const PatchPixel& p, int W);
int patchY(Corner corner, const PatchPixel& p, int H);

}  // namespace tervolin::controls::roundglass
