// The verdict on one answer field, the reveal texts and the score. They
// live in the texts of the panels' controls, never in a counter: a verdict
// reads the field, writes its feedback label and the reveal labels, then
// recounts the score from every feedback label. Portable: the controls are
// reached through VerdictControls, which the question panel provides.
#pragma once

#include "quiz_content.h"

// The controls a verdict works through, by identifier: the question panel's
// answer fields, feedback labels and reveal labels, and the header panel's
// score label (IDC_SCORE) and score code field (IDC_SCORE_CODE). A control
// that does not exist reads as the empty text and ignores writes.
class VerdictControls {
 public:
  // At most size - 1 bytes and a zero.
  virtual void readPanelText(int id, char* text, int size) = 0;
  virtual void writePanelText(int id, const char* text) = 0;
  virtual void writeHeaderText(int id, const char* text) = 0;
  // Whether panel control id reads exactly "BRAVO". The score asks it of
  // every feedback label at every verdict: an adapter may answer without
  // reading the text when it knows the text. By default, reads it.
  virtual bool readsBravo(int id);
  // Whether panel control id exists: F1 passes over a missing answer field.
  // By default, every one does.
  virtual bool hasPanelControl(int id);
  // F1 and the restore move the focus from field to field as they go, each
  // field it leaves judged by them, not by the move. The question panel
  // really moves it (a field that gets it shows its whole text selected);
  // by default, nothing happens.
  virtual void focusAnswerField(int id);

 protected:
  ~VerdictControls() = default;
};

// Judges answer field answerFieldId: its verdict word into its feedback
// label, the reveal texts that the quiz's reveal mode calls for, and the
// score. Sets or clears the quiz's allRevealed.
void JudgeAnswerField(QuizContent& quiz, VerdictControls& controls, int answerFieldId);

// Counts the questions whose feedback labels all read "BRAVO" and writes
// " found / count" and the score code of that score into the header.
void RecountScore(const QuizContent& quiz, VerdictControls& controls);
