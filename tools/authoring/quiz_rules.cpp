#include "quiz_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "cp1252.h"
#include "french_text.h"
#include "source_keywords.h"
#include "verdict.h"

namespace {

std::string Number(long long value) { return std::to_string(value); }

// The byte values for which accepts holds, as "2, 3 ou 4".
std::string ListOfModes(bool (*accepts)(int)) {
  std::vector<int> modes;
  for (int mode = 0; mode <= UINT8_MAX; ++mode) {
    if (accepts(mode)) modes.push_back(mode);
  }
  std::string text;
  for (size_t k = 0; k < modes.size(); ++k) {
    if (k > 0) text += k + 1 == modes.size() ? " ou " : ", ";
    text += Number(modes[k]);
  }
  return text;
}

bool IsAnswer(QuizField field) { return field == QuizField::Answer1 || field == QuizField::Answer2; }

}  // namespace

namespace {

// The nearest Windows-1252 spelling of characters that Windows-1252 lacks,
// with what each is; hint, when set, says what to do instead of "écrivez".
struct Spelling {
  uint32_t codePoint;
  const char* spelling;
  const char* what;
  const char* hint;
};
const char* const Superscript = "lettre en exposant";
const char* const Arrow = "fl\xE8" "che";
const char* const ThinSpace = "mettez une espace ordinaire";
const Spelling Spellings[] = {
    {0x202F, " ", "espace fine ins\xE9" "cable", ThinSpace},
    {0x2009, " ", "espace fine", ThinSpace},
    {0x200A, " ", "espace fine", ThinSpace},
    {0x2007, " ", "espace de chiffre", ThinSpace},
    {0x2002, " ", "espace large", ThinSpace},
    {0x2003, " ", "espace large", ThinSpace},
    {0x200B, "", "espace invisible", "enlevez-la"},
    {0xFEFF, "", "espace invisible", "enlevez-la"},
    {0x2010, "-", "trait d'union", nullptr},
    {0x2011, "-", "trait d'union ins\xE9" "cable", nullptr},
    {0x2012, "\x96", "tiret", nullptr},
    {0x2015, "\x97", "tiret", nullptr},
    {0x2212, "-", "signe moins", nullptr},
    {0x02BC, "\x92", "apostrophe", nullptr},
    {0x2032, "'", "prime", nullptr},
    {0x2033, "\"", "double prime", nullptr},
    {0x2192, "->", Arrow, nullptr},
    {0x2190, "<-", Arrow, nullptr},
    {0x2194, "<->", Arrow, nullptr},
    {0x21D2, "=>", "double fl\xE8" "che", nullptr},
    {0x21D0, "<=", "double fl\xE8" "che", nullptr},
    {0x21D4, "<=>", "double fl\xE8" "che", nullptr},
    {0x27F6, "->", Arrow, nullptr},
    {0x2264, "<=", "inf\xE9rieur ou \xE9gal", nullptr},
    {0x2265, ">=", "sup\xE9rieur ou \xE9gal", nullptr},
    {0x2248, "~", "environ \xE9gal", nullptr},
    {0x2219, "\xB7", "point m\xE9" "dian", nullptr},
    {0x22C5, "\xB7", "point m\xE9" "dian", nullptr},
    {0x2153, "1/3", "fraction", nullptr},
    {0x2154, "2/3", "fraction", nullptr},
    {0x215B, "1/8", "fraction", nullptr},
    {0xFB01, "fi", "ligature", nullptr},
    {0xFB02, "fl", "ligature", nullptr},
    {0x0218, "S", "lettre accentu\xE9" "e", nullptr},
    {0x0219, "s", "lettre accentu\xE9" "e", nullptr},
    {0x021A, "T", "lettre accentu\xE9" "e", nullptr},
    {0x021B, "t", "lettre accentu\xE9" "e", nullptr},
    {0x2070, "0", "chiffre en exposant", nullptr},
    {0x207A, "+", "signe en exposant", nullptr},
    {0x207B, "-", "signe en exposant", nullptr},
    {0x1D43, "a", Superscript, nullptr},
    {0x1D47, "b", Superscript, nullptr},
    {0x1D48, "d", Superscript, nullptr},
    {0x1D49, "e", Superscript, nullptr},
    {0x1D4D, "g", Superscript, nullptr},
    {0x1D4F, "k", Superscript, nullptr},
    {0x1D50, "m", Superscript, nullptr},
    {0x1D52, "o", Superscript, nullptr},
    {0x1D56, "p", Superscript, nullptr},
    {0x1D57, "t", Superscript, nullptr},
    {0x1D58, "u", Superscript, nullptr},
    {0x1D5B, "v", Superscript, nullptr},
    {0x1D9C, "c", Superscript, nullptr},
    {0x1DA0, "f", Superscript, nullptr},
    {0x1DBB, "z", Superscript, nullptr},
    {0x02B0, "h", Superscript, nullptr},
    {0x02B2, "j", Superscript, nullptr},
    {0x02B3, "r", Superscript, nullptr},
    {0x02B7, "w", Superscript, nullptr},
    {0x02B8, "y", Superscript, nullptr},
    {0x02E1, "l", Superscript, nullptr},
    {0x02E2, "s", Superscript, nullptr},
    {0x02E3, "x", Superscript, nullptr},
    {0x2071, "i", Superscript, nullptr},
    {0x207F, "n", Superscript, nullptr},
};

// The letters of U+0100 to U+017F without their marks ('.' where none fits
// or Windows-1252 has the letter itself).
const char LatinExtendedA[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi..JjKkkLlLlLlLlLlNnNnNn.NnOoOoOo..RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYy.ZzZz.s";
const char LatinLetterHint[] = "lettre accentu\xE9" "e";

// The spelling of a superscript or subscript digit: its digit.
bool DigitSpelling(uint32_t c, Spelling& found) {
  static char digits[] = "0123456789";
  if (c >= 0x2074 && c <= 0x2079) {
    found = {c, &digits[c - 0x2070], "chiffre en exposant", nullptr};
  } else if (c >= 0x2080 && c <= 0x2089) {
    found = {c, &digits[c - 0x2080], "chiffre en indice", nullptr};
  } else {
    return false;
  }
  return true;
}

// Whether c has a spelling; found then holds it (its spelling one character
// for a digit or a letter of the table above).
bool FindSpelling(uint32_t c, Spelling& found, std::string& spelling) {
  for (const Spelling& entry : Spellings) {
    if (entry.codePoint == c) {
      found = entry;
      spelling = entry.spelling;
      return true;
    }
  }
  if (DigitSpelling(c, found)) {
    spelling = std::string(1, found.spelling[0]);
    return true;
  }
  if (c >= 0x0100 && c <= 0x017F && LatinExtendedA[c - 0x0100] != '.') {
    found = {c, nullptr, LatinLetterHint, nullptr};
    spelling = std::string(1, LatinExtendedA[c - 0x0100]);
    return true;
  }
  return false;
}

}  // namespace

bool NearestSpelling(uint32_t codePoint, std::string& spelling) {
  Spelling found;
  return FindSpelling(codePoint, found, spelling);
}

std::string CodePointName(uint32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  std::string name = text;
  if (c == 0x1A) {
    return name + " (un caract\xE8re que le lecteur ne peut pas afficher, remplac\xE9 \xE0 l'import : \xE9"
                  "crivez-le autrement)";
  }
  if (c >= 0x80 && c < 0xA0 && Cp1252FromCodePoint(c) < 0) {
    // A C1 control character: a wrong decoding made it of the Windows-1252 character of the same value.
    const std::string meant(1, static_cast<char>(c));
    return name + " (caract\xE8re de contr\xF4le, sans doute " + Quoted(meant) + " mal d\xE9" "cod\xE9 : \xE9" "crivez " +
           Quoted(meant) + ")";
  }
  Spelling found;
  std::string spelling;
  if (!FindSpelling(c, found, spelling)) return name;
  const std::string hint = found.hint != nullptr ? found.hint : "\xE9" "crivez " + Quoted(spelling);
  return name + " (" + found.what + " : " + hint + ")";
}

std::string RespellForPlayer(const std::string& utf8, std::vector<Respelling>* changes) {
  std::string out;
  out.reserve(utf8.size());
  int line = 0, column = 1;
  for (size_t position = 0; position < utf8.size();) {
    const size_t start = position;
    uint32_t c = 0;
    if (!DecodeUtf8(utf8, position, c)) {  // left for the check to report
      out += utf8.substr(start);
      break;
    }
    if (Cp1252FromCodePoint(c) >= 0) {
      out.append(utf8, start, position - start);
    } else {
      Respelling change{line, column, c, true, ""};
      change.found = NearestSpelling(c, change.spelling);
      if (!change.found) change.spelling = "?";
      out += Utf8FromCp1252(change.spelling);
      if (changes != nullptr) changes->push_back(change);
    }
    if (c == '\n') {
      ++line;
      column = 1;
    } else if (c != '\r') {
      ++column;
    }
  }
  return out;
}

std::string RespellingMessage(const Respelling& change) {
  if (!change.found) {
    return "le lecteur ne peut pas afficher le caract\xE8re " + CodePointName(change.codePoint) +
           ", remplac\xE9 par \xAB ? \xBB : corrigez ce texte";
  }
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(change.codePoint));
  return std::string("le caract\xE8re ") + name + ", que le lecteur ne peut pas afficher, est remplac\xE9 par " +
         Quoted(change.spelling);
}

