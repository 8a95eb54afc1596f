// The quiz format's rules: answer-field numbering both ways, reveal modes,
// fields per question, the panel's field limit and the 259-byte copy.
#include "quiz_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

namespace {

TEST(QuizFormat, AnswerFieldsNumberedBothWays) {
  // One answer per question, two, and any other count that plays as one.
  // clang-format off
  const struct { int question, slot, answers, id; } fields[] = {
      {0, 1, 1, 4001}, {2, 1, 1, 4003}, {254, 1, 1, 4255}, {0, 1, 2, 4001}, {0, 2, 2, 4002}, {2, 1, 2, 4005},
      {2, 2, 2, 4006}, {254, 2, 2, 4510}, {2, 1, 7, 4003}, {2, 1, 0, 4003},
  };
  // clang-format on
  for (const auto& c : fields) {
    const AnswerFieldPlace place = PlaceOfAnswerField(c.id, c.answers);
    EXPECT_EQ(std::make_tuple(AnswerFieldId(c.question, c.slot, c.answers), place.questionIndex, place.slot),
              std::make_tuple(c.id, c.question, c.slot))
        << c.question << "/" << c.slot << "/" << c.answers;
    EXPECT_EQ(FeedbackLabelId(c.id), c.id + 1000);
  }
  // Identifiers before the first field name no question.
  EXPECT_LT(PlaceOfAnswerField(4000, 1).questionIndex, 0);
  EXPECT_LT(PlaceOfAnswerField(3999, 2).questionIndex, 0);
  EXPECT_EQ(std::make_pair(RevealLabelId(0), RevealLabelId(254)), std::make_pair(8001, 8255));
}

TEST(QuizFormat, RevealModesFieldsPerQuestionAndFieldLimit) {
  // clang-format off
  const struct { int mode, texts; bool each, all; } modes[] = {
      {0, 0, false, false}, {1, 0, false, false}, {2, 1, true, false}, {3, 2, true, false},
      {4, 1, false, true}, {5, 0, false, false}, {255, 0, false, false}, {-2, 0, false, false},
  };
  const struct { int answers, fields; } perQuestion[] = {{1, 1}, {2, 2}, {0, 1}, {3, 1}, {255, 1}};
  const struct { int count, answers, limit; } limits[] = {{3, 2, 6}, {255, 1, 255}, {255, 255, 510}, {-3, 1, 0}, {2000000000, 2000000000, 510}};
  // clang-format on
  for (const auto& c : modes) {
    EXPECT_EQ(std::make_tuple(RevealTextsPerQuestion(c.mode), HasRevealTexts(c.mode), RevealsEachQuestion(c.mode),
                              RevealsAllAtOnce(c.mode)),
              std::make_tuple(c.texts, c.texts > 0, c.each, c.all))
        << c.mode;
  }
  for (const auto& c : perQuestion) EXPECT_EQ(FieldsPerQuestion(c.answers), c.fields) << c.answers;
  for (const auto& c : limits) EXPECT_EQ(AnswerFieldLimit(c.count, c.answers), c.limit) << c.count;
}

TEST(QuizFormat, CopyTextKeeps259Bytes) {
  // clang-format off
  const struct { std::string source; size_t kept; } cases[] = {{"", 0}, {"Paris", 5}, {std::string(259, 'a'), 259}, {std::string(400, 'b'), 259}};
  // clang-format on
  for (const auto& c : cases) {
    char field[TextSize + 8];
    std::memset(field, 'X', sizeof field);
    EXPECT_EQ(CopyText(field, c.source.c_str()), c.kept);
    EXPECT_EQ(std::string(field), c.source.substr(0, c.kept));
    EXPECT_EQ(field[TextSize], 'X') << "nothing written past the field";
  }
}

}  // namespace
