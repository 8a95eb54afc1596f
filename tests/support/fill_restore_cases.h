// F1 and the restore of answers, one table for both players: the program's
// question panel (tests/questions, under wine) and the web page's player
// (tests/web, natively) each give a PlayerUnderTest, and RunFillRestoreCases
// plays every case on it. A case starts the player on an answers file, types
// (each step judged or only written), then presses F1 in a field or resumes
// another answers file: the page takes it while playing, the program is
// started again on it. Both must end with the same texts.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"  // IDC_SCORE, IDC_SCORE_CODE

// Questions Paris/France (reveal "Seine"), Rome/Italie ("Tibre"),
// Berlin/Allemagne ("Spree"), then Paris/France ("Louvre"); score codes
// CODE1, CODE2...
struct CaseQuiz {
  int questions;
  int answers;  // per question
  int revealMode;
};

class PlayerUnderTest {
 public:
  virtual ~PlayerUnderTest() = default;
  virtual void start(const CaseQuiz& quiz, const std::string& answersFile) = 0;
  // text into answer field id, then Enter there when judged.
  virtual void type(int id, const std::string& text, bool judged) = 0;
  virtual void pressF1(int id) = 0;
  virtual void resume(const std::string& answersFile) = 0;
  virtual std::string text(int id) = 0;  // empty for no such control
};

struct FillRestoreStep {
  int field;
  const char* text;
  bool judged;
};

struct FillRestoreCase {
  const char* name;
  CaseQuiz quiz;
  std::string start;
  std::vector<FillRestoreStep> steps;
  int f1Field;         // 0: no F1
  const char* resume;  // null: no resume
  std::vector<std::string> fields, labels, reveals;
  const char *score, *code;
};

