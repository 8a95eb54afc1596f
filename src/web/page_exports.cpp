// The functions the page's script calls (page.js), over the one PagePlayer
// of the page. Texts cross as Windows-1252 bytes: the script converts them
// from and to the DOM's strings, and puts them in the page only as text.
#include <cstdint>
#include <string>
#include <vector>

#include "page_player.h"
#include "row_layout.h"

namespace {

PagePlayer player;
std::string answers;
std::string message;  // the last sentence made for the page
std::string platformText;  // the last value made for the platform
std::vector<PlatformInteraction> interactions;
int questionsSuspended = -1;  // questions whose answers the platform's text holds; -1: all of them

std::string Text(const uint8_t* bytes, int length) {
  return std::string(reinterpret_cast<const char*>(bytes), length > 0 ? static_cast<size_t>(length) : 0);
}

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

void PageSetField(int id, const uint8_t* text, int length) { player.setField(id, Text(text, length)); }

void PageJudge(int id) { player.judge(id); }
void PageFillUnsolved(int id) { player.fillUnsolved(id); }

void PageRestore(const uint8_t* bytes, int size) { player.restore(bytes, size > 0 ? static_cast<size_t>(size) : 0); }

// "Reprendre mes réponses": 1 when the file fits and the page asks before
// taking it, 0 when it is refused or changes nothing. PageMessage() says which.
int PageOfferAnswersFile(const uint8_t* name, int nameLength, const uint8_t* bytes, int size, int lackingAt) {
  const AnswersOfferFacts& facts =
      player.offer(Text(name, nameLength), bytes, size > 0 ? static_cast<size_t>(size) : 0, lackingAt);
  message = OfferMessage(facts);
  return facts.refusal == AnswersFileRefusal::None && facts.changes > 0 ? 1 : 0;
}
int PageResumeOffer() {
  if (!player.resumeOffer()) return 0;
  message = ResumedMessage(player.offerFacts());
  return 1;
}
int PageUndoResume() {
  if (!player.undoResume()) return 0;
  message = UndoneMessage(player.offerFacts());
  return 1;
}
int PageMaxAnswersFileSize() { return static_cast<int>(MaxAnswersFileSize); }
const char* PageMessage() { return message.c_str(); }

const char* PageStorageNotice() {
  message = StorageNotice();
  return message.c_str();
}
const char* PageSaveLine(const uint8_t* name, int nameLength, int hour, int minute) {
  message = SaveLine(Text(name, nameLength), hour, minute);
  return message.c_str();
}
const char* PageVerdictAnnouncement(int fieldId, int always) {
  message = player.verdictAnnouncement(fieldId, always != 0);
  return message.c_str();
}
const char* PageFillAnnouncement(int fieldId) {
  message = player.fillAnnouncement(fieldId);
  return message.c_str();
}

// The answers file of the fields as they stand; PageAnswersSize() its length.
const char* PageAnswers() {
  answers = player.answersFile();
  return answers.data();
}
// The answers file to keep, from what the browser keeps now; PageAnswersSize() its length.
const char* PageMergeForStore(const uint8_t* kept, int size) {
  answers = player.mergeForStore(kept, size > 0 ? static_cast<size_t>(size) : 0);
  return answers.data();
}
int PageAnswersSize() { return static_cast<int>(answers.size()); }
// Another tab kept answers.
void PageTakeKept(const uint8_t* kept, int size) { player.takeKept(kept, size > 0 ? static_cast<size_t>(size) : 0); }

const char* PageQuizKey() { return player.quizKey().c_str(); }

int PageChangeCount() { return static_cast<int>(player.changes().size()); }
int PageChange(int k) {
  const std::vector<int>& changes = player.changes();
  return k >= 0 && k < static_cast<int>(changes.size()) ? changes[k] : 0;
}
void PageClearChanges() { player.clearChanges(); }

// ---- the school's platform, when one framed the page ----

// Restores from the platform's text and the browser's answers file; the
// number of fields whose browser answers PageOfferBrowserAnswers() offers,
// or -1 when the platform's text was not used.
int PagePlatformRestore(const uint8_t* suspend, int suspendLength, const uint8_t* kept, int size) {
  return player.restoreWithPlatform(Text(suspend, suspendLength), kept, size > 0 ? static_cast<size_t>(size) : 0);
}
int PageOfferBrowserAnswers() {
  if (!player.offerBrowserAnswers()) return 0;
  message = OfferMessage(player.offerFacts());
  return 1;
}
// The answers file the browser keeps from now on; PageAnswersSize() its length.
const char* PageKeepAll() {
  answers = player.keepAll();
  return answers.data();
}

// The answers judged since the last call: how many, then each one's parts.
int PageInteractionCount() {
  interactions = player.takeInteractions();
  return static_cast<int>(interactions.size());
}
const char* PageInteractionId(int k) {
  return k >= 0 && k < static_cast<int>(interactions.size()) ? interactions[k].id.c_str() : "";
}
const char* PageInteractionResponse(int k) {
  return k >= 0 && k < static_cast<int>(interactions.size()) ? interactions[k].response.c_str() : "";
}
int PageInteractionCorrect(int k) {
  return k >= 0 && k < static_cast<int>(interactions.size()) && interactions[k].correct ? 1 : 0;
}

const char* PagePlatformScore() {
  platformText = PlatformScore(player.questionsFound(), player.quiz().questionCount);
  return platformText.c_str();
}
int PageEveryFieldJudged() { return player.everyFieldJudged() ? 1 : 0; }
const char* PagePlatformTime(int seconds) {
  platformText = PlatformTimespan(seconds);
  return platformText.c_str();
}
const char* PageSuspendData() {
  const SuspendData data = player.suspendData();
  const int fields = player.rowCount() * player.fieldsPerRow();
  questionsSuspended = static_cast<int>(data.kept) < fields ? static_cast<int>(data.kept) / player.fieldsPerRow() : -1;
  platformText = data.text;
  return platformText.c_str();
}
// failed: the platform refused a value or is gone; browserKeeps: this
// browser keeps the answers. Empty when there is nothing to say.
const char* PagePlatformNotice(int failed, int browserKeeps) {
  message = failed != 0                ? PlatformFailedNotice(browserKeeps != 0)
            : questionsSuspended >= 0 ? PlatformCutNotice(questionsSuspended)
                                      : std::string();
  return message.c_str();
}

}  // extern "C"
