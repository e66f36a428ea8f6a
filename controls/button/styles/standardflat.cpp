// ButtonStyle Standard, Flat, FlatHover and FlatHoverThin: one painter on the system's 3-D edges and colours, so
// that the four follow the desktop's colour scheme. Standard is the classic raised button, Flat a thin raised rim,
// FlatHover shows no rim until the pointer is over it, FlatHoverThin a thin rim on hover only. In check-box mode
// a checked button is drawn sunken on a slightly lighter face.

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"


namespace tervolin::controls {

namespace {

using platform::EdgeKind;
using platform::Surface;

constexpr ColorRef Black = hex(0x000000);
constexpr ColorRef White = hex(0xFFFFFF);

ColorRef systemColour(int index) { return TranslateColor(platform::systemColour(index)); }

void drawChecked(Surface& s, const ButtonLook& look, ColorRef back)
{
    FillRectangle(s, ShiftColor(back, 0.02f), look.clientRect);
    if (look.ButtonStyle == ButtonStyles::FlatHoverThin)
        return;  // a plain lighter face
    s.drawEdge(look.clientRect, EdgeKind::Sunken);
    if (look.ButtonStyle == ButtonStyles::Standard && look.ShowFocusRect && look.HasFocus)
        DrawFrame(s, 4, 4, look.W - 7, look.H - 7, systemColour(platform::SystemColourIndex::ApplicationWorkspace));
}

/// The rim of the resting and hot looks; FlatHover and FlatHoverThin have none at rest.
void drawRim(Surface& s, const ButtonLook& look)
{
    const bool hot = look.state == ButtonStates::StateHot;
    switch (look.ButtonStyle) {
    case ButtonStyles::Standard:
        s.drawEdge(look.clientRect, EdgeKind::Raised);
        break;
    case ButtonStyles::Flat:
        s.drawEdge(look.clientRect, EdgeKind::ThinRaised);
        break;
    case ButtonStyles::FlatHover:
        if (hot)
            s.drawEdge(look.clientRect, EdgeKind::Raised);
        break;
    case ButtonStyles::FlatHoverThin:
        if (hot)
            s.drawEdge(look.clientRect, EdgeKind::ThinRaised);
        break;
    default:
        break;
    }
}

void drawDown(Surface& s, const ButtonLook& look)
{
    const int W = look.W;
    const int H = look.H;
    switch (look.ButtonStyle) {
    case ButtonStyles::Standard:
        DrawFrame(s, 1, 1, W - 2, H - 2, hex(0xACA899));
        DrawFrame(s, 0, 0, W, H, Black);
        break;
    case ButtonStyles::FlatHover:
        s.drawEdge(look.clientRect, EdgeKind::Sunken);
        break;
    case ButtonStyles::Flat:
    case ButtonStyles::FlatHoverThin:
        // The second frame is one pixel larger than the control: its right and bottom sides fall outside, so
        // the white of the first frame stays there and only the top and left turn grey.
        DrawFrame(s, 0, 0, W, H, White);
        DrawFrame(s, 0, 0, W + 1, H + 1, systemColour(platform::SystemColourIndex::GreyText));
        break;
    default:
        break;
    }
}

void drawFocusAndDefault(Surface& s, const ButtonLook& look)
{
    if (!look.HasFocus && !look.DisplayAsDefault)
        return;
    const int W = look.W;
    const int H = look.H;
    // Only the focused button shows the dotted rectangle: a button drawn as the container's default while
    // another control has the focus gets the black frame alone.
    if (look.HasFocus && look.ShowFocusRect && look.UserMode && look.ParentActive) {
        const bool wide = look.ButtonStyle == ButtonStyles::Standard || look.ButtonStyle == ButtonStyles::FlatHover;
        const int inset = wide ? 4 : 3;
        s.focusRect(Rect{inset, inset, W - inset, H - inset});
    }
    if (look.ButtonStyle == ButtonStyles::Standard
        && (look.state == ButtonStates::StateNormal || look.state == ButtonStates::StateHot)) {
        s.drawEdge(Rect{0, 0, W - 1, H - 1}, EdgeKind::Raised);
        DrawFrame(s, 0, 0, W - 1, H - 1, systemColour(platform::SystemColourIndex::ApplicationWorkspace));
        DrawFrame(s, 0, 0, W, H, Black);
    }
}

void DrawStandardStyles(Surface& s, const ButtonLook& look, PainterRequests& requests)
{
    const ColorRef back = TranslateColor(look.BackColor);
    if (look.CheckBoxMode && look.Value) {
        drawChecked(s, look, back);
        return;
    }

    switch (look.state) {
    case ButtonStates::StateNormal:
        requests.updateRegion = true;
        FillRectangle(s, back, look.clientRect);
        drawRim(s, look);
        break;
    case ButtonStates::StateHot:
        FillRectangle(s, back, look.clientRect);
        drawRim(s, look);
        break;
    case ButtonStates::StateDown:
        FillRectangle(s, back, look.clientRect);
        drawDown(s, look);
        break;
    default:
        break;
    }
    drawFocusAndDefault(s, look);
}

const StylePainterRegistration registration({ButtonStyles::Standard, ButtonStyles::Flat, ButtonStyles::FlatHover,
                                             ButtonStyles::FlatHoverThin},
                                            &DrawStandardStyles);

}  // namespace

}  // namespace tervolin::controls
