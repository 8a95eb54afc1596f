// GIFT banks: Moodle's documented short-answer forms read as rows, every
// other kind left out and told by its number; a quiz written as a bank and
// read back keeps its texts and accepted answers.
#include <gtest/gtest.h>

#include "cp1252.h"
#include "gift_bank.h"
#include "quiz_source.h"

namespace {

std::string Row(const TableRow& row) {
  std::string text;
  for (size_t k = 1; k < row.cells.size(); ++k) text += (k > 1 ? "|" : "") + row.cells[k];
  return text;
}

std::string Notes(const TableText& table) {
  std::string text;
  for (const std::string& note : table.problems) text += Utf8FromCp1252(note) + "\n";
  return text;
}

// The forms of Moodle's GIFT documentation, one question each, in French.
TEST(GiftTest, ReadsTheDocumentedShortAnswersAndLeavesOutTheRest) {
  // clang-format off
  const struct { const char* name; const char* gift; const char* row; } cases[] = {
      {"ShortAnswer", u8"Qui est enterré dans la tombe de Grant ?{=personne =nul}", u8"Qui est enterré dans la tombe de Grant ?|personne|nul|"},
      {"MissingWord", "Deux plus deux font {=quatre =4}.", "Deux plus deux font _____.|quatre|4|"},
      {"TitleAndTwoLines", u8"::Origine des kanji::Les caractères japonais viennent\nde quel pays ? {=Chine}", u8"Les caractères japonais viennent\r\nde quel pays ?|Chine||"},
      {"AnswerFeedback", u8"Qui est enterré ici ?{\n=personne#excellente réponse !\n=nul#excellente réponse !}", u8"Qui est enterré ici ?|personne|nul|excellente réponse !"},
      {"MarkdownFormat", u8"[markdown]Qui est enterré dans **la tombe de Grant** ?{\n=personne\n}", u8"Qui est enterré dans la tombe de Grant ?|personne||"},
      {"HtmlFormat", u8"[html]<p>La capitale <b>de la France</b>&nbsp;?</p>{=Paris}", u8"La capitale de la France\u00a0?|Paris||"},
      {"PercentWeights", u8"::Ville:: Jésus venait de {\n=Nazareth#Oui !\n=%75%Nazereth#Mal écrit.\n=%25%Bethléem#Né là.\n}.", u8"Jésus venait de _____.|Nazareth||Oui !"},
      {"FullWeightAccepted", "Capitale du Japon ?{=%100%Tokyo =%100%Tokio}", "Capitale du Japon ?|Tokyo|Tokio|"},
      {"GeneralFeedback", "Capitale de la France ?{=Paris#Bien.####La Seine la traverse.}", "Capitale de la France ?|Paris||La Seine la traverse."},
      {"Escapes", "Que vaut 2 \\= 2 \\{x\\} \\: \\# \\~ \\\\ ?{=rien\\#1 =a\\nb}", "Que vaut 2 = 2 {x} : # ~ \\ ?|rien#1|a b|"},
      {"CommentAndCategory", u8"$CATEGORY: Géographie\n\n// une remarque\nCapitale de l'Italie ?{=Rome}", "Capitale de l'Italie ?|Rome||"},
      {"MultipleChoice", u8"Qui est enterré ?{~Grant ~Jefferson =personne}", nullptr},
      {"MissingWordChoice", u8"Grant est {~enterré =inhumé ~vivant} dans sa tombe.", nullptr},
      {"TrueFalse", u8"Le soleil se lève à l'est.{T}", nullptr},
      {"FalseWithFeedback", u8"Grant est enterré dans sa tombe.{FALSE#Personne n'y est.}", nullptr},
      {"Matching", "Associez les pays et leurs capitales. {\n=Canada -> Ottawa\n=Italie -> Rome\n}", nullptr},
      {"Numerical", u8"Quand Grant est-il né ?{#1822:5}", nullptr},
      {"NumericalWeights", "Quand ? {#\n=1822:0\n=%50%1822:2}", nullptr},
      {"Essay", "Racontez vos vacances.{}", nullptr},
      {"Description", "Les questions suivantes portent sur la France.", nullptr},
      {"UnclosedBrace", "Capitale ?{=Paris", nullptr},
      {"EscapedColonsNoTitle", "\\:\\:Q\\:\\: ?{=R}", "::Q:: ?|R||"},
      {"HtmlWithoutABlock", "[html]Capitale <b>du Japon</b> ?{=Tokyo}", "Capitale du Japon ?|Tokyo||"},
      {"BlanksTheQuizKeepsNone", u8"Capitale\u202f?\u200b{=Paris\n\ufeff=Lutèce\u2009}", u8"Capitale\u202f?|Paris|Lutèce|"},
  };
  // clang-format on
  std::string bank;
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    bank += std::string(c.gift) + "\n\n";
    if (c.row != nullptr) expected.push_back(c.row);
  }
  const TableText table = ReadGiftBank(bank);
  std::vector<std::string> rows;
  for (const TableRow& row : table.rows) rows.push_back(Row(row));
  EXPECT_EQ(rows, expected);
  EXPECT_TRUE(table.gift && table.headerRow);
  const std::string notes = Notes(table);
  for (const char* told : {u8"questions 12 (ligne 35), 13 (ligne 37) : choix multiple, pas à réponse courte, laissées de côté",
                           u8"questions 14 (ligne 39), 15 (ligne 41) : vrai ou faux", u8"question 16 (ligne 43) : appariement",
                           u8"questions 17 (ligne 48), 18 (ligne 50) : numérique", u8"question 19 (ligne 54) : composition",
                           u8"question 20 (ligne 56) : description (sans réponse)",
                           u8"question 21 (ligne 58) : accolades mal fermées, laissée de côté",
                           u8"question 7 (ligne 18) : « Nazereth » (75 %), « Bethléem » (25 %)",
                           u8"les commentaires propres à chaque réponse"})
    EXPECT_NE(notes.find(told), std::string::npos) << told << "\n" << notes;
}

