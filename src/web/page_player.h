// The player of the web page: the quiz loaded from its two compressed
// resources, and the page's answer fields, feedback labels, reveal labels and
// score held as texts, identified as the program's controls are. Verdicts,
// reveal texts and the score go through the program's own JudgeAnswerField
// and RecountScore, F1 and the restore through FillUnsolved and
// RestoreAnswers; the answers file is read with ReadSavedLine. The answers
// also come from a file offered by the pupil and from other tabs of the page,
// and go to the browser's storage (page_answers.cpp), and to and from the
// school's platform when one framed the page (page_platform.cpp). Portable: the page's
// script drives it through page_exports.cpp, tests natively. Texts are
// Windows-1252 bytes, as in the program.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "page_messages.h"
#include "quiz_content.h"
#include "quiz_loader.h"
#include "page_platform.h"
#include "suspend_data.h"

enum : size_t {
  MaxAnswersFileSize = 1 << 20,  // far more than 255 x 2 lines of 271 bytes
};

// The first count lines of an answers file as the program reads them, each
// cut as a field read with a 260-byte limit sees it.
std::vector<std::string> SavedAnswerLines(const uint8_t* bytes, size_t size, int count);

class PagePlayer {
 public:
  // Loads the two compressed resources as the program does; codes is null
  // when the page carries no codes resource. An empty quiz resource plays
  // the built-in test quiz.
  QuizLoadResult load(const uint8_t* quiz, size_t quizSize, const uint8_t* codes, size_t codesSize);

  const QuizContent& quiz() const { return quiz_; }
  // The rows the page shows: none while the questions are hidden.
  int rowCount() const { return rows_; }
  int fieldsPerRow() const;
  bool hasRevealLabels() const;

  // The text of any control by its identifier (answer field, feedback label,
  // reveal label, IDC_SCORE, IDC_SCORE_CODE); empty for no control.
  const std::string& text(int id) const;
  bool isControl(int id) const;

  // The most bytes a field holds: the longest line an answers file gives it.
  static size_t fieldCapacity();

  // Puts text into an answer field, cut to 259 bytes as a read would cut it.
  void setField(int fieldId, const std::string& text);
  // The verdict on an answer field (Enter, or the field left).
  void judge(int fieldId);
  // F1 in answer field fieldId: its text goes into every field whose label
  // does not read "BRAVO", and the fields are judged as the focus moving
  // from field to field judges them, ending back in fieldId.
  void fillUnsolved(int fieldId);

  // The answers the browser kept for this page, restored as the question
  // panel restores an answers file when it is built.
  void restore(const uint8_t* bytes, size_t size);
  // questionCount x answersPerQuestion: the lines of the answers file.
  long long answerLineCount() const;
  // The answers file of the fields as they stand: one CR LF line per field.
  std::string answersFile() const;

  // A file offered by "Reprendre mes réponses" (page_answers.cpp), as
  // Windows-1252 bytes: the script has converted a UTF-8 file, lackingAt
  // being the offset of the first character it could not convert (-1 for
  // none). Its lines may end in CR LF, LF or CR. A file this quiz's player
  // could have written is kept for resumeOffer(); the facts say which, and
  // how many answers it would change.
  const AnswersOfferFacts& offer(const std::string& name, const uint8_t* bytes, size_t size, long long lackingAt);
  // Restores the file kept by offer(); the answers before it are kept for
  // undoResume(). False when no file is kept.
  bool resumeOffer();
  bool undoResume();
  const AnswersOfferFacts& offerFacts() const { return offered_; }

  // Local storage, shared by every tab of the page: the answers file to keep
  // is the one kept now (maybe by another tab) with the fields this page
  // changed since it last kept or took one; a file another tab kept gives
  // this page the fields it changed, each judged, unless this page changed
  // the same field since (its change comes later, and wins).
  std::string mergeForStore(const uint8_t* kept, size_t size);
  void takeKept(const uint8_t* kept, size_t size);

  // ---- the school's platform (page_platform.cpp) ----
  // Restores the answers from the platform's text (its suspend_data) and
  // from the answers file this browser keeps. In each field the platform's
  // answer wins where it has one (it follows the pupil from device to
  // device); the browser's fills the fields where it has none (answers the
  // platform never got). Where both hold different answers, the browser's
  // stays in its storage and is offered by offerBrowserAnswers(). A text
  // that is not one of this page's is not used: the browser's answers alone
  // come back, as with restore(). Returns the number of fields offered, or
  // -1 when the platform's text was not used.
  int restoreWithPlatform(const std::string& suspendData, const uint8_t* kept, size_t size);
  // Offers the browser's differing answers as "Reprendre mes réponses"
  // offers a file: resumeOffer() takes them, undoResume() puts the
  // platform's back. False when there are none.
  bool offerBrowserAnswers();
  // The answers file as the fields stand, which the browser now keeps in
  // place of its own ("Ne rien changer" to the offer above).
  std::string keepAll();
  // The platform's text for the answers as they stand.
  SuspendData suspendData() const;
  // The answers judged since the last call (or the last restore) whose text
  // or verdict changed and that are not empty.
  std::vector<PlatformInteraction> takeInteractions();
  int questionsFound() const;
  // Every answer field holds an answer with its verdict.
  bool everyFieldJudged() const;
  // Used by the verdict's controls: the label of a field was just written.
  void noteJudged(int feedbackLabelId);

  // What a screen reader is told after a verdict on fieldId (said when the
  // word changed or always is set) or after F1 from it, from the changes.
  std::string verdictAnnouncement(int fieldId, bool always) const;
  std::string fillAnnouncement(int fieldId) const;

  // A name for the quiz's resources: the page keeps its answers under it.
  const std::string& quizKey() const { return quizKey_; }

  // The identifiers whose texts changed since the last clearChanges().
  const std::vector<int>& changes() const { return changes_; }
  void clearChanges() { changes_.clear(); }

  // Used by the verdict's controls.
  void write(int id, const char* text);

 private:
  std::string* slot(int id);
  void restoreAnswers(const uint8_t* bytes, size_t size);
  bool isField(int id) const;
  int fieldCount() const { return rows_ * fieldsPerRow(); }

  QuizContent quiz_;
  int rows_ = 0;
  std::vector<std::string> fields_;    // answer field k at k - 1
  std::vector<std::string> feedback_;  // feedback label of field k at k - 1
  std::vector<std::string> reveals_;   // reveal label of question qi at qi
  std::string score_;
  std::string scoreCode_;
  std::string quizKey_;
  std::vector<int> changes_;
  std::vector<std::string> kept_;  // each field's line as this page last kept or took it
  AnswersOfferFacts offered_ = {};
  std::string offeredFile_;        // the file offer() accepted, CR LF lines
  std::string beforeResume_;       // the answers file before resumeOffer()
  std::string browserAnswers_;     // restoreWithPlatform(): the answers with the browser's where they differ
  // Each field's text and verdict as the platform last heard of them, and
  // whether it was judged since.
  std::vector<std::pair<std::string, std::string>> reported_;
  std::vector<char> judged_;  // not vector<bool>: smaller in the page
  // The answers last written for the platform and their text: a verdict
  // that changed no answer (the focus moving on) compresses nothing.
  mutable std::vector<std::string> suspendedAnswers_;
  mutable SuspendData suspended_;
};
