// The real player started in-process on hostile inputs: broken and oversized
// answers files, the largest quiz, typed answers far past a field's 259 bytes.
// Every start must build all its rows and judge them, and a save made
// afterwards must write one line of at most 259 bytes per answer field.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/player_fixture.h"
#include "resource.h"

namespace {

// The quiz of the next start: questionCount questions whose texts, answers
// and codes are padded to textLength bytes (when longer than their start).
int questionCount = 3;
size_t textLength = 0;

std::string Padded(const std::string& start, char filler, size_t length = textLength) {
  return start.size() >= length ? start : start + std::string(length - start.size(), filler);
}
std::string Answer(int k, size_t length = textLength) { return Padded("R" + std::to_string(k), 'Z', length); }
std::string Code(int k) { return Padded("C" + std::to_string(k), 'c'); }
std::string AnswerLines(int count, size_t length = 0) {
  std::string lines;
  for (int k = 1; k <= count; ++k) lines += Answer(k, length) + "\r\n";
  return lines;
}

void FillQuiz(Quiz* quiz) {
  lstrcpynA(quiz->title, Padded("Titre", 't').c_str(), TextSize);
  lstrcpynA(quiz->author, Padded("Auteur", 'a').c_str(), TextSize);
  lstrcpynA(quiz->explanation, Padded("Explication", 'e').c_str(), TextSize);
  quiz->questionCount = questionCount;
  quiz->answersPerQuestion = 1;
  for (int k = 1; k <= questionCount; ++k) {
    quiz->appendQuestion(Answer(k).c_str(), "", Padded("Question " + std::to_string(k), 'q').c_str());
    if (k <= ScoreCodeSlots) lstrcpynA(quiz->scoreCodes[k - 1], Code(k).c_str(), TextSize);
  }
}

std::string AnswersFileOfThisProgram() {
  char name[260];
  AnswersFilePath(name);
  return name;
}

std::string Text(HWND window, int id) {
  static char text[40000];
  text[0] = 0;
  GetDlgItemTextA(window, id, text, sizeof text);
  return text;
}

HWND Field(int k) { return GetDlgItem(questionPanelWindow, IDC_ANSWER_BASE + k); }

// F2 in field k saves; the file must hold every field, each cut to 259 bytes.
void SaveFromFieldAndCheck(int k) {
  std::string expected;
  for (int j = 1; j <= questionCount; ++j) {
    expected += Text(questionPanelWindow, IDC_ANSWER_BASE + j).substr(0, 259) + "\r\n";
  }
  SendMessageA(Field(k), WM_KEYUP, VK_F2, 0);
  std::string saved = ReadWholeFile(AnswersFileOfThisProgram().c_str());
  EXPECT_EQ(saved.size(), expected.size());
  EXPECT_TRUE(saved == expected) << "the saved answers differ";
}

// Starts the player on the given answers file with a fresh scratch folder.
class HostileStart {
 public:
  HostileStart(int questions, size_t length, const std::string& answers) {
    questionCount = questions;
    textLength = length;
    WriteWholeFile(AnswersFileOfThisProgram().c_str(), answers);
    started = StartPlayer(GetModuleHandleA(nullptr), FillQuiz);
    PumpMessages();
  }
  ~HostileStart() {
    if (started) EndPlayer();
  }
  ScratchDirectory scratch;  // made first: the answers file goes into it
  bool started = false;
};

// Byte 0x98 (U+02DC) is left out: wine's edit control faults in gdi32 when it
// draws that character in a font that resolves to the Linux DejaVu Sans, with
// or without the player (a fault of the test platform).
std::string RandomBytes(size_t size) {
  std::mt19937 generator(20240611);
  std::string bytes(size, 0);
  for (char& byte : bytes) {
    byte = static_cast<char>(generator() & 0xFF);
    if (byte == '\x98') byte = 'x';
  }
  return bytes;
}

struct StartCase {
  const char* name;
  int questions;
  size_t textLength;
  std::string answers;
  std::vector<std::pair<int, std::string>> fields;  // restored texts by field number
  const char* score;
  std::string code;                      // the score code field after the restore
};

const std::string NoCode = "      ";

std::vector<StartCase> StartCases() {
  return {
      {"random_10MB", 40, 0, RandomBytes(10 << 20), {}, " 0 / 40", NoCode},
      {"lines_past_271_last_unended", 3, 0,
       std::string(300, 'a') + "\r\nr2\r\n" + std::string(280, 'b'),
       {{1, std::string(271, 'a')}, {2, "r2"}, {3, std::string(271, 'b')}}, " 1 / 3", Code(1)},
      {"megabyte_of_zero_bytes", 3, 0, std::string(1 << 20, '\0') + "\r\nR2\r\n", {{1, ""}, {2, "R2"}, {3, ""}},
       " 1 / 3", Code(1)},
      {"lone_cr_and_lone_lf", 3, 0, "R1\rjunk\r\r\nR2\nx\r\n\n\r\n", {{1, "R1"}, {2, "R2\nx"}, {3, "\n"}},
       " 1 / 3", Code(1)},
      {"only_crs", 3, 0, "\r\r\r\r", {{1, ""}, {2, ""}, {3, ""}}, " 0 / 3", NoCode},
      {"only_lfs", 3, 0, "\n\n\n\n", {{1, "\n\n\n\n"}, {2, ""}}, " 0 / 3", NoCode},
      // The largest quiz, every text at its limit, every answer right.
      {"255_questions_of_259_bytes", 255, 259, AnswerLines(255, 259), {{1, Answer(1, 259)}, {255, Answer(255, 259)}},
       " 255 / 255", NoCode},
      // Scores past the 96 code slots show the blank code.
      {"97_questions_96_right", 97, 0, AnswerLines(96), {{96, Answer(96)}, {97, ""}}, " 96 / 97", Code(96)},
      {"97_questions_all_right", 97, 0, AnswerLines(97), {{97, Answer(97)}}, " 97 / 97", NoCode},
  };
}

void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }

