// ButtonStyle RoundGlass: a fixed picture of a round-cornered glass button (grey normal, blue hot, darker blue
// down) stretched to any size from corner patches, one-pixel edge strips and a flat centre. The face does not
// follow BackColor; the corners outside the rounded outline show the container's background.

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"
#include "controls/button/styles/roundglassimage.h"

namespace tervolin::controls {

namespace {

using platform::Surface;
using roundglass::Corner;
using roundglass::GlassImage;

/// Draws one picture. Later pieces overwrite earlier ones: at small sizes the right patches cover the left ones,
/// the bottom patches the top ones, and the strips (which then run backwards from their start) cover both.
void drawGlassImage(Surface& s, const GlassImage& g)
{
    const int W = s.width();
    const int H = s.height();

    FillRectangle(s, g.centre, Rect{4, 4, W - 4, H - 4});

    for (const Corner c : {Corner::TopLeft, Corner::BottomLeft, Corner::TopRight, Corner::BottomRight})
        for (const roundglass::PatchPixel& p : g.patch(c))
            s.setPixel(roundglass::patchX(c, p, W), roundglass::patchY(c, p, H), p.colour);

    for (int x = 0; x < roundglass::LeftColumns; ++x)
        DrawLine(s, x, 11, x, H - 10, g.leftColumns[static_cast<std::size_t>(x)]);
    for (int i = 0; i < roundglass::RightColumns; ++i) {
        const int x = W - roundglass::RightColumns + i;
        DrawLine(s, x, 11, x, H - 10, g.rightColumns[static_cast<std::size_t>(i)]);
    }

    for (int y = 0; y < static_cast<int>(g.topRows.size()); ++y)
        DrawLine(s, 17, y, W - 17, y, g.topRows[static_cast<std::size_t>(y)]);
    for (int i = 0; i < static_cast<int>(g.bottomRows.size()); ++i) {
        const int y = H - 11 + i;
        DrawLine(s, 17, y, W - 17, y, g.bottomRows[static_cast<std::size_t>(i)]);
    }
}

void DrawRoundGlassNormal(Surface& s) { drawGlassImage(s, roundglass::glassImage(roundglass::Image::Normal)); }
void DrawRoundGlassHot(Surface& s) { drawGlassImage(s, roundglass::glassImage(roundglass::Image::Hot)); }
void DrawRoundGlassDown(Surface& s) { drawGlassImage(s, roundglass::glassImage(roundglass::Image::Down)); }

void DrawRoundGlassStyle(Surface& surface, const ButtonLook& look, PainterRequests& requests)
{
    ButtonStates state = look.state;
    if (look.CheckBoxMode && look.Value)
        state = ButtonStates::StateDown;
    // A focused or default button in an active window looks hot wherever the pointer is.
    if (look.ParentActive && (look.HasFocus || look.DisplayAsDefault) && state != ButtonStates::StateDown)
        state = ButtonStates::StateHot;

    // The corners outside the outline are cleared to the container's colour from the next redraw on.
    requests.surfaceBackground = look.AmbientBackColor;

    switch (state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        DrawRoundGlassNormal(surface);
        break;
    case ButtonStates::StateHot:
        DrawRoundGlassHot(surface);
        break;
    case ButtonStates::StateDown:
        DrawRoundGlassDown(surface);
        break;
    default:
        break;
    }
}

const StylePainterRegistration registration({ButtonStyles::RoundGlass}, &DrawRoundGlassStyle);

}  // namespace

}  // namespace tervolin::controls
