// The Shaded, PaleBlue and RoundedShaded looks: rounded buttons whose faces are built from vertical gradients.
//   Shaded         a white-to-BackColor sheen over the upper half, a white inner rim and a dark bottom line;
//   PaleBlue       a flat BackColor face at rest, a pale blue gradient panel with a blue frame when hot or down;
//   RoundedShaded  a bright band along the top rows over a BackColor face, with a darker frame.

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"

#include <cstdint>

namespace tervolin::controls {

namespace {

using platform::Surface;

bool drawsFocusCue(const ButtonLook& look)
{
    return look.ParentActive && look.ShowFocusRect && (look.HasFocus || look.DisplayAsDefault);
}

void DrawShadedStyle(Surface& surface, const ButtonLook& look, PainterRequests& requests)
{
    const int W = surface.width();
    const int H = surface.height();
    const int Half = roundEven(H / 2.0);
    const ColorRef Back = TranslateColor(look.BackColor);
    const ColorRef white = hex(0xFFFFFF);

    // A disabled button keeps the resting face; only its caption is greyed.
    const ButtonStates state = look.Enabled ? look.state : ButtonStates::StateNormal;

    if (state == ButtonStates::StateNormal)
        requests.updateRegion = true;
    if (state == ButtonStates::StateNormal || state == ButtonStates::StateHot) {
        DrawGradient(surface, 0, 0, W, Half, white, Back, GradientDirection::Vertical);
        DrawGradient(surface, 0, Half, W, H, Back, Back, GradientDirection::Vertical);
        // The rim's bottom side lies below the control, so only its top and sides show.
        DrawFrame(surface, 1, 1, W - 2, H, white);
        DrawFrame(surface, 0, 0, W, H, ShiftColor(Back, -0.2f));
        DrawLine(surface, 2, H - 1, W - 2, H - 1, ShiftColor(Back, -0.25f));
    } else if (state == ButtonStates::StateDown) {
        DrawGradient(surface, 0, 0, W, Half, white, ShiftColor(Back, -0.1f), GradientDirection::Vertical);
        DrawGradient(surface, 0, Half, W, H, ShiftColor(Back, -0.1f), ShiftColor(Back, -0.05f), GradientDirection::Vertical);
        DrawFrame(surface, 1, 1, W - 2, H, white);
        DrawFrame(surface, 0, 0, W, H, ShiftColor(Back, -0.23f));
        DrawLine(surface, 2, H - 1, W - 2, H - 1, ShiftColor(Back, -0.4f));
    }
    SetCornerPixels(surface, ShiftColor(Back, 0.05f));

    // The caption is laid out after the painter runs, so the rectangle is where the caption was placed by the
    // previous redraw (empty before the first one, which draws nothing).
    if (drawsFocusCue(look))
        surface.focusRect(look.captionFocusRect);
}

void DrawPaleBlueStyle(Surface& surface, const ButtonLook& look, PainterRequests& requests)
{
    const int W = surface.width();
    const int H = surface.height();
    const ColorRef Back = TranslateColor(look.BackColor);
    const ColorRef frame = hex(0x619ECA);
    const ColorRef white = hex(0xFFFFFF);

    if (!look.Enabled) {
        FillRectangle(surface, Back, look.clientRect);
        SetCornerPixels(surface, Back);
        return;
    }
    switch (look.state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        FillRectangle(surface, Back, platform::Rect{0, 0, W, H});
        return;
    case ButtonStates::StateHot: {
        const ColorRef lower = hex(0xD0ECF8);
        DrawGradient(surface, 1, 1, W - 2, H - 2, hex(0xF1F9FD), lower, GradientDirection::Vertical);
        // The panel is flat from a little below the middle down.
        DrawGradient(surface, 1, roundEven(H / 1.7), W - 2, H - 2, lower, lower, GradientDirection::Vertical);
        break;
    }
    case ButtonStates::StateDown:
        DrawGradient(surface, 1, 1, W - 2, H - 2, hex(0xB0DEF1), hex(0xDBF1F9), GradientDirection::Vertical);
        break;
    default:
        return;
    }
    DrawFrame(surface, 0, 0, W, H, frame);
    DrawFrame(surface, 1, 1, W - 2, H - 2, white);
    SetCornerPixels(surface, ShiftColor(frame, 0.3f));
}

void DrawRoundedShadedStyle(Surface& surface, const ButtonLook& look, PainterRequests& requests)
{
    const int W = surface.width();
    const int H = surface.height();
    const ColorRef Back = TranslateColor(look.BackColor);
    const ColorRef white = hex(0xFFFFFF);

    struct Face
    {
        ColorRef fill, band1, band2, lower1, lower2, frame;
    };
    const auto paint = [&](const Face& f) {
        FillRectangle(surface, f.fill, platform::Rect{0, 0, W, H});
        // The band covers rows 0 to 4 and row 5 keeps the fill; the lower gradient is taller than what is left
        // of the control, so only its upper part shows.
        DrawGradient(surface, 0, 0, W, 5, f.band1, f.band2, GradientDirection::Vertical);
        DrawGradient(surface, 0, 6, W, H - 1, f.lower1, f.lower2, GradientDirection::Vertical);
        DrawFrame(surface, 0, 0, W, H, f.frame);
    };

    switch (look.state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        paint({Back, ShiftColor(BlendColors(Back, white), 0.1f), Back, ShiftColor(Back, -0.05f),
               BlendColors(white, ShiftColor(Back, 0.1f)), ShiftColor(Back, -0.33f)});
        break;
    case ButtonStates::StateHot: {
        const ColorRef lit = ShiftColor(Back, 0.05f);
        paint({lit, ShiftColor(BlendColors(lit, white), 0.15f), lit, Back, BlendColors(white, ShiftColor(Back, 0.15f)),
               ShiftColor(Back, -0.28f)});
        break;
    }
    case ButtonStates::StateDown:
        paint({ShiftColor(Back, -0.03f), ShiftColor(BlendColors(Back, white), 0.1f), Back, ShiftColor(Back, -0.08f),
               BlendColors(white, ShiftColor(Back, 0.07f)), ShiftColor(Back, -0.36f)});
        break;
    default:
        break;
    }
    SetCornerPixels(surface, ShiftColor(Back, -0.5f));
}

const StylePainterRegistration shaded({ButtonStyles::Shaded}, &DrawShadedStyle);
const StylePainterRegistration paleBlue({ButtonStyles::PaleBlue}, &DrawPaleBlueStyle);
const StylePainterRegistration roundedShaded({ButtonStyles::RoundedShaded}, &DrawRoundedShadedStyle);

}  // namespace

}  // namespace tervolin::controls
