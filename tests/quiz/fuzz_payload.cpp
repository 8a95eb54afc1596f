// Any byte string, read as the quiz resource and then as the codes resource
// of the quiz it gave: no crash, no read or write out of bounds, and the
// list always holds questionCount records.
#include <cstdint>
#include <cstring>

#include "payload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t length = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
  QuizContent quiz;
  ParseQuizPayload(data, length, quiz);

  int32_t records = 0;
  for (QuestionRecord* r = quiz.firstQuestion; r != nullptr; r = r->next) {
    if (std::strlen(r->answer1) > MaxTextLength || std::strlen(r->answer2) > MaxTextLength ||
        std::strlen(r->questionText) > MaxTextLength || std::strlen(r->revealText) > MaxTextLength) {
      __builtin_trap();
    }
    ++records;
  }
  if (records != quiz.questionCount) __builtin_trap();
  if (std::strlen(quiz.title) > MaxTextLength || std::strlen(quiz.extraText2) > MaxTextLength) __builtin_trap();

  // The same bytes as code lines, for as many questions as the quiz has (up
  // to 255, so past the 96 slots too).
  int32_t sentinel = quiz.revealMode;
  ParseScoreCodes(data, length, quiz);
  if (quiz.revealMode != sentinel) __builtin_trap();
  for (const auto& code : quiz.scoreCodes)
    if (std::strlen(code) > MaxTextLength) __builtin_trap();
  return 0;
}
