#include "quiz/payload.h"

#include <cstring>

namespace {

enum : uint8_t {
  FieldEnd = '|',
  Backslash = '\\',
  LineBreakLetter = 'n',
  CodeLineEnd = '\r',
};

// A byte of the header or trailer; false (and the field untouched) past the end.
bool readByte(const uint8_t* data, uint32_t length, uint32_t& cursor, uint8_t& value) {
  if (cursor >= length) return false;
  value = data[cursor++];
  return true;
}

void CopyText(char destination[TextSize], const char* source) {
  std::strncpy(destination, source, MaxTextLength);
  destination[MaxTextLength] = 0;
}

}  // namespace

bool readField(const uint8_t* data, uint32_t length, uint32_t& cursor, char destination[TextSize]) {
  char text[TextSize];
  uint32_t used = 0;
  bool full = false;  // once a byte or a line break did not fit, the text is closed
  uint32_t p = cursor;
  while (p < length && data[p] != FieldEnd) {
    if (data[p] == Backslash && p + 1 < length && data[p + 1] == LineBreakLetter) {
      // The byte after the n is part of the escape, whatever it is, even a `|`.
      if (!full && used + 2 <= MaxTextLength) {
        text[used++] = '\r';
        text[used++] = '\n';
      } else {
        full = true;
      }
      p = (length - p > 3) ? p + 3 : length;
      continue;
    }
    if (data[p] != 0) {
      if (!full && used < MaxTextLength) {
        text[used++] = static_cast<char>(data[p]);
      } else {
        full = true;
      }
    }
    ++p;
  }
  bool ended = p < length;
  cursor = ended ? p + 1 : length;
  text[used] = 0;
  std::memcpy(destination, text, used + 1);
  return ended;
}

QuizPayloadResult ParseQuizPayload(const uint8_t* data, uint32_t length, QuizContent& quiz) {
  QuizPayloadResult result = {false, true};
  uint32_t cursor = 0;
  uint8_t byte = 0;

  cursor = 1;  // byte 0 carries nothing
  if (readByte(data, length, cursor, byte)) quiz.questionsHidden = static_cast<int32_t>(byte) - 1;
  if (readByte(data, length, cursor, byte)) quiz.questionCount = byte;
  if (readByte(data, length, cursor, byte)) quiz.answersPerQuestion = byte;
  if (cursor < 4) {
    cursor = length;
    result.complete = false;
  }

  char* headerTexts[] = {quiz.title, quiz.author, quiz.explanation, quiz.extraText1, quiz.extraText2};
  for (char* text : headerTexts) {
    if (!readField(data, length, cursor, text)) result.complete = false;
  }

  char answer1[TextSize];
  char answer2[TextSize];
  char questionText[TextSize];
  for (int32_t i = 0; i < quiz.questionCount; ++i) {
    answer2[0] = 0;
    if (!readField(data, length, cursor, answer1)) result.complete = false;
    if (quiz.answersPerQuestion == 2 && !readField(data, length, cursor, answer2)) result.complete = false;
    if (!readField(data, length, cursor, questionText)) result.complete = false;
    quiz.appendQuestion(answer1, answer2, questionText);
  }

  if (readByte(data, length, cursor, byte)) {
    quiz.revealMode = byte;
  } else {
    result.complete = false;
  }
  int fieldsPerQuestion = 0;
  if (quiz.revealMode == 2 || quiz.revealMode == 4) fieldsPerQuestion = 1;
  if (quiz.revealMode == 3) fieldsPerQuestion = 2;  // the second text is not used
  if (fieldsPerQuestion > 0) {
    char discarded[TextSize];
    QuestionRecord* record = quiz.firstQuestion;
    for (int32_t i = 0; i < quiz.questionCount; ++i) {
      char* revealText = record != nullptr ? record->revealText : discarded;
      if (!readField(data, length, cursor, revealText)) result.complete = false;
      if (fieldsPerQuestion == 2 && !readField(data, length, cursor, discarded)) result.complete = false;
      if (record != nullptr) record = record->next;
    }
  }

  if (length >= 3 && cursor <= length - 3) {
    quiz.backgroundRed = data[cursor];
    quiz.backgroundGreen = data[cursor + 1];
    quiz.backgroundBlue = data[cursor + 2];
    result.colourRead = true;
  } else {
    result.complete = false;
  }
  return result;
}

bool ParseScoreCodes(const uint8_t* data, uint32_t length, QuizContent& quiz) {
  bool complete = true;
  uint32_t cursor = 0;
  for (int32_t i = 0; i < quiz.questionCount; ++i) {
    char line[TextSize];
    uint32_t used = 0;
    while (cursor < length && data[cursor] != CodeLineEnd) {
      if (used < MaxTextLength) line[used++] = static_cast<char>(data[cursor]);
      ++cursor;
    }
    line[used] = 0;
    if (cursor < length) {
      // The CR and the byte after it (the LF), unseen.
      cursor = (length - cursor > 2) ? cursor + 2 : length;
    } else {
      complete = false;
    }
    if (i < ScoreCodeSlots) std::memcpy(quiz.scoreCodes[i], line, used + 1);
  }
  return complete;
}

void InstallTestQuiz(QuizContent& quiz) {
  CopyText(quiz.title, "Nom du ludex");
  CopyText(quiz.author, "Createur ludex");
  CopyText(quiz.explanation, "Explications du ludex");
  CopyText(quiz.extraText1, "TEST");
  CopyText(quiz.extraText2, "TEST");
  quiz.questionCount = 30;
  quiz.questionsHidden = 0;
  quiz.answersPerQuestion = 1;
  quiz.revealMode = 0;
  quiz.backgroundRed = 53;
  quiz.backgroundGreen = 203;
  quiz.backgroundBlue = 163;
}