class HostileAnswersFile : public testing::TestWithParam<StartCase> {};

TEST_P(HostileAnswersFile, PlayerBuildsJudgesAndSavesAfterwards) {
  const StartCase& c = GetParam();
  HostileStart start(c.questions, c.textLength, c.answers);
  ASSERT_TRUE(start.started);
  for (int k = 1; k <= c.questions; ++k) {
    ASSERT_NE(Field(k), nullptr) << "field " << k;
    ASSERT_NE(GetDlgItem(questionPanelWindow, IDC_FEEDBACK_BASE + k), nullptr) << "feedback " << k;
    ASSERT_LE(Text(questionPanelWindow, IDC_ANSWER_BASE + k).size(), size_t(SavedLineSize - 1)) << "field " << k;
  }
  for (const auto& field : c.fields) {
    EXPECT_EQ(Text(questionPanelWindow, IDC_ANSWER_BASE + field.first), field.second) << "field " << field.first;
  }
  EXPECT_EQ(Text(headerPanelWindow, IDC_SCORE), c.score);
  EXPECT_EQ(Text(headerPanelWindow, IDC_SCORE_CODE), c.code);

  // Field 1 answered right and judged by Enter, then saved by F2.
  SetWindowTextA(Field(1), Answer(1).c_str());
  SendMessageA(Field(1), WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(Text(questionPanelWindow, IDC_FEEDBACK_BASE + 1), "BRAVO");
  SaveFromFieldAndCheck(1);
}

INSTANTIATE_TEST_SUITE_P(Starts, HostileAnswersFile, testing::ValuesIn(StartCases()),
                         [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

void PasteText(HWND field, const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(mainWindow));
  EmptyClipboard();
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
  SetWindowTextA(field, "");
  SendMessageA(field, WM_PASTE, 0, 0);
}

// 30,000 typed characters: the field holds them, the verdict looks at the
// first 259 bytes, and the saved line is cut to 259 bytes.
TEST(HostileTypedAnswer, ThirtyThousandCharactersAreJudgedAndSavedCut) {
  struct Case {
    const char* name;
    bool paste;
    std::string text;
    bool right;
  };
  textLength = 259;
  const Case cases[] = {
      {"set, right start", false, Answer(1) + std::string(30000 - 259, 'Q'), true},
      {"pasted, right start", true, Answer(1) + std::string(30000 - 259, 'Q'), true},
      {"pasted, wrong", true, std::string(30000, 'w'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostileStart start(3, 259, "");
    ASSERT_TRUE(start.started);
    if (c.paste) {
      PasteText(Field(1), c.text);
    } else {
      SendMessageA(Field(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text.c_str()));
    }
    EXPECT_EQ(Text(questionPanelWindow, IDC_ANSWER_BASE + 1), c.text);
    SendMessageA(Field(1), WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(Text(questionPanelWindow, IDC_FEEDBACK_BASE + 1) == "BRAVO", c.right);
    SaveFromFieldAndCheck(1);
    EXPECT_EQ(ReadWholeFile(AnswersFileOfThisProgram().c_str()), c.text.substr(0, 259) + "\r\n\r\n\r\n");
  }
}

}  // namespace
