// Process-wide state of the player and the start-up steps, split so that
// tests can open the real windows in-process.
#pragma once
#include <windows.h>

#include "quiz.h"

extern HBRUSH creditLabelBrush;
extern HWND headerPanelWindow;
extern HWND questionPanelWindow;
extern HWND mainWindow;  // kept so that teardown and tests can reach it

// Start-up, steps of WinMain. StartPlayer registers the class, creates the
// brush and the quiz, has fillQuiz fill it (LoadQuiz in the player), opens the
// main window and both panels. false when the class cannot be registered:
// then nothing else exists.
bool StartPlayer(HINSTANCE instance, void (*fillQuiz)(Quiz*) = LoadQuiz);
// The message loop until the quit message; returns its exit code.
int RunMessageLoop();
// Teardown after the loop: the panels, the main window, the brush, the quiz.
void EndPlayer();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void AddCreditLabel(HWND parent, const char* text, int x, int y, int width, int height, int id);
void ForwardWheel(HWND questionPanel, WPARAM wParam, LPARAM lParam);
