#include "quiz_format.h"

#include <cstring>

size_t CopyText(char* destination, const char* source) {
  const size_t length = strnlen(source, MaxTextLength);
  std::memmove(destination, source, length);
  destination[length] = 0;
  return length;
}

bool HasRevealTexts(int revealMode) { return revealMode >= 2 && revealMode <= 4; }

bool IsKnownRevealMode(int revealMode) { return revealMode == NoRevealMode || HasRevealTexts(revealMode); }

bool HasSecondRevealText(int revealMode) { return revealMode == 3; }

int RevealTextsPerQuestion(int revealMode) {
  if (HasSecondRevealText(revealMode)) return 2;
  return HasRevealTexts(revealMode) ? 1 : 0;
}

bool RevealsEachQuestion(int revealMode) { return revealMode == 2 || revealMode == 3; }

bool RevealsAllAtOnce(int revealMode) { return revealMode == 4; }

int FieldsPerQuestion(int answersPerQuestion) { return answersPerQuestion == 2 ? 2 : 1; }

bool HasSecondAnswer(int answersPerQuestion) { return FieldsPerQuestion(answersPerQuestion) == 2; }

int AnswerFieldId(int questionIndex, int slot, int answersPerQuestion) {
  if (HasSecondAnswer(answersPerQuestion)) return IDC_ANSWER_BASE + 2 * questionIndex + slot;
  return IDC_ANSWER_BASE + 1 + questionIndex;
}

int AnswerFieldNumber(int answerFieldId) { return answerFieldId - IDC_ANSWER_BASE; }

int FeedbackLabelId(int answerFieldId) { return answerFieldId + (IDC_FEEDBACK_BASE - IDC_ANSWER_BASE); }

int RevealLabelId(int questionIndex) { return IDC_REVEAL_BASE + 1 + questionIndex; }

AnswerFieldPlace PlaceOfAnswerField(int answerFieldId, int answersPerQuestion) {
  if (HasSecondAnswer(answersPerQuestion)) {
    // Integer division as the numbering was first written: 4001 and 4002
    // are question 0, 4003 and 4004 question 1.
    return {(answerFieldId - (IDC_ANSWER_BASE - 1)) / 2 - 1, answerFieldId % 2 == 0 ? 2 : 1};
  }
  return {answerFieldId - (IDC_ANSWER_BASE + 1), 1};
}

int AnswerFieldLimit(int questionCount, int answersPerQuestion) {
  const long long product = static_cast<long long>(questionCount) * answersPerQuestion;
  if (product < 0) return 0;
  const int limit = MaxAnswersPerQuestion * MaxQuestions;
  return product > limit ? limit : static_cast<int>(product);
}
