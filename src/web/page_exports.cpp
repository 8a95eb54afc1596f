// The functions the page's script calls (page.js), over the one PagePlayer
// of the page. Texts cross as Windows-1252 bytes: the script converts them
// from and to the DOM's strings, and puts them in the page only as text.
#include <cstdint>
#include <string>

#include "page_player.h"
#include "row_layout.h"

namespace {

PagePlayer player;
long long checkedLines = 0;
std::string answers;

}  // namespace

extern "C" {

// codesSize < 0: the page carries no codes resource. Returns a QuizLoadResult.
int PageLoad(const uint8_t* quiz, int quizSize, const uint8_t* codes, int codesSize) {
  const size_t quizBytes = quizSize > 0 ? static_cast<size_t>(quizSize) : 0;
  const size_t codesBytes = codesSize > 0 ? static_cast<size_t>(codesSize) : 0;
  return static_cast<int>(player.load(quiz, quizBytes, codesSize < 0 ? nullptr : codes, codesBytes));
}

// The loader's message for a QuizLoadResult; empty for Loaded.
const char* PageLoadMessage(int result) {
  const char* message = QuizLoadMessage(static_cast<QuizLoadResult>(result));
  return message != nullptr ? message : "";
}

int PageRowCount() { return player.rowCount(); }
int PageFieldsPerRow() { return player.fieldsPerRow(); }
int PageHasRevealLabels() { return player.hasRevealLabels() ? 1 : 0; }

// 0xRRGGBB
int PageBackground() {
  const QuizContent& quiz = player.quiz();
  return quiz.backgroundRed << 16 | quiz.backgroundGreen << 8 | quiz.backgroundBlue;
}

// 0 title, 1 author, 2 explanation.
const char* PageHeaderText(int which) {
  const QuizContent& quiz = player.quiz();
  return which == 0 ? quiz.title : which == 1 ? quiz.author : quiz.explanation;
}

// The question text of row (from 0); empty for a question without a record.
const char* PageQuestionText(int row) {
  const QuestionRecord* record = player.quiz().questionAt(row);
  return record != nullptr ? record->questionText : "";
}

// The program's control identifiers: answer field of row (from 0) and slot
// (1 or 2), its feedback label, the row's reveal label.
int PageFieldId(int row, int slot) { return AnswerFieldId(row, slot, player.quiz().answersPerQuestion); }
int PageFeedbackLabelId(int fieldId) { return FeedbackLabelId(fieldId); }
int PageRevealLabelId(int row) { return RevealLabelId(row); }

int PageScoreId() { return IDC_SCORE; }
int PageScoreCodeId() { return IDC_SCORE_CODE; }
int PageFieldCapacity() { return static_cast<int>(PagePlayer::fieldCapacity()); }

const char* PageText(int id) { return player.text(id).c_str(); }

// The colour of a feedback label, a FeedbackFill.
int PageFeedbackFill(int id) { return static_cast<int>(FeedbackFillFor(player.text(id).c_str())); }

void PageSetField(int id, const uint8_t* text, int length) {
  player.setField(id, std::string(reinterpret_cast<const char*>(text), length > 0 ? length : 0));
}

void PageJudge(int id) { player.judge(id); }
void PageFillUnsolved(int id) { player.fillUnsolved(id); }

void PageRestore(const uint8_t* bytes, int size) { player.restore(bytes, size > 0 ? static_cast<size_t>(size) : 0); }

// An AnswersFileRefusal; PageCheckedLines() then tells the file's lines.
int PageCheckAnswersFile(const uint8_t* bytes, int size) {
  return static_cast<int>(player.checkAnswersFile(bytes, size > 0 ? static_cast<size_t>(size) : 0, checkedLines));
}
int PageCheckedLines() { return static_cast<int>(checkedLines); }
int PageAnswerLineCount() { return static_cast<int>(player.answerLineCount()); }
int PageMaxAnswersFileSize() { return static_cast<int>(MaxAnswersFileSize); }

// The answers file of the fields as they stand; PageAnswersSize() its length.
const char* PageAnswers() {
  answers = player.answersFile();
  return answers.data();
}
int PageAnswersSize() { return static_cast<int>(answers.size()); }

const char* PageQuizKey() { return player.quizKey().c_str(); }

int PageChangeCount() { return static_cast<int>(player.changes().size()); }
int PageChange(int k) {
  const std::vector<int>& changes = player.changes();
  return k >= 0 && k < static_cast<int>(changes.size()) ? changes[k] : 0;
}
void PageClearChanges() { player.clearChanges(); }

}  // extern "C"
