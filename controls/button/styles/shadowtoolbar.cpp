// ButtonStyle Shadow, ToolbarBlue and SideGradient: rectangular faces of plain fills or single gradients with
// 1-pixel frames. Shadow is a raised face over a three-step grey shadow that disappears when the face is pressed
// into it; ToolbarBlue a white-to-BackColor gradient at rest and a flat blue highlight when hot or down;
// SideGradient a left-to-right gradient of BackColor in a grey frame.

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"

#include <cstdint>

namespace tervolin::controls {

namespace {

using platform::Surface;

bool checked(const ButtonLook& look) { return look.CheckBoxMode && look.Value; }

/// Gives the control the container's background colour: the surface's background for the next clear, and the
/// pixels now, so that what the face leaves uncovered shows the container from the first redraw on. A colour
/// that cannot be translated leaves the current background.
void takeAmbientBackground(Surface& s, const ButtonLook& look, PainterRequests& requests)
{
    const ColorRef ambient = TranslateColor(look.AmbientBackColor);
    if (ambient == -1)
        return;
    requests.surfaceBackground = ambient;
    FillRectangle(s, ambient, look.clientRect);
}

void DrawShadowStyle(Surface& s, const ButtonLook& look, PainterRequests& requests)
{
    const int W = look.W;
    const int H = look.H;
    const ColorRef back = TranslateColor(look.BackColor);
    const ColorRef face = look.Enabled ? back : ShiftColor(back, 0.1f);
    const ColorRef rim = ShiftColor(face, 0.3f);

    if (look.state == ButtonStates::StateNormal)
        requests.updateRegion = true;
    takeAmbientBackground(s, look, requests);

    const bool down = look.state == ButtonStates::StateDown;
    if (look.state == ButtonStates::StateNormal || look.state == ButtonStates::StateHot) {
        DrawFrame(s, 6, 6, W - 9, H - 9, hex(0x808080));
        DrawFrame(s, 5, 5, W - 7, H - 7, hex(0xA0A0A0));
        DrawFrame(s, 4, 4, W - 5, H - 5, hex(0xC0C0C0));
        FillRectangle(s, face, Rect{0, 0, W - 5, H - 5});
        DrawFrame(s, 0, 0, W - 4, H - 4, rim);
    } else if (down) {
        // The face moves into the place of its shadow.
        FillRectangle(s, face, Rect{3, 3, W, H});
        DrawFrame(s, 3, 3, W - 3, H - 3, rim);
    }

    if (look.ParentActive && look.ShowFocusRect && (look.HasFocus || look.DisplayAsDefault))
        s.focusRect(down ? Rect{6, 6, W - 3, H - 3} : Rect{3, 3, W - 6, H - 6});
}

void DrawToolbarBlueStyle(Surface& s, const ButtonLook& look, PainterRequests&)
{
    const int W = look.W;
    const int H = look.H;
    const Rect client{0, 0, W, H};
    const ColorRef back = TranslateColor(look.BackColor);
    const auto restingGradient = [&] {
        DrawGradient(s, 0, 0, W, H, BlendColors(ShiftColor(back, 0.26f), hex(0xFFFFFF)), back, GradientDirection::Vertical);
    };

    if (!look.Enabled)
        restingGradient();

    if (checked(look)) {
        FillRectangle(s, hex(0xE1E6E8), client);
        DrawFrame(s, 0, 0, W, H, ShiftColor(hex(0x4B4B6F), 0.05f));
        if (look.state == ButtonStates::StateHot) {
            FillRectangle(s, hex(0x98B5E2), client);
            DrawFrame(s, 0, 0, W, H, hex(0x316AC5));
        }
        return;
    }

    switch (look.state) {
    case ButtonStates::StateNormal:
        restingGradient();
        break;
    case ButtonStates::StateHot:
        FillRectangle(s, hex(0xC1D2EE), client);
        DrawFrame(s, 0, 0, W, H, hex(0x316AC5));
        break;
    case ButtonStates::StateDown:
        FillRectangle(s, hex(0x98B5E2), client);
        DrawFrame(s, 0, 0, W, H, hex(0x4B4B6F));
        break;
    default:
        break;
    }
}

void DrawSideGradientStyle(Surface& s, const ButtonLook& look, PainterRequests& requests)
{
    const int W = look.W;
    const int H = look.H;
    const ColorRef back = TranslateColor(look.BackColor);
    const ButtonStates state = checked(look) ? ButtonStates::StateDown : look.state;

    switch (state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        DrawGradient(s, 0, 0, W, H, back, ShiftColor(back, 0.08f), GradientDirection::Horizontal);
        break;
    case ButtonStates::StateHot:
        DrawGradient(s, 0, 0, W, H, back, ShiftColor(back, 0.08f), GradientDirection::Horizontal);
        break;
    case ButtonStates::StateDown:
        DrawGradient(s, 0, 0, W, H, ShiftColor(back, -0.05f), ShiftColor(back, 0.03f), GradientDirection::Horizontal);
        break;
    default:
        break;
    }
    DrawFrame(s, 0, 0, W, H, hex(0x7E807D));

    if ((look.HasFocus || look.DisplayAsDefault) && look.ShowFocusRect && look.UserMode && look.ParentActive)
        s.focusRect(Rect{3, 3, W - 3, H - 3});
}

const StylePainterRegistration shadow({ButtonStyles::Shadow}, &DrawShadowStyle);
const StylePainterRegistration toolbarBlue({ButtonStyles::ToolbarBlue}, &DrawToolbarBlueStyle);
const StylePainterRegistration sideGradient({ButtonStyles::SideGradient}, &DrawSideGradientStyle);

}  // namespace

}  // namespace tervolin::controls
