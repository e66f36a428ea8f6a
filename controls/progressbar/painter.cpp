#include "controls/progressbar/painter.h"

#include <exception>

#include "controls/progressbar/caption.h"
#include "controls/progressbar/colours.h"
#include "controls/progressbar/gradients.h"

namespace tervolin::controls::progressbar {

namespace {

// Runs one redraw step; a step that throws is abandoned and the redraw goes on with the next.
template <typename Step>
void runStep(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

RedrawResult DrawProgressBar(platform::Surface& surface, const ProgressBarFields& f, ThemeColours& colours)
{
    using namespace ThemeIndex;
    RedrawResult result;
    const double w = surface.width();
    const double h = surface.height();
    const int wi = nearest(w);
    const int hi = nearest(h);

    runStep([&] { result.windowRegion = platform::Region::roundRect({0, 0, wi, hi}, f.RoundedValue, f.RoundedValue); });

    // The ratio is Value / Max: Min does not enter it. An instance not yet initialised (Max 0) has no ratio.
    if (f.Max != 0) {
        result.percent = 100.0 * f.Value / f.Max;
        result.fillLength = nearest((f.Orientations == OrientationValue::Vertical ? h : w) * result.percent / 100.0);
    }
    const int fill = result.fillLength;

    runStep([&] { LoadThemeColours(colours, f.Theme, f.PBSCustomeColor1, f.PBSCustomeColor2); });
    if (!f.Enabled)
        runStep([&] { greyThemeColours(colours); });

    runStep([&] { surface.clear(); });

    runStep([&] {
        const int h2 = nearest(h / 2);
        const int w2 = nearest(w / 2);
        const auto band = [&](platform::GradientDirection direction, int from, int l, int t, int r, int b) {
            runStep([&] { GradientTwoColour(surface, direction, colours[from], colours[from + 2], l, t, r, b); });
        };
        // A horizontal bar's bands are shaded top to bottom, a vertical bar's left to right.
        using platform::GradientDirection;
        if (f.Orientations == OrientationValue::Horizontal) {
            band(GradientDirection::Vertical, TrackFirstStart, 0, 0, wi, h2);
            band(GradientDirection::Vertical, TrackSecondStart, 0, h2, wi, hi);
            // The test is on Value, not on the fill length: a tiny positive Value asks for empty rectangles.
            if (f.Value >= 1) {
                band(GradientDirection::Vertical, FillFirstStart, 0, 0, fill, h2);
                band(GradientDirection::Vertical, FillSecondStart, 0, h2, fill, hi);
            }
        } else if (f.Orientations == OrientationValue::Vertical) {
            band(GradientDirection::Horizontal, TrackFirstStart, 0, 0, w2, hi);
            band(GradientDirection::Horizontal, TrackSecondStart, w2, 0, wi, hi);
            if (f.Value >= 1) {
                band(GradientDirection::Horizontal, FillFirstStart, 0, 0, w2, fill);
                band(GradientDirection::Horizontal, FillSecondStart, w2, 0, wi, fill);
            }
        }
    });

    // The outline's right and bottom edges are exclusive, so it runs one pixel inside the window's right and
    // bottom edges: the last column and row show the track.
    runStep([&] {
        surface.roundRectOutline({0, 0, nearest(w - 1), nearest(h - 1)}, f.RoundedValue, f.RoundedValue,
                                 platform::translateColour(colours[Outline]));
    });

    runStep([&] {
        result.caption = captionText(f.TextStyle, f.Value, result.percent, f.Text);
        if (result.caption)
            DrawCaptionText(surface, *result.caption, f.TextAlignment, f.TextEffect, f.TextForeColor, f.TextEffectColor, f.Enabled);
    });
    return result;
}

}  // namespace tervolin::controls::progressbar
