// Accepted answers as pupils meet them, one table for every player: the
// verdict (tests/judge), the web page's player (tests/web, natively and in
// the browsers through verdict_tool) and the program's question panel
// (tests/questions, under wine) each judge every case and must give its word.
// Texts are Windows-1252 bytes; a case is one question, one answer field.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "accepted_answers.h"

struct AcceptedAnswerCase {
  const char* name;
  std::string expected;
  std::vector<std::string> accepted;
  std::string typed;
  const char* verdict;
};

// clang-format off
inline const std::vector<AcceptedAnswerCase>& AcceptedAnswerCases() {
  static const std::vector<AcceptedAnswerCase> cases = {
      {"without the article", "La Chine", {"Chine"}, "chine", "BRAVO"},
      {"the expected answer still right", "La Chine", {"Chine"}, " LA CHINE ", "BRAVO"},
      {"a near miss of the accepted one", "La Chine", {"Chine"}, "chne", "Quasiment"},
      {"surname only", "Marie Curie", {"Curie"}, "curie", "BRAVO"},
      {"an anagram of the accepted one", "Albert Einstein", {"Einstein"}, "einstien", "Anagramme"},
      {"an apostrophe added", "Levis", {"Levi's"}, "levi's", "BRAVO"},
      {"a ligature typed as two letters", "Le c\x9Cur", {"c\x9Cur", "coeur"}, "coeur", "BRAVO"},
      {"a number without its unit or space", "2\xA0" "438 m\xE8tres", {"2 438 m\xE8tres", "2438", "2 438"}, "2438", "BRAVO"},
      {"too long beats not far", "Constantinople", {"Const"}, "constant", "Trop long"},
      {"the typewriter apostrophe", "Shy\x92m", {"Shy'm"}, "shy'm", "BRAVO"},
      {"a lower-case accented capital", "\xC9gypte", {"\xE9gypte", "Egypte"}, "\xE9gypte", "BRAVO"},
      {"the plain capital", "\xC9gypte", {"\xE9gypte", "Egypte"}, "egypte", "BRAVO"},
      {"accents still count", "\xC9gypte", {}, "\xE9gypte", "Quasiment"},
      {"the best hint wins", "Rome", {"Roma"}, "romaine", "Trop long"},
      {"nothing typed", "Paris", {"Lut\xE8" "ce"}, "   ", "?"},
      {"wrong against every answer", "Paris", {"Lut\xE8" "ce"}, "Londres", "FAUX"},
      {"sixteen accepted, the last right", "A", {"B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9", "B10", "B11", "B12", "B13", "B14", "B15", "Lyon"}, "LYON", "BRAVO"},
  };
  return cases;
}
// clang-format on

// The accepted answers of answer field 1 as a player holds them once read
// from the quiz's block.
inline std::vector<AcceptedAnswers> ReadThroughBlock(const std::vector<std::string>& answers) {
  std::vector<uint8_t> block;
  AppendAcceptedBlock(block, {{1, answers}});
  std::vector<AcceptedAnswers> read;
  ReadAcceptedBlock(block.data(), static_cast<uint32_t>(block.size()), 0, 1, read);
  return read;
}
