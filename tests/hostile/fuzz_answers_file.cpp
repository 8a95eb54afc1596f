// Any bytes as the answers file, read back line by line as the question panel
// does. The first two bytes give the quiz's question count and answers per
// question; the rest is the file. Each line is checked against a plain model:
// the bytes before the first CR less the zero bytes, cut to 271, the position
// then one past the next LF, or size + 1 when there is none.
#include <cstdint>
#include <cstring>

#include "answers_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t inputSize) {
  if (inputSize < 2) return 0;
  const int lineCount = input[0] * input[1];
  const uint8_t* data = input + 2;
  const size_t size = inputSize - 2;

  size_t position = 0;
  for (int k = 0; k < lineCount; ++k) {
    const size_t start = position;
    char line[SavedLineSize];
    std::memset(line, 0x55, sizeof line);
    ReadSavedLine(data, size, position, line);

    size_t lineLength = strnlen(line, sizeof line);
    if (lineLength >= SavedLineSize) __builtin_trap();  // no terminating zero
    size_t end = start;
    size_t wanted = 0;
    while (end < size && data[end] != '\r') {
      if (data[end] != 0 && wanted < SavedLineSize - 1) {
        if (static_cast<uint8_t>(line[wanted]) != data[end]) __builtin_trap();
        ++wanted;
      }
      ++end;
    }
    if (lineLength != wanted) __builtin_trap();

    const void* lineFeed = end < size ? std::memchr(data + end, '\n', size - end) : nullptr;
    size_t expectedPosition = lineFeed != nullptr ? static_cast<const uint8_t*>(lineFeed) - data + 1 : size + 1;
    if (position != expectedPosition || position > size + 1) __builtin_trap();
  }
  return 0;
}
