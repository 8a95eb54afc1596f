#include "quiz/quiz_content.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(QuizContent, QuestionAtOnAnEmptyListIsNone) {
  QuizContent quiz;
  for (int i : {-1, 0, 1, 29, 254}) EXPECT_EQ(quiz.questionAt(i), nullptr) << i;
}

TEST(QuizContent, AppendsWalkBothWays) {
  QuizContent quiz;
  quiz.appendQuestion("a1", "", "q1");
  quiz.appendQuestion("a2", "b2", "q2");
  quiz.appendQuestion("a3", "", "q3");

  std::vector<std::string> forward, backward;
  for (QuestionRecord* r = quiz.firstQuestion; r != nullptr; r = r->next) {
    forward.push_back(r->answer1);
    EXPECT_STREQ(r->revealText, "");
  }
  for (QuestionRecord* r = quiz.lastQuestion; r != nullptr; r = r->previous) backward.push_back(r->answer1);
  EXPECT_EQ(forward, (std::vector<std::string>{"a1", "a2", "a3"}));
  EXPECT_EQ(backward, (std::vector<std::string>{"a3", "a2", "a1"}));
  EXPECT_EQ(quiz.firstQuestion->previous, nullptr);
  EXPECT_EQ(quiz.lastQuestion->next, nullptr);

  struct { int position; const char* answer2; const char* questionText; } lookups[] = {
      {0, "", "q1"}, {1, "b2", "q2"}, {2, "", "q3"}};
  for (const auto& l : lookups) {
    QuestionRecord* r = quiz.questionAt(l.position);
    ASSERT_NE(r, nullptr) << l.position;
    EXPECT_STREQ(r->answer2, l.answer2);
    EXPECT_STREQ(r->questionText, l.questionText);
  }
  EXPECT_EQ(quiz.questionAt(3), nullptr);
}

}  // namespace
