#include "controls/progressbar/progressbar.h"

#include <functional>
#include <tuple>
#include <vector>

#include <QMetaClassInfo>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QVariantMap>

#include "controls/progressbar/accessibleprogressbar.h"
#include "controls/propertychange.h"
#include "platform/storedobjects.h"

namespace tervolin::controls {

using platform::PropertyStore;
using progressbar::numberOf;

namespace {

// Conversions of a stored value to a property's type; nothing when it cannot be converted (the key is skipped).
std::optional<int> storedInt(const QVariant& v)
{
    bool ok = false;
    long long n = 0;
    if (v.typeId() == QMetaType::QString)
        n = v.toString().trimmed().toLongLong(&ok);
    else if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1 : 0;
    else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        ok = d == static_cast<double>(static_cast<long long>(d));
        n = static_cast<long long>(d);
    } else if (v.isValid() && v.canConvert<qlonglong>())
        n = v.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    // Colours may be stored as unsigned 32-bit values; they keep their bits.
    if (n < -2147483648LL || n > 4294967295LL)
        return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(n)));
}

std::optional<bool> storedBool(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (const std::optional<int> n = storedInt(v))
        return *n != 0;
    return std::nullopt;
}

// The argument type of a let.
template <typename Let>
struct LetArgumentOf;
template <typename T>
struct LetArgumentOf<void (ProgressBar::*)(T)>
{
    using type = T;
};
template <typename Let>
using LetArgument = typename LetArgumentOf<Let>::type;

std::optional<QString> storedText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    if (const std::optional<int> n = storedInt(v))
        return QString::number(*n);
    return std::nullopt;
}

}  // namespace

ProgressBar::ProgressBar(QWidget* parent)
    : UserControl(parent)
{
    connectAccessibility(*this);
}

ProgressBar::~ProgressBar() { terminate(); }

QString ProgressBar::helpString(const char* property)
{
    const QMetaObject& mo = staticMetaObject;
    const int i = mo.indexOfClassInfo((QByteArray("help:") + property).constData());
    return i < 0 ? QString() : QString::fromLatin1(mo.classInfo(i).value());
}

template <typename... Args>
void ProgressBar::changed(void (ProgressBar::*signal)(Args...), std::type_identity_t<Args>... values)
{
    announce(*this, signal, values...);
    DrawProgressBar();
}

template <typename T>
void ProgressBar::let(T progressbar::ProgressBarFields::*field, T value, void (ProgressBar::*signal)(T))
{
    m_f.*field = value;
    changed(signal, value);
}

void ProgressBar::setValue(int v)
{
    if (v > m_f.Max)
        v = m_f.Max;
    if (v < m_f.Min)
        v = m_f.Min;
    let(&progressbar::ProgressBarFields::Value, v, &ProgressBar::ValueChanged);
}

void ProgressBar::setMax(int v)
{
    if (v < 1)
        v = 1;
    if (v <= m_f.Min)
        v = m_f.Min + 1;
    m_f.Max = v;
    if (m_f.Value > m_f.Max)
        setValue(m_f.Max);
    changed(&ProgressBar::MaxChanged, v);
}

void ProgressBar::setMin(int v)
{
    if (v >= m_f.Max)
        v = m_f.Max - 1;
    if (v < 0)
        v = 0;
    m_f.Min = v;
    if (m_f.Value < m_f.Min)
        setValue(m_f.Min);
    changed(&ProgressBar::MinChanged, v);
}

void ProgressBar::setRoundedValue(int v) { let(&progressbar::ProgressBarFields::RoundedValue, v, &ProgressBar::RoundedValueChanged); }

void ProgressBar::letEnabled(bool on)
{
    {
        const QScopedValueRollback<bool> inLet(m_inEnabledLet, true);
        QWidget::setEnabled(on);
    }
    m_announcedEnabled = Enabled();
    changed(&ProgressBar::EnabledChanged, m_announcedEnabled);
}

void ProgressBar::changeEvent(QEvent* event)
{
    UserControl::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || m_inEnabledLet)
        return;
    // The drawn state follows ancestors too; only a change of the bar's own state is a property change.
    if (Enabled() != m_announcedEnabled) {
        m_announcedEnabled = Enabled();
        announce(*this, &ProgressBar::EnabledChanged, m_announcedEnabled);
    }
    DrawProgressBar();
}

void ProgressBar::setTheme(ThemeValue v) { let(&progressbar::ProgressBarFields::Theme, v, &ProgressBar::ThemeChanged); }

