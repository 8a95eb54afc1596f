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
// renumbered, moved or replaced): the whole panel is walked again. The
// question panel tells each control it makes for its rows, and each child
// that anyone makes in it later (WM_PARENTNOTIFY), so that a miss there
// needs no look at the end of the list while nothing new was made.
//
// The score asks every feedback label whether it reads "BRAVO" at every
// verdict: 255 reads per verdict, two verdicts per row while the panel is
// built. The labels that the panel makes are therefore watched: their
// window procedure notes each change of their text as it passes (every
// change does, whoever makes it: SetWindowText, SetDlgItemText and WM_SETTEXT
// all reach it), and the note answers for the text while the label is still
// the panel's child with its identifier (a renumbered or moved label is
// found afresh); a label that the panel did not make is read through the
// window system at every count, found as above.
#include "panel_controls.h"

#include <cstring>

#include "quiz_format.h"
#include "resource.h"
#include "verdict.h"

namespace {

const int MaxRowControls = 2 * MaxQuestions;  // of each kind: the most answer fields a quiz can have

struct RememberedControl {
  HWND control;  // null while none is known
  bool seen;     // some walk of this panel has found a control with this identifier
  HWND watched;  // feedback labels: the label whose text is followed, while it lives
  bool bravo;    // while control is the watched label: it reads "BRAVO"
};

struct RememberedControls {
  HWND panel;
  HWND lastChild;                                 // the last child of the panel seen by a walk
  bool building;                                  // the panel is building its rows
  bool reportsNew;                                // the panel calls NoteNewChild for each new child
  bool knowsAll;                                  // ... and none was made since lastChild
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

WNDPROC standardLabelProc = nullptr;  // the static control procedure of the watched labels

bool StillThere(HWND control, HWND panel, int id) {
  return control != nullptr && GetParent(control) == panel && GetDlgCtrlID(control) == id;
}

// Visits the panel's children from first on, keeping the first valid control
// of each identifier in their order, as GetDlgItem does.
void WalkFrom(HWND panel, HWND first) {
  for (HWND child = first; child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(child);
    RememberedControl* slot = Slot(id);
    if (slot != nullptr && !StillThere(slot->control, panel, id)) {
      slot->control = child;
      slot->seen = true;
    }
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
    remembered.knowsAll = remembered.reportsNew;
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
  remembered.knowsAll = remembered.reportsNew;
}

}  // namespace

HWND FindRowControl(PanelLookup& lookup, int id) {
  if (lookup.panel == nullptr) return nullptr;
  RememberedControl* slot = Slot(id);
  if (slot == nullptr) return GetDlgItem(lookup.panel, id);
  const bool samePanel = remembered.panel == lookup.panel;
  if (samePanel && StillThere(slot->control, lookup.panel, id)) return slot->control;
  // A walk of this panel during this lookup already told all there is (unless
  // a lookup of another panel has replaced the table since); so does the table
  // when it knows every control made, for an identifier that none of them has.
  if (samePanel && (lookup.walked || (remembered.knowsAll && !slot->seen))) return nullptr;
  lookup.walked = true;
  WalkPanel(lookup.panel, !samePanel || slot->seen);
  return slot->control;
}

bool LabelReadsBravo(PanelLookup& lookup, int id) {
  RememberedControl* slot = Slot(id);
  // A watched label answers from its note while it is still the panel's
  // child with that identifier (both read in-process, without the server).
  if (slot != nullptr && remembered.panel == lookup.panel && slot->control != nullptr &&
      slot->control == slot->watched && StillThere(slot->control, lookup.panel, id)) {
    return slot->bravo;
  }
  char text[TextSize] = {};
  HWND label = FindRowControl(lookup, id);
  if (label != nullptr) GetWindowTextA(label, text, sizeof text);
  return std::strcmp(text, VerdictBravo) == 0;
}

namespace {

// The slot that watches label, or null.
RememberedControl* WatchingSlot(HWND label) {
  RememberedControl* slot = Slot(GetDlgCtrlID(label));
  if (slot != nullptr && slot->watched == label) return slot;
  for (RememberedControl& other : remembered.labels) {  // renumbered since it was watched
    if (other.watched == label) return &other;
  }
  return nullptr;
}

// The note follows the text as the label itself now holds it.
void NoteLabelText(RememberedControl& slot, HWND label) {
  char text[TextSize] = {};
  GetWindowTextA(label, text, sizeof text);
  slot.bravo = std::strcmp(text, VerdictBravo) == 0;
}

LRESULT CALLBACK WatchedLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcA(standardLabelProc, label, message, wParam, lParam);
  if (message == WM_SETTEXT || message == WM_NCDESTROY) {
    if (RememberedControl* slot = WatchingSlot(label)) {
      if (message == WM_SETTEXT) {
        NoteLabelText(*slot, label);
      } else {
        slot->watched = nullptr;
      }
    }
  }
  return result;
}

}  // namespace

void StartRowBuilding(HWND panel) {
  std::memset(&remembered, 0, sizeof remembered);
  remembered.panel = panel;
  remembered.reportsNew = true;
  WalkFrom(panel, GetWindow(panel, GW_CHILD));
  remembered.knowsAll = true;
  remembered.building = true;
}

void NoteRowControl(HWND control, int id) {
  if (!remembered.building || control == nullptr) return;
  remembered.lastChild = control;
  remembered.knowsAll = true;  // the panel's newest child
  RememberedControl* slot = Slot(id);
  // The newest control answers to id unless an older one does.
  if (slot == nullptr || StillThere(slot->control, remembered.panel, id)) return;
  slot->control = control;
  slot->seen = true;
  if (id > IDC_FEEDBACK_BASE && id <= IDC_FEEDBACK_BASE + MaxRowControls) {
    standardLabelProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchedLabelProc)));
    slot->watched = control;
    NoteLabelText(*slot, control);
  }
}

void EndRowBuilding() { remembered.building = false; }

void NoteNewChild(HWND panel) {
  if (remembered.panel == panel) remembered.knowsAll = false;
}

void WriteIfChanged(HWND control, const char* text) {
  // One byte more than any text written here: a longer text never reads equal.
  char shown[TextSize + 1] = {};
  GetWindowTextA(control, shown, sizeof shown);
  if (std::strcmp(shown, text) != 0) SetWindowTextA(control, text);
}
