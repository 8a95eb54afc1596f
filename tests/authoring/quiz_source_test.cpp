// The quiz source parser, the payload writer and reader, their limits, and
// Windows-1252. The sample quizzes go through the whole tool under wine
// (packed_player_test.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>

#include "cp1252.h"
#include "parsed_source.h"
#include "quiz_payloads.h"
#include "quiz_program.h"
#include "quiz_rules.h"
#include "quiz_source.h"
#include "source_keywords.h"

namespace {

const std::string Header = "titre: T\n", Q = "question: Q\nreponse: R\ncode: C\n";

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
      {"NotInWindows1252OnContinuation", "titre: T\nexplication: a\n+ b \xE2\x86\x92 c\n", true, 3, "U+2192"},
      {"EmojiInAnswer", Header + "question: Q\nr\xC3\xA9ponse: \xF0\x9F\x98\x80\ncode: C\n", true, 3, "U+1F600"},
      {"PipeInTitle", "titre: a|b\n", true, 1, "caractère 9 : le caractère « | »"},
      {"PipeInQuestion", Header + "question: un | deux\nreponse: R\ncode: C\n", true, 2, "« | »"},
      {"PipeInReveal", Header + "mode revelation: 2\nquestion: Q\nreponse: R\nrevelation: x|y\ncode: C\n", true, 5, "« | »"},
      {"ControlCharacter", "titre: a\x01 b\n", true, 1, "caractère de contrôle"},
      {"TextTooLong", "titre: " + std::string(260, 'x') + "\n", true, 1, "260 caractères"},
      {"LineBreaksCountTwo", "titre: " + std::string(129, 'x') + "\n+ " + std::string(129, 'y') + "\n", true, 1, "260 caractères"},
      {"AccentedTooLong", "titre: " + std::string(130, 'x') + Accented(130) + "\n", true, 1, "260 caractères"},
      {"CodeTooLong", Header + "question: Q\nreponse: R\ncode: " + std::string(260, 'c') + "\n", true, 4, "code de score fait 260 caractères"},
      {"CodeWithLineBreak", Header + Q + "+ B\n", true, 5, "code de score ne peut pas contenir"},
      {"MissingCode", Header + Q + "\nquestion: Q2\nreponse: R\n", true, 6, "2 questions et demande autant de codes"},
      {"MissingOnlyCode", Header + "question: Q\nreponse: R\n", true, 2, "le quiz a 1 question et demande"},
      {"MissingSecondAnswer", Header + "reponses par question: 2\n" + Q, true, 3, "« réponse2: »"},
      {"SecondAnswerWithOne", Header + "question: Q\nreponse: R\nreponse2: S\ncode: C\n", true, 4, "demande « réponses par question: 2 »"},
      {"RevealWithoutMode", Header + "question: Q\nreponse: R\nrevelation: X\ncode: C\n", true, 4, "« mode révélation: 2 », 3 ou 4"},
      {"SecondRevealNeedsMode3", Header + "mode revelation: 2\nquestion: Q\nreponse: R\nrevelation2: X\ncode: C\n", true, 5, "« mode révélation: 3 »"},
      {"NoTitle", "auteur: A\n" + Q, true, 0, "le quiz n'a pas de titre"},
      {"TitleOfBlanks", "titre:  \t\n" + Q, true, 1, "le quiz n'a pas de titre"},
      {"NoColon", Header + "Quelle heure est-il\n", true, 2, "attendu : « mot-clé: valeur »"},
      {"DuplicateHeader", Header + "auteur: A\nauteur: B\n", true, 3, "donné deux fois (la première à la ligne 2)"},
      {"HeaderAfterQuestion", Header + Q + "auteur: A\n", true, 5, "avant la première"},
      {"AnswerBeforeQuestion", Header + "reponse: R\n", true, 2, "avant toute question"},
      {"DuplicateInQuestion", Header + "question: Q\nreponse: R\nreponse: S\ncode: C\n", true, 4, "déjà sa ligne « réponse: »"},
      {"PlusWithNothingAbove", Header + "\n+ suite\n", true, 3, "il n'y en a pas"},
      {"PlusAfterSetting", Header + "couleur: 1 2 3\n+ 4\n", true, 3, "réglage"},
      {"BadAnswersPerQuestion", Header + "reponses par question: 3\n", true, 2, "prend 1 ou 2"},
      {"BadRevealMode", Header + "mode revelation: 300\n", true, 2, "prend 0, 2, 3 ou 4"},
      {"BadVisibility", Header + "questions visibles: peut-etre\n", true, 2, "oui, non"},
      {"BadColour", Header + "couleur: 1 2\n", true, 2, "#RRGGBB"},
      {"BadHexColour", Header + "couleur: #12345G\n", true, 2, "#RRGGBB"},
      {"MoreThan255Questions", ManyQuestions(256), true, 2 + 255 * 3, "le quiz a 256 questions ; le lecteur en compte au plus 255"},
      {"Over96Codes", ManyQuestions(97), false, 2 + 96 * 3 + 2, "six espaces"},
      {"NinetySixCodes", ManyQuestions(96), false, 0, ""},
      {"AnswerWithTrailingSpace", Header + "question: Q\nreponse: R \ncode: C\n", false, 3, "jamais être trouvée"},
      {"EmptyAnswer", Header + "question: Q\nreponse:\ncode: C\n", true, 3, "« réponse: » est vide"},
      {"EmptySecondAnswer", Header + "reponses par question: 2\nquestion: Q\nreponse: R\nreponse2:\ncode: C\n", true, 5, "« réponse2: » est vide"},
      {"OddRevealMode", Header + "mode revelation: 1\n", false, 2, "aucun texte de révélation"},
      {"NotUtf8", "titre: Caf\xE9\n", false, 0, "Windows-1252"},
      {"NoText", std::string("titre: T\n\0\x01mot: x\n", 17), true, 0, "ce n'est pas un fichier texte, et une source de quiz"},
      {"Utf16", std::string("\xFF\xFEt\0i\0", 6), true, 0, "c'est un texte en UTF-16 : enregistrez-le en UTF-8"},
      {"NoQuestion", Header, false, 0, "aucune question"},
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
}

