#pragma once
// The interface between the button's redraw pipeline and the style painters. A painter draws the face, frame
// and focus cue of one or more ButtonStyle values from a read-only view of the button; it never draws the
// caption or the picture. Painters register themselves by style number from their own file under styles/:
//
//   namespace {
//   void DrawGlossyStyle(platform::Surface& surface, const ButtonLook& look, PainterRequests& requests) { … }
//   const StylePainterRegistration registration({ButtonStyles::Glossy}, &DrawGlossyStyle);
//   }
//
// A style with no registered painter draws no face.

#include "controls/button/buttontypes.h"
#include "platform/colour.h"
#include "platform/geometry.h"
#include "platform/surface.h"

#include <cstdint>
#include <initializer_list>
#include <optional>

namespace tervolin::controls {

/// What a painter may read: the button as it is at this redraw.
struct ButtonLook
{
    ButtonStyles ButtonStyle = ButtonStyles::Standard;
    ButtonStates state = ButtonStates::StateNormal;  ///< ButtonState after the check-box adjustment
    int W = 0;                  ///< client width and height in pixels (the surface's size)
    int H = 0;
    platform::Rect clientRect;  ///< (0, 0, W, H)

    bool Enabled = true;
    bool CheckBoxMode = false;
    bool Value = false;
    bool ShowFocusRect = false;

    bool HasFocus = false;
    bool PointerOver = false;
    bool LeftButtonHeld = false;
    bool SpaceHeld = false;
    bool DisplayAsDefault = false;  ///< the container shows the button as its default button
    bool ParentActive = false;
    bool UserMode = true;           ///< the container is running, not being designed

    platform::ColorRef BackColor = 0;        ///< as stored (plain RGB after ApplyStyleDefaults; may be anything)
    platform::ColorRef ForeColor = 0;
    platform::ColorRef AmbientBackColor = 0; ///< the container's background colour, possibly a system colour

    /// The caption focus rectangle kept by the previous redraw (all zero before the first).
    platform::Rect captionFocusRect;
};

/// What a painter may ask of the pipeline besides drawing; applied after the painter returns.
struct PainterRequests
{
    /// Re-apply the window outline at the current size.
    bool updateRegion = false;
    /// New background colour of the control surface (the colour the next clear fills with).
    std::optional<platform::ColorRef> surfaceBackground;
    /// New stored ForeColor, without a change notice (the caption drawn after the painter uses it).
    std::optional<platform::ColorRef> foreColor;
};

using StylePainter = void (*)(platform::Surface& surface, const ButtonLook& look, PainterRequests& requests);

/// The painters by style number.
class StylePainterRegistry
{
public:
    /// Registers a painter for a style; a later registration for the same style replaces the earlier one.
    static void add(ButtonStyles style, StylePainter painter);
    /// The painter of a style, or nullptr.
    static StylePainter find(ButtonStyles style);
    /// Removes the painter of a style (tests).
    static void remove(ButtonStyles style);
};

/// Registers a painter for one or more styles when its file's static objects are initialised.
struct StylePainterRegistration
{
    StylePainterRegistration(std::initializer_list<ButtonStyles> styles, StylePainter painter);
};

/// The corner ellipse of a style's rounded outline, or 0 for a rectangular outline.
int outlineEllipse(ButtonStyles style);

}  // namespace tervolin::controls
