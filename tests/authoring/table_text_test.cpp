// The import core: rows pasted from a spreadsheet or read from CSV, the
// columns guessed or given, the import preview, the CSV export read back.
#include <gtest/gtest.h>

#include <tuple>

#include "cp1252.h"
#include "table_text.h"

namespace {

// A row's cells joined by '|', trailing empty ones dropped.
std::string Joined(const std::vector<std::string>& cells) {
  std::string text;
  for (size_t i = 0; i < cells.size(); ++i) text += (i ? "|" : "") + cells[i];
  while (!text.empty() && text.back() == '|') text.pop_back();
  return text;
}

AuthoredQuiz Settings(int answers, int revealMode) {
  AuthoredQuiz quiz;
  quiz.answersPerQuestion = answers;
  quiz.revealMode = revealMode;
  return quiz;
}

// mapping: where the columns go in a one-answer quiz of reveal mode 2.
TEST(ReadTest, GivesTheseRows) {
  const std::string shape = u8"dans l'ordre du quiz : question, réponse", other = u8", laissée de côté";
  // clang-format off
  const struct { const char* name; bool csv; std::string text; std::vector<std::string> rows; char separator; bool windows1252; size_t problems; std::string mapping; } cases[] = {
      {"PasteColumnsInOrder", false, "Q1\tA1\nQ2\tA2\tB2\tR2\tC2\tS2\n", {"Q1|A1", "Q2|A2|B2|R2|C2|S2"}, '\t', false, 0, shape + u8", révélation, code" + other + other},
      {"PasteCrLfNoLastLineEnd", false, "Q1\t\t\t\tC1\r\nQ2", {"Q1||||C1", "Q2"}, '\t', false, 0, shape + u8", révélation, code" + other},
      {"PasteQuotedCells", false, "\"a\tb\nc \"\"d\"\"\"\tA\r\n\"\"\"x\"\" y\"\t\"\"\r\n", {"a\tb\r\nc \"d\"|A", "\"x\" y"}, '\t', false, 0, shape},
      {"PasteHeaderRowNamesColumns", false, u8"Question\tCode\tRéponse\nQ\tC\tA\n", {"Q|C|A"}, '\t', false, 0, u8"d'après la ligne d'en-tête : question, code, réponse"},
      {"PasteSkipsEmptyRows", false, "\n\t\t\nQ\n\r\n", {"Q"}, '\t', false, 0, u8"dans l'ordre du quiz : question"},
      {"PasteNotUtf8ReadAsWindows1252", false, "Caf\xE9\t\x80\n", {u8"Café|€"}, '\t', true, 0, shape},
      {"PasteTenColumns", false, "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\n", {"1|2|3|4|5|6|7|8|9|10"}, '\t', false, 0, shape + u8", révélation, code" + other + other + other + other + other + other},
      {"CsvUtf8BomSemicolons", true, u8"\xEF\xBB\xBF" "Capitale ?;Paris;La Seine;É1\r\n", {u8"Capitale ?|Paris|La Seine|É1"}, ';', false, 0, shape + u8", révélation, code"},
      {"CsvWindows1252Commas", true, "Caf\xE9, th\xE9 ?,\"oui, \xE9videmment\"\n", {u8"Café| thé ?|oui, évidemment"}, ',', true, 0, u8"d'après leurs cellules : laissée de côté, question, réponse"},
      {"CsvTieGoesToSemicolon", true, "a;b,c\n", {"a|b,c"}, ';', false, 0, shape},
      {"TsvTabsOutnumberTheOthers", true, "a;b\tc,d\te\n", {"a;b|c,d|e"}, '\t', false, 0, shape + u8", révélation"},
      {"CsvStrayByteInUtf8", true, u8"Où ?;\xE9t\xE9\n", {u8"Où ?|été"}, ';', false, 1, shape},
      {"C1ControlsReadAsWindows1252", true, "l\xC2\x92" "eau ?;5 \xC2\x80\n", {u8"l’eau ?|5 €"}, ';', false, 1, shape},
      {"HeaderOfABankWithUnknownNames", true, u8"N°,Question,Réponse,Proposition 2,Thème à part,Anecdote\n1,Q,A,B,C,D\n", {"1|Q|A|B|C|D"}, ',', false, 0, u8"d'après la ligne d'en-tête : laissée de côté, question, réponse" + other + other + u8", révélation"},
      {"CsvHeaderInAnyOrder", true, u8"Code;Question;Réponse 2;Révélation 2\nC;Q;B;S\n", {"C|Q|B|S"}, ';', false, 0, u8"d'après la ligne d'en-tête : code, question, réponse 2, révélation 2"},
      {"CsvUnknownNameMakesNoHeader", true, u8"Question;Couleur\nQ;x\n", {"Question|Couleur", "Q|x"}, ';', false, 0, shape},
      {"CsvHeaderWithNumberColumn", true, u8"N° ;Code :;QUESTION;réponse\n1;C;Q;A;x\n", {"1|C|Q|A|x"}, ';', false, 0, u8"d'après la ligne d'en-tête : laissée de côté, code, question, réponse" + other},
      {"CsvExcelSepLine", true, "sep=,\na;b,c\n", {"a;b|c"}, ',', false, 0, shape},
      {"CsvUnclosedQuote", true, "Q;\"A\nB\n", {"Q|A\r\nB\r\n"}, ';', false, 1, shape},
      {"CsvUtf16Refused", true, std::string("\xFF\xFEQ\0;\0", 6), {}, '\t', false, 1, "dans l'ordre du quiz : "},
      {"TooLargeRefused", true, std::string(MaxTableBytes + 1, 'x'), {}, '\t', false, 1, "dans l'ordre du quiz : "},
  };
  // clang-format on
  for (const auto& c : cases) {
    const TableText table = c.csv ? ReadCsvTable(c.text) : ReadPastedTable(c.text);
    std::vector<std::string> rows;
    for (const TableRow& row : table.rows) rows.push_back(Joined(row.cells));
    EXPECT_EQ(std::tie(rows, table.separator, table.windows1252), std::tie(c.rows, c.separator, c.windows1252))
        << c.name;
    EXPECT_EQ(table.problems.size(), c.problems) << c.name;
    EXPECT_EQ(Utf8FromCp1252(MappingText(ChooseMapping(table, Settings(1, 2)))), c.mapping) << c.name;
  }
}

TEST(ReadTest, RowsStartOnTheirLine) {
  const TableText table = ReadCsvTable("q;\"a\r\nb\"\r\n\r\nq2;x;" + std::string(MaxTableColumns, ';') + "9;;\n");
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[1].line, 4);
  EXPECT_EQ(table.rows[1].cellCount, MaxTableColumns + 5);
  EXPECT_EQ(table.rows[1].cellsPastColumns, 1);
  EXPECT_EQ(table.columnCount, MaxTableColumns);
  // A row of the most columns and one past them: uneven, said so.
  const TableText wide = ReadCsvTable(std::string(MaxTableColumns - 1, ';') + "x\n" + std::string(MaxTableColumns + 1, ';') + "y\n");
  const std::vector<std::string> notes = PreviewImport(wide, ChooseMapping(wide, Settings(1, 0)), Settings(1, 0)).notes;
  EXPECT_EQ(notes.at(1).rfind("ligne 2 : pas le m\xEAme nombre de colonnes", 0), 0u);
}

