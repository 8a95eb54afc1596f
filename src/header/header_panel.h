// The header panel: score, score code, title, author, explanation, the
// "Sauver" button and the link to the maker's web site.
#pragma once
#include <windows.h>

// The maker's web-site address: the link's text and what a click opens.
extern const char webSiteAddress[];

INT_PTR CALLBACK HeaderPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the link control its underlined font and the hand cursor (the cursor
// goes to the whole "Static" class).
void SetLinkStyle(HWND control);

// After moving a child (a header control, the main window's credit label):
// repaints the part of it that lies in its parent's pending update region.
// The parent does not clip its children, so its coming erase paints over that
// part, while a child that only moved is not repainted: the bits copied from
// its old place count as valid (under Wine even where the parent is about to
// erase).
void RepaintWhereParentErases(HWND child);