namespace {

void Add(TextCheck& check, bool isError, int line, int column, const std::string& message) {
  check.problems.push_back({isError, line, column, message});
}

// Appends one line's characters to check.bytes, reporting each one the player cannot hold.
void ConvertLine(QuizField field, const std::string& utf8, int line, TextCheck& check) {
  size_t position = 0;
  int column = 1;
  while (position < utf8.size()) {
    uint32_t c = 0;
    if (!DecodeUtf8(utf8, position, c)) {
      Add(check, true, line, column, "UTF-8 invalide");
      return;
    }
    const int byte = Cp1252FromCodePoint(c);
    if (byte < 0) {
      Add(check, true, line, column, "le lecteur ne peut pas afficher le caract\xE8re " + CodePointName(c));
      check.bytes += '?';
    } else {
      if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
        Add(check, true, line, column, "caract\xE8re de contr\xF4le " + CodePointName(c) + " dans un texte");
      } else if (byte == '|' && field != QuizField::Code && !IsAcceptedField(field)) {
        Add(check, true, line, column,
            "le caract\xE8re \xAB | \xBB est interdit dans un texte, car le lecteur y voit la fin du texte (\xE9"
            "crivez \xAB / \xBB \xE0 "
            "la place)");
      }
      check.bytes += static_cast<char>(byte);
    }
    ++column;
  }
}

