// The verdict, the reveal texts and the score over controls held as texts:
// which label each verdict writes, when reveal texts appear and go, and
// what the score and its code read.
#include "judge.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

const char NoCode[] = "      ";

// A missing control reads as the empty text and ignores writes, as on the panels.
class FakeControls final : public VerdictControls {
 public:
  void readPanelText(int id, char* text, int size) override {
    const std::string shown = panel.count(id) ? panel[id].substr(0, size - 1) : "";
    std::memcpy(text, shown.c_str(), shown.size() + 1);
  }
  void writePanelText(int id, const char* text) override {
    if (panel.count(id)) panel[id] = text;
  }
  void writeHeaderText(int id, const char* text) override {
    if (header.count(id)) header[id] = text;
  }
  std::string Join(int base, int count) {
    std::string joined;
    for (int k = 1; k <= count; ++k) joined += (k > 1 ? "," : "") + panel[base + k];
    return joined;
  }

  std::map<int, std::string> panel, header = {{IDC_SCORE, ""}, {IDC_SCORE_CODE, ""}};
};

// Questions Paris/France, Rome/Italie, Berlin/Allemagne (reveal texts r1, r2, r3), `records` of
// them, in a quiz of `count` questions; empty answer fields, feedback labels "?", reveal labels ".".
void Prepare(QuizContent& quiz, FakeControls& controls, int perQuestion, int mode, int records, int count) {
  static const char* const answers[][2] = {{"Paris", "France"}, {"Rome", "Italie"}, {"Berlin", "Allemagne"}};
  for (int q = 0; q < records; ++q) {
    quiz.appendQuestion(answers[q][0], answers[q][1], "?");
    std::snprintf(quiz.lastQuestion->revealText, TextSize, "r%d", q + 1);
  }
  quiz.questionCount = count;
  quiz.answersPerQuestion = perQuestion;
  quiz.revealMode = mode;
  for (int s = 0; s < ScoreCodeSlots; ++s) std::snprintf(quiz.scoreCodes[s], TextSize, "CODE%d", s + 1);
  for (int k = 1; k <= count * FieldsPerQuestion(perQuestion); ++k) {
    controls.panel[IDC_ANSWER_BASE + k] = "";
    controls.panel[IDC_FEEDBACK_BASE + k] = "?";
  }
  for (int q = 0; q < count; ++q) controls.panel[RevealLabelId(q)] = ".";
}

// An answer field's text is typed, then judged; any other control's text is only set.
struct Step {
  int id;
  const char* text;
};

