#include <cstdlib>

#include "codec.h"
#include "payload.h"
#include "quiz.h"

namespace {

void ShowLoaderMessage(const char* text) { MessageBoxA(NULL, text, "Ludex", 0); }

void ShowCodecNotice(const char* text, const char* caption) { MessageBoxA(NULL, text, caption, 0); }

// The decoder's buffer and the bytes it holds, or nullptr on failure (the
// buffer it may have handed out anyway is released here).
uint8_t* DecompressResource(HRSRC resource, DWORD size, uint32_t& length) {
  const uint8_t* stored = reinterpret_cast<const uint8_t*>(LoadResource(NULL, resource));
  if (stored == nullptr) return nullptr;
  uint8_t* data = nullptr;
  length = 0;
  int result = Decompress(stored, size, &data, &length);
  if (result != CodecOk) {
    std::free(data);
    return nullptr;
  }
  if (length > MaxDecodedPayload) length = MaxDecodedPayload;
  return data;
}

}  // namespace

void LoadQuiz(Quiz* quiz) {
  SetCodecNotice(ShowCodecNotice);

  HRSRC quizResource = FindResourceA(NULL, MAKEINTRESOURCEA(QuizResourceId), QuizResourceType);
  DWORD quizSize = quizResource != NULL ? SizeofResource(NULL, quizResource) : 0;
  if (quizSize == 0) {
    InstallTestQuiz(*quiz);
    quiz->setBackground(quiz->backgroundRed, quiz->backgroundGreen, quiz->backgroundBlue);
    return;
  }

  uint32_t length = 0;
  uint8_t* data = DecompressResource(quizResource, quizSize, length);
  if (data == nullptr) {
    ShowLoaderMessage("Erreur dans le décryptage des reponses");
    return;
  }
  QuizPayloadResult parsed = ParseQuizPayload(data, length, *quiz);
  // A payload cut before its colour keeps the current background and brush.
  if (parsed.colourRead) quiz->setBackground(quiz->backgroundRed, quiz->backgroundGreen, quiz->backgroundBlue);
  std::free(data);

  HRSRC codesResource = FindResourceA(NULL, MAKEINTRESOURCEA(ScoreCodesResourceId), QuizResourceType);
  if (codesResource == NULL) {
    ShowLoaderMessage("Codes non trouvés.");
    return;
  }
  DWORD codesSize = SizeofResource(NULL, codesResource);
  if (codesSize == 0) {
    ShowLoaderMessage("Codes non renseignés.");
    return;
  }
  data = DecompressResource(codesResource, codesSize, length);
  if (data == nullptr) {
    ShowLoaderMessage("Erreur dans le décryptage des codes");
    return;
  }
  ParseScoreCodes(data, length, *quiz);
  std::free(data);
}
