// The verdict as it was first written, kept as the oracle that the player's
// faster one must match word for word: the whole distance table, the
// anagram test on bubble-sorted copies, and trimming, upper-casing and the
// containment scan of its own. Used by the tests, the fuzz target
// and the verdict benchmark; never by the player.
#pragma once
#include <string>
#include <vector>

void BubbleSortLetters(char* text);                           // bubble sort, bytes compared as signed
int FullEditDistance(const char* first, const char* second);  // Levenshtein, over the whole table
const char* OracleVerdict(const char* expected, const char* typed);
// The best of OracleVerdict over the expected answer and each accepted one,
// by the order of the words' merit.
const char* OracleBestVerdict(const char* expected, const std::vector<std::string>& accepted, const char* typed);
