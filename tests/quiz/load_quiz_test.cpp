// One program per resource layout: LOAD_SCENARIO (an identifier) names the
// layout that the program's own .rc gives it, picks the expected outcome from
// the table and names the test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "quiz.h"
#include "support/dialog_answers.h"

#ifndef LOAD_SCENARIO
#error "LOAD_SCENARIO must name the resource layout"
#endif
#define SCENARIO_TEXT(name) #name
#define SCENARIO_NAME(name) SCENARIO_TEXT(name)

namespace {

// message: the one loader message box, or nullptr for none; codes: CODE1..CODE3 read from the codes resource.
struct Outcome {
  const char* scenario;
  const wchar_t* message;
  const char* title;
  int questionCount, questionsHidden, records, revealMode;
  COLORREF background;
  bool codes;
};

#define QUIZ_FROM_PAYLOAD "Quiz de test", 3, 0, 3, 2, RGB(10, 20, 30)
#define TEST_QUIZ "Nom du ludex", 30, 0, 0, 0, RGB(53, 203, 163), false
#define FRESH_QUIZ "nom du ludex", 2, 0, 0, 0, RGB(90, 95, 150), false

// clang-format off
const Outcome Outcomes[] = {
    {"good", nullptr, QUIZ_FROM_PAYLOAD, true},
    {"no_quiz", nullptr, TEST_QUIZ},
    {"empty_quiz", nullptr, TEST_QUIZ},
    {"bad_quiz", L"Erreur dans le décryptage des reponses", FRESH_QUIZ},
    {"no_codes", L"Codes non trouvés.", QUIZ_FROM_PAYLOAD, false},
    {"empty_codes", L"Codes non renseignés.", QUIZ_FROM_PAYLOAD, false},
    {"bad_codes", L"Erreur dans le décryptage des codes", QUIZ_FROM_PAYLOAD, false},
};
// clang-format on

TEST(LoadQuiz, LOAD_SCENARIO) {
  const Outcome* expected = nullptr;
  for (const Outcome& o : Outcomes)
    if (std::strcmp(o.scenario, SCENARIO_NAME(LOAD_SCENARIO)) == 0) expected = &o;
  ASSERT_NE(expected, nullptr) << "no outcome for " << SCENARIO_NAME(LOAD_SCENARIO);

  DialogAnswers boxes;  // each box seen and closed
  Quiz quiz;
  LoadQuiz(&quiz);

  std::vector<std::wstring> seen, wanted;
  for (const SeenDialog& box : boxes.seen()) seen.push_back(box.caption + L": " + box.text);
  if (expected->message != nullptr) wanted.push_back(L"Ludex: " + std::wstring(expected->message) + L"\n");
  EXPECT_EQ(seen, wanted);
  int records = 0;
  for (QuestionRecord* r = quiz.firstQuestion; r != nullptr; r = r->next) ++records;
  EXPECT_EQ(
      std::make_tuple(std::string(quiz.title), quiz.questionCount, quiz.questionsHidden, quiz.revealMode, records),
      std::make_tuple(std::string(expected->title), expected->questionCount, expected->questionsHidden,
                      expected->revealMode, expected->records));
  EXPECT_EQ(RGB(quiz.backgroundRed, quiz.backgroundGreen, quiz.backgroundBlue), expected->background);
  LOGBRUSH brush = {};
  ASSERT_EQ(GetObjectA(quiz.backgroundBrush, sizeof brush, &brush), int(sizeof brush));
  EXPECT_EQ(brush.lbColor, expected->background);
  for (int i = 0; i < 4; ++i)
    EXPECT_STREQ(quiz.scoreCodes[i], expected->codes && i < 3 ? ("CODE" + std::to_string(i + 1)).c_str() : "") << i;
  if (expected->records == 3) {
    // The payload's own texts, line break and accented byte included.
    EXPECT_STREQ(quiz.author, "Moi");
    EXPECT_STREQ(quiz.questionAt(0)->answer1, "PARIS");
    EXPECT_STREQ(quiz.questionAt(0)->answer2, "");
    EXPECT_STREQ(quiz.questionAt(2)->questionText, "Capitale de\r\nl'Allemagne ?");
    EXPECT_STREQ(quiz.questionAt(1)->revealText,
                 "Colis\xE9"
                 "e");
  }
}

}  // namespace
