// DoEvents on the Qt back end, as the innermost loops call it (once per
// species per evaluation): the cost of one yield, and of a million in a row.
#include <benchmark/benchmark.h>


#include "platform/qt/QtBackend.h"

namespace {

void BM_QtDoEvents(benchmark::State& state) {
    platform::qt::QtSession s;
    for (auto _ : state) s.ui.DoEvents();
    state.counters["yields"] = static_cast<double>(s.ui.DoEventsCount());
}
BENCHMARK(BM_QtDoEvents);

void BM_QtMillionDoEvents(benchmark::State& state) {
    platform::qt::QtSession s;
    for (auto _ : state)
        for (int i = 0; i < 1000000; ++i) s.ui.DoEvents();
}
BENCHMARK(BM_QtMillionDoEvents)->Unit(benchmark::kMillisecond);

}  // namespace
