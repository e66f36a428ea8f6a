#pragma once
// The controls' enumerated values by name in test output: failure messages print "Glossy" rather than bytes,
// and parameterised tests are named after the values of their rows. A value outside the named ones prints as
// its number.

#include "controls/button/buttontypes.h"
#include "controls/progressbar/progressbartypes.h"

#include <QMetaEnum>

#include <cstdint>
#include <ostream>
#include <string>
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