// ---- banks as they are found: the columns guessed from their cells ----

// Four rows of a bank of twelve columns: number, question, answer, three wrong
// choices, level, anecdote, link, theme, continent, year.
const std::vector<std::vector<std::string>> BankRows = {
    {"1", u8"Quelle est la capitale de l’Italie ?", "Rome", "Milan", "Turin", "Naples", u8"Débutant",
     u8"Rome est la capitale de l’Italie depuis 1871, après Turin puis Florence.", "https://fr.wikipedia.org/wiki/Rome",
     u8"Géographie", "Europe", "2019"},
    {"2", "Quel fleuve traverse Paris ?", "Seine", "Loire", u8"Rhône", "Garonne", u8"Débutant",
     u8"La Seine traverse Paris d’est en ouest sur treize kilomètres.", "https://fr.wikipedia.org/wiki/Seine",
     u8"Géographie", "Europe", "2019"},
    {"3", u8"Combien de pattes a une araignée ?", "8", "6", "10", "12", u8"Confirmé",
     u8"Les araignées ont huit pattes et les insectes six : c’est ce qui les distingue.",
     "https://fr.wikipedia.org/wiki/Araneae", "Sciences", "Monde", "2019"},
    {"4", "Qui a peint la Joconde ?", u8"Léonard de Vinci", u8"Raphaël", "Michel-Ange", "Botticelli", "Expert",
     u8"Léonard de Vinci l’a peinte entre 1503 et 1519, à Florence puis en France.",
     "https://fr.wikipedia.org/wiki/La_Joconde", "Art", "Europe", "2019"},
};

