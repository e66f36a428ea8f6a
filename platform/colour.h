#pragma once
// Colours in the 0x00BBGGRR convention: red in the low byte, then green, then blue.
// A value with the top bit set names a system colour by the index in its low byte.

#include <array>
#include <cstdint>
#include <optional>

#include <QColor>
#include <QRgb>

namespace tervolin::platform {

using ColorRef = std::int32_t;  // may carry the system-colour bit (0x80000000)

constexpr ColorRef rgb(int r, int g, int b)
{
    return static_cast<ColorRef>((static_cast<std::uint32_t>(b & 0xFF) << 16) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
                                 static_cast<std::uint32_t>(r & 0xFF));
}
constexpr int redOf(ColorRef c) { return static_cast<int>(static_cast<std::uint32_t>(c) & 0xFF); }
constexpr int greenOf(ColorRef c) { return static_cast<int>((static_cast<std::uint32_t>(c) >> 8) & 0xFF); }
constexpr int blueOf(ColorRef c) { return static_cast<int>((static_cast<std::uint32_t>(c) >> 16) & 0xFF); }
constexpr bool isSystemColour(ColorRef c) { return (static_cast<std::uint32_t>(c) & 0x80000000u) != 0; }
constexpr ColorRef systemColour(int index) { return static_cast<ColorRef>(0x80000000u | static_cast<std::uint32_t>(index & 0xFF)); }

/// System colour indices that the controls draw with (the low byte of a system colour value).
namespace SystemColourIndex {
constexpr int ApplicationWorkspace = 12;
constexpr int Highlight = 13;
constexpr int ButtonFace = 15;
constexpr int ButtonShadow = 16;
constexpr int GreyText = 17;
constexpr int ButtonText = 18;
constexpr int ButtonHighlight = 20;
constexpr int DarkShadow3D = 21;
constexpr int Light3D = 22;
}  // namespace SystemColourIndex

/// Plain colour as a Qt pixel value (opaque).
inline QRgb toQRgb(ColorRef c) { return qRgb(redOf(c), greenOf(c), blueOf(c)); }
inline ColorRef fromQRgb(QRgb p) { return rgb(qRed(p), qGreen(p), qBlue(p)); }
inline QColor toQColor(ColorRef c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

/// The table of system colours: the desktop palette at run time, a pinned table in tests and the render tool.
class SystemColours
{
public:
    static constexpr int Count = 31;
    using Table = std::array<std::optional<ColorRef>, Count>;

    /// The common Windows 10 defaults; deterministic pixels for tests and the render tool.
    static Table pinnedTable();
    /// The current desktop palette mapped onto the indices, the pinned value where no role matches.
    static Table fromDesktopPalette();

    /// Installs a table for the whole process (tests call this with pinnedTable()).
    static void install(const Table& table);
    /// The colour at an index, or nothing when the index has no colour.
    static std::optional<ColorRef> lookup(int index);

private:
    static Table& current();
};

/// Translates a colour to a plain 0x00BBGGRR value; -1 where it cannot be translated.
ColorRef translateColour(ColorRef c);

}  // namespace tervolin::platform
