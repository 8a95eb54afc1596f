// The player's verdict and bounded distance against the oracle on many pairs:
// long answers with a few edits (distances around the verdict's bound), and
// texts that share little.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text.h"
#include "verdict.h"
#include "verdict_oracle.h"

namespace {

TEST(FastVerdict, GivesTheOraclesWordAndDistance) {
  std::mt19937 random(2024);
  auto letter = [&] { return "ABCab \xE9"[random() % 7]; };
  for (int n = 0; n < 4000; ++n) {
    std::string expected(random() % 260, ' ');
    for (char& c : expected) c = letter();
    std::string typed = expected;
    for (int edits = random() % 70; edits > 0; --edits) {
      size_t place = random() % (typed.size() + 1);
      switch (random() % 3) {
        case 0:
          if (place < typed.size()) typed[place] = letter();
          break;
        case 1: typed.insert(place, 1, letter()); break;
        default:
          if (place < typed.size()) typed.erase(place, 1);
          break;
      }
    }
    if (n % 4 == 0) typed.resize(random() % (typed.size() + 1));  // cut: contained, or not
    const char *e = expected.c_str(), *t = typed.c_str();         // both read at most 259 bytes
    ASSERT_STREQ(ChooseVerdict(e, t), OracleVerdict(e, t)) << expected << " / " << typed;
    const int distance = FullEditDistance(e, t), bound = static_cast<int>(random() % 60);
    ASSERT_EQ(BoundedEditDistance(e, t, bound), distance <= bound ? distance : bound + 1) << bound;
  }
}

}  // namespace
