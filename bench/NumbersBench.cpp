// One call of the result format and of the F probability, over a spread of typical inputs.
#include "engine/UTs.h"
#include "study/Numbers.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace orbeta;

constexpr std::array kValues{99.6417, 0.000426140, 5.048177e-14, 1234567.0,
                             0.1725,  2.52577321,  -0.80833333,  100.0};

void FormatResultCall(benchmark::State& state) {
    std::size_t index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatResult(kValues[index], '.'));
        index = (index + 1) % kValues.size();
    }
}
BENCHMARK(FormatResultCall);

struct FTest {
    double f;
    double df1;
    double df2;
};
constexpr std::array kTests{FTest{2.52577, 1, 2}, FTest{2.343, 2, 8}, FTest{0.5, 2, 8},
                            FTest{4, 9, 90},      FTest{0.25, 3, 2},  FTest{19, 2, 2}};

void FProbabilityCall(benchmark::State& state) {
    std::size_t index = 0;
    for (auto _ : state) {
        const FTest& test = kTests[index];
        benchmark::DoNotOptimize(FProbability(test.f, test.df1, test.df2));
        index = (index + 1) % kTests.size();
    }
}
BENCHMARK(FProbabilityCall);

} // namespace

namespace {

constexpr std::array<std::string_view, 6> kResultTexts{"99.1",  "100.25",      " 98.7 ",
                                                       "1.5E3", "-0.00042614", "99.40"};

void ParseResultCall(benchmark::State& state) {
    std::size_t index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseResult(kResultTexts[index], '.'));
        index = (index + 1) % kResultTexts.size();
    }
}
BENCHMARK(ParseResultCall);

} // namespace
