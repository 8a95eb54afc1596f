// Looks at a running player from another process, for the end-to-end test and
// the start-up benchmark.
//   probe texts ID...        prints the text of each control of the player's
//                            panels
//   probe startup EXE CLASS [ID [ARGUMENTS]]
//                            starts EXE (with ARGUMENTS), waits until the top-level window of
//                            class CLASS (and its descendant control ID, when
//                            given) is visible and the program answers
//                            messages, prints the milliseconds since the start
//                            and closes the program
//   probe place X Y WIDTH HEIGHT
//                            moves and sizes the player's main window (the
//                            screenshot of the README)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The controls lie in the panels, the direct children of the main window.
// Only visible panels are searched: looking through another process's
// controls costs a server round trip per control, and a panel that is still
// being built would be slowed down by it.
HWND FindControl(HWND top, int id) {
  for (HWND child = FindWindowExA(top, nullptr, nullptr, nullptr); child;
       child = FindWindowExA(top, child, nullptr, nullptr)) {
    if (!IsWindowVisible(child)) continue;
    if (HWND control = GetDlgItem(child, id)) return control;
  }
  return nullptr;
}

// WM_GETTEXT is marshalled across processes; GetWindowTextA would only read
// the caption stored with the window, which edit controls leave empty.
bool ReadText(HWND window, char* text, int size) {
  DWORD_PTR length = 0;
  text[0] = '\0';
  return SendMessageTimeoutA(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                             &length) != 0;
}

int PrintTexts(int count, char** ids) {
  HWND top = FindWindowA("WindowsApp", nullptr);
  if (!top) {
    std::fprintf(stderr, "probe: no player window\n");
    return 1;
  }
  for (int k = 0; k < count; ++k) {
    char text[260];
    HWND control = FindControl(top, std::atoi(ids[k]));
    if (!control || !ReadText(control, text, sizeof text)) {
      std::fprintf(stderr, "probe: no control %s\n", ids[k]);
      return 1;
    }
    std::printf("%s\n", text);
  }
  return 0;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int TimeStartup(const char* program, const char* arguments, const char* windowClass, int controlId) {
  char commandLine[2 * MAX_PATH];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\" %s", program, arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "probe: cannot start %s\n", program);
    return 1;
  }
  // Ready means: the window (and the control) exist and are visible, and the
  // program's thread has come to its message loop, where it answers a sent
  // message.
  HWND top = nullptr;
  double elapsed = -1;
  while (elapsed < 0 && MillisecondsSince(start) < 60000) {
    top = FindWindowA(windowClass, nullptr);
    HWND target = top && IsWindowVisible(top) && controlId ? FindControl(top, controlId) : top;
    DWORD_PTR ignored;
    if (target && IsWindowVisible(target) && SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored)) {
      elapsed = MillisecondsSince(start);
    } else {
      Sleep(1);
    }
  }
  // The next run must not share the machine with this one's teardown.
  if (top) PostMessageA(top, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  std::fprintf(stderr, "probe: ended %.0f ms after the start\n", MillisecondsSince(start));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (elapsed < 0) {
    std::fprintf(stderr, "probe: %s never became ready\n", program);
    return 1;
  }
  std::printf("%.1f\n", elapsed);
  return 0;
}

int PlaceWindow(int x, int y, int width, int height) {
  HWND top = FindWindowA("WindowsApp", nullptr);
  if (!top || !SetWindowPos(top, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE)) {
    std::fprintf(stderr, "probe: no player window to place\n");
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "texts") == 0) return PrintTexts(argc - 2, argv + 2);
  if ((argc >= 4 && argc <= 6) && std::strcmp(argv[1], "startup") == 0)
    return TimeStartup(argv[2], argc == 6 ? argv[5] : "", argv[3], argc >= 5 ? std::atoi(argv[4]) : 0);
  if (argc == 6 && std::strcmp(argv[1], "place") == 0) {
    return PlaceWindow(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  }
  std::fprintf(stderr,
               "usage: probe texts ID... | probe startup EXE CLASS [ID [ARGUMENTS]] | probe place X Y WIDTH HEIGHT\n");
  return 2;
}
