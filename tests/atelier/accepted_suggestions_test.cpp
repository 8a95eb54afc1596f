// The accepted answers the editor suggests for an expected answer, as a
// teacher would take them; none that an answer already takes.
#include "accepted_suggestions.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

TEST(AcceptedSuggestions, SpellingsPupilsType) {
  // clang-format off
  const struct { const char* name; std::string expected; Texts accepted, suggested; } cases[] = {
      {"article", "La Chine", {}, {"Chine"}},
      {"elided article", "L'\xC9gypte", {}, {"\xC9gypte", "\xE9gypte", "Egypte"}},
      {"typographic elision", "L\x92" "Europe", {}, {"Europe", "L'Europe"}},
      {"plural article", "Les Alpes", {}, {"Alpes"}},
      {"not an article", "Lyon", {}, {}},
      {"guillemets", "\xAB Le Cid \xBB", {}, {"Cid", "Le Cid"}},
      {"surname", "Marie Curie", {}, {"Curie"}},
      {"surname of three words", "Jean-Paul Sartre", {}, {"Sartre"}},
      {"no surname of one word", "Einstein", {}, {}},
      {"no surname of lower-case words", "le grand bleu", {}, {"grand bleu"}},
      {"number with unit", "2\xA0" "438 m\xE8tres", {}, {"2 438 m\xE8tres", "2438 m\xE8tres", "2438", "2 438"}},
      {"number alone", "12500", {}, {"12 500"}},
      {"a year stays", "1789", {}, {}},
      {"apostrophe", "Shy\x92m", {}, {"Shy'm"}},
      {"ligature", "Le c\x9Cur", {}, {"coeur", "c\x9Cur", "Le coeur"}},
      {"accented capital", "\xC9gypte", {}, {"\xE9gypte", "Egypte"}},
      {"already accepted, in any case", "La Chine", {"CHINE"}, {}},
      {"an expected answer the player never takes", "La Chine ", {}, {"Chine", "La Chine"}},
      {"empty", "", {}, {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(SuggestAcceptedAnswers(c.expected, c.accepted), c.suggested) << c.name;
  }
}

TEST(AcceptedSuggestions, NeverMoreThanTheMost) {
  EXPECT_LE(SuggestAcceptedAnswers("L'\xC9l\xE9phant \xAB" "12500 \xC9" "cus\xBB", {}).size(), MaxAcceptedSuggestions);
}

}  // namespace