void WarnAboutAnswer(QuizField field, TextCheck& check) {
  const std::string& answer = check.bytes;
  if (answer.empty()) {
    Add(check, true, 0, 0,
        QuotedField(field) +
            " est vide : le lecteur n'accepte jamais une r\xE9ponse vide, la question ne pourrait pas "
            "\xEAtre trouv\xE9"
            "e");
  } else if (answer.find("\r\n") != std::string::npos) {
    Add(check, false, 0, 0,
        QuotedField(field) +
            " contient un retour \xE0 la ligne, qu'on ne peut pas taper dans un champ "
            "de r\xE9ponse");
  } else if (answer.front() == ' ' || answer.back() == ' ') {
    Add(check, false, 0, 0,
        QuotedField(field) +
            " commence ou finit par une espace : le lecteur enl\xE8ve les espaces de ce "
            "que tape l'\xE9l\xE8ve, elle ne peut donc jamais \xEAtre trouv\xE9"
            "e");
  }
}

// Splits at LF; a CR just before it belongs to the line break.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace

bool FieldInUse(QuizField field, int answersPerQuestion, int revealMode) {
  switch (field) {
    case QuizField::Answer2:
    case QuizField::Accepted2: return HasSecondAnswer(answersPerQuestion);
    case QuizField::Reveal1: return HasRevealTexts(revealMode);
    case QuizField::Reveal2: return HasSecondRevealText(revealMode);
    default: return true;
  }
}

bool TextCheck::hasErrors() const { return AnyError(problems); }

