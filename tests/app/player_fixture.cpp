#include "app/player_fixture.h"

#include <fstream>
#include <iterator>

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

namespace {

// Calls visit on every entry of the current directory; returns how many are files.
template <typename Visit>
int ForEachEntry(Visit visit) {
  int count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    visit(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

}  // namespace

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
  ForEachEntry([](const char* name) {
    SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(name);
    RemoveDirectoryA(name);
  });
  SetCurrentDirectoryA(previous_);
  RemoveDirectoryA(path_);
}

std::string ReadWholeFile(const char* name) {
  std::ifstream file(name, std::ios::binary);
  return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

void WriteWholeFile(const char* name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

bool FileExists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

int CountFiles() {
  return ForEachEntry([](const char*) {});
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || IsDialogMessageA(questionPanelWindow, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
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
