// Process-wide state of the player and the start-up steps, split so that
// tests can open the real windows in-process.
#pragma once
#include <windows.h>

#include "quiz/quiz.h"

extern Quiz* currentQuiz;
extern HBRUSH creditLabelBrush;
extern HWND headerPanelWindow;
extern HWND questionPanelWindow;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void AddCreditLabel(HWND parent, const char* text, int x, int y, int width, int height, int id);
void ForwardWheel(HWND questionPanel, WPARAM wParam, LPARAM lParam);

// Writes every answer field of the question panel to the answers file.
void SaveAnswers(HWND questionPanel);
