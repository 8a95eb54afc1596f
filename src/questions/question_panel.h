// The question panel: one row per question (number, question, answer field,
// feedback) in a scrolling modeless child dialog, and the answer fields'
// keyboard handling.
#pragma once
#include <windows.h>

#include "row_layout.h"  // ScrollWheelDown, ScrollWheelUp, ScrollToTarget

// Panel state, shared with the answer field procedure.
extern int contentWidth;          // pixels
extern int contentHeight;         // pixels
extern int scrollUnit;            // pixels per scroll position
extern int scrollTarget;          // vertical position that ScrollToTarget moves to
extern WNDPROC standardEditProc;  // the edit procedure the answer fields had

// Dialog procedure of the panel (dialog template 1001).
INT_PTR CALLBACK QuestionPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
// Fits both scroll bars to the client size and the content size.
void SetUpScrollBars(HWND panel);

// Window procedure installed on every answer field.
LRESULT CALLBACK AnswerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
// Gives field the focus without judging the field that loses it: F1 and the
// restore judge the fields they leave themselves.
void FocusFieldUnjudged(HWND field);
