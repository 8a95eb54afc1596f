// Times F1 on a 255-question quiz with nothing solved: every field is filled,
// focused and judged. Prints the milliseconds of FillUnsolvedFields and of its
// parts (one verdict, one score recount, the focus moves alone), and the
// building of the panel, which judges every field once.
#include <windows.h>

#include <cstdio>

#include "app.h"
#include "header_panel.h"
#include "question_panel.h"

namespace {

LARGE_INTEGER frequency;

template <typename Work>
double Milliseconds(Work work) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  work();
  QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  QueryPerformanceFrequency(&frequency);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LudexFillBenchmark";
  RegisterClassA(&windowClass);
  HWND parent = CreateWindowExA(0, windowClass.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  Quiz* quiz = new Quiz();
  currentQuiz = quiz;
  quiz->questionCount = 255;
  for (int i = 0; i < 255; ++i) {
    char answer[32];
    char question[32];
    wsprintfA(answer, "REPONSE NUMERO %d", i + 1);
    wsprintfA(question, "Question %d ?", i + 1);
    quiz->appendQuestion(answer, "", question);
  }
  // The score and its code are written at every verdict, as in the player.
  quiz->headerPanel = CreateDialogParamA(windowClass.hInstance, MAKEINTRESOURCEA(1002), parent, HeaderPanelProc, 0);
  HWND panel = nullptr;
  std::printf("building the panel (255 verdicts): %.1f ms\n", Milliseconds([&] {
                panel = CreateDialogParamA(windowClass.hInstance, MAKEINTRESOURCEA(1001), parent, QuestionPanelProc, 0);
              }));
  SetWindowPos(panel, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
  ShowWindow(panel, SW_SHOWNORMAL);
  HWND field = GetDlgItem(panel, 4001);
  SetWindowTextA(field, "une reponse fausse");
  SetFocus(field);

  for (int run = 1; run <= 3; ++run) {
    std::printf("F1 on 255 unsolved questions, run %d: %.1f ms\n", run,
                Milliseconds([&] { FillUnsolvedFields(field); }));
  }
  std::printf("one JudgeAnswer: %.2f ms\n", Milliseconds([&] { quiz->JudgeAnswer(panel, 4100); }));
  std::printf("one UpdateScore: %.2f ms\n", Milliseconds([&] { quiz->UpdateScore(panel); }));
  std::printf("255 GetDlgItem: %.2f ms\n", Milliseconds([&] {
                for (int j = 1; j <= 255; ++j) GetDlgItem(panel, 5000 + j);
              }));
  currentQuiz = nullptr;  // the fields then judge nothing
  std::printf("255 focus moves without verdicts: %.2f ms\n", Milliseconds([&] {
                for (int j = 1; j <= 255; ++j) SetFocus(GetDlgItem(panel, 4000 + j));
              }));
  currentQuiz = quiz;
  DestroyWindow(parent);
  currentQuiz = nullptr;
  delete quiz;
  return 0;
}
