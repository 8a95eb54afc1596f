// The answers file on disk. Saving writes a temporary file named after it
// first and replaces the answers file only once it is complete, so a full disk
// or a locked file never costs the previous answers.
#include "answers_file_win32.h"

#include "file_replacement.h"
#include "panel_controls.h"
#include "quiz.h"

namespace {

// The answer fields count: read afresh before each field, as the quiz may be
// changed by the fields' own handling while we save.
long long AnswerFieldCount() {
  if (currentQuiz == nullptr) return 0;
  return static_cast<long long>(currentQuiz->questionCount) * currentQuiz->answersPerQuestion;
}

bool WriteAnswerLines(FileReplacement& file, HWND questionPanel) {
  // Saving makes and destroys no control: one walk of the panel at most.
  PanelLookup lookup = {questionPanel, false};
  for (long long k = 1; k <= AnswerFieldCount(); ++k) {
    char text[TextSize] = "";
    HWND field = FindRowControl(lookup, IDC_ANSWER_BASE + static_cast<int>(k));
    if (field != nullptr) GetWindowTextA(field, text, sizeof text);
    char line[264];
    int length = wsprintfA(line, "%s\r\n", text);
    if (!WriteFileReplacement(file, line, static_cast<size_t>(length))) return false;
  }
  return true;
}

}  // namespace

void AnswersFilePath(char name[260]) {
  char programPath[260] = {};
  GetModuleFileNameA(nullptr, programPath, sizeof programPath);
  programPath[259] = 0;
  AnswersFileName(programPath, name);
}

void OpenSavedAnswers(SavedAnswers& saved) {
  char name[260];
  AnswersFilePath(name);
  saved.file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (saved.file == INVALID_HANDLE_VALUE) return;
  DWORD size = GetFileSize(saved.file, nullptr);
  // An empty file cannot be mapped: it counts as no saved answers.
  saved.mapping = CreateFileMappingA(saved.file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (saved.mapping == nullptr) return;
  saved.bytes = static_cast<const uint8_t*>(MapViewOfFile(saved.mapping, FILE_MAP_READ, 0, 0, 0));
  if (saved.bytes != nullptr && size != INVALID_FILE_SIZE) saved.size = size;
}

void CloseSavedAnswers(SavedAnswers& saved) {
  if (saved.bytes != nullptr) UnmapViewOfFile(saved.bytes);
  if (saved.mapping != nullptr) CloseHandle(saved.mapping);
  if (saved.file != INVALID_HANDLE_VALUE) CloseHandle(saved.file);
  saved = SavedAnswers();
}

void SaveAnswers(HWND questionPanel) {
  char answersName[260];
  AnswersFilePath(answersName);

  // A read-only answers file stays as it is (Windows refuses to replace it;
  // some other systems would not).
  DWORD attributes = GetFileAttributesA(answersName);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;

  // When no temporary can be made in this folder but the answers file itself
  // can be written, it is written in place rather than the answers lost.
  FileReplacement file;
  if (!BeginFileReplacement(file, answersName, NoTemporary::WriteInPlace)) return;
  if (WriteAnswerLines(file, questionPanel)) {
    CommitFileReplacement(file);
  } else {
    AbandonFileReplacement(file);
  }
}