void ProgressBar::setTextStyle(TextStyleValue v)
{
    let(&progressbar::ProgressBarFields::TextStyle, v, &ProgressBar::TextStyleChanged);
}

void ProgressBar::setOrientations(OrientationValue v)
{
    let(&progressbar::ProgressBarFields::Orientations, v, &ProgressBar::OrientationsChanged);
}

void ProgressBar::setTextAlignment(TextAlignmentValue v)
{
    let(&progressbar::ProgressBarFields::TextAlignment, v, &ProgressBar::TextAlignmentChanged);
}

void ProgressBar::setText(const QString& text)
{
    m_f.Text = text;
    changed(&ProgressBar::TextChanged, m_f.Text);
}

void ProgressBar::setTextEffectColor(ColorRef c)
{
    let(&progressbar::ProgressBarFields::TextEffectColor, c, &ProgressBar::TextEffectColorChanged);
}

void ProgressBar::setTextEffect(TextEffectValue v)
{
    let(&progressbar::ProgressBarFields::TextEffect, v, &ProgressBar::TextEffectChanged);
}

void ProgressBar::setTextForeColor(ColorRef c)
{
    let(&progressbar::ProgressBarFields::TextForeColor, c, &ProgressBar::TextForeColorChanged);
}

void ProgressBar::setTextFont(std::shared_ptr<platform::Font> font)
{
    m_textFont = std::move(font);
    if (m_textFont)
        m_surface.setFont(m_textFont->toQFont());
    changed(&ProgressBar::TextFontChanged, m_textFont);
}

void ProgressBar::setPBSCustomeColor1(ColorRef c)
{
    let(&progressbar::ProgressBarFields::PBSCustomeColor1, c, &ProgressBar::PBSCustomeColor1Changed);
}

void ProgressBar::setPBSCustomeColor2(ColorRef c)
{
    let(&progressbar::ProgressBarFields::PBSCustomeColor2, c, &ProgressBar::PBSCustomeColor2Changed);
}

void ProgressBar::GradientTwoColour(platform::Surface& hDC, int Direction, ColorRef StartColor, ColorRef EndColor, int Left,
                                    int Top, int Width, int Height)
{
    progressbar::GradientTwoColour(hDC, static_cast<platform::GradientDirection>(Direction), StartColor, EndColor, Left, Top,
                                   Width, Height);
}

std::optional<progressbar::DrawError> ProgressBar::DrawGradientFourColour(platform::Surface& ObjectHDC, int Left, int Top,
                                                                          int Width, int Height, ColorRef TopLeftColour,
                                                                          ColorRef TopRightColour, ColorRef BottomLeftColour,
                                                                          ColorRef BottomRightColour)
{
    return progressbar::DrawGradientFourColour(ObjectHDC, Left, Top, Width, Height, TopLeftColour, TopRightColour,
                                               BottomLeftColour, BottomRightColour);
}

void ProgressBar::DrawProgressBar()
{
    if (m_surface.width() != width() || m_surface.height() != height())
        m_surface.resize(width(), height());
    // The font is shared: whatever its holder changed since the set shows from this redraw on.
    if (m_textFont)
        m_surface.setFont(m_textFont->toQFont());
    m_f.Enabled = isEnabled();
    m_lastRedraw = progressbar::DrawProgressBar(m_surface, m_f, m_themeColours);
    if (m_lastRedraw.windowRegion) {
        m_region = *m_lastRedraw.windowRegion;
        m_region.applyTo(*this);
    }
    update();
}

void ProgressBar::UserControl_Resize() { DrawProgressBar(); }

void ProgressBar::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    // Above a device pixel ratio of 1 the pixel image is enlarged; nearest-neighbour keeps its 1-pixel lines crisp.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(event->rect(), m_surface.image(), event->rect());
}

void ProgressBar::UserControl_InitProperties()
{
    setMax(100);
    setMin(0);
    setValue(50);
    setRoundedValue(5);
    letEnabled(true);
    setTheme(ThemeValue::Gold);
    setTextForeColor(0);
    setText(QStringLiteral("Z42K ProgressBar"));
    setTextAlignment(TextAlignmentValue::MiddleCenter);
    setTextEffect(TextEffectValue::DropShadow);
    setTextEffectColor(platform::rgb(255, 255, 255));
    setTextStyle(TextStyleValue::CustomText);
    setOrientations(OrientationValue::Horizontal);
    setTextFont(std::make_shared<platform::Font>(Ambient().Font));
}

