// The answers a school's platform hands back, whatever it hands: read as the
// platform's text, and restored with the same bytes as the browser's answers
// file. A text that reads is written back the same; nothing else may crash
// or read past a buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "page_player.h"
#include "quiz_payloads.h"
#include "quiz_source.h"

namespace {

const QuizPayloads& Streams() {
  static QuizPayloads streams;
  static bool made = false;
  if (!made) {
    AuthoredQuiz quiz;
    Diagnostics diagnostics;
    if (ParseQuizSource("titre: T\nreponses par question: 2\nquestion: Q\nreponse: Paris\nreponse2: 1\ncode: C\n"
                        "question: Q\nreponse: Rome\nreponse2: 2\ncode: D\n",
                        quiz, diagnostics)) {
      CompressPayloads(EncodePayloads(quiz), streams, diagnostics);
    }
    made = true;
  }
  return streams;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> answers;
  if (DecodeSuspendData(text, answers)) {
    std::vector<std::string> again;
    if (!DecodeSuspendData(EncodeSuspendData(answers, 2).text, again) || again != answers) __builtin_trap();
  }
  PagePlayer player;
  const QuizPayloads& streams = Streams();
  player.load(streams.quiz.data(), streams.quiz.size(), streams.codes.data(), streams.codes.size());
  player.restoreWithPlatform(text, data, size);
  if (player.offerBrowserAnswers()) player.resumeOffer();
  player.takeInteractions();
  player.suspendData();
  return 0;
}
