#include "controls/button/vantlebutton.h"

#include "controls/button/accesskey.h"
#include "controls/button/primitives.h"
#include "platform/inputservices.h"
#include "platform/storedobjects.h"

#include <QCursor>
#include <QPixmap>

#include <limits>

namespace tervolin::controls {

using platform::PropertyStore;

namespace {

// Read and write defaults of the stored properties.
constexpr std::int32_t StoredButtonStyle = ButtonStyles::Flat;
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
    surface_.setBackgroundColour(buttonFace());
    applySurfaceFont();
}

vantlebutton::~vantlebutton()
{
    terminate();
    if (fontConnection_)
        disconnect(fontConnection_);
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
    m_Enabled = true;
    QWidget::setEnabled(true);
    m_ButtonStyle = ButtonStyles::Standard;
    m_Caption = Ambient().DisplayName;
    surfaceFont_.name = QStringLiteral("Tahoma");
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

    m_ButtonStyle = store.readInt(u"ButtonStyle", StoredButtonStyle);
    m_ShowFocusRect = store.readBool(u"ShowFocusRect", false);

    const QVariant storedFont = store.ReadProperty(u"Font", platform::fontToStored(ambient.Font));
    attachFont(std::make_shared<platform::Font>(platform::fontFromStored(storedFont).value_or(ambient.Font)));
    surfaceFont_ = mFont->description();
    applySurfaceFont();

    m_BackColor = store.readInt(u"BackColor", buttonFace());
    m_Enabled = store.readBool(u"Enabled", true);
    m_Caption = store.readString(u"Caption", CaptionReadDefault);
    m_Value = store.readBool(u"Value", false);

    // A pointer code that does not fit 16 bits cannot come from a save of ours; it is ignored rather than
    // failing the whole load.
    const std::int32_t pointer = store.readInt(u"MousePointer", 0);
    if (pointer >= std::numeric_limits<std::int16_t>::min() && pointer <= std::numeric_limits<std::int16_t>::max())
        surfaceMousePointer_ = static_cast<std::int16_t>(pointer);
    m_HandPointer = store.readBool(u"HandPointer", false);
    surfaceMouseIcon_ = platform::pictureFromStored(store.ReadProperty(u"MouseIcon"));
    applyPointer();

    m_Picture = platform::pictureFromStored(store.ReadProperty(u"Picture"));
    m_PictureHover = platform::pictureFromStored(store.ReadProperty(u"PictureHover"));
    m_PictureSize = store.readInt(u"PictureSize", PictureSizes::SizeOriginal);
    m_MaskColor = store.readInt(u"MaskColor", StoredMaskColor);
    m_UseMaskColor = store.readBool(u"UseMaskCOlor", false);
    m_CheckBoxMode = store.readBool(u"CheckBoxMode", false);
    m_PictureAlign = store.readInt(u"PictureAlign", PictureAlignments::PictureLeftOfCaption);
    m_CaptionAlign = store.readInt(u"CaptionAlign", CaptionAlignments::AlignCenter);
    m_ForeColor = store.readInt(u"ForeColor", buttonText());

    surfaceForeColor_ = m_ForeColor;
    QWidget::setEnabled(m_Enabled);

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

    store.WriteProperty(QStringLiteral("ButtonStyle"), m_ButtonStyle, StoredButtonStyle);
    store.WriteProperty(QStringLiteral("ShowFocusRect"), m_ShowFocusRect, false);
    store.WriteProperty(QStringLiteral("Enabled"), m_Enabled, true);
    // A button that never had a font set keeps none: it loads with the ambient font.
    store.WriteProperty(QStringLiteral("Font"), mFont ? platform::fontToStored(mFont->description()) : ambientFont, ambientFont);
    store.WriteProperty(QStringLiteral("BackColor"), m_BackColor, buttonFace());
    store.WriteProperty(QStringLiteral("Caption"), m_Caption, CaptionWriteDefault);
    store.WriteProperty(QStringLiteral("ForeColor"), m_ForeColor, buttonText());
    store.WriteProperty(QStringLiteral("CheckBoxMode"), m_CheckBoxMode, false);
    store.WriteProperty(QStringLiteral("Value"), m_Value, false);
    store.WriteProperty(QStringLiteral("MousePointer"), static_cast<std::int32_t>(surfaceMousePointer_), 0);
    store.WriteProperty(QStringLiteral("HandPointer"), m_HandPointer, false);
    store.WriteProperty(QStringLiteral("MouseIcon"), platform::pictureToStored(surfaceMouseIcon_), QVariant());
    store.WriteProperty(QStringLiteral("Picture"), platform::pictureToStored(m_Picture), QVariant());
    store.WriteProperty(QStringLiteral("PictureHover"), platform::pictureToStored(m_PictureHover), QVariant());
    store.WriteProperty(QStringLiteral("PictureAlign"), m_PictureAlign, PictureAlignments::PictureLeftOfCaption);
    store.WriteProperty(QStringLiteral("pictureSize"), m_PictureSize, PictureSizes::SizeOriginal);
    store.WriteProperty(QStringLiteral("UseMaskCOlor"), m_UseMaskColor, false);
    store.WriteProperty(QStringLiteral("MaskColor"), m_MaskColor, StoredMaskColor);
    store.WriteProperty(QStringLiteral("CaptionAlign"), m_CaptionAlign, CaptionAlignments::AlignCenter);
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
    if (mFont) {
        surfaceFont_ = mFont->description();
        applySurfaceFont();
    }
    update();
    Redraw();
    PropertyChanged(QStringLiteral("Font"));
}

// --- Properties ---------------------------------------------------------------------------------------------------

void vantlebutton::setButtonStyle(std::int32_t style)
{
    m_ButtonStyle = style;
    ApplyStyleDefaults();
    UpdateRegion();
    Redraw();
    PropertyChanged(QStringLiteral("ButtonStyle"));
}

void vantlebutton::setShowFocusRect(bool on)
{
    m_ShowFocusRect = on;
    PropertyChanged(QStringLiteral("ShowFocusRect"));
}

void vantlebutton::setFont(std::shared_ptr<platform::Font> font)
{
    attachFont(std::move(font));
    update();
    Redraw();
    PropertyChanged(QStringLiteral("Font"));
    mFont_FontChanged(QString());
}

void vantlebutton::setBackColor(ColorRef colour)
{
    m_BackColor = colour;
    Redraw();
    PropertyChanged(QStringLiteral("BackColor"));
}

void vantlebutton::setEnabled(bool on)
{
    m_Enabled = on;
    QWidget::setEnabled(on);
    Redraw();
    PropertyChanged(QStringLiteral("Enabled"));
}

void vantlebutton::setCaption(const QString& caption)
{
    m_Caption = caption;
    SetAccessKey();
    Redraw();
    PropertyChanged(QStringLiteral("Caption"));
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
    PropertyChanged(QStringLiteral("Value"));
}

void vantlebutton::setMousePointer(std::int32_t code)
{
    if (code < std::numeric_limits<std::int16_t>::min() || code > std::numeric_limits<std::int16_t>::max())
        throw platform::RuntimeError(6, "Overflow");
    surfaceMousePointer_ = static_cast<std::int16_t>(code);
    applyPointer();
    PropertyChanged(QStringLiteral("MousePointer"));
}

void vantlebutton::setHandPointer(bool on)
{
    m_HandPointer = on;
    PropertyChanged(QStringLiteral("HandPointer"));
}

void vantlebutton::setMouseIcon(const Picture& picture)
{
    surfaceMouseIcon_ = picture;
    surfaceMousePointer_ = picture.isNone() ? 0 : 99;
    applyPointer();
    PropertyChanged(QStringLiteral("MouseIcon"));
}

void vantlebutton::setPicture(const Picture& picture)
{
    m_Picture = picture;
    if (picture.isNone()) {
        UserControl_Resize();
        return;
    }
    Redraw();
    PropertyChanged(QStringLiteral("Picture"));
}

void vantlebutton::setPictureHover(const Picture& picture)
{
    if (m_Picture.isNone()) {
        m_Picture = picture;
        PropertyChanged(QStringLiteral("Picture"));
    }
    m_PictureHover = picture;
    if (picture.isNone()) {
        UserControl_Resize();
        return;
    }
    Redraw();
    PropertyChanged(QStringLiteral("PictureHover"));
}

void vantlebutton::setPictureSize(std::int32_t size)
{
    m_PictureSize = size;
    Redraw();
    PropertyChanged(QStringLiteral("PictureSize"));
}

void vantlebutton::setMaskColor(ColorRef colour)
{
    m_MaskColor = colour;
    Redraw();
    PropertyChanged(QStringLiteral("MaskColor"));
}

void vantlebutton::setUseMaskColor(bool on)
{
    m_UseMaskColor = on;
    if (!m_Picture.isNone())
        Redraw();
    PropertyChanged(QStringLiteral("UseMaskColor"));
}

void vantlebutton::setCheckBoxMode(bool on)
{
    m_CheckBoxMode = on;
    if (!on)
        ButtonState = ButtonStates::StateNormal;
    Redraw();
    PropertyChanged(QStringLiteral("Value"));
    PropertyChanged(QStringLiteral("CheckBoxMode"));
}

void vantlebutton::setPictureAlign(std::int32_t align)
{
    m_PictureAlign = align;
    if (!m_Picture.isNone())
        Redraw();
    PropertyChanged(QStringLiteral("PictureAlign"));
}

void vantlebutton::setCaptionAlign(std::int32_t align)
{
    m_CaptionAlign = align;
    Redraw();
    PropertyChanged(QStringLiteral("CaptionAlign"));
}

void vantlebutton::setForeColor(ColorRef colour)
{
    m_ForeColor = colour;
    surfaceForeColor_ = colour;
    UserControl_Resize();
    PropertyChanged(QStringLiteral("ForeColor"));
}

void vantlebutton::About()
{
    static platform::QtMessageBoxService dialog;
    platform::MessageBoxService* service = messageBox_ ? messageBox_ : &dialog;
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
        m_BackColor = TranslateColor(platform::systemColour(15));
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
        m_ForeColor = TranslateColor(platform::systemColour(18));
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
    if (fontConnection_)
        disconnect(fontConnection_);
    mFont = std::move(font);
    if (mFont)
        fontConnection_ = connect(mFont.get(), &platform::Font::FontChanged, this, &vantlebutton::mFont_FontChanged);
}

void vantlebutton::applySurfaceFont() { surface_.setFont(surfaceFont_.toQFont()); }

void vantlebutton::applyPointer()
{
    if (surfaceMousePointer_ == 99 && !surfaceMouseIcon_.isNone() && !surfaceMouseIcon_.image().isNull())
        setCursor(QCursor(QPixmap::fromImage(surfaceMouseIcon_.image())));
    else if (surfaceMousePointer_ == 0)
        unsetCursor();
    else
        setCursor(cursorFor(surfaceMousePointer_));
}

void vantlebutton::readClientSize()
{
    W_ = width();
    H_ = height();
}

}  // namespace tervolin::controls
