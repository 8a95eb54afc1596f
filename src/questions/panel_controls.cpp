// Under wine every GetDlgItem lists all the panel's children (four per
// question), and each verdict reads every feedback label: a verdict on a full
// panel took tens of milliseconds, F1 several seconds. The answer fields and
// feedback labels are therefore remembered between lookups, and each is
// checked before use: it still counts while it is the panel's child with that
// identifier. A new control joins the end of the panel's child list, so a
// lookup that misses first looks only past the last child seen, at most once
// per lookup.
// A miss is common while the panel is built: it judges each field before
// making its feedback label, and the score reads every label, made or not.
// An identifier never seen whose control is not at the end of the list is
// therefore taken as not made yet, without listing the panel (doing so cost
// building a 255-question panel seconds under wine). An identifier seen
// before and now missing means the panel changed otherwise (a control
// renumbered, moved or replaced): the whole panel is walked again.
#include "panel_controls.h"

#include <cstring>

#include "quiz_format.h"
#include "resource.h"

namespace {

const int MaxRowControls = 2 * MaxQuestions;  // of each kind: the most answer fields a quiz can have

struct RememberedControl {
  HWND control;  // null while none is known
  bool seen;     // some walk of this panel has found a control with this identifier
};

struct RememberedControls {
  HWND panel;
  HWND lastChild;                                 // the last child of the panel seen by a walk
  RememberedControl fields[MaxRowControls + 1];   // fields[k]: answer field IDC_ANSWER_BASE + k
  RememberedControl labels[MaxRowControls + 1];   // labels[k]: feedback label IDC_FEEDBACK_BASE + k
  RememberedControl reveals[MaxRowControls + 1];  // reveals[k]: reveal label IDC_REVEAL_BASE + k
};
RememberedControls remembered;

// The place of id in the table, or null for an identifier the table leaves out.
RememberedControl* Slot(int id) {
  if (id > IDC_ANSWER_BASE && id <= IDC_ANSWER_BASE + MaxRowControls) return &remembered.fields[id - IDC_ANSWER_BASE];
  if (id > IDC_FEEDBACK_BASE && id <= IDC_FEEDBACK_BASE + MaxRowControls) {
    return &remembered.labels[id - IDC_FEEDBACK_BASE];
  }
  if (id > IDC_REVEAL_BASE && id <= IDC_REVEAL_BASE + MaxRowControls) return &remembered.reveals[id - IDC_REVEAL_BASE];
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
    RememberedControl* slot = Slot(id);
    if (slot != nullptr && !StillThere(slot->control, panel, id)) *slot = {child, true};
    remembered.lastChild = child;
  }
}

// Brings the table up to date: the children made since the last walk, or,
// when whole is set (or the table is another panel's), the whole panel.
void WalkPanel(HWND panel, bool whole) {
  if (!whole && remembered.panel == panel && remembered.lastChild != nullptr &&
      GetParent(remembered.lastChild) == panel) {
    HWND made = GetWindow(remembered.lastChild, GW_HWNDNEXT);
    if (made != nullptr) WalkFrom(panel, made);
    return;
  }
  if (remembered.panel != panel) {
    std::memset(&remembered, 0, sizeof remembered);
    remembered.panel = panel;
  }
  for (RememberedControl& field : remembered.fields) field.control = nullptr;
  for (RememberedControl& label : remembered.labels) label.control = nullptr;
  for (RememberedControl& reveal : remembered.reveals) reveal.control = nullptr;
  WalkFrom(panel, GetWindow(panel, GW_CHILD));
}

}  // namespace

HWND FindRowControl(PanelLookup& lookup, int id) {
  if (lookup.panel == nullptr) return nullptr;
  RememberedControl* slot = Slot(id);
  if (slot == nullptr) return GetDlgItem(lookup.panel, id);
  const bool samePanel = remembered.panel == lookup.panel;
  if (samePanel && StillThere(slot->control, lookup.panel, id)) return slot->control;
  // A walk of this panel during this lookup already told all there is (unless
  // a lookup of another panel has replaced the table since).
  if (lookup.walked && samePanel) return nullptr;
  lookup.walked = true;
  WalkPanel(lookup.panel, !samePanel || slot->seen);
  return slot->control;
}
