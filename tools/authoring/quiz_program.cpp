#include "quiz_program.h"

#include <algorithm>

#include "player_image.h"
#include "quiz_format.h"

bool IsProgramFile(const std::string& bytes) { return bytes.compare(0, 2, "MZ") == 0; }

bool PackQuiz(const AuthoredQuiz& quiz, QuizPayloads& streams, Diagnostics& diagnostics) {
  return CompressPayloads(EncodePayloads(quiz), streams, diagnostics);
}

int RoomTakenPercent(const AuthoredQuiz& quiz, const QuizPayloads& streams) {
  const QuizPayloads payloads = EncodePayloads(quiz);
  const auto percent = [](size_t size, size_t limit) { return static_cast<int>((size * 100 + limit - 1) / limit); };
  return std::max({percent(payloads.quiz.size(), MaxPlainPayload), percent(payloads.codes.size(), MaxPlainPayload),
                   percent(streams.quiz.size(), MaxCompressedPayload),
                   percent(streams.codes.size(), MaxCompressedPayload)});
}

BuiltQuizRead ReadBuiltQuiz(const Bytes& program, BuiltQuiz& built, std::string& error) {
  if (!ReadQuizResources(program, built.streams, error)) {
    return error == NotAQuizProgram ? BuiltQuizRead::NotAQuiz : BuiltQuizRead::Unreadable;
  }
  return DecodeBuiltQuiz(built);
}

BuiltQuizRead DecodeBuiltQuiz(BuiltQuiz& built) {
  if (!DecompressStreams(built.streams, built.payloads, built.diagnostics)) return BuiltQuizRead::Undecodable;
  built.whole = DecodePayloads(built.payloads.quiz, built.payloads.codes, built.quiz, built.diagnostics);
  return BuiltQuizRead::Read;
}
