// The verdict against the oracle (the verdict as first written), in the same
// run: the pair the oracle finds dearest, two 259-byte texts that differ at
// every byte (both sorts and the whole table run over the full length), and
// the pair the player's verdict finds dearest, two 259-byte texts at the
// largest distance that it still computes (51 substitutions, spread out).
#include <benchmark/benchmark.h>

#include <string>

#include "verdict.h"
#include "verdict_oracle.h"

namespace {

struct Pair {
  std::string expected, typed;
};

Pair DifferEverywhere() {
  Pair pair;
  for (int i = 0; i < 259; ++i) {
    pair.expected += static_cast<char>('A' + (258 - i) % 13);  // descending runs: the sort's worst
    pair.typed += static_cast<char>('N' + (258 - i) % 13);     // no byte in common with expected
  }
  return pair;
}

Pair AtTheBound() {
  Pair pair = DifferEverywhere();
  pair.typed = pair.expected;
  for (int i = 7; i < 259; i += 5) pair.typed[i] = 'z';  // 51 substitutions: the bound for 259 bytes
  return pair;
}

template <const char* (*Verdict)(const char*, const char*), Pair (*Make)()>
void BM_Verdict(benchmark::State& state) {
  const Pair pair = Make();
  for (auto _ : state) benchmark::DoNotOptimize(Verdict(pair.expected.c_str(), pair.typed.c_str()));
}
BENCHMARK_TEMPLATE(BM_Verdict, OracleVerdict, DifferEverywhere)
    ->Name("oracle/differ_everywhere")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Verdict, ChooseVerdict, DifferEverywhere)
    ->Name("player/differ_everywhere")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Verdict, OracleVerdict, AtTheBound)->Name("oracle/at_the_bound")->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Verdict, ChooseVerdict, AtTheBound)->Name("player/at_the_bound")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
