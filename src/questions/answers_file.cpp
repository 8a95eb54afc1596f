#include "answers_file.h"

#include <cstring>

void AnswersFileName(const char* programPath, char name[260]) {
  size_t length = strnlen(programPath, 259);
  size_t start = length;
  while (start > 0 && programPath[start - 1] != '\\') --start;
  size_t nameLength = length - start;
  std::memmove(name, programPath + start, nameLength);
  name[nameLength] = 0;
  // A name of fewer than three characters has only those replaced.
  const char extension[3] = {'t', 'x', 't'};
  for (size_t k = 0; k < 3 && k < nameLength; ++k) {
    name[nameLength - 1 - k] = extension[2 - k];
  }
}

void ReadSavedLine(const uint8_t* data, size_t size, size_t& position, char line[SavedLineSize]) {
  size_t length = 0;
  while (position < size && data[position] != '\r') {
    uint8_t byte = data[position++];
    // A zero byte adds nothing; a line longer than the buffer is cut.
    if (byte != 0 && length < SavedLineSize - 1) line[length++] = static_cast<char>(byte);
  }
  line[length] = 0;
  while (position < size && data[position] != '\n') ++position;
  if (position <= size) ++position;
}
