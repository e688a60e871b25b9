// Speed of loading a user's reference table: 100,000 rows, each its own group (the most
// rows a table may have), as View > Reference Vowels > Load... reads it.
#include "reference/ReferenceChoice.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void BM_ReferenceTableOfManyGroups(benchmark::State& state) {
    const std::string path = std::filesystem::temp_directory_path().string() +
                             "/quirnel-bench-groups-" + std::to_string(::getpid()) + ".csv";
    {
        std::ofstream out(path);
        out << "vowel,F1,F2,group\n";
        for (int i = 0; i < 100000; ++i)
            out << "i," << 250 + i % 100 << ',' << 2200 + i % 300 << ",g" << i << '\n';
    }
    for (auto _ : state) {
        ReferenceChoice loaded;
        const Report report = LoadReferenceChoice(path, {}, loaded);
        if (!report.Ok())
            state.SkipWithError(report.Text().c_str());
        benchmark::DoNotOptimize(loaded);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReferenceTableOfManyGroups)->Unit(benchmark::kMillisecond);

} // namespace
