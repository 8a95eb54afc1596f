#include "support/windows_fixture.h"

#include <fstream>
#include <iterator>

namespace {

HWND pumpedDialog = nullptr;  // the panel whose dialog keys PumpMessages hands over
FillQuiz playerFill;          // StartPlayer takes a plain function: this one calls it

void FillFromFixture(Quiz* quiz) { playerFill(*quiz); }

// The files of the current directory: counted, or deleted.
int VisitFiles(bool remove) {
  int count = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*", &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    ++count;
    if (!remove) continue;
    SetFileAttributesA(found.cFileName, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(found.cFileName);
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return count;
}

}  // namespace

void AddQuestions(Quiz& quiz, const QuestionRow* rows, int rowCount, int questionCount, int answersPerQuestion) {
  for (int k = 0; k < rowCount; ++k) quiz.appendQuestion(rows[k].answer1, rows[k].answer2, rows[k].text);
  quiz.questionCount = questionCount;
  quiz.answersPerQuestion = answersPerQuestion;
}

WindowsFixture::WindowsFixture() {
  char name[260];
  AnswersFilePath(name);
  answersFile = name;
  static int serial = 0;
  GetCurrentDirectoryA(sizeof previousDirectory_, previousDirectory_);
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  wsprintfA(directory_, "%sludex-test-%lu-%d", base, GetCurrentProcessId(), ++serial);
  CreateDirectoryA(directory_, nullptr);
  SetCurrentDirectoryA(directory_);
}

WindowsFixture::~WindowsFixture() {
  EndPlayer();
  if (parent_ != nullptr) {
    DestroyWindow(parent_);
    delete currentQuiz;
    currentQuiz = nullptr;
  }
  pumpedDialog = nullptr;
  VisitFiles(true);
  SetCurrentDirectoryA(previousDirectory_);
  RemoveDirectoryA(directory_);
}

HWND WindowsFixture::OpenPanel(const FillQuiz& fill, int width, int height, int templateId, DLGPROC procedure) {
  currentQuiz = new Quiz();
  fill(*currentQuiz);
  parent_ = CreateWindowExA(0, "Static", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1100, 700, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent_, procedure, 0);
  SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
  ShowWindow(panel, SW_SHOWNORMAL);
  pumpedDialog = panel;
  PumpMessages();
  return panel;
}

bool WindowsFixture::StartPlayer(const FillQuiz& fill) {
  playerFill = fill;
  playing_ = ::StartPlayer(GetModuleHandleA(nullptr), FillFromFixture);
  panel = pumpedDialog = questionPanelWindow;
  PumpMessages();
  return playing_;
}

void WindowsFixture::EndPlayer() {
  if (playing_) ::EndPlayer();
  playing_ = false;
  panel = pumpedDialog = nullptr;
}

std::string WindowsFixture::Text(HWND window, int id) {
  static char text[40000];
  text[0] = 0;
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

std::string WindowsFixture::ReadAnswersFile() const {
  std::ifstream file(answersFile, std::ios::binary);
  return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

void WindowsFixture::WriteAnswersFile(const std::string& bytes) const {
  std::ofstream(answersFile, std::ios::binary) << bytes;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT || (pumpedDialog != nullptr && IsDialogMessageA(pumpedDialog, &message))) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int CountFiles() { return VisitFiles(false); }

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::tuple<int, int, int, int> Place(HWND child) {
  RECT r = ChildRect(child);
  return std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void SetClientSize(HWND window, int width, int height) {
  RECT rect = {0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
}
