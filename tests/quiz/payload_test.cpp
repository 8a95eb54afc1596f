// The payload grammar as the player reads it: one text field, the quiz
// resource and the score codes, whole and cut short.
#include "payload.h"

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

TEST(ReadField, ExpandsAndStopsWhereExpected) {
  const std::string A257(257, 'a');
  // clang-format off
  const struct { const char* name; std::string data; uint32_t start; std::string text; uint32_t cursor; bool ended; } cases[] = {
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
      // Past 259 bytes after expansion: cut, the field still consumed; a line break is never split.
      {"cut_at_259", std::string(300, 'a') + "|z", 0, std::string(259, 'a'), 301, true},
      {"break_fits_at_257", A257 + "\\nX|", 0, A257 + "\r\n", 261, true},
      {"break_never_split", A257 + "a\\nXb|", 0, A257 + "a", 263, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    char destination[TextSize + 8];
    std::memset(destination, 0x55, sizeof destination);
    uint32_t cursor = c.start;
    const std::string padded = c.data + "Zz|";  // past the length given: never read
    EXPECT_EQ(readField(U(padded), uint32_t(c.data.size()), cursor, destination), c.ended) << c.name;
    EXPECT_EQ(std::string(destination), c.text) << c.name;
    EXPECT_EQ(cursor, c.cursor) << c.name;
    EXPECT_EQ(destination[TextSize], 0x55) << c.name << ": written past 260 bytes";
  }
}

struct Question {
  std::string answer1, answer2, questionText, revealText;
};

// header: title, author, explanation, extra 1, extra 2; whole: every byte there, colour included.
TEST(ParseQuizPayload, FillsTheQuiz) {
  const std::string H = "T|Au|Ex|X1|X2|";
  const std::vector<std::string> Texts = {"T", "Au", "Ex", "X1", "X2"}, NoTexts(5);
  const std::vector<int> Colour = {10, 20, 30}, Default = {90, 95, 150};
  const Question None;
  // clang-format off
  const struct { const char* name; std::string data; int hidden, count, perQuestion; std::vector<std::string> header; std::vector<Question> questions; int revealMode; std::vector<int> colour; bool whole; } cases[] = {
      {"worked_example", B("\x00\x01\x02\x01") + H + "a1|Q1|a2|Q2|\x02r1|r2|\x0A\x14\x1E", 0, 2, 1, Texts, {{"a1", "", "Q1", "r1"}, {"a2", "", "Q2", "r2"}}, 2, Colour, true},
      {"two_answers_per_question", B("\x00\x01\x02\x02") + H + "a1|b1|Q1|a2|b2|Q2|\x02r1|r2|\x0A\x14\x1E", 0, 2, 2, Texts, {{"a1", "b1", "Q1", "r1"}, {"a2", "b2", "Q2", "r2"}}, 2, Colour, true},
      // Any value other than 2 means one answer: two fields per question.
      {"three_answers_read_as_one", B("\x00\x01\x01\x03") + H + "a1|Q1|" + B("\x00\x01\x02\x03"), 0, 1, 3, Texts, {{"a1", "", "Q1", ""}}, 0, {1, 2, 3}, true},
      {"visibility_0_hides", B("\x07\x00\x00\x01") + H + B("\x00\x01\x02\x03"), -1, 0, 1, Texts, {}, 0, {1, 2, 3}, true},
      {"visibility_2_hides", B("\x00\x02\x00\x01") + H + B("\x00\x01\x02\x03"), 1, 0, 1, Texts, {}, 0, {1, 2, 3}, true},
      {"no_questions", B("\x00\x01\x00\x01") + H + "\x02\x0A\x14\x1E", 0, 0, 1, Texts, {}, 2, Colour, true},
      {"reveal_mode_3_keeps_first_of_two", B("\x00\x01\x02\x01") + H + "a1|Q1|a2|Q2|\x03r1|d1|r2|d2|\x0A\x14\x1E", 0, 2, 1, Texts, {{"a1", "", "Q1", "r1"}, {"a2", "", "Q2", "r2"}}, 3, Colour, true},
      // Modes without reveal texts: the next byte is already the red one.
      {"reveal_mode_1", B("\x00\x01\x01\x01") + H + "a1|Q1|\x01\x0A\x14\x1E", 0, 1, 1, Texts, {{"a1", "", "Q1", ""}}, 1, Colour, true},
      {"reveal_mode_5", B("\x00\x01\x01\x01") + H + "a1|Q1|\x05r1|", 0, 1, 1, Texts, {{"a1", "", "Q1", ""}}, 5, {'r', '1', '|'}, true},
      // Truncated: read as far as it goes, every question still gets its record, the colour stays the default.
      {"cut_in_second_question", B("\x00\x01\x03\x01") + H + "a1|Q1|a2", 0, 3, 1, Texts, {{"a1", "", "Q1", ""}, {"a2", "", "", ""}, None}, 0, Default, false},
      {"two_colour_bytes_only", B("\x00\x01\x00\x01") + H + B("\x00\x0A\x14"), 0, 0, 1, Texts, {}, 0, Default, false},
      {"no_reveal_byte", B("\x00\x01\x00\x01") + H, 0, 0, 1, Texts, {}, 0, Default, false},
      // Missing count and answers bytes keep the constructor's 2 and 1.
      {"two_bytes", B("\x00\x02"), 1, 2, 1, NoTexts, {None, None}, 0, Default, false},
      {"empty", "", 0, 2, 1, NoTexts, {None, None}, 0, Default, false},
      // A missing terminator makes the rest of the data one field.
      {"missing_pipe_swallows_the_rest", B("\x00\x01\x01\x01") + "T|Au|Ex|X1|X2a1|Q1|" + B("\x00\x01\x02\x03"), 0, 1, 1, {"T", "Au", "Ex", "X1", "X2a1"}, {{"Q1", "", "\x01\x02\x03", ""}}, 0, Default, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QuizContent quiz;
    const std::string padded = c.data + "Zz|\x01\x02\x03";  // past the length given: never read
    QuizPayloadResult result = ParseQuizPayload(U(padded), uint32_t(c.data.size()), quiz);
    EXPECT_EQ(std::vector<int>({quiz.questionsHidden, quiz.questionCount, quiz.answersPerQuestion, quiz.revealMode}),
              std::vector<int>({c.hidden, c.count, c.perQuestion, c.revealMode}));
    EXPECT_EQ(std::vector<std::string>({quiz.title, quiz.author, quiz.explanation, quiz.extraText1, quiz.extraText2}),
              c.header);
    std::vector<QuestionRecord*> forward, backward;  // bounded, should a link loop
    for (QuestionRecord* r = quiz.firstQuestion; r != nullptr && forward.size() <= c.questions.size(); r = r->next)
      forward.push_back(r);
    for (QuestionRecord* r = quiz.lastQuestion; r != nullptr && backward.size() <= c.questions.size(); r = r->previous)
      backward.insert(backward.begin(), r);
    ASSERT_EQ(forward.size(), c.questions.size());
    EXPECT_EQ(backward, forward);
    EXPECT_EQ(quiz.questionAt(int(forward.size())), nullptr);
    for (size_t i = 0; i < forward.size(); ++i) {
      const QuestionRecord* r = quiz.questionAt(int(i));
      const Question& q = c.questions[i];
      EXPECT_EQ(std::make_tuple(r, std::string(r->answer1), std::string(r->answer2), std::string(r->questionText),
                                std::string(r->revealText)),
                std::make_tuple(forward[i], q.answer1, q.answer2, q.questionText, q.revealText));
    }
    EXPECT_EQ(std::vector<int>({quiz.backgroundRed, quiz.backgroundGreen, quiz.backgroundBlue}), c.colour);
    EXPECT_EQ(result.colourRead, c.whole);
    EXPECT_EQ(result.complete, c.whole);
  }
}

std::string CodeLines(int count) {
  std::string data;
  for (int i = 0; i < count; ++i) data += "C" + std::to_string(i) + "\r\n";
  return data;
}

// codes: the first slots, and the last one is slot 95 when there are more than 96 questions.
TEST(ParseScoreCodes, FillsTheCodeSlots) {
  // clang-format off
  const struct { const char* name; int count; std::string data; std::vector<std::string> codes; bool complete; } cases[] = {
      {"worked_example", 2, "ABC\r\nDE\r\n", {"ABC", "DE"}, true},
      {"backslash_n_kept", 1, "AB\\n\r\n", {"AB\\n"}, true},
      {"byte_after_cr_unseen", 2, "A\rXB\r\n", {"A", "B"}, true},
      {"lines_past_count_ignored", 1, "A\r\nB\r\n", {"A", ""}, true},
      {"no_questions_reads_nothing", 0, "A\r\n", {""}, true},
      // Truncated: the last line ends with the data, the missing ones are empty.
      {"last_lf_unread", 2, "ABC\r\nDE\r", {"ABC", "DE"}, true},
      {"last_line_without_cr", 2, "ABC\r\nDE", {"ABC", "DE"}, false},
      {"cut_in_first_line", 3, "AB", {"AB", "", ""}, false},
      {"empty_data", 2, "", {"", ""}, false},
      {"overlong_line_cut", 2, std::string(300, 'c') + "\r\nZ\r\n", {std::string(259, 'c'), "Z"}, true},
      // Codes past the 96th are read and dropped: nothing after the slots changes.
      {"255_codes_in_96_slots", 255, CodeLines(255), {"C0", "C1", "C95"}, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    QuizContent quiz;
    quiz.questionCount = c.count;
    quiz.revealMode = 77;  // the field right after the slots
    const std::string padded = c.data + "Zz\r\n";  // past the length given: never read
    EXPECT_EQ(ParseScoreCodes(U(padded), uint32_t(c.data.size()), quiz), c.complete) << c.name;
    for (size_t i = 0; i < c.codes.size(); ++i) {
      size_t slot = c.count > 96 && i + 1 == c.codes.size() ? 95 : i;
      EXPECT_EQ(std::string(quiz.scoreCodes[slot]), c.codes[i]) << c.name << ", code " << slot;
    }
    EXPECT_EQ(quiz.revealMode, 77) << c.name;
  }
}

// The quiz a program without one plays: its texts, counts and colour, no records, no codes.
TEST(InstallTestQuiz, GivesTheBuiltInQuiz) {
  QuizContent quiz;
  InstallTestQuiz(quiz);
  EXPECT_EQ(std::vector<std::string>({quiz.title, quiz.author, quiz.explanation, quiz.extraText1, quiz.extraText2}),
            std::vector<std::string>({"Nom du ludex", "Createur ludex", "Explications du ludex", "TEST", "TEST"}));
  EXPECT_EQ(std::vector<int>({quiz.questionCount, quiz.questionsHidden, quiz.answersPerQuestion, quiz.revealMode,
                              quiz.backgroundRed, quiz.backgroundGreen, quiz.backgroundBlue}),
            std::vector<int>({30, 0, 1, 0, 53, 203, 163}));
  EXPECT_EQ(quiz.firstQuestion, nullptr);
  EXPECT_STREQ(quiz.scoreCodes[0], "");
}

}  // namespace
