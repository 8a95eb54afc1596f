#include "validation.h"

#include "document.h"
#include "quiz_payloads.h"

namespace {

void AddField(std::vector<DocumentProblem>& out, const AuthoredQuiz& quiz, QuizField field, int row) {
  if (!FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) return;
  for (const TextProblem& problem : CheckTextBytes(field, *FieldText(quiz, field, row)).problems) {
    out.push_back({row, static_cast<int>(field), problem.isError, ProblemText(problem.column, problem.message)});
  }
}

void AddQuiz(std::vector<DocumentProblem>& out, bool isError, const std::string& message) {
  if (!message.empty()) out.push_back({-1, -1, isError, message});
}

}  // namespace

std::vector<DocumentProblem> QuestionProblems(const AuthoredQuiz& quiz, int row) {
  std::vector<DocumentProblem> problems;
  if (row < 0 || row >= static_cast<int>(quiz.questions.size())) return problems;
  for (QuizField field : {QuizField::Question, QuizField::Answer1, QuizField::Answer2, QuizField::Reveal1,
                          QuizField::Reveal2, QuizField::Code}) {
    AddField(problems, quiz, field, row);
  }
  return problems;
}

std::vector<DocumentProblem> ValidateQuiz(const AuthoredQuiz& quiz, bool withSizes) {
  std::vector<DocumentProblem> problems;
  AddQuiz(problems, false, RevealModeWarning(quiz.revealMode));
  for (QuizField field :
       {QuizField::Title, QuizField::Author, QuizField::Explanation, QuizField::ExtraText1, QuizField::ExtraText2}) {
    AddField(problems, quiz, field, -1);
  }
  const size_t count = quiz.questions.size();
  for (size_t row = 0; row < count && row < static_cast<size_t>(MaxQuestions); ++row) {
    for (DocumentProblem& problem : QuestionProblems(quiz, static_cast<int>(row))) problems.push_back(problem);
    if (row == static_cast<size_t>(ScoreCodeSlots)) {
      problems.push_back(
          {static_cast<int>(row), static_cast<int>(QuizField::Code), false, ScoreCodeSlotsWarning(row + 1)});
    }
  }
  AddQuiz(problems, true, QuestionCountError(count));
  AddQuiz(problems, false, NoQuestionWarning(count));
  if (withSizes && !HasErrors(problems)) {
    Diagnostics diagnostics;
    QuizPayloads streams;
    CompressPayloads(EncodePayloads(quiz), streams, diagnostics);
    for (const Diagnostic& d : diagnostics.items) AddQuiz(problems, d.isError, d.message);
  }
  return problems;
}

bool HasErrors(const std::vector<DocumentProblem>& problems) {
  for (const DocumentProblem& problem : problems) {
    if (problem.isError) return true;
  }
  return false;
}