inline const std::vector<FillRestoreCase>& FillRestoreCases() {
  const std::vector<FillRestoreStep> allRight1 = {{4001, "Paris", true}, {4002, "Rome", true}, {4003, "Berlin", true}};
  const std::vector<FillRestoreStep> allRight2 = {{4001, "Paris", true},  {4002, "France", true},
                                                  {4003, "Rome", true},   {4004, "Italie", true},
                                                  {4005, "Berlin", true}, {4006, "Allemagne", true}};
  const char* oneWrong1 = "Paris\r\nLyon\r\nBerlin\r\n";
  const char* oneWrong2 = "Paris\r\nFrance\r\nRome\r\nx\r\nBerlin\r\nAllemagne\r\n";
  const std::vector<std::string> none = {"", "", ""}, eachRight = {"Seine", "", "Spree"};
  const std::vector<std::string> words1 = {"BRAVO", "FAUX", "BRAVO"};
  const std::vector<std::string> words2 = {"BRAVO", "BRAVO", "BRAVO", "FAUX", "BRAVO", "BRAVO"};
  // clang-format off
  static const std::vector<FillRestoreCase> cases = {
      // A finished game, then a file with question 2 wrong: the reveal texts follow the file alone.
      {"Finished1Mode0", {3, 1, 0}, "", allRight1, 0, oneWrong1, {"Paris", "Lyon", "Berlin"}, words1, none, " 2 / 3", "CODE2"},
      {"Finished1Mode2", {3, 1, 2}, "", allRight1, 0, oneWrong1, {}, words1, eachRight, " 2 / 3", "CODE2"},
      {"Finished1Mode3", {3, 1, 3}, "", allRight1, 0, oneWrong1, {}, words1, eachRight, " 2 / 3", "CODE2"},
      {"Finished1Mode4", {3, 1, 4}, "", allRight1, 0, oneWrong1, {}, words1, none, " 2 / 3", "CODE2"},
      {"Finished2Mode0", {3, 2, 0}, "", allRight2, 0, oneWrong2, {"Paris", "France", "Rome", "x"}, words2, none, " 2 / 3", "CODE2"},
      {"Finished2Mode2", {3, 2, 2}, "", allRight2, 0, oneWrong2, {}, words2, eachRight, " 2 / 3", "CODE2"},
      {"Finished2Mode3", {3, 2, 3}, "", allRight2, 0, oneWrong2, {}, words2, eachRight, " 2 / 3", "CODE2"},
      {"Finished2Mode4", {3, 2, 4}, "", allRight2, 0, oneWrong2, {}, words2, none, " 2 / 3", "CODE2"},
      {"AllRightMode4", {3, 1, 4}, "Paris\r\nLyon\r\n", {}, 0, "paris\r\nROME\r\nBerlin\r\n", {}, {"BRAVO", "BRAVO", "BRAVO"},
       {"Seine", "Tibre", "Spree"}, " 3 / 3", "CODE3"},
      // Restores: lines past the fields ignored, a stray space is BRAVO without the reveal text.
      {"Lines", {3, 1, 2}, "Paris \r\n\r\n42\r\nBERLIN\r\n", {}, 0, nullptr, {"Paris ", "", "42"}, {"BRAVO", "?", "FAUX"},
       none, " 1 / 3", "CODE1"},
      {"TwoAnswers", {3, 2, 0}, "paris\r\nfrance\r\nx\r\nitalie\r\n\r\nALLEMAGNE", {}, 0, nullptr, {}, {"BRAVO", "BRAVO", "FAUX", "BRAVO", "?", "BRAVO"},
       none, " 1 / 3", "CODE1"},
      // A lone field is never left while the rows are built: "?" and no score.
      {"LoneField", {1, 1, 2}, "Paris\r\n", {}, 0, nullptr, {"Paris"}, {"?"}, {""}, " 0 / 1", "      "},
      {"LoneFieldResumed", {1, 1, 2}, "", {{4001, "paris", true}}, 0, "Paris\r\n", {"Paris"}, {"?"}, {""}, " 0 / 1", "      "},
      // F1: the text goes into every field not reading BRAVO; the focus moving judges them.
      {"F1", {4, 1, 2}, "Paris\r\n\r\nBerlin\r\nLondres\r\n", {}, 4001, nullptr, {"Paris", "Paris", "Berlin", "Paris"},
       {"BRAVO", "FAUX", "BRAVO", "BRAVO"}, {"Seine", "", "Spree", "Louvre"}, " 3 / 4", "CODE3"},
      {"F1Typed", {4, 1, 0}, "\r\n\r\nBerlin\r\n", {{4002, "Rome", false}}, 4002, nullptr, {"Rome", "Rome", "Berlin", "Rome"},
       {"FAUX", "BRAVO", "BRAVO", "FAUX"}, {}, " 2 / 4", "CODE2"},
      // F1 in a solved field now holding another text: leaving it judges it, so it is filled too.
      {"F1InASolvedField", {4, 1, 0}, "Paris\r\nRom\r\nBerlin\r\n", {{4003, "Rome", false}}, 4003, nullptr,
       {"Paris", "Rome", "Rome", "Rome"}, {"BRAVO", "BRAVO", "FAUX", "FAUX"}, {}, " 2 / 4", "CODE2"},
      // Every label reading BRAVO: F1 judges nothing, not even its own field's new text.
      {"F1AllSolved", {4, 1, 4}, "Paris\r\nRome\r\nBerlin\r\nParis\r\n", {{4002, "Lyon", false}}, 4002, nullptr,
       {"Paris", "Lyon"}, {"BRAVO", "BRAVO", "BRAVO", "BRAVO"}, {"Seine", "Tibre", "Spree", "Louvre"}, " 4 / 4", "CODE4"},
      {"F1TwoAnswers", {2, 2, 3}, "paris\r\n\r\n\r\nitalie\r\n", {{4002, "France", true}}, 4002, nullptr,
       {"paris", "France", "France", "italie"}, {"BRAVO", "BRAVO", "FAUX", "BRAVO"}, {"Seine", ""}, " 1 / 2", "CODE1"},
  };
  // clang-format on
  return cases;
}

inline void RunFillRestoreCases(PlayerUnderTest& player) {
  for (const FillRestoreCase& c : FillRestoreCases()) {
    player.start(c.quiz, c.start);
    for (const FillRestoreStep& step : c.steps) player.type(step.field, step.text, step.judged);
    if (c.f1Field != 0) player.pressF1(c.f1Field);
    if (c.resume != nullptr) player.resume(c.resume);
    for (size_t k = 0; k < c.fields.size(); ++k) EXPECT_EQ(player.text(4001 + int(k)), c.fields[k]) << c.name << k;
    for (size_t k = 0; k < c.labels.size(); ++k) EXPECT_EQ(player.text(5001 + int(k)), c.labels[k]) << c.name << k;
    for (size_t k = 0; k < c.reveals.size(); ++k) EXPECT_EQ(player.text(8001 + int(k)), c.reveals[k]) << c.name << k;
    EXPECT_EQ(player.text(IDC_SCORE), c.score) << c.name;
    EXPECT_EQ(player.text(IDC_SCORE_CODE), c.code) << c.name;
  }
}
