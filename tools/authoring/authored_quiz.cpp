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
