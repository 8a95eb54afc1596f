// The one quiz of the process, with the fonts and brushes that the panels share.
#pragma once
#include <windows.h>

#include "quiz_content.h"

struct Quiz : QuizContent {
  HFONT answerFont = nullptr;  // made by the question panel (CreateAnswerFont)
  HFONT scoreFont = nullptr;
  HFONT titleFont = nullptr;
  HBRUSH backgroundBrush = nullptr;
  HBRUSH brushRed = nullptr;         // "FAUX"
  HBRUSH brushGreen = nullptr;       // "BRAVO"
  HBRUSH brushOrange = nullptr;      // "Anagramme"
  HBRUSH brushGold = nullptr;        // the hint words
  HBRUSH brushPaleYellow = nullptr;  // question labels
  HWND headerPanel = nullptr;

  Quiz();   // creates scoreFont, titleFont, then the six brushes
  ~Quiz();  // deletes the six brushes and the question list; fonts are never deleted

  // Sets the background colour and replaces backgroundBrush by a brush of it.
  void setBackground(uint8_t red, uint8_t green, uint8_t blue);

  // Operations on the question panel's controls, defined with the panel.
  void CreateAnswerFont();
  void JudgeAnswer(HWND panel, int answerFieldId);  // the verdict on one answer field
  void UpdateScore(HWND panel);                     // score label and score code
  void FillUnsolved(HWND panel, int answerFieldId);  // F1 in that field
  // The panel's rowCount rows just built: the answers file's lines into their
  // fields, each judged, the focus left in the first.
  void RestoreAnswers(HWND panel, int rowCount, const uint8_t* bytes, size_t size);
};

// The one quiz of the process: start-up creates it before the first window
// and destroys it after the last, so every window procedure may use it.
extern Quiz* currentQuiz;

// Fills the quiz from the PATCH resources 104 and 105 of the program's own
// image, or installs the built-in test quiz; failures are told in message boxes.
void LoadQuiz(Quiz* quiz);
