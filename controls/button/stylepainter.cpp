#include "controls/button/stylepainter.h"

#include "controls/button/buttontypes.h"

#include <map>

namespace tervolin::controls {

namespace {

// Function-local so that registrations from other files' static initialisers find it constructed.
std::map<std::int32_t, StylePainter>& painters()
{
    static std::map<std::int32_t, StylePainter> table;
    return table;
}

}  // namespace

void StylePainterRegistry::add(std::int32_t style, StylePainter painter)
{
    if (painter)
        painters()[style] = painter;
}

StylePainter StylePainterRegistry::find(std::int32_t style)
{
    const auto& t = painters();
    const auto it = t.find(style);
    return it == t.end() ? nullptr : it->second;
}

void StylePainterRegistry::remove(std::int32_t style) { painters().erase(style); }

StylePainterRegistration::StylePainterRegistration(std::initializer_list<std::int32_t> styles, StylePainter painter)
{
    for (const std::int32_t s : styles)
        StylePainterRegistry::add(s, painter);
}

int outlineEllipse(std::int32_t style)
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
