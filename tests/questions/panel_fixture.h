// A real question panel in a real parent window, in a temporary current
// directory where the answers file of the test program can be written.
#pragma once
#include <windows.h>

#include <string>

#include "app/app.h"
#include "questions/question_panel.h"

struct QuestionData {
  const char* answer1;
  const char* answer2;
  const char* text;
};

class PanelFixture {
 public:
  PanelFixture();
  ~PanelFixture();

  // A quiz of the given questions (the list may be shorter than questionCount).
  Quiz& MakeQuiz(const QuestionData* questions, int recordCount, int questionCount, int answersPerQuestion = 1);
  void WriteAnswersFile(const std::string& bytes);
  std::string ReadAnswersFile() const;
  // Creates the panel (template 1001) and gives it width by height pixels.
  HWND OpenPanel(int width = 500, int height = 300);
  void Pump();  // runs the posted messages through the dialog navigation

  std::string Text(int id) const;
  RECT ClientBox(HWND control) const;  // in panel client coordinates
  int Position(int bar) const;          // in-process GetScrollInfo
  SCROLLINFO Info(int bar) const;

  HWND parent = nullptr;
  HWND panel = nullptr;
  Quiz* quiz = nullptr;

 private:
  char previousDirectory[MAX_PATH] = {};
  std::string directory;
  std::string answersName;
};
