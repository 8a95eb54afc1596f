// What breaks a limit in the quiz being edited, in the words of
// `ludex-pack check`, placed on a row and a field instead of a source line.
#pragma once
#include <vector>

#include "quiz_fit.h"
#include "quiz_rules.h"

// The problems of one question under the quiz's settings (answers per
// question, reveal mode): every field in use, each with CheckTextBytes.
std::vector<QuizProblem> QuestionProblems(const AuthoredQuiz& quiz, int row);

// The whole quiz, as `ludex-pack check` judges the source Save would write:
// the header texts, every question, the quiz-wide rules (the one check the
// source reader makes too), and with fit the texts the player will cut;
// then, when no error is left and withSizes, the packed sizes (which
// compress the quiz: not for every keystroke).
std::vector<QuizProblem> ValidateQuiz(const AuthoredQuiz& quiz, bool withSizes, const PlayerMetrics* fit = nullptr);
