// The editor's document: list operations with their selection and undo,
// the modified star, source files in and out.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

#include "cp1252.h"
#include "document.h"
#include "quiz_payloads.h"

namespace {

std::string ReadExample(const std::string& name) {
  std::ifstream in(std::string(LUDEX_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

AuthoredQuestion Question(const std::string& text) {
  AuthoredQuestion question;
  question.questionText = text;
  question.answer1 = "R";
  return question;
}

// A document whose rows are the questions "A" to "E", row 2 selected.
QuizDocument FiveRows() {
  AuthoredQuiz quiz;
  quiz.title = "T";
  for (const char* text : {"A", "B", "C", "D", "E"}) quiz.questions.push_back(Question(text));
  QuizDocument document;
  document.reset(quiz, "quiz.txt", "", false);
  document.select({2});
  return document;
}

std::string Rows(const QuizDocument& document) {
  std::string rows;
  for (const AuthoredQuestion& question : document.quiz().questions)
    rows += question.questionText.empty() ? "_" : question.questionText;
  return rows;
}

TEST(DocumentTest, ListChangesSelectAndUndo) {
  // clang-format off
  const struct { const char* name; std::function<bool(QuizDocument&)> change; bool changed; const char* rows; RowSet selection; const char* said; } cases[] = {
      {"AddInside", [](QuizDocument& d) { return d.addQuestion(2); }, true, "AB_CDE", {2}, u8"l'ajout d'une question"},
      {"AddPastTheEndAppends", [](QuizDocument& d) { return d.addQuestion(99); }, true, "ABCDE_", {5}, u8"l'ajout d'une question"},
      {"InsertPasted", [](QuizDocument& d) { return d.insertQuestions(1, {Question("X"), Question("Y")}); }, true, "AXYBCDE", {1, 2}, u8"l'ajout de 2 questions"},
      {"RemoveTwoSelectsTheNextRow", [](QuizDocument& d) { return d.removeRows({3, 1}); }, true, "ACE", {2}, u8"la suppression de 2 questions"},
      {"RemoveLastSelectsTheNewLast", [](QuizDocument& d) { return d.removeRows({4}); }, true, "ABCD", {3}, u8"la suppression de la question 5"},
      {"RemoveNothing", [](QuizDocument& d) { return d.removeRows({7, -1, 5}); }, false, "ABCDE", {2}, ""},
      {"MoveBlockUp", [](QuizDocument& d) { return d.moveRows({1, 2}, -1); }, true, "BCADE", {0, 1}, u8"le déplacement de 2 questions vers le haut"},
      {"MoveSpreadRowsUp", [](QuizDocument& d) { return d.moveRows({1, 3}, -1); }, true, "BADCE", {0, 2}, u8"le déplacement de 2 questions vers le haut"},
      {"MoveBlockAndRowDown", [](QuizDocument& d) { return d.moveRows({0, 2, 3}, 1); }, true, "BAECD", {1, 3, 4}, u8"le déplacement de 3 questions vers le bas"},
      {"MoveOneDown", [](QuizDocument& d) { return d.moveRows({2}, 1); }, true, "ABDCE", {3}, u8"le déplacement de la question 3 vers le bas"},
      {"MoveTopUpDoesNothing", [](QuizDocument& d) { return d.moveRows({0, 1}, -1); }, false, "ABCDE", {2}, ""},
      {"MoveBottomDownDoesNothing", [](QuizDocument& d) { return d.moveRows({4}, 1); }, false, "ABCDE", {2}, ""},
      {"MoveByTwoDoesNothing", [](QuizDocument& d) { return d.moveRows({1}, 2); }, false, "ABCDE", {2}, ""},
      {"DuplicateMissingRow", [](QuizDocument& d) { return d.duplicateRow(5) || d.duplicateRow(-1); }, false, "ABCDE", {2}, ""},
      {"Duplicate", [](QuizDocument& d) { return d.duplicateRow(1); }, true, "ABBCDE", {2}, u8"la copie de la question 2"},
      {"EditOneField", [](QuizDocument& d) { return d.setText(QuizField::Question, 4, "Z\r\ny\n\nz\r"); }, true, "ABCDZ\r\ny\r\n\r\nz\r\n", {2}, u8"la saisie dans « question » (question 5)"},
      {"EditTheTitle", [](QuizDocument& d) { return d.typeText(QuizField::Title, -1, "U"); }, true, "ABCDE", {2}, u8"la saisie dans « titre »"},
      {"EditWithTheSameText", [](QuizDocument& d) { return d.setText(QuizField::Question, 0, "A"); }, false, "ABCDE", {2}, ""},
      {"EditMissingRow", [](QuizDocument& d) { return d.setText(QuizField::Code, 5, "x"); }, false, "ABCDE", {2}, ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QuizDocument document = FiveRows();
    EXPECT_EQ(c.change(document), c.changed);
    EXPECT_EQ(Rows(document), c.rows);
    EXPECT_EQ(document.selection(), c.selection);
    EXPECT_EQ(document.modified(), c.changed);
    EXPECT_EQ(Utf8FromCp1252(document.undoName()), c.said);
    ASSERT_EQ(document.undo(), c.changed);
    EXPECT_EQ(Rows(document), "ABCDE");
    EXPECT_EQ(document.selection(), RowSet{2});
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(Utf8FromCp1252(document.redoName()), c.said);
    if (!c.changed) continue;
    EXPECT_TRUE(document.redo());
    EXPECT_EQ(Rows(document), c.rows);
    EXPECT_EQ(document.selection(), c.selection);
  }
}

TEST(DocumentTest, NeverPassesTheQuestionLimit) {
  AuthoredQuiz quiz;
  quiz.questions.assign(MaxQuestions - 1, Question("Q"));
  QuizDocument document;
  document.reset(quiz, "", "", false);
  EXPECT_FALSE(document.insertQuestions(0, {Question("X"), Question("Y")}));
  EXPECT_TRUE(document.addQuestion(0));
  EXPECT_FALSE(document.addQuestion(0));
  EXPECT_FALSE(document.duplicateRow(0));
  EXPECT_EQ(document.questionCount(), MaxQuestions);
}

// The star follows the saved state through undo and redo; a new change drops the redo steps.
TEST(DocumentTest, ModifiedFollowsTheSavedState) {
  QuizDocument document = FiveRows();
  EXPECT_FALSE(document.recoveryDue());
  ASSERT_TRUE(document.setRevealMode(2));
  ASSERT_TRUE(document.setText(QuizField::Title, -1, "Titre"));
  EXPECT_TRUE(document.recoveryDue());
  document.markRecoveryWritten();
  EXPECT_FALSE(document.recoveryDue());
  document.markSaved("autre.txt");
  EXPECT_FALSE(document.modified());
  EXPECT_EQ(document.path(), "autre.txt");
  ASSERT_TRUE(document.undo());
  EXPECT_TRUE(document.modified());
  EXPECT_EQ(document.quiz().title, "T");
  EXPECT_TRUE(document.recoveryDue());
  ASSERT_TRUE(document.redo());
  EXPECT_FALSE(document.modified());
  ASSERT_TRUE(document.undo());
  ASSERT_TRUE(document.setColour(1, 2, 3));
  EXPECT_FALSE(document.canRedo());
  EXPECT_FALSE(document.setColour(1, 2, 3));
  EXPECT_FALSE(document.setAnswersPerQuestion(3));
  EXPECT_EQ(document.text(QuizField::Code, 99), "");  // a row that does not exist
  EXPECT_FALSE(document.setRevealMode(256));
  EXPECT_FALSE(document.setRevealMode(-1));
  ASSERT_TRUE(document.setRevealMode(0));  // back to none from 2
  for (size_t i = 0; i < QuizDocument::MaxUndoSteps + 10; ++i) document.setAnswersPerQuestion(i % 2 ? 1 : 2);
  size_t steps = 0;
  while (document.undo()) ++steps;
  EXPECT_EQ(steps, QuizDocument::MaxUndoSteps);
}

// Keystrokes in one field are one undo step, until another field, a save or endTyping.
TEST(DocumentTest, TypingJoinsKeystrokesOfOneField) {
  QuizDocument document = FiveRows();
  for (const char* typed : {"A1", "A12"}) ASSERT_TRUE(document.typeText(QuizField::Question, 0, typed));
  EXPECT_FALSE(document.typeText(QuizField::Question, 0, "A12"));  // nothing new typed
  ASSERT_TRUE(document.typeText(QuizField::Answer1, 0, "R1"));
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(document.quiz().questions[0].questionText + document.quiz().questions[0].answer1, "A12R");
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(Rows(document), "ABCDE");
  EXPECT_FALSE(document.modified());
  document.typeText(QuizField::Title, -1, "T1");
  document.markSaved("quiz.txt");
  document.typeText(QuizField::Title, -1, "T12");
  document.endTyping();
  document.typeText(QuizField::Title, -1, "T123");
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(document.quiz().title, "T12");
  ASSERT_TRUE(document.undo());
  EXPECT_EQ(document.quiz().title, "T1");
  EXPECT_FALSE(document.modified());
}

// ---- source files ----

std::string Canonical(const std::string& source, const std::string& heading) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  EXPECT_TRUE(ParseQuizSource(source, quiz, diagnostics));
  return WriteQuizSource(quiz, heading);
}

// A source as the writer wrote it before it named the guide of the release (or back).
std::string EarlierFormatLine(std::string source, bool back = false) {
  const std::string earlier = u8"# Format : docs/quiz-format.md. « + » continue un texte à la ligne.\n";
  const std::string now = SourceFormatLine;
  const size_t at = source.find(back ? earlier : now);
  return at == std::string::npos ? source : source.replace(at, (back ? earlier : now).size(), back ? now : earlier);
}

std::string WithCrLfLines(std::string text) {
  for (size_t i = 0; (i = text.find('\n', i)) != std::string::npos; i += 2) text.insert(i, "\r");
  return text;
}

// heading: the kept heading, or when the file does not open, how the first message starts.
TEST(FileTest, OpensAndSaves) {
  // clang-format off
  const struct { const char* name; std::string bytes; bool ok, canonical; const char* heading; } cases[] = {
      {"ExtractedByLudexPack", Canonical(ReadExample("capitales.txt"), "Extrait de capitales.exe par ludex-pack."), true, true, "Extrait de capitales.exe par ludex-pack."},
      {"WrittenWithoutHeading", Canonical(ReadExample("chimie-deux-reponses.txt"), ""), true, true, ""},
      {"HandWrittenKeepsItsFirstComment", ReadExample("capitales.txt"), true, false, "Quiz d'exemple : les capitales d'Europe."},
      {"CrLfLineEnds", WithCrLfLines(Canonical(ReadExample("capitales.txt"), "")), true, false, ""},
      {"SavedBeforeTheGuideWasNamed", EarlierFormatLine(Canonical(ReadExample("capitales.txt"), "")), true, true, ""},
      {"TooLargeUnread", std::string(MaxSourceBytes + 1, '\n'), false, false, "quiz.txt: erreur: ce fichier est trop grand pour \xEAtre une source de quiz (plus de 4 Mo)"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SourceRead read = ReadSource(c.bytes, "quiz.txt");
    ASSERT_EQ(read.ok, c.ok);
    if (!c.ok) {
      EXPECT_EQ(read.diagnostics.format(read.diagnostics.items.at(0)), c.heading);
      continue;
    }
    EXPECT_EQ(read.canonical, c.canonical);
    EXPECT_EQ(read.heading, c.heading);
    QuizDocument document;
    document.reset(read.quiz, "quiz.txt", read.heading, false);
    const std::string saved = document.sourceText();
    if (c.canonical) EXPECT_EQ(saved, EarlierFormatLine(c.bytes, true));
    const SourceRead again = ReadSource(saved, "quiz.txt");
    ASSERT_TRUE(again.ok);
    EXPECT_TRUE(again.canonical);
    const QuizPayloads before = EncodePayloads(read.quiz), after = EncodePayloads(again.quiz);
    EXPECT_EQ(std::tie(before.quiz, before.codes), std::tie(after.quiz, after.codes));
  }
}

}  // namespace
