#pragma once
// The button redraw benchmarks (redraw_bench.cpp), registered at run time: one per style number and size.

/// Registers RedrawBaseline/<W>x<H> and Redraw/<style>/<W>x<H> for the 97 × 25 and 300 × 100 sizes. Needs a
/// QApplication.
void registerRedrawBenchmarks();
