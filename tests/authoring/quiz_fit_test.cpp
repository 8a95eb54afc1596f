// Whether texts fit the player's controls: the wrapping of a label and the
// cut of a field, the warnings with what will show, and the samples, which
// must fit the conservative table.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "cp1252.h"
#include "quiz_fit.h"
#include "quiz_source.h"

namespace {

// Every character 5 pixels wide, lines 10 high.
FontMetrics Even() {
  FontMetrics font = {};
  for (uint8_t& width : font.widths) width = 5;
  font.lineHeight = 10;
  return font;
}

TEST(FitTest, LabelsWrapBetweenWordsAndFieldsCut) {
  // lines 0: a one-line field; shown and hidden: empty when the text fits.
  // clang-format off
  const struct { const char* name; std::string text; int width, lines; std::string shown, hidden; } cases[] = {
      {"FieldCut", "ABCDEFGHIJ", 22, 0, "ABCD", "EFGHIJ"}, {"FieldFitsExactly", "ABCD", 20, 0, "", ""},
      {"LabelWrapsBeforeTheWordThatPasses", "ab cd ef", 30, 1, "ab cd", "ef"},
      {"WordWiderThanALineBroken", "abcdefghij", 22, 2, "abcdefgh", "ij"},
      {"LineBreaks", "a\r\nb\r\nc", 50, 2, "a\r\nb", "c"}, {"LastLineBreakHidesNothing", "a\r\n", 50, 1, "", ""},
      {"LeadingSpaceCounts", " ab cd", 20, 1, " ab", "cd"}, {"SpacesAtTheWrapSkipped", "ab    cd", 20, 2, "", ""},
      {"EmptyBreakLineCounts", "a\r\n\r\nb", 50, 2, "a\r\n", "b"}, {"NoLine", "a", 50, 0 - 1, "", "a"},
      {"BreaksAfterAHyphen", "Mme Marie-Claire", 60, 1, "Mme Marie-", "Claire"}, {"HyphenFirst", "-ab cd", 20, 1, "-ab", "cd"},
      {"Empty", "", 5, 1, "", ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    const ShownText shown = c.lines == 0 ? ShowInField(Even(), c.width, c.text)
                                         : ShowInLabel(Even(), c.width, std::max(c.lines, 0), c.text);
    EXPECT_EQ(shown.cut, !c.hidden.empty()) << c.name;
    if (shown.cut) EXPECT_EQ(std::tie(shown.shown, shown.hidden), std::tie(c.shown, c.hidden)) << c.name;
  }
}

// The conservative table: an accented letter as wide as its letter, the
// digits alike, a tab eight letters, and the whole of it pinned block by block.
TEST(FitTest, ConservativeTableOfEachFont) {
  const PlayerMetrics& m = ConservativeMetrics();
  const std::string accented = Cp1252FromUtf8Lossy(u8"ÀÁÂÃÄÅÇÈÉÊËÌÍÎÏÑÒÓÔÕÖØÙÚÛÜÝàáâãäåçèéêëìíîïñòóôõöøùúûüýÿ");
  const std::string letters = "AAAAAACEEEEIIIINOOOOOOUUUUYaaaaaaceeeeiiiinoooooouuuuyy";
  const int sums[2][7] = {{201, 233, 204, 225, 213, 240, 213}, {291, 353, 308, 324, 308, 361, 314}};
  int font = 0;
  for (const FontMetrics* widths : {&m.labels, &m.title}) {
    const auto width = [&](char c) { return int(widths->widths[uint8_t(c)]); };
    for (size_t k = 0; k < letters.size(); ++k) EXPECT_EQ(width(accented[k]), width(letters[k])) << letters[k];
    for (char digit = '1'; digit <= '9'; ++digit) EXPECT_EQ(width(digit), width('0'));
    EXPECT_EQ(width('\t'), 8 * width('x'));
    EXPECT_EQ(width('\x01'), width(' '));
    for (int block = 0; block < 7; ++block) {
      int sum = 0;
      for (int byte = 32 + 32 * block; byte < 64 + 32 * block; ++byte) sum += widths->widths[byte];
      EXPECT_EQ(sum, sums[font][block]) << font << " " << block;
    }
    ++font;
  }
  EXPECT_EQ(std::make_tuple(m.labels.lineHeight, m.title.lineHeight, m.codeInset, m.borderInset),
            std::make_tuple(13, 18, 6, 2));
}

std::vector<std::string> Messages(const AuthoredQuiz& quiz) {
  std::vector<std::string> messages;
  for (const QuizProblem& p : FitWarnings(quiz, ConservativeMetrics())) {
    EXPECT_TRUE(p.rule == QuizRule::Fit && !p.isError);
    messages.push_back(std::to_string(p.row) + " " + std::to_string(p.field) + " " + Utf8FromCp1252(p.message));
  }
  return messages;
}

TEST(FitTest, SaysWhatWillShow) {
  AuthoredQuiz quiz;
  quiz.title = "Les capitales d'Europe et de leurs voisins";
  quiz.author = "Mme Lef\xE8vre, 5e B";
  quiz.explanation =
      "Tapez la capitale.\r\nPuis Entr\xE9"
      "e.\r\nLes accents comptent.";
  quiz.questions.resize(ScoreCodeSlots + 1, {"Q", "R", "", "", "", "\xC9TINCELLE"});  // the 97th code never shows
  quiz.questions[0].questionText = std::string(60, 'w') + " " + std::string(60, 'y');
  quiz.questions[1].questionText = quiz.questions[0].questionText;  // row 2 shows 4 lines
  std::vector<std::string> messages = Messages(quiz);
  ASSERT_EQ(messages.size(), 4u + ScoreCodeSlots);
  const std::vector<std::string> first = {
      u8"-1 0 le titre s'affichera « Les capitales d'Europe et de » : la suite (« leurs voisins ») ne tient pas dans "
      u8"sa case du lecteur",
      u8"-1 1 l'auteur s'affichera « Mme Lefèvre, 5e » : la suite (« B ») ne tient pas dans sa case du lecteur",
      u8"-1 2 l'explication s'affichera « Tapez la capitale. / Puis Entrée. » : la suite (« Les accents comptent. ») "
      u8"ne tient pas dans sa case du lecteur, qui montre 2 lignes",
      u8"0 5 la question s'affichera « …wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww » : la suite (« "
      u8"yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy… ») ne tient pas dans sa case du lecteur, qui montre 1 ligne",
      u8"0 10 le code s'affichera « ÉTINCEL » : la suite (« LE ») ne tient pas dans sa case du lecteur",
  };
  EXPECT_EQ(std::vector<std::string>(messages.begin(), messages.begin() + 5), first);
  EXPECT_EQ(messages.back().rfind("95 10 ", 0), 0u);
  quiz.visibility = 0;  // no rows: no question to cut
  EXPECT_EQ(Messages(quiz).size(), 3u + ScoreCodeSlots);
}

// The author and the reveal texts, as the player shows them: a name broken
// after its hyphen, a reveal text's second line in a row of one line.
TEST(FitTest, AuthorAndRevealTextsAsThePlayerShowsThem) {
  // clang-format off
  const struct { const char* name; std::string author, reveal; int revealMode, row; std::vector<std::string> said; } cases[] = {
      {"HyphenatedAuthor", "Mme Marie-Christine Durand", "", 0, 0,
       {u8"-1 1 l'auteur s'affichera « Mme Marie- » : la suite (« Christine Durand ») ne tient pas dans sa case du lecteur"}},
      {"RevealOnTwoLinesInARowOfOne", "", "Le Tibre la traverse.\r\nOn y jette une pi\xE8" "ce.", 2, 0,
       {u8"0 8 la révélation s'affichera « Le Tibre la traverse. » : la suite (« On y jette une pièce. ») ne tient pas "
        u8"dans sa case du lecteur, qui montre 1 ligne"}},
      {"RevealOnTwoLinesInATallerRow", "", "Le Tibre la traverse.\r\nOn y jette une pi\xE8" "ce.", 4, 1, {}},
      {"RevealWrappedPastItsLine", "", std::string(70, 'e'), 3, 0,
       {u8"0 8 la révélation s'affichera « …eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee » : la suite (« eeeeeeeeeeeee ») ne "
        u8"tient pas dans sa case du lecteur, qui montre 1 ligne"}},
      {"RevealNeverShown", "", "Le Tibre la traverse.\r\nOn y jette une pi\xE8" "ce.", 0, 0, {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    AuthoredQuiz quiz;
    quiz.author = c.author;
    quiz.revealMode = c.revealMode;
    quiz.questions.resize(2, {"Q", "R", "", "", "", "C"});
    quiz.questions[c.row].revealText = c.reveal;
    EXPECT_EQ(Messages(quiz), c.said) << c.name;
  }
}

std::string ReadExample(const std::string& name) {
  std::ifstream in(std::string(LUDEX_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The source reader puts each warning on its field's line; the samples fit.
TEST(FitTest, SourceWarningsOnTheirLinesAndSamplesFit) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics{"quiz.txt", {}};
  ASSERT_TRUE(ParseQuizSource(u8"titre: T\n\nquestion: Q\nréponse: R\ncode: ÉTINCELLE\n", quiz, diagnostics,
                              &ConservativeMetrics()));
  ASSERT_EQ(diagnostics.items.size(), 1u);
  EXPECT_EQ(Utf8FromCp1252(diagnostics.format(diagnostics.items[0])),
            u8"quiz.txt:5: avertissement: le code s'affichera « ÉTINCEL » : la suite (« LE ») ne tient pas dans sa "
            u8"case du lecteur");
  for (const char* sample : {"capitales.txt", "chimie-deux-reponses.txt"}) {
    Diagnostics found;
    EXPECT_TRUE(ParseQuizSource(ReadExample(sample), quiz, found, &ConservativeMetrics()));
    for (const Diagnostic& d : found.items) ADD_FAILURE() << sample << ": " << Utf8FromCp1252(found.format(d));
  }
}

}  // namespace
