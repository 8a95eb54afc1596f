// Times F1 on a 255-question quiz with nothing solved: every field is filled,
// focused and judged. Prints the milliseconds of Quiz::FillUnsolved against
// the 255 focus moves alone (no verdicts, the fields' handles looked up
// beforehand), the 255 text writes into the fields alone, and F1's own window
// work without its verdicts (each field written, then focused: the edit
// control then lays its new text out again and repaints its selection),
// measured in turns in the same run, with one verdict and one score recount,
// and the building of the panel, which judges every field once.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "answers_file_win32.h"
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

double Median(const double* values, int count) {
  std::vector<double> sorted(values, values + count);
  std::sort(sorted.begin(), sorted.end());
  return count % 2 ? sorted[count / 2] : (sorted[count / 2 - 1] + sorted[count / 2]) / 2;
}

std::string List(const double* values, int count) {
  std::string text;
  for (int k = 0; k < count; ++k) {
    char one[32];
    std::snprintf(one, sizeof one, " %.2f", values[k]);
    text += one;
  }
  return text;
}

// A 255-question quiz whose answers are "REPONSE NUMERO n".
Quiz* MakeQuiz() {
  Quiz* quiz = new Quiz();
  quiz->questionCount = 255;
  for (int i = 0; i < 255; ++i) {
    char answer[32];
    char question[32];
    wsprintfA(answer, "REPONSE NUMERO %d", i + 1);
    wsprintfA(question, "Question %d ?", i + 1);
    quiz->appendQuestion(answer, "", question);
  }
  return quiz;
}

// The header panel (the score and its code are written at every verdict, as
// in the player) and the question panel, whose building is timed.
HWND OpenPanels(Quiz* quiz, HWND parent) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  quiz->headerPanel = CreateDialogParamA(instance, MAKEINTRESOURCEA(1002), parent, HeaderPanelProc, 0);
  HWND panel = nullptr;
  std::printf("building the panel (255 verdicts): %.1f ms\n", Milliseconds([&] {
                panel = CreateDialogParamA(instance, MAKEINTRESOURCEA(1001), parent, QuestionPanelProc, 0);
              }));
  SetWindowPos(panel, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
  ShowWindow(panel, SW_SHOWNORMAL);
  return panel;
}

const int runs = 7;

struct Timings {
  double fill[runs], moves[runs], writes[runs], unjudged[runs], judge[runs], score[runs], save[runs];
};

// F1 and the bare focus moves in turns, so that both see the same machine.
void TimeInTurns(Quiz* quiz, HWND panel, Timings& t) {
  HWND field = GetDlgItem(panel, 4001);
  SetWindowTextA(field, "une reponse fausse");
  HWND fields[255];
  for (int j = 1; j <= 255; ++j) fields[j - 1] = GetDlgItem(panel, 4000 + j);
  for (int run = 0; run < runs; ++run) {
    currentQuiz = nullptr;  // the fields then judge nothing
    SetFocus(field);
    currentQuiz = quiz;
    t.fill[run] = Milliseconds([&] { quiz->FillUnsolved(panel, 4001); });
    currentQuiz = nullptr;
    t.moves[run] = Milliseconds([&] {
      for (HWND each : fields) SetFocus(each);
    });
    // F1 also writes its text into every unsolved field: that part alone.
    t.writes[run] = Milliseconds([&] {
      for (HWND each : fields) SetWindowTextA(each, "une reponse fausse");
    });
    SetFocus(field);
    t.unjudged[run] = Milliseconds([&] {
      for (HWND each : fields) {
        SetWindowTextA(each, "une reponse fausse");
        SetFocus(each);
      }
      SetFocus(field);
    });
    currentQuiz = quiz;
    t.judge[run] = Milliseconds([&] { quiz->JudgeAnswer(panel, 4100); });
    t.score[run] = Milliseconds([&] { quiz->UpdateScore(panel); });
    t.save[run] = Milliseconds([&] { SaveAnswers(panel); });  // F2, into the benchmark's own answers file
  }
}

void PrintTimings(const Timings& t) {
  std::printf("F1 on 255 unsolved questions (ms):           %s\n", List(t.fill, runs).c_str());
  std::printf("255 bare focus moves, no verdicts (ms):      %s\n", List(t.moves, runs).c_str());
  std::printf("255 field text writes, no verdicts (ms):     %s\n", List(t.writes, runs).c_str());
  std::printf("255 writes and focus moves, no verdicts (ms):%s\n", List(t.unjudged, runs).c_str());
  std::printf("one JudgeAnswer (ms):                        %s\n", List(t.judge, runs).c_str());
  std::printf("one UpdateScore (ms):                        %s\n", List(t.score, runs).c_str());
  std::printf("F2, 255 answers saved (ms):                  %s\n", List(t.save, runs).c_str());
  const double f1 = Median(t.fill, runs), bare = Median(t.moves, runs), written = Median(t.writes, runs),
               windowWork = Median(t.unjudged, runs);
  std::printf(
      "medians: F1 %.1f ms, bare focus moves %.1f ms, ratio %.2f; field text writes %.1f ms, "
      "F1 / (moves + writes) %.2f; writes and moves without verdicts %.1f ms, F1 / that %.2f; "
      "JudgeAnswer %.3f ms, UpdateScore %.3f ms\n",
      f1, bare, f1 / bare, written, f1 / (bare + written), windowWork, f1 / windowWork, Median(t.judge, runs),
      Median(t.score, runs));
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
  Quiz* quiz = MakeQuiz();
  currentQuiz = quiz;
  HWND panel = OpenPanels(quiz, parent);
  Timings timings;
  TimeInTurns(quiz, panel, timings);
  PrintTimings(timings);
  char answersName[260];
  AnswersFilePath(answersName);
  DeleteFileA(answersName);
  currentQuiz = quiz;
  DestroyWindow(parent);
  currentQuiz = nullptr;
  delete quiz;
  return 0;
}
