// The verdict as it was first written, kept as the oracle that the player's
// faster one must match word for word: the whole distance table, the
// anagram test on bubble-sorted copies, and trimming, upper-casing and the
// containment scan of its own. Used by the tests, the fuzz target
// and the verdict benchmark; never by the player.
#pragma once

void BubbleSortLetters(char* text);                           // bubble sort, bytes compared as signed
int FullEditDistance(const char* first, const char* second);  // Levenshtein, over the whole table
const char* OracleVerdict(const char* expected, const char* typed);
