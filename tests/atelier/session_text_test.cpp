// The session's texts: a core message as a sentence, paths of either
// system, a browser's failures in French.
#include <gtest/gtest.h>

#include "session_text.h"

namespace {

TEST(SessionText, SentencesPathsAndFailures) {
  // clang-format off
  const struct { std::string got, want; } cases[] = {
      {Sentence("ligne 2 : rien"), "Ligne 2 : rien."}, {Sentence("d\xE9j\xE0 fait."), u8"Déjà fait."}, {Sentence("vraiment ?"), "Vraiment ?"},
      {Sentence(""), ""}, {Sentence("2 fois"), "2 fois."}, {FileNameOf("C:\\Quiz\\a.txt"), "a.txt"}, {FolderOf("/docs/a/b.txt"), "/docs/a"}, {FolderOf("b.txt"), ""},
      {JoinPath("C:\\Quiz", "a.txt"), "C:\\Quiz\\a.txt"}, {JoinPath("/docs", "a.txt"), "/docs/a.txt"}, {JoinPath("/docs/", "a"), "/docs/a"},
      {JoinPath("", "a"), "a"},
      {BrowserFailureText("NotAllowedError"), u8"le navigateur n'a pas eu la permission d'écrire ce fichier"},
      {BrowserFailureText("QuotaExceededError"), u8"le disque, ou la place que le navigateur se donne, est plein"},
      {BrowserFailureText("Failed to execute 'createWritable'"), u8"le navigateur n'a pas pu aller au bout"},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

}  // namespace
