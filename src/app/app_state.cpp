// Process-wide state of the player.
#include "app.h"

HBRUSH creditLabelBrush = nullptr;
HWND headerPanelWindow = nullptr;
HWND questionPanelWindow = nullptr;
HWND mainWindow = nullptr;