// The bank's columns in this order, joined by separator, quoted where needed, rows ended by CR LF.
std::string Bank(const std::vector<int>& columns, char separator, const std::string& header = "") {
  std::string text = header;
  for (const std::vector<std::string>& row : BankRows) {
    for (size_t k = 0; k < columns.size(); ++k) {
      const std::string& cell = row[static_cast<size_t>(columns[k])];
      text += (k > 0 ? std::string(1, separator) : "") +
              (cell.find(separator) != std::string::npos ? "\"" + cell + "\"" : cell);
    }
    text += "\r\n";
  }
  return text;
}

// A mapping as one letter a column: Question, Answer, accepted (X), Reveal, Code, '-' left out.
std::string Letters(const ColumnMapping& mapping) {
  std::string letters;
  for (int field : mapping.fields) letters += field == LeftOutColumn ? '-' : "TAEXYQABRSCXY"[field];
  return letters;
}

TEST(BankTest, GuessesTheColumnsOfRealLayouts) {
  const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const std::string header = u8"N°,Question,Réponse,Proposition 1,Proposition 2,Proposition 3,Niveau,Anecdote,Lien,"
                             u8"Thème,Continent,Année\r\n";
  std::string trueOrFalse;
  int number = 0;
  for (const char* row : {"Paris est en France ?;Vrai", "Rome est en Espagne ?;Faux", "Oslo est au Danemark ?;Faux",
                          "Lima est au P\xC3\xA9rou ?;Vrai"})
    trueOrFalse += std::to_string(++number) + ";" + row + ";" + std::string(70, 'a') + "\n";
  std::string c1 = "\xEF\xBB\xBF" + Bank({0, 1, 2, 7, 8}, ';');
  c1.replace(c1.find("\xE2\x80\x99"), 3, "\xC2\x92");  // l’Italie as a wrong decoding leaves it
  // clang-format off
  const struct { const char* name; std::string text; MappingSource source; bool sure; const char* letters; std::string first; } cases[] = {
      {"TwelveColumnsNumberingFirst", Bank(all, ';'), MappingSource::Cells, true, "-QA----R----", u8"Quelle est la capitale de l’Italie ?|Rome||Rome est la capitale de l’Italie depuis 1871, après Turin puis Florence."},
      {"HeaderRowWithCommasAndBom", "\xEF\xBB\xBF" + header + Bank(all, ','), MappingSource::HeaderRow, true, "-QA----R----", u8"Quelle est la capitale de l’Italie ?|Rome||Rome est la capitale de l’Italie depuis 1871, après Turin puis Florence."},
      {"TabsInWindows1252", Cp1252FromUtf8Lossy(Bank({1, 2, 7}, '\t')), MappingSource::QuizShape, false, "QAR", u8"Quelle est la capitale de l’Italie ?|Rome||Rome est la capitale de l’Italie depuis 1871, après Turin puis Florence."},
      {"C1ControlsWithBom", c1, MappingSource::Cells, true, "-QAR-", u8"Quelle est la capitale de l’Italie ?|Rome||Rome est la capitale de l’Italie depuis 1871, après Turin puis Florence."},
      {"AnswerBeforeQuestion", Bank({2, 1}, ';'), MappingSource::Cells, true, "AQ", u8"Quelle est la capitale de l’Italie ?|Rome||"},
      {"ChoicesLinkAndYearWithoutNumbering", Bank({1, 2, 3, 4, 5, 8, 11}, ','), MappingSource::Cells, true, "QA-----", u8"Quelle est la capitale de l’Italie ?|Rome||"},
      {"TrueOrFalseAnswersRepeat", trueOrFalse, MappingSource::Cells, true, "-QAR", "Paris est en France ?|Vrai||" + std::string(70, 'a')},
      {"NoQuestionMarkAfterANumbering", "1;Capitale de l'Italie;Rome\n2;Capitale de la France;Paris\n", MappingSource::Cells, false, "-QA", "Capitale de l'Italie|Rome||"},
  };
  // clang-format on
  for (const auto& c : cases) {
    const AuthoredQuiz quiz = Settings(1, 2);
    const TableText table = ReadCsvTable(c.text);
    const ColumnMapping mapping = ChooseMapping(table, quiz);
    EXPECT_EQ(std::tie(mapping.source, mapping.sure), std::tie(c.source, c.sure)) << c.name;
    EXPECT_EQ(Letters(mapping), c.letters) << c.name;
    const ImportPreview preview = PreviewImport(table, mapping, quiz);
    ASSERT_EQ(preview.rows.size(), table.rows.size()) << c.name;
    EXPECT_EQ(preview.rowsWithErrors, 0) << c.name;
    const AuthoredQuestion& q = preview.rows[0].question;
    EXPECT_EQ(Utf8FromCp1252(q.questionText + "|" + q.answer1 + "|" + q.accepted1 + "|" + q.revealText), c.first) << c.name;
  }
}