namespace {

// Accepted answers, one a line: each is checked as an expected answer is,
// on its own line; their number is bounded. Empty lines count for nothing.
TextCheck CheckAcceptedLines(QuizField field, const std::vector<std::string>& utf8Lines) {
  TextCheck check;
  int answers = 0;
  for (size_t line = 0; line < utf8Lines.size(); ++line) {
    if (line > 0) check.bytes += "\r\n";
    const size_t start = check.bytes.size();
    const int at = static_cast<int>(line);
    ConvertLine(field, utf8Lines[line], at, check);
    const std::string answer = check.bytes.substr(start);
    if (answer.empty()) continue;
    ++answers;
    if (answer.size() > static_cast<size_t>(MaxTextLength)) {
      Add(check, true, at, 0,
          "la r\xE9ponse accept\xE9" "e fait " + Number(static_cast<long long>(answer.size())) +
              " caract\xE8res ; le lecteur en garde au plus " + Number(MaxTextLength));
    } else if (answer.front() == ' ' || answer.back() == ' ') {
      Add(check, false, at, 0,
          "la r\xE9ponse accept\xE9" "e " + Quoted(answer) +
              " commence ou finit par une espace : le lecteur enl\xE8ve les espaces de ce que tape "
              "l'\xE9l\xE8ve, elle ne peut donc jamais \xEAtre trouv\xE9" "e");
    }
  }
  if (answers > MaxAcceptedAnswers) {
    Add(check, true, 0, 0,
        Number(answers) + " r\xE9ponses accept\xE9" "es : le lecteur en garde au plus " + Number(MaxAcceptedAnswers) +
            " pour une r\xE9ponse attendue");
  }
  return check;
}

}  // namespace

TextCheck CheckTextLines(QuizField field, const std::vector<std::string>& utf8Lines) {
  if (IsAcceptedField(field)) return CheckAcceptedLines(field, utf8Lines);
  TextCheck check;
  for (size_t line = 0; line < utf8Lines.size(); ++line) {
    if (line > 0) {
      if (field == QuizField::Code && line == 1) Add(check, true, 1, 0, CodeLineBreakError());
      check.bytes += "\r\n";
    }
    ConvertLine(field, utf8Lines[line], static_cast<int>(line), check);
  }
  if (check.hasErrors()) return check;
  if (check.bytes.size() > static_cast<size_t>(MaxTextLength)) {
    // Each character is one byte of the player's text, and a line break two.
    const std::string size =
        Number(check.bytes.size()) + " caract\xE8res ; le lecteur en garde au plus " + Number(MaxTextLength);
    if (field == QuizField::Code) {
      Add(check, true, 0, 0, "le code de score fait " + size);
    } else {
      Add(check, true, 0, 0,
          "le texte de " + QuotedField(field) + " fait " + size + " (un retour \xE0 la ligne compte pour deux)");
    }
    return check;
  }
  if (IsAnswer(field)) WarnAboutAnswer(field, check);
  return check;
}

TextCheck CheckTextUtf8(QuizField field, const std::string& utf8) { return CheckTextLines(field, SplitLines(utf8)); }

TextCheck CheckTextBytes(QuizField field, const std::string& bytes) {
  std::vector<std::string> lines;
  for (const std::string& line : SplitLines(bytes)) lines.push_back(Utf8FromCp1252(line));
  return CheckTextLines(field, lines);
}

std::string ProblemText(int column, const std::string& message) {
  if (column <= 0) return message;
  return "caract\xE8re " + std::to_string(column) + " : " + message;
}

std::string QuestionCountError(size_t questionCount) {
  if (questionCount <= static_cast<size_t>(MaxQuestions)) return "";
  return "le quiz a " + Number(static_cast<long long>(questionCount)) + " questions ; le lecteur en compte au plus " +
         Number(MaxQuestions);
}

std::string ScoreCodeSlotsWarning(size_t questionCount) {
  if (questionCount <= static_cast<size_t>(ScoreCodeSlots)) return "";
  return "plus de " + Number(ScoreCodeSlots) + " codes de score : le lecteur garde les " + Number(ScoreCodeSlots) +
         " premiers et n'affiche aucun code (six espaces) pour un score de " + Number(ScoreCodeSlots + 1) + " ou plus";
}

