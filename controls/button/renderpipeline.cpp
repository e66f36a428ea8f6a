// vantlebutton's redraw pipeline: Redraw, UpdateRegion, SetAccessKey and DrawCaptionAndPicture.

#include "controls/button/accesskey.h"
#include "controls/button/captionlayout.h"
#include "controls/button/primitives.h"
#include "controls/button/vantlebutton.h"

#include <QPainter>

namespace tervolin::controls {

using platform::Picture;

namespace {

int ownPixels(int himetric) { return Picture::himetricToPixels(himetric); }

bool isDrawable(const Picture& p) { return p.kind() == Picture::Kind::Bitmap || p.kind() == Picture::Kind::Icon; }

}  // namespace

ButtonLook vantlebutton::look() const
{
    const platform::AmbientProperties ambient = Ambient();
    ButtonLook l;
    l.ButtonStyle = m_ButtonStyle;
    l.state = ButtonState;
    l.W = W_;
    l.H = H_;
    l.clientRect = clientRect_;
    l.Enabled = m_Enabled;
    l.CheckBoxMode = m_CheckBoxMode;
    l.Value = m_Value;
    l.ShowFocusRect = m_ShowFocusRect;
    l.HasFocus = HasFocus;
    l.PointerOver = PointerOver;
    l.LeftButtonHeld = LeftButtonHeld;
    l.SpaceHeld = SpaceHeld;
    l.DisplayAsDefault = DisplayAsDefault;
    l.ParentActive = ParentActive;
    l.UserMode = ambient.UserMode;
    l.BackColor = m_BackColor;
    l.ForeColor = m_ForeColor;
    l.AmbientBackColor = ambient.BackColor;
    l.captionFocusRect = captionFocusRect_;
    return l;
}

void vantlebutton::Redraw()
{
    if (surface_.width() != width() || surface_.height() != height())
        surface_.resize(width(), height());
    surface_.clear();

    W_ = width();
    H_ = height();
    clientRect_ = platform::Rect{0, 0, W_, H_};

    // A checked button shows its down look, except in the styles that draw their own checked face.
    if (m_CheckBoxMode && m_ButtonStyle != ButtonStyles::Standard && m_ButtonStyle != ButtonStyles::Silver
        && m_ButtonStyle != ButtonStyles::ToolbarBlue && m_Value)
        ButtonState = ButtonStates::StateDown;

    if (const StylePainter painter = StylePainterRegistry::find(m_ButtonStyle)) {
        PainterRequests requests;
        painter(surface_, look(), requests);
        if (requests.foreColor)
            m_ForeColor = *requests.foreColor;
        if (requests.surfaceBackground)
            surface_.setBackgroundColour(TranslateColor(*requests.surfaceBackground));
        if (requests.updateRegion)
            UpdateRegion();
    }

    DrawCaptionAndPicture();

    hasImage_ = true;
    if (!painting_)
        update();
}

void vantlebutton::UpdateRegion()
{
    const int ellipse = outlineEllipse(m_ButtonStyle);
    // The rounded outline is one pixel larger than the client area to the right and bottom, so its right
    // and bottom corners are cut slightly less than the top and left ones.
    region_ = ellipse > 0 ? platform::Region::roundRect(platform::Rect{0, 0, W_ + 1, H_ + 1}, ellipse, ellipse)
                          : platform::Region::rectangle(platform::Rect{0, 0, width(), height()});
    region_.applyTo(*this);
}

void vantlebutton::SetAccessKey()
{
    accessKey_ = accessKeyOf(m_Caption);
    registerAccessKey();
}

void vantlebutton::drawPicture(const Picture& p, int x, int y, int w, int h)
{
    if (p.kind() == Picture::Kind::Icon)
        surface_.drawIcon(x, y, w, h, p.image());
    else if (p.kind() == Picture::Kind::Bitmap) {
        if (m_UseMaskColor)
            surface_.drawBitmapTransparent(x, y, w, h, p.image(), TranslateColor(m_MaskColor));
        else
            surface_.drawBitmap(x, y, w, h, p.image());
    }
}

void vantlebutton::DrawCaptionAndPicture()
{
    W_ = width();
    H_ = height();
    const QSize text = surface_.measureText(m_Caption);

    const Picture none;
    const Picture& main = m_Picture;
    pictureSizeFor(m_PictureSize, main.isNone() ? 0 : ownPixels(main.himetricWidth()),
                   main.isNone() ? 0 : ownPixels(main.himetricHeight()), pw_, ph_);

    // The hot/down picture must be of the same kind as the normal one.
    const Picture& hover = m_PictureHover.kind() != main.kind() ? main : m_PictureHover;

    CaptionLayoutInput in;
    in.W = W_;
    in.H = H_;
    in.tw = text.width();
    in.th = text.height();
    in.pw = pw_;
    in.ph = ph_;
    in.hasPicture = !main.isNone();
    in.pictureAlign = m_PictureAlign;
    in.captionAlign = m_CaptionAlign;
    in.hasAccessKey = !accessKey_.isNull();
    in.style = m_ButtonStyle;
    in.state = ButtonState;
    const CaptionLayout out = layOutCaptionAndPicture(in);
    px_ = out.px;
    py_ = out.py;
    pw_ = out.pw;
    ph_ = out.ph;
    captionRect_ = out.captionRect;
    if (out.captionFocusRect)
        captionFocusRect_ = *out.captionFocusRect;

    if (m_Enabled) {
        const Picture* stateImage = &none;
        if (ButtonState == ButtonStates::StateNormal)
            stateImage = &main;
        else if (ButtonState == ButtonStates::StateHot || ButtonState == ButtonStates::StateDown)
            stateImage = m_PictureHover.isNone() ? &main : &hover;
        const Picture* checkedImage = m_CheckBoxMode && m_Value ? (m_PictureHover.isNone() ? &main : &hover) : nullptr;
        // A checked bitmap replaces the state image; a checked icon is drawn over it.
        if (checkedImage && checkedImage->kind() == Picture::Kind::Bitmap) {
            drawPicture(*checkedImage, px_, py_, pw_, ph_);
        } else {
            if (isDrawable(*stateImage))
                drawPicture(*stateImage, px_, py_, pw_, ph_);
            if (checkedImage && checkedImage->kind() == Picture::Kind::Icon)
                drawPicture(*checkedImage, px_, py_, pw_, ph_);
        }
    } else {
        DrawDisabledPicture(surface_, main, px_, py_, pw_, ph_);
    }

    const ColorRef colour = m_Enabled ? TranslateColor(m_ForeColor) : TranslateColor(platform::systemColour(17));
    // Outside the wide-character path the caption goes through the local 8-bit code page first.
    const QString shown = IsNT ? m_Caption : QString::fromLocal8Bit(m_Caption.toLocal8Bit());
    surface_.drawText(captionRect_, shown, colour, platform::TextOptions{true, true});
}

void vantlebutton::paintEvent(QPaintEvent* event)
{
    (void)event;
    // Show the image of the last redraw; draw one first when there is none for this size yet.
    if (!hasImage_ || surface_.width() != width() || surface_.height() != height()) {
        painting_ = true;
        UserControl_Paint();
        painting_ = false;
    }
    QPainter p(this);
    // Above a device pixel ratio of 1 the pixel image is enlarged; nearest-neighbour keeps its 1-pixel lines crisp.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(0, 0, surface_.image());
}

}  // namespace tervolin::controls
