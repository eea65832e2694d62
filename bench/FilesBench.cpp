// Reading and writing the file of the largest valid study, 10 x 10 x 5: through the disk (the
// system's temporary directory) and through memory (/dev/shm), which tells the program's own
// cost from the file system's. Replacing a file on ext4 starts writing the new one out at once.
#include "files/StudyFile.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orbeta;

const char* const kMemoryFolder = "/dev/shm";

void ReadLargestStudyFile(benchmark::State& state, const char* parent) {
    testing::TemporaryFolder folder(parent);
    const auto path = folder / "largest.w05";
    WriteStudyFile(path, testing::LargestStudy(), '.');
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadStudyFile(path, '.'));
    }
}
BENCHMARK_CAPTURE(ReadLargestStudyFile, disk, "");
BENCHMARK_CAPTURE(ReadLargestStudyFile, memory, kMemoryFolder);

void WriteLargestStudyFile(benchmark::State& state, const char* parent) {
    testing::TemporaryFolder folder(parent);
    const auto path = folder / "largest.w05";
    const Study study = testing::LargestStudy();
    for (auto _ : state) {
        WriteStudyFile(path, study, '.');
    }
}
BENCHMARK_CAPTURE(WriteLargestStudyFile, disk, "");
BENCHMARK_CAPTURE(WriteLargestStudyFile, memory, kMemoryFolder);

} // namespace

namespace {

void LargestStudyFileBytes(benchmark::State& state) {
    const orbeta::Study study = orbeta::testing::LargestStudy();
    for (auto _ : state) {
        benchmark::DoNotOptimize(orbeta::StudyFileBytes(study, '.'));
    }
}
BENCHMARK(LargestStudyFileBytes);

void ParseLargestStudyFile(benchmark::State& state) {
    const std::string bytes = orbeta::StudyFileBytes(orbeta::testing::LargestStudy(), '.');
    for (auto _ : state) {
        benchmark::DoNotOptimize(orbeta::ParseStudyFile(bytes, '.'));
    }
}
BENCHMARK(ParseLargestStudyFile);

// What orbeta-report reads of each file: the contents, without laying out a grid.
void ParseLargestStudyFileContents(benchmark::State& state) {
    const std::string bytes = orbeta::StudyFileBytes(orbeta::testing::LargestStudy(), '.');
    for (auto _ : state) {
        benchmark::DoNotOptimize(orbeta::ParseStudyFileContents(bytes));
    }
}
BENCHMARK(ParseLargestStudyFileContents);

} // namespace
