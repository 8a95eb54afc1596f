// The verdict's controls on the real panels: the question panel's row
// controls through the remembered lookups, the header's score controls.
#include <initializer_list>

#include "answer_fields.h"
#include "judge.h"
#include "panel_controls.h"
#include "question_panel.h"
#include "quiz.h"

namespace {

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

// Every verdict of the building rewrites the score, which nobody sees before
// the building is over: only the last write of each control is made.
struct HeldWrite {
  HWND control;  // null when nothing is held
  char text[TextSize];
};
bool holdingScore = false;
HeldWrite heldScore = {};
HeldWrite heldScoreCode = {};

class PanelVerdictControls final : public VerdictControls {
 public:
  PanelVerdictControls(HWND panel, HWND header) : lookup_{panel, false}, header_(header) {}

  void readPanelText(int id, char* text, int size) override {
    text[0] = 0;
    HWND control = FindRowControl(lookup_, id);
    if (control != nullptr) GetWindowTextA(control, text, size);
  }

  // A write is a server round trip and a repaint under wine; most verdicts
  // write the word or the empty reveal text that the label already shows.
  void writePanelText(int id, const char* text) override {
    HWND control = FindRowControl(lookup_, id);
    if (control != nullptr) WriteIfChanged(control, text);
  }

  void writeHeaderText(int id, const char* text) override {
    HWND control = header_ != nullptr ? FindHeaderControl(header_, id) : nullptr;
    if (control == nullptr) return;
    if (holdingScore) {
      HeldWrite& held = id == IDC_SCORE ? heldScore : heldScoreCode;
      held.control = control;
      CopyText(held.text, text);
      return;
    }
    WriteIfChanged(control, text);
  }

  bool readsBravo(int id) override { return LabelReadsBravo(lookup_, id); }

  bool hasPanelControl(int id) override { return FindRowControl(lookup_, id) != nullptr; }

  void focusAnswerField(int id) override {
    HWND field = FindRowControl(lookup_, id);
    if (field != nullptr) FocusFieldUnjudged(field);
  }

 private:
  PanelLookup lookup_;  // one verdict makes and destroys no control: one walk at most
  HWND header_;
};

}  // namespace

void HoldScoreWrites(bool hold) {
  holdingScore = hold;
  if (hold) return;
  for (HeldWrite* held : {&heldScore, &heldScoreCode}) {
    if (held->control != nullptr) WriteIfChanged(held->control, held->text);
    held->control = nullptr;
  }
}

void Quiz::JudgeAnswer(HWND panel, int answerFieldId) {
  PanelVerdictControls controls(panel, headerPanel);
  JudgeAnswerField(*this, controls, answerFieldId);
}

void Quiz::UpdateScore(HWND panel) {
  PanelVerdictControls controls(panel, headerPanel);
  RecountScore(*this, controls);
}

void Quiz::FillUnsolved(HWND panel, int answerFieldId) {
  PanelVerdictControls controls(panel, headerPanel);
  ::FillUnsolved(*this, controls, answerFieldId);
}

void Quiz::RestoreAnswers(HWND panel, int rowCount, const uint8_t* bytes, size_t size) {
  PanelVerdictControls controls(panel, headerPanel);
  ::RestoreAnswers(*this, controls, rowCount, bytes, size);
}
