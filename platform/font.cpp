#include "platform/font.h"

#include <algorithm>
#include <array>

namespace tervolin::platform {

namespace {

struct FamilyMapping
{
    const char16_t* windowsName;
    const char* family;
};

// Windows UI fonts and the installed families that stand in for them (Song, Kai and the Latin UI face).
constexpr std::array<FamilyMapping, 9> kFamilies{{
    {u"宋体", "AR PL UMing CN"},
    {u"SimSun", "AR PL UMing CN"},
    {u"新宋体", "AR PL UMing CN"},
    {u"NSimSun", "AR PL UMing CN"},
    {u"楷体_GB2312", "AR PL UKai CN"},
    {u"楷体", "AR PL UKai CN"},
    {u"KaiTi", "AR PL UKai CN"},
    {u"KaiTi_GB2312", "AR PL UKai CN"},
    {u"Tahoma", "DejaVu Sans"},
}};

}  // namespace

QString installedFamily(const QString& windowsName)
{
    const QString trimmed = windowsName.trimmed();
    for (const FamilyMapping& m : kFamilies) {
        if (trimmed.compare(QString::fromUtf16(m.windowsName), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(m.family);
    }
    return windowsName;
}

void installFontSubstitutions()
{
    for (const FamilyMapping& m : kFamilies)
        QFont::insertSubstitution(QString::fromUtf16(m.windowsName), QString::fromLatin1(m.family));
}

QFont FontDescription::toQFont() const
{
    QFont f(installedFamily(name));
    f.setPointSizeF(size > 0 ? size : 9.0);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikethrough);
    return f;
}

Font::Font(FontDescription description, QObject* parent)
    : QObject(parent)
    , d_(std::move(description))
{
}

namespace {

template <typename T>
bool assign(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

}  // namespace

void Font::setName(const QString& name)
{
    if (assign(d_.name, name))
        Q_EMIT FontChanged(QStringLiteral("Name"));
}

void Font::setSize(double points)
{
    if (assign(d_.size, points))
        Q_EMIT FontChanged(QStringLiteral("Size"));
}

void Font::setBold(bool bold)
{
    if (bold == d_.bold())
        return;
    d_.weight = bold ? 700 : 400;
    Q_EMIT FontChanged(QStringLiteral("Bold"));
}

void Font::setWeight(int weight)
{
    if (assign(d_.weight, weight))
        Q_EMIT FontChanged(QStringLiteral("Weight"));
}

void Font::setItalic(bool on)
{
    if (assign(d_.italic, on))
        Q_EMIT FontChanged(QStringLiteral("Italic"));
}

void Font::setUnderline(bool on)
{
    if (assign(d_.underline, on))
        Q_EMIT FontChanged(QStringLiteral("Underline"));
}

void Font::setStrikethrough(bool on)
{
    if (assign(d_.strikethrough, on))
        Q_EMIT FontChanged(QStringLiteral("Strikethrough"));
}

void Font::setCharset(int charset)
{
    if (assign(d_.charset, charset))
        Q_EMIT FontChanged(QStringLiteral("Charset"));
}

void Font::setDescription(const FontDescription& description)
{
    if (assign(d_, description))
        Q_EMIT FontChanged(QString());
}

}  // namespace tervolin::platform