void ProgressBar::UserControl_ReadProperties(const PropertyStore& store)
{
    const platform::AmbientProperties ambient = Ambient();
    const QVariant ambientFont = platform::fontToStored(ambient.Font);
    struct Key
    {
        const char* name;
        QVariant readDefault;
        std::function<bool(const QVariant&)> apply;  // false: the stored value does not convert
    };
    // A stored number through a let taking an int, a colour or an enumeration.
    const auto asInt = [this](auto setter) {
        return [setter, this](const QVariant& v) {
            const std::optional<int> n = storedInt(v);
            if (n)
                (this->*setter)(static_cast<LetArgument<decltype(setter)>>(*n));
            return n.has_value();
        };
    };
    const std::vector<Key> keys{
        {"Max", 100, asInt(&ProgressBar::setMax)},
        {"Min", 0, asInt(&ProgressBar::setMin)},
        {"Value", 50, asInt(&ProgressBar::setValue)},
        {"RoundedValue", 5, asInt(&ProgressBar::setRoundedValue)},
        {"Enabled", true,
         [this](const QVariant& v) {
             const std::optional<bool> b = storedBool(v);
             if (b)
                 letEnabled(*b);
             return b.has_value();
         }},
        {"Theme", 1, asInt(&ProgressBar::setTheme)},
        {"TextStyle", 1, asInt(&ProgressBar::setTextStyle)},
        {"Orientations", 1, asInt(&ProgressBar::setOrientations)},
        {"Text", ambient.DisplayName,
         [this](const QVariant& v) {
             const std::optional<QString> s = storedText(v);
             if (s)
                 setText(*s);
             return s.has_value();
         }},
        {"TextEffectColor", platform::rgb(200, 200, 200), asInt(&ProgressBar::setTextEffectColor)},
        {"TextEffect", 1, asInt(&ProgressBar::setTextEffect)},
        {"TextAlignment", 5, asInt(&ProgressBar::setTextAlignment)},
        {"TextFont", ambientFont,
         [this](const QVariant& v) {
             const std::optional<platform::FontDescription> d = platform::fontFromStored(v);
             if (d)
                 setTextFont(std::make_shared<platform::Font>(*d));
             return d.has_value();
         }},
        {"TextForeColor", 0, asInt(&ProgressBar::setTextForeColor)},
        {"PBSCustomeColor2", 0, asInt(&ProgressBar::setPBSCustomeColor2)},
        {"PBSCustomeColor1", 0, asInt(&ProgressBar::setPBSCustomeColor1)},
    };
    // A key that cannot be read or applied is skipped; its property keeps its value and loading goes on.
    for (const Key& key : keys) {
        try {
            key.apply(store.ReadProperty(QString::fromLatin1(key.name), key.readDefault));
        } catch (const std::exception&) {
        }
    }
}

void ProgressBar::UserControl_WriteProperties(PropertyStore& store)
{
    const QVariant font = m_textFont ? platform::fontToStored(m_textFont->description()) : QVariant();
    const std::vector<std::tuple<const char*, QVariant, QVariant>> keys{
        {"Orientations", numberOf(m_f.Orientations), 1},
        {"Max", m_f.Max, 100},
        {"Min", m_f.Min, 0},
        {"Value", m_f.Value, 50},
        {"RoundedValue", m_f.RoundedValue, 5},
        {"Enabled", Enabled(), true},
        {"Theme", numberOf(m_f.Theme), 1},
        {"TextStyle", numberOf(m_f.TextStyle), 1},
        {"TextFont", font, platform::fontToStored(Ambient().Font)},
        {"TextForeColor", m_f.TextForeColor, 0},
        {"TextAlignment", numberOf(m_f.TextAlignment), 5},
        {"Text", m_f.Text, QString()},
        {"TextEffectColor", m_f.TextEffectColor, platform::rgb(200, 200, 200)},
        {"TextEffect", numberOf(m_f.TextEffect), 1},
        {"PBSCustomeColor2", m_f.PBSCustomeColor2, 0},
        {"PBSCustomeColor1", m_f.PBSCustomeColor1, 0},
    };
    // Unlike loading, saving stops at the first key that fails: the exception ends the loop and reaches the
    // container, with the keys before it already written.
    for (const auto& [key, value, writeDefault] : keys)
        store.WriteProperty(QLatin1String(key), value, writeDefault);
}

}  // namespace tervolin::controls
