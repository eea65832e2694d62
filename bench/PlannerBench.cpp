// The study planner's whole table: 324 designs, each with its simulated studies, for a lab
// that gives both limits, so that every simulated study is judged twice.
#include "engine/StudyPlanner.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orbeta;

void WholePlanBothLimits(benchmark::State& state) {
    PlanInputs inputs;
    inputs.mean = 100;
    inputs.sdRepeatability = 0.4;
    inputs.sdDay = 0.3;
    inputs.sdAnalyst = 0.5;
    inputs.limitRepeatability = 1;
    inputs.limitIntermediate = 1.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlanStudy(inputs));
    }
}
BENCHMARK(WholePlanBothLimits)->Unit(benchmark::kMillisecond);

} // namespace
