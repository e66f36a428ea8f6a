#pragma once
// Placement of a button's picture and caption: the layout table by picture alignment, the lower bounds, the
// fit to the client area, the caption alignment table, the access-key shift and the per-style offsets.
// All divisions by 2 truncate toward zero and apply to each operand on its own (W / 2 - tw / 2).

#include "controls/button/buttontypes.h"
#include "platform/geometry.h"

#include <cstdint>
#include <optional>

namespace tervolin::controls {

struct CaptionLayoutInput
{
    int W = 0;   ///< client width, pixels
    int H = 0;   ///< client height
    int tw = 0;  ///< caption width as measured ("&" counted)
    int th = 0;  ///< caption height
    int pw = 0;  ///< picture size chosen from PictureSize (before the fit)
    int ph = 0;
    bool hasPicture = false;
    PictureAlignments pictureAlign = PictureAlignments::PictureLeftOfCaption;
    CaptionAlignments captionAlign = CaptionAlignments::AlignCenter;
    bool hasAccessKey = false;
    ButtonStyles style = ButtonStyles::Standard;
    ButtonStates state = ButtonStates::StateNormal;
};

struct CaptionLayout
{
    int px = 0;  ///< picture position, after the style offset
    int py = 0;
    int pw = 0;  ///< picture size after the fit
    int ph = 0;
    int cx = 0;  ///< caption position before the style offset of the caption rectangle
    int cy = 0;
    platform::Rect captionRect;
    /// The caption focus rectangle this layout sets (states 0 and 1, styles other than Shadow and RoundGlass).
    std::optional<platform::Rect> captionFocusRect;
};

CaptionLayout layOutCaptionAndPicture(const CaptionLayoutInput& in);

/// The drawn picture size for a PictureSize value: the picture's own size for SizeOriginal, 16, 24 or 32
/// square for the others, and the previous size for any other value.
void pictureSizeFor(PictureSizes pictureSize, int ownWidth, int ownHeight, int& pw, int& ph);

}  // namespace tervolin::controls
