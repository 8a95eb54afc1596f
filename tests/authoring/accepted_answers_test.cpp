// Accepted answers in the source ("aussi:" lines), in the payload and back
// out of it, and what `check` says of them; quizzes without any pack to the
// very bytes they packed to before accepted answers existed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "parsed_source.h"
#include "quiz_payloads.h"
#include "quiz_rules.h"
#include "quiz_source.h"

namespace {

TEST(AcceptedAnswers, SourceToPayloadAndBack) {
  const std::string source =
      "titre: T\nr\xC3\xA9ponses par question: 2\n\nquestion: Qui ?\nr\xC3\xA9ponse: Marie Curie\naussi: Curie\n"
      "aussi: Marie\nr\xC3\xA9v\xC3\xA9lation: x\ncode: A\nr\xC3\xA9ponse2: La Pologne\naussi: Pologne\n\n"
      "question: Et \xC3\xA7" "a ?\nr\xC3\xA9ponse2: Le c\xC5\x93ur\naussi: coeur\nr\xC3\xA9ponse: Non\ncode: B\n";
  Parsed p = Parse(source);
  ASSERT_FALSE(p.ok);  // the reveal text without its mode; the rest is read
  p = Parse(source.substr(0, source.find("r\xC3\xA9v\xC3\xA9")) + source.substr(source.find("code: A")));
  ASSERT_TRUE(p.ok) << AllMessages(p.diagnostics);
  ASSERT_EQ(p.quiz.questions.size(), 2u);
  EXPECT_EQ(p.quiz.questions[0].accepted1, "Curie\r\nMarie");
  EXPECT_EQ(p.quiz.questions[0].accepted2, "Pologne");
  EXPECT_EQ(p.quiz.questions[1].accepted1, "");
  EXPECT_EQ(p.quiz.questions[1].accepted2, "coeur");  // the line above decides, not the order of the fields

  const std::string written = WriteQuizSource(p.quiz, "");
  EXPECT_NE(written.find("r\xC3\xA9ponse: Marie Curie\naussi: Curie\naussi: Marie\nr\xC3\xA9ponse2: La Pologne\n"
                         "aussi: Pologne\n"),
            std::string::npos)
      << written;
  const QuizPayloads payloads = EncodePayloads(p.quiz);
  AuthoredQuiz back;
  Diagnostics diagnostics;
  ASSERT_TRUE(DecodePayloads(payloads.quiz, payloads.codes, back, diagnostics)) << AllMessages(diagnostics);
  EXPECT_TRUE(diagnostics.items.empty()) << AllMessages(diagnostics);  // no "bytes past the end"
  EXPECT_EQ(WriteQuizSource(back, ""), written);
}

// Each message on its line; isError: an error, else a warning; words: part of the message.
TEST(AcceptedAnswers, CheckSaysWhatIsWrongOnItsLine) {
  const std::string Head = "titre: T\nquestion: Q\n";
  std::string seventeen;
  for (int k = 0; k < 17; ++k) seventeen += "aussi: a" + std::to_string(k) + "\n";
  // clang-format off
  const struct { const char* name; std::string source; bool isError; int line; const char* words; } cases[] = {
      {"BeforeAnyAnswer", Head + "aussi: x\nreponse: R\ncode: C\n", true, 3, "au-dessus d'elle, et cette question n'en a pas encore"},
      {"OnTwoLines", Head + "reponse: R\naussi: x\n+ y\ncode: C\n", true, 5, "une ligne « aussi: » par réponse"},
      {"SeventeenAnswers", Head + "reponse: R\n" + seventeen + "code: C\n", true, 4, "17 réponses acceptées : le lecteur en garde au plus 16"},
      {"TooLong", Head + "reponse: R\naussi: a\naussi: " + std::string(260, 'x') + "\ncode: C\n", true, 5, "fait 260 caractères"},
      {"SecondWithOneAnswer", Head + "reponse: R\nreponse2: S\naussi: s\ncode: C\n", true, 4, "demande « réponses par question: 2 »"},
      {"NotInWindows1252", Head + "reponse: R\naussi: a\xE2\x86\x92" "b\ncode: C\n", true, 4, "caractère 9 : le lecteur ne peut pas afficher le caractère U+2192"},
      {"SameAsExpected", Head + "reponse: Paris\naussi: PARIS\ncode: C\n", false, 4, "« PARIS » est déjà la réponse attendue"},
      {"Twice", Head + "reponse: R\naussi: Lutece\naussi: LUTECE\ncode: C\n", false, 5, "« LUTECE » est donnée deux fois"},
      {"HardSpaceInExpected", Head + "reponse: 2\xC2\xA0" "438\ncode: C\n", false, 3, "contient une espace insécable qu'un élève ne sait pas taper au clavier : ajoutez la réponse acceptée « 2 438 »"},
      {"HardSpaceAlreadyAccepted", Head + "reponse: 2\xC2\xA0" "438\naussi: 2 438\ncode: C\n", false, 0, ""},
      {"TypographicApostrophe", Head + "reponse: R\naussi: Shy\xE2\x80\x99m\ncode: C\n", false, 4, "écrivez « Shy'm »"},
      {"LigatureInExpected", Head + "reponse: c\xC5\x93ur\naussi: Coeur\ncode: C\n", false, 0, ""},
      {"PipeIsFine", Head + "reponse: R\naussi: a|b\ncode: C\n", false, 0, ""},
      {"BlankLineCountsNothing", Head + "reponse: R\naussi:\ncode: C\n", false, 0, ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    const Parsed p = Parse(c.source);
    const std::string messages = std::string(c.name) + ":\n" + AllMessages(p.diagnostics);
    EXPECT_EQ(p.ok, !c.isError) << messages;
    int matching = 0;
    for (const Diagnostic& d : p.diagnostics.items) {
      matching += d.isError == c.isError && d.line == c.line && d.message.find(c.words) != std::string::npos;
    }
    EXPECT_EQ(p.diagnostics.items.size(), *c.words ? 1u : 0u) << messages;
    EXPECT_EQ(matching, *c.words ? 1 : 0) << "expected line " << c.line << " with \"" << c.words << "\"; " << messages;
  }
}

std::string File(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

uint64_t Fnv64(const Bytes& bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3ull;
  return hash;
}

// The streams these quizzes packed to before accepted answers existed.
TEST(AcceptedAnswers, QuizzesWithoutThemPackAsBefore) {
  std::string many = "titre: Deux cent cinquante-cinq questions\nmode r\xC3\xA9v\xC3\xA9lation: 2\n";
  for (int i = 1; i <= 255; ++i) {
    const std::string n = std::to_string(i);
    many += "\nquestion: Question num\xC3\xA9ro " + n + " ?\nr\xC3\xA9ponse: R\xC3\xA9ponse " + n +
            "\nr\xC3\xA9v\xC3\xA9lation: Texte " + n + "\ncode: C" + n + "\n";
  }
  // clang-format off
  const struct { const char* name; std::string source; uint64_t quiz, codes; } cases[] = {
      {"capitales", File(LUDEX_EXAMPLES_DIR "/capitales.txt"), 0x5e204589b0a050eaull, 0x785534da607f4540ull},
      {"chimie", File(LUDEX_EXAMPLES_DIR "/chimie-deux-reponses.txt"), 0xed8e95a9c122fac5ull, 0x45a234852236e8adull},
      {"255 questions", many, 0xbdbd98f8b2970a84ull, 0x837157a9ca1a9fcaull},
  };
  // clang-format on
  for (const auto& c : cases) {
    Parsed p = Parse(c.source);
    ASSERT_TRUE(p.ok) << c.name << AllMessages(p.diagnostics);
    QuizPayloads streams;
    ASSERT_TRUE(CompressPayloads(EncodePayloads(p.quiz), streams, p.diagnostics)) << c.name;
    EXPECT_EQ(Fnv64(streams.quiz), c.quiz) << c.name;
    EXPECT_EQ(Fnv64(streams.codes), c.codes) << c.name;
  }
}

}  // namespace
