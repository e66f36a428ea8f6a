// ButtonStyle Glossy: a rounded button whose face is an upper and a lower band. Normal: a soft vertical gradient
// of BackColor over a darker lower band, grey frame with a white inner rim. Hot: light-blue bands with side glows
// and a blue frame. Down: flat blue bands with an inner shadow along the top and left. A focused or default
// button in an active window gets a blue double frame.

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"


namespace tervolin::controls {

namespace {

using platform::Surface;

/// The band boundaries, all derived from H / 2 in floating point.
struct Bands
{
    int half;       ///< first row of the lower band
    int halfLess1;  ///< end of the left inner line of the upper band (down look)
    int halfLess2;  ///< height of the upper side glows
    int rest;       ///< height of the lower side glows
};

Bands bandsFor(int H)
{
    const double h2 = H / 2.0;
    return {roundEven(h2), roundEven(h2 - 1), roundEven(h2 - 2), roundEven(H - h2 - 1)};
}

void drawDisabled(Surface& s, int W, int H, ColorRef back)
{
    FillRectangle(s, ShiftColor(back, 0.03f), Rect{0, 0, W, H});
    DrawFrame(s, 0, 0, W, H, ShiftColor(back, -0.25f));
    DrawFrame(s, 1, 1, W - 2, H - 2, ShiftColor(back, 0.25f));
    SetCornerPixels(s, ShiftColor(back, -0.03f));
}

void drawNormal(Surface& s, int W, int H, const Bands& b, ColorRef back)
{
    DrawGradient(s, 1, 1, W - 1, H, ShiftColor(back, 0.05f), back, GradientDirection::Vertical);
    // Runs past the bottom edge on purpose: only the upper part of this ramp is visible.
    DrawGradient(s, 1, b.half, W - 2, H - 2, ShiftColor(back, -0.02f), ShiftColor(back, -0.15f), GradientDirection::Vertical);
    DrawFrame(s, 0, 0, W, H, hex(0x707070));
    DrawFrame(s, 1, 1, W - 2, H - 2, hex(0xFFFFFF));
}

void drawHot(Surface& s, int W, int H, const Bands& b)
{
    DrawGradient(s, 1, 1, W - 2, b.half, hex(0xE4F7FF), hex(0xDAF3FF), GradientDirection::Vertical);
    DrawGradient(s, 1, b.half, W - 2, H - 2, hex(0xC1E9FF), hex(0xAEE1FD), GradientDirection::Vertical);
    const ColorRef lowerInner = ShiftColor(hex(0xACE1FD), 0.01f);
    DrawGradient(s, 1, 3, 5, b.halfLess2, hex(0xCDEEFF), hex(0xE4F7FF), GradientDirection::Horizontal);
    DrawGradient(s, 1, b.half, 5, b.rest, hex(0x8FD6FA), lowerInner, GradientDirection::Horizontal);
    DrawGradient(s, W - 6, 3, 5, b.halfLess2, hex(0xE4F7FF), hex(0xCDEEFF), GradientDirection::Horizontal);
    DrawGradient(s, W - 6, b.half, 5, b.rest, lowerInner, hex(0x8FD6FA), GradientDirection::Horizontal);
    DrawFrame(s, 0, 0, W, H, hex(0x3275A7));
    DrawFrame(s, 1, 1, W - 2, H - 2, hex(0xFFFFFF));
}

void drawDown(Surface& s, int W, int H, const Bands& b)
{
    DrawGradient(s, 1, 1, W - 1, H, hex(0xC2E4F6), hex(0xC2E4F6), GradientDirection::Vertical);
    DrawGradient(s, 1, b.half, W - 2, H - 2, hex(0x9AD2F0), hex(0x9AD2F0), GradientDirection::Vertical);
    DrawFrame(s, 0, 0, W, H, hex(0x1D415C));
    // Inner shadow along the top and down the left of the upper band.
    DrawLine(s, 1, 1, W - 1, 1, hex(0x719CB3));
    DrawLine(s, 1, 2, W - 1, 2, hex(0xA9C6D6));
    DrawLine(s, 1, 3, W - 1, 3, hex(0xB9D9EC));
    DrawLine(s, 1, 1, 1, b.halfLess1, hex(0x73B0CF));

    const ColorRef upperOuter = ShiftColor(hex(0x91C8E6), 0.02f);
    const ColorRef upperInner = ShiftColor(hex(0xC2E4F6), -0.01f);
    const ColorRef lowerOuter = ShiftColor(hex(0x4EABDC), 0.02f);
    const ColorRef lowerInner = ShiftColor(hex(0x9AD2F0), -0.01f);
    DrawGradient(s, 1, 3, 5, b.halfLess2, upperOuter, upperInner, GradientDirection::Horizontal);
    DrawGradient(s, 1, b.half, 5, b.rest, lowerOuter, lowerInner, GradientDirection::Horizontal);
    DrawGradient(s, W - 6, 3, 5, b.halfLess2, upperInner, upperOuter, GradientDirection::Horizontal);
    DrawGradient(s, W - 6, b.half, 5, b.rest, lowerInner, lowerOuter, GradientDirection::Horizontal);

    // The lower band's left line runs from Half up towards Rest, which never lies below it: for an even height
    // that is the single pixel (1, Half), for a height of 4n + 3 the pixels at rows Half and Half - 1, otherwise
    // nothing. Drawn last so that it stays visible over the side glow.
    DrawLine(s, 1, b.half, 1, b.rest, hex(0x2B91C5));
}

void DrawGlossyStyle(Surface& surface, const ButtonLook& look, PainterRequests& requests)
{
    const int W = surface.width();
    const int H = surface.height();
    const ColorRef back = TranslateColor(look.BackColor);
    const Bands bands = bandsFor(H);

    if (!look.Enabled) {
        requests.updateRegion = true;
        drawDisabled(surface, W, H, back);
        return;
    }

    switch (look.state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        drawNormal(surface, W, H, bands, back);
        break;
    case ButtonStates::StateHot:
        drawHot(surface, W, H, bands);
        break;
    case ButtonStates::StateDown:
        drawDown(surface, W, H, bands);
        break;
    default:
        break;
    }

    if (look.ParentActive) {
        if ((look.HasFocus || look.DisplayAsDefault) && look.state == ButtonStates::StateNormal) {
            DrawFrame(surface, 0, 0, W, H, hex(0x3275A7));
            DrawFrame(surface, 1, 1, W - 2, H - 2, hex(0x48D8FB));
        }
        if (look.ShowFocusRect && look.HasFocus)
            surface.focusRect(Rect{2, 2, W - 2, H - 2});
    }
    SetCornerPixels(surface, hex(0x5F96BE));
}

const StylePainterRegistration registration({ButtonStyles::Glossy}, &DrawGlossyStyle);

}  // namespace

}  // namespace tervolin::controls
