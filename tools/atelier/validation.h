// What breaks a limit in the quiz being edited, in the words of
// `ludex-pack check`, placed on a row and a field instead of a source line.
#pragma once
#include <vector>

#include "quiz_fit.h"
#include "quiz_payloads.h"
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

// What the sizes of a quiz's payloads break, as `ludex-pack build` finds
// them: their plain sizes; with compress, the compressed sizes too, where
// they may pass the player's limits (compressing a large quiz takes tens of
// milliseconds: not for every keystroke).
std::vector<QuizProblem> SizeProblems(const QuizPayloads& payloads, bool compress);
bool CompressedSizesMayPass(const QuizPayloads& payloads);
