// What breaks a limit in the quiz being edited, in the words of
// `ludex-pack check`, placed on a row and a field instead of a source line.
#pragma once
#include <string>
#include <vector>

#include "quiz_rules.h"
#include "quiz_source.h"

struct DocumentProblem {
  int row = -1;    // the question's row; -1: the header or the quiz as a whole
  int field = -1;  // a QuizField; -1: no one field
  bool isError = true;
  std::string message;  // Windows-1252, with "colonne N : " when it points at a character
};

// The problems of one question under the quiz's settings (answers per
// question, reveal mode): every field in use, each with CheckTextBytes.
std::vector<DocumentProblem> QuestionProblems(const AuthoredQuiz& quiz, int row);

// The whole quiz, as `ludex-pack check` judges the source Save would write:
// the header texts, every question, the question count, the score-code
// slots, the reveal mode; then, when no error is left and withSizes, the
// packed sizes (which compress the quiz: not for every keystroke).
std::vector<DocumentProblem> ValidateQuiz(const AuthoredQuiz& quiz, bool withSizes);

bool HasErrors(const std::vector<DocumentProblem>& problems);
