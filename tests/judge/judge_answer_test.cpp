// The verdict, the reveal texts and the score on real controls: a question
// panel and a header panel made from the program's own dialog templates,
// with plain edit and static children under the identifiers the player uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "quiz.h"
#include "resource.h"

namespace {

const char NoCode[] = "      ";

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND AddControl(HWND parent, const char* className, int id, const char* text) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

std::string ReadText(HWND window, int id) {
  char buffer[400] = {};
  GetDlgItemTextA(window, id, buffer, sizeof buffer);
  return buffer;
}

HWND MakePanel(HWND host, int templateId) {
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), host, PlainDialogProc, 0);
}

class JudgeAnswerTest : public testing::Test {
 protected:
  void SetUp() override {
    host = CreateWindowExA(0, "Static", "judge", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    panel = MakePanel(host, IDD_QUESTION_PANEL);
    header = MakePanel(host, IDD_HEADER_PANEL);
    ASSERT_TRUE(host && panel && header);
    AddControl(header, "Static", IDC_SCORE, "");
    AddControl(header, "Edit", IDC_SCORE_CODE, "");
    quiz.headerPanel = header;
    for (int s = 0; s < ScoreCodeSlots; ++s) std::snprintf(quiz.scoreCodes[s], TextSize, "CODE%d", s + 1);
  }

  void TearDown() override { DestroyWindow(host); }

  // Questions "Paris"/"France", "Rome"/"Italie", ... with reveal texts "reveal 1", ...
  void AddQuestions(int count, int perQuestion) {
    static const char* const answers[][2] = {{"Paris", "France"}, {"Rome", "Italie"}, {"Berlin", "Allemagne"}};
    quiz.clearQuestions();
    quiz.questionCount = count;
    quiz.answersPerQuestion = perQuestion;
    for (int q = 0; q < count; ++q) {
      quiz.appendQuestion(answers[q][0], perQuestion == 2 ? answers[q][1] : "", "?");
      std::snprintf(quiz.lastQuestion->revealText, TextSize, "reveal %d", q + 1);
    }
  }

  // Answer fields 4001.., feedback labels 5001.. showing "?", reveal labels 8001..
  void BuildRows(int fieldCount, int revealCount) {
    for (int k = 1; k <= fieldCount; ++k) {
      AddControl(panel, "Edit", IDC_ANSWER_BASE + k, "");
      AddControl(panel, "Static", IDC_FEEDBACK_BASE + k, "?");
    }
    for (int qi = 0; qi < revealCount; ++qi) AddControl(panel, "Static", IDC_REVEAL_BASE + 1 + qi, "");
  }

  void Judge(int field, const char* typed) {
    SetDlgItemTextA(panel, field, typed);
    quiz.JudgeAnswer(panel, field);
  }

  std::string Feedback(int k) { return ReadText(panel, IDC_FEEDBACK_BASE + k); }
  std::string Reveal(int qi) { return ReadText(panel, IDC_REVEAL_BASE + 1 + qi); }
  std::string Score() { return ReadText(header, IDC_SCORE); }
  std::string Code() { return ReadText(header, IDC_SCORE_CODE); }

  Quiz quiz;
  HWND host = nullptr, panel = nullptr, header = nullptr;
};

// Two questions and a third without a record; counts other than 1 and 2 are played as 1.
TEST_F(JudgeAnswerTest, EachFieldIsJudgedAgainstItsOwnAnswerOnItsOwnLabel) {
  const struct { int perQuestion, field; const char *typed, *word, *score; } cases[] = {
      {1, 4001, "paris", "BRAVO", " 1 / 3"},
      {1, 4002, "  rome ", "BRAVO", " 1 / 3"},
      {1, 4002, "ROM", "Quasiment", " 0 / 3"},
      {1, 4003, "a", "Quasiment", " 0 / 3"},  // no record: empty answers expected
      {2, 4001, "paris", "BRAVO", " 0 / 3"},  // one answer of two is not a question
      {2, 4002, "france", "BRAVO", " 0 / 3"},
      {2, 4004, "italie", "BRAVO", " 0 / 3"},
      {2, 4003, "rome", "BRAVO", " 0 / 3"},
      {2, 4006, "x", "Quasiment", " 0 / 3"},
      {3, 4002, "rome", "BRAVO", " 1 / 3"},
      {0, 4001, "rome", "FAUX", " 0 / 3"},
      {-1, 4002, "rome", "BRAVO", " 1 / 3"},
  };
  BuildRows(6, 0);
  for (const auto& c : cases) {
    AddQuestions(2, c.perQuestion);
    quiz.questionCount = 3;
    for (int k = 1; k <= 6; ++k) SetDlgItemTextA(panel, IDC_FEEDBACK_BASE + k, "?");
    Judge(c.field, c.typed);
    for (int k = 1; k <= 6; ++k) {
      EXPECT_EQ(Feedback(k), IDC_ANSWER_BASE + k == c.field ? c.word : "?") << c.field << c.typed << k;
    }
    EXPECT_EQ(Score(), c.score) << c.perQuestion << " " << c.field << " " << c.typed;
    EXPECT_EQ(ReadText(panel, c.field), c.typed);  // the field keeps its text
  }
}

// Each mode on a fresh panel whose reveal labels start as "kept".
TEST_F(JudgeAnswerTest, RevealModes2And3WriteTheRevealTextOnceRightOthersNever) {
  AddQuestions(2, 1);
  for (int mode : {0, 1, 2, 3, 5}) {
    const bool shown = mode == 2 || mode == 3;
    quiz.revealMode = mode;
    panel = MakePanel(host, IDD_QUESTION_PANEL);
    BuildRows(2, 0);
    for (int id : {8001, 8002}) AddControl(panel, "Static", id, "kept");
    Judge(4002, "rome");
    EXPECT_EQ(Reveal(1), shown ? "reveal 2" : "kept") << mode;
    Judge(4001, " paris");  // "BRAVO", but the field is compared untrimmed
    EXPECT_EQ(Feedback(1), "BRAVO");
    EXPECT_EQ(Reveal(0), "kept") << mode;
    Judge(4001, "PaRiS");
    EXPECT_EQ(Reveal(0), shown ? "reveal 1" : "kept") << mode;
    Judge(4001, "lyon");  // empties only its own question's label, in every mode
    EXPECT_EQ(Reveal(0), "") << mode;
    EXPECT_EQ(Reveal(1), shown ? "reveal 2" : "kept") << mode;
  }
}

TEST_F(JudgeAnswerTest, RevealAllWritesEveryTextAtTheLastRightAnswer) {
  quiz.revealMode = 4;
  AddQuestions(3, 1);
  BuildRows(3, 3);
  auto allRevealed = [&] {
    for (int qi = 0; qi < 3; ++qi) EXPECT_EQ(Reveal(qi), "reveal " + std::to_string(qi + 1)) << qi;
  };
  Judge(4001, "paris");
  Judge(4002, "rome");
  EXPECT_EQ(Reveal(0), "");
  Judge(4003, "berlin");
  allRevealed();
  SetDlgItemTextA(panel, IDC_REVEAL_BASE + 1, "stale");
  Judge(4003, "berlin");  // once all are shown, nothing is written again
  EXPECT_EQ(Reveal(0), "stale");
  Judge(4002, "milan");   // empties only that question's label
  EXPECT_EQ(Reveal(0), "stale");
  EXPECT_EQ(Reveal(1), "");
  EXPECT_EQ(Reveal(2), "reveal 3");
  Judge(4002, "rome");
  allRevealed();
}

// Mode 2 waits for both answers of a question, mode 4 for every label of every question.
TEST_F(JudgeAnswerTest, RevealWithTwoAnswersWaitsForBothLabels) {
  AddQuestions(2, 2);
  for (int mode : {2, 4}) {
    quiz.revealMode = mode;
    panel = MakePanel(host, IDD_QUESTION_PANEL);
    BuildRows(4, 2);
    Judge(4001, "paris");
    Judge(4002, "FRANCE");
    Judge(4003, "rome");
    EXPECT_EQ(Reveal(0), mode == 2 ? "reveal 1" : "");
    EXPECT_EQ(Reveal(1), "");
    Judge(4004, "italie");
    EXPECT_EQ(Reveal(0), "reveal 1");
    EXPECT_EQ(Reveal(1), "reveal 2") << mode;
  }
}

TEST_F(JudgeAnswerTest, ScoreAndCodeFollowTheCountOfFoundQuestions) {
  // labels: one letter per feedback label, B "BRAVO", b "bravo", any other "FAUX".
  const struct { int questionCount, perQuestion; std::string labels; const char *score, *code; } cases[] = {
      {20, 1, "", " 0 / 20", NoCode},
      {20, 1, "FFBFFFFB", " 2 / 20", "CODE2"},  // which questions does not matter
      {3, 1, "BBB", " 3 / 3", "CODE3"},
      {3, 1, "bFB", " 1 / 3", "CODE1"},         // only the exact word counts
      {2, 2, "BFBB", " 1 / 2", "CODE1"},
      {2, 2, "FBFB", " 0 / 2", NoCode},
      {0, 1, "", " 0 / 0", NoCode},
      {120, 1, std::string(96, 'B'), " 96 / 120", "CODE96"},
      {120, 1, std::string(97, 'B'), " 97 / 120", NoCode},  // past the last code
  };
  BuildRows(120, 0);
  for (const auto& c : cases) {
    quiz.questionCount = c.questionCount;
    quiz.answersPerQuestion = c.perQuestion;
    for (int k = 1; k <= 120; ++k) {
      char letter = k <= static_cast<int>(c.labels.size()) ? c.labels[k - 1] : 'F';
      SetDlgItemTextA(panel, IDC_FEEDBACK_BASE + k, letter == 'B' ? "BRAVO" : letter == 'b' ? "bravo" : "FAUX");
    }
    quiz.UpdateScore(panel);
    EXPECT_EQ(Score(), c.score) << c.labels;
    EXPECT_EQ(Code(), c.code) << c.labels;
  }
}

TEST_F(JudgeAnswerTest, TypedTextIsReadUpTo259Bytes) {
  quiz.questionCount = 1;
  quiz.appendQuestion(std::string(259, 'A').c_str(), "", "?");
  BuildRows(1, 1);
  Judge(4001, (std::string(259, 'a') + "BCD").c_str());  // the tail is cut by the read
  EXPECT_EQ(Feedback(1), "BRAVO");
  Judge(4001, (std::string(300, ' ') + "A").c_str());
  EXPECT_EQ(Feedback(1), "?");
}

TEST_F(JudgeAnswerTest, MissingControlsReadEmptyAndIgnoreWrites) {
  AddQuestions(2, 1);
  quiz.revealMode = 4;
  quiz.JudgeAnswer(panel, 4001);  // no control at all in the panel
  EXPECT_EQ(Score(), " 0 / 2");
  EXPECT_EQ(Code(), NoCode);
  AddControl(panel, "Edit", 4001, "paris");  // its feedback label not made yet
  quiz.JudgeAnswer(panel, 4001);
  EXPECT_EQ(Score(), " 0 / 2");
  quiz.headerPanel = nullptr;
  AddControl(panel, "Static", 5001, "?");
  quiz.JudgeAnswer(panel, 4001);
  EXPECT_EQ(Feedback(1), "BRAVO");
  EXPECT_EQ(Score(), " 0 / 2");  // no header panel: the old text stays
}

// Verdicts remember the panel's controls: each change below must be seen by the next one.
TEST_F(JudgeAnswerTest, ControlsRenumberedMovedOrReplacedAreFoundAfresh) {
  AddQuestions(2, 1);
  BuildRows(2, 0);
  Judge(4001, "paris");
  Judge(4002, "rome");
  EXPECT_EQ(Score(), " 2 / 2");
  HWND label = GetDlgItem(panel, 5002);
  SetWindowLongPtrA(label, GWLP_ID, 5009);
  quiz.UpdateScore(panel);
  EXPECT_EQ(Score(), " 1 / 2");  // a renumbered label no longer counts
  SetWindowLongPtrA(label, GWLP_ID, 5002);
  quiz.UpdateScore(panel);
  EXPECT_EQ(Score(), " 2 / 2");
  SetParent(label, host);
  quiz.UpdateScore(panel);
  EXPECT_EQ(Score(), " 1 / 2");  // nor does one moved out of the panel
  DestroyWindow(label);
  AddControl(panel, "Static", 5002, "?");
  Judge(4002, "rome");
  EXPECT_EQ(Feedback(2), "BRAVO");  // its successor gets the verdict
  EXPECT_EQ(Score(), " 2 / 2");
  quiz.revealMode = 2;
  for (int made = 1; made <= 2; ++made) {  // a reveal label made after verdicts missed it, then its successor
    if (HWND old = GetDlgItem(panel, 8002)) DestroyWindow(old);
    AddControl(panel, "Static", 8002, "");
    Judge(4002, "rome");
    EXPECT_EQ(Reveal(1), "reveal 2") << made;
  }
  DestroyWindow(GetDlgItem(panel, 4002));
  AddControl(panel, "Edit", 4002, "lyon");
  quiz.JudgeAnswer(panel, 4002);
  EXPECT_EQ(Feedback(2), "FAUX");  // a replaced field is read afresh
  HWND first = panel;  // a second panel with the same identifiers
  panel = MakePanel(host, IDD_QUESTION_PANEL);
  BuildRows(2, 0);
  Judge(4002, "rome");
  EXPECT_EQ(Feedback(2), "BRAVO");
  EXPECT_EQ(ReadText(first, 5002), "FAUX");
  std::swap(panel, first);
  Judge(4002, "rome");
  EXPECT_EQ(Feedback(2), "BRAVO");
  EXPECT_EQ(Score(), " 2 / 2");
}

}  // namespace
