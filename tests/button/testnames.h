#pragma once
// Readable test output: the controls' enumerated values by name in failure messages ("Glossy" rather than bytes),
// and the pieces parameterised tests are named from, so that a failing row names itself. An enumerated value
// outside the named ones is given by its number.

#include "controls/button/buttontypes.h"
#include "controls/progressbar/progressbartypes.h"

#include <QMetaEnum>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>

namespace tervolin::test {

template <typename Enum>
concept NamedEnum = std::is_enum_v<Enum> && requires(Enum e) { qt_getEnumMetaObject(e); };

template <NamedEnum Enum>
const char* keyOf(Enum value)
{
    return QMetaEnum::fromType<Enum>().valueToKey(static_cast<int>(value));
}

/// The value's name, or its number (a minus sign spelled "Minus", so that it can be part of a test name).
template <NamedEnum Enum>
std::string nameOf(Enum value)
{
    if (const char* key = keyOf(value))
        return key;
    const auto n = static_cast<std::int64_t>(static_cast<std::int32_t>(value));
    return (n < 0 ? "Minus" : "") + std::to_string(n < 0 ? -n : n);
}

/// Text made fit for a test name: every run of other characters than letters and digits becomes one "_".
inline std::string identifier(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain)
            out += c;
        else if (!out.empty() && out.back() != '_')
            out += '_';
    }
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    return out.empty() ? "empty" : out;
}

/// A number for a test name: "0_25", "Minus1_5", "NaN", "Inf".
inline std::string numberName(double v)
{
    if (std::isnan(v))
        return "NaN";
    const std::string sign = v < 0 ? "Minus" : "";
    if (std::isinf(v))
        return sign + "Inf";
    if (v == std::trunc(v) && std::fabs(v) < 1e15)
        return sign + std::to_string(static_cast<long long>(std::fabs(v)));
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::fabs(v));
    return sign + identifier(text);
}

/// A 32-bit colour value for a test name, as the 0x00BBGGRR number it is: "E3E3E3", "FFFFFFFF".
inline std::string colourName(std::int32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
}

}  // namespace tervolin::test

namespace tervolin::controls {
template <test::NamedEnum Enum>
std::ostream& operator<<(std::ostream& os, Enum value)
{
    return os << test::nameOf(value);
}
}  // namespace tervolin::controls

namespace tervolin::controls::progressbar {
template <test::NamedEnum Enum>
std::ostream& operator<<(std::ostream& os, Enum value)
{
    return os << test::nameOf(value);
}
}  // namespace tervolin::controls::progressbar
