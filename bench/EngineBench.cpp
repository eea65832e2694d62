// The largest valid study, 10 analysts x 10 days x 5 replicates: computing both records from
// its texts, as a command does, the arithmetic alone on results already read, and the further
// figures of the extended analysis.
#include "engine/ExtendedAnalysis.h"
#include "engine/Ucalculo.h"
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
    const std::vector<double> results = ReadResults(testing::LargestStudy(), '.');
    const StudyNumbers numbers(Design(10, 10, 5), results);
    StatisticsEngine engine;
    AnovaTable table;
    PrecisionSummary summary;
    for (auto _ : state) {
        engine.ComputeAnovaAndPrecision(numbers, table, summary);
        benchmark::DoNotOptimize(table);
        benchmark::DoNotOptimize(summary);
    }
}
BENCHMARK(AnovaAndPrecisionArithmetic);

// Every figure of the largest study: the analysis of variance, the precision, variance
// components with their intervals, exact probabilities, Cochran's and Grubbs's tests.
void ExtendedAnalysisArithmetic(benchmark::State& state) {
    const std::vector<double> results = ReadResults(testing::LargestStudy(), '.');
    const StudyNumbers numbers(Design(10, 10, 5), results);
    for (auto _ : state) {
        benchmark::DoNotOptimize(AnalyseStudy(numbers));
    }
}
BENCHMARK(ExtendedAnalysisArithmetic);

} // namespace
