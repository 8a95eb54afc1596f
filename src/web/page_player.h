// The player of the web page: the quiz loaded from its two compressed
// resources, and the page's answer fields, feedback labels, reveal labels and
// score held as texts, identified as the program's controls are. Verdicts,
// reveal texts and the score go through the program's own JudgeAnswerField
// and RecountScore; the answers file is read with ReadSavedLine. Portable:
// the page's script drives it through page_exports.cpp, tests natively.
// Texts are Windows-1252 bytes, as in the program.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "quiz_content.h"
#include "quiz_loader.h"

// Why a file offered as an answers file is refused (it then changes nothing).
enum class AnswersFileRefusal {
  None,
  Empty,
  TooLarge,        // past MaxAnswersFileSize
  NotText,         // a zero or control byte other than tab, CR and LF
  TooManyAnswers,  // more non-empty lines than the quiz has answer lines
};

enum : size_t {
  MaxAnswersFileSize = 1 << 20,  // far more than 255 x 2 lines of 271 bytes
};

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

  // Fills every field from an answers file's bytes and judges them in order,
  // as the question panel does when it is built.
  void restore(const uint8_t* bytes, size_t size);
  // Whether a file offered by the player is an answers file of this quiz;
  // lineCount receives how many non-empty lines it has.
  AnswersFileRefusal checkAnswersFile(const uint8_t* bytes, size_t size, long long& lineCount) const;
  // questionCount x answersPerQuestion: the lines of the answers file.
  long long answerLineCount() const;
  // The answers file of the fields as they stand: one CR LF line per field.
  std::string answersFile() const;

  // A name for the quiz's resources: the page keeps its answers under it.
  const std::string& quizKey() const { return quizKey_; }

  // The identifiers whose texts changed since the last clearChanges().
  const std::vector<int>& changes() const { return changes_; }
  void clearChanges() { changes_.clear(); }

  // Used by the verdict's controls.
  void write(int id, const char* text);

 private:
  std::string* slot(int id);
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
};
