// Cost of a whole button redraw (clear, face of the style, picture and caption) for every style number on the
// two sizes that matter, each size next to its baseline measured in the same run: one fill of the same pixels
// plus measuring and drawing the same caption with the same font. Styles without a painter yet show the cost of
// the pipeline alone.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include <QString>
#include <QWidget>

#include "controls/button/buttontypes.h"
#include "bench/redraw_bench.h"
#include "controls/button/vantlebutton.h"
#include "platform/surface.h"
#include "platform/usercontrol.h"

using namespace tervolin;
using controls::ButtonStyles;
using controls::vantlebutton;

namespace {

const QString Caption = QStringLiteral("查询 &Search");

constexpr std::array<const char*, 16> StyleNames = {
    "Standard", "Flat",          "RoundedBlue", "Silver",        "Glossy",    "Shadow",       "Shaded",     "ToolbarOrange",
    "PaleBlue", "ToolbarBlue",   "RoundedShaded", "FlatHover",   "FlatHoverThin", "WarmGradient", "RoundGlass", "SideGradient"};

/// A resting button of the given style and size on a running form, with the benchmark caption.
struct PlacedButton
{
    platform::ControlContainer container;
    QWidget window;
    std::unique_ptr<vantlebutton> button;

    PlacedButton(controls::ButtonStyles style, int w, int h)
    {
        button = std::make_unique<vantlebutton>(&window);
        button->setSite(&container, QStringLiteral("vantlebutton1"));
        button->resize(w, h);
        button->initialize();
        button->initProperties();
        button->setButtonStyle(style);
        button->setCaption(Caption);
    }
};

void RedrawBaseline(benchmark::State& state, int w, int h)
{
    // The font and caption rectangle of the button being compared.
    const PlacedButton placed(ButtonStyles::Standard, w, h);
    platform::Surface s(w, h);
    s.setFont(placed.button->surface().font());
    platform::ColorRef c = 0xF0F0F0;
    for (auto _ : state) {
        s.fill(s.bounds(), c);
        const QSize size = s.measureText(Caption);
        const int x = w / 2 - size.width() / 2, y = h / 2 - size.height() / 2;
        s.drawText(platform::Rect::fromSize(x, y, size.width(), size.height()), Caption, 0x000000);
        c ^= 1;
        benchmark::ClobberMemory();
    }
}

void Redraw(benchmark::State& state, controls::ButtonStyles style, int w, int h)
{
    PlacedButton placed(style, w, h);
    vantlebutton& b = *placed.button;
    for (auto _ : state) {
        b.Redraw();
        benchmark::ClobberMemory();
    }
}

}  // namespace

/// Registers the baseline and every style for each size; called from the benchmark program's main.
void registerRedrawBenchmarks()
{
    for (const auto& [w, h] : {std::pair{97, 25}, std::pair{300, 100}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        benchmark::RegisterBenchmark(("RedrawBaseline/" + size).c_str(), RedrawBaseline, w, h);
        for (std::int32_t style = 0; style < static_cast<std::int32_t>(StyleNames.size()); ++style) {
            const std::string name = std::string("Redraw/") + StyleNames[static_cast<std::size_t>(style)] + "/" + size;
            benchmark::RegisterBenchmark(name.c_str(), Redraw, controls::ButtonStyles{style}, w, h);
        }
    }
}