TEST(JudgeAnswerField, VerdictRevealTextsAndScore) {
  // clang-format off
  const struct { const char* name; int perQuestion, mode, records, count; std::vector<Step> steps; const char *feedback, *reveals, *score, *code; int allRevealed; } cases[] = {
      {"trimmed, upper-cased; no record: empty answer", 1, 0, 2, 3, {{4001, "paris"}, {4002, "  rome "}, {4003, "a"}}, "BRAVO,BRAVO,Quasiment", ".,.,", " 2 / 3", "CODE2", 0},
      {"a wrong verdict empties its question's reveal", 1, 0, 2, 3, {{4002, "ROM"}}, "?,Quasiment,?", ".,,.", " 0 / 3", NoCode, 0},
      {"two answers: a question needs both", 2, 0, 3, 3, {{4001, "paris"}, {4002, "FRANCE"}, {4004, "italie"}, {4006, "x"}}, "BRAVO,BRAVO,?,BRAVO,?,FAUX", ".,.,", " 1 / 3", "CODE1", 0},
      {"three answers play as one", 3, 0, 2, 2, {{4002, "rome"}}, "?,BRAVO", ".,.", " 1 / 2", "CODE1", 0},
      {"no answer count plays as one", 0, 0, 2, 2, {{4001, "rome"}}, "FAUX,?", ",.", " 0 / 2", NoCode, 0},
      {"modes 0 and 1 reveal nothing", 1, 1, 2, 2, {{4001, "paris"}, {4002, "rome"}}, "BRAVO,BRAVO", ".,.", " 2 / 2", "CODE2", 0},
      {"mode 0, all right", 1, 0, 2, 2, {{4001, "paris"}, {4002, "rome"}}, "BRAVO,BRAVO", ".,.", " 2 / 2", "CODE2", 0},
      {"mode 2 compares the field untrimmed", 1, 2, 2, 2, {{4002, "rome"}, {4001, " paris"}}, "BRAVO,BRAVO", ".,r2", " 2 / 2", "CODE2", 0},
      {"mode 3 as mode 2", 1, 3, 2, 2, {{4001, "PaRiS"}}, "BRAVO,?", "r1,.", " 1 / 2", "CODE1", 0},
      {"mode 2, wrong again", 1, 2, 2, 2, {{4001, "paris"}, {4002, "rome"}, {4001, "lyon"}}, "FAUX,BRAVO", ",r2", " 1 / 2", "CODE1", 0},
      {"mode 5 reveals nothing", 1, 5, 2, 2, {{4001, "paris"}}, "BRAVO,?", ".,.", " 1 / 2", "CODE1", 0},
      {"mode 2, two answers wait for both", 2, 2, 2, 2, {{4001, "paris"}, {4003, "rome"}, {4004, "italie"}}, "BRAVO,?,BRAVO,BRAVO", ".,r2", " 1 / 2", "CODE1", 0},
      {"mode 4 waits for every label", 2, 4, 2, 2, {{4001, "paris"}, {4002, "france"}, {4003, "rome"}}, "BRAVO,BRAVO,BRAVO,?", ".,.", " 1 / 2", "CODE1", 0},
      {"mode 4, two answers, all right", 2, 4, 2, 2, {{4001, "paris"}, {4002, "france"}, {4003, "rome"}, {4004, "italie"}}, "BRAVO,BRAVO,BRAVO,BRAVO", "r1,r2", " 2 / 2", "CODE2", 1},
      {"mode 4, all shown: nothing written again", 1, 4, 3, 3, {{4001, "paris"}, {4002, "rome"}, {4003, "berlin"}, {8001, "stale"}, {4003, "berlin"}}, "BRAVO,BRAVO,BRAVO", "stale,r2,r3", " 3 / 3", "CODE3", 1},
      {"mode 4, a wrong answer empties one", 1, 4, 3, 3, {{4001, "paris"}, {4002, "rome"}, {4003, "berlin"}, {8001, "stale"}, {4002, "milan"}}, "BRAVO,FAUX,BRAVO", "stale,,r3", " 2 / 3", "CODE2", 0},
      {"mode 4, all right again", 1, 4, 3, 3, {{4001, "paris"}, {4002, "rome"}, {4003, "berlin"}, {4002, "milan"}, {8001, "stale"}, {4002, "rome"}}, "BRAVO,BRAVO,BRAVO", "r1,r2,r3", " 3 / 3", "CODE3", 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    QuizContent quiz;
    FakeControls controls;
    Prepare(quiz, controls, c.perQuestion, c.mode, c.records, c.count);
    for (const Step& step : c.steps) {
      controls.panel[step.id] = step.text;
      if (step.id < IDC_FEEDBACK_BASE) JudgeAnswerField(quiz, controls, step.id);
    }
    EXPECT_EQ(std::make_tuple(controls.Join(IDC_FEEDBACK_BASE, c.count * FieldsPerQuestion(c.perQuestion)),
                              controls.Join(IDC_REVEAL_BASE, c.count), controls.header[IDC_SCORE],
                              controls.header[IDC_SCORE_CODE], quiz.allRevealed),
              std::make_tuple(c.feedback, c.reveals, c.score, c.code, c.allRevealed))
        << c.name;
  }
}

// Further accepted answers: Paris also takes "Lut\xE8" "ce", France "Gaule",
// Rome "Roma"; a BRAVO on one is a BRAVO for the reveal texts and the score.
TEST(JudgeAnswerField, AnAcceptedAnswerIsRightEverywhere) {
  // clang-format off
  const struct { const char* name; int perQuestion, mode; std::vector<Step> steps; const char *feedback, *reveals, *score; } cases[] = {
      {"mode 2 reveals", 1, 2, {{4001, "lut\xE8" "ce"}}, "BRAVO,?", "r1,.", " 1 / 2"},
      {"mode 2 compares the field untrimmed", 1, 2, {{4001, "LUT\xE8" "CE "}}, "BRAVO,?", ".,.", " 1 / 2"},
      {"two answers, both accepted ones", 2, 3, {{4001, "Lut\xE8" "ce"}, {4002, "gaule"}}, "BRAVO,BRAVO,?,?", "r1,.", " 1 / 2"},
      {"an accepted answer belongs to its field", 2, 2, {{4001, "gaule"}, {4002, "paris"}}, "FAUX,FAUX,?,?", ",.", " 0 / 2"},
      {"mode 4 counts them", 1, 4, {{4001, "lut\xE8" "ce"}, {4002, "roma"}}, "BRAVO,BRAVO", "r1,r2", " 2 / 2"},
  };
  // clang-format on
  for (const auto& c : cases) {
    QuizContent quiz;
    FakeControls controls;
    Prepare(quiz, controls, c.perQuestion, c.mode, 2, 2);
    std::vector<AcceptedEntry> entries = {{1, {"Lut\xE8" "ce"}}};
    if (c.perQuestion == 2) entries.push_back({2, {"Gaule"}});
    entries.push_back({AnswerFieldNumber(AnswerFieldId(1, 1, c.perQuestion)), {"Roma"}});
    std::vector<uint8_t> block;
    AppendAcceptedBlock(block, entries);
    ASSERT_NE(ReadAcceptedBlock(block.data(), uint32_t(block.size()), 0, 4, quiz.acceptedAnswers), 0u) << c.name;
    for (const Step& step : c.steps) {
      controls.panel[step.id] = step.text;
      JudgeAnswerField(quiz, controls, step.id);
    }
    EXPECT_EQ(std::make_tuple(controls.Join(IDC_FEEDBACK_BASE, 2 * FieldsPerQuestion(c.perQuestion)),
                              controls.Join(IDC_REVEAL_BASE, 2), controls.header[IDC_SCORE]),
              std::make_tuple(c.feedback, c.reveals, c.score))
        << c.name;
  }
}

TEST(JudgeAnswerField, MissingControlsReadEmptyAndTakeNoText) {
  QuizContent quiz;
  FakeControls controls;
  Prepare(quiz, controls, 1, 4, 2, 2);
  controls.panel = {{4001, "paris"}};  // no feedback label yet
  JudgeAnswerField(quiz, controls, 4001);
  EXPECT_EQ(controls.header[IDC_SCORE], " 0 / 2");
  controls.panel[5001] = "?";
  controls.header.clear();  // no header panel
  JudgeAnswerField(quiz, controls, 4001);
  EXPECT_EQ(controls.panel[5001], "BRAVO");
  EXPECT_TRUE(controls.header.empty());
}

TEST(RecountScore, CountsQuestionsWhoseLabelsAllReadBravo) {
  // labels: one letter per feedback label, B "BRAVO", b "bravo", any other "F".
  // clang-format off
  const struct { int count, perQuestion; std::string labels; const char *score, *code; } cases[] = {
      {20, 1, "", " 0 / 20", NoCode}, {20, 1, "FFBFFFFB", " 2 / 20", "CODE2"}, {3, 1, "BBB", " 3 / 3", "CODE3"},
      {3, 1, "bFB", " 1 / 3", "CODE1"}, {2, 2, "BFBB", " 1 / 2", "CODE1"}, {2, 2, "BBFB", " 1 / 2", "CODE1"},
      {2, 2, "FBFB", " 0 / 2", NoCode}, {0, 1, "B", " 0 / 0", NoCode},
      {120, 1, std::string(96, 'B'), " 96 / 120", "CODE96"}, {120, 1, std::string(97, 'B'), " 97 / 120", NoCode},
  };
  // clang-format on
  for (const auto& c : cases) {
    QuizContent quiz;
    FakeControls controls;
    Prepare(quiz, controls, c.perQuestion, 0, 0, c.count);
    for (size_t k = 0; k < c.labels.size(); ++k)
      controls.panel[IDC_FEEDBACK_BASE + 1 + int(k)] = c.labels[k] == 'B'   ? "BRAVO"
                                                       : c.labels[k] == 'b' ? "bravo"
                                                                            : "F";
    RecountScore(quiz, controls);
    EXPECT_EQ(std::make_pair(controls.header[IDC_SCORE], controls.header[IDC_SCORE_CODE]),
              std::make_pair(std::string(c.score), std::string(c.code)))
        << c.labels;
  }
}

}  // namespace
