#include "controls/progressbar/caption.h"

#include <QLocale>

#include "controls/progressbar/colours.h"

namespace tervolin::controls::progressbar {

std::optional<QString> captionText(TextStyleValue textStyle, int value, double percent, const QString& customText)
{
    switch (textStyle) {
    case TextStyleValue::ValueText:
        return QString::number(value);
    case TextStyleValue::PercentText:
        return PercentText(percent);
    case TextStyleValue::CustomText:
        return customText;
    default:
        return std::nullopt;
    }
}

QString PercentText(double percent)
{
    QString s = QString::number(percent, 'g', 15);
    s.replace(QLatin1Char('e'), QLatin1Char('E'));
    const QString separator = QLocale().decimalPoint();
    if (separator != QLatin1String("."))
        s.replace(QLatin1Char('.'), separator);
    return s + QLatin1Char('%');
}

QPoint captionPosition(TextAlignmentValue alignment, double w, double h, double tw, double th)
{
    if (alignment < TextAlignmentValue::TopLeft || alignment > TextAlignmentValue::BottomRight)
        return {0, 0};
    // Deliberately uneven margins: 1 pixel at the left, 3 at the right, none at the top, 1 at the bottom, and
    // the centred positions one pixel up and left of true centre.
    const int index = numberOf(alignment) - numberOf(TextAlignmentValue::TopLeft);
    const int column = index / 3;
    const int row = index % 3;
    const int x = column == 0 ? 1 : column == 1 ? nearest(w / 2 - tw / 2 - 1) : nearest(w - tw - 3);
    const int y = row == 0 ? 0 : row == 1 ? nearest(h / 2 - th / 2 - 1) : nearest(h - th - 1);
    return {x, y};
}

std::vector<CaptionPass> captionPasses(TextEffectValue textEffect, ColorRef fore, ColorRef effect)
{
    switch (textEffect) {
    case TextEffectValue::Plain:
        return {{0, 0, fore}};
    case TextEffectValue::Raised:
        return {{-1, -1, effect}, {1, 1, kEffectGrey}, {0, 0, fore}};
    case TextEffectValue::Sunken:
        return {{1, 1, effect}, {-1, 0, kEffectGrey}, {0, 0, fore}};
    case TextEffectValue::Outline:
        return {{1, 0, effect}, {-1, 0, effect}, {0, -1, effect}, {0, 1, effect}, {0, 0, fore}};
    case TextEffectValue::DropShadow:
        return {{1, 1, effect}, {0, 0, fore}};
    default:
        return {};
    }
}

CaptionColours captionColours(ColorRef textForeColor, ColorRef textEffectColor, bool enabled)
{
    // Greying works on the colour's bytes, so a system colour must be translated first: greying its index bits
    // would give an unrelated dark grey.
    CaptionColours c{platform::translateColour(textForeColor), platform::translateColour(textEffectColor)};
    if (!enabled) {
        c.fore = GreyColour(c.fore);
        c.effect = GreyColour(c.effect);
    }
    return c;
}

void DrawCaptionText(platform::Surface& surface, const QString& text, TextAlignmentValue alignment, TextEffectValue textEffect, ColorRef textForeColor,
                     ColorRef textEffectColor, bool enabled)
{
    const CaptionColours colours = captionColours(textForeColor, textEffectColor, enabled);
    const QSizeF size = surface.measureTextF(text);
    const QPoint at = captionPosition(alignment, surface.width(), surface.height(), size.width(), size.height());
    for (const CaptionPass& pass : captionPasses(textEffect, colours.fore, colours.effect))
        surface.drawTextAt(at.x() + pass.dx, at.y() + pass.dy, text, pass.colour);
}

}  // namespace tervolin::controls::progressbar
