// orbeta-report --format json on 1000 copies of the largest study file, in one run of the
// program as a script starts it, without and with acceptance limits (which must keep the rate at
// 20 000 studies a second or more), and of the largest study with a fifth of its results missing:
// studies reported per second, process start and file reading included. The files live in memory
// (/dev/shm) so that the disk does not set the pace.
#include "MachineReport.h"
#include "engine/ExtendedAnalysis.h"
#include "files/Fingerprint.h"
#include "files/StudyFile.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kCopies = 1000;

// The largest design with a fifth of its results missing, two whole days among them.
const std::filesystem::path kLargestWithAFifthMissing =
    std::filesystem::path(ORBETA_TEST_DATA) / "largest-missing.w05";

// `file` empty: the complete largest study.
void JsonReportOfLargestStudies(benchmark::State& state, const char* options,
                                const std::filesystem::path& file) {
    orbeta::testing::TemporaryFolder folder("/dev/shm");
    const std::string bytes = file.empty()
                                  ? orbeta::StudyFileBytes(orbeta::testing::LargestStudy(), '.')
                                  : orbeta::testing::ReadBytes(file);
    for (int copy = 0; copy < kCopies; ++copy) {
        orbeta::testing::WriteBytes(folder / (std::to_string(copy) + ".w05"), bytes);
    }
    const std::string command = "cd " + folder.Path().string() + " && LC_ALL=C " +
                                ORBETA_REPORT_PROGRAM + " --format json " + options +
                                " *.w05 >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("orbeta-report failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kCopies);
}
BENCHMARK_CAPTURE(JsonReportOfLargestStudies, plain, "", "")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(JsonReportOfLargestStudies, with_limits,
                  "--limit-repeatability 1 --limit-intermediate 2", "")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(JsonReportOfLargestStudies, fifth_missing, "", kLargestWithAFifthMissing)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The analysis alone of that study through AnalyseStudy, beside ExtendedAnalysisArithmetic's
// complete one.
void AnalysisOfLargestStudyWithAFifthMissing(benchmark::State& state) {
    const orbeta::StudyFileContents contents =
        orbeta::ReadStudyFileContents(kLargestWithAFifthMissing);
    const orbeta::StudyNumbers numbers(contents.GetDesign(), contents.shownResults);
    for (auto _ : state) {
        benchmark::DoNotOptimize(orbeta::AnalyseStudy(numbers));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(AnalysisOfLargestStudyWithAFifthMissing);

// The JSON object of the largest study alone, from figures computed once, as orbeta-report
// writes it among others: into text that keeps its room from the file before.
void JsonObjectOfLargestStudy(benchmark::State& state) {
    const std::string bytes =
        orbeta::testing::ReadBytes(std::filesystem::path(ORBETA_TEST_DATA) / "largest.w05");
    orbeta::report::StudyFigures figures{
        orbeta::ParseStudyFileContents(bytes), orbeta::Sha256Hex(bytes), {}, {}, {}, {}};
    orbeta::StudyAnalysis analysis = orbeta::AnalyseStudy(
        orbeta::StudyNumbers(figures.contents.GetDesign(), figures.contents.shownResults));
    figures.anova = analysis.anova;
    figures.precision = analysis.precision;
    figures.extended = std::move(analysis.extended);
    figures.acceptance = analysis.acceptance;
    const orbeta::report::FileOutcome outcome{"largest.w05", std::move(figures), {}};
    std::string text;
    for (auto _ : state) {
        text.clear();
        orbeta::report::AppendJsonReport(text, outcome, 1);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(JsonObjectOfLargestStudy);

} // namespace
