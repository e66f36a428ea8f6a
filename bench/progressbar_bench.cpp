// Cost of a progress bar redraw next to a plain fill of the same pixels measured in the same run.
// ProgressBar/<W>x<H> is a whole Value change of a placed bar (store, notify, window shape, track, fill, outline,
// caption with its drop shadow); ProgressBarPaint/<W>x<H> is the drawing alone, without the window shape.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "controls/progressbar/painter.h"
#include "controls/progressbar/progressbar.h"
#include "platform/surface.h"
#include "platform/usercontrol.h"

using namespace tervolin;

namespace {

void ProgressBarFillBaseline(benchmark::State& state, int w, int h)
{
    platform::Surface s(w, h);
    platform::ColorRef c = 0xF0F0F0;
    for (auto _ : state) {
        s.fill(s.bounds(), c);
        c ^= 1;
        benchmark::ClobberMemory();
    }
}

void ProgressBar(benchmark::State& state, int w, int h)
{
    platform::ControlContainer form;
    controls::ProgressBar bar;
    bar.setSite(&form, QStringLiteral("ProgressBar1"));
    bar.resize(w, h);
    bar.initProperties();
    int value = 50;
    for (auto _ : state) {
        bar.setValue(value);
        value ^= 1;  // 50 and 51: every iteration changes the fill
        benchmark::ClobberMemory();
    }
}

void ProgressBarPaint(benchmark::State& state, int w, int h)
{
    platform::ControlContainer form;
    controls::ProgressBar bar;
    bar.setSite(&form, QStringLiteral("ProgressBar1"));
    bar.resize(w, h);
    bar.initProperties();
    controls::progressbar::ProgressBarFields f;
    f.TextStyle = bar.TextStyle();
    f.Theme = bar.Theme();
    f.Orientations = bar.Orientations();
    f.Text = bar.Text();
    f.TextForeColor = bar.TextForeColor();
    f.TextAlignment = bar.TextAlignment();
    f.TextEffectColor = bar.TextEffectColor();
    f.TextEffect = bar.TextEffect();
    f.RoundedValue = bar.RoundedValue();
    f.Min = bar.Min();
    f.Value = bar.Value();
    f.Max = bar.Max();
    f.Enabled = bar.Enabled();
    platform::Surface s(w, h);
    s.setFont(bar.surface().font());
    controls::progressbar::ThemeColours colours{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(controls::progressbar::DrawProgressBar(s, f, colours));
        f.Value ^= 1;
        benchmark::ClobberMemory();
    }
}

const bool registered = [] {
    for (const auto& [w, h] : {std::pair{150, 20}, std::pair{295, 20}, std::pair{600, 40}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        benchmark::RegisterBenchmark(("ProgressBarFillBaseline/" + size).c_str(), ProgressBarFillBaseline, w, h);
        benchmark::RegisterBenchmark(("ProgressBar/" + size).c_str(), ProgressBar, w, h);
        benchmark::RegisterBenchmark(("ProgressBarPaint/" + size).c_str(), ProgressBarPaint, w, h);
    }
    return true;
}();

}  // namespace
