#include "platform/colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace tervolin::platform {

SystemColours::Table SystemColours::pinnedTable()
{
    Table t{};
    const auto set = [&t](int i, int r, int g, int b) { t[static_cast<std::size_t>(i)] = rgb(r, g, b); };
    set(0, 200, 200, 200);   // scroll bar
    set(1, 0, 0, 0);         // desktop
    set(2, 153, 180, 209);   // active caption
    set(3, 191, 205, 219);   // inactive caption
    set(4, 240, 240, 240);   // menu
    set(5, 255, 255, 255);   // window
    set(6, 100, 100, 100);   // window frame
    set(7, 0, 0, 0);         // menu text
    set(8, 0, 0, 0);         // window text
    set(9, 0, 0, 0);         // caption text
    set(10, 180, 180, 180);  // active border
    set(11, 244, 247, 252);  // inactive border
    set(12, 171, 171, 171);  // application workspace
    set(13, 0, 120, 215);    // highlight
    set(14, 255, 255, 255);  // highlight text
    set(15, 240, 240, 240);  // button face
    set(16, 160, 160, 160);  // button shadow
    set(17, 109, 109, 109);  // grey text
    set(18, 0, 0, 0);        // button text
    set(19, 0, 0, 0);        // inactive caption text
    set(20, 255, 255, 255);  // button highlight
    set(21, 105, 105, 105);  // 3-D dark shadow
    set(22, 227, 227, 227);  // 3-D light
    set(23, 0, 0, 0);        // tooltip text
    set(24, 255, 255, 225);  // tooltip background
    set(26, 0, 102, 204);    // hot-track
    set(27, 185, 209, 234);  // gradient active caption
    set(28, 215, 228, 242);  // gradient inactive caption
    set(29, 51, 153, 255);   // menu highlight
    set(30, 240, 240, 240);  // menu bar
    return t;
}

SystemColours::Table SystemColours::fromDesktopPalette()
{
    Table t = pinnedTable();
    if (!qGuiApp)
        return t;
    const QPalette p = QGuiApplication::palette();
    const auto set = [&t](int i, const QColor& c) { t[static_cast<std::size_t>(i)] = rgb(c.red(), c.green(), c.blue()); };
    set(5, p.color(QPalette::Active, QPalette::Base));
    set(8, p.color(QPalette::Active, QPalette::Text));
    set(13, p.color(QPalette::Active, QPalette::Highlight));
    set(14, p.color(QPalette::Active, QPalette::HighlightedText));
    set(15, p.color(QPalette::Active, QPalette::Button));
    set(16, p.color(QPalette::Active, QPalette::Mid));
    set(17, p.color(QPalette::Disabled, QPalette::Text));
    set(18, p.color(QPalette::Active, QPalette::ButtonText));
    set(20, p.color(QPalette::Active, QPalette::Light));
    set(21, p.color(QPalette::Active, QPalette::Shadow));
    set(22, p.color(QPalette::Active, QPalette::Midlight));
    set(23, p.color(QPalette::Active, QPalette::ToolTipText));
    set(24, p.color(QPalette::Active, QPalette::ToolTipBase));
    return t;
}

SystemColours::Table& SystemColours::current()
{
    static Table table = pinnedTable();
    return table;
}

void SystemColours::install(const Table& table) { current() = table; }

std::optional<ColorRef> SystemColours::lookup(int index)
{
    if (index < 0 || index >= Count)
        return std::nullopt;
    return current()[static_cast<std::size_t>(index)];
}

ColorRef translateColour(ColorRef c)
{
    const auto u = static_cast<std::uint32_t>(c);
    if ((u & 0xFF000000u) == 0)
        return c;
    if ((u & 0xFF000000u) != 0x80000000u || (u & 0x00FFFF00u) != 0)
        return -1;  // palette-relative, palette-index and malformed values do not translate
    return SystemColours::lookup(static_cast<int>(u & 0xFFu)).value_or(-1);
}

}  // namespace tervolin::platform
