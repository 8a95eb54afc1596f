// The problems list: errors first, then warnings, each in the order of the
// source; the characters a typed text had replaced, listed until undone or
// written over; a new quiz quiet until changed; the packed sizes measured
// once nothing else is wrong, a large quiz's once the typing pauses.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "fake_host.h"

namespace {

// The list as the session shows it: each line whole, or up to its message.
std::vector<std::string> Lines(Scene& s, bool whole = true) {
  std::vector<std::string> texts;
  for (const ProblemLine& line : s.session().problems()) texts.push_back(whole ? line.text : line.text.substr(0, line.text.find(" : ")));
  return texts;
}

void Open(Scene& s, const std::string& source) {
  s.host.put("/docs/q.txt", source);
  s.session().openPath("/docs/q.txt");
}

const std::string Source = "titre: T\nquestion: Q1\nreponse: R\ncode: C\n";
const std::string TwoAnswers = "titre: T\nreponses par question: 2\nquestion: Q1\nreponse: R\nreponse2: S\ncode: C\n";

std::string Replaced(const std::string& character, const std::string& codePoint, const std::string& spelling) {
  return u8"Avertissement, « titre » : « " + character + u8" » (U+" + codePoint + u8") est devenu « " + spelling +
         u8" », car le lecteur ne peut pas l'afficher. Ctrl+Z annule le remplacement.";
}

TEST(ProblemsList, ErrorsFirstEachInTheOrderOfTheSource) {
  // clang-format off
  const struct { const char* name; std::function<void(Scene&)> act; std::vector<std::string> starts; const char* summary; } cases[] = {
      {"NewQuizQuiet", [](Scene&) {}, {}, u8"Aucun problème"},
      {"NewQuizChanged", [](Scene& s) { s.typeInto(QuizField::Author, "A"); }, {u8"Erreur, « titre »", "Avertissement"},
       u8"1 erreur — la construction est impossible — et 1 avertissement"},
      {"ErrorAfterWarnings", [](Scene& s) { Open(s, "titre: T\nquestion: Q1\nreponse: R \ncode: C\nquestion: Q2\nreponse: R \ncode: C\n"
                                                    "question: Q3\nreponse: " + std::string(300, 'r') + "\ncode: C\n"); },
       {u8"Erreur, question 3, « réponse »", u8"Avertissement, question 1, « réponse »", u8"Avertissement, question 2, « réponse »"},
       u8"1 erreur — la construction est impossible — et 2 avertissements"},
      {"ReplacementsBesideTheirField", [](Scene& s) { Open(s, Source); s.typeInto(QuizField::Author, std::string(120, 'W'));
         s.typeInto(QuizField::Explanation, u8"\u2192"); s.typeInto(QuizField::Question, u8"a | \U0001F600"); s.typeInto(QuizField::Answer1, ""); },
       {u8"Erreur, question 1, « question »", u8"Erreur, question 1, « question »", u8"Erreur, question 1, « réponse »",
        u8"Avertissement, « auteur »", u8"Avertissement, « explication »"}, u8"3 erreurs — la construction est impossible — et 2 avertissements"},
      {"AcceptedRightAfterTheirAnswer", [](Scene& s) { Open(s, TwoAnswers); s.typeInto(QuizField::Answer2, " S");
         s.typeInto(QuizField::Accepted1, u8"R\u2192"); },
       {u8"Avertissement, question 1, « aussi »", u8"Avertissement, question 1, « réponse2 »"}, "2 avertissements"},
      {"TextsSetAsideFirst", [](Scene& s) { Open(s, TwoAnswers); s.typeInto(QuizField::Answer1, " R"); s.plan({Pressed(Answer::Ok)}); s.session().chooseAnswersPerQuestion(0); s.settle(); },
       {"Avertissement", u8"Avertissement, question 1, « réponse »"}, "2 avertissements"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Scene s;
    c.act(s);
    EXPECT_EQ(Lines(s, false), c.starts) << c.name;
    EXPECT_EQ(s.session().problemsSummary(), c.summary) << c.name;
  }
}

// A character the player cannot show, kept as its nearest spelling and
// listed until undone or written over; with none near, an error.
TEST(ProblemsList, ReplacedCharactersUntilUndoneOrWrittenOver) {
  Scene s;
  s.typeInto(QuizField::Title, u8"Fractions en 5\u1D49 \u2192 4\u1D49");
  EXPECT_EQ(Lines(s), (std::vector<std::string>{Replaced(u8"\u1D49", "1D49", "e"), Replaced(u8"\u2192", "2192", "->"),
                                                  Replaced(u8"\u1D49", "1D49", "e"),
                                                  u8"Avertissement : le quiz n'a aucune question"}));
  s.runCommand(Command::Undo);
  EXPECT_EQ(Lines(s, false), (std::vector<std::string>{u8"Erreur, « titre »", "Avertissement"}));
  Open(s, Source);
  s.typeInto(QuizField::Question, u8"Qui \U0001F600 ?");
  EXPECT_EQ(Lines(s), std::vector<std::string>{u8"Erreur, question 1, « question » : « \U0001F600 » (U+1F600) est devenu "
                                                u8"« ? » : le lecteur ne peut pas l'afficher, et rien ne s'en approche. "
                                                u8"Remplacez ce « ? » par un autre texte."});
  EXPECT_TRUE(s.session().rowHasError(0));
  EXPECT_FALSE(s.session().rowHasError(1));
  // clang-format off
  const struct { QuizField field; const char* typed; size_t lines; } steps[] = {
      {QuizField::Answer1, "Lui", 1}, {QuizField::Question, "Qui rit ?", 0}, {QuizField::Explanation, u8"Tapez\nla \U0001F600 ici", 1},
      {QuizField::Explanation, "Tapez\nla ? ici", 1}, {QuizField::Explanation, "Tapez\nla suite ici", 0},
  };
  // clang-format on
  for (const auto& step : steps) {
    s.typeInto(step.field, step.typed);
    EXPECT_EQ(Lines(s).size(), step.lines) << step.typed;
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
    Scene s;
    std::string source = "titre: Long\n";
    for (int k = 0; k < c.questions; ++k) {
      for (char& ch : noise) ch = char('!' + random() % 90);
      source += "question: " + (c.text.empty() ? noise : c.text) + "\nreponse: R\ncode: C\n";
    }
    Open(s, source);
    const auto sizeError = [&s] {
      const std::vector<std::string> lines = Lines(s);
      return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Erreur : le quiz est trop long pour le lecteur : enlevez-en", 0) == 0;
      });
    };
    EXPECT_EQ(sizeError(), !c.measuredLater) << c.name;
    EXPECT_EQ(s.session().sizeCheckDue(), c.measuredLater) << c.name;
    s.session().checkSizes();
    EXPECT_TRUE(sizeError()) << c.name;
    EXPECT_FALSE(s.session().sizeCheckDue()) << c.name;
    s.typeInto(QuizField::Author, "A");  // measured again for the quiz as it now is
    EXPECT_EQ(s.session().sizeCheckDue(), c.measuredLater) << c.name;
  }
}

}  // namespace
