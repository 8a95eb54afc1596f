#include "quiz_content.h"

QuizContent::~QuizContent() { clearQuestions(); }

void QuizContent::appendQuestion(const char* answer1, const char* answer2, const char* questionText) {
  QuestionRecord* record = new QuestionRecord{};
  CopyText(record->answer1, answer1);
  CopyText(record->answer2, answer2);
  CopyText(record->questionText, questionText);
  record->previous = lastQuestion;
  record->next = nullptr;
  if (lastQuestion != nullptr) {
    lastQuestion->next = record;
  } else {
    firstQuestion = record;
  }
  lastQuestion = record;
}

QuestionRecord* QuizContent::questionAt(int i) const {
  if (i < 0) return nullptr;
  QuestionRecord* record = firstQuestion;
  for (; record != nullptr && i > 0; --i) record = record->next;
  return record;
}

void QuizContent::clearQuestions() {
  QuestionRecord* record = firstQuestion;
  while (record != nullptr) {
    QuestionRecord* next = record->next;
    delete record;
    record = next;
  }
  firstQuestion = nullptr;
  lastQuestion = nullptr;
}
