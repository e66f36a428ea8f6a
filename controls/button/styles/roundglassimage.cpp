// The RoundGlass pictures: strip tables and the corner patches computed from them.
//
// How a corner patch is made. Each edge of the button has a profile: its strip colours ordered from the outer
// edge inwards (left: columns 0, 1, …; right: W - 1, W - 2, …; top: rows 0, 1, …; bottom: H, H - 1, …). The dark
// outline sits at the darkest of the first four entries; the entries before it are the light halo outside the
// outline. A corner joins a vertical edge (left or right) and a horizontal one (top or bottom). In the corner's
// own frame, u and v are the distances inwards from the two edges' outlines. Along the straight parts the colour
// is simply the profile entry (so the patch meets its strips exactly); within the rounded part (u and v both
// below the corner radius) the rings bend round a quarter circle: the depth below the arc picks the ring, and the
// two edges' ring colours are mixed by the direction from the circle's centre (cos² and sin² of its angle). Each
// pixel is the mean of 4 × 4 samples, which smooths the arc. Where one edge has no ring at a depth (the top edge
// has no halo), the other edge's ring stands in; beyond every ring the sample is white, the glass's outer shine.
// The radius of each corner is fitted to its outline mask, within a narrow range around the 9-pixel radius of
// the window outline.

#include "controls/button/styles/roundglassimage.h"

#include "controls/button/primitives.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>

namespace tervolin::controls::roundglass {

namespace {

template <std::size_t N>
constexpr std::array<ColorRef, N> hexes(const std::uint32_t (&values)[N])
{
    std::array<ColorRef, N> out{};
    for (std::size_t i = 0; i < N; ++i)
        out[i] = hex(values[i]);
    return out;
}

struct StripTables
{
    std::uint32_t centre;
    std::uint32_t left[18];
    std::uint32_t right[17];
    std::uint32_t top[12];
    std::uint32_t bottom[12];
    int topPatchRows;
    int bottomPatchRows;
};

constexpr StripTables NormalTables = {
    0xE8E7EA,
    {0xF7F7F7, 0xA0A0A0, 0x999999, 0xC3C3C3, 0xC9C9C9, 0xD5D5D5, 0xD7D7D7, 0xDFDFDF, 0xE0E0E0, 0xE0E0E0, 0xE4E4E4,
     0xE6E8E6, 0xE7E7E8, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA},
    {0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE8E7EA, 0xE7E7E7, 0xE6E6E6, 0xE4E4E4, 0xE0E0E0, 0xE0E0E0, 0xDEDEDE, 0xD9D9D9,
     0xD3D3D3, 0xCCCCCC, 0xC3C3C3, 0xA3A3A3, 0x9C9C9C, 0xF6F6F6},
    {0x6A6967, 0xF6F4F5, 0xF4F2F3, 0xEEEEEE, 0xEBEBEB, 0xEAE8EB, 0xEAE8EB, 0xEAEAEA, 0xE1E1E1, 0xE3E2E5, 0xE8E7EA,
     0xE9EBE8},
    {0xE9EBE8, 0xEFF1EE, 0xF2F2F2, 0xF5F5F5, 0xFEFEFF, 0xFFFFFF, 0xFDFDFD, 0xFEFEFE, 0xFBFBFB, 0x545454, 0xC5C5C5,
     0xECECEC},
    13,
    10,
};

constexpr StripTables HotTables = {
    0x6AA6E2,
    {0xF7F7F7, 0x9EA0B0, 0x132E71, 0x145FBD, 0x2773D1, 0x317FD4, 0x3D8CD9, 0x4B94D9, 0x4F94D7, 0x559CDC, 0x579BDC,
     0x62A3E3, 0x65A2E3, 0x67A3E2, 0x65A1E0, 0x6AA6E3, 0x6AA6E3, 0x6AA6E2},
    {0x6AA6E2, 0x6AA6E2, 0x64A4E1, 0x63A3E0, 0x63A3E0, 0x61A1E1, 0x5B9FE0, 0x5598DE, 0x5297DC, 0x4B93DB, 0x398DD6,
     0x2D7FD1, 0x2674D6, 0x135DC0, 0x14357C, 0x989BAB, 0xF6F6F6},
    {0x080645, 0xC9D4F1, 0xBDC8E5, 0xA1C0E8, 0x98B8E0, 0x8EB4E3, 0x8BB1E0, 0x7FB4E9, 0x6399CE, 0x64A0DD, 0x6AA6E2,
     0x76ACE6},
    {0x76ACE6, 0x81B6F1, 0x8ABDF3, 0x92C5FC, 0x97CEF8, 0x9ED5FE, 0xA3DDF7, 0xADE6FF, 0xC5E2E9, 0x405D63, 0xC5C5C5,
     0xECECEC},
    11,
    12,
};

constexpr StripTables DownTables = {
    0x6A9BCC,
    {0xF7F7F7, 0x9B9DA9, 0x172D63, 0x1D5AA6, 0x2E6CB9, 0x3877BC, 0x4282C1, 0x4E89C2, 0x528AC1, 0x5791C5, 0x5991C5,
     0x6398CC, 0x6596CC, 0x6797CB, 0x6595C9, 0x6A9ACC, 0x6A9ACC, 0x6A9BCC},
    {0x6A9BCC, 0x6A9BCC, 0x6498CA, 0x6397C9, 0x6397C9, 0x6295CA, 0x5D94C9, 0x578EC6, 0x558CC4, 0x4E88C3, 0x3E82BE,
     0x3476B9, 0x2D6DBD, 0x1C58A8, 0x19336D, 0x9497A4, 0xF6F6F6},
    {0x0A093C, 0xBEC7DE, 0xB2BCD3, 0x9AB3D4, 0x92ACCC, 0x8AA8CF, 0x87A5CC, 0x7DA7D2, 0x628EB9, 0x6494C6, 0x6A9BCC,
     0x75A1D0},
    {0x75A1D0, 0x7FAADA, 0x87B0DC, 0x8EB8E4, 0x93BFE1, 0x99C6E7, 0x9DCCE2, 0xA6D5E9, 0xBAD2D7, 0x3E565A, 0xC5C5C5,
     0xECECEC},
    11,
    12,
};

/// An edge's strip colours from the outer edge inwards, and the index of its dark outline.
struct Profile
{
    std::vector<ColorRef> rings;
    int outline = 0;

