#pragma once
// The value sets of vantlebutton's enumerated properties and of its interaction state. Each is an enum class over
// a 32-bit integer: a property keeps any value it is given (a stored form may hold any number), and the
// meta-object system names the listed ones.

#include <QObject>

#include <cstdint>

namespace tervolin::controls {
Q_NAMESPACE

enum class ButtonStyles : std::int32_t {
    Standard = 0,
    Flat = 1,
    RoundedBlue = 2,
    Silver = 3,
    Glossy = 4,
    Shadow = 5,
    Shaded = 6,
    ToolbarOrange = 7,
    PaleBlue = 8,
    ToolbarBlue = 9,
    RoundedShaded = 10,
    FlatHover = 11,
    FlatHoverThin = 12,
    WarmGradient = 13,
    RoundGlass = 14,
    SideGradient = 15,
};
Q_ENUM_NS(ButtonStyles)

enum class CaptionAlignments : std::int32_t { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };
Q_ENUM_NS(CaptionAlignments)

enum class PictureAlignments : std::int32_t {
    PictureLeftEdge = 0,
    PictureLeftOfCaption = 1,
    PictureRightEdge = 2,
    PictureRightOfCaption = 3,
    PictureCenter = 4,
    PictureTopEdge = 5,
    PictureAboveCaption = 6,
    PictureBottomEdge = 7,
    PictureBelowCaption = 8,
};
Q_ENUM_NS(PictureAlignments)

enum class PictureSizes : std::int32_t { SizeOriginal = 0, Size16 = 1, Size24 = 2, Size32 = 3 };
Q_ENUM_NS(PictureSizes)

/// The interaction look the painters draw.
enum class ButtonStates : std::int32_t { StateNormal = 0, StateHot = 1, StateDown = 2 };
Q_ENUM_NS(ButtonStates)

/// The stored number of an enumerated value.
template <typename Enum>
constexpr std::int32_t numberOf(Enum value)
{
    return static_cast<std::int32_t>(value);
}

}  // namespace tervolin::controls
