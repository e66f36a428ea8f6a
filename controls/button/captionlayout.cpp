#include "controls/button/captionlayout.h"

#include <algorithm>

namespace tervolin::controls {

void pictureSizeFor(PictureSizes pictureSize, int ownWidth, int ownHeight, int& pw, int& ph)
{
    switch (pictureSize) {
    case PictureSizes::SizeOriginal: pw = ownWidth; ph = ownHeight; break;
    case PictureSizes::Size16: pw = ph = 16; break;
    case PictureSizes::Size24: pw = ph = 24; break;
    case PictureSizes::Size32: pw = ph = 32; break;
    default: break;  // other values keep the previous size
    }
}

CaptionLayout layOutCaptionAndPicture(const CaptionLayoutInput& in)
{
    using PA = PictureAlignments;
    using CA = CaptionAlignments;
    const int W = in.W, H = in.H, tw = in.tw, th = in.th;
    int pw = in.pw, ph = in.ph;
    int px = 0, py = 0, cx = 0, cy = 0;

    switch (in.pictureAlign) {
    case PA::PictureLeftEdge:
        px = 4;
        py = (H - ph) / 2;
        cx = std::max(W / 2 - tw / 2 + pw / 2, pw + 8);
        cy = H / 2 - th / 2;
        break;
    case PA::PictureLeftOfCaption:
        px = std::max((W - (pw + tw)) / 2, 4);
        py = (H - ph) / 2;
        cx = std::max(W / 2 - tw / 2 + pw / 2 + 3, pw + 8);
        cy = H / 2 - th / 2;
        break;
    case PA::PictureRightEdge:
        px = W - pw - 4;
        py = (H - ph) / 2;
        cx = W - tw - 4 - pw;
        cy = H / 2 - th / 2;
        break;
    case PA::PictureRightOfCaption:
        // (W - (pw - tw)) / 2 as laid down: the caption's width moves the picture right.
        px = std::min((W - (pw - tw)) / 2, W - pw - 4);
        py = (H - ph) / 2;
        cx = W / 2 - tw / 2 - pw / 2 - 3;
        if (cx < 0)
            cx = W - tw - 4 - pw;
        cy = H / 2 - th / 2;
        break;
    case PA::PictureCenter:
        px = (W - pw) / 2;
        py = (H - ph) / 2;
        cx = W / 2 - tw / 2;
        cy = H / 2 - th / 2;
        break;
    case PA::PictureTopEdge:
        px = (W - pw) / 2;
        py = 4;
        cx = W / 2 - tw / 2;
        cy = ph / 2 + H / 2 - th / 2 + 2;
        break;
    case PA::PictureAboveCaption:
        px = (W - pw) / 2;
        py = std::max((H - (th + ph)) / 2, 4);
        cx = W / 2 - tw / 2;
        cy = ph / 2 + H / 2 - th / 2 + 2;
        break;
    case PA::PictureBottomEdge:
        px = (W - pw) / 2;
        py = H - ph - 4;
        cx = W / 2 - tw / 2;
        cy = H / 2 - ph / 2 - th / 2 - 2;
        break;
    case PA::PictureBelowCaption:
        px = (W - pw) / 2;
        py = std::min((H - (ph - th)) / 2, H - ph - 4);
        cx = W / 2 - tw / 2;
        cy = H / 2 - ph / 2 - th / 2 - 2;
        break;
    default:
        break;
    }

    px = std::max(px, 1);
    py = std::max(py, 1);

    // Shrink a picture that does not fit; its position stays where the table put it.
    if (W < px + pw)
        pw = W - 8;
    if (H < py + ph)
        ph = H - 4;

    if (!in.hasPicture) {
        switch (in.captionAlign) {
        case CA::AlignLeft: cx = 4; break;
        case CA::AlignCenter: cx = W / 2 - tw / 2; break;
        case CA::AlignRight: cx = W - tw - 4; break;
        default: break;
        }
        px = py = 0;
        cy = H / 2 - th / 2;
    } else if (in.captionAlign == CA::AlignLeft) {
        switch (in.pictureAlign) {
        case PA::PictureLeftEdge: cx = pw + 8; break;
        case PA::PictureLeftOfCaption: px = 4; cx = pw + 8; break;
        case PA::PictureRightEdge: cx = cx >= 4 ? 4 : W - tw - 4 - pw; break;
        case PA::PictureRightOfCaption: cx = 4; px = tw + 4; break;
        default: cx = 4; break;
        }
    } else if (in.captionAlign == CA::AlignCenter) {
        if (in.pictureAlign == PA::PictureRightEdge)
            cx = cx < 0 ? W - tw - 4 - pw : W / 2 - tw / 2;
    } else if (in.captionAlign == CA::AlignRight) {
        switch (in.pictureAlign) {
        case PA::PictureLeftEdge: cx = std::max(W - tw - 4, pw + 4); break;
        case PA::PictureLeftOfCaption: cx = W - tw - 4; px = cx - pw - 4; break;
        case PA::PictureRightEdge: cx = W - tw - 4 - pw; break;
        case PA::PictureRightOfCaption: px = W - pw - 4; cx = W - tw - 4 - pw; break;
        default: cx = W - tw - 4; break;
        }
    }

    // The marker "&" is measured but not drawn.
    if (in.hasAccessKey)
        cx += 3;

    const bool down = in.state == ButtonStates::StateDown;
    const ButtonStyles s = in.style;
    const bool pushStyle = s == ButtonStyles::Standard || s == ButtonStyles::Flat || s == ButtonStyles::Silver
                           || s == ButtonStyles::PaleBlue;
    if (pushStyle && down) {
        px += 1;
        py += 1;
    } else if (s == ButtonStyles::Shadow) {
        const int d = down ? 2 : -1;
        px += d;
        py += d;
    }

    CaptionLayout out;
    if (pushStyle)
        out.captionRect = down ? platform::Rect{cx + 1, cy + 1, cx + tw + 1, cy + th + 1} : platform::Rect{cx, cy, cx + tw, cy + th};
    else if (s == ButtonStyles::Shadow)
        out.captionRect = down ? platform::Rect{cx + 1, cy + 2, cx + tw + 1, cy + th + 1}
                               : platform::Rect{cx - 2, cy - 2, cx + tw - 2, cy + th - 2};
    else if (s == ButtonStyles::RoundGlass)
        out.captionRect = platform::Rect{cx, cy - 1, cx + tw, cy + th - 1};
    else
        out.captionRect = platform::Rect{cx, cy, cx + tw, cy + th};

    if ((in.state == ButtonStates::StateNormal || in.state == ButtonStates::StateHot) && s != ButtonStyles::Shadow
        && s != ButtonStyles::RoundGlass)
        out.captionFocusRect = platform::Rect{cx - 2, cy, cx + tw + 1, cy + th + 1};

    out.px = px;
    out.py = py;
    out.pw = pw;
    out.ph = ph;
    out.cx = cx;
    out.cy = cy;
    return out;
}

}  // namespace tervolin::controls
