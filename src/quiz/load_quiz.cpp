#include "codec.h"
#include "quiz.h"
#include "quiz_loader.h"

namespace {

void ShowCodecNotice(const char* text, const char* caption) { MessageBoxA(NULL, text, caption, 0); }

// A resource of this program's PATCH type, as the loader wants it.
StoredResource FindStoredResource(int id) {
  HRSRC resource = FindResourceA(NULL, MAKEINTRESOURCEA(id), QuizResourceType);
  if (resource == NULL) return {false, nullptr, 0};
  const DWORD size = SizeofResource(NULL, resource);
  const uint8_t* bytes = size > 0 ? reinterpret_cast<const uint8_t*>(LoadResource(NULL, resource)) : nullptr;
  return {true, bytes, size};
}

}  // namespace

void LoadQuiz(Quiz* quiz) {
  SetCodecNotice(ShowCodecNotice);
  const QuizLoad load =
      LoadQuizContent(FindStoredResource(QuizResourceId), FindStoredResource(ScoreCodesResourceId), *quiz);
  if (load.colourSet) quiz->setBackground(quiz->backgroundRed, quiz->backgroundGreen, quiz->backgroundBlue);
  const char* message = QuizLoadMessage(load.result);
  if (message != nullptr) MessageBoxA(NULL, message, "Ludex", 0);
}
