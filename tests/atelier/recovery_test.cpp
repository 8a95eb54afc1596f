// The recovery copy: where it lives, its lock, and whether one found is worth offering.
#include <gtest/gtest.h>

#include "recovery.h"

namespace {

TEST(RecoveryTest, NamesBesideTheSourceOrInTheFolderWithTheirLocks) {
  EXPECT_EQ(UnsavedRecoveryPath("C:\\Temp\\Atelier", 42, 0), "C:\\Temp\\Atelier\\sans-titre-42.recup");
  EXPECT_EQ(UnsavedRecoveryPath("C:\\Temp\\", 42, 2), "C:\\Temp\\sans-titre-42-3.recup");
  EXPECT_EQ(RecoveryPathFor("C:\\Quiz\\capitales.txt"), "C:\\Quiz\\capitales.txt.recup");
  EXPECT_EQ(RecoveryLockPath("C:\\Quiz\\capitales.txt.recup"), "C:\\Quiz\\capitales.txt.verrou");
  EXPECT_EQ(RecoveryLockPath("C:\\Temp\\sans-titre-42-3.recup"), "C:\\Temp\\sans-titre-42-3.verrou");
  for (const char* name : {"sans-titre-42.recup", "sans-titre-42-3.recup", "sans-titre-4294967295.recup"})
    EXPECT_TRUE(IsUnsavedRecoveryName(name)) << name;
  for (const char* name : {"sans-titre-.recup", "sans-titre-4.txt.recup", "sans-titre-4-.recup", "sans-titre-x.recup",
                           "sans-titre-42.recu", "sans-titre-12345678901.recup", "autre-42.recup"})
    EXPECT_FALSE(IsUnsavedRecoveryName(name)) << name;
}

TEST(RecoveryTest, OffersOnlyWorkTheSourceLacks) {
  const std::string source = "titre: T\n\n# x\nquestion: Q\nreponse: R\ncode: C\n";
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource(source, quiz, diagnostics));
  const std::string sameQuiz = WriteQuizSource(quiz, "");
  // clang-format off
  const struct { const char* name; FoundFile recovery, source; RecoveryVerdict verdict; } cases[] = {
      {"NoCopy", {false, "", 0}, {true, source, 5}, RecoveryVerdict::Discard},
      {"EmptyCopy", {true, "", 9}, {true, source, 5}, RecoveryVerdict::Discard},
      {"SameBytes", {true, source, 9}, {true, source, 5}, RecoveryVerdict::Discard},
      {"SameQuizInTheWritersForm", {true, sameQuiz, 9}, {true, source, 5}, RecoveryVerdict::Discard},
      {"NewerWork", {true, sameQuiz + "\nquestion: Q2\n", 9}, {true, source, 5}, RecoveryVerdict::Offer},
      {"SourceChangedSince", {true, sameQuiz + "\nquestion: Q2\n", 5}, {true, source, 9}, RecoveryVerdict::OfferOlder},
      {"SourceChangedAsIt", {true, sameQuiz + "\nquestion: Q2\n", 5}, {true, source, 5}, RecoveryVerdict::Offer},
      {"SourceGone", {true, sameQuiz, 5}, {false, "", 0}, RecoveryVerdict::Offer},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(JudgeRecovery(c.recovery, c.source), c.verdict) << c.name;
}

}  // namespace
