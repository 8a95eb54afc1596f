// The answers file: one CR LF line per answer field, named after the program
// file with its last three characters replaced by "txt", in the current directory.
#pragma once
#include <cstddef>
#include <cstdint>

enum : int {
  SavedLineSize = 272,  // a line read back is cut to 271 bytes
};

// The bare file name of the answers file for a program path (up to 259 bytes):
// the part after the last backslash, its last three characters turned into t, x, t.
// name receives at most 259 bytes and a zero.
void AnswersFileName(const char* programPath, char name[260]);

// Reads one line from data[0..size) at position: bytes up to the first CR
// (zero bytes dropped, cut to 271 bytes), then skips to the next LF and one
// byte past it. position never passes size + 1.
void ReadSavedLine(const uint8_t* data, size_t size, size_t& position, char line[SavedLineSize]);
