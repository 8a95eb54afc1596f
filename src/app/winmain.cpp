// Entry point of the player: one quiz, one main window, one message loop.
#include "app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!StartPlayer(instance)) return 0;
  int exitCode = RunMessageLoop();
  EndPlayer();
  return exitCode;
}
