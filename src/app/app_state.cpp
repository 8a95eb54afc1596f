// Process-wide state of the player.
#include "app/app.h"

Quiz* currentQuiz = nullptr;
HBRUSH creditLabelBrush = nullptr;
HWND headerPanelWindow = nullptr;
HWND questionPanelWindow = nullptr;
HWND mainWindow = nullptr;
