// ButtonStyle RoundedBlue and Silver: looks built from 1-pixel lines along the inside of the border.
// RoundedBlue has a BackColor gradient face in a dark blue frame, a warm orange inner rim when hot and a light
// blue one when focused. Silver is a plain BackColor face at rest, a light silver panel when hot, a grey sunken
// panel when down and a near-white face when checked; it also sets the caption colour (white while pressed).

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"

#include <cstdint>

namespace tervolin::controls {

namespace {

using platform::Surface;

/// The rim colours of one inner ring of lines (hot and focus rims share the geometry).
struct Rim
{
    ColorRef top2, top1, left1, right1, left2, right2, bottom3, bottom2;
};

void drawRim(Surface& s, int W, int H, const Rim& c)
{
    DrawLine(s, 1, 2, W - 2, 2, c.top2);
    DrawLine(s, 1, 1, W - 2, 1, c.top1);
    DrawLine(s, 1, 1, 1, H - 2, c.left1);
    DrawLine(s, W - 2, 2, W - 2, H - 2, c.right1);
    DrawLine(s, 2, 2, 2, H - 3, c.left2);
    DrawLine(s, W - 3, 3, W - 3, H - 3, c.right2);
    DrawLine(s, 2, H - 3, W - 2, H - 3, c.bottom3);
    DrawLine(s, 2, H - 2, W - 2, H - 2, c.bottom2);
}

constexpr Rim HotRim{hex(0xFDD889), hex(0xFFF0CF), hex(0xF9BD49), hex(0xF9BD49),
                     hex(0xFCD27A), hex(0xFCD27A), hex(0xF8B330), hex(0xE59700)};
constexpr Rim FocusRim{hex(0xBCD4F6), hex(0xCEE7FF), hex(0x8EAFE6), hex(0x8EAFE6),
                       hex(0xB8D1F4), hex(0xB8D1F4), hex(0x89ADE4), hex(0x6982EE)};

void drawRoundedBlueFace(Surface& s, int W, int H, ColorRef back)
{
    DrawGradient(s, 0, 0, W, H, ShiftColor(back, 0.07f), back, GradientDirection::Vertical);
    DrawGradient(s, 0, 0, W, 5, ShiftColor(back, 0.2f), ShiftColor(back, 0.08f), GradientDirection::Vertical);  // bright top band
}

void DrawRoundedBlueStyle(Surface& s, const ButtonLook& look, PainterRequests& requests)
{
    const int W = look.W;
    const int H = look.H;
    const Rect client{0, 0, W, H};
    const ColorRef back = TranslateColor(look.BackColor);

    if (!look.Enabled) {
        requests.updateRegion = true;
        FillRectangle(s, ShiftColor(back, 0.03f), client);
        DrawFrame(s, 0, 0, W, H, ShiftColor(back, -0.1f));
        SetCornerPixels(s, ShiftColor(back, 0.2f));
        return;
    }

    switch (look.state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        drawRoundedBlueFace(s, W, H, back);
        DrawLine(s, 1, H - 2, W - 2, H - 2, ShiftColor(back, -0.09f));
        DrawLine(s, 1, H - 3, W - 2, H - 3, ShiftColor(back, -0.05f));
        DrawLine(s, 1, H - 4, W - 2, H - 4, ShiftColor(back, -0.01f));
        DrawLine(s, W - 2, 2, W - 2, H - 2, ShiftColor(back, -0.08f));
        DrawLine(s, 1, 1, 1, H - 2, BlendColors(hex(0xFFFFFF), back));
        break;
    case ButtonStates::StateHot:
        drawRoundedBlueFace(s, W, H, back);
        drawRim(s, W, H, HotRim);
        break;
    case ButtonStates::StateDown:
        FillRectangle(s, ShiftColor(back, -0.05f), client);
        DrawLine(s, 1, 1, W - 2, 1, ShiftColor(back, -0.16f));
        DrawLine(s, 1, 2, W - 2, 2, ShiftColor(back, -0.1f));
        DrawLine(s, 1, H - 2, W - 2, H - 2, ShiftColor(back, 0.07f));
        DrawLine(s, 1, 1, 1, H - 2, ShiftColor(back, -0.16f));
        DrawLine(s, 2, 2, 2, H - 2, ShiftColor(back, -0.1f));
        DrawLine(s, W - 2, 2, W - 2, H - 2, ShiftColor(back, 0.04f));
        break;
    default:
        break;
    }

    const bool focusOrDefault = look.HasFocus || look.DisplayAsDefault;
    if (look.ParentActive && focusOrDefault && look.state == ButtonStates::StateNormal)
        drawRim(s, W, H, FocusRim);
    if (look.ParentActive && look.ShowFocusRect && focusOrDefault)
        s.focusRect(Rect{2, 2, W - 2, H - 2});

    DrawFrame(s, 0, 0, W, H, hex(0x003C74));
    SetCornerPixels(s, ShiftColor(hex(0x003C74), 0.3f));
}

void DrawSilverStyle(Surface& s, const ButtonLook& look, PainterRequests& requests)
{
    const int W = look.W;
    const int H = look.H;
    const Rect client{0, 0, W, H};
    // Stored as plain RGB, as the style defaults store it, so that the stored property still equals its default.
    const ColorRef buttonText = TranslateColor(platform::systemColour(platform::SystemColourIndex::ButtonText));

    // The control takes the container's background colour (see the Shadow style for why the pixels too).
    const ColorRef ambient = TranslateColor(look.AmbientBackColor);
    if (ambient != -1) {
        requests.surfaceBackground = ambient;
        FillRectangle(s, ambient, client);
    }

    const bool checked = look.CheckBoxMode && look.Value;
    const ButtonStates state = checked && look.LeftButtonHeld ? ButtonStates::StateDown : look.state;

    if (checked && state != ButtonStates::StateDown) {
        FillRectangle(s, hex(0xFEFEFE), client);
        requests.foreColor = buttonText;
        DrawFrame(s, 0, 0, W, H, hex(0x7A98AF));
        SetCornerPixels(s, ShiftColor(hex(0xA0B3C1), -0.2f));
        if (state == ButtonStates::StateHot) {
            DrawLine(s, W - 2, 2, W - 2, H - 2, hex(0xF2F0ED));
            DrawLine(s, 2, H - 2, W - 2, H - 2, hex(0xE4DED8));
            DrawLine(s, 1, H - 3, W - 1, H - 3, hex(0xEFECE8));
            DrawLine(s, 1, H - 4, W - 1, H - 4, hex(0xFAF9F8));
        }
        return;
    }

    switch (state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        FillRectangle(s, TranslateColor(look.BackColor), client);
        break;
    case ButtonStates::StateHot: {
        const int half = roundEven(H / 2.0);
        DrawGradient(s, 0, 0, W, half, hex(0xFEFEFD), hex(0xF4F4EE), GradientDirection::Vertical);
        DrawGradient(s, 0, half, W, half, hex(0xF4F4EE), hex(0xF1F1EA), GradientDirection::Vertical);
        DrawLine(s, W - 2, 2, W - 2, H - 2, hex(0xEAE7E0));
        DrawLine(s, W - 3, 2, W - 3, H - 2, hex(0xF0F0EA));
        DrawLine(s, 0, H - 4, W, H - 4, hex(0xEEEDE5));
        DrawLine(s, 0, H - 3, W, H - 3, hex(0xE4E1D6));
        DrawLine(s, 0, H - 2, W, H - 2, hex(0xD7D2C6));
        DrawFrame(s, 0, 0, W, H, hex(0xCECEC3));
        SetCornerPixels(s, ShiftColor(hex(0xD4D4C9), -0.05f));
        break;
    }
    case ButtonStates::StateDown:
        FillRectangle(s, hex(0xE5E4DD), client);
        DrawLine(s, 1, 1, W - 2, 1, ShiftColor(hex(0xDCDAD1), -0.02f));
        DrawLine(s, 1, 2, W - 2, 2, ShiftColor(hex(0xE3E1DA), -0.02f));
        DrawLine(s, 1, H - 3, W - 2, H - 3, ShiftColor(hex(0xE6E5DE), 0.02f));
        DrawLine(s, 1, H - 2, W - 2, H - 2, ShiftColor(hex(0xEBEAE5), 0.02f));
        DrawFrame(s, 0, 0, W, H, hex(0x9D9D92));
        SetCornerPixels(s, ShiftColor(hex(0xB5B4AB), -0.2f));
        break;
    default:
        break;
    }

    requests.foreColor = state == ButtonStates::StateDown ? hex(0xFFFFFF) : buttonText;
}

const StylePainterRegistration roundedBlue({ButtonStyles::RoundedBlue}, &DrawRoundedBlueStyle);
const StylePainterRegistration silver({ButtonStyles::Silver}, &DrawSilverStyle);

}  // namespace

}  // namespace tervolin::controls
