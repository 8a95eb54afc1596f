// The quiz source parser, the payload writer and reader, their limits, and
// Windows-1252. The sample quizzes go through the whole tool under wine
// (packed_player_test.sh).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cp1252.h"
#include "quiz_payloads.h"
#include "quiz_source.h"

namespace {

const std::string Header = "titre: T\n", Q = "question: Q\nreponse: R\ncode: C\n";

std::string AllMessages(const Diagnostics& diagnostics) {
  std::string text;
  for (const Diagnostic& d : diagnostics.items) text += diagnostics.format(d) + "\n";
  return text;
}

struct Parsed {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  bool ok;
};

Parsed Parse(const std::string& source) {
  Parsed p{{}, {"quiz.txt", {}}, false};
  p.ok = ParseQuizSource(source, p.quiz, p.diagnostics);
  return p;
}

std::string ManyQuestions(int count) {
  std::string source = Header;
  for (int i = 0; i < count; ++i) source += "question: Q\nreponse: R\ncode: C" + std::to_string(i) + "\n";
  return source;
}

std::string Accented(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += "\xC3\xA9";  // one byte each in Windows-1252
  return s;
}

// An error stops the build, a warning does not; words: part of the message, empty for no diagnostic at all.
TEST(QuizSource, DiagnosticsOnTheirLines) {
  // clang-format off
  const struct { const char* name; std::string source; bool isError; int line; const char* words; } cases[] = {
      {"NotInWindows1252", "titre: Caf\xC3\xA9\xE2\x80\xAF!\n", true, 1, "U+202F"},
      {"NotInWindows1252OnContinuation", "titre: T\nexplication: a\n+ b \xE2\x86\x92 c\n", true, 3, "U+2192"},
      {"EmojiInAnswer", Header + "question: Q\nr\xC3\xA9ponse: \xF0\x9F\x98\x80\ncode: C\n", true, 3, "U+1F600"},
      {"PipeInTitle", "titre: A|B\n", true, 1, "'|'"},
      {"PipeInQuestion", Header + "question: un | deux\nreponse: R\ncode: C\n", true, 2, "'|'"},
      {"PipeInReveal", Header + "mode revelation: 2\nquestion: Q\nreponse: R\nrevelation: x|y\ncode: C\n", true, 5, "'|'"},
      {"ControlCharacter", "titre: a\x01 b\n", true, 1, "control character"},
      {"TextTooLong", "titre: " + std::string(260, 'x') + "\n", true, 1, "260 bytes"},
      {"LineBreaksCountTwo", "titre: " + std::string(129, 'x') + "\n+ " + std::string(129, 'y') + "\n", true, 1, "260 bytes"},
      {"AccentedTooLong", "titre: " + std::string(130, 'x') + Accented(130) + "\n", true, 1, "260 bytes"},
      {"CodeTooLong", Header + "question: Q\nreponse: R\ncode: " + std::string(260, 'c') + "\n", true, 4, "score code is 260"},
      {"CodeWithLineBreak", Header + Q + "+ B\n", true, 5, "score code cannot hold a line break"},
      {"MissingCode", Header + Q + "\nquestion: Q2\nreponse: R\n", true, 6, "2 questions and needs as many score codes"},
      {"MissingAnswer", Header + "question: Q\ncode: C\n", true, 2, "no 'reponse:'"},
      {"MissingSecondAnswer", Header + "reponses par question: 2\n" + Q, true, 3, "reponse2"},
      {"SecondAnswerWithOne", Header + "question: Q\nreponse: R\nreponse2: S\ncode: C\n", true, 4, "needs 'reponses par question: 2'"},
      {"RevealWithoutMode", Header + "question: Q\nreponse: R\nrevelation: X\ncode: C\n", true, 4, "mode revelation"},
      {"SecondRevealNeedsMode3", Header + "mode revelation: 2\nquestion: Q\nreponse: R\nrevelation2: X\ncode: C\n", true, 5, "mode revelation: 3"},
      {"NoTitle", "auteur: A\n", true, 0, "no 'titre:'"},
      {"UnknownKeyword", Header + "titre2: x\n", true, 2, "unknown keyword 'titre2'"},
      {"NoColon", Header + "Quelle heure est-il\n", true, 2, "expected 'keyword: value'"},
      {"DuplicateHeader", Header + "auteur: A\nauteur: B\n", true, 3, "given twice (first on line 2)"},
      {"HeaderAfterQuestion", Header + Q + "auteur: A\n", true, 5, "before the first"},
      {"AnswerBeforeQuestion", Header + "reponse: R\n", true, 2, "before any question"},
      {"DuplicateInQuestion", Header + "question: Q\nreponse: R\nreponse: S\ncode: C\n", true, 4, "already has 'reponse:'"},
      {"PlusWithNothingAbove", Header + "\n+ suite\n", true, 3, "there is none"},
      {"PlusAfterSetting", Header + "couleur: 1 2 3\n+ 4\n", true, 3, "setting"},
      {"BadAnswersPerQuestion", Header + "reponses par question: 3\n", true, 2, "takes 1 or 2"},
      {"BadRevealMode", Header + "mode revelation: 300\n", true, 2, "takes 0, 2, 3 or 4"},
      {"BadVisibility", Header + "questions visibles: peut-etre\n", true, 2, "oui, non"},
      {"BadColour", Header + "couleur: 1 2\n", true, 2, "#RRGGBB"},
      {"BadHexColour", Header + "couleur: #12345G\n", true, 2, "#RRGGBB"},
      {"MoreThan255Questions", ManyQuestions(256), true, 2 + 255 * 3, "more than 255"},
      {"Over96Codes", ManyQuestions(97), false, 2 + 96 * 3 + 2, "six spaces"},
      {"NinetySixCodes", ManyQuestions(96), false, 0, ""},
      {"AnswerWithTrailingSpace", Header + "question: Q\nreponse: R \ncode: C\n", false, 3, "never match"},
      {"EmptyAnswer", Header + "question: Q\nreponse:\ncode: C\n", false, 3, "empty"},
      {"OddRevealMode", Header + "mode revelation: 1\n", false, 2, "no reveal texts"},
      {"NotUtf8", "titre: Caf\xE9\n", false, 0, "Windows-1252"},
      {"NoQuestion", Header, false, 0, "no question"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Parsed p = Parse(c.source);
    const std::string messages = std::string(c.name) + ":\n" + AllMessages(p.diagnostics);
    EXPECT_EQ(p.ok, !c.isError) << messages;
    int errors = 0, matching = 0;
    for (const Diagnostic& d : p.diagnostics.items) {
      errors += d.isError;
      matching += d.isError == c.isError && d.line == c.line && d.message.find(c.words) != std::string::npos;
    }
    EXPECT_EQ(errors, c.isError ? 1 : 0) << messages;
    EXPECT_EQ(matching, *c.words ? 1 : 0) << "expected line " << c.line << " with \"" << c.words << "\"; " << messages;
    if (*c.words == '\0') EXPECT_TRUE(p.diagnostics.items.empty()) << messages;
  }
  Parsed p = Parse("titre: a|b\n");
  ASSERT_FALSE(p.diagnostics.items.empty());
  EXPECT_EQ(p.diagnostics.format(p.diagnostics.items[0]).rfind("quiz.txt:1: error: column 9:", 0), 0u);
}

std::string Bytes4(int visibility, int count, int answers) {
  return std::string(1, '\0') + char(visibility) + char(count) + char(answers);
}
const std::string Z(1, '\0'), DefaultColour("\x5A\x5F\x96", 3), Empty = Bytes4(1, 0, 1), End = Z + DefaultColour;

// What a source becomes: resources 104 and 105 before compression, read back to the same source.
TEST(QuizSource, PayloadBytesAndBack) {
  // clang-format off
  const struct { const char* name; std::string source, quiz, codes; } cases[] = {
      {"Minimal", "titre: T\n", Empty + "T|||||" + End, "\r\n"},
      {"AccentsBecomeWindows1252", "titre: \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xC5\x93\n", Empty + "\xE9t\xE9 \x80 \x9C|||||" + End, "\r\n"},
      {"LineBreakIsBackslashN", "titre: a\n+ b\n+\n+   c\n", Empty + "a\\n b\\n \\n   c|||||" + End, "\r\n"},
      {"LiteralBackslashNKeptByZero", "titre: C:\\new \\\\n \\t\n", Empty + "C:\\" + Z + "new \\\\" + Z + "n \\t|||||" + End, "\r\n"},
      {"LeadingBlankKept", "titre:T\nauteur:  moi\n", Empty + "T| moi||||" + End, "\r\n"},
      {"HeaderTextsInOrder", "# c\ntexte5: E\ntexte4: D\nexplication: C\nauteur: B\ntitre: A\nquestions visibles: non\ncouleur: #0A141E\n", Bytes4(0, 0, 1) + "A|B|C|D|E|" + Z + "\x0A\x14\x1E", "\r\n"},
      {"OneAnswerRevealMode2", "titre: T\nmode r\xC3\xA9v\xC3\xA9lation: 2\ncouleur: 10, 20, 30\n\nquestion: Q1\nr\xC3\xA9ponse: a1\nr\xC3\xA9v\xC3\xA9lation: r1\ncode: ABC\n\nquestion: Q2\ncode: DE\nreponse: a2\nrevelation: r2\n", Bytes4(1, 2, 1) + "T|||||a1|Q1|a2|Q2|\x02r1|r2|\x0A\x14\x1E", "ABC\r\nDE\r\n"},
      {"TwoAnswersRevealMode3", "titre: T\nreponses par question: 2\nmode revelation: 3\nquestion: Q1\nreponse: a1\nreponse2: b1\nrevelation: r1\nrevelation2: s1\ncode: |x\\n\nquestion: Q2\nreponse2: b2\nreponse: a2\ncode:\n", Bytes4(1, 2, 2) + "T|||||a1|b1|Q1|a2|b2|Q2|\x03r1|s1|||" + DefaultColour, "|x\\n\r\n\r\n"},
      {"RevealMode4", "titre: T\nmode revelation: 4\nquestion: Q\nreponse: a\nrevelation: r\ncode: c\n", Bytes4(1, 1, 1) + "T|||||a|Q|\x04r|" + DefaultColour, "c\r\n"},
      {"RevealMode0ReadsNoRevealField", "titre: T\nquestion: Q\nreponse: a\ncode: c\n", Bytes4(1, 1, 1) + "T|||||a|Q|" + End, "c\r\n"},
      {"CrLfSourceAndBom", "\xEF\xBB\xBFtitre: T\r\n\r\nquestion: Q\r\nreponse: a\r\ncode: c\r\n", Bytes4(1, 1, 1) + "T|||||a|Q|" + End, "c\r\n"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Parsed p = Parse(c.source);
    ASSERT_TRUE(p.ok) << c.name << AllMessages(p.diagnostics);
    const QuizPayloads payloads = EncodePayloads(p.quiz);
    EXPECT_EQ(std::string(payloads.quiz.begin(), payloads.quiz.end()), c.quiz) << c.name;
    EXPECT_EQ(std::string(payloads.codes.begin(), payloads.codes.end()), c.codes) << c.name;
    AuthoredQuiz back;
    ASSERT_TRUE(DecodePayloads(payloads.quiz, payloads.codes, back, p.diagnostics)) << AllMessages(p.diagnostics);
    EXPECT_EQ(WriteQuizSource(back, ""), WriteQuizSource(p.quiz, "")) << c.name;
  }
}

// The limits of the player's codec and loader: a quiz of 259-byte texts packs, or says which limit it passes.
TEST(QuizSource, PacksOrSaysWhichLimit) {
  const struct {
    int questions;
    bool random;
    const char* words; /* empty: it must pack */
  } cases[] = {{60, false, ""}, {255, false, "at most 65535"}, {60, true, "32768"}};
  for (const auto& c : cases) {
    std::mt19937 random(7);
    const auto text = [&] {
      std::string s(259, 'q');
      for (char& ch : s)
        if (c.random) do
            ch = char(0x21 + random() % 94);
          while (ch == '|' || ch == '\\');
      return s;
    };
    std::string source = Header + "mode revelation: 3\n";
    for (int i = 0; i < c.questions; ++i)
      source += "question: " + text() + "\nreponse: " + text() + "\nrevelation: " + text() +
                "\nrevelation2: " + text() + "\ncode: C\n";
    Parsed p = Parse(source);
    ASSERT_TRUE(p.ok) << AllMessages(p.diagnostics);
    const QuizPayloads payloads = EncodePayloads(p.quiz);
    QuizPayloads streams, back;
    const bool packed = CompressPayloads(payloads, streams, p.diagnostics);
    EXPECT_EQ(packed, *c.words == '\0') << AllMessages(p.diagnostics);
    EXPECT_NE(AllMessages(p.diagnostics).find(c.words), std::string::npos) << AllMessages(p.diagnostics);
    if (!packed) continue;
    ASSERT_TRUE(DecompressStreams(streams, back, p.diagnostics));
    EXPECT_EQ(back.quiz, payloads.quiz);
    EXPECT_EQ(back.codes, payloads.codes);
  }
}

// Payloads that did not come from this writer: what the player would cut or
// fill in is reported, and the quiz still holds what the player plays.
TEST(QuizSource, ForeignPayloadsReportWhatThePlayerWouldCutOrFillIn) {
  // clang-format off
  const struct { const char* name; std::string quiz, codes; bool whole; const char* reported; } cases[] = {
      {"EndsInTheHeader", Bytes4(1, 1, 1) + "T|A|", "c\r\n", false, u8"s'arrête avant sa fin, dans l'explication"},
      {"EndsBeforeTheColour", Empty + "T|||||" + Z + "\x01\x02", "", false, "dans la couleur"},
      {"TooFewCodeLines", Bytes4(1, 2, 1) + "T|||||a|Q|b|R|" + End, "c\r\n", false,
       u8"(les codes) s'arrête avant sa fin, dans le code de la question 2"},
      {"TitleOver259Bytes", Empty + std::string(300, 'x') + "|||||" + End, "\r\n", false, u8"le titre dépasse 259 octets"},
      {"CodeOver259Bytes", Bytes4(1, 1, 1) + "T|||||a|Q|" + End, std::string(270, 'k') + "\r\n", false,
       u8"le code de la question 1 dépasse 259 octets"},
      {"BytesAfterTheColour", Empty + "T|||||" + End + "xyz", "\r\n", true, u8"continue après la couleur"},
      {"OtherFillerAfterBackslashN", Empty + "a\\nXb|||||" + End, "\r\n", true, ""},
      {"ControlBytesInText", Empty + "a\rb|||||" + End, "\r\n", true, "control bytes"},
  };
  // clang-format on
  for (const auto& c : cases) {
    AuthoredQuiz quiz;
    Diagnostics diagnostics;
    EXPECT_EQ(
        DecodePayloads(Bytes(c.quiz.begin(), c.quiz.end()), Bytes(c.codes.begin(), c.codes.end()), quiz, diagnostics),
        c.whole)
        << c.name << AllMessages(diagnostics);
    EXPECT_NE(AllMessages(diagnostics).find(c.reported), std::string::npos) << c.name << AllMessages(diagnostics);
    Parsed again = Parse(WriteQuizSource(quiz, ""));  // whatever came in, the written source parses again
    EXPECT_TRUE(again.ok) << c.name << AllMessages(again.diagnostics);
  }
  // The player keeps 96 codes; extracting keeps every one.
  AuthoredQuiz quiz;
  quiz.title = "T";
  for (int q = 1; q <= 100; ++q) quiz.questions.push_back({"Q", "a", "", "", "", "code" + std::to_string(q)});
  const QuizPayloads payloads = EncodePayloads(quiz);
  AuthoredQuiz back;
  Diagnostics diagnostics;
  ASSERT_TRUE(DecodePayloads(payloads.quiz, payloads.codes, back, diagnostics)) << AllMessages(diagnostics);
  ASSERT_EQ(back.questions.size(), 100u);
  EXPECT_EQ(back.questions[99].scoreCode, "code100");
}

TEST(Cp1252, MapsCodePointsBothWaysAndRefusesMalformedUtf8) {
  // clang-format off
  const struct { uint32_t codePoint; int byte; } cases[] = {{'A', 'A'}, {0xE9, 0xE9}, {0x20AC, 0x80}, {0x0153, 0x9C}, {0x2019, 0x92}, {0x0178, 0x9F}, {0x0081, 0x81}, {0x202F, -1}, {0x0100, -1}, {0x1F600, -1}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1252FromCodePoint(c.codePoint), c.byte) << std::hex << c.codePoint;
    if (c.byte >= 0) EXPECT_EQ(CodePointFromCp1252(uint8_t(c.byte)), c.codePoint);
  }
  for (int byte = 0; byte < 256; ++byte) EXPECT_EQ(Cp1252FromCodePoint(CodePointFromCp1252(uint8_t(byte))), byte);
  for (const char* text :
       {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\x80", "\xE2\x82"}) {
    size_t position = 0;
    uint32_t c = 0;
    EXPECT_FALSE(DecodeUtf8(text, position, c)) << text;
    EXPECT_EQ(position, 0u);
  }
}

}  // namespace
