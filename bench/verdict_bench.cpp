// The dearest verdict: two 259-byte texts that differ at every byte, so both
// distances and both sorts run over the full length and no row stops early.
#include <benchmark/benchmark.h>

#include <string>

#include "verdict.h"

namespace {

void BM_VerdictWorstCase(benchmark::State& state) {
  std::string expected;
  std::string typed;
  for (int i = 0; i < 259; ++i) {
    expected += static_cast<char>('A' + (258 - i) % 13);  // descending runs: the sort's worst
    typed += static_cast<char>('N' + (258 - i) % 13);     // no byte in common with expected
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(ChooseVerdict(expected.c_str(), typed.c_str()));
  }
}
BENCHMARK(BM_VerdictWorstCase)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
