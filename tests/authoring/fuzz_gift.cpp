// Fuzzes the GIFT reader: any bytes must read without a crash or an overrun,
// as at most 255 rows of five cells with at most 16 accepted answers each;
// and the questions a bank gives, written as a bank again, must come back
// with the same texts and accepted answers (those without a control character).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gift_bank.h"

namespace {

// The questions a table gives a quiz that uses every field the bank fills.
AuthoredQuiz QuizOf(const TableText& table) {
  AuthoredQuiz quiz;
  quiz.revealMode = 2;
  quiz.questions = QuestionsOf(PreviewImport(table, ChooseMapping(table, quiz), quiz));
  return quiz;
}

// Whether a question's texts hold no control character but tabs and CR LF
// line breaks: any other is an error the quiz reports, which a bank need not keep.
bool Clean(const AuthoredQuestion& question) {
  for (const std::string* text : {&question.questionText, &question.answer1, &question.accepted1, &question.revealText}) {
    for (size_t k = 0; k < text->size(); ++k) {
      const char c = (*text)[k];
      const bool pair = (c == '\r' && k + 1 < text->size() && (*text)[k + 1] == '\n') ||
                        (c == '\n' && k > 0 && (*text)[k - 1] == '\r');
      if (static_cast<uint8_t>(c) < 0x20 && c != '\t' && !pair) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const TableText table = ReadGiftBank(bytes);
  if (table.rows.size() > static_cast<size_t>(MaxQuestions)) std::abort();
  for (const TableRow& row : table.rows) {
    if (row.cells.size() != static_cast<size_t>(GiftColumnCount)) std::abort();
    if (AcceptedAnswerLines(row.cells[3]).size() > static_cast<size_t>(MaxAcceptedAnswers)) std::abort();
  }
  LooksLikeGift(bytes);

  const AuthoredQuiz quiz = QuizOf(table);
  std::vector<std::string> notes;
  const AuthoredQuiz back = QuizOf(ReadGiftBank(WriteGiftBank(quiz, notes)));
  if (!notes.empty()) return 0;  // a question left out, or an answer Moodle reads otherwise
  if (back.questions.size() != quiz.questions.size()) std::abort();
  for (size_t k = 0; k < quiz.questions.size(); ++k) {
    const AuthoredQuestion &was = quiz.questions[k], &is = back.questions[k];
    if (!Clean(was)) continue;
    if (is.questionText != was.questionText || is.answer1 != was.answer1 || is.revealText != was.revealText ||
        AcceptedAnswerLines(is.accepted1) != AcceptedAnswerLines(was.accepted1))
      std::abort();
  }
  return 0;
}
