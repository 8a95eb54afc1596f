// The player's verdict against the oracle on any input: the expected answer,
// a zero byte, then the rest. The rest is judged as typed text, and also used
// as edits on a copy of the expected answer, which gives the near misses
// (distances around the verdict's bound) that random pairs seldom are. The
// bounded distance is checked against the whole table at the bounds around
// the distance and at the verdict's own.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "accepted_answers.h"
#include "text.h"
#include "verdict.h"
#include "verdict_oracle.h"

namespace {

// Each pair of bytes (place, edit) replaces, inserts or deletes one byte.
std::string Edited(std::string text, const uint8_t* edits, size_t size) {
  for (size_t k = 0; k + 1 < size; k += 2) {
    size_t place = text.empty() ? 0 : edits[k] % (text.size() + 1);
    char byte = static_cast<char>(edits[k + 1] | 1);  // never a terminator
    switch (edits[k + 1] % 3) {
      case 0:
        if (place < text.size()) text[place] = byte;
        break;
      case 1: text.insert(place, 1, byte); break;
      default:
        if (place < text.size()) text.erase(place, 1);
        break;
    }
  }
  return text.substr(0, 259);
}

void Check(const std::string& expected, const std::string& typed) {
  if (ChooseVerdict(expected.c_str(), typed.c_str()) != OracleVerdict(expected.c_str(), typed.c_str())) std::abort();
  const int distance = FullEditDistance(expected.c_str(), typed.c_str());
  const int larger = static_cast<int>(expected.size() > typed.size() ? expected.size() : typed.size());
  for (int bound : {0, 1, 2, 3, distance - 1, distance, distance + 1, (larger - 1) / 5, 259}) {
    if (bound >= 0 && BoundedEditDistance(expected.c_str(), typed.c_str(), bound) != std::min(distance, bound + 1))
      std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t expectedSize = zero != nullptr ? static_cast<size_t>(zero - data) : size;
  const uint8_t* rest = zero != nullptr ? zero + 1 : data + size;
  const size_t restSize = size - static_cast<size_t>(rest - data);
  const std::string expected(reinterpret_cast<const char*>(data), expectedSize < 259 ? expectedSize : 259);
  std::string typed(reinterpret_cast<const char*>(rest), restSize < 259 ? restSize : 259);
  typed = typed.substr(0, std::strlen(typed.c_str()));
  Check(expected, typed);
  const std::string edited = Edited(expected, rest, restSize);
  Check(expected, edited);
  // The edited text accepted too: the best word over both, as the oracle chooses it.
  AcceptedAnswers accepted;
  accepted.count = edited.empty() ? 0 : 1;
  std::strcpy(accepted.texts[0], edited.c_str());
  const std::vector<std::string> acceptedTexts(accepted.count, edited);
  if (ChooseBestVerdict(expected.c_str(), &accepted, typed.c_str()) !=
      OracleBestVerdict(expected.c_str(), acceptedTexts, typed.c_str()))
    std::abort();
  return 0;
}
