#include "answer_fields.h"

#include "answers_file.h"
#include "verdict.h"

void FillUnsolved(QuizContent& quiz, VerdictControls& controls, int fieldId) {
  char typed[TextSize];
  controls.readPanelText(fieldId, typed, TextSize);
  int focused = fieldId;
  // Past the fields that a panel can hold, no identifier names a control.
  const int limit = AnswerFieldLimit(quiz.questionCount, quiz.answersPerQuestion);
  for (int j = 1; j <= limit; ++j) {
    const int field = IDC_ANSWER_BASE + j;
    if (controls.readsBravo(IDC_FEEDBACK_BASE + j) || !controls.hasPanelControl(field)) continue;
    controls.writePanelText(field, typed);
    if (focused != field) {
      JudgeAnswerField(quiz, controls, focused);
      controls.focusAnswerField(field);
    }
    focused = field;
  }
  if (focused != fieldId) {
    JudgeAnswerField(quiz, controls, focused);
    controls.focusAnswerField(fieldId);
  }
}

void RestoreAnswers(QuizContent& quiz, VerdictControls& controls, int rowCount, const uint8_t* bytes, size_t size) {
  const int fieldCount = rowCount * FieldsPerQuestion(quiz.answersPerQuestion);
  quiz.allRevealed = 0;
  for (int q = 0; q < rowCount; ++q) controls.writePanelText(RevealLabelId(q), "");
  size_t position = 0;
  for (int k = 1; k <= fieldCount; ++k) {
    controls.writePanelText(IDC_FEEDBACK_BASE + k, VerdictEmpty);
    char line[SavedLineSize];
    ReadSavedLine(bytes, size, position, line);
    controls.writePanelText(IDC_ANSWER_BASE + k, line);
  }
  if (fieldCount == 0) return;
  controls.focusAnswerField(IDC_ANSWER_BASE + 1);
  for (int k = 2; k <= fieldCount; ++k) {
    JudgeAnswerField(quiz, controls, IDC_ANSWER_BASE + k - 1);
    controls.focusAnswerField(IDC_ANSWER_BASE + k);
  }
  if (fieldCount == 1) {
    RecountScore(quiz, controls);
    return;
  }
  JudgeAnswerField(quiz, controls, IDC_ANSWER_BASE + fieldCount);
  controls.focusAnswerField(IDC_ANSWER_BASE + 1);
}
