// Rows pasted from a spreadsheet or read from CSV, the import preview, the
// CSV export read back, the recovery copy's decisions and the printed pages.
#include <gtest/gtest.h>

#include <tuple>

#include "print_html.h"
#include "recovery.h"
#include "table_text.h"

namespace {

// A row's six cells joined by '|', trailing empty ones dropped.
std::string Joined(const TableRow& row) {
  std::string text;
  for (int i = 0; i < TableColumnCount; ++i) text += (i ? "|" : "") + row.cells[i];
  while (!text.empty() && text.back() == '|') text.pop_back();
  return text;
}

TEST(ReadTest, GivesTheseRows) {
  // clang-format off
  const struct { const char* name; bool csv; std::string text; std::vector<std::string> rows; char separator; bool header, windows1252; size_t problems; } cases[] = {
      {"PasteColumnsInOrder", false, "Q1\tA1\nQ2\tA2\tB2\tR2\tC2\tS2\n", {"Q1|A1", "Q2|A2|B2|R2|C2|S2"}, '\t', false, false, 0},
      {"PasteCrLfNoLastLineEnd", false, "Q1\t\t\t\tC1\r\nQ2", {"Q1||||C1", "Q2"}, '\t', false, false, 0},
      {"PasteQuotedCells", false, "\"a\tb\nc \"\"d\"\"\"\tA\r\n\"\"\"x\"\" y\"\t\"\"\r\n", {"a\tb\r\nc \"d\"|A", "\"x\" y"}, '\t', false, false, 0},
      {"PasteHeaderRowNamesColumns", false, u8"Question\tCode\tRéponse\nQ\tC\tA\n", {"Q|A|||C"}, '\t', true, false, 0},
      {"PasteSkipsEmptyRows", false, "\n\t\t\nQ\n\r\n", {"Q"}, '\t', false, false, 0},
      {"PasteNotUtf8ReadAsWindows1252", false, "Caf\xE9\t\x80\n", {u8"Café|€"}, '\t', false, true, 0},
      {"CsvUtf8BomSemicolons", true, u8"\xEF\xBB\xBF" "Capitale ?;Paris;;La Seine;É1\r\n", {u8"Capitale ?|Paris||La Seine|É1"}, ';', false, false, 0},
      {"CsvWindows1252Commas", true, "Caf\xE9, th\xE9 ?,\"oui, \xE9videmment\"\n", {u8"Café| thé ?|oui, évidemment"}, ',', false, true, 0},
      {"CsvTieGoesToSemicolon", true, "a;b,c\n", {"a|b,c"}, ';', false, false, 0},
      {"CsvHeaderInAnyOrder", true, u8"Code;Question;Réponse 2;Révélation 2\nC;Q;B;S\n", {"Q||B||C|S"}, ';', true, false, 0},
      {"CsvUnknownNameMakesNoHeader", true, u8"Question;Couleur\nQ;x\n", {"Question|Couleur", "Q|x"}, ';', false, false, 0},
      {"CsvHeaderWithNumberColumn", true, u8"N° ;Code :;QUESTION;réponse\n1;C;Q;A\n", {"Q|A|||C"}, ';', true, false, 0},
      {"CsvExcelSepLine", true, "sep=,\na;b,c\n", {"a;b|c"}, ',', false, false, 0},
      {"CsvUnclosedQuote", true, "Q;\"A\nB\n", {"Q|A\r\nB\r\n"}, ';', false, false, 1},
      {"CsvUtf16Refused", true, std::string("\xFF\xFEQ\0;\0", 6), {}, '\t', false, false, 1},
      {"TooLargeRefused", true, std::string(MaxTableBytes + 1, 'x'), {}, '\t', false, false, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    const TableText table = c.csv ? ReadCsvTable(c.text) : ReadPastedTable(c.text);
    std::vector<std::string> rows;
    for (const TableRow& row : table.rows) rows.push_back(Joined(row));
    EXPECT_EQ(std::tie(rows, table.separator, table.headerRow, table.windows1252),
              std::tie(c.rows, c.separator, c.header, c.windows1252))
        << c.name;
    EXPECT_EQ(table.problems.size(), c.problems) << c.name;
  }
}

TEST(ReadTest, RowsStartOnTheirLine) {
  const TableText table = ReadCsvTable("q;\"a\r\nb\"\r\n\r\nq2;x;y;z;w;v;more;\"\"\n");
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[1].line, 4);
  EXPECT_EQ(table.rows[1].cellsLeftOut, 1);
}

// ---- the preview: what goes in, and what breaks a limit ----

TEST(PreviewTest, MarksEveryRowThatBreaksALimit) {
  AuthoredQuiz quiz;  // one answer per question, no reveal texts
  quiz.questions.resize(MaxQuestions - 3);
  const std::string csv = u8"Q1 → ?;R\nQ2;R;R2\nQ3;R;;;" + std::string(260, 'c') + "\nQ4;R\nQ5;R\n";
  const ImportPreview preview = PreviewImport(ReadCsvTable(csv), quiz);
  ASSERT_EQ(preview.rows.size(), 3u);
  EXPECT_EQ(preview.rowsWithErrors, 2);
  EXPECT_EQ(preview.rows[0].question.questionText, "Q1 ? ?");
  ASSERT_EQ(preview.rows[0].problems.size(), 1u);
  EXPECT_EQ(preview.rows[0].problems[0].message.rfind("colonne 4 : le caractère U+2192", 0), 0u);
  ASSERT_EQ(preview.rows[1].problems.size(), 1u);
  EXPECT_FALSE(preview.rows[1].problems[0].isError);
  EXPECT_EQ(preview.rows[1].problems[0].message, FieldNeedsSettingMessage(QuizField::Answer2));
  EXPECT_EQ(preview.rows[2].problems[0].message, "le code de score fait 260 octets ; le lecteur en garde au plus 259");
  ASSERT_EQ(preview.notes.size(), 1u);
  EXPECT_NE(preview.notes[0].find("2 ligne(s)"), std::string::npos) << preview.notes[0];
}

// What the editor exports, it imports back unchanged, whatever the texts hold.
TEST(PreviewTest, ExportReadsBackTheSameQuestions) {
  AuthoredQuiz quiz;
  quiz.answersPerQuestion = 2;
  quiz.revealMode = 3;
  const char* texts[] = {
      "a;b", "c,d", "\"cit\xE9\"", "  deux espaces ", "ligne\r\nsuivante", "", "\xE9t\xE9 \x80 \x9C", "|x\\n"};
  for (int i = 0; i < 8; ++i) {  // each field of a row gets another text
    const auto t = [&](int k) { return texts[(i + k) % 8]; };
    quiz.questions.push_back({t(0), t(1), t(2), t(3), t(4), t(5)});
  }
  const std::string csv = WriteCsvTable(quiz);
  EXPECT_EQ(csv.rfind(u8"\xEF\xBB\xBFquestion;réponse;réponse 2;révélation;code;révélation 2\r\n", 0), 0u);
  const TableText table = ReadCsvTable(csv);
  EXPECT_TRUE(table.headerRow);
  const std::vector<AuthoredQuestion> back = QuestionsOf(PreviewImport(table, AuthoredQuiz()));
  ASSERT_EQ(back.size(), quiz.questions.size());
  for (size_t i = 0; i < back.size(); ++i)
    for (int field = int(QuizField::Question); field < QuizFieldCount; ++field)
      EXPECT_EQ(*FieldText(back[i], QuizField(field)), *FieldText(quiz.questions[i], QuizField(field)))
          << i << " " << field;
}

// A cell that a spreadsheet would run as a formula goes out after an
// apostrophe, and the import takes exactly that apostrophe off again.
TEST(PreviewTest, FormulasGoOutAsTextAndComeBackUnchanged) {
  // clang-format off
  const struct { std::string text, cell; } cases[] = {
      {"=1+1", "'=1+1"}, {"+33 6", "'+33 6"}, {"-5", "'-5"}, {"@A1", "'@A1"}, {"\tx", "'\tx"},
      {"\r\nx", "\"'\r\nx\""}, {"'=x", "''=x"}, {"''-x", "'''-x"}, {"'a", "'a"}, {"a=b", "a=b"}, {"'", "'"},
      {" x", "\" x\""}, {"x ", "\"x \""},  // an edge space: quoted
  };
  // clang-format on
  for (const auto& c : cases) {
    AuthoredQuiz quiz;
    quiz.questions.push_back({c.text, "R", "", "", "", "C"});
    const std::string csv = WriteCsvTable(quiz);
    const std::string row = csv.substr(csv.find("\r\n") + 2);
    EXPECT_EQ(row.substr(0, row.find(';')), c.cell) << c.text;
    const std::vector<AuthoredQuestion> back = QuestionsOf(PreviewImport(ReadCsvTable(csv), AuthoredQuiz()));
    ASSERT_EQ(back.size(), 1u) << c.text;
    EXPECT_EQ(back[0].questionText, c.text);
  }
}

// ---- the recovery copy ----

TEST(RecoveryTest, NamesBesideTheSourceOrInTheFolder) {
  QuizDocument document;
  EXPECT_EQ(RecoveryPath(document, "C:\\Temp\\Atelier", 42), "C:\\Temp\\Atelier\\sans-titre-42.recup");
  document.markSaved("C:\\Quiz\\capitales.txt");
  EXPECT_EQ(RecoveryPath(document, "C:\\Temp\\Atelier", 42), "C:\\Quiz\\capitales.txt.recup");
  EXPECT_EQ(SourcePathOfRecovery("C:\\Quiz\\capitales.txt.recup"), "C:\\Quiz\\capitales.txt");
  EXPECT_EQ(SourcePathOfRecovery("C:\\Temp\\sans-titre-42.recup"), "");
  EXPECT_EQ(SourcePathOfRecovery("C:\\Quiz\\sans-titre-4.txt.recup"), "C:\\Quiz\\sans-titre-4.txt");
  EXPECT_FALSE(IsRecoveryPath("C:\\Quiz.recup\\capitales.txt"));
}

TEST(RecoveryTest, OffersOnlyWorkTheSourceLacks) {
  const std::string source = "titre: T\n\n# x\nquestion: Q\nreponse: R\ncode: C\n";
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource(source, quiz, diagnostics));
  const std::string sameQuiz = WriteQuizSource(quiz, "");
  // clang-format off
  const struct { const char* name; FoundFile recovery, source; RecoveryVerdict verdict; } cases[] = {
      {"NoCopy", {false, "", 0}, {true, source, 5}, RecoveryVerdict::Discard},
      {"EmptyCopy", {true, "", 9}, {true, source, 5}, RecoveryVerdict::Discard},
      {"SameBytes", {true, source, 9}, {true, source, 5}, RecoveryVerdict::Discard},
      {"SameQuizInTheWritersForm", {true, sameQuiz, 9}, {true, source, 5}, RecoveryVerdict::Discard},
      {"NewerWork", {true, sameQuiz + "\nquestion: Q2\n", 9}, {true, source, 5}, RecoveryVerdict::Offer},
      {"SourceChangedSince", {true, sameQuiz + "\nquestion: Q2\n", 5}, {true, source, 9}, RecoveryVerdict::OfferOlder},
      {"SourceGone", {true, sameQuiz, 5}, {false, "", 0}, RecoveryVerdict::Offer},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(JudgeRecovery(c.recovery, c.source), c.verdict) << c.name;
}

// ---- printing ----

TEST(PrintTest, EscapesEveryTextAndDeclaresUtf8) {
  EXPECT_EQ(HtmlText("<b>&\"'\xE9\r\n\x80\n"), "&lt;b&gt;&amp;&quot;&#39;\xC3\xA9<br>\xE2\x82\xAC<br>");
  AuthoredQuiz quiz;
  quiz.title = "Q</title><script>";
  quiz.author = "  Mme L\xE9vy";
  quiz.answersPerQuestion = 2;
  quiz.revealMode = 2;
  const AuthoredQuestion question = {"1 < 2 ?", "oui & non", "", "r\xE9v\xE9l\xE9", "", "<C>"};
  quiz.questions = {question, question};
  const std::string sheet = PupilSheetHtml(quiz), key = AnswerKeyHtml(quiz);
  for (const std::string& page : {sheet, key}) {
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find(u8"<p class=\"author\">Par : Mme Lévy</p>"), std::string::npos);
  }
  EXPECT_EQ(sheet.find("oui"), std::string::npos);  // no answer on the pupils' sheet
  EXPECT_NE(sheet.find("<li><p>1 &lt; 2 ?</p><div class=\"line\"></div><div class=\"line\"></div></li>"),
            std::string::npos);
  EXPECT_NE(
      key.find(u8"<tr><td>2</td><td>1 &lt; 2 ?</td><td>oui &amp; non<br></td><td>révélé</td><td>&lt;C&gt;</td></tr>"),
      std::string::npos);
}

}  // namespace
