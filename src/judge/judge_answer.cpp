// The verdict on one answer field, the reveal texts and the score, all kept in
// the texts of the panels' controls.
#include <cstring>

#include "judge/panel_controls.h"
#include "judge/text.h"
#include "judge/verdict.h"
#include "quiz/quiz.h"
#include "resource.h"

namespace {

// The score reads feedback labels only to compare them with "BRAVO": 254 bytes are plenty.
const int ScoreReadSize = 255;
const char NoScoreCode[] = "      ";

// A control that does not exist (yet) reads as the empty text...
void ReadPanelControl(PanelLookup& lookup, int id, char* buffer, int size) {
  buffer[0] = 0;
  HWND control = FindRowControl(lookup, id);
  if (control != nullptr) GetWindowTextA(control, buffer, size);
}

// ... and ignores writes.
void WritePanelControl(PanelLookup& lookup, int id, const char* text) {
  HWND control = FindRowControl(lookup, id);
  if (control != nullptr) SetWindowTextA(control, text);
}

// Every verdict rewrites the score, mostly with the text it already shows; under
// wine each write is a server round trip and a repaint, 0.15 ms, and each
// GetDlgItem another round trip, so a 255-question panel spent 155 ms of its
// building on them. The two controls are remembered while they stay the
// header's, and equal texts are not written again.
HWND FindHeaderControl(HWND header, int id) {
  static HWND score = nullptr;
  static HWND scoreCode = nullptr;
  HWND& control = id == IDC_SCORE ? score : scoreCode;
  if (control == nullptr || GetParent(control) != header || GetDlgCtrlID(control) != id) {
    control = GetDlgItem(header, id);
  }
  return control;
}

void WriteHeaderControl(HWND header, int id, const char* text) {
  HWND control = header != nullptr ? FindHeaderControl(header, id) : nullptr;
  if (control == nullptr) return;
  char shown[TextSize + 1];
  shown[0] = 0;
  GetWindowTextA(control, shown, sizeof shown);
  if (std::strcmp(shown, text) != 0) SetWindowTextA(control, text);
}

// A quiz field as a terminated text of at most 259 bytes, whatever it holds.
void CopyField(char (&buffer)[TextSize], const char* field) {
  size_t length = strnlen(field, MaxTextLength);
  std::memcpy(buffer, field, length);
  buffer[length] = 0;
}

// Only 1 and 2 answers per question have a numbering; any other count is
// played as 1, so that no field, label or expected answer is made up.
int FieldsPerQuestion(const QuizContent& quiz) { return quiz.answersPerQuestion == 2 ? 2 : 1; }

bool LabelIsBravo(PanelLookup& lookup, int id, int readSize) {
  char text[TextSize];
  ReadPanelControl(lookup, id, text, readSize);
  return std::strcmp(text, VerdictBravo) == 0;
}

void WriteRevealText(PanelLookup& lookup, const QuestionRecord* record, int qi) {
  char text[TextSize] = {};
  if (record != nullptr) CopyField(text, record->revealText);
  WritePanelControl(lookup, IDC_REVEAL_BASE + 1 + qi, text);
}

void UpdateScoreWith(Quiz& quiz, PanelLookup& lookup);

}  // namespace

void Quiz::JudgeAnswer(HWND panel, int answerFieldId) {
  const int perQuestion = FieldsPerQuestion(*this);
  const int firstFieldId = IDC_ANSWER_BASE + 1;
  int qi = 0;
  bool secondAnswer = false;
  if (perQuestion == 2) {
    qi = (answerFieldId - (IDC_ANSWER_BASE - 1)) / 2 - 1;
    secondAnswer = answerFieldId % 2 == 0;
  } else {
    qi = answerFieldId - firstFieldId;
  }
  const QuestionRecord* record = questionAt(qi);
  char expected[TextSize] = {};
  if (record != nullptr) CopyField(expected, secondAnswer ? record->answer2 : record->answer1);

  PanelLookup lookup = {panel, false};
  char typed[TextSize];
  ReadPanelControl(lookup, answerFieldId, typed, TextSize);
  const char* word = ChooseVerdict(expected, typed);
  const bool right = word == VerdictBravo;

  if (right && (revealMode == 2 || revealMode == 3)) {
    // The fields are compared as they stand, untrimmed: a right answer typed
    // with a stray space earns "BRAVO" but not the reveal text.
    bool allRight = true;
    for (int k = 1; k <= perQuestion && allRight; ++k) {
      char fieldText[TextSize];
      ReadPanelControl(lookup, IDC_ANSWER_BASE + qi * perQuestion + k, fieldText, TextSize);
      UpperCaseAscii(fieldText);
      char expectedText[TextSize] = {};
      if (record != nullptr) CopyField(expectedText, k == 1 ? record->answer1 : record->answer2);
      UpperCaseAscii(expectedText);
      allRight = std::strcmp(fieldText, expectedText) == 0;
    }
    if (allRight) WriteRevealText(lookup, record, qi);
  }
  if (!right) {
    WritePanelControl(lookup, IDC_REVEAL_BASE + 1 + qi, "");
    allRevealed = 0;
  }

  WritePanelControl(lookup, answerFieldId + (IDC_FEEDBACK_BASE - IDC_ANSWER_BASE), word);

  if (revealMode == 4 && allRevealed == 0) {
    const int labelCount = questionCount * perQuestion;
    bool allBravo = true;
    for (int k = 1; k <= labelCount && allBravo; ++k) {
      allBravo = LabelIsBravo(lookup, IDC_FEEDBACK_BASE + k, TextSize);
    }
    if (allBravo) {
      allRevealed = 1;
      for (int q = 0; q < questionCount; ++q) WriteRevealText(lookup, questionAt(q), q);
    }
  }

  UpdateScoreWith(*this, lookup);  // UpdateScore, sharing this verdict's lookups
}

void Quiz::UpdateScore(HWND panel) {
  PanelLookup lookup = {panel, false};
  UpdateScoreWith(*this, lookup);
}

namespace {

void UpdateScoreWith(Quiz& quiz, PanelLookup& lookup) {
  const int perQuestion = FieldsPerQuestion(quiz);
  int found = 0;
  for (int q = 1; q <= quiz.questionCount; ++q) {
    bool allRight = true;
    for (int k = 1; k <= perQuestion && allRight; ++k) {
      allRight = LabelIsBravo(lookup, IDC_FEEDBACK_BASE + perQuestion * (q - 1) + k, ScoreReadSize);
    }
    if (allRight) ++found;
  }

  char score[32];
  wsprintfA(score, " %d / %d", found, quiz.questionCount);
  WriteHeaderControl(quiz.headerPanel, IDC_SCORE, score);

  // Score s shows code number s; a score of 0, or one past the codes that a
  // quiz can carry, has no code and shows the blank field.
  char code[TextSize];
  if (found >= 1 && found <= ScoreCodeSlots) {
    CopyField(code, quiz.scoreCodes[found - 1]);
  } else {
    std::memcpy(code, NoScoreCode, sizeof NoScoreCode);
  }
  WriteHeaderControl(quiz.headerPanel, IDC_SCORE_CODE, code);
}

}  // namespace
