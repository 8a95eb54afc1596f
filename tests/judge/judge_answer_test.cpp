// The verdict, the reveal texts and the score on real controls: a question
// panel and a header panel made from the program's own dialog templates,
// with plain edit and static children under the identifiers the player uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "quiz/quiz.h"
#include "resource.h"

namespace {

const char HostClass[] = "LudexJudgeTestHost";
const char NoCode[] = "      ";

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND AddControl(HWND parent, const char* className, int id, const char* text) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                         nullptr);
}

std::string ReadText(HWND window, int id) {
  char buffer[400] = {};
  GetDlgItemTextA(window, id, buffer, sizeof buffer);
  return buffer;
}

class JudgeAnswerTest : public testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXA windowClass = {};
      windowClass.cbSize = sizeof windowClass;
      windowClass.lpfnWndProc = DefWindowProcA;
      windowClass.hInstance = instance;
      windowClass.lpszClassName = HostClass;
      ASSERT_NE(RegisterClassExA(&windowClass), 0);
      registered = true;
    }
    host = CreateWindowExA(0, HostClass, "judge", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                           nullptr, instance, nullptr);
    ASSERT_NE(host, nullptr);
    panel = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_QUESTION_PANEL), host, PlainDialogProc, 0);
    header = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_HEADER_PANEL), host, PlainDialogProc, 0);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(header, nullptr);
    AddControl(header, "Static", IDC_SCORE, "");
    AddControl(header, "Edit", IDC_SCORE_CODE, "");
    quiz.headerPanel = header;
  }

  void TearDown() override { DestroyWindow(host); }

  // Questions "Paris", "Rome", ... with reveal texts "reveal 1", "reveal 2", ...
  void AddQuestions(int count, int perQuestion) {
    static const char* const firsts[] = {"Paris", "Rome", "Berlin", "Madrid"};
    static const char* const seconds[] = {"France", "Italie", "Allemagne", "Espagne"};
    quiz.questionCount = count;
    quiz.answersPerQuestion = perQuestion;
    for (int q = 0; q < count; ++q) {
      quiz.appendQuestion(firsts[q % 4], perQuestion == 2 ? seconds[q % 4] : "", "?");
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
  HWND host = nullptr;
  HWND panel = nullptr;
  HWND header = nullptr;
};

struct FieldCase {
  int field;
  const char* typed;
  const char* word;
};

TEST_F(JudgeAnswerTest, OneAnswerPerQuestionJudgesTheFieldsOwnQuestion) {
  AddQuestions(3, 1);
  BuildRows(3, 3);
  const FieldCase cases[] = {
      {4001, "paris", "BRAVO"},
      {4002, "rome", "BRAVO"},
      {4003, "  berlin ", "BRAVO"},
      {4002, "paris", "FAUX"},
      {4003, "rome", "FAUX"},
      {4001, "", "?"},
      {4002, "ROM", "Quasiment"},
      {4001, "PRAIS", "Anagramme"},
  };
  for (const FieldCase& c : cases) {
    for (int k = 1; k <= 3; ++k) SetDlgItemTextA(panel, IDC_FEEDBACK_BASE + k, "?");
    Judge(c.field, c.typed);
    for (int k = 1; k <= 3; ++k) {
      const char* want = IDC_ANSWER_BASE + k == c.field ? c.word : "?";
      EXPECT_EQ(Feedback(k), want) << c.field << " " << c.typed << ", label " << k;
    }
    EXPECT_EQ(ReadText(panel, c.field), c.typed);  // the field keeps its text
  }
}

TEST_F(JudgeAnswerTest, TwoAnswersPerQuestionTakeAnswer1ThenAnswer2) {
  AddQuestions(2, 2);
  BuildRows(4, 2);
  const FieldCase cases[] = {
      {4001, "paris", "BRAVO"},   {4002, "france", "BRAVO"}, {4003, "rome", "BRAVO"},
      {4004, "italie", "BRAVO"},  {4002, "paris", "FAUX"},   {4003, "italie", "FAUX"},
      {4001, "france", "FAUX"},   {4004, "Itali", "Quasiment"},
  };
  for (const FieldCase& c : cases) {
    Judge(c.field, c.typed);
    EXPECT_EQ(Feedback(c.field - IDC_ANSWER_BASE), c.word) << c.field << " " << c.typed;
  }
}

TEST_F(JudgeAnswerTest, TwoAnswersPerQuestionScoreOnlyWholeQuestions) {
  AddQuestions(2, 2);
  BuildRows(4, 2);
  std::snprintf(quiz.scoreCodes[0], TextSize, "UN");
  std::snprintf(quiz.scoreCodes[1], TextSize, "DEUX");
  Judge(4001, "paris");
  EXPECT_EQ(Score(), " 0 / 2");
  EXPECT_EQ(Code(), NoCode);
  Judge(4004, "italie");
  EXPECT_EQ(Score(), " 0 / 2");   // one answer of each question is not a question
  Judge(4002, "france");
  EXPECT_EQ(Score(), " 1 / 2");
  EXPECT_EQ(Code(), "UN");
  Judge(4003, "rome");
  EXPECT_EQ(Score(), " 2 / 2");
  EXPECT_EQ(Code(), "DEUX");
  Judge(4003, "milan");
  EXPECT_EQ(Score(), " 1 / 2");
}

TEST_F(JudgeAnswerTest, OtherAnswerCountsArePlayedAsOne) {
  for (int perQuestion : {0, 3, -1, 7}) {
    quiz.clearQuestions();
    AddQuestions(2, perQuestion);
    if (GetDlgItem(panel, 4001) == nullptr) BuildRows(2, 2);
    Judge(4002, "rome");
    EXPECT_EQ(Feedback(2), "BRAVO") << perQuestion;
    Judge(4001, "rome");
    EXPECT_EQ(Feedback(1), "FAUX") << perQuestion;
    EXPECT_EQ(Score(), " 1 / 2") << perQuestion;
    Judge(4001, "paris");
    EXPECT_EQ(Score(), " 2 / 2") << perQuestion;
  }
}

class RevealOnRightAnswer : public JudgeAnswerTest, public testing::WithParamInterface<int> {};

TEST_P(RevealOnRightAnswer, WritesTheQuestionsRevealTextOnceItIsRight) {
  quiz.revealMode = GetParam();
  AddQuestions(2, 1);
  BuildRows(2, 2);
  Judge(4002, "rome");
  EXPECT_EQ(Reveal(1), "reveal 2");
  EXPECT_EQ(Reveal(0), "");
  // "BRAVO", but the field is compared untrimmed: no reveal.
  Judge(4001, " paris");
  EXPECT_EQ(Feedback(1), "BRAVO");
  EXPECT_EQ(Reveal(0), "");
  Judge(4001, "PaRiS");
  EXPECT_EQ(Reveal(0), "reveal 1");
  // A wrong answer empties only its own question's reveal label.
  Judge(4001, "lyon");
  EXPECT_EQ(Reveal(0), "");
  EXPECT_EQ(Reveal(1), "reveal 2");
}

INSTANTIATE_TEST_SUITE_P(Modes2And3, RevealOnRightAnswer, testing::Values(2, 3));

TEST_F(JudgeAnswerTest, RevealWaitsForBothAnswersOfAQuestion) {
  quiz.revealMode = 2;
  AddQuestions(2, 2);
  BuildRows(4, 2);
  Judge(4003, "rome");
  EXPECT_EQ(Reveal(1), "");
  Judge(4004, "italie");
  EXPECT_EQ(Reveal(1), "reveal 2");
  Judge(4001, "paris");
  EXPECT_EQ(Reveal(0), "");
  Judge(4002, "FRANCE");
  EXPECT_EQ(Reveal(0), "reveal 1");
}

TEST_F(JudgeAnswerTest, OtherRevealModesWriteNoRevealButWrongAnswersEmptyIt) {
  for (int mode : {0, 1, 5}) {
    quiz.clearQuestions();
    quiz.revealMode = mode;
    AddQuestions(1, 1);
    if (GetDlgItem(panel, 4001) == nullptr) BuildRows(1, 1);
    SetDlgItemTextA(panel, IDC_REVEAL_BASE + 1, "kept");
    Judge(4001, "paris");
    EXPECT_EQ(Reveal(0), "kept") << mode;
    Judge(4001, "lyon");
    EXPECT_EQ(Reveal(0), "") << mode;
  }
}

TEST_F(JudgeAnswerTest, RevealAllWritesEveryTextAtTheLastRightAnswer) {
  quiz.revealMode = 4;
  AddQuestions(3, 1);
  BuildRows(3, 3);
  Judge(4001, "paris");
  Judge(4002, "rome");
  for (int qi = 0; qi < 3; ++qi) EXPECT_EQ(Reveal(qi), "") << qi;
  EXPECT_EQ(quiz.allRevealed, 0);
  Judge(4003, "berlin");
  EXPECT_EQ(quiz.allRevealed, 1);
  for (int qi = 0; qi < 3; ++qi) EXPECT_EQ(Reveal(qi), "reveal " + std::to_string(qi + 1)) << qi;

  // Once all are shown, a further right answer writes nothing again.
  SetDlgItemTextA(panel, IDC_REVEAL_BASE + 1, "stale");
  Judge(4003, "berlin");
  EXPECT_EQ(Reveal(0), "stale");

  // A wrong answer empties only that question's label.
  Judge(4002, "milan");
  EXPECT_EQ(quiz.allRevealed, 0);
  EXPECT_EQ(Reveal(0), "stale");
  EXPECT_EQ(Reveal(1), "");
  EXPECT_EQ(Reveal(2), "reveal 3");

  // The next completion writes all of them again.
  Judge(4002, "rome");
  EXPECT_EQ(quiz.allRevealed, 1);
  for (int qi = 0; qi < 3; ++qi) EXPECT_EQ(Reveal(qi), "reveal " + std::to_string(qi + 1)) << qi;
}

TEST_F(JudgeAnswerTest, RevealAllCountsBothLabelsOfEachQuestion) {
  quiz.revealMode = 4;
  AddQuestions(2, 2);
  BuildRows(4, 2);
  Judge(4001, "paris");
  Judge(4002, "france");
  Judge(4003, "rome");
  EXPECT_EQ(Reveal(0), "");
  EXPECT_EQ(quiz.allRevealed, 0);
  Judge(4004, "italie");
  EXPECT_EQ(Reveal(0), "reveal 1");
  EXPECT_EQ(Reveal(1), "reveal 2");
}

struct ScoreCase {
  int questionCount;
  int perQuestion;
  const char* labels;  // one letter per feedback label: B "BRAVO", b "bravo", F "FAUX"
  const char* score;
  const char* code;
};

TEST_F(JudgeAnswerTest, ScoreAndCodeFollowTheCountOfFoundQuestions) {
  const ScoreCase cases[] = {
      {20, 1, "", " 0 / 20", NoCode},
      {20, 1, "BB", " 2 / 20", "CODE2"},
      {20, 1, "FFBFFFFB", " 2 / 20", "CODE2"},  // which questions does not matter
      {3, 1, "BBB", " 3 / 3", "CODE3"},
      {2, 2, "BFBB", " 1 / 2", "CODE1"},
      {2, 2, "FBFB", " 0 / 2", NoCode},
      {3, 1, "bFB", " 1 / 3", "CODE1"},         // only the exact word counts
      {0, 1, "", " 0 / 0", NoCode},
  };
  for (const ScoreCase& c : cases) {
    quiz.questionCount = c.questionCount;
    quiz.answersPerQuestion = c.perQuestion;
    for (int s = 0; s < ScoreCodeSlots; ++s) std::snprintf(quiz.scoreCodes[s], TextSize, "CODE%d", s + 1);
    if (GetDlgItem(panel, 4001) == nullptr) BuildRows(40, 0);
    for (int k = 1; k <= 40; ++k) {
      char letter = k <= static_cast<int>(std::strlen(c.labels)) ? c.labels[k - 1] : 'F';
      SetDlgItemTextA(panel, IDC_FEEDBACK_BASE + k, letter == 'B' ? "BRAVO" : letter == 'b' ? "bravo" : "FAUX");
    }
    quiz.UpdateScore(panel);
    EXPECT_EQ(Score(), c.score) << c.labels;
    EXPECT_EQ(Code(), c.code) << c.labels;
  }
}

TEST_F(JudgeAnswerTest, ScoresPastTheLastCodeShowTheBlankCode) {
  const struct {
    int found;
    const char* score;
    const char* code;
  } cases[] = {
      {95, " 95 / 120", "CODE95"},
      {96, " 96 / 120", "CODE96"},
      {97, " 97 / 120", NoCode},
      {120, " 120 / 120", NoCode},
  };
  quiz.questionCount = 120;
  for (int s = 0; s < ScoreCodeSlots; ++s) std::snprintf(quiz.scoreCodes[s], TextSize, "CODE%d", s + 1);
  BuildRows(120, 0);
  for (const auto& c : cases) {
    for (int k = 1; k <= 120; ++k) SetDlgItemTextA(panel, IDC_FEEDBACK_BASE + k, k <= c.found ? "BRAVO" : "?");
    quiz.UpdateScore(panel);
    EXPECT_EQ(Score(), c.score);
    EXPECT_EQ(Code(), c.code);
  }
}

TEST_F(JudgeAnswerTest, TypedTextIsReadUpTo259Bytes) {
  quiz.questionCount = 1;
  quiz.appendQuestion(std::string(259, 'A').c_str(), "", "?");
  BuildRows(1, 1);
  const struct {
    std::string typed;
    const char* word;
  } typedCases[] = {
      {std::string(259, 'a') + "BCD", "BRAVO"},  // the tail is cut by the read
      {std::string(258, 'a'), "Quasiment"},
      {std::string(300, ' ') + "A", "?"},
  };
  for (const auto& c : typedCases) {
    Judge(4001, c.typed.c_str());
    EXPECT_EQ(Feedback(1), c.word) << c.typed.size();
  }
}

TEST_F(JudgeAnswerTest, MissingControlsReadEmptyAndIgnoreWrites) {
  AddQuestions(2, 1);
  quiz.revealMode = 4;
  // No control at all in the panel: the field reads empty, nothing is written.
  quiz.JudgeAnswer(panel, 4001);
  EXPECT_EQ(Score(), " 0 / 2");
  EXPECT_EQ(Code(), NoCode);
  // A field whose feedback label is not made yet, as while the panel builds.
  AddControl(panel, "Edit", 4001, "paris");
  quiz.JudgeAnswer(panel, 4001);
  EXPECT_EQ(Score(), " 0 / 2");
  // No header panel at all.
  quiz.headerPanel = nullptr;
  AddControl(panel, "Static", 5001, "?");
  quiz.JudgeAnswer(panel, 4001);
  EXPECT_EQ(Feedback(1), "BRAVO");
  EXPECT_EQ(Score(), " 0 / 2");   // the old text stays
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
  DestroyWindow(GetDlgItem(panel, 4002));
  AddControl(panel, "Edit", 4002, "lyon");
  quiz.JudgeAnswer(panel, 4002);
  EXPECT_EQ(Feedback(2), "FAUX");  // a replaced field is read afresh
  // A second panel with the same identifiers takes the verdicts on its own labels.
  HWND first = panel;
  panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_QUESTION_PANEL), host,
                             PlainDialogProc, 0);
  BuildRows(2, 0);
  Judge(4002, "rome");
  EXPECT_EQ(Feedback(2), "BRAVO");
  EXPECT_EQ(ReadText(first, 5002), "FAUX");
  std::swap(panel, first);
  Judge(4002, "rome");
  EXPECT_EQ(Feedback(2), "BRAVO");
  EXPECT_EQ(Score(), " 2 / 2");
}

TEST_F(JudgeAnswerTest, QuestionWithoutRecordExpectsEmptyAnswers) {
  quiz.questionCount = 3;
  quiz.revealMode = 2;
  quiz.appendQuestion("Paris", "", "?");
  BuildRows(3, 3);
  const FieldCase cases[] = {
      {4003, "a", "Quasiment"},
      {4003, "ab", "Presque"},
      {4003, "abc", "FAUX"},
      {4002, "x", "Quasiment"},
  };
  for (const FieldCase& c : cases) {
    Judge(c.field, c.typed);
    EXPECT_EQ(Feedback(c.field - IDC_ANSWER_BASE), c.word) << c.field << " " << c.typed;
  }
}

}  // namespace
