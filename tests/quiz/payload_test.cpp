#include "quiz/payload.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Raw payload bytes from a literal that may hold zero bytes.
template <size_t N>
std::string B(const char (&bytes)[N]) {
  return std::string(bytes, N - 1);
}

const uint8_t* U(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

// ---- readField --------------------------------------------------------------

struct FieldCase {
  const char* name;
  std::string data;
  uint32_t start;
  std::string text;
  uint32_t cursor;
  bool ended;
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

std::vector<FieldCase> FieldCases() {
  return {
      {"plain", "abc|rest", 0, "abc", 4, true},
      {"pipe_alone", "|x", 0, "", 1, true},
      {"from_middle", "ab|cd|", 3, "cd", 6, true},
      {"line_break_eats_any_byte", "\\nXa|", 0, "\r\na", 5, true},
      {"line_break_eats_a_pipe", "\\n|a|", 0, "\r\na", 5, true},
      {"backslash_t_is_plain", "\\t|", 0, "\\t", 3, true},
      {"zero_byte_adds_nothing", B("a\0b|"), 0, "ab", 4, true},
      // The data ends before the `|`: the field ends with the data.
      {"runs_to_end", "abc", 0, "abc", 3, false},
      {"backslash_last_byte", "ab\\", 0, "ab\\", 3, false},
      {"escape_cut_after_n", "a\\n", 0, "a\r\n", 3, false},
      {"escape_cut_after_x", "a\\nX", 0, "a\r\n", 4, false},
      // Longer than 259 bytes after expansion: cut, the field still consumed.
      {"cut_at_259", Repeat('a', 300) + "|z", 0, Repeat('a', 259), 301, true},
      {"break_fits_at_257", Repeat('a', 257) + "\\nX|", 0, Repeat('a', 257) + "\r\n", 261, true},
      {"break_never_split", Repeat('a', 258) + "\\nXb|", 0, Repeat('a', 258), 263, true},
  };
}

class ReadFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(ReadFieldTest, ExpandsAndStopsWhereExpected) {
  const FieldCase& c = GetParam();
  char destination[TextSize + 8];
  std::memset(destination, 0x55, sizeof destination);
  uint32_t cursor = c.start;
  bool ended = readField(U(c.data), static_cast<uint32_t>(c.data.size()), cursor, destination);
  EXPECT_EQ(std::string(destination), c.text);
  EXPECT_EQ(cursor, c.cursor);
  EXPECT_EQ(ended, c.ended);
  for (size_t i = TextSize; i < sizeof destination; ++i) EXPECT_EQ(destination[i], 0x55) << "written past 260 bytes";
}

INSTANTIATE_TEST_SUITE_P(Fields, ReadFieldTest, testing::ValuesIn(FieldCases()),
                         [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

// ---- the quiz resource ---------------------------------------------------------

struct Question {
  std::string answer1, answer2, questionText, revealText;
};

struct QuizCase {
  const char* name;
  std::string data;
  int hidden;
  int count;
  int perQuestion;
  std::vector<std::string> header;  // title, author, explanation, extra 1, extra 2
  std::vector<Question> questions;
  int revealMode;
  int red, green, blue;
  bool colourRead;
  bool complete;
};

const std::string Header = "T|Au|Ex|X1|X2|";
const std::vector<std::string> HeaderTexts = {"T", "Au", "Ex", "X1", "X2"};
const std::vector<std::string> EmptyHeader = {"", "", "", "", ""};

std::vector<QuizCase> QuizCases() {
  return {
      {"worked_example", B("\x00\x01\x02\x01") + Header + "a1|Q1|a2|Q2|" + "\x02" + "r1|r2|" + "\x0A\x14\x1E",
       0, 2, 1, HeaderTexts, {{"a1", "", "Q1", "r1"}, {"a2", "", "Q2", "r2"}}, 2, 10, 20, 30, true, true},
      {"two_answers_per_question",
       B("\x00\x01\x02\x02") + Header + "a1|b1|Q1|a2|b2|Q2|" + "\x02" + "r1|r2|" + "\x0A\x14\x1E",
       0, 2, 2, HeaderTexts, {{"a1", "b1", "Q1", "r1"}, {"a2", "b2", "Q2", "r2"}}, 2, 10, 20, 30, true, true},
      // Any value other than 2 means one answer: two fields per question.
      {"three_answers_read_as_one", B("\x00\x01\x01\x03") + Header + "a1|Q1|" + B("\x00") + "\x01\x02\x03",
       0, 1, 3, HeaderTexts, {{"a1", "", "Q1", ""}}, 0, 1, 2, 3, true, true},
      {"visibility_0_hides", B("\x07\x00\x00\x01") + Header + B("\x00") + "\x01\x02\x03",
       -1, 0, 1, HeaderTexts, {}, 0, 1, 2, 3, true, true},
      {"visibility_2_hides", B("\x00\x02\x00\x01") + Header + B("\x00") + "\x01\x02\x03",
       1, 0, 1, HeaderTexts, {}, 0, 1, 2, 3, true, true},
      // No questions: no groups, no reveal texts, but the mode and the colour.
      {"no_questions", B("\x00\x01\x00\x01") + Header + "\x02" + "\x0A\x14\x1E",
       0, 0, 1, HeaderTexts, {}, 2, 10, 20, 30, true, true},
      {"reveal_mode_3_keeps_first_of_two",
       B("\x00\x01\x02\x01") + Header + "a1|Q1|a2|Q2|" + "\x03" + "r1|d1|r2|d2|" + "\x0A\x14\x1E",
       0, 2, 1, HeaderTexts, {{"a1", "", "Q1", "r1"}, {"a2", "", "Q2", "r2"}}, 3, 10, 20, 30, true, true},
      // Modes without reveal texts: the next byte is already the red one.
      {"reveal_mode_1", B("\x00\x01\x01\x01") + Header + "a1|Q1|" + "\x01" + "\x0A\x14\x1E",
       0, 1, 1, HeaderTexts, {{"a1", "", "Q1", ""}}, 1, 10, 20, 30, true, true},
      {"reveal_mode_5", B("\x00\x01\x01\x01") + Header + "a1|Q1|" + "\x05" + "r1|",
       0, 1, 1, HeaderTexts, {{"a1", "", "Q1", ""}}, 5, 'r', '1', '|', true, true},
      // Truncated payloads: read as far as they go; every question still gets
      // its record; a missing colour keeps the default one.
      {"cut_in_second_question", B("\x00\x01\x03\x01") + Header + "a1|Q1|a2",
       0, 3, 1, HeaderTexts, {{"a1", "", "Q1", ""}, {"a2", "", "", ""}, {"", "", "", ""}}, 0, 90, 95, 150, false,
       false},
      {"two_colour_bytes_only", B("\x00\x01\x00\x01") + Header + B("\x00") + "\x0A\x14",
       0, 0, 1, HeaderTexts, {}, 0, 90, 95, 150, false, false},
      {"no_reveal_byte", B("\x00\x01\x00\x01") + Header, 0, 0, 1, HeaderTexts, {}, 0, 90, 95, 150, false, false},
      // Missing count and answers bytes keep the constructor's 2 and 1.
      {"two_bytes", B("\x00\x02"), 1, 2, 1, EmptyHeader, {{"", "", "", ""}, {"", "", "", ""}}, 0, 90, 95, 150, false,
       false},
      {"empty", "", 0, 2, 1, EmptyHeader, {{"", "", "", ""}, {"", "", "", ""}}, 0, 90, 95, 150, false, false},
      // A missing terminator makes the rest of the data one field.
      {"missing_pipe_swallows_the_rest", B("\x00\x01\x01\x01") + "T|Au|Ex|X1|X2" + "a1|Q1|" + B("\x00") + "\x01\x02\x03",
       0, 1, 1, {"T", "Au", "Ex", "X1", "X2a1"}, {{"Q1", "", B("\x01\x02\x03"), ""}}, 0, 90, 95, 150, false, false},
  };
}

class QuizPayloadTest : public testing::TestWithParam<QuizCase> {};

TEST_P(QuizPayloadTest, FillsTheQuiz) {
  const QuizCase& c = GetParam();
  QuizContent quiz;
  QuizPayloadResult result = ParseQuizPayload(U(c.data), static_cast<uint32_t>(c.data.size()), quiz);

  EXPECT_EQ(quiz.questionsHidden, c.hidden);
  EXPECT_EQ(quiz.questionCount, c.count);
  EXPECT_EQ(quiz.answersPerQuestion, c.perQuestion);
  const char* header[] = {quiz.title, quiz.author, quiz.explanation, quiz.extraText1, quiz.extraText2};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(std::string(header[i]), c.header[i]) << "header text " << i;

  size_t records = 0;
  for (QuestionRecord* r = quiz.firstQuestion; r != nullptr; r = r->next) ++records;
  ASSERT_EQ(records, c.questions.size());
  for (size_t i = 0; i < c.questions.size(); ++i) {
    QuestionRecord* r = quiz.questionAt(static_cast<int>(i));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(std::string(r->answer1), c.questions[i].answer1) << "question " << i;
    EXPECT_EQ(std::string(r->answer2), c.questions[i].answer2) << "question " << i;
    EXPECT_EQ(std::string(r->questionText), c.questions[i].questionText) << "question " << i;
    EXPECT_EQ(std::string(r->revealText), c.questions[i].revealText) << "question " << i;
  }

  EXPECT_EQ(quiz.revealMode, c.revealMode);
  EXPECT_EQ(quiz.backgroundRed, c.red);
  EXPECT_EQ(quiz.backgroundGreen, c.green);
  EXPECT_EQ(quiz.backgroundBlue, c.blue);
  EXPECT_EQ(result.colourRead, c.colourRead);
  EXPECT_EQ(result.complete, c.complete);
}

INSTANTIATE_TEST_SUITE_P(Payloads, QuizPayloadTest, testing::ValuesIn(QuizCases()),
                         [](const testing::TestParamInfo<QuizCase>& info) { return std::string(info.param.name); });

// ---- the codes resource ----------------------------------------------------------

struct CodesCase {
  const char* name;
  int count;
  std::string data;
  std::vector<std::string> codes;  // the first slots, in order
  bool complete;
};

std::vector<CodesCase> CodesCases() {
  return {
      {"worked_example", 2, "ABC\r\nDE\r\n", {"ABC", "DE"}, true},
      {"backslash_n_kept", 1, "AB\\n\r\n", {"AB\\n"}, true},
      {"byte_after_cr_unseen", 2, "A\rXB\r\n", {"A", "B"}, true},
      {"lines_past_count_ignored", 1, "A\r\nB\r\n", {"A", ""}, true},
      {"no_questions_reads_nothing", 0, "A\r\n", {""}, true},
      // Truncated: the last line ends with the data, the missing ones are empty.
      {"last_line_without_cr", 2, "ABC\r\nDE", {"ABC", "DE"}, false},
      {"cut_in_first_line", 3, "AB", {"AB", "", ""}, false},
      {"empty_data", 2, "", {"", ""}, false},
      {"overlong_line_cut", 2, std::string(300, 'c') + "\r\nZ\r\n", {std::string(259, 'c'), "Z"}, true},
  };
}

class ScoreCodesTest : public testing::TestWithParam<CodesCase> {};

TEST_P(ScoreCodesTest, FillsTheCodeSlots) {
  const CodesCase& c = GetParam();
  QuizContent quiz;
  quiz.questionCount = c.count;
  bool complete = ParseScoreCodes(U(c.data), static_cast<uint32_t>(c.data.size()), quiz);
  for (size_t i = 0; i < c.codes.size(); ++i) EXPECT_EQ(std::string(quiz.scoreCodes[i]), c.codes[i]) << "code " << i;
  EXPECT_EQ(complete, c.complete);
}

INSTANTIATE_TEST_SUITE_P(Codes, ScoreCodesTest, testing::ValuesIn(CodesCases()),
                         [](const testing::TestParamInfo<CodesCase>& info) { return std::string(info.param.name); });

TEST(ScoreCodes, CodesPastTheNinetySixthAreReadAndDropped) {
  std::string data;
  for (int i = 0; i < 255; ++i) data += "C" + std::to_string(i) + "\r\n";
  QuizContent quiz;
  quiz.questionCount = 255;
  quiz.revealMode = 77;  // the field right after the slots
  EXPECT_TRUE(ParseScoreCodes(U(data), static_cast<uint32_t>(data.size()), quiz));
  EXPECT_EQ(std::string(quiz.scoreCodes[0]), "C0");
  EXPECT_EQ(std::string(quiz.scoreCodes[95]), "C95");
  EXPECT_EQ(quiz.revealMode, 77);
}

}  // namespace
