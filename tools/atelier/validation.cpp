#include "validation.h"

namespace {

void Append(std::vector<QuizProblem>& out, const std::vector<QuizProblem>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

// The problems of one rule, or of one row.
std::vector<QuizProblem> OfRule(const std::vector<QuizProblem>& problems, QuizRule rule) {
  std::vector<QuizProblem> found;
  for (const QuizProblem& problem : problems) {
    if (problem.rule == rule) found.push_back(problem);
  }
  return found;
}
std::vector<QuizProblem> OfRow(const std::vector<QuizProblem>& problems, int row) {
  std::vector<QuizProblem> found;
  for (const QuizProblem& problem : problems) {
    if (problem.row == row) found.push_back(problem);
  }
  return found;
}

}  // namespace

std::vector<QuizProblem> QuestionProblems(const AuthoredQuiz& quiz, int row) {
  std::vector<QuizProblem> problems;
  if (row < 0 || row >= static_cast<int>(quiz.questions.size())) return problems;
  for (QuizField field : {QuizField::Question, QuizField::Answer1, QuizField::Accepted1, QuizField::Answer2,
                          QuizField::Accepted2, QuizField::Reveal1, QuizField::Reveal2, QuizField::Code}) {
    Append(problems, FieldProblems(quiz, field, row));
  }
  Append(problems, AnswerSpellingProblems(quiz, row));
  return problems;
}

// In the order of the problems list: the reveal mode, the title, the header, each
// question (the score-code slots beside the first code past them), then the
// count of questions.
std::vector<QuizProblem> ValidateQuiz(const AuthoredQuiz& quiz, bool withSizes, const PlayerMetrics* fit) {
  const std::vector<QuizProblem> quizWide = QuizWideProblems(quiz);
  const std::vector<QuizProblem> cut = fit != nullptr ? FitWarnings(quiz, *fit) : std::vector<QuizProblem>();
  std::vector<QuizProblem> problems = OfRule(quizWide, QuizRule::RevealMode);
  Append(problems, OfRule(quizWide, QuizRule::Title));
  for (QuizField field :
       {QuizField::Title, QuizField::Author, QuizField::Explanation, QuizField::ExtraText1, QuizField::ExtraText2}) {
    Append(problems, FieldProblems(quiz, field, -1));
  }
  Append(problems, OfRow(cut, -1));
  const int count = static_cast<int>(quiz.questions.size());
  for (int row = 0; row < count; ++row) {
    Append(problems, QuestionProblems(quiz, row));
    Append(problems, OfRow(cut, row));
    if (row == ScoreCodeSlots) Append(problems, OfRule(quizWide, QuizRule::ScoreCodeSlots));
  }
  Append(problems, OfRule(quizWide, QuizRule::QuestionCount));
  Append(problems, OfRule(quizWide, QuizRule::NoQuestion));
  if (withSizes && !AnyError(problems)) Append(problems, SizeProblems(EncodePayloads(quiz), true));
  return problems;
}

bool CompressedSizesMayPass(const QuizPayloads& payloads) {
  return MayPassCompressedLimit(payloads.quiz) || MayPassCompressedLimit(payloads.codes);
}

std::vector<QuizProblem> SizeProblems(const QuizPayloads& payloads, bool compress) {
  std::vector<QuizProblem> problems;
  for (const std::string& error :
       {PlainSizeError(payloads.quiz, PayloadKind::Quiz), PlainSizeError(payloads.codes, PayloadKind::Codes)}) {
    if (!error.empty()) problems.push_back({QuizRule::PackedSize, -1, -1, true, error});
  }
  if (!problems.empty() || !compress || !CompressedSizesMayPass(payloads)) return problems;
  Diagnostics diagnostics;
  QuizPayloads streams;
  CompressPayloads(payloads, streams, diagnostics);
  for (const Diagnostic& d : diagnostics.items) problems.push_back({QuizRule::PackedSize, -1, -1, d.isError, d.message});
  return problems;
}
