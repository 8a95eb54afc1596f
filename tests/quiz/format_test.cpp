#include "quiz_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(QuizFormat, AnswerFieldsNumberedBothWays) {
  // clang-format off
  const struct { int question, slot, answers, id; } fields[] = {
      {0, 1, 1, 4001}, {2, 1, 1, 4003}, {254, 1, 1, 4255},  // one answer per question
      {0, 1, 2, 4001}, {0, 2, 2, 4002}, {2, 1, 2, 4005}, {2, 2, 2, 4006}, {254, 2, 2, 4510},
      {2, 1, 7, 4003}, {2, 1, 0, 4003},  // any other count plays as one answer
  };
  // clang-format on
  for (const auto& c : fields) {
    SCOPED_TRACE(std::to_string(c.question) + "/" + std::to_string(c.slot) + "/" + std::to_string(c.answers));
    EXPECT_EQ(AnswerFieldId(c.question, c.slot, c.answers), c.id);
    const AnswerFieldPlace place = PlaceOfAnswerField(c.id, c.answers);
    EXPECT_EQ(place.questionIndex, c.question);
    EXPECT_EQ(place.slot, c.slot);
    EXPECT_EQ(FeedbackLabelId(c.id), c.id + 1000);
  }
  // Identifiers before the first field name no question.
  EXPECT_LT(PlaceOfAnswerField(4000, 1).questionIndex, 0);
  EXPECT_LT(PlaceOfAnswerField(3999, 2).questionIndex, 0);
  EXPECT_EQ(RevealLabelId(0), 8001);
  EXPECT_EQ(RevealLabelId(254), 8255);
}

TEST(QuizFormat, RevealModesAndFieldsPerQuestion) {
  // clang-format off
  const struct { int mode, texts; bool each, all; } modes[] = {
      {0, 0, false, false}, {1, 0, false, false}, {2, 1, true, false}, {3, 2, true, false},
      {4, 1, false, true},  {5, 0, false, false}, {255, 0, false, false}, {-2, 0, false, false},
  };
  // clang-format on
  for (const auto& c : modes) {
    EXPECT_EQ(RevealTextsPerQuestion(c.mode), c.texts) << c.mode;
    EXPECT_EQ(HasRevealTexts(c.mode), c.texts > 0) << c.mode;
    EXPECT_EQ(RevealsEachQuestion(c.mode), c.each) << c.mode;
    EXPECT_EQ(RevealsAllAtOnce(c.mode), c.all) << c.mode;
  }
  // clang-format off
  const struct { int answers, fields; } perQuestion[] = {{1, 1}, {2, 2}, {0, 1}, {3, 1}, {255, 1}};
  // clang-format on
  for (const auto& c : perQuestion) EXPECT_EQ(FieldsPerQuestion(c.answers), c.fields) << c.answers;
  // clang-format off
  const struct { int count, answers, limit; } limits[] = {
      {3, 2, 6}, {255, 1, 255}, {255, 255, 510}, {-3, 1, 0}, {2000000000, 2000000000, 510},
  };
  // clang-format on
  for (const auto& c : limits) EXPECT_EQ(AnswerFieldLimit(c.count, c.answers), c.limit) << c.count;
}

TEST(QuizFormat, CopyTextKeeps259Bytes) {
  char field[TextSize + 8];
  // clang-format off
  const struct { std::string source; size_t kept; } cases[] = {{"", 0}, {"Paris", 5}, {std::string(259, 'a'), 259},
                                                               {std::string(400, 'b'), 259}};
  for (const auto& c : cases) {
    std::memset(field, 'X', sizeof field);
    EXPECT_EQ(CopyText(field, c.source.c_str()), c.kept);
    EXPECT_EQ(std::string(field), c.source.substr(0, c.kept));
    EXPECT_EQ(field[TextSize], 'X') << "nothing written past the field";
  }
}

}  // namespace

// clang-format on