#include "authored_quiz.h"

namespace {

template <typename Question>
auto TextOfQuestion(Question& question, QuizField field) -> decltype(&question.questionText) {
  switch (field) {
    case QuizField::Question: return &question.questionText;
    case QuizField::Answer1: return &question.answer1;
    case QuizField::Answer2: return &question.answer2;
    case QuizField::Reveal1: return &question.revealText;
    case QuizField::Reveal2: return &question.secondRevealText;
    case QuizField::Code: return &question.scoreCode;
    case QuizField::Accepted1: return &question.accepted1;
    case QuizField::Accepted2: return &question.accepted2;
    default: return nullptr;
  }
}

template <typename Quiz>
auto TextOfQuiz(Quiz& quiz, QuizField field, int row) -> decltype(&quiz.title) {
  switch (field) {
    case QuizField::Title: return &quiz.title;
    case QuizField::Author: return &quiz.author;
    case QuizField::Explanation: return &quiz.explanation;
    case QuizField::ExtraText1: return &quiz.extraText1;
    case QuizField::ExtraText2: return &quiz.extraText2;
    default: break;
  }
  if (row < 0 || row >= static_cast<int>(quiz.questions.size())) return nullptr;
  return TextOfQuestion(quiz.questions[row], field);
}

}  // namespace

bool IsQuestionField(QuizField field) { return static_cast<int>(field) >= static_cast<int>(QuizField::Question); }

std::string* FieldText(AuthoredQuiz& quiz, QuizField field, int row) { return TextOfQuiz(quiz, field, row); }

const std::string* FieldText(const AuthoredQuiz& quiz, QuizField field, int row) {
  return TextOfQuiz(quiz, field, row);
}

std::string* FieldText(AuthoredQuestion& question, QuizField field) { return TextOfQuestion(question, field); }

const std::string* FieldText(const AuthoredQuestion& question, QuizField field) {
  return TextOfQuestion(question, field);
}

bool IsAcceptedField(QuizField field) { return field == QuizField::Accepted1 || field == QuizField::Accepted2; }

QuizField ExpectedFieldOf(QuizField acceptedField) {
  return acceptedField == QuizField::Accepted2 ? QuizField::Answer2 : QuizField::Answer1;
}

QuizField AcceptedFieldOf(QuizField answerField) {
  return answerField == QuizField::Answer2 ? QuizField::Accepted2 : QuizField::Accepted1;
}

std::vector<std::string> AcceptedAnswerLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    if (stop > start) lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

std::string JoinedAcceptedAnswers(const std::vector<std::string>& answers) {
  std::string text;
  for (const std::string& answer : answers) text += (text.empty() ? "" : "\r\n") + answer;
  return text;
}