    /// The ring `depth` pixels inside the outline (negative: the halo outside it); the innermost ring repeats.
    std::optional<ColorRef> at(int depth) const
    {
        const int i = outline + depth;
        if (i < 0)
            return std::nullopt;
        return rings[static_cast<std::size_t>(std::min(i, static_cast<int>(rings.size()) - 1))];
    }
};

Profile profileOf(std::span<const ColorRef> outerFirst)
{
    Profile p;
    p.rings.assign(outerFirst.begin(), outerFirst.end());
    const auto darkness = [](ColorRef c) { return platform::redOf(c) + platform::greenOf(c) + platform::blueOf(c); };
    const std::size_t probe = std::min<std::size_t>(4, p.rings.size());
    for (std::size_t i = 1; i < probe; ++i)
        if (darkness(p.rings[i]) < darkness(p.rings[static_cast<std::size_t>(p.outline)]))
            p.outline = static_cast<int>(i);
    return p;
}

constexpr ColorRef OuterShine = hex(0xFFFFFF);

constexpr double OutlineSpread = 0.5;

/// The outermost colour outside an edge's outline: its first ring, or white where the outline is the edge.
ColorRef shine(const Profile& p) { return p.outline > 0 ? p.rings.front() : OuterShine; }

/// One corner: the edge profiles it joins, its size and outline mask.
struct CornerSpec
{
    Corner corner;
    const Profile* vertical;    ///< left or right edge
    const Profile* horizontal;  ///< top or bottom edge
    int columns;                ///< a = 0 … columns - 1: distance from the vertical outer edge
    int firstRow;               ///< b = firstRow … lastRow: distance from the horizontal outer edge
    int lastRow;
    std::span<const int> outline;
    int outlineRowOffset;       ///< mask row of b is b - outlineRowOffset
};

bool isUnset(const CornerSpec& c, int a, int b)
{
    const int row = b - c.outlineRowOffset;
    return row >= 0 && row < static_cast<int>(c.outline.size()) && a < c.outline[static_cast<std::size_t>(row)];
}

/// The colour at a point of the corner frame (a, b measured from the outer edges, in pixels).
ColorRef sampleAt(const CornerSpec& c, double radius, double a, double b, double* weightVertical = nullptr)
{
    const Profile& pv = *c.vertical;
    const Profile& ph = *c.horizontal;
    const double u = a - pv.outline;
    const double v = b - ph.outline;
    const auto ring = [&](const Profile& mine, const Profile& other, int depth) {
        if (const auto own = mine.at(depth))
            return *own;
        return other.at(depth).value_or(OuterShine);
    };
    if (u < radius && v < radius) {
        const double dx = radius - u;
        const double dy = radius - v;
        const double rho = std::hypot(dx, dy);
        const double d = radius - rho;
        const double wv = dx * dx / (rho * rho);
        if (weightVertical)
            *weightVertical = wv;
        // The outline ring is widened outwards so that the arc stays as dark as the straight outline after
        // smoothing; outside it the corner shows the edges' outermost shine.
        const bool outside = d < -OutlineSpread;
        const int depth = std::max(0, static_cast<int>(std::floor(d)));
        const ColorRef cv = outside ? shine(pv) : ring(pv, ph, depth);
        const ColorRef ch = outside ? shine(ph) : ring(ph, pv, depth);
        const auto mix = [wv](int x, int y) { return static_cast<int>(std::lround(wv * x + (1.0 - wv) * y)); };
        return platform::rgb(mix(platform::redOf(cv), platform::redOf(ch)),
                             mix(platform::greenOf(cv), platform::greenOf(ch)),
                             mix(platform::blueOf(cv), platform::blueOf(ch)));
    }
    // Straight parts: the nearer edge's ring.
    if (v >= radius && (u < radius || u <= v))
        return ring(pv, ph, static_cast<int>(std::floor(u)));
    return ring(ph, pv, static_cast<int>(std::floor(v)));
}

constexpr int Samples = 4;

ColorRef pixelAt(const CornerSpec& c, double radius, int a, int b)
{
    int sum[3] = {0, 0, 0};
    for (int sy = 0; sy < Samples; ++sy)
        for (int sx = 0; sx < Samples; ++sx) {
            const ColorRef s = sampleAt(c, radius, a + (sx + 0.5) / Samples, b + (sy + 0.5) / Samples);
            sum[0] += platform::redOf(s);
            sum[1] += platform::greenOf(s);
            sum[2] += platform::blueOf(s);
        }
    constexpr int n = Samples * Samples;
    return platform::rgb((sum[0] + n / 2) / n, (sum[1] + n / 2) / n, (sum[2] + n / 2) / n);
}

/// True when the pixel's centre lies inside the outermost ring the two edges offer at its angle.
bool insideShape(const CornerSpec& c, double radius, int a, int b)
{
    const double u = a + 0.5 - c.vertical->outline;
    const double v = b + 0.5 - c.horizontal->outline;
    if (u >= radius || v >= radius)
        return true;
    const double rho = std::hypot(radius - u, radius - v);
    double wv = 0;
    sampleAt(c, radius, a + 0.5, b + 0.5, &wv);
    const double halo = wv * c.vertical->outline + (1.0 - wv) * c.horizontal->outline;
    return radius - rho >= -halo;
}

/// The radius (6 to 11 pixels in quarter steps) whose shape agrees best with the corner's outline mask; the
/// window outline's 9 pixels win ties. The arc ends before the patch's innermost row, so that this row lies on
/// the straight part and meets the vertical strips below (or above) it without a seam.
double fittedRadius(const CornerSpec& c)
{
    const double largest = std::min(11.0, static_cast<double>(c.lastRow - c.horizontal->outline));
    double best = std::min(9.0, largest);
    int bestMisses = std::numeric_limits<int>::max();
    for (int q = 24; q <= 44 && q / 4.0 <= largest; ++q) {
        const double r = q / 4.0;
        int misses = 0;
        for (int b = c.firstRow; b <= c.lastRow; ++b)
            for (int a = 0; a < c.columns; ++a)
                misses += insideShape(c, r, a, b) == isUnset(c, a, b) ? 1 : 0;
        if (misses < bestMisses || (misses == bestMisses && std::abs(r - 9.0) < std::abs(best - 9.0))) {
            best = r;
            bestMisses = misses;
        }
    }
    return best;
}

std::vector<PatchPixel> buildPatch(const CornerSpec& c)
{
    const double radius = fittedRadius(c);
    const bool bottom = c.corner == Corner::BottomLeft || c.corner == Corner::BottomRight;
    const bool right = c.corner == Corner::TopRight || c.corner == Corner::BottomRight;
    std::vector<PatchPixel> out;
    // Row by row from the patch's top row: for a bottom patch that is the largest distance from the bottom edge.
    for (int i = 0; i <= c.lastRow - c.firstRow; ++i) {
        const int b = bottom ? c.lastRow - i : c.firstRow + i;
        for (int a = 0; a < c.columns; ++a) {
            if (isUnset(c, a, b))
                continue;
            out.push_back(PatchPixel{right ? a + 1 : a, b, pixelAt(c, radius, a, b)});
        }
    }
    return out;
}

GlassImage build(const StripTables& t)
{
    GlassImage g;
    g.centre = hex(t.centre);
    g.leftColumns = hexes(t.left);
    g.rightColumns = hexes(t.right);
    g.topRows = hexes(t.top);
    g.bottomRows = hexes(t.bottom);
    g.topPatchRows = t.topPatchRows;
    g.bottomPatchRows = t.bottomPatchRows;

    std::vector<ColorRef> right(g.rightColumns.rbegin(), g.rightColumns.rend());
    std::vector<ColorRef> bottom(g.bottomRows.rbegin(), g.bottomRows.rend());
    const Profile leftEdge = profileOf(g.leftColumns);
    const Profile rightEdge = profileOf(right);
    const Profile topEdge = profileOf(g.topRows);
    const Profile bottomEdge = profileOf(bottom);

    const int topLast = t.topPatchRows - 1;
    const int bottomLast = t.bottomPatchRows;  // bottom rows are H - k for k = 1 … bottomPatchRows
    const CornerSpec corners[4] = {
        {Corner::TopLeft, &leftEdge, &topEdge, LeftColumns, 0, topLast, TopLeftOutline, 0},
        {Corner::BottomLeft, &leftEdge, &bottomEdge, LeftColumns, 1, bottomLast, BottomLeftOutline, 1},
        {Corner::TopRight, &rightEdge, &topEdge, RightColumns, 0, topLast, TopRightOutline, 0},
        {Corner::BottomRight, &rightEdge, &bottomEdge, RightColumns, 1, bottomLast, BottomRightOutline, 1},
    };
    for (const CornerSpec& c : corners)
        g.patches[static_cast<std::size_t>(c.corner)] = buildPatch(c);
    return g;
}

}  // namespace

const GlassImage& glassImage(Image image)
{
    static const GlassImage normal = build(NormalTables);
    static const GlassImage hot = build(HotTables);
    static const GlassImage down = build(DownTables);
    switch (image) {
    case Image::Hot:
        return hot;
    case Image::Down:
        return down;
    case Image::Normal:
    default:
        return normal;
    }
}

int patchX(Corner corner, const PatchPixel& p, int W)
{
    return corner == Corner::TopRight || corner == Corner::BottomRight ? W - p.dx : p.dx;
}

int patchY(Corner corner, const PatchPixel& p, int H)
{
    return corner == Corner::BottomLeft || corner == Corner::BottomRight ? H - p.dy : p.dy;
}

}  // namespace tervolin::controls::roundglass
