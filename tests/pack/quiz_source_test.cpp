// The quiz source parser, the payload writer and reader, and the round trip
// source -> payloads -> source of the sample quizzes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "cp1252.h"
#include "quiz/payload.h"
#include "quiz_payloads.h"
#include "quiz_source.h"

namespace {

const std::string Header = "titre: T\n";

std::string ReadExample(const std::string& name) {
  std::ifstream in(std::string(LUDEX_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string AllMessages(const Diagnostics& diagnostics) {
  std::string text;
  for (const Diagnostic& d : diagnostics.items) text += diagnostics.format(d) + "\n";
  return text;
}

// ---- errors: each names its line ----

struct ErrorCase {
  const char* name;
  std::string source;
  int line;
  const char* words;  // part of the message
};

const ErrorCase ErrorCases[] = {
    {"NotInWindows1252", "titre: Caf\xC3\xA9\xE2\x80\xAF!\n", 1, "U+202F"},
    {"NotInWindows1252OnContinuation", "titre: T\nexplication: a\n+ b \xE2\x86\x92 c\n", 3, "U+2192"},
    {"EmojiInAnswer", Header + "question: Q\nr\xC3\xA9ponse: \xF0\x9F\x98\x80\ncode: C\n", 3, "U+1F600"},
    {"PipeInTitle", "titre: A|B\n", 1, "'|'"},
    {"PipeInQuestion", Header + "question: un | deux\nreponse: R\ncode: C\n", 2, "'|'"},
    {"PipeInReveal", Header + "mode revelation: 2\nquestion: Q\nreponse: R\nrevelation: x|y\ncode: C\n", 5, "'|'"},
    {"ControlCharacter", "titre: a\x01 b\n", 1, "control character"},
    {"TextTooLong", "titre: " + std::string(260, 'x') + "\n", 1, "260 bytes"},
    {"LineBreaksCountTwo", "titre: " + std::string(129, 'x') + "\n+ " + std::string(129, 'y') + "\n", 1, "260 bytes"},
    {"AccentedTooLong", "titre: " + std::string(130, 'x') + [] {
       std::string s;
       for (int i = 0; i < 130; ++i) s += "\xC3\xA9";  // one byte each in Windows-1252
       return s;
     }() + "\n", 1, "260 bytes"},
    {"CodeTooLong", Header + "question: Q\nreponse: R\ncode: " + std::string(260, 'c') + "\n", 4, "score code is 260"},
    {"CodeWithLineBreak", Header + "question: Q\nreponse: R\ncode: A\n+ B\n", 5, "score code cannot hold a line break"},
    {"MissingCode", Header + "question: Q1\nreponse: R\ncode: C\n\nquestion: Q2\nreponse: R\n", 6,
     "2 questions and needs as many score codes"},
    {"MissingAnswer", Header + "question: Q\ncode: C\n", 2, "no 'reponse:'"},
    {"MissingSecondAnswer", Header + "reponses par question: 2\nquestion: Q\nreponse: R\ncode: C\n", 3, "reponse2"},
    {"SecondAnswerWithOne", Header + "question: Q\nreponse: R\nreponse2: S\ncode: C\n", 4,
     "needs 'reponses par question: 2'"},
    {"RevealWithoutMode", Header + "question: Q\nreponse: R\nrevelation: X\ncode: C\n", 4, "mode revelation"},
    {"SecondRevealNeedsMode3", Header + "mode revelation: 2\nquestion: Q\nreponse: R\nrevelation2: X\ncode: C\n", 5,
     "mode revelation: 3"},
    {"NoTitle", "auteur: A\n", 0, "no 'titre:'"},
    {"UnknownKeyword", Header + "titre2: x\n", 2, "unknown keyword 'titre2'"},
    {"NoColon", Header + "Quelle heure est-il\n", 2, "expected 'keyword: value'"},
    {"DuplicateHeader", Header + "auteur: A\nauteur: B\n", 3, "given twice (first on line 2)"},
    {"HeaderAfterQuestion", Header + "question: Q\nreponse: R\ncode: C\nauteur: A\n", 5, "before the first"},
    {"AnswerBeforeQuestion", Header + "reponse: R\n", 2, "before any question"},
    {"DuplicateInQuestion", Header + "question: Q\nreponse: R\nreponse: S\ncode: C\n", 4, "already has 'reponse:'"},
    {"PlusWithNothingAbove", Header + "\n+ suite\n", 3, "there is none"},
    {"PlusAfterSetting", Header + "couleur: 1 2 3\n+ 4\n", 3, "setting"},
    {"BadAnswersPerQuestion", Header + "reponses par question: 3\n", 2, "takes 1 or 2"},
    {"BadRevealMode", Header + "mode revelation: 300\n", 2, "takes 0, 2, 3 or 4"},
    {"BadVisibility", Header + "questions visibles: peut-etre\n", 2, "oui, non"},
    {"BadColour", Header + "couleur: 1 2\n", 2, "#RRGGBB"},
    {"BadHexColour", Header + "couleur: #12345G\n", 2, "#RRGGBB"},
};

class SourceErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(SourceErrorTest, FailsWithItsLineAndReason) {
  const ErrorCase& c = GetParam();
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  diagnostics.fileName = "quiz.txt";
  EXPECT_FALSE(ParseQuizSource(c.source, quiz, diagnostics));
  bool found = false;
  for (const Diagnostic& d : diagnostics.items) {
    if (d.isError && d.line == c.line && d.message.find(c.words) != std::string::npos) found = true;
  }
  EXPECT_TRUE(found) << "expected an error on line " << c.line << " with \"" << c.words << "\", got:\n"
                     << AllMessages(diagnostics);
}

INSTANTIATE_TEST_SUITE_P(Table, SourceErrorTest, ::testing::ValuesIn(ErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SourceErrorTest, MoreThan255QuestionsIsAnErrorOnThe256th) {
  std::string source = Header;
  for (int i = 0; i < 256; ++i) source += "question: Q\nreponse: R\ncode: C\n";
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  EXPECT_FALSE(ParseQuizSource(source, quiz, diagnostics));
  std::vector<Diagnostic> errors;
  for (const Diagnostic& d : diagnostics.items) {
    if (d.isError) errors.push_back(d);
  }
  ASSERT_EQ(errors.size(), 1u) << AllMessages(diagnostics);
  EXPECT_EQ(errors[0].line, 2 + 255 * 3);
  EXPECT_NE(errors[0].message.find("more than 255"), std::string::npos);
}

TEST(SourceErrorTest, MessageNamesFileAndLine) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  diagnostics.fileName = "classe.txt";
  ParseQuizSource("titre: a|b\n", quiz, diagnostics);
  ASSERT_FALSE(diagnostics.items.empty());
  EXPECT_EQ(diagnostics.format(diagnostics.items[0]).rfind("classe.txt:1: error: column 9:", 0), 0u);
}

// ---- warnings: the quiz still builds ----

struct WarningCase {
  const char* name;
  std::string source;
  int line;
  const char* words;
};

std::string ManyQuestions(int count) {
  std::string source = Header;
  for (int i = 0; i < count; ++i) source += "question: Q\nreponse: R\ncode: C" + std::to_string(i) + "\n";
  return source;
}

const WarningCase WarningCases[] = {
    {"Over96Codes", ManyQuestions(97), 2 + 96 * 3 + 2, "six spaces"},
    {"AnswerWithTrailingSpace", Header + "question: Q\nreponse: R \ncode: C\n", 3, "never match"},
    {"EmptyAnswer", Header + "question: Q\nreponse:\ncode: C\n", 3, "empty"},
    {"OddRevealMode", Header + "mode revelation: 1\n", 2, "no reveal texts"},
    {"NotUtf8", "titre: Caf\xE9\n", 0, "Windows-1252"},
    {"NoQuestion", Header, 0, "no question"},
};

class SourceWarningTest : public ::testing::TestWithParam<WarningCase> {};

TEST_P(SourceWarningTest, WarnsAndSucceeds) {
  const WarningCase& c = GetParam();
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  EXPECT_TRUE(ParseQuizSource(c.source, quiz, diagnostics)) << AllMessages(diagnostics);
  bool found = false;
  for (const Diagnostic& d : diagnostics.items) {
    if (!d.isError && d.line == c.line && d.message.find(c.words) != std::string::npos) found = true;
  }
  EXPECT_TRUE(found) << AllMessages(diagnostics);
}

INSTANTIATE_TEST_SUITE_P(Table, SourceWarningTest, ::testing::ValuesIn(WarningCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SourceWarningTest, NinetySixCodesGiveNoWarning) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  EXPECT_TRUE(ParseQuizSource(ManyQuestions(96), quiz, diagnostics));
  EXPECT_TRUE(diagnostics.items.empty()) << AllMessages(diagnostics);
}

// ---- what a source becomes: the payload bytes ----

struct PayloadCase {
  const char* name;
  std::string source;
  std::string quiz;   // resource 104 before compression
  std::string codes;  // resource 105 before compression
};

std::string Bytes4(int visibility, int count, int answers) {
  return std::string(1, '\0') + char(visibility) + char(count) + char(answers);
}
const std::string DefaultColour("\x5A\x5F\x96", 3);

const PayloadCase PayloadCases[] = {
    {"Minimal", "titre: T\n", Bytes4(1, 0, 1) + "T|||||" + std::string(1, '\0') + DefaultColour, "\r\n"},
    {"AccentsBecomeWindows1252", "titre: \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xC5\x93\n",
     Bytes4(1, 0, 1) + "\xE9t\xE9 \x80 \x9C|||||" + std::string(1, '\0') + DefaultColour, "\r\n"},
    {"LineBreakIsBackslashN", "titre: a\n+ b\n+\n+   c\n",
     Bytes4(1, 0, 1) + "a\\n b\\n \\n   c|||||" + std::string(1, '\0') + DefaultColour, "\r\n"},
    {"LiteralBackslashNKeptByZero", "titre: C:\\new \\\\n \\t\n",
     Bytes4(1, 0, 1) + "C:\\" + std::string(1, '\0') + "new \\\\" + std::string(1, '\0') + "n \\t|||||" +
         std::string(1, '\0') + DefaultColour,
     "\r\n"},
    {"LeadingBlankKept", "titre:T\nauteur:  moi\n", Bytes4(1, 0, 1) + "T| moi||||" + std::string(1, '\0') + DefaultColour,
     "\r\n"},
    {"HeaderTextsInOrder",
     "# c\ntexte5: E\ntexte4: D\nexplication: C\nauteur: B\ntitre: A\nquestions visibles: non\ncouleur: #0A141E\n",
     Bytes4(0, 0, 1) + "A|B|C|D|E|" + std::string(1, '\0') + "\x0A\x14\x1E", "\r\n"},
    {"OneAnswerRevealMode2",
     "titre: T\nmode r\xC3\xA9v\xC3\xA9lation: 2\ncouleur: 10, 20, 30\n\nquestion: Q1\nr\xC3\xA9ponse: a1\n"
     "r\xC3\xA9v\xC3\xA9lation: r1\ncode: ABC\n\nquestion: Q2\ncode: DE\nreponse: a2\nrevelation: r2\n",
     Bytes4(1, 2, 1) + "T|||||a1|Q1|a2|Q2|\x02r1|r2|\x0A\x14\x1E", "ABC\r\nDE\r\n"},
    {"TwoAnswersRevealMode3",
     "titre: T\nreponses par question: 2\nmode revelation: 3\nquestion: Q1\nreponse: a1\nreponse2: b1\n"
     "revelation: r1\nrevelation2: s1\ncode: |x\\n\nquestion: Q2\nreponse2: b2\nreponse: a2\ncode:\n",
     Bytes4(1, 2, 2) + "T|||||a1|b1|Q1|a2|b2|Q2|\x03r1|s1|||" + DefaultColour, "|x\\n\r\n\r\n"},
    {"RevealMode4", "titre: T\nmode revelation: 4\nquestion: Q\nreponse: a\nrevelation: r\ncode: c\n",
     Bytes4(1, 1, 1) + "T|||||a|Q|\x04r|" + DefaultColour, "c\r\n"},
    {"RevealMode0ReadsNoRevealField", "titre: T\nquestion: Q\nreponse: a\ncode: c\n",
     Bytes4(1, 1, 1) + "T|||||a|Q|" + std::string(1, '\0') + DefaultColour, "c\r\n"},
    {"CrLfSourceAndBom", "\xEF\xBB\xBFtitre: T\r\n\r\nquestion: Q\r\nreponse: a\r\ncode: c\r\n",
     Bytes4(1, 1, 1) + "T|||||a|Q|" + std::string(1, '\0') + DefaultColour, "c\r\n"},
};

class PayloadTest : public ::testing::TestWithParam<PayloadCase> {};

TEST_P(PayloadTest, SourceGivesTheseBytes) {
  const PayloadCase& c = GetParam();
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource(c.source, quiz, diagnostics)) << AllMessages(diagnostics);
  const QuizPayloads payloads = EncodePayloads(quiz);
  EXPECT_EQ(std::string(payloads.quiz.begin(), payloads.quiz.end()), c.quiz);
  EXPECT_EQ(std::string(payloads.codes.begin(), payloads.codes.end()), c.codes);

  // Reading the payloads back gives the same quiz, hence the same canonical source.
  AuthoredQuiz back;
  ASSERT_TRUE(DecodePayloads(payloads.quiz, payloads.codes, back, diagnostics)) << AllMessages(diagnostics);
  EXPECT_EQ(WriteQuizSource(back, ""), WriteQuizSource(quiz, ""));
}

INSTANTIATE_TEST_SUITE_P(Table, PayloadTest, ::testing::ValuesIn(PayloadCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The player's own loader reads what the writer wrote, escapes included.
TEST(PayloadTest, PlayerLoaderReadsTheTexts) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource("titre: C:\\new\nexplication: a\n+ b\nquestion: Q\nreponse: x\\ny\ncode: K\\n\n", quiz,
                              diagnostics));
  const QuizPayloads payloads = EncodePayloads(quiz);
  QuizContent content;
  const QuizPayloadResult result =
      ParseQuizPayload(payloads.quiz.data(), static_cast<uint32_t>(payloads.quiz.size()), content);
  EXPECT_TRUE(result.complete);
  EXPECT_STREQ(content.title, "C:\\new");
  EXPECT_STREQ(content.explanation, "a\r\nb");
  ASSERT_NE(content.questionAt(0), nullptr);
  EXPECT_STREQ(content.questionAt(0)->answer1, "x\\ny");
  EXPECT_TRUE(ParseScoreCodes(payloads.codes.data(), static_cast<uint32_t>(payloads.codes.size()), content));
  EXPECT_STREQ(content.scoreCodes[0], "K\\n");
}

// ---- limits of the player's codec and loader ----

std::string RandomText(std::mt19937& random, int length) {
  std::string text;
  std::uniform_int_distribution<int> byte(0x21, 0x7E);
  while (static_cast<int>(text.size()) < length) {
    const char c = static_cast<char>(byte(random));
    if (c != '|' && c != '\\') text += c;
  }
  return text;
}

struct LimitCase {
  const char* name;
  int questions;
  int textLength;
  bool random;
  const char* words;  // empty: it must pack
};

const LimitCase LimitCases[] = {
    {"FullButRepetitive", 60, 259, false, ""},
    {"OverPlainLimit", 255, 259, false, "at most 65535"},
    {"OverCompressedLimit", 60, 259, true, "32768"},
};

class LimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitTest, PacksOrSaysWhichLimit) {
  const LimitCase& c = GetParam();
  std::mt19937 random(7);
  std::string source = Header + "mode revelation: 3\n";
  for (int i = 0; i < c.questions; ++i) {
    const auto text = [&] { return c.random ? RandomText(random, c.textLength) : std::string(c.textLength, 'q'); };
    source += "question: " + text() + "\nreponse: " + text() + "\nrevelation: " + text() + "\nrevelation2: " +
              text() + "\ncode: C\n";
  }
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource(source, quiz, diagnostics)) << AllMessages(diagnostics);
  const QuizPayloads payloads = EncodePayloads(quiz);
  QuizPayloads streams;
  const bool packed = CompressPayloads(payloads, streams, diagnostics);
  if (*c.words == '\0') {
    ASSERT_TRUE(packed) << AllMessages(diagnostics);
    QuizPayloads back;
    ASSERT_TRUE(DecompressStreams(streams, back, diagnostics));
    EXPECT_EQ(back.quiz, payloads.quiz);
    EXPECT_EQ(back.codes, payloads.codes);
  } else {
    EXPECT_FALSE(packed);
    EXPECT_NE(AllMessages(diagnostics).find(c.words), std::string::npos) << AllMessages(diagnostics);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LimitTest, ::testing::ValuesIn(LimitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- payloads that did not come from this writer ----

struct ForeignCase {
  const char* name;
  std::string quiz;
  std::string codes;
  bool readable;
};

const ForeignCase ForeignCases[] = {
    {"EndsInTheHeader", Bytes4(1, 1, 1) + "T|A|", "c\r\n", false},
    {"EndsBeforeTheColour", Bytes4(1, 0, 1) + "T|||||" + std::string(1, '\0') + "\x01\x02", "", false},
    {"TooFewCodeLines", Bytes4(1, 2, 1) + "T|||||a|Q|b|R|" + std::string(1, '\0') + DefaultColour, "c\r\n", false},
    {"OtherFillerAfterBackslashN", Bytes4(1, 0, 1) + "a\\nXb|||||" + std::string(1, '\0') + DefaultColour, "\r\n",
     true},
    {"ControlBytesInText", Bytes4(1, 0, 1) + "a\rb|||||" + std::string(1, '\0') + DefaultColour, "\r\n", true},
};

class ForeignPayloadTest : public ::testing::TestWithParam<ForeignCase> {};

TEST_P(ForeignPayloadTest, ReadsOrRefusesWithoutOverrun) {
  const ForeignCase& c = GetParam();
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  const Bytes quizBytes(c.quiz.begin(), c.quiz.end());
  const Bytes codeBytes(c.codes.begin(), c.codes.end());
  EXPECT_EQ(DecodePayloads(quizBytes, codeBytes, quiz, diagnostics), c.readable) << AllMessages(diagnostics);
  if (c.readable) {
    // Whatever came in, the written source parses again.
    AuthoredQuiz again;
    Diagnostics more;
    EXPECT_TRUE(ParseQuizSource(WriteQuizSource(quiz, ""), again, more)) << AllMessages(more);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ForeignPayloadTest, ::testing::ValuesIn(ForeignCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- the sample quizzes, through the whole chain ----

class SampleTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleTest, RoundTripsThroughCanonicalSource) {
  const std::string source = ReadExample(GetParam());
  ASSERT_FALSE(source.empty());
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource(source, quiz, diagnostics)) << AllMessages(diagnostics);
  EXPECT_TRUE(diagnostics.items.empty()) << AllMessages(diagnostics);
  EXPECT_GE(quiz.questions.size(), 10u);

  const QuizPayloads payloads = EncodePayloads(quiz);
  QuizPayloads streams;
  ASSERT_TRUE(CompressPayloads(payloads, streams, diagnostics)) << AllMessages(diagnostics);
  QuizPayloads decoded;
  ASSERT_TRUE(DecompressStreams(streams, decoded, diagnostics));
  AuthoredQuiz extracted;
  ASSERT_TRUE(DecodePayloads(decoded.quiz, decoded.codes, extracted, diagnostics)) << AllMessages(diagnostics);

  const std::string canonical = WriteQuizSource(extracted, "Extrait");
  AuthoredQuiz reparsed;
  ASSERT_TRUE(ParseQuizSource(canonical, reparsed, diagnostics)) << AllMessages(diagnostics);
  const QuizPayloads again = EncodePayloads(reparsed);
  EXPECT_EQ(again.quiz, payloads.quiz);
  EXPECT_EQ(again.codes, payloads.codes);
  EXPECT_EQ(WriteQuizSource(reparsed, "Extrait"), canonical);
}

INSTANTIATE_TEST_SUITE_P(Examples, SampleTest, ::testing::Values("capitales.txt", "chimie-deux-reponses.txt"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(SampleTest, CapitalsIsTheFirstSampleTheTeamPlays) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  ASSERT_TRUE(ParseQuizSource(ReadExample("capitales.txt"), quiz, diagnostics));
  EXPECT_EQ(quiz.title, "Les capitales d'Europe");
  EXPECT_EQ(quiz.revealMode, 2);
  EXPECT_EQ(quiz.answersPerQuestion, 1);
  EXPECT_GE(quiz.questions.size(), 12u);
  EXPECT_LE(quiz.questions.size(), 20u);
  EXPECT_EQ(quiz.questions[9].answer1, "Ath\xE8nes");
}

// ---- Windows-1252 ----

struct CodePointCase {
  uint32_t codePoint;
  int byte;
};

const CodePointCase CodePointCases[] = {
    {'A', 'A'},       {0xE9, 0xE9},     {0x20AC, 0x80},  {0x0153, 0x9C}, {0x2019, 0x92},
    {0x0178, 0x9F},   {0x0081, 0x81},   {0x202F, -1},    {0x0100, -1},   {0x1F600, -1},
};

TEST(Cp1252Test, MapsCodePointsBothWays) {
  for (const CodePointCase& c : CodePointCases) {
    EXPECT_EQ(Cp1252FromCodePoint(c.codePoint), c.byte) << std::hex << c.codePoint;
    if (c.byte >= 0) EXPECT_EQ(CodePointFromCp1252(static_cast<uint8_t>(c.byte)), c.codePoint);
  }
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_EQ(Cp1252FromCodePoint(CodePointFromCp1252(static_cast<uint8_t>(byte))), byte);
  }
}

TEST(Cp1252Test, RefusesMalformedUtf8) {
  const char* const bad[] = {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\x80", "\xE2\x82"};
  for (const char* text : bad) {
    size_t position = 0;
    uint32_t c = 0;
    EXPECT_FALSE(DecodeUtf8(text, position, c)) << text;
    EXPECT_EQ(position, 0u);
  }
}

}  // namespace
