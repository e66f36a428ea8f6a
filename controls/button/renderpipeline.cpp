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
    l.W = m_clientWidth;
    l.H = m_clientHeight;
    l.clientRect = m_clientRect;
    l.Enabled = isEnabled();
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
    l.captionFocusRect = m_captionFocusRect;
    return l;
}

void vantlebutton::Redraw()
{
    if (m_surface.width() != width() || m_surface.height() != height())
        m_surface.resize(width(), height());
    m_surface.clear();

    m_clientWidth = width();
    m_clientHeight = height();
    m_clientRect = platform::Rect{0, 0, m_clientWidth, m_clientHeight};

    // A checked button shows its down look, except in the styles that draw their own checked face.
    if (m_CheckBoxMode && m_ButtonStyle != ButtonStyles::Standard && m_ButtonStyle != ButtonStyles::Silver
        && m_ButtonStyle != ButtonStyles::ToolbarBlue && m_Value)
        ButtonState = ButtonStates::StateDown;

    if (const StylePainter painter = StylePainterRegistry::find(m_ButtonStyle)) {
        PainterRequests requests;
        painter(m_surface, look(), requests);
        if (requests.foreColor && *requests.foreColor != m_ForeColor) {
            m_ForeColor = *requests.foreColor;
            Q_EMIT ForeColorChanged(m_ForeColor);
        }
        if (requests.surfaceBackground)
            m_surface.setBackgroundColour(TranslateColor(*requests.surfaceBackground));
        if (requests.updateRegion)
            UpdateRegion();
    }

    DrawCaptionAndPicture();

    m_hasImage = true;
    if (!m_painting)
        update();
}

void vantlebutton::UpdateRegion()
{
    const int ellipse = outlineEllipse(m_ButtonStyle);
    // The rounded outline is one pixel larger than the client area to the right and bottom, so its right
    // and bottom corners are cut slightly less than the top and left ones.
    m_region = ellipse > 0 ? platform::Region::roundRect(platform::Rect{0, 0, m_clientWidth + 1, m_clientHeight + 1}, ellipse, ellipse)
                          : platform::Region::rectangle(platform::Rect{0, 0, width(), height()});
    m_region.applyTo(*this);
}

void vantlebutton::SetAccessKey()
{
    m_accessKey = accessKeyOf(m_Caption);
    registerAccessKey();
}

void vantlebutton::drawPicture(const Picture& p, int x, int y, int w, int h)
{
    if (p.kind() == Picture::Kind::Icon)
        m_surface.drawIcon(x, y, w, h, p.image());
    else if (p.kind() == Picture::Kind::Bitmap) {
        if (m_UseMaskColor)
            m_surface.drawBitmapTransparent(x, y, w, h, p.image(), TranslateColor(m_MaskColor));
        else
            m_surface.drawBitmap(x, y, w, h, p.image());
    }
}

void vantlebutton::DrawCaptionAndPicture()
{
    m_clientWidth = width();
    m_clientHeight = height();
    const QSize text = m_surface.measureText(m_Caption);

    const Picture none;
    const Picture& main = m_Picture;
    pictureSizeFor(m_PictureSize, main.isNone() ? 0 : ownPixels(main.himetricWidth()),
                   main.isNone() ? 0 : ownPixels(main.himetricHeight()), m_pictureWidth, m_pictureHeight);

    // The hot/down picture must be of the same kind as the normal one.
    const Picture& hover = m_PictureHover.kind() != main.kind() ? main : m_PictureHover;

    CaptionLayoutInput in;
    in.W = m_clientWidth;
    in.H = m_clientHeight;
    in.tw = text.width();
    in.th = text.height();
    in.pw = m_pictureWidth;
    in.ph = m_pictureHeight;
    in.hasPicture = !main.isNone();
    in.pictureAlign = m_PictureAlign;
    in.captionAlign = m_CaptionAlign;
    in.hasAccessKey = !m_accessKey.isNull();
    in.style = m_ButtonStyle;
    in.state = ButtonState;
    const CaptionLayout out = layOutCaptionAndPicture(in);
    m_pictureX = out.px;
    m_pictureY = out.py;
    m_pictureWidth = out.pw;
    m_pictureHeight = out.ph;
    m_captionRect = out.captionRect;
    if (out.captionFocusRect)
        m_captionFocusRect = *out.captionFocusRect;

    if (isEnabled()) {
        const Picture* stateImage = &none;
        if (ButtonState == ButtonStates::StateNormal)
            stateImage = &main;
        else if (ButtonState == ButtonStates::StateHot || ButtonState == ButtonStates::StateDown)
            stateImage = m_PictureHover.isNone() ? &main : &hover;
        const Picture* checkedImage = m_CheckBoxMode && m_Value ? (m_PictureHover.isNone() ? &main : &hover) : nullptr;
        // A checked bitmap replaces the state image; a checked icon is drawn over it.
        if (checkedImage && checkedImage->kind() == Picture::Kind::Bitmap) {
            drawPicture(*checkedImage, m_pictureX, m_pictureY, m_pictureWidth, m_pictureHeight);
        } else {
            if (isDrawable(*stateImage))
                drawPicture(*stateImage, m_pictureX, m_pictureY, m_pictureWidth, m_pictureHeight);
            if (checkedImage && checkedImage->kind() == Picture::Kind::Icon)
                drawPicture(*checkedImage, m_pictureX, m_pictureY, m_pictureWidth, m_pictureHeight);
        }
    } else {
        DrawDisabledPicture(m_surface, main, m_pictureX, m_pictureY, m_pictureWidth, m_pictureHeight);
    }

    const ColorRef colour = isEnabled() ? TranslateColor(m_ForeColor) : TranslateColor(platform::systemColour(17));
    // Outside the wide-character path the caption goes through the local 8-bit code page first.
    const QString shown = IsNT ? m_Caption : QString::fromLocal8Bit(m_Caption.toLocal8Bit());
    m_surface.drawText(m_captionRect, shown, colour, platform::TextOptions{true, true});
}

void vantlebutton::paintEvent(QPaintEvent* event)
{
    (void)event;
    // Show the image of the last redraw; draw one first when there is none for this size yet.
    if (!m_hasImage || m_surface.width() != width() || m_surface.height() != height()) {
        m_painting = true;
        UserControl_Paint();
        m_painting = false;
    }
    QPainter p(this);
    // Above a device pixel ratio of 1 the pixel image is enlarged; nearest-neighbour keeps its 1-pixel lines crisp.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(0, 0, m_surface.image());
}

}  // namespace tervolin::controls
