// Entry point of Ludex Atelier: one window, one message loop. A file named
// on the command line (a source or a built quiz dropped on the program) is
// opened.
#include "atelier.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::wstring file = arguments != nullptr && count > 1 ? arguments[1] : L"";
  LocalFree(arguments);
  if (!StartAtelier(instance, file)) return 1;
  const int exitCode = RunAtelierLoop();
  EndAtelier();
  return exitCode;
}
