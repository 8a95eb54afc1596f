// Text comparison primitives on zero-terminated byte strings of at most 259
// bytes (Windows-1252). No state, no heap.
#pragma once

void TrimSpaces(char* text);                               // trailing, then leading 0x20 bytes, in place
void UpperCaseAscii(char* text);                           // a-z to A-Z only, in place
void SortLetters(char* text);                              // bubble sort, bytes compared as signed
int EditDistance(const char* first, const char* second);   // Levenshtein
int FindContained(const char* first, const char* second);  // +2, -2, 0, +1, -1
bool AreAnagrams(const char* first, const char* second);
