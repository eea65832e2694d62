// The largest valid study, 10 analysts x 10 days x 5 replicates: computing both records from
// its texts, as a command does, and the arithmetic alone on results already read.
#include "engine/Ucalculo.h"
#include "study/Numbers.h"
#include "support/Studies.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace orbeta;

void AnovaAndPrecisionFromTexts(benchmark::State& state) {
    const Study study = testing::LargestStudy();
    StatisticsEngine engine;
    AnovaTable table;
    PrecisionSummary summary;
    for (auto _ : state) {
        engine.ComputeAnova(study, '.', table);
        engine.ComputePrecision(study, '.', summary);
        benchmark::DoNotOptimize(table);
        benchmark::DoNotOptimize(summary);
    }
}
BENCHMARK(AnovaAndPrecisionFromTexts);

void AnovaAndPrecisionArithmetic(benchmark::State& state) {
    const Study study = testing::LargestStudy();
    std::vector<double> results;
    for (int analyst = 1; analyst <= 10; ++analyst) {
        for (int row = 1; row <= 50; ++row) {
            results.push_back(ParseResult(study.Cell(analyst, row), '.'));
        }
    }
    const StudyNumbers numbers{10, 10, 5, results};
    StatisticsEngine engine;
    AnovaTable table;
    PrecisionSummary summary;
    for (auto _ : state) {
        engine.ComputeAnova(numbers, table);
        engine.ComputePrecision(numbers, summary);
        benchmark::DoNotOptimize(table);
        benchmark::DoNotOptimize(summary);
    }
}
BENCHMARK(AnovaAndPrecisionArithmetic);

} // namespace
