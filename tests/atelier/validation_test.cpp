// Validation in the editor: the words of `ludex-pack check` on the source
// Save writes, placed on a row and a field.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "quiz_source.h"
#include "validation.h"

namespace {

// Every message without its place, sorted: the parser counts columns in the
// source line, the editor in the field.
std::vector<std::string> Unplaced(std::vector<std::string> messages) {
  for (std::string& message : messages)
    message = std::regex_replace(message, std::regex("^([EW] )caractère [0-9]+ : "), "$1");
  std::sort(messages.begin(), messages.end());
  return messages;
}

std::vector<std::string> CheckedSource(const AuthoredQuiz& quiz) {
  AuthoredQuiz parsed;
  Diagnostics diagnostics;
  if (ParseQuizSource(WriteQuizSource(quiz, ""), parsed, diagnostics, &ConservativeMetrics())) {
    QuizPayloads streams;
    CompressPayloads(EncodePayloads(parsed), streams, diagnostics);
  }
  std::vector<std::string> messages;
  for (const Diagnostic& d : diagnostics.items) messages.push_back((d.isError ? "E " : "W ") + d.message);
  return Unplaced(messages);
}

std::string Long(char c) { return std::string(MaxTextLength - 1, c) + "\r\n"; }

TEST(ValidationTest, SaysWhatLudexPackCheckSays) {
  // clang-format off
  const struct { const char* name; std::function<void(AuthoredQuiz&)> change; int errors; } cases[] = {
      {"Valid", [](AuthoredQuiz&) {}, 0},
      {"PipeInTitle", [](AuthoredQuiz& q) { q.title = "a|b"; }, 1},
      {"ControlByteInExplanation", [](AuthoredQuiz& q) { q.explanation = "a\x01|"; }, 2},
      {"AnswerWarningsAndAnEmptyAnswer", [](AuthoredQuiz& q) { q.questions[0].answer1 = " R"; q.questions[1].answer1 = ""; q.questions[2].answer1 = "a\r\nb"; }, 1},
      {"EmptyTitle", [](AuthoredQuiz& q) { q.title = " "; }, 1},
      {"CodeWithLineBreak", [](AuthoredQuiz& q) { q.questions[1].scoreCode = "a\r\nb"; }, 1},
      {"TextsThePlayerCuts", [](AuthoredQuiz& q) { q.author = "Mme Lef\xE8vre, 5e B"; q.questions[2].scoreCode = "BOUSSOLE"; }, 0},
      {"TooLongRevealInUse", [](AuthoredQuiz& q) { q.revealMode = 2; q.questions[0].revealText = Long('r'); }, 1},
      {"TooLongRevealOutOfUse", [](AuthoredQuiz& q) { q.questions[0].revealText = Long('r'); q.questions[0].secondRevealText = "|"; }, 0},
      {"TwoAnswersOneEmpty", [](AuthoredQuiz& q) { q.answersPerQuestion = 2; for (auto& x : q.questions) x.answer2 = "S"; q.questions[2].answer2 = ""; }, 1},
      {"OddRevealModeNoQuestion", [](AuthoredQuiz& q) { q.revealMode = 7; q.questions.clear(); }, 0},
      {"NinetySevenCodes", [](AuthoredQuiz& q) { q.questions.resize(97, q.questions[0]); }, 0},
      {"OverThePackedSize", [](AuthoredQuiz& q) {
       q.revealMode = 3;
       q.questions.resize(MaxQuestions, q.questions[0]);
       for (auto& x : q.questions) x.questionText = x.answer1 = x.revealText = x.secondRevealText = std::string(259, 'q');
     }, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    AuthoredQuiz quiz;
    quiz.title = "T";
    for (const char* text : {"Q1", "Q2", "Q3"}) quiz.questions.push_back({text, "R", "", "", "", ""});
    c.change(quiz);
    std::vector<std::string> messages;
    int errors = 0;
    for (const QuizProblem& p : ValidateQuiz(quiz, true, &ConservativeMetrics())) {
      messages.push_back((p.isError ? "E " : "W ") + p.message);
      errors += p.isError;
    }
    EXPECT_EQ(Unplaced(messages), CheckedSource(quiz)) << c.name;
    EXPECT_EQ(errors, c.errors) << c.name;
  }
}

}  // namespace
