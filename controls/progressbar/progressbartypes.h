#pragma once
// The value sets of ProgressBar's enumerated properties. Each is an enum class over a 32-bit integer: the
// control keeps any value it is given (a value outside the list has the effect its property documents), and the
// meta-object system names the listed ones.

#include <QObject>

#include <cstdint>

namespace tervolin::controls::progressbar {
Q_NAMESPACE

enum class ThemeValue : std::int32_t { Gold = 1, Olive, Green, Teal, Indigo, Magenta, Red, Sky, Lime, Custom };
Q_ENUM_NS(ThemeValue)

enum class TextStyleValue : std::int32_t { ValueText = 1, PercentText, CustomText };
Q_ENUM_NS(TextStyleValue)

enum class OrientationValue : std::int32_t { Horizontal = 1, Vertical };
Q_ENUM_NS(OrientationValue)

/// Rows top, middle and bottom within the columns left, centre and right.
enum class TextAlignmentValue : std::int32_t {
    TopLeft = 1,
    MiddleLeft,
    BottomLeft,
    TopCenter,
    MiddleCenter,
    BottomCenter,
    TopRight,
    MiddleRight,
    BottomRight
};
Q_ENUM_NS(TextAlignmentValue)

enum class TextEffectValue : std::int32_t { Plain = 1, Raised, Sunken, Outline, DropShadow };
Q_ENUM_NS(TextEffectValue)

/// The stored number of an enumerated value.
template <typename Enum>
constexpr std::int32_t numberOf(Enum value)
{
    return static_cast<std::int32_t>(value);
}

}  // namespace tervolin::controls::progressbar
