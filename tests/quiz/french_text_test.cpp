// A count and a quotation, as every program of Ludex writes them in French.
#include <gtest/gtest.h>

#include "french_text.h"

namespace {

TEST(FrenchText, PluralFromTwoOnAndQuotesInEitherEncoding) {
  // clang-format off
  const struct { std::string got, want; } cases[] = {
      {Counted(0, "question", "questions"), "0 question"}, {Counted(1, "ligne", "lignes"), "1 ligne"},
      {Counted(2, "erreur", "erreurs"), "2 erreurs"}, {Counted(255, "a", "ont"), "255 ont"},
      {Quoted("caf\xE9"), "\xAB caf\xE9 \xBB"}, {QuotedUtf8("caf\xC3\xA9"), "\xC2\xAB caf\xC3\xA9 \xC2\xBB"},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

}  // namespace
