#include "panel_fixture.h"

#include <fstream>
#include <iterator>

#include "app/answers_file.h"

namespace {

const char ParentClass[] = "LudexQuestionsTestParent";

void RegisterParentClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = ParentClass;
  RegisterClassA(&windowClass);
  registered = true;
}

}  // namespace

PanelFixture::PanelFixture() {
  static int serial = 0;
  GetCurrentDirectoryA(MAX_PATH, previousDirectory);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  directory = std::string(temp) + "ludex-questions-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++serial);
  CreateDirectoryA(directory.c_str(), nullptr);
  SetCurrentDirectoryA(directory.c_str());
  char path[MAX_PATH];
  char name[260];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  AnswersFileName(path, name);
  answersName = name;
  RegisterParentClass();
  parent = CreateWindowExA(0, ParentClass, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

PanelFixture::~PanelFixture() {
  DestroyWindow(parent);
  delete quiz;
  currentQuiz = nullptr;
  DeleteFileA(answersName.c_str());
  SetCurrentDirectoryA(previousDirectory);
  RemoveDirectoryA(directory.c_str());
}

Quiz& PanelFixture::MakeQuiz(const QuestionData* questions, int recordCount, int questionCount,
                             int answersPerQuestion) {
  quiz = new Quiz();
  for (int k = 0; k < recordCount; ++k) {
    quiz->appendQuestion(questions[k].answer1, questions[k].answer2, questions[k].text);
  }
  quiz->questionCount = questionCount;
  quiz->answersPerQuestion = answersPerQuestion;
  currentQuiz = quiz;
  return *quiz;
}

void PanelFixture::WriteAnswersFile(const std::string& bytes) {
  std::ofstream(answersName, std::ios::binary) << bytes;
}

std::string PanelFixture::ReadAnswersFile() const {
  std::ifstream file(answersName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

HWND PanelFixture::OpenPanel(int width, int height) {
  panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1001), parent, QuestionPanelProc, 0);
  SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
  ShowWindow(panel, SW_SHOWNORMAL);
  Pump();
  return panel;
}

void PanelFixture::Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageA(panel, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

std::string PanelFixture::Text(int id) const {
  char text[600] = {};
  GetDlgItemTextA(panel, id, text, sizeof text);
  return text;
}

RECT PanelFixture::ClientBox(HWND control) const {
  RECT box;
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&box), 2);
  return box;
}

SCROLLINFO PanelFixture::Info(int bar) const {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(panel, bar, &info);
  return info;
}

int PanelFixture::Position(int bar) const { return Info(bar).nPos; }