std::string RevealModeWarning(int revealMode) {
  if (IsKnownRevealMode(revealMode)) return "";
  return "le mode de r\xE9v\xE9lation " + Number(revealMode) + " n'affiche aucun texte de r\xE9v\xE9lation, comme " +
         Number(NoRevealMode);
}

std::string NoQuestionWarning(size_t questionCount) { return questionCount == 0 ? "le quiz n'a aucune question" : ""; }

std::string TitleError(const std::string& title) {
  if (title.find_first_not_of(" \t") != std::string::npos) return "";
  return "le quiz n'a pas de titre : \xE9"
         "crivez-en un, c'est le titre de la fen\xEAtre du lecteur et le nom propos\xE9 pour "
         "son programme";
}

std::string KnownRevealModesText() { return ListOfModes(IsKnownRevealMode); }

std::string FieldNeedsSettingMessage(QuizField field) {
  const std::string setting =
      "\xAB " +
      KeywordText(field == QuizField::Answer2 || field == QuizField::Accepted2 ? SourceKey::AnswersPerQuestion
                                                                                : SourceKey::RevealMode) +
      ": ";
  switch (field) {
    case QuizField::Answer2:
    case QuizField::Accepted2:
      return QuotedField(QuizField::Answer2) + " demande " + setting + Number(MaxAnswersPerQuestion) +
             " \xBB dans l'en-t\xEAte";
    case QuizField::Reveal1: {
      const std::string modes = ListOfModes(HasRevealTexts);  // "2, 3 ou 4": the first goes inside the guillemets
      const size_t firstEnd = modes.find_first_of(", ");
      return QuotedField(field) + " demande " + setting + modes.substr(0, firstEnd) + " \xBB" + modes.substr(firstEnd) +
             " dans l'en-t\xEAte";
    }
    case QuizField::Reveal2:
      return QuotedField(field) + " demande " + setting + ListOfModes(HasSecondRevealText) + " \xBB dans l'en-t\xEAte";
    default: return "";
  }
}

std::vector<QuizProblem> QuizWideProblems(const AuthoredQuiz& quiz) {
  std::vector<QuizProblem> problems;
  const size_t count = quiz.questions.size();
  auto add = [&](QuizRule rule, int row, int field, bool isError, const std::string& message) {
    if (!message.empty()) problems.push_back({rule, row, field, isError, message});
  };
  add(QuizRule::Title, -1, static_cast<int>(QuizField::Title), true, TitleError(quiz.title));
  add(QuizRule::RevealMode, -1, -1, false, RevealModeWarning(quiz.revealMode));
  add(QuizRule::ScoreCodeSlots, ScoreCodeSlots, static_cast<int>(QuizField::Code), false, ScoreCodeSlotsWarning(count));
  add(QuizRule::QuestionCount, MaxQuestions, -1, true, QuestionCountError(count));
  add(QuizRule::NoQuestion, -1, -1, false, NoQuestionWarning(count));
  return problems;
}

std::vector<QuizProblem> FieldProblems(const AuthoredQuiz& quiz, QuizField field, int row) {
  std::vector<QuizProblem> problems;
  const std::string* text = FieldText(quiz, field, row);
  if (text == nullptr || !FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) return problems;
  for (const TextProblem& problem : CheckTextBytes(field, *text).problems) {
    problems.push_back({QuizRule::Text, IsQuestionField(field) ? row : -1, static_cast<int>(field), problem.isError,
                        ProblemText(problem.column, problem.message), problem.line});
  }
  return problems;
}

std::string CodeLineBreakError() { return "un code de score ne peut pas contenir de retour \xE0 la ligne"; }