// The exact words of the errors authors meet most. Where one field is at
// fault, the check an editor runs on that field as typed says the same, with
// its column counted in the field.
TEST(QuizSource, TheMostCommonErrorsWordForWord) {
  const std::string TooLong(300, 'x');
  // clang-format off
  const struct { const char* name; std::string source, printed; QuizField field; std::string typed, fieldMessage; } cases[] = {
      {"UnknownKeywordsListedOnce", Header + Q + u8"Réponse 3: x\nx: y\n",
       "quiz.txt:5: erreur: mot-clé inconnu « Réponse 3 » (connus : titre, auteur, explication, texte4, texte5, questions "
       "visibles, réponses par question, mode révélation, couleur, question, réponse, réponse2, révélation, "
       "révélation2, code, aussi)\nquiz.txt:6: erreur: mot-clé inconnu « x »", QuizField::Title, "", ""},
      {"MissingAnswer", Header + "question: Q\ncode: C\n", "quiz.txt:2: erreur: la question 1 n'a pas de ligne « réponse: »",
       QuizField::Title, "", ""},
      {"NotInWindows1252", u8"titre: Café\u202F!\n" + Q,
       "quiz.txt:1: erreur: caractère 12 : le lecteur ne peut pas afficher le caractère U+202F (espace fine insécable : "
       "mettez une espace ordinaire)",
       QuizField::Title, u8"Café\u202F!", "caractère 5 : le lecteur ne peut pas afficher le caractère U+202F (espace fine "
       "insécable : mettez une espace ordinaire)"},
      {"TextTooLong", Header + "question: " + TooLong + "\nreponse: R\ncode: C\n",
       "quiz.txt:2: erreur: le texte de « question: » fait 300 caractères ; le lecteur en garde au plus 259 (un retour "
       "à la ligne compte pour deux)", QuizField::Question, TooLong, "le texte de « question: » fait 300 caractères ; "
       "le lecteur en garde au plus 259 (un retour à la ligne compte pour deux)"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Parsed p = Parse(c.source);
    EXPECT_EQ(AllMessages(p.diagnostics), c.printed + "\n") << c.name;
    if (c.typed.empty()) continue;
    const TextCheck check = CheckTextUtf8(c.field, c.typed);
    ASSERT_EQ(check.problems.size(), 1u) << c.name;
    EXPECT_EQ(ProblemText(check.problems[0].column, check.problems[0].message), c.fieldMessage) << c.name;
  }
}

// Every spelling of a keyword reads as that keyword; anything else is no keyword.
TEST(QuizSource, KeywordSpellings) {
  // clang-format off
  const struct { const char* written; int key; } cases[] = {
      {"Titre", int(SourceKey::Title)}, {"TEXTE4", int(SourceKey::ExtraText1)}, {" texte  4 ", int(SourceKey::ExtraText1)},
      {"Texte 5", int(SourceKey::ExtraText2)}, {u8"Réponses\tpar question", int(SourceKey::AnswersPerQuestion)},
      {u8"MODE RÉVÉLATION", int(SourceKey::RevealMode)}, {u8"réponse1", int(SourceKey::Answer1)},
      {"Reponse 1", int(SourceKey::Answer1)}, {u8"réponse 2", int(SourceKey::Answer2)},
      {u8"Révélation1", int(SourceKey::Reveal1)}, {"revelation 1", int(SourceKey::Reveal1)},
      {u8"révélation 2", int(SourceKey::Reveal2)}, {"CODE", int(SourceKey::Code)},
      {"Questions visibles", int(SourceKey::Visibility)}, {"couleur", int(SourceKey::Colour)},
      {u8"réponse3", -1}, {"", -1}, {u8"questión", -1}, {"reponse 1 2", -1}, {"titre 1", -1}, {"code\xC3", -1},
  };
  // clang-format on
  for (const auto& c : cases) {
    const SourceKeyword* keyword = FindKeyword(c.written);
    EXPECT_EQ(keyword == nullptr ? -1 : int(keyword->key), c.key) << c.written;
  }
  for (int key = 0; key < SourceKeyCount; ++key) {  // the writer's spelling reads back as its own keyword
    const SourceKeyword& keyword = KeywordOf(SourceKey(key));
    ASSERT_NE(FindKeyword(keyword.spelling), nullptr) << keyword.spelling;
    // "aussi" is one keyword: the line above says which answer it adds to.
    const SourceKey read = SourceKey(key) == SourceKey::Accepted2 ? SourceKey::Accepted1 : SourceKey(key);
    EXPECT_EQ(FindKeyword(keyword.spelling)->key, read);
  }
}

// Past the player's limit the reader still keeps every question, for an
// editor to offer the first ones; the source is refused all the same.
TEST(QuizSource, KeepsEveryQuestionPastTheLimit) {
  Parsed p = Parse(ManyQuestions(MaxQuestions + 5));
  EXPECT_FALSE(p.ok);
  ASSERT_EQ(p.quiz.questions.size(), size_t(MaxQuestions + 5));
  EXPECT_EQ(p.quiz.questions.back().scoreCode, "C" + std::to_string(MaxQuestions + 4));
}

// Every character the player cannot show gets its nearest spelling in the
// check's words, and text typed or pasted takes it; one with none becomes "?".
TEST(QuizSource, CharactersThePlayerLacksSpelledNearest) {
  Parsed p = Parse(u8"titre: Fractions en 5\u1D49 \u2192 4\u1D49\n" + Q);
  EXPECT_EQ(AllMessages(p.diagnostics),
            "quiz.txt:1: erreur: caractère 22 : le lecteur ne peut pas afficher le caractère U+1D49 (lettre en exposant : "
            "écrivez « e »)\nquiz.txt:1: erreur: caractère 24 : le lecteur ne peut pas afficher le caractère U+2192 "
            "(flèche : écrivez « -> »)\nquiz.txt:1: erreur: caractère 27 : le lecteur ne peut pas afficher le caractère "
            "U+1D49 (lettre en exposant : écrivez « e »)\n");
  // clang-format off
  const struct { std::string typed, kept; int unspelled; } cases[] = {
      {u8"Fractions en 5\u1D49 \u2192 4\u1D49", "Fractions en 5e -> 4e", 0}, {u8"1\u1D49\u02B3 M\u1D50\u1D49", "1er Mme", 0},
      {u8"H\u2082O\u2080, x\u2074, \u00B2 \u00B3", u8"H2O0, x4, \u00B2 \u00B3", 0}, {u8"a\u202Fb\u2009c\u200Bd", "a b cd", 0},
      {u8"\u2264 \u2265 \u21D2 \u2212\u2011", "<= >= => --", 0}, {u8"\u0141\u00F3d\u017A, \u0219i", u8"L\u00F3dz, si", 0},
      {u8"\u2153 \uFB01n \u02BC", u8"1/3 fin \u2019", 0}, {u8"\U0001F600 \u03B1\u2260", "? ??", 3}, {"\xC3", "\xC3", 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::vector<Respelling> changes;
    EXPECT_EQ(RespellForPlayer(c.typed, &changes), c.kept) << c.typed;
    EXPECT_EQ(std::count_if(changes.begin(), changes.end(), [](const Respelling& r) { return !r.found; }), c.unspelled)
        << c.typed;
  }
}

// One field as an editor hands it over: typed UTF-8 (utf8) or the quiz's Windows-1252 bytes.
TEST(QuizSource, OneFieldCheckedAlone) {
  // clang-format off
  const struct { const char* name; QuizField field; bool utf8; std::string text, bytes; int errors; const char* words; } cases[] = {
      {"TypedLineBreaksBecomeCrLf", QuizField::Question, true, "a\nb\r\nc", "a\r\nb\r\nc", 0, ""},
      {"RefusedCharacterShownAsQuestionMark", QuizField::Question, true, u8"a\u2192b", "a?b", 1, "caractère 2 : le lecteur ne peut pas afficher le caractère U+2192"},
      {"InvalidUtf8", QuizField::Title, true, "a\xC3", "a", 1, "caractère 2 : UTF-8 invalide"},
      {"CodeHoldsPipeNotLineBreak", QuizField::Code, false, "a|b\r\nc", "a|b\r\nc", 1, "retour à la ligne"},
      {"LoneLineFeedInBytes", QuizField::Reveal1, false, "a\nb", "a\r\nb", 0, ""},
      {"LoneCarriageReturnInBytes", QuizField::Reveal1, false, "a\rb", "a\rb", 1, "caractère de contrôle U+000D"},
      {"ZeroByte", QuizField::Title, true, std::string("a\0b", 3), std::string("a\0b", 3), 1, "caractère de contrôle U+0000"},
      {"BreaksCountTwoAt259", QuizField::Explanation, false, std::string(128, 'x') + "\r\n" + std::string(129, 'y'), std::string(128, 'x') + "\r\n" + std::string(129, 'y'), 0, ""},
      {"SecondAnswerWarnings", QuizField::Answer2, false, " R", " R", 0, "« réponse2: » commence ou finit par une espace"},
      {"NoAnswerWarningOnError", QuizField::Answer1, false, " |", " |", 1, "« | »"},
  };
  // clang-format on
  for (const auto& c : cases) {
    const TextCheck check = c.utf8 ? CheckTextUtf8(c.field, c.text) : CheckTextBytes(c.field, c.text);
    EXPECT_EQ(check.bytes, c.bytes) << c.name;
    int errors = 0;
    for (const TextProblem& problem : check.problems) errors += problem.isError;
    EXPECT_EQ(errors, c.errors) << c.name;
    if (*c.words == '\0') {
      EXPECT_TRUE(check.problems.empty()) << c.name;
    } else {
      ASSERT_EQ(check.problems.size(), 1u) << c.name;
      const TextProblem& first = check.problems[0];
      EXPECT_NE(ProblemText(first.column, first.message).find(c.words), std::string::npos) << c.name;
    }
  }
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
      {"LowerCaseHexColour", "titre: T\ncouleur: #0a1b2c\n", Empty + "T|||||" + Z + "\x0A\x1B\x2C", "\r\n"},
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
    Diagnostics decoded;  // nothing to say of what the writer wrote
    ASSERT_TRUE(DecodePayloads(payloads.quiz, payloads.codes, back, decoded)) << AllMessages(decoded);
    EXPECT_EQ(WriteQuizSource(back, "") + AllMessages(decoded), WriteQuizSource(p.quiz, "")) << c.name;
  }
}

// A quiz of 259-byte texts (random ones hardly compress).
AuthoredQuiz LongTexts(int questions, bool random) {
  std::mt19937 generator(7);
  const auto text = [&] {
    std::string s(259, 'q');
    for (char& ch : s) {
      while (random && (ch = char(0x21 + generator() % 94)) == '|') {
      }
    }
    return s;
  };
  AuthoredQuiz quiz;
  quiz.title = "T";
  quiz.revealMode = 3;
  for (int i = 0; i < questions; ++i) quiz.questions.push_back({text(), text(), "", text(), text(), "C"});
  return quiz;
}

// The quiz with count characters taken off its texts, from the last question up.
AuthoredQuiz Shortened(AuthoredQuiz quiz, size_t count) {
  for (auto q = quiz.questions.rbegin(); q != quiz.questions.rend() && count > 0; ++q) {
    for (std::string* text : {&q->secondRevealText, &q->revealText, &q->answer1, &q->questionText}) {
      const size_t cut = std::min(count, text->size());
      text->resize(text->size() - cut);
      count -= cut;
    }
  }
  return quiz;
}

// The player's limits on a quiz's size: a quiz packs, or says roughly how many
// characters to remove; taking that many off lets it pack, a third of it does not.
TEST(QuizSource, PacksOrSaysHowManyCharactersToRemove) {
  // clang-format off
  const struct { const char* name; int questions; bool random, packs; } cases[] = {
      {"Fits", 60, false, true}, {"PastTheSizeBeforeCompression", 255, false, false}, {"PastTheCompressedSize", 60, true, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    const AuthoredQuiz quiz = LongTexts(c.questions, c.random);
    Diagnostics diagnostics;
    QuizPayloads streams, back;
    ASSERT_EQ(PackQuiz(quiz, streams, diagnostics), c.packs) << c.name << AllMessages(diagnostics);
    if (c.packs) {
      ASSERT_TRUE(DecompressStreams(streams, back, diagnostics));
      EXPECT_EQ(back.quiz, EncodePayloads(quiz).quiz);
      continue;
    }
    std::smatch said;
    const std::string message = AllMessages(diagnostics);
    ASSERT_TRUE(std::regex_search(message, said, std::regex("^: erreur: le quiz est trop long pour le lecteur : "
                                                            "enlevez-en environ ([0-9 ]+) caract")))
        << message;
    const size_t count = std::stoul(std::regex_replace(said[1].str(), std::regex(" "), ""));
    EXPECT_TRUE(PackQuiz(Shortened(quiz, count), streams, diagnostics)) << c.name << " " << count;
    EXPECT_FALSE(PackQuiz(Shortened(quiz, count / 3), streams, diagnostics)) << c.name << " " << count;
  }
}

// The count to remove is rounded up, to tens under a hundred and to hundreds
// past it, with a space before the thousands, as an author reads a count.
TEST(QuizSource, CharactersToRemoveRoundedUp) {
  const struct { size_t excess; const char* said; } cases[] = {
      {1, "10"}, {10, "10"}, {11, "20"}, {99, "100"}, {100, "100"}, {101, "200"}, {1150, "1 200"}, {12301, "12 400"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlainSizeError(Bytes(MaxPlainPayload + c.excess, 'a'), PayloadKind::Codes),
              std::string("les codes de score sont trop longs pour le lecteur : enlevez-en environ ") + c.said +
                  " caract\xE8res")
        << c.excess;
  }
}

// Payloads that did not come from this writer: what the player would cut or
// fill in is reported, and the quiz still holds what the player plays.
TEST(QuizSource, ForeignPayloadsReportWhatThePlayerWouldCutOrFillIn) {
  // clang-format off
  const struct { const char* name; std::string quiz, codes; bool whole; const char* reported; } cases[] = {
      {"EndsInTheHeader", Bytes4(1, 1, 1) + "T|A|", "c\r\n", false, "s'arrête avant sa fin, dans l'explication"},
      {"EndsBeforeTheColour", Empty + "T|||||" + Z + "\x01\x02", "", false, "dans la couleur"},
      {"TooFewCodeLines", Bytes4(1, 2, 1) + "T|||||a|Q|b|R|" + End, "c\r\n", false,
       "la liste des codes s'arrête avant sa fin, dans le code de la question 2"},
      {"TitleOver259Bytes", Empty + std::string(300, 'x') + "|||||" + End, "\r\n", false, "le titre dépasse 259 caractères"},
      {"CodeOver259Bytes", Bytes4(1, 1, 1) + "T|||||a|Q|" + End, std::string(270, 'k') + "\r\n", false,
       "le code de la question 1 dépasse 259 caractères"},
      {"BytesAfterTheColour", Empty + "T|||||" + End + "xyz", "\r\n", true, "continue après la couleur"},
      {"OtherFillerAfterBackslashN", Empty + "a\\nXb|||||" + End, "\r\n", true, ""},
      {"ControlBytesInText", Empty + "a\rb|||||" + End, "\r\n", true, "caractères de contrôle"},
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
    // Whatever came in, the written source reads back as the same quiz (an empty answer stays an error).
    const std::string written = WriteQuizSource(quiz, "");
    EXPECT_EQ(WriteQuizSource(Parse(written).quiz, ""), written) << c.name;
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
  EXPECT_EQ(back.questions[95].scoreCode, "code96");
  EXPECT_EQ(back.questions[96].scoreCode, "code97");  // the first the player does not keep
  EXPECT_EQ(back.questions[99].scoreCode, "code100");
}

// A stream that no quiz resource can be is refused for its size; one of a
// possible size that does not decode is refused by the codec.
TEST(QuizSource, StreamsRefusedBySizeOrByTheCodec) {
  // clang-format off
  const struct { size_t size; const char* words; } cases[] = {
      {0, "il est vide"}, {MaxPlainPayload + 1, "plus grand qu'aucun quiz"}, {MaxPlainPayload, "il ne se décompresse pas"},
  };
  // clang-format on
  AuthoredQuiz quiz;
  QuizPayloads good;
  Diagnostics diagnostics;
  ASSERT_TRUE(CompressPayloads(EncodePayloads(quiz), good, diagnostics));
  for (const auto& c : cases) {
    QuizPayloads streams = good, payloads;
    streams.quiz.assign(c.size, 0xFF);  // the codes stay good: the quiz alone is refused
    diagnostics = Diagnostics();
    EXPECT_FALSE(DecompressStreams(streams, payloads, diagnostics)) << c.size;
    ASSERT_EQ(diagnostics.items.size(), 1u) << AllMessages(diagnostics);
    EXPECT_EQ(diagnostics.items[0].message.rfind("le quiz est ab\xEEm\xE9 : ", 0), 0u) << AllMessages(diagnostics);
    EXPECT_NE(AllMessages(diagnostics).find(c.words), std::string::npos) << AllMessages(diagnostics);
  }
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
