#pragma once
// The value sets of vantlebutton's enumerated properties. The properties are plain 32-bit integers: any value
// is accepted and kept, so these are named constants rather than closed enums.

#include <cstdint>

namespace tervolin::controls {

struct ButtonStyles
{
    static constexpr std::int32_t Standard = 0;
    static constexpr std::int32_t Flat = 1;
    static constexpr std::int32_t RoundedBlue = 2;
    static constexpr std::int32_t Silver = 3;
    static constexpr std::int32_t Glossy = 4;
    static constexpr std::int32_t Shadow = 5;
    static constexpr std::int32_t Shaded = 6;
    static constexpr std::int32_t ToolbarOrange = 7;
    static constexpr std::int32_t PaleBlue = 8;
    static constexpr std::int32_t ToolbarBlue = 9;
    static constexpr std::int32_t RoundedShaded = 10;
    static constexpr std::int32_t FlatHover = 11;
    static constexpr std::int32_t FlatHoverThin = 12;
    static constexpr std::int32_t WarmGradient = 13;
    static constexpr std::int32_t RoundGlass = 14;
    static constexpr std::int32_t SideGradient = 15;
};

struct CaptionAlignments
{
    static constexpr std::int32_t AlignLeft = 0;
    static constexpr std::int32_t AlignCenter = 1;
    static constexpr std::int32_t AlignRight = 2;
};

struct PictureAlignments
{
    static constexpr std::int32_t PictureLeftEdge = 0;
    static constexpr std::int32_t PictureLeftOfCaption = 1;
    static constexpr std::int32_t PictureRightEdge = 2;
    static constexpr std::int32_t PictureRightOfCaption = 3;
    static constexpr std::int32_t PictureCenter = 4;
    static constexpr std::int32_t PictureTopEdge = 5;
    static constexpr std::int32_t PictureAboveCaption = 6;
    static constexpr std::int32_t PictureBottomEdge = 7;
    static constexpr std::int32_t PictureBelowCaption = 8;
};

struct PictureSizes
{
    static constexpr std::int32_t SizeOriginal = 0;
    static constexpr std::int32_t Size16 = 1;
    static constexpr std::int32_t Size24 = 2;
    static constexpr std::int32_t Size32 = 3;
};

/// The interaction look the painters draw.
struct ButtonStates
{
    static constexpr std::int32_t StateNormal = 0;
    static constexpr std::int32_t StateHot = 1;
    static constexpr std::int32_t StateDown = 2;
};

}  // namespace tervolin::controls
