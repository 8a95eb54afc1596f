#include "payload.h"

#include <cstring>

namespace {

// Reads the payload in grammar order, telling a listener (if any) what it
// passes over.
struct PayloadReader {
  const uint8_t* data;
  uint32_t length;
  PayloadListener* listener;
  uint32_t cursor = 0;
  bool ended = false;  // some part ran into the end of the data

  void problem(PayloadProblem problem, PayloadPart part, int question) {
    if (problem == PayloadProblem::EndsEarly) {
      if (ended) return;
      ended = true;
    }
    if (listener != nullptr) listener->problem(problem, part, question);
  }

  // A byte of the header or trailer; false (and the field untouched) past the end.
  bool byte(PayloadPart part, uint8_t& value) {
    if (cursor >= length) {
      problem(PayloadProblem::EndsEarly, part, -1);
      return false;
    }
    value = data[cursor++];
    return true;
  }

  void text(PayloadPart part, int question, char destination[TextSize]) {
    bool cut = false;
    if (!readField(data, length, cursor, destination, &cut)) problem(PayloadProblem::EndsEarly, part, question);
    if (cut) problem(PayloadProblem::TextCut, part, question);
  }

  void unkept(PayloadPart part, int question, const char* text) {
    if (listener != nullptr) listener->unkeptText(part, question, text);
  }

  // Bytes after the last part that the grammar reads.
  void trailer(PayloadPart last) {
    if (cursor < length) problem(PayloadProblem::TrailingBytes, last, -1);
  }
};

}  // namespace

bool readField(const uint8_t* data, uint32_t length, uint32_t& cursor, char destination[TextSize], bool* cut) {
  char text[TextSize];
  uint32_t used = 0;
  bool full = false;  // once a byte or a line break did not fit, the text is closed
  uint32_t p = cursor;
  while (p < length && data[p] != FieldEnd) {
    if (data[p] == EscapeByte && p + 1 < length && data[p + 1] == EscapeLineBreak) {
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
  if (cut != nullptr) *cut = full;
  return ended;
}

QuizPayloadResult ParseQuizPayload(const uint8_t* data, uint32_t length, QuizContent& quiz, PayloadListener* listener) {
  PayloadReader reader{data, length, listener};
  uint8_t byte = 0;

  reader.cursor = 1;  // byte 0 carries nothing
  if (length < 4) {
    // A header cut short: what is there is taken, the texts are not read.
    if (reader.byte(PayloadPart::HeaderBytes, byte)) quiz.questionsHidden = static_cast<int32_t>(byte) - 1;
    if (reader.byte(PayloadPart::HeaderBytes, byte)) quiz.questionCount = byte;
    reader.byte(PayloadPart::HeaderBytes, byte);
    reader.cursor = length;
  } else {
    reader.byte(PayloadPart::HeaderBytes, byte);
    quiz.questionsHidden = static_cast<int32_t>(byte) - 1;
    reader.byte(PayloadPart::HeaderBytes, byte);
    quiz.questionCount = byte;
    reader.byte(PayloadPart::HeaderBytes, byte);
    quiz.answersPerQuestion = byte;
  }

  reader.text(PayloadPart::Title, -1, quiz.title);
  reader.text(PayloadPart::Author, -1, quiz.author);
  reader.text(PayloadPart::Explanation, -1, quiz.explanation);
  reader.text(PayloadPart::ExtraText1, -1, quiz.extraText1);
  reader.text(PayloadPart::ExtraText2, -1, quiz.extraText2);

  char answer1[TextSize];
  char answer2[TextSize];
  char questionText[TextSize];
  for (int32_t i = 0; i < quiz.questionCount; ++i) {
    answer2[0] = 0;
    reader.text(PayloadPart::Answer1, i, answer1);
    if (HasSecondAnswer(quiz.answersPerQuestion)) reader.text(PayloadPart::Answer2, i, answer2);
    reader.text(PayloadPart::QuestionText, i, questionText);
    quiz.appendQuestion(answer1, answer2, questionText);
  }

  if (reader.byte(PayloadPart::RevealMode, byte)) quiz.revealMode = byte;
  const int textsPerQuestion = RevealTextsPerQuestion(quiz.revealMode);
  if (textsPerQuestion > 0) {
    char second[TextSize];
    QuestionRecord* record = quiz.firstQuestion;
    for (int32_t i = 0; i < quiz.questionCount && record != nullptr; ++i, record = record->next) {
      reader.text(PayloadPart::RevealText, i, record->revealText);
      if (textsPerQuestion == 2) {
        reader.text(PayloadPart::SecondRevealText, i, second);
        reader.unkept(PayloadPart::SecondRevealText, i, second);
      }
    }
  }

  QuizPayloadResult result = {false, true};
  if (reader.cursor <= length && length - reader.cursor >= 3) {
    quiz.backgroundRed = data[reader.cursor];
    quiz.backgroundGreen = data[reader.cursor + 1];
    quiz.backgroundBlue = data[reader.cursor + 2];
    reader.cursor += 3;
    result.colourRead = true;
    const int fieldLimit = AnswerFieldLimit(quiz.questionCount, quiz.answersPerQuestion);
    reader.cursor += ReadAcceptedBlock(data, length, reader.cursor, fieldLimit, quiz.acceptedAnswers);
    reader.trailer(quiz.acceptedAnswers.empty() ? PayloadPart::Colour : PayloadPart::AcceptedAnswers);
  } else {
    reader.problem(PayloadProblem::EndsEarly, PayloadPart::Colour, -1);
  }
  result.complete = !reader.ended;
  return result;
}

bool ParseScoreCodes(const uint8_t* data, uint32_t length, QuizContent& quiz, PayloadListener* listener) {
  PayloadReader reader{data, length, listener};
  uint32_t& cursor = reader.cursor;
  for (int32_t i = 0; i < quiz.questionCount; ++i) {
    char line[TextSize];
    uint32_t used = 0;
    bool cut = false;
    while (cursor < length && data[cursor] != CodeLineEnd) {
      if (used < MaxTextLength) {
        line[used++] = static_cast<char>(data[cursor]);
      } else {
        cut = true;
      }
      ++cursor;
    }
    line[used] = 0;
    if (cursor < length) {
      // The CR and the byte after it (the LF), unseen.
      cursor = (length - cursor > 2) ? cursor + 2 : length;
    } else {
      reader.problem(PayloadProblem::EndsEarly, PayloadPart::ScoreCode, i);
    }
    if (cut) reader.problem(PayloadProblem::TextCut, PayloadPart::ScoreCode, i);
    if (i < ScoreCodeSlots) {
      std::memcpy(quiz.scoreCodes[i], line, used + 1);
    } else {
      reader.unkept(PayloadPart::ScoreCode, i, line);
    }
  }
  reader.trailer(PayloadPart::ScoreCode);
  return !reader.ended;
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
