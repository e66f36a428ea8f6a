// Cost of the surface primitives on the two control sizes that matter (a 97 × 25 button, a 300 × 100 bar).
// Each size first measures a plain fill of the same pixels (std::fill_n over the image rows, the memset-style
// floor) so that every figure can be read as a ratio to it.
#include <benchmark/benchmark.h>

#include <algorithm>

#include <QApplication>

#include "bench/lookup_bench.h"
#include "bench/redraw_bench.h"
#include "controls/button/primitives.h"
#include "platform/colour.h"
#include "platform/font.h"
#include "platform/surface.h"

using namespace tervolin;
using platform::Surface;

namespace {

void Baseline_PlainFill(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QImage& img = s.image();
    QRgb v = 0xFF102030u;
    for (auto _ : state) {
        for (int y = 0; y < img.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(img.scanLine(y)), img.width(), v);
        v ^= 1;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void Fill(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    platform::ColorRef c = 0x102030;
    for (auto _ : state) {
        controls::FillRectangle(s, c, s.bounds());
        c ^= 1;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void Frame(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        controls::DrawFrame(s, 0, 0, s.width(), s.height(), 0x707070);
        controls::DrawFrame(s, 1, 1, s.width() - 2, s.height() - 2, 0xFFFFFF);
        benchmark::ClobberMemory();
    }
}

void Line(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const int w = s.width(), h = s.height();
    for (auto _ : state) {
        controls::DrawLine(s, 1, 1, w - 1, 1, 0x719CB3);          // horizontal
        controls::DrawLine(s, 1, 1, 1, h - 1, 0x73B0CF);          // vertical
        controls::DrawLine(s, 0, 0, w, h, 0x2B91C5);              // sloped
        benchmark::ClobberMemory();
    }
}

void Gradient(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        controls::DrawGradient(s, 0, 0, s.width(), s.height(), 0xF0F0F0, 0xE3E3E3, platform::GradientDirection::Vertical);
        controls::DrawGradient(s, 0, 0, s.width(), s.height(), 0xF0F0F0, 0xE3E3E3, platform::GradientDirection::Horizontal);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 2 * state.range(0) * state.range(1));
}

void Text(benchmark::State& state)
{
    Surface s(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    platform::FontDescription font;  // 宋体 9 pt, as the application's buttons use
    s.setFont(font.toQFont());
    const QString caption = QStringLiteral("查询 &Search");
    for (auto _ : state) {
        const QSize size = s.measureText(caption);
        s.drawText(platform::Rect::fromSize(4, 4, size.width(), size.height()), caption, 0x000000);
        benchmark::ClobberMemory();
    }
}

#define TERVOLIN_SIZES ->Args({97, 25})->Args({300, 100})

BENCHMARK(Baseline_PlainFill) TERVOLIN_SIZES;
BENCHMARK(Fill) TERVOLIN_SIZES;
BENCHMARK(Frame) TERVOLIN_SIZES;
BENCHMARK(Line) TERVOLIN_SIZES;
BENCHMARK(Gradient) TERVOLIN_SIZES;
BENCHMARK(Text) TERVOLIN_SIZES;

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // the redraw benchmarks place real buttons
    platform::SystemColours::install(platform::SystemColours::pinnedTable());
    platform::installFontSubstitutions();
    registerRedrawBenchmarks();
    registerLookupBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    releaseLookupBenchmarks();
    benchmark::Shutdown();
    return 0;
}
