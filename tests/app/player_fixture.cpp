#include "app/player_fixture.h"

#include <cstdio>

const char testAnswersFile[] = "app_windows_test.txt";

void FillThreeQuestions(Quiz* quiz) {
  lstrcpyA(quiz->title, "Capitales d'Europe");
  lstrcpyA(quiz->author, "Jeanne Martin");
  lstrcpyA(quiz->explanation, "Trouvez la capitale de chaque pays.");
  quiz->questionCount = 3;
  quiz->answersPerQuestion = 1;
  quiz->appendQuestion("PARIS", "", "France ?");
  quiz->appendQuestion("ROME", "", "Italie ?");
  quiz->appendQuestion("MADRID", "", "Espagne ?");
}

ScratchDirectory::ScratchDirectory() {
  GetCurrentDirectoryA(sizeof previous_, previous_);
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  static int serial = 0;
  wsprintfA(path_, "%sludex-app-%lu-%d", base, GetCurrentProcessId(), ++serial);
  CreateDirectoryA(path_, nullptr);
  SetCurrentDirectoryA(path_);
}

ScratchDirectory::~ScratchDirectory() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      SetFileAttributesA(found.cFileName, FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(found.cFileName);
      RemoveDirectoryA(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetCurrentDirectoryA(previous_);
  RemoveDirectoryA(path_);
}

std::string ReadWholeFile(const char* name) {
  FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return "<missing>";
  std::string bytes;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
  std::fclose(file);
  return bytes;
}

void WriteWholeFile(const char* name, const std::string& bytes) {
  FILE* file = std::fopen(name, "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

bool FileExists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

int CountFiles() {
  int count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    if (!IsDialogMessageA(questionPanelWindow, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void SetClientSize(HWND window, int width, int height) {
  RECT rect = {0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
}
