// The program's side of the table of F1 and restores that the web page's
// player plays too (support/fill_restore_cases.h): the whole player started
// on the answers file, keys sent to its fields; a resumed file is the player
// started again on it.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/fill_restore_cases.h"
#include "support/windows_fixture.h"

namespace {

class ProgramUnderTest final : public PlayerUnderTest {
 public:
  ~ProgramUnderTest() override { fixture_.EndPlayer(); }

  void start(const CaseQuiz& quiz, const std::string& answersFile) override {
    quiz_ = quiz;
    resume(answersFile);
  }
  void type(int id, const std::string& text, bool judged) override {
    SetWindowTextA(fixture_.Item(id), text.c_str());
    if (judged) SendMessageA(fixture_.Item(id), WM_KEYUP, VK_RETURN, 0);
  }
  void pressF1(int id) override {
    SetFocus(fixture_.Item(id));
    SendMessageA(fixture_.Item(id), WM_KEYUP, VK_F1, 0);
  }
  void resume(const std::string& answersFile) override {
    fixture_.EndPlayer();
    fixture_.WriteAnswersFile(answersFile);
    const CaseQuiz quiz = quiz_;
    ASSERT_TRUE(fixture_.StartPlayer([quiz](Quiz& q) {
      const QuestionRow rows[] = {{"Paris", "France", "Q"}, {"Rome", "Italie", "Q"}, {"Berlin", "Allemagne", "Q"},
                                  {"Paris", "France", "Q"}};
      const char* const reveals[] = {"Seine", "Tibre", "Spree", "Louvre"};
      AddQuestions(q, rows, quiz.questions, quiz.questions, quiz.answers);
      q.revealMode = quiz.revealMode;
      for (int k = 0; k < quiz.questions; ++k) {
        lstrcpyA(q.questionAt(k)->revealText, reveals[k]);
        std::snprintf(q.scoreCodes[k], TextSize, "CODE%d", k + 1);
      }
    }));
  }
  std::string text(int id) override {
    const bool header = id == IDC_SCORE || id == IDC_SCORE_CODE;
    return WindowsFixture::Text(header ? headerPanelWindow : fixture_.panel, id);
  }

 private:
  WindowsFixture fixture_;
  CaseQuiz quiz_ = {};
};

TEST(FillAndRestore, AsThePage) {
  ProgramUnderTest program;
  RunFillRestoreCases(program);
}

}  // namespace