// ---- where the columns go ----

TEST(MappingTest, FollowsTheQuizOrTheAuthor) {
  // clang-format off
  const struct { int answers, mode, columns; const char* shape; } shapes[] = {
      {1, 0, 4, u8"question, réponse, révélation, code"}, {1, 2, 3, u8"question, réponse, révélation"},
      {2, 2, 5, u8"question, réponse, réponse 2, révélation, code"},
      {2, 3, 7, u8"question, réponse, réponse 2, révélation, code, révélation 2, laissée de côté"},
      {1, 3, 6, u8"question, réponse, révélation, code, révélation 2, laissée de côté"}, {2, 4, 0, ""},
  };
  // clang-format on
  for (const auto& c : shapes) {
    EXPECT_EQ(Utf8FromCp1252(MappingText(ShapeMapping(Settings(c.answers, c.mode), c.columns))),
              std::string("dans l'ordre du quiz : ") + c.shape)
        << c.answers << c.mode << c.columns;
  }
  ColumnMapping mapping = ShapeMapping(Settings(1, 0), 4);
  ChooseColumn(mapping, 2, int(QuizField::Code));     // the code column gives its field up
  ChooseColumn(mapping, 3, int(QuizField::Title));    // no header field for a column
  ChooseColumn(mapping, 4, int(QuizField::Answer2));  // no such column
  ChooseColumn(mapping, 0, LeftOutColumn);
  EXPECT_EQ(Utf8FromCp1252(MappingText(mapping)),
            u8"comme vous les avez choisies : laissée de côté, réponse, code, laissée de côté");
  // As ludex-pack's --colonnes gives them: names of fields, "-" for a column left out.
  std::string unknown;
  ColumnMapping given;
  ASSERT_TRUE(ParseMapping(u8"-, Question ,Réponse,acceptées aussi,anecdote,code", given, unknown));
  EXPECT_EQ(Letters(given), "-QAXRC");
  EXPECT_FALSE(ParseMapping("question,couleur", given, unknown));
  EXPECT_EQ(unknown, "couleur");
  // A row whose every cell is left out gives no question, and says so.
  const ImportPreview preview = PreviewImport(ReadPastedTable("Q\tA\r\nQ2\r\n"), mapping, Settings(1, 0));
  ASSERT_EQ(preview.rows.size(), 1u);
  EXPECT_EQ(preview.rows[0].question.answer1, "A");
  EXPECT_EQ(Utf8FromCp1252(preview.notes.back()), u8"ligne 2 : rien dans les colonnes du quiz, aucune question ajoutée");
}

