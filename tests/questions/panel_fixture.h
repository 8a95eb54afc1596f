// A real question panel in a real parent window, in a temporary current
// directory where the answers file of the test program can be written.
#pragma once
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "answers_file_win32.h"
#include "app.h"
#include "question_panel.h"

struct QuestionData { const char *answer1, *answer2, *text; };

class PanelFixture {
 public:
  PanelFixture() {
    static int serial = 0;
    GetCurrentDirectoryA(MAX_PATH, previousDirectory);
    char temp[MAX_PATH], name[260];
    GetTempPathA(MAX_PATH, temp);
    directory = std::string(temp) + "ludex-questions-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
    CreateDirectoryA(directory.c_str(), nullptr);
    SetCurrentDirectoryA(directory.c_str());
    AnswersFilePath(name);
    answersName = name;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LudexQuestionsTestParent";
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    parent = CreateWindowExA(0, windowClass.lpszClassName, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700,
                             500, nullptr, nullptr, windowClass.hInstance, nullptr);
  }
  ~PanelFixture() {
    DestroyWindow(parent);
    delete quiz;
    currentQuiz = nullptr;
    DeleteFileA(answersName.c_str());
    SetCurrentDirectoryA(previousDirectory);
    RemoveDirectoryA(directory.c_str());
  }
  // A quiz of the given questions (the list may be shorter than questionCount).
  Quiz& MakeQuiz(const QuestionData* questions, int recordCount, int questionCount, int answersPerQuestion = 1) {
    quiz = new Quiz();
    for (int k = 0; k < recordCount; ++k)
      quiz->appendQuestion(questions[k].answer1, questions[k].answer2, questions[k].text);
    quiz->questionCount = questionCount;
    quiz->answersPerQuestion = answersPerQuestion;
    return *(currentQuiz = quiz);
  }
  void WriteAnswersFile(const std::string& bytes) { std::ofstream(answersName, std::ios::binary) << bytes; }
  std::string ReadAnswersFile() const {
    std::ifstream file(answersName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  // Creates the panel (template 1001) and gives it width by height pixels.
  HWND OpenPanel(int width = 500, int height = 300) {
    panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1001), parent, QuestionPanelProc, 0);
    SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
    ShowWindow(panel, SW_SHOWNORMAL);
    Pump();
    return panel;
  }
  void Pump() {  // runs the posted messages through the dialog navigation
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
      if (!IsDialogMessageA(panel, &message)) TranslateMessage(&message), DispatchMessageA(&message);
  }
  HWND Item(int id) const { return GetDlgItem(panel, id); }
  std::string Text(int id) const {
    char text[600] = {};
    GetDlgItemTextA(panel, id, text, sizeof text);
    return text;
  }
  RECT ClientBox(HWND control) const {  // in panel client coordinates
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&box), 2);
    return box;
  }
  SCROLLINFO Info(int bar) const {
    SCROLLINFO info = {sizeof info, SIF_ALL};
    GetScrollInfo(panel, bar, &info);
    return info;
  }
  int Position(int bar) const { return Info(bar).nPos; }

  HWND parent = nullptr, panel = nullptr;
  Quiz* quiz = nullptr;

 private:
  char previousDirectory[MAX_PATH] = {};
  std::string directory, answersName;
};
