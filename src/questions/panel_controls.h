// The controls that verdicts work through: the answer fields and feedback
// labels of the question panel, found by identifier as GetDlgItem finds
// them without listing the panel each time, and the header's score.
#pragma once
#include <windows.h>

// The lookups of one verdict or of one F1: during either no control is made,
// destroyed or renumbered, so the panel is walked at most once.
struct PanelLookup {
  HWND panel;
  bool walked;
};

// The control with identifier id in the panel, or null when there is none.
// Answer fields 4001.., feedback labels 5001.. and reveal labels 8001.. are
// remembered between lookups; any other identifier goes to GetDlgItem.
HWND FindRowControl(PanelLookup& lookup, int id);

// Whether feedback label id of the panel reads exactly "BRAVO".
bool LabelReadsBravo(PanelLookup& lookup, int id);

// While the panel builds its rows it makes every one of its controls itself,
// each new one at the end of its child list, and tells each one here as it
// is made: lookups then know the panel without listing it, and the feedback
// labels are watched from then on (LabelReadsBravo answers without reading).
void StartRowBuilding(HWND panel);
void NoteRowControl(HWND control, int id);
void EndRowBuilding();
// Once its rows are built, the panel reports every child made in it later
// (WM_PARENTNOTIFY with WM_CREATE).
void NoteNewChild(HWND panel);

// While held, the score and score code that verdicts write into the header
// are kept back; releasing writes the last of each.
void HoldScoreWrites(bool hold);

// Writes text into the control unless it already reads exactly that.
void WriteIfChanged(HWND control, const char* text);
