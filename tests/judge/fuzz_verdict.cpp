// The verdict on any pair of byte strings: the input is the expected answer,
// a zero byte, then the typed text. A part of 259 bytes or more is handed over
// cut to 259 bytes and without a terminator, so that any read past the 259
// bytes that a control read allows is caught by the sanitizers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "verdict.h"

namespace {

const size_t MaxLength = 259;

// An exactly-sized heap copy: terminated when shorter than 259 bytes.
char* CopyPart(const uint8_t* data, size_t size) {
  size_t length = size < MaxLength ? size : MaxLength;
  char* part = static_cast<char*>(std::malloc(length < MaxLength ? length + 1 : MaxLength));
  if (length > 0) std::memcpy(part, data, length);
  if (length < MaxLength) part[length] = 0;
  return part;
}

bool IsVerdictWord(const char* word) {
  for (const char* candidate : {VerdictBravo, VerdictWrong, VerdictAnagram, VerdictAlmost, VerdictNearly,
                                VerdictTooLong, VerdictTooShort, VerdictNotFar, VerdictSomeIdea, VerdictEmpty})
    if (word == candidate) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  size_t expectedSize = zero != nullptr ? static_cast<size_t>(zero - data) : size;
  const uint8_t* typedData = zero != nullptr ? zero + 1 : data + size;
  char* expected = CopyPart(data, expectedSize);
  char* typed = CopyPart(typedData, size - (typedData - data));
  if (!IsVerdictWord(ChooseVerdict(expected, typed))) std::abort();
  // The same text typed back is always right, unless it trims to nothing.
  if (expected[0] != ' ' && expected[0] != 0 && ChooseVerdict(expected, expected) != VerdictBravo &&
      expected[strnlen(expected, MaxLength) - 1] != ' ')
    std::abort();
  std::free(expected);
  std::free(typed);
  return 0;
}