TEST(GiftTest, KeepsSixteenAcceptedAnswersAndTellsOfTheRest) {
  std::string answers;
  for (int k = 0; k < 20; ++k) answers += "=r" + std::to_string(k) + " ";
  const TableText table = ReadGiftBank("Q ?{" + answers + "}");
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(AcceptedAnswerLines(table.rows[0].cells[3]).size(), static_cast<size_t>(MaxAcceptedAnswers));
  EXPECT_NE(Notes(table).find(u8"19 réponses acceptées, le lecteur en garde 16"), std::string::npos) << Notes(table);
}

TEST(GiftTest, TellsAGiftBankFromOtherTexts) {
  // clang-format off
  const struct { const char* text; bool gift; } cases[] = {
      {"// Moodle\n::Q1::Capitale ?{=Paris}\n\n::Q2::Fleuve ?{=Seine}\n", true},
      {"$CATEGORY: a\n\nVrai ?{T}\n", true},
      {"titre: Capitales\n\nquestion: Combien font {2+2} ?\nr\xC3\xA9ponse: 4\ncode:\n", false},
      {"question;r\xC3\xA9ponse\nCapitale ?;Paris\n", false},
      {"Combien font {\\=2} ?\n", false},  // an escaped '=' starts no answer
      {"", false},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(LooksLikeGift(c.text), c.gift) << c.text;
}

// A source written as a bank and read back: every text and accepted answer as it was.
TEST(GiftTest, SourceToGiftAndBackKeepsEveryTextAndAcceptedAnswer) {
  const std::string source = u8"titre: Pièges / GIFT\nmode révélation: 2\n\n"
                             u8"question: Que vaut 2=2 {vrai} ? ~#: \\n\n+ seconde ligne\nréponse: oui\naussi: Oui !\naussi: ouais # 100%\n"
                             u8"révélation: ####fin\n+ après\ncode: A\n\n"
                             u8"question: // pas un commentaire\nréponse: [html]<b>\nrévélation:\ncode:\n\n"
                             u8"question: ::pas un titre:: $CATEGORY: x\nréponse: l’été à 5 €\naussi: l'ete a 5 euros\ncode:\n";
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource(source, quiz, diagnostics));
  std::vector<std::string> notes;
  const std::string gift = WriteGiftBank(quiz, notes);
  EXPECT_TRUE(notes.empty());
  EXPECT_TRUE(LooksLikeGift(gift));
  const TableText table = ReadGiftBank(gift);
  EXPECT_TRUE(table.problems.empty()) << Notes(table);
  AuthoredQuiz back;
  ImportPreview preview = PreviewImport(table, ChooseMapping(table, back), back);
  AdoptMappingSettings(preview, ChooseMapping(table, back), back);
  preview = PreviewImport(table, ChooseMapping(table, back), back);
  EXPECT_EQ(back.revealMode, 2);
  ASSERT_EQ(preview.rows.size(), quiz.questions.size());
  for (size_t k = 0; k < quiz.questions.size(); ++k) {
    const AuthoredQuestion &was = quiz.questions[k], &is = preview.rows[k].question;
    EXPECT_EQ(is.questionText, was.questionText) << k;
    EXPECT_EQ(is.answer1, was.answer1) << k;
    EXPECT_EQ(is.accepted1, was.accepted1) << k;
    EXPECT_EQ(is.revealText, was.revealText) << k;
  }
}

}  // namespace
