#pragma once
// The main window's start-up, lookup and code-list benchmarks; registered after the application object exists.

void registerLookupBenchmarks();

/// Closes the window kept between lookup benchmarks; called before the application object goes away.
void releaseLookupBenchmarks();
