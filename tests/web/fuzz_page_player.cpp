// The web page's player on hostile answers files and typed texts: the first
// byte picks the quiz, the rest is restored, offered and taken from another
// tab as an answers file, then read as operations on the fields (set a text,
// judge, F1) with ids in and out of range.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "page_player.h"
#include "quiz_payloads.h"
#include "quiz_source.h"

namespace {

const char* const Sources[] = {
    "titre: T\nmode revelation: 2\nquestion: Q\nreponse: Paris\nrevelation: r\ncode: C\n"
    "question: Q\nreponse: Rome\nrevelation: r2\ncode: D\n",
    "titre: T\nreponses par question: 2\nmode revelation: 4\nquestion: Q\nreponse: H\nreponse2: 1\nrevelation: a\n"
    "code: C\nquestion: Q\nreponse: He\nreponse2: 2\nrevelation: b\ncode: D\n",
    "titre: T\nquestions visibles: non\nmode revelation: 3\nquestion: Q\nreponse: x\nrevelation: a\nrevelation2: b\n"
    "code: C\n",
};

const QuizPayloads& Streams(size_t which) {
  static QuizPayloads streams[3];
  static bool made = false;
  if (!made) {
    for (size_t k = 0; k < 3; ++k) {
      AuthoredQuiz quiz;
      Diagnostics diagnostics;
      if (ParseQuizSource(Sources[k], quiz, diagnostics)) {
        CompressPayloads(EncodePayloads(quiz), streams[k], diagnostics);
      }
    }
    made = true;
  }
  return streams[which % 3];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QuizPayloads& streams = Streams(data[0]);
  PagePlayer player;
  player.load(streams.quiz.data(), streams.quiz.size(), streams.codes.data(), streams.codes.size());
  player.restore(data + 1, size - 1);
  player.offer("f", data + 1, size - 1, static_cast<long long>(data[0]) - 1);
  player.resumeOffer();
  for (size_t k = 1; k + 2 < size; k += 3) {
    const int id = 3995 + data[k + 1] % 12;
    const size_t length = data[k + 2];
    switch (data[k] % 3) {
      case 0:
        player.setField(id, std::string(reinterpret_cast<const char*>(data + k), std::min(length, size - k)));
        break;
      case 1: player.judge(id); break;
      default: player.fillUnsolved(id); break;
    }
  }
  player.takeKept(data + 1, size - 1);
  player.mergeForStore(data, size);
  player.undoResume();
  player.verdictAnnouncement(3995 + data[0] % 12, true);
  player.answersFile();
  return 0;
}
