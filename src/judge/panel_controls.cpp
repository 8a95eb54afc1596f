// Under wine every GetDlgItem lists all the panel's children (four per
// question), and each verdict reads every feedback label: a verdict on a full
// panel took tens of milliseconds, F1 several seconds. The answer fields and
// feedback labels are therefore remembered between lookups, and each is
// checked before use: it still counts while it is the panel's child with that
// identifier. One that is not found has the panel walked, at most once per
// lookup, since it may have been made since: the panel judges each field
// before making its feedback label. A new control joins the end of the
// panel's child list, so the walk first looks only past the last child seen;
// only when nothing was made since is the whole panel walked again (a control
// renumbered, moved or replaced). Building a 255-question panel thus walks
// each child about once instead of once per verdict.
// Reveal labels stay with GetDlgItem: most quizzes have none, and a label
// never found would have every verdict walk the panel.
#include "judge/panel_controls.h"

#include <cstring>

#include "quiz/quiz_content.h"
#include "resource.h"

namespace {

const int MaxRowControls = 2 * MaxQuestions;  // of each kind: the most answer fields a quiz can have

struct RememberedControls {
  HWND panel;
  HWND lastChild;                   // the last child of the panel seen by a walk
  HWND fields[MaxRowControls + 1];  // fields[k]: answer field IDC_ANSWER_BASE + k
  HWND labels[MaxRowControls + 1];  // labels[k]: feedback label IDC_FEEDBACK_BASE + k
};
RememberedControls remembered;

// The place of id in the table, or null for an identifier the table leaves out.
HWND* Slot(int id) {
  if (id > IDC_ANSWER_BASE && id <= IDC_ANSWER_BASE + MaxRowControls) return &remembered.fields[id - IDC_ANSWER_BASE];
  if (id > IDC_FEEDBACK_BASE && id <= IDC_FEEDBACK_BASE + MaxRowControls) {
    return &remembered.labels[id - IDC_FEEDBACK_BASE];
  }
  return nullptr;
}

bool StillThere(HWND control, HWND panel, int id) {
  return control != nullptr && GetParent(control) == panel && GetDlgCtrlID(control) == id;
}

// Visits the panel's children from first on, keeping the first valid control
// of each identifier in their order, as GetDlgItem does.
void WalkFrom(HWND panel, HWND first) {
  for (HWND child = first; child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(child);
    HWND* slot = Slot(id);
    if (slot != nullptr && !StillThere(*slot, panel, id)) *slot = child;
    remembered.lastChild = child;
  }
}

// Brings the table up to date: the children made since the last walk, or the
// whole panel when there are none (or the table is another panel's).
void WalkPanel(HWND panel) {
  if (remembered.panel == panel && remembered.lastChild != nullptr && GetParent(remembered.lastChild) == panel) {
    HWND made = GetWindow(remembered.lastChild, GW_HWNDNEXT);
    if (made != nullptr) {
      WalkFrom(panel, made);
      return;
    }
  }
  std::memset(&remembered, 0, sizeof remembered);
  remembered.panel = panel;
  WalkFrom(panel, GetWindow(panel, GW_CHILD));
}

}  // namespace

HWND FindRowControl(PanelLookup& lookup, int id) {
  if (lookup.panel == nullptr) return nullptr;
  HWND* slot = Slot(id);
  if (slot == nullptr) return GetDlgItem(lookup.panel, id);
  HWND control = *slot;
  if (remembered.panel == lookup.panel && StillThere(control, lookup.panel, id)) return control;
  // A walk of this panel during this lookup already told all there is (unless
  // a lookup of another panel has replaced the table since).
  if (lookup.walked && remembered.panel == lookup.panel) return nullptr;
  lookup.walked = true;
  WalkPanel(lookup.panel);
  return *slot;
}
