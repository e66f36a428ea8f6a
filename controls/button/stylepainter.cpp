#include "controls/button/stylepainter.h"

#include <map>

namespace tervolin::controls {

namespace {

// Function-local so that registrations from other files' static initialisers find it constructed.
std::map<ButtonStyles, StylePainter>& painters()
{
    static std::map<ButtonStyles, StylePainter> table;
    return table;
}

}  // namespace

void StylePainterRegistry::add(ButtonStyles style, StylePainter painter)
{
    if (painter)
        painters()[style] = painter;
}

StylePainter StylePainterRegistry::find(ButtonStyles style)
{
    const auto& t = painters();
    const auto it = t.find(style);
    return it == t.end() ? nullptr : it->second;
}

void StylePainterRegistry::remove(ButtonStyles style) { painters().erase(style); }

StylePainterRegistration::StylePainterRegistration(std::initializer_list<ButtonStyles> styles, StylePainter painter)
{
    for (const ButtonStyles s : styles)
        StylePainterRegistry::add(s, painter);
}

int outlineEllipse(ButtonStyles style)
{
    switch (style) {
    case ButtonStyles::RoundedBlue:
    case ButtonStyles::Glossy:
    case ButtonStyles::Shaded:
    case ButtonStyles::PaleBlue:
        return 3;
    case ButtonStyles::Silver:
    case ButtonStyles::RoundedShaded:
        return 4;
    case ButtonStyles::RoundGlass:
        return 18;
    default:
        return 0;
    }
}

}  // namespace tervolin::controls