namespace {

// Characters of Windows-1252 that a pupil's keyboard hardly gives, what they
// are called and what is typed instead.
struct HardCharacter {
  char byte;
  const char* name;
  const char* typed;
};
const HardCharacter HardCharacters[] = {
    {'\xA0', "une espace ins\xE9" "cable", " "},
    {'\x92', "une apostrophe typographique (\x92)", "'"},
    {'\x91', "une apostrophe ouvrante (\x91)", "'"},
    {'\x93', "un guillemet (\x93)", "\""},
    {'\x94', "un guillemet (\x94)", "\""},
    {'\x9C', "la ligature \x9C", "oe"},
    {'\x8C', "la ligature \x8C", "OE"},
    {'\x85', "des points de suspension (\x85)", "..."},
    {'\x96', "un tiret (\x96)", "-"},
    {'\x97', "un tiret (\x97)", "-"},
};

const HardCharacter* FirstHardCharacter(const std::string& answer) {
  for (char c : answer) {
    for (const HardCharacter& hard : HardCharacters) {
      if (hard.byte == c) return &hard;
    }
  }
  return nullptr;
}

// Whether a typed text earns "BRAVO" against an answer.
bool Takes(const std::string& answer, const std::string& typed) {
  return ChooseVerdict(answer.c_str(), typed.c_str()) == VerdictBravo;
}


struct SpellingCheck {
  std::vector<QuizProblem>& problems;
  int row;

  void warn(QuizField field, int line, const std::string& message) {
    problems.push_back({QuizRule::Spelling, row, static_cast<int>(field), false, message, line});
  }

  // The expected answer: a hard character asks for an accepted spelling,
  // unless one is accepted already.
  void expected(QuizField field, const std::string& answer, const std::vector<std::string>& accepted) {
    const HardCharacter* hard = FirstHardCharacter(answer);
    if (hard == nullptr) return;
    const std::string typed = TypeableSpelling(answer);
    for (const std::string& other : accepted) {
      if (Takes(other, typed)) return;
    }
    warn(field, 0,
         Quoted(answer) + " contient " + hard->name + " qu'un \xE9l\xE8ve ne sait pas taper au clavier : ajoutez la " +
             "r\xE9ponse accept\xE9" "e " + Quoted(typed));
  }

  void accepted(QuizField field, const std::string& answer, const std::vector<std::string>& lines) {
    for (size_t k = 0; k < lines.size(); ++k) {
      const std::string& line = lines[k];
      const HardCharacter* hard = FirstHardCharacter(line);
      const int at = static_cast<int>(k);
      if (Takes(answer, line)) {
        warn(field, at,
             "la r\xE9ponse accept\xE9" "e " + Quoted(line) +
                 " est d\xE9j\xE0 la r\xE9ponse attendue (le lecteur ne tient compte ni des majuscules de a \xE0 z, "
                 "ni des espaces autour) : enlevez-la");
      } else if (std::any_of(lines.begin(), lines.begin() + at, [&](const std::string& earlier) { return Takes(earlier, line); })) {
        warn(field, at, "la r\xE9ponse accept\xE9" "e " + Quoted(line) + " est donn\xE9" "e deux fois : enlevez l'une des deux");
      } else if (hard != nullptr) {
        warn(field, at,
             "la r\xE9ponse accept\xE9" "e " + Quoted(line) + " contient " + hard->name +
                 " qu'un \xE9l\xE8ve ne sait pas taper au clavier : \xE9" "crivez " + Quoted(TypeableSpelling(line)));
      }
    }
  }
};

}  // namespace

std::vector<QuizProblem> AnswerSpellingProblems(const AuthoredQuiz& quiz, int row) {
  std::vector<QuizProblem> problems;
  if (row < 0 || row >= static_cast<int>(quiz.questions.size())) return problems;
  const AuthoredQuestion& question = quiz.questions[static_cast<size_t>(row)];
  SpellingCheck check{problems, row};
  for (QuizField field : {QuizField::Answer1, QuizField::Answer2}) {
    if (!FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) continue;
    const QuizField acceptedField = AcceptedFieldOf(field);
    const std::string& answer = *FieldText(question, field);
    const std::vector<std::string> lines = AcceptedAnswerLines(*FieldText(question, acceptedField));
    check.expected(field, answer, lines);
    check.accepted(acceptedField, answer, lines);
  }
  return problems;
}

std::string TypeableSpelling(const std::string& answer) {
  std::string typed;
  for (char c : answer) {
    const HardCharacter* hard = FirstHardCharacter(std::string(1, c));
    typed += hard != nullptr ? hard->typed : std::string(1, c);
  }
  return typed;
}
