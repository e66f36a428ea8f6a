#include "controls/progressbar/themes.h"

#include "controls/progressbar/colours.h"

namespace tervolin::controls::progressbar {

namespace {

struct Rgb
{
    int r, g, b;
};

// Entries 0, 2, …, 16 of themes 1 (Gold) to 9 (Lime).
constexpr std::array<std::array<Rgb, 9>, 9> kThemes{{
    {{{248, 246, 242}, {233, 227, 211}, {226, 215, 182}, {239, 233, 215}, {251, 244, 223}, {239, 213, 133}, {203, 166, 57}, {237, 224, 187}, {204, 168, 62}}},
    {{{247, 248, 242}, {231, 233, 211}, {222, 226, 182}, {237, 239, 215}, {249, 251, 223}, {230, 239, 133}, {190, 203, 57}, {233, 237, 187}, {192, 204, 62}}},
    {{{242, 248, 243}, {211, 233, 213}, {182, 226, 186}, {215, 239, 217}, {223, 251, 225}, {133, 239, 142}, {57, 203, 70}, {187, 237, 191}, {62, 204, 74}}},
    {{{242, 248, 247}, {211, 233, 231}, {182, 226, 222}, {215, 239, 237}, {223, 251, 249}, {133, 239, 230}, {57, 203, 190}, {187, 237, 233}, {62, 204, 192}}},
    {{{243, 242, 248}, {213, 211, 233}, {186, 182, 226}, {217, 215, 239}, {225, 223, 251}, {142, 133, 239}, {70, 57, 203}, {191, 187, 237}, {74, 62, 204}}},
    {{{248, 242, 247}, {233, 211, 231}, {226, 182, 222}, {239, 215, 237}, {251, 223, 249}, {239, 133, 230}, {203, 57, 190}, {237, 187, 233}, {204, 62, 192}}},
    {{{248, 242, 242}, {233, 211, 211}, {226, 182, 182}, {239, 215, 215}, {251, 223, 223}, {239, 133, 133}, {203, 57, 57}, {237, 187, 187}, {204, 62, 62}}},
    {{{250, 253, 254}, {228, 243, 252}, {199, 230, 249}, {237, 247, 253}, {225, 247, 255}, {67, 208, 255}, {63, 112, 233}, {63, 226, 246}, {23, 139, 211}}},
    {{{231, 243, 232}, {225, 219, 225}, {179, 189, 179}, {226, 238, 226}, {223, 251, 223}, {108, 255, 108}, {26, 228, 26}, {217, 244, 217}, {188, 184, 188}}},
}};

// A system colour would otherwise feed its index bits into the channel arithmetic as if they were red.
ColorRef plain(ColorRef colour)
{
    return platform::isSystemColour(colour) ? platform::translateColour(colour) : colour;
}

}  // namespace

void LoadThemeColours(ThemeColours& colours, ThemeValue theme, ColorRef custom1, ColorRef custom2)
{
    if (theme >= ThemeValue::Gold && theme <= ThemeValue::Lime) {
        const auto& row = kThemes[static_cast<std::size_t>(numberOf(theme) - numberOf(ThemeValue::Gold))];
        for (std::size_t i = 0; i < row.size(); ++i)
            colours[2 * i] = platform::rgb(row[i].r, row[i].g, row[i].b);
    } else if (theme == ThemeValue::Custom) {
        const ColorRef c1 = plain(custom1);
        const ColorRef c2 = plain(custom2);
        colours[ThemeIndex::TrackFirstStart] = LightenColour(c2, 180);
        colours[ThemeIndex::TrackFirstEnd] = LightenColour(c2, 50);
        colours[ThemeIndex::TrackSecondStart] = c2;
        colours[ThemeIndex::TrackSecondEnd] = LightenColour(c2, 80);
        colours[ThemeIndex::FillFirstStart] = LightenColour(c1, 180);
        colours[ThemeIndex::FillFirstEnd] = LightenColour(c1, 50);
        colours[ThemeIndex::FillSecondStart] = c1;
        colours[ThemeIndex::FillSecondEnd] = LightenColour(c1, 80);
        colours[ThemeIndex::Outline] = c1;
    } else {
        return;
    }
    for (std::size_t i = 0; i + 1 < colours.size(); i += 2)
        colours[i + 1] = colours[i];
}

void greyThemeColours(ThemeColours& colours)
{
    for (ColorRef& c : colours)
        c = GreyColour(c);
}

}  // namespace tervolin::controls::progressbar
