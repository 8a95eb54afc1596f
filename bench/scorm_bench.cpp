// The SCORM package and what the page sends a school's platform, natively:
// the package of a 255-question quiz (its size as a counter: every byte of it
// goes to the platform), and the platform's text of 255 answers, made again
// after each verdict (answers of ten letters drawn at random, the least
// compressible kind, and the same number of real words).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "page_template.h"
#include "quiz_program.h"
#include "quiz_source.h"
#include "scorm_package.h"
#include "suspend_data.h"

namespace {

const char* const Capitals[] = {"Paris", "Madrid", "Rome", "Lisbonne", "Berlin", "Bruxelles", "Amsterdam",
                                "Vienne", "Varsovie", "Athenes", "Dublin", "Prague", "Budapest", "Helsinki"};

void Package(benchmark::State& state) {
  std::string source = "titre: Banc d'essai du paquet SCORM\nauteur: Ludex\nmode revelation: 2\n";
  for (int k = 1; k <= 255; ++k) {
    source += "question: Question numero " + std::to_string(k) + " : quelle est la capitale ?\nreponse: " +
              Capitals[k % 14] + "\nrevelation: Un texte revele, le " + std::to_string(k) + "e.\ncode: C" +
              std::to_string(k) + "\n";
  }
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  QuizPayloads streams;
  const std::string pageTemplate = BuiltPageTemplate();
  if (pageTemplate.empty() || !ParseQuizSource(source, quiz, diagnostics) || !PackQuiz(quiz, streams, diagnostics)) {
    state.SkipWithError("no page template or no quiz");
    return;
  }
  std::string package, error;
  for (auto _ : state) {
    MakeScormPackage(pageTemplate, streams, quiz.title, package, error);
    benchmark::DoNotOptimize(package.data());
  }
  state.counters["bytes"] = static_cast<double>(package.size());
}

void PlatformText(benchmark::State& state) {
  std::mt19937 random(7);
  std::vector<std::string> answers;
  for (int k = 0; k < 255; ++k) {
    std::string answer;
    if (state.range(0) == 0) {
      for (int c = 0; c < 10; ++c) answer += static_cast<char>('a' + random() % 26);
    } else {
      answer = Capitals[random() % 14];
    }
    answers.push_back(answer);
  }
  SuspendData data;
  for (auto _ : state) {
    data = EncodeSuspendData(answers, 1);
    benchmark::DoNotOptimize(data.text.data());
  }
  state.counters["characters"] = static_cast<double>(data.text.size());
}

}  // namespace

BENCHMARK(Package)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(PlatformText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
