// The problems list: errors first, then warnings, each in the order of the
// source; the characters a typed text had replaced, listed until undone or
// written over; a new quiz quiet until changed; the packed sizes measured
// once nothing else is wrong, a large quiz's once the typing pauses.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "problems_list.h"

namespace {

// A document and its list, changed as the editor changes them.
struct Listed {
  QuizDocument document;
  ProblemsList list{document, ConservativeMetrics()};

  void open(const std::string& source) {
    const SourceRead read = ReadSource(source, "q.txt");
    document.reset(read.quiz, "q.txt", "", false);
    list.forgetRespellings();
  }
  // As the author types it: a character the player cannot show takes its nearest spelling.
  void type(QuizField field, int row, const std::string& utf8) {
    std::vector<Respelling> changes;
    document.setText(field, row, CheckTextUtf8(field, RespellForPlayer(utf8, &changes)).bytes);
    list.noteRespellings(field, row, changes);
    list.keepQuiet(false);
  }
  std::vector<std::string> lines() {
    std::vector<std::string> texts;
    for (const ProblemLine& line : list.lines()) texts.push_back(line.text);
    return texts;
  }
  // Each line up to its message.
  std::vector<std::string> starts() {
    std::vector<std::string> texts;
    for (const std::string& line : lines()) texts.push_back(line.substr(0, line.find(" : ")));
    return texts;
  }
};

const std::string Source = "titre: T\nquestion: Q1\nreponse: R\ncode: C\n";
const std::string TwoAnswers = "titre: T\nreponses par question: 2\nquestion: Q1\nreponse: R\nreponse2: S\ncode: C\n";

std::string Replaced(const std::string& character, const std::string& codePoint, const std::string& spelling) {
  return u8"Avertissement, « titre » : « " + character + u8" » (U+" + codePoint + u8") est devenu « " + spelling +
         u8" », car le lecteur ne peut pas l'afficher. Ctrl+Z annule le remplacement.";
}

TEST(ProblemsList, ErrorsFirstEachInTheOrderOfTheSource) {
  // clang-format off
  const struct { const char* name; std::function<void(Listed&)> act; std::vector<std::string> starts; const char* summary; } cases[] = {
      {"NewQuizQuiet", [](Listed&) {}, {}, u8"Aucun problème"},
      {"NewQuizChanged", [](Listed& l) { l.type(QuizField::Author, -1, "A"); }, {u8"Erreur, « titre »", "Avertissement"},
       u8"1 erreur — la construction est impossible — et 1 avertissement"},
      {"ErrorAfterWarnings", [](Listed& l) { l.open("titre: T\nquestion: Q1\nreponse: R \ncode: C\nquestion: Q2\nreponse: R \ncode: C\n"
                                                    "question: Q3\nreponse: " + std::string(300, 'r') + "\ncode: C\n"); },
       {u8"Erreur, question 3, « réponse »", u8"Avertissement, question 1, « réponse »", u8"Avertissement, question 2, « réponse »"},
       u8"1 erreur — la construction est impossible — et 2 avertissements"},
      {"ReplacementsBesideTheirField", [](Listed& l) { l.open(Source); l.type(QuizField::Author, -1, std::string(120, 'W'));
         l.type(QuizField::Explanation, -1, u8"\u2192"); l.type(QuizField::Question, 0, u8"a | \U0001F600"); l.type(QuizField::Answer1, 0, ""); },
       {u8"Erreur, question 1, « question »", u8"Erreur, question 1, « question »", u8"Erreur, question 1, « réponse »",
        u8"Avertissement, « auteur »", u8"Avertissement, « explication »"}, u8"3 erreurs — la construction est impossible — et 2 avertissements"},
      {"AcceptedRightAfterTheirAnswer", [](Listed& l) { l.open(TwoAnswers); l.type(QuizField::Answer2, 0, " S");
         l.type(QuizField::Accepted1, 0, u8"R\u2192"); },
       {u8"Avertissement, question 1, « aussi »", u8"Avertissement, question 1, « réponse2 »"}, "2 avertissements"},
      {"TextsSetAsideFirst", [](Listed& l) { l.open(TwoAnswers); l.type(QuizField::Answer1, 0, " R"); l.document.setAnswersPerQuestion(1); },
       {"Avertissement", u8"Avertissement, question 1, « réponse »"}, "2 avertissements"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Listed listed;
    c.act(listed);
    EXPECT_EQ(listed.starts(), c.starts) << c.name;
    EXPECT_EQ(listed.list.summary(), c.summary) << c.name;
  }
}

// A character the player cannot show, kept as its nearest spelling and
// listed until undone or written over; with none near, an error.
TEST(ProblemsList, ReplacedCharactersUntilUndoneOrWrittenOver) {
  Listed l;
  l.type(QuizField::Title, -1, u8"Fractions en 5\u1D49 \u2192 4\u1D49");
  EXPECT_EQ(l.lines(), (std::vector<std::string>{Replaced(u8"\u1D49", "1D49", "e"), Replaced(u8"\u2192", "2192", "->"),
                                                  Replaced(u8"\u1D49", "1D49", "e"),
                                                  u8"Avertissement : le quiz n'a aucune question"}));
  l.document.undo();
  EXPECT_EQ(l.starts(), (std::vector<std::string>{u8"Erreur, « titre »", "Avertissement"}));
  l.open(Source);
  l.type(QuizField::Question, 0, u8"Qui \U0001F600 ?");
  EXPECT_EQ(l.lines(), std::vector<std::string>{u8"Erreur, question 1, « question » : « \U0001F600 » (U+1F600) est devenu "
                                                u8"« ? » : le lecteur ne peut pas l'afficher, et rien ne s'en approche. "
                                                u8"Remplacez ce « ? » par un autre texte."});
  EXPECT_TRUE(l.list.rowHasError(0));
  EXPECT_FALSE(l.list.rowHasError(1));
  // clang-format off
  const struct { QuizField field; const char* typed; size_t lines; } steps[] = {
      {QuizField::Answer1, "Lui", 1}, {QuizField::Question, "Qui rit ?", 0}, {QuizField::Explanation, u8"Tapez\nla \U0001F600 ici", 1},
      {QuizField::Explanation, "Tapez\nla ? ici", 1}, {QuizField::Explanation, "Tapez\nla suite ici", 0},
  };
  // clang-format on
  for (const auto& step : steps) {
    l.type(step.field, IsQuestionField(step.field) ? 0 : -1, step.typed);
    EXPECT_EQ(l.lines().size(), step.lines) << step.typed;
  }
}

// Past the player's size, a quiz is an error as the author types: before
// compression at once; after it, once the typing pauses (sizeCheckDue).
TEST(ProblemsList, SizesMeasuredOnceNothingElseIsWrong) {
  std::mt19937 random(7);
  std::string noise(259, ' ');
  // clang-format off
  const struct { const char* name; std::string text; int questions; bool measuredLater; } cases[] = {
      {"PastTheSizeBeforeCompression", std::string(259, 'q'), 255, false},
      {"PastTheCompressedSize", "", 200, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    Listed l;
    std::string source = "titre: Long\n";
    for (int k = 0; k < c.questions; ++k) {
      for (char& ch : noise) ch = char('!' + random() % 90);
      source += "question: " + (c.text.empty() ? noise : c.text) + "\nreponse: R\ncode: C\n";
    }
    l.open(source);
    const auto sizeError = [&l] {
      const std::vector<std::string> lines = l.lines();
      return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Erreur : le quiz est trop long pour le lecteur : enlevez-en", 0) == 0;
      });
    };
    EXPECT_EQ(sizeError(), !c.measuredLater) << c.name;
    EXPECT_EQ(l.list.sizeCheckDue(), c.measuredLater) << c.name;
    l.list.checkSizes();
    EXPECT_TRUE(sizeError()) << c.name;
    EXPECT_FALSE(l.list.sizeCheckDue()) << c.name;
    l.type(QuizField::Author, -1, "A");  // measured again for the quiz as it now is
    EXPECT_EQ(l.list.sizeCheckDue(), c.measuredLater) << c.name;
  }
}

}  // namespace
