#include "quiz_loader.h"

#include <algorithm>
#include <cstdlib>

#include "codec.h"
#include "payload.h"

namespace {

// The decoder's buffer for a stored resource, its length cut to the player's
// decoding buffer; nullptr when the codec refuses it. The caller frees it.
uint8_t* DecodeStored(const StoredResource& stored, uint32_t& length) {
  length = 0;
  if (stored.bytes == nullptr || stored.size > UINT32_MAX) return nullptr;
  uint8_t* data = nullptr;
  if (Decompress(stored.bytes, static_cast<uint32_t>(stored.size), &data, &length) != CodecOk) {
    std::free(data);  // a buffer handed out anyway
    return nullptr;
  }
  length = std::min<uint32_t>(length, MaxDecodedPayload);
  return data;
}

}  // namespace

// Spelled in bytes: the web page's compiler (clang) writes literals in UTF-8.
const char* QuizLoadMessage(QuizLoadResult result) {
  switch (result) {
    case QuizLoadResult::QuizUndecodable:
      return "Erreur dans le d\xE9"
             "cryptage des reponses";
    case QuizLoadResult::CodesMissing:
      return "Codes non trouv\xE9"
             "s.";
    case QuizLoadResult::CodesEmpty:
      return "Codes non renseign\xE9"
             "s.";
    case QuizLoadResult::CodesUndecodable:
      return "Erreur dans le d\xE9"
             "cryptage des codes";
    case QuizLoadResult::Loaded: break;
  }
  return nullptr;
}

QuizLoad LoadQuizContent(const StoredResource& quiz, const StoredResource& codes, QuizContent& content) {
  if (!quiz.found || quiz.size == 0) {
    InstallTestQuiz(content);
    return {QuizLoadResult::Loaded, true};
  }
  uint32_t length = 0;
  uint8_t* data = DecodeStored(quiz, length);
  if (data == nullptr) return {QuizLoadResult::QuizUndecodable, false};
  // A payload cut before its colour keeps the current background.
  const bool colourSet = ParseQuizPayload(data, length, content).colourRead;
  std::free(data);
  if (!codes.found) return {QuizLoadResult::CodesMissing, colourSet};
  if (codes.size == 0) return {QuizLoadResult::CodesEmpty, colourSet};
  data = DecodeStored(codes, length);
  if (data == nullptr) return {QuizLoadResult::CodesUndecodable, colourSet};
  ParseScoreCodes(data, length, content);
  std::free(data);
  return {QuizLoadResult::Loaded, colourSet};
}