// What goes in, and whether the author sees the rows first.
TEST(MappingTest, PreviewOnlyWhatMayBeMisplaced) {
  // clang-format off
  const struct { const char* name; std::string text; int answers, mode; const char* question; bool review; } cases[] = {
      {"FourColumnsInOrder", "Q\tA\tR\tC\r\nQ2\tA2\tR2\tC2\r\n", 1, 2, "Q|A||R||C", false},
      {"ThreeColumnsWithoutTheRevealTexts", "Q\tA\tC\r\nQ2\tA2\tC2\r\n", 1, 2, "Q|A||C", true},
      {"QuestionsAlone", "Q\r\nQ2\r\n", 1, 0, "Q", true},
      {"RevealIntoAQuizWithout", "Q\tA\tR\tC\r\n", 1, 0, "Q|A||R||C", true},
      {"EmptyRevealsIntoAQuizWithout", "Q\tA\t\tC\r\n", 1, 0, "Q|A||||C", false},
      {"TwoAnswers", "Q\tA\tB\tR\tC\r\n", 2, 2, "Q|A|B|R||C", false},
      {"HeaderRow", "Code\tQuestion\r\nC\tQ\r\n", 1, 0, "Q|||||C", false},
      {"RowOfAnotherWidth", "Q\tA\r\nQ2\tA2\tR2\r\n", 1, 2, "Q|A", true},
      {"CellPastTheColumns", "Q\tA\tR\tC\tX\r\n", 1, 2, "Q|A||R||C", true},
      {"CharacterSpelledNearest", u8"Q\u2192\tA\r\n", 1, 2, "Q->|A", true},
      {"CharacterWithoutSpelling", u8"Q\U0001F600\tA\r\n", 1, 2, "Q\x1A|A", true},
      {"TooLong", std::string(260, 'q') + "\tA\r\n", 1, 2, "", true},
  };
  // clang-format on
  for (const auto& c : cases) {
    const AuthoredQuiz quiz = Settings(c.answers, c.mode);
    const TableText table = ReadPastedTable(c.text);
    const ImportPreview preview = PreviewImport(table, ChooseMapping(table, quiz), quiz);
    ASSERT_FALSE(preview.rows.empty()) << c.name;
    const AuthoredQuestion& q = preview.rows[0].question;
    if (*c.question) {
      EXPECT_EQ(Joined({q.questionText, q.answer1, q.answer2, q.revealText, q.secondRevealText, q.scoreCode}),
                c.question)
          << c.name;
    }
    EXPECT_EQ(preview.needsReview(), c.review) << c.name;
  }
}

// ---- the preview: what goes in, and what breaks a limit ----

