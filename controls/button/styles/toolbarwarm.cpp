// The ToolbarOrange and WarmGradient looks: rectangular buttons resting in a cool BackColor face that light up in
// warm orange and yellow gradients when hot, down or checked.
//   ToolbarOrange  two vertical bands split at 1/2.7 of the height, with a frame darker than BackColor;
//   WarmGradient   two halves at rest; one gradient and a navy frame when hot, down or checked.
// Neither looks at Enabled or draws a focus cue.

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"


namespace tervolin::controls {

namespace {

using platform::Surface;

bool isChecked(const ButtonLook& look) { return look.CheckBoxMode && look.Value; }

void DrawToolbarOrangeStyle(Surface& surface, const ButtonLook& look, PainterRequests&)
{
    const int W = surface.width();
    const int H = surface.height();
    const int Top = roundEven(H / 2.7);
    const int Rest = roundEven(H - H / 2.7);
    const ColorRef Back = TranslateColor(look.BackColor);

    const auto bands = [&](ColorRef u1, ColorRef u2, ColorRef l1, ColorRef l2) {
        DrawGradient(surface, 0, 0, W, Top, u1, u2, GradientDirection::Vertical);
        DrawGradient(surface, 0, Top, W, Rest, l1, l2, GradientDirection::Vertical);
    };
    // The deep orange of a pressed button, also shown by a checked button under the pointer.
    const auto deep = [&] { bands(hex(0xFFC158), hex(0xFFAF51), hex(0xFF8F46), hex(0xFFD35F)); };

    if (isChecked(look)) {
        // A checked button shows its own look whatever the state.
        bands(hex(0xFFD9A9), hex(0xFFC06F), hex(0xFFAB3F), hex(0xFFE175));
        if (look.PointerOver)
            deep();
    } else {
        switch (look.state) {
        case ButtonStates::StateNormal:
            FillRectangle(surface, Back, look.clientRect);
            bands(BlendColors(ShiftColor(Back, 0.09f), hex(0xFFFFFF)), BlendColors(ShiftColor(Back, 0.07f), Back), Back,
                  ShiftColor(Back, 0.03f));
            break;
        case ButtonStates::StateHot:
            bands(hex(0xFFFFE1), hex(0xFFEAAC), hex(0xFFD767), hex(0xFFE499));
            break;
        case ButtonStates::StateDown:
            deep();
            break;
        default:
            return;
        }
    }
    DrawFrame(surface, 0, 0, W, H, ShiftColor(Back, -0.34f));
}

void DrawWarmGradientStyle(Surface& surface, const ButtonLook& look, PainterRequests& requests)
{
    const int W = surface.width();
    const int H = surface.height();
    const int Half = roundEven(H / 2.0);
    const int HalfPlusOne = roundEven(H / 2.0 + 1);
    const ColorRef Back = TranslateColor(look.BackColor);
    const bool checked = isChecked(look);

    if (checked) {
        if (look.PointerOver)
            DrawGradient(surface, 0, 0, W, H, hex(0xFE914E), hex(0xFFD38E), GradientDirection::Vertical);
        else
            DrawGradient(surface, 0, 0, W, H, hex(0xFFD58C), hex(0xFFAD55), GradientDirection::Vertical);
    } else if (look.state == ButtonStates::StateHot) {
        DrawGradient(surface, 0, 0, W, H, hex(0xFFF4CC), hex(0xFFD091), GradientDirection::Vertical);
    } else if (look.state == ButtonStates::StateDown) {
        DrawGradient(surface, 0, 0, W, H, hex(0xFE914E), hex(0xFFD38E), GradientDirection::Vertical);
    } else if (look.state == ButtonStates::StateNormal) {
        requests.updateRegion = true;
        DrawGradient(surface, 0, 0, W, Half, ShiftColor(Back, 0.05f), Back, GradientDirection::Vertical);
        DrawGradient(surface, 0, Half, W, HalfPlusOne, ShiftColor(Back, -0.01f), ShiftColor(Back, -0.13f), GradientDirection::Vertical);
    }
    // Only a resting, unchecked button goes without the frame.
    if (look.state != ButtonStates::StateNormal || checked)
        DrawFrame(surface, 0, 0, W, H, hex(0x000080));
}

const StylePainterRegistration toolbarOrange({ButtonStyles::ToolbarOrange}, &DrawToolbarOrangeStyle);
const StylePainterRegistration warmGradient({ButtonStyles::WarmGradient}, &DrawWarmGradientStyle);

}  // namespace

}  // namespace tervolin::controls
