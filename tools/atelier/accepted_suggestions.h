// The spellings pupils type for an expected answer, which the editor offers
// as accepted answers for the teacher to take: without its article ("Chine"
// for "La Chine"), without guillemets or quotes, the surname alone of a
// person's name ("Curie"), a number with and without the space between its
// digit groups and without its unit ("2438", "2 438" for "2 438 mètres"),
// the characters a keyboard hardly gives written as it gives them (a plain
// space for a non-breaking one, ' for ’, oe for œ), an accented capital as
// its lower-case letter and as the plain capital ("égypte", "Egypte").
// Portable; texts in Windows-1252.
#pragma once
#include <string>
#include <vector>

// At most this many suggestions for one answer.
const size_t MaxAcceptedSuggestions = 8;

// The suggestions for expected, best first, without the ones that expected
// or an accepted answer already takes (the player ignores the spaces around
// a typed text and the case of a to z).
std::vector<std::string> SuggestAcceptedAnswers(const std::string& expected, const std::vector<std::string>& accepted);
