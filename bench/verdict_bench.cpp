// The verdict against the oracle (the verdict as first written), in the same
// run: the pair the oracle finds dearest, two 259-byte texts that differ at
// every byte (both sorts and the whole table run over the full length), and
// the pair the player's verdict finds dearest, two 259-byte texts at the
// largest distance that it still computes (51 substitutions, spread out).
// Then a field with accepted answers, at its dearest: the typed text at the
// bound from the expected answer and from each of 1 or 16 accepted answers
// as long, so that none is right and every one is measured.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "accepted_answers.h"
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

void BM_AcceptedAnswers(benchmark::State& state) {
  const Pair pair = AtTheBound();
  std::vector<std::string> answers;
  for (int k = 0; k < state.range(0); ++k) {
    std::string answer = pair.expected;
    answer[static_cast<size_t>(3 + k)] = 'y';  // each its own text, as far from the typed one
    answers.push_back(answer);
  }
  std::vector<uint8_t> block;
  AppendAcceptedBlock(block, {{1, answers}});
  std::vector<AcceptedAnswers> read;
  ReadAcceptedBlock(block.data(), static_cast<uint32_t>(block.size()), 0, 1, read);
  for (auto _ : state)
    benchmark::DoNotOptimize(ChooseBestVerdict(pair.expected.c_str(), &read[0], pair.typed.c_str()));
}
BENCHMARK(BM_AcceptedAnswers)->Name("player/accepted_answers")->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
