// The verdict on any pair of byte strings: the input is the expected answer,
// a zero byte, then the typed text. A part of 259 bytes or more is handed over
// cut to 259 bytes and without a terminator, so that any read past the 259
// bytes that a control read allows is caught by the sanitizers.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "judge/verdict.h"

namespace {

const size_t MaxLength = 259;

// An exactly-sized heap copy: terminated when shorter than 259 bytes.
char* CopyPart(const uint8_t* data, size_t size) {
  size_t length = size < MaxLength ? size : MaxLength;
  size_t allocated = length < MaxLength ? length + 1 : MaxLength;
  char* part = static_cast<char*>(std::malloc(allocated));
  if (length > 0) std::memcpy(part, data, length);
  if (length < MaxLength) part[length] = 0;
  return part;
}

bool IsVerdictWord(const char* word) {
  const char* const words[] = {VerdictBravo,   VerdictWrong,    VerdictAnagram, VerdictAlmost,
                               VerdictNearly,  VerdictTooLong,  VerdictTooShort, VerdictNotFar,
                               VerdictSomeIdea, VerdictEmpty};
  for (const char* candidate : words) {
    if (word == candidate) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  size_t expectedSize = zero != nullptr ? static_cast<size_t>(zero - data) : size;
  const uint8_t* typedData = zero != nullptr ? zero + 1 : data + size;
  size_t typedSize = size - (typedData - data);

  char* expected = CopyPart(data, expectedSize);
  char* typed = CopyPart(typedData, typedSize);
  const char* word = ChooseVerdict(expected, typed);
  if (!IsVerdictWord(word)) std::abort();
  // The same text typed back is always right, unless it trims to nothing.
  if (expected[0] != ' ' && expected[0] != 0 && ChooseVerdict(expected, expected) != VerdictBravo) {
    size_t length = strnlen(expected, MaxLength);
    if (expected[length - 1] != ' ') std::abort();
  }
  std::free(expected);
  std::free(typed);
  return 0;
}
