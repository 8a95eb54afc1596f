// The answer fields and feedback labels of the question panel, found by
// identifier as GetDlgItem finds them, without listing the panel each time.
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
