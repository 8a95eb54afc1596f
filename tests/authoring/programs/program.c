// The code of the test programs, as a program or as a DLL: one message box.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show) {
  return MessageBoxA(NULL, "Ludex", "Programme d'essai", MB_OK) == 0;
}