TEST(PreviewTest, MarksEveryRowAndSaysWhy) {
  AuthoredQuiz quiz;  // one answer per question, no reveal texts
  quiz.questions.resize(MaxQuestions - 3);
  const std::string csv = u8"Q1 → ?😀;R\nQ2;R;R2\nQ3;R;;" + std::string(260, 'c') + "\nQ4;R\nQ5;R\n";
  const TableText table = ReadCsvTable(csv);
  const ImportPreview preview = PreviewImport(table, ChooseMapping(table, quiz), quiz);
  ASSERT_EQ(preview.rows.size(), 3u);
  EXPECT_EQ(preview.rowsWithErrors, 2);
  EXPECT_EQ(preview.rows[0].question.questionText, "Q1 -> ?\x1A");  // an error wherever it goes
  ASSERT_EQ(preview.rows[0].problems.size(), 2u);
  EXPECT_EQ(Utf8FromCp1252(preview.rows[0].problems[0].message),
            u8"caractère 4 : le caractère U+2192, que le lecteur ne peut pas afficher, est remplacé par « -> »");
  EXPECT_FALSE(preview.rows[0].problems[0].isError);
  EXPECT_EQ(Utf8FromCp1252(preview.rows[0].problems[1].message),
            u8"caractère 8 : caractère de contrôle U+001A (un caractère que le lecteur ne peut pas afficher, remplacé "
            u8"à l'import : écrivez-le autrement) dans un texte");
  ASSERT_EQ(preview.rows[1].problems.size(), 1u);
  EXPECT_FALSE(preview.rows[1].problems[0].isError);
  EXPECT_EQ(Utf8FromCp1252(preview.rows[1].problems[0].message), u8"le mode de révélation du quiz n'en montre aucune");
  EXPECT_EQ(Utf8FromCp1252(preview.rows[2].problems[0].message),
            u8"le code de score fait 260 caractères ; le lecteur en garde au plus 259");
  std::vector<std::string> notes;
  for (const std::string& note : preview.notes) notes.push_back(Utf8FromCp1252(note));
  const std::vector<std::string> expected = {
      u8"lignes 2, 3 : pas le même nombre de colonnes que les autres lignes (2) ; vérifiez que chaque texte est dans "
      u8"la bonne colonne",
      u8"la colonne 3 va dans « révélation », et le mode de révélation du quiz n'en montre aucune : changez ce réglage, "
      u8"choisissez une autre colonne, ou laissez-la de côté",
      u8"le lecteur ne peut pas afficher ces caractères : chacun deviendra ce que dit sa parenthèse ; sans elle, il "
      u8"sera ajouté comme une erreur que la liste des problèmes garde jusqu'à ce que vous l'écriviez autrement :\n"
      u8"  U+2192 (flèche : écrivez « -> »), ligne 1\n  U+1F600, ligne 1",
      u8"le quiz a 257 questions ; le lecteur en compte au plus 255 ; 2 ligne(s) du texte ne sont pas ajoutées",
  };
  EXPECT_EQ(notes, expected);
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
    quiz.questions.back().accepted1 = std::string(t(6)) + "\r\n" + t(7);  // one a line in their cell
    quiz.questions.back().accepted2 = t(2);
  }
  const std::string csv = WriteCsvTable(quiz);
  EXPECT_EQ(csv.rfind(u8"\xEF\xBB\xBFquestion;réponse;acceptées aussi;réponse 2;acceptées aussi 2;révélation;code;"
                      u8"révélation 2\r\n", 0), 0u);
  const TableText table = ReadCsvTable(csv);
  EXPECT_TRUE(table.headerRow);
  const std::vector<AuthoredQuestion> back = QuestionsOf(PreviewImport(table, ChooseMapping(table, quiz), quiz));
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
    const TableText table = ReadCsvTable(csv);
    const std::vector<AuthoredQuestion> back = QuestionsOf(PreviewImport(table, ChooseMapping(table, quiz), quiz));
    ASSERT_EQ(back.size(), 1u) << c.text;
    EXPECT_EQ(back[0].questionText, c.text);
  }
}

}  // namespace
