// The whole qualification, which must take under 2 s: every reference study checked, the
// installation check included, and the report's text. Each run goes on a thread of its own, so
// that the quantiles the engine keeps per thread are computed afresh, as on a lab's first run;
// and the program itself, as `orbeta-report --verify` runs from a script, start included, with
// the report as PDF and without.
#include "qualification/Report.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

void WholeQualification(benchmark::State& state) {
    for (auto _ : state) {
        std::thread run([] {
            orbeta::qualification::SystemProbe probe;
            const auto outcome = orbeta::qualification::Qualify(
                probe, "/usr/bin/orbeta-report", orbeta::qualification::ReferenceStudies());
            benchmark::DoNotOptimize(orbeta::qualification::ReportText({}, outcome));
        });
        run.join();
    }
}
BENCHMARK(WholeQualification)->Unit(benchmark::kMillisecond)->UseRealTime();

void OrbetaReportVerify(benchmark::State& state) {
    const std::string command = std::string(ORBETA_REPORT_PROGRAM) + " --verify >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("orbeta-report --verify failed");
            break;
        }
    }
}
BENCHMARK(OrbetaReportVerify)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with the report as PDF, which orbeta draws: its start with Qt offscreen, the check
// and the thirteen pages.
void OrbetaReportVerifyPdf(benchmark::State& state) {
    const std::filesystem::path pdf =
        std::filesystem::temp_directory_path() / "orbeta-bench-verificacion.pdf";
    const std::string command =
        std::string(ORBETA_REPORT_PROGRAM) + " --verify --pdf '" + pdf.string() + "' >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("orbeta-report --verify --pdf failed");
            break;
        }
    }
    std::filesystem::remove(pdf);
}
BENCHMARK(OrbetaReportVerifyPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
