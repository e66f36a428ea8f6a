#include "controls/button/vantlebutton.h"

#include "controls/button/accessiblebutton.h"
#include "controls/button/accesskey.h"
#include "controls/button/primitives.h"
#include "controls/propertychange.h"
#include "platform/inputservices.h"
#include "platform/storedobjects.h"

#include <QCursor>
#include <QPixmap>
#include <QScopedValueRollback>

#include <limits>

namespace tervolin::controls {

using platform::PropertyStore;

namespace {

// Read and write defaults of the stored properties.
constexpr ButtonStyles StoredButtonStyle = ButtonStyles::Flat;
constexpr ColorRef StoredMaskColor = 0xE0E0E0;
const QString CaptionReadDefault = QStringLiteral("vantlebutton");
const QString CaptionWriteDefault = QStringLiteral("vantlebutton1");

ColorRef buttonFace() { return TranslateColor(platform::systemColour(15)); }
ColorRef buttonText() { return TranslateColor(platform::systemColour(18)); }

Qt::CursorShape cursorFor(std::int16_t code)
{
    switch (code) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 5: case 15: return Qt::SizeAllCursor;
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 14: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

vantlebutton::vantlebutton(QWidget* parent) : UserControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // every move reaches the button, not only those with a button held
    platform::followPointer();
    m_surface.setBackgroundColour(buttonFace());
    applySurfaceFont();
    connectAccessibility(*this);
}

vantlebutton::~vantlebutton()
{
    terminate();
    if (m_fontConnection)
        disconnect(m_fontConnection);
}

// --- Lifecycle --------------------------------------------------------------------------------------------------

void vantlebutton::UserControl_Initialize()
{
    // Every platform we run on draws text with wide characters.
    IsNT = true;
}

void vantlebutton::UserControl_InitProperties()
{
    m_ShowFocusRect = true;
    m_announcedEnabled = true;
    QWidget::setEnabled(true);
    m_ButtonStyle = ButtonStyles::Standard;
    m_Caption = Ambient().DisplayName;
    m_surfaceFont.name = QStringLiteral("Tahoma");
    applySurfaceFont();
    m_PictureAlign = PictureAlignments::PictureLeftOfCaption;
    m_CaptionAlign = CaptionAlignments::AlignCenter;
    m_UseMaskColor = false;
    m_MaskColor = StoredMaskColor;
    readClientSize();
    ApplyStyleDefaults();
}

void vantlebutton::UserControl_ReadProperties(const PropertyStore& store)
{
    const platform::AmbientProperties ambient = Ambient();

    m_ButtonStyle = static_cast<ButtonStyles>(store.readInt(u"ButtonStyle", numberOf(StoredButtonStyle)));
    m_ShowFocusRect = store.readBool(u"ShowFocusRect", false);

    const QVariant storedFont = store.ReadProperty(u"Font", platform::fontToStored(ambient.Font));
    attachFont(std::make_shared<platform::Font>(platform::fontFromStored(storedFont).value_or(ambient.Font)));
    m_surfaceFont = m_Font->description();
    applySurfaceFont();

    m_BackColor = store.readInt(u"BackColor", buttonFace());
    const bool enabled = store.readBool(u"Enabled", true);
    m_Caption = store.readString(u"Caption", CaptionReadDefault);
    m_Value = store.readBool(u"Value", false);

    // A pointer code that does not fit 16 bits cannot come from a save of ours; it is ignored rather than
    // failing the whole load.
    const std::int32_t pointer = store.readInt(u"MousePointer", 0);
    if (pointer >= std::numeric_limits<std::int16_t>::min() && pointer <= std::numeric_limits<std::int16_t>::max())
        m_surfaceMousePointer = static_cast<std::int16_t>(pointer);
    m_HandPointer = store.readBool(u"HandPointer", false);
    m_surfaceMouseIcon = platform::pictureFromStored(store.ReadProperty(u"MouseIcon"));
    applyPointer();

    m_Picture = platform::pictureFromStored(store.ReadProperty(u"Picture"));
    m_PictureHover = platform::pictureFromStored(store.ReadProperty(u"PictureHover"));
    m_PictureSize = static_cast<PictureSizes>(store.readInt(u"PictureSize", numberOf(PictureSizes::SizeOriginal)));
    m_MaskColor = store.readInt(u"MaskColor", StoredMaskColor);
    m_UseMaskColor = store.readBool(u"UseMaskCOlor", false);
    m_CheckBoxMode = store.readBool(u"CheckBoxMode", false);
    m_PictureAlign =
        static_cast<PictureAlignments>(store.readInt(u"PictureAlign", numberOf(PictureAlignments::PictureLeftOfCaption)));
    m_CaptionAlign = static_cast<CaptionAlignments>(store.readInt(u"CaptionAlign", numberOf(CaptionAlignments::AlignCenter)));
    m_ForeColor = store.readInt(u"ForeColor", buttonText());

    m_surfaceForeColor = m_ForeColor;
    {
        const QScopedValueRollback<bool> loading(m_loading, true);
        m_announcedEnabled = enabled;
        QWidget::setEnabled(enabled);
    }

    SetAccessKey();
    readClientSize();
    const QWidget* form = parentWidget() ? parentWidget()->window() : nullptr;
    ParentWindow = platform::handleOf(form);
    UserControl_Resize();

    if (ambient.UserMode)
        installHooks();
}

void vantlebutton::UserControl_WriteProperties(PropertyStore& store)
{
    const platform::AmbientProperties ambient = Ambient();
    const QVariant ambientFont = platform::fontToStored(ambient.Font);

    store.WriteProperty(QStringLiteral("ButtonStyle"), numberOf(m_ButtonStyle), numberOf(StoredButtonStyle));
    store.WriteProperty(QStringLiteral("ShowFocusRect"), m_ShowFocusRect, false);
    store.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
    // A button that never had a font set keeps none: it loads with the ambient font.
    store.WriteProperty(QStringLiteral("Font"), m_Font ? platform::fontToStored(m_Font->description()) : ambientFont, ambientFont);
    store.WriteProperty(QStringLiteral("BackColor"), m_BackColor, buttonFace());
    store.WriteProperty(QStringLiteral("Caption"), m_Caption, CaptionWriteDefault);
    store.WriteProperty(QStringLiteral("ForeColor"), m_ForeColor, buttonText());
    store.WriteProperty(QStringLiteral("CheckBoxMode"), m_CheckBoxMode, false);
    store.WriteProperty(QStringLiteral("Value"), m_Value, false);
    store.WriteProperty(QStringLiteral("MousePointer"), static_cast<std::int32_t>(m_surfaceMousePointer), 0);
    store.WriteProperty(QStringLiteral("HandPointer"), m_HandPointer, false);
    store.WriteProperty(QStringLiteral("MouseIcon"), platform::pictureToStored(m_surfaceMouseIcon), QVariant());
    store.WriteProperty(QStringLiteral("Picture"), platform::pictureToStored(m_Picture), QVariant());
    store.WriteProperty(QStringLiteral("PictureHover"), platform::pictureToStored(m_PictureHover), QVariant());
    store.WriteProperty(QStringLiteral("PictureAlign"), numberOf(m_PictureAlign), numberOf(PictureAlignments::PictureLeftOfCaption));
    store.WriteProperty(QStringLiteral("pictureSize"), numberOf(m_PictureSize), numberOf(PictureSizes::SizeOriginal));
    store.WriteProperty(QStringLiteral("UseMaskCOlor"), m_UseMaskColor, false);
    store.WriteProperty(QStringLiteral("MaskColor"), m_MaskColor, StoredMaskColor);
    store.WriteProperty(QStringLiteral("CaptionAlign"), numberOf(m_CaptionAlign), numberOf(CaptionAlignments::AlignCenter));
}

void vantlebutton::UserControl_Resize()
{
    if (extentHeightTwips() < MinimumExtentTwips)
        setExtentTwips(extentWidthTwips(), MinimumExtentTwips);
    if (extentWidthTwips() < MinimumExtentTwips)
        setExtentTwips(MinimumExtentTwips, extentHeightTwips());
    UpdateRegion();
    Redraw();
}

void vantlebutton::UserControl_Paint() { Redraw(); }

void vantlebutton::UserControl_AmbientChanged(const QString& name)
{
    DisplayAsDefault = Ambient().DisplayAsDefault;
    if (name == QLatin1String("DisplayAsDefault") || name == QLatin1String("BackColor"))
        Redraw();
}

void vantlebutton::UserControl_Terminate()
{
    // The window region belongs to the window; nothing of it is released here.
    if (Ambient().UserMode)
        removeHooks();
}

void vantlebutton::mFont_FontChanged(const QString& PropertyName)
{
    (void)PropertyName;
    if (m_Font) {
        m_surfaceFont = m_Font->description();
        applySurfaceFont();
    }
    update();
    Redraw();
    announce(*this, &vantlebutton::FontChanged, m_Font);
}

void vantlebutton::changeEvent(QEvent* event)
{
    UserControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        enabledStateChanged();
}

void vantlebutton::enabledStateChanged()
{
    if (m_loading)
        return;
    Redraw();
    if (Enabled() != m_announcedEnabled) {
        m_announcedEnabled = Enabled();
        announce(*this, &vantlebutton::EnabledChanged, m_announcedEnabled);
    }
}

// --- Properties ---------------------------------------------------------------------------------------------------

template <typename T>
void vantlebutton::let(T vantlebutton::*member, T value, Redraws redraw, void (vantlebutton::*changed)(T))
{
    this->*member = value;
    if (redraw == Redraws::Always || (redraw == Redraws::WithPicture && !m_Picture.isNone()))
        Redraw();
    announce(*this, changed, value);
}

void vantlebutton::setButtonStyle(ButtonStyles style)
{
    const ColorRef back = m_BackColor, fore = m_ForeColor;
    const bool focusRect = m_ShowFocusRect;
    m_ButtonStyle = style;
    ApplyStyleDefaults();
    UpdateRegion();
    Redraw();
    announce(*this, &vantlebutton::ButtonStyleChanged, m_ButtonStyle);
    // What the style replaced changes too, without a notice to the container of its own.
    if (m_BackColor != back)
        Q_EMIT BackColorChanged(m_BackColor);
    if (m_ForeColor != fore)
        Q_EMIT ForeColorChanged(m_ForeColor);
    if (m_ShowFocusRect != focusRect)
        Q_EMIT ShowFocusRectChanged(m_ShowFocusRect);
}

void vantlebutton::setShowFocusRect(bool on)
{
    let(&vantlebutton::m_ShowFocusRect, on, Redraws::Never, &vantlebutton::ShowFocusRectChanged);
}

void vantlebutton::setFont(std::shared_ptr<platform::Font> font)
{
    attachFont(std::move(font));
    update();
    Redraw();
    announce(*this, &vantlebutton::FontChanged, m_Font);
    mFont_FontChanged(QString());
}

void vantlebutton::setBackColor(ColorRef colour)
{
    let(&vantlebutton::m_BackColor, colour, Redraws::Always, &vantlebutton::BackColorChanged);
}

void vantlebutton::setCaption(const QString& caption)
{
    m_Caption = caption;
    SetAccessKey();
    Redraw();
    announce(*this, &vantlebutton::CaptionChanged, m_Caption);
}

void vantlebutton::setValue(bool on)
{
    if (!m_CheckBoxMode) {
        ButtonState = ButtonStates::StateNormal;
        Redraw();
        return;
    }
    m_Value = on;
    if (!on)
        ButtonState = ButtonStates::StateNormal;
    Redraw();
    announce(*this, &vantlebutton::ValueChanged, on);
}

void vantlebutton::toggleValue()
{
    m_Value = !m_Value;
    Q_EMIT ValueChanged(m_Value);
}

void vantlebutton::setMousePointer(std::int32_t code)
{
    if (code < std::numeric_limits<std::int16_t>::min() || code > std::numeric_limits<std::int16_t>::max())
        throw platform::RuntimeError(6, "Overflow");
    m_surfaceMousePointer = static_cast<std::int16_t>(code);
    applyPointer();
    announce(*this, &vantlebutton::MousePointerChanged, code);
}

void vantlebutton::setHandPointer(bool on)
{
    let(&vantlebutton::m_HandPointer, on, Redraws::Never, &vantlebutton::HandPointerChanged);
}

void vantlebutton::setMouseIcon(const Picture& picture)
{
    const std::int16_t pointer = m_surfaceMousePointer;
    m_surfaceMouseIcon = picture;
    m_surfaceMousePointer = picture.isNone() ? 0 : 99;
    applyPointer();
    announce(*this, &vantlebutton::MouseIconChanged, picture);
    if (m_surfaceMousePointer != pointer)
        Q_EMIT MousePointerChanged(m_surfaceMousePointer);
}

void vantlebutton::setPicture(const Picture& picture)
{
    m_Picture = picture;
    if (picture.isNone()) {
        UserControl_Resize();
        Q_EMIT PictureChanged(m_Picture);  // a cleared picture is not told to the container
        return;
    }
    Redraw();
    announce(*this, &vantlebutton::PictureChanged, picture);
}

void vantlebutton::setPictureHover(const Picture& picture)
{
    if (m_Picture.isNone()) {
        m_Picture = picture;
        announce(*this, &vantlebutton::PictureChanged, m_Picture);
    }
    m_PictureHover = picture;
    if (picture.isNone()) {
        UserControl_Resize();
        Q_EMIT PictureHoverChanged(m_PictureHover);  // a cleared picture is not told to the container
        return;
    }
    Redraw();
    announce(*this, &vantlebutton::PictureHoverChanged, picture);
}

void vantlebutton::setPictureSize(PictureSizes size)
{
    let(&vantlebutton::m_PictureSize, size, Redraws::Always, &vantlebutton::PictureSizeChanged);
}

void vantlebutton::setMaskColor(ColorRef colour)
{
    let(&vantlebutton::m_MaskColor, colour, Redraws::Always, &vantlebutton::MaskColorChanged);
}

void vantlebutton::setUseMaskColor(bool on)
{
    let(&vantlebutton::m_UseMaskColor, on, Redraws::WithPicture, &vantlebutton::UseMaskColorChanged);
}

void vantlebutton::setCheckBoxMode(bool on)
{
    m_CheckBoxMode = on;
    if (!on)
        ButtonState = ButtonStates::StateNormal;
    Redraw();
    // Value is told as changed too: whether it shows depends on the mode.
    announce(*this, &vantlebutton::ValueChanged, m_Value);
    announce(*this, &vantlebutton::CheckBoxModeChanged, on);
}

void vantlebutton::setPictureAlign(PictureAlignments align)
{
    let(&vantlebutton::m_PictureAlign, align, Redraws::WithPicture, &vantlebutton::PictureAlignChanged);
}

void vantlebutton::setCaptionAlign(CaptionAlignments align)
{
    let(&vantlebutton::m_CaptionAlign, align, Redraws::Always, &vantlebutton::CaptionAlignChanged);
}

void vantlebutton::setForeColor(ColorRef colour)
{
    m_ForeColor = colour;
    m_surfaceForeColor = colour;
    UserControl_Resize();
    announce(*this, &vantlebutton::ForeColorChanged, colour);
}

void vantlebutton::About()
{
    static platform::QtMessageBoxService dialog;
    platform::MessageBoxService* service = m_messageBox ? m_messageBox : &dialog;
    service->show(this,
                  QStringLiteral("VantleButton\nA Multistyle Button Control\n\n"
                                 "Written for Tervolin as its own owner-drawn button."),
                  QStringLiteral("About"), platform::MessageBoxIcon::Information);
}

void vantlebutton::ApplyStyleDefaults()
{
    switch (m_ButtonStyle) {
    case ButtonStyles::Standard:
    case ButtonStyles::Flat:
    case ButtonStyles::Silver:
    case ButtonStyles::PaleBlue:
    case ButtonStyles::ToolbarBlue:
    case ButtonStyles::FlatHover:
    case ButtonStyles::FlatHoverThin:
        m_BackColor = buttonFace();
        break;
    case ButtonStyles::RoundedBlue: m_BackColor = 0xE7EBEC; break;
    case ButtonStyles::Glossy: m_BackColor = ShiftColor(0xD4D4D4, 0.06f); break;
    case ButtonStyles::Shadow:
        m_BackColor = 0xAA6D00;
        m_ForeColor = 0xFFFFFF;
        break;
    case ButtonStyles::Shaded: m_BackColor = 0xE1D6D5; break;
    case ButtonStyles::ToolbarOrange: m_BackColor = 0xFFD1AD; break;
    case ButtonStyles::RoundedShaded: m_BackColor = 0xFFD1AD; break;
    case ButtonStyles::WarmGradient: m_BackColor = 0xFCE1CA; break;
    case ButtonStyles::RoundGlass: m_BackColor = 0xD0D0D0; break;
    case ButtonStyles::SideGradient: m_BackColor = 0xE6CAA7; break;
    default: break;  // unknown styles keep their colour
    }
    if (m_ButtonStyle != ButtonStyles::Shadow)
        m_ForeColor = buttonText();
    switch (m_ButtonStyle) {
    case ButtonStyles::Standard:
    case ButtonStyles::Flat:
    case ButtonStyles::Shadow:
    case ButtonStyles::Shaded:
    case ButtonStyles::SideGradient:
        m_ShowFocusRect = true;
        break;
    default:
        m_ShowFocusRect = false;
        break;
    }
}

// --- Helpers ----------------------------------------------------------------------------------------------------

void vantlebutton::attachFont(std::shared_ptr<platform::Font> font)
{
    if (m_fontConnection)
        disconnect(m_fontConnection);
    m_Font = std::move(font);
    if (m_Font)
        m_fontConnection = connect(m_Font.get(), &platform::Font::FontChanged, this, &vantlebutton::mFont_FontChanged);
}

void vantlebutton::applySurfaceFont() { m_surface.setFont(m_surfaceFont.toQFont()); }

void vantlebutton::applyPointer()
{
    if (m_surfaceMousePointer == 99 && !m_surfaceMouseIcon.isNone() && !m_surfaceMouseIcon.image().isNull())
        setCursor(QCursor(QPixmap::fromImage(m_surfaceMouseIcon.image())));
    else if (m_surfaceMousePointer == 0)
        unsetCursor();
    else
        setCursor(cursorFor(m_surfaceMousePointer));
}

void vantlebutton::readClientSize()
{
    m_clientWidth = width();
    m_clientHeight = height();
}

}  // namespace tervolin::controls
