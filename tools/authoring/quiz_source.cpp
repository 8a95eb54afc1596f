#include "quiz_source.h"

#include <algorithm>

#include "cp1252.h"
#include "french_text.h"
#include "quiz_fit.h"
#include "quiz_rules.h"
#include "source_keywords.h"
#include "text_decoding.h"

namespace {

// A piece of a text as written on one source line.
struct Piece {
  int line;
  int column;  // 1-based, in characters, of the piece's first character
  std::string utf8;
};

struct RawField {
  SourceKey key = SourceKey::Title;
  bool present = false;
  int line = 0;
  std::vector<Piece> pieces;  // the first from the keyword line, then one per "+" line
};

struct RawQuestion {
  int line = 0;
  RawField fields[SourceKeyCount];
  SourceKey lastAnswer = SourceKey::Question;  // the answer line that an "aussi" line adds to; Question: none yet

  const RawField& field(SourceKey key) const { return fields[static_cast<int>(key)]; }
};

// The source cut into fields, before any text is checked.
struct RawSource {
  RawField header[SourceKeyCount];
  std::vector<RawQuestion> questions;

  const RawField& headerField(SourceKey key) const { return header[static_cast<int>(key)]; }
};

// The line reader's state between lines.
struct LineReading {
  RawSource& raw;
  Diagnostics& diagnostics;
  RawField* lastText = nullptr;  // the field that a "+" line continues
  RawField discarded;            // a refused keyword line: its "+" lines go here, unreported
  bool keywordsListed = false;   // an unknown keyword has been told with the list of the known ones
};

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

// Number of characters (code points) in the first `bytes` bytes of a valid UTF-8 line.
int CharacterCount(const std::string& line, size_t bytes) {
  int count = 0;
  for (size_t i = 0; i < bytes && i < line.size(); ++i) {
    if ((static_cast<uint8_t>(line[i]) & 0xC0) != 0x80) ++count;
  }
  return count;
}

// Text after "keyword:" or "+": one blank right after the mark belongs to the
// layout, everything else to the text.
size_t ValueStart(const std::string& line, size_t afterMark) {
  if (afterMark < line.size() && (line[afterMark] == ' ' || line[afterMark] == '\t')) return afterMark + 1;
  return afterMark;
}

Piece PieceAfter(const std::string& line, size_t afterMark, int lineNumber) {
  const size_t start = ValueStart(line, afterMark);
  return {lineNumber, CharacterCount(line, start) + 1, line.substr(start)};
}

// A "+" line: the next line of the text above it.
void ReadContinuation(LineReading& reading, const std::string& line, size_t plus, int lineNumber) {
  Diagnostics& diagnostics = reading.diagnostics;
  RawField* above = reading.lastText;
  if (above == nullptr) {
    diagnostics.error(lineNumber,
                      "une ligne \xAB + \xBB continue le texte de la ligne juste au-dessus, et il n'y en a pas");
    return;
  }
  const KeyKind kind = KeywordOf(above->key).kind;
  if (above->key == SourceKey::Accepted1 || above->key == SourceKey::Accepted2) {
    diagnostics.error(lineNumber, "une r\xE9ponse accept\xE9" "e tient sur une ligne : \xE9" "crivez une ligne " +
                                      QuotedKeyword(above->key) + " par r\xE9ponse");
    reading.lastText = nullptr;
  } else if (kind == KeyKind::Code) {
    diagnostics.error(lineNumber, CodeLineBreakError());
    reading.lastText = nullptr;
  } else if (kind == KeyKind::Setting) {
    diagnostics.error(lineNumber,
                      QuotedKeyword(above->key) + " est un r\xE9glage et ne peut pas continuer sur plusieurs lignes");
    reading.lastText = nullptr;
  } else {
    above->pieces.push_back(PieceAfter(line, plus + 1, lineNumber));
  }
}

// An "aussi" line: one more accepted answer of the answer line above it in
// its question.
RawField* AcceptedFieldOfLine(RawQuestion& question, int lineNumber, Diagnostics& diagnostics) {
  if (question.lastAnswer == SourceKey::Question) {
    diagnostics.error(lineNumber, QuotedKeyword(SourceKey::Accepted1) +
                                      " ajoute une r\xE9ponse accept\xE9" "e \xE0 la ligne " +
                                      QuotedKeyword(SourceKey::Answer1) + " ou " + QuotedKeyword(SourceKey::Answer2) +
                                      " au-dessus d'elle, et cette question n'en a pas encore");
    return nullptr;
  }
  const SourceKey key = question.lastAnswer == SourceKey::Answer2 ? SourceKey::Accepted2 : SourceKey::Accepted1;
  RawField* field = &question.fields[static_cast<int>(key)];
  if (!field->present) field->line = lineNumber;
  field->key = key;
  return field;
}

// The field a keyword line fills, or null after reporting why it fills none.
RawField* FieldOfLine(LineReading& reading, const SourceKeyword& keyword, int lineNumber) {
  Diagnostics& diagnostics = reading.diagnostics;
  std::vector<RawQuestion>& questions = reading.raw.questions;
  const std::string quoted = QuotedKeyword(keyword.key);
  if (!keyword.inQuestion) {
    if (!questions.empty()) {
      diagnostics.error(lineNumber, quoted + " fait partie de l'en-t\xEAte, avant la premi\xE8re \xAB question: \xBB");
      return nullptr;
    }
    RawField* field = &reading.raw.header[static_cast<int>(keyword.key)];
    if (field->present) {
      diagnostics.error(lineNumber, quoted + " est donn\xE9 deux fois (la premi\xE8re \xE0 la ligne " +
                                        std::to_string(field->line) + ")");
      return nullptr;
    }
    return field;
  }
  if (keyword.key == SourceKey::Question) {
    questions.emplace_back();
    questions.back().line = lineNumber;
    return &questions.back().fields[static_cast<int>(SourceKey::Question)];
  }
  if (questions.empty()) {
    diagnostics.error(lineNumber,
                      quoted + " vient avant toute question : commencez chaque question par \xAB question: \xBB");
    return nullptr;
  }
  RawQuestion& question = questions.back();
  if (keyword.key == SourceKey::Accepted1) return AcceptedFieldOfLine(question, lineNumber, diagnostics);
  if (keyword.key == SourceKey::Answer1 || keyword.key == SourceKey::Answer2) question.lastAnswer = keyword.key;
  RawField* field = &question.fields[static_cast<int>(keyword.key)];
  if (field->present) {
    diagnostics.error(lineNumber, "cette question a d\xE9j\xE0 sa ligne " + quoted + " (ligne " +
                                      std::to_string(field->line) +
                                      ") ; commencez la question suivante par \xAB question: \xBB");
    return nullptr;
  }
  return field;
}

// A "keyword: value" line.
void ReadKeywordLine(LineReading& reading, const std::string& line, size_t first, int lineNumber) {
  Diagnostics& diagnostics = reading.diagnostics;
  const size_t colon = line.find(':');
  if (colon == std::string::npos) {
    diagnostics.error(
        lineNumber,
        "attendu : \xAB mot-cl\xE9: valeur \xBB (comme \xAB question: ... \xBB), une ligne \xAB + \xBB, un "
        "commentaire \xAB # \xBB ou une ligne vide");
    return;
  }
  const std::string written = Trim(line.substr(first, colon - first));
  const SourceKeyword* keyword = FindKeyword(written);
  if (keyword == nullptr) {
    // The known keywords once: a file that is no quiz would repeat them on every line.
    const std::string known = reading.keywordsListed ? "" : " (connus : " + KnownKeywords() + ")";
    diagnostics.error(lineNumber, "mot-cl\xE9 inconnu " + Quoted(Cp1252FromUtf8Lossy(written)) + known);
    reading.keywordsListed = true;
    return;
  }
  reading.discarded = RawField();
  reading.discarded.key = keyword->key;
  reading.lastText = &reading.discarded;
  RawField* field = FieldOfLine(reading, *keyword, lineNumber);
  if (field == nullptr) return;
  if (keyword->key != SourceKey::Accepted1) {  // an accepted answer line keeps its own key and first line
    field->key = keyword->key;
    field->line = lineNumber;
  }
  field->present = true;
  field->pieces.push_back(PieceAfter(line, colon + 1, lineNumber));
  reading.lastText = field;
}

// Pass 1: the lines, cut into the fields of the header and of each question.
void ReadSourceLines(const std::string& text, RawSource& raw, Diagnostics& diagnostics) {
  LineReading reading{raw, diagnostics};
  int lineNumber = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    const bool lastLine = end == text.size();
    start = end + 1;
    ++lineNumber;
    if (lastLine && line.empty()) break;
    if (!line.empty() && line.back() == '\r') line.pop_back();

    size_t first = 0;
    while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
    if (first == line.size() || line[first] == '#') {
      reading.lastText = nullptr;
    } else if (line[first] == '+') {
      ReadContinuation(reading, line, first, lineNumber);
    } else {
      reading.lastText = nullptr;
      ReadKeywordLine(reading, line, first, lineNumber);
    }
  }
}

// Checks a field's pieces with the shared text rules and reports each problem
// on its source line, its column counted from the start of that line.
void ApplyText(const RawField& field, std::string& out, Diagnostics& diagnostics) {
  std::vector<std::string> lines;
  for (const Piece& piece : field.pieces) lines.push_back(piece.utf8);
  const TextCheck check = CheckTextLines(FieldOfKey(field.key), lines);
  const bool linePerAnswer = IsAcceptedField(FieldOfKey(field.key));
  for (const TextProblem& problem : check.problems) {
    const Piece& piece = field.pieces[problem.line];
    const int line = problem.column > 0 || linePerAnswer ? piece.line : field.line;
    const int column = problem.column > 0 ? piece.column + problem.column - 1 : 0;
    if (problem.isError)
      diagnostics.error(line, ProblemText(column, problem.message));
    else
      diagnostics.warning(line, ProblemText(column, problem.message));
  }
  out = check.bytes;
}

bool ParseNumber(const std::string& text, int low, int high, int& value) {
  if (text.empty() || text.size() > 3) return false;
  int number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number < low || number > high) return false;
  value = number;
  return true;
}

bool ParseHexColour(const std::string& text, int parts[3]) {
  if (text.size() != 7 || text[0] != '#') return false;
  for (int i = 0; i < 3; ++i) {
    int value = 0;
    for (int j = 0; j < 2; ++j) {
      const char c = text[1 + 2 * i + j];
      int digit;
      if (c >= '0' && c <= '9')
        digit = c - '0';
      else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
      else
        return false;
      value = value * 16 + digit;
    }
    parts[i] = value;
  }
  return true;
}

// "90 95 150", "90, 95, 150" or "#5A5F96".
bool ParseColour(const std::string& written, AuthoredQuiz& quiz) {
  const std::string text = Trim(written);
  int parts[3];
  if (!ParseHexColour(text, parts)) {
    std::vector<std::string> words(1);
    for (char c : text) {
      if (c == ' ' || c == '\t' || c == ',') {
        if (!words.back().empty()) words.emplace_back();
      } else {
        words.back() += c;
      }
    }
    if (words.back().empty()) words.pop_back();
    if (words.size() != 3) return false;
    for (int i = 0; i < 3; ++i) {
      if (!ParseNumber(words[i], 0, UINT8_MAX, parts[i])) return false;
    }
  }
  quiz.red = static_cast<uint8_t>(parts[0]);
  quiz.green = static_cast<uint8_t>(parts[1]);
  quiz.blue = static_cast<uint8_t>(parts[2]);
  return true;
}

void ApplySetting(const RawField& field, AuthoredQuiz& quiz, Diagnostics& diagnostics) {
  std::string value;
  for (const Piece& piece : field.pieces) value += piece.utf8;
  value = Trim(value);
  const std::string refused = QuotedKeyword(field.key) + " prend ";
  const std::string shown = ", pas \xAB " + Cp1252FromUtf8Lossy(value) + " \xBB";
  std::string lower;
  for (char c : value) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 'a' - 'A') : c;
  switch (field.key) {
    case SourceKey::Visibility:
      if (lower == "oui")
        quiz.visibility = 1;
      else if (lower == "non")
        quiz.visibility = 0;
      else if (!ParseNumber(value, 0, UINT8_MAX, quiz.visibility))
        diagnostics.error(field.line, refused + "oui, non ou un octet de 0 \xE0 " + std::to_string(UINT8_MAX) + shown);
      break;
    case SourceKey::AnswersPerQuestion:
      if (!ParseNumber(value, MinAnswersPerQuestion, MaxAnswersPerQuestion, quiz.answersPerQuestion))
        diagnostics.error(field.line, refused + std::to_string(MinAnswersPerQuestion) + " ou " +
                                          std::to_string(MaxAnswersPerQuestion) + shown);
      break;
    case SourceKey::RevealMode:
      if (!ParseNumber(value, 0, UINT8_MAX, quiz.revealMode))
        diagnostics.error(field.line, refused + KnownRevealModesText() + shown);
      break;
    case SourceKey::Colour:
      if (!ParseColour(value, quiz))
        diagnostics.error(field.line,
                          refused + "rouge, vert et bleu de 0 \xE0 255 (comme 90 95 150) ou #RRGGBB" + shown);
      break;
    default: break;
  }
}

// Pass 2: the settings first, as they decide which question fields belong,
// then the texts of the header.
void ApplyHeader(const RawSource& raw, AuthoredQuiz& quiz, Diagnostics& diagnostics) {
  for (SourceKey key :
       {SourceKey::Visibility, SourceKey::AnswersPerQuestion, SourceKey::RevealMode, SourceKey::Colour}) {
    if (raw.headerField(key).present) ApplySetting(raw.headerField(key), quiz, diagnostics);
  }
  for (QuizField field :
       {QuizField::Title, QuizField::Author, QuizField::Explanation, QuizField::ExtraText1, QuizField::ExtraText2}) {
    const RawField& written = raw.headerField(KeyOfField(field));
    if (written.present) ApplyText(written, *FieldText(quiz, field, -1), diagnostics);
  }
}

// One text of a question: checked when the settings use it, refused when
// they do not; a missing line is the caller's to report.
void ApplyQuestionField(const RawField& written, const AuthoredQuiz& quiz, AuthoredQuestion& question,
                        Diagnostics& diagnostics) {
  const QuizField field = FieldOfKey(written.key);
  if (!FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) {
    // The "aussi" lines of a second answer go with it: its own line is the one refused.
    if (field != QuizField::Accepted2) diagnostics.error(written.line, FieldNeedsSettingMessage(field));
  } else {
    ApplyText(written, *FieldText(question, field), diagnostics);
  }
}

AuthoredQuestion BuildQuestion(const RawQuestion& raw, size_t index, const AuthoredQuiz& quiz, size_t count,
                               Diagnostics& diagnostics) {
  const std::string number = "la question " + std::to_string(index + 1);
  AuthoredQuestion question;
  question.line = raw.line;
  for (SourceKey key : {SourceKey::Question, SourceKey::Answer1, SourceKey::Accepted1, SourceKey::Answer2,
                        SourceKey::Accepted2, SourceKey::Reveal1, SourceKey::Reveal2, SourceKey::Code}) {
    if (raw.field(key).present) ApplyQuestionField(raw.field(key), quiz, question, diagnostics);
  }
  if (!raw.field(SourceKey::Answer1).present) {
    diagnostics.error(raw.line, number + " n'a pas de ligne " + QuotedKeyword(SourceKey::Answer1));
  }
  if (HasSecondAnswer(quiz.answersPerQuestion) && !raw.field(SourceKey::Answer2).present) {
    diagnostics.error(raw.line, number + " n'a pas de ligne " + QuotedKeyword(SourceKey::Answer2) +
                                    ", alors que le quiz a deux r\xE9ponses par question");
  }
  if (!raw.field(SourceKey::Code).present) {
    diagnostics.error(raw.line,
                      number + " n'a pas de ligne \xAB code: \xBB : le quiz a " + Counted(count, "question", "questions") +
                          " et demande autant de codes de score (un par question, \xAB code: \xBB peut \xEAtre "
                          "vide)");
  }
  return question;
}

// Pass 3: the questions.
void BuildQuestions(const RawSource& raw, AuthoredQuiz& quiz, Diagnostics& diagnostics) {
  const size_t count = raw.questions.size();
  for (size_t q = 0; q < count; ++q) {
    quiz.questions.push_back(BuildQuestion(raw.questions[q], q, quiz, count, diagnostics));
  }
}

// The line of a problem placed on a row and a field: the field's own line
// when it has one, else its question's, else the file as a whole.
int LineOf(const RawSource& raw, const QuizProblem& problem) {
  if (problem.rule == QuizRule::RevealMode) return raw.headerField(SourceKey::RevealMode).line;
  const SourceKey key = problem.field >= 0 ? KeyOfField(static_cast<QuizField>(problem.field)) : SourceKey::Question;
  if (problem.row < 0) return problem.field >= 0 ? raw.headerField(key).line : 0;
  if (static_cast<size_t>(problem.row) >= raw.questions.size()) return 0;
  const RawQuestion& question = raw.questions[static_cast<size_t>(problem.row)];
  const RawField& field = question.field(key);
  if (!field.present) return question.line;
  const size_t piece = static_cast<size_t>(problem.textLine);
  return piece > 0 && piece < field.pieces.size() ? field.pieces[piece].line : field.line;
}

// Pass 4: the quiz as a whole, and how its texts fit the player, each problem
// on the line it is about.
void ReportQuizWide(const RawSource& raw, const AuthoredQuiz& quiz, const PlayerMetrics* fit,
                    Diagnostics& diagnostics) {
  std::vector<QuizProblem> problems = QuizWideProblems(quiz);
  for (size_t row = 0; row < quiz.questions.size(); ++row) {
    const std::vector<QuizProblem> spelling = AnswerSpellingProblems(quiz, static_cast<int>(row));
    problems.insert(problems.end(), spelling.begin(), spelling.end());
  }
  if (fit != nullptr) {
    const std::vector<QuizProblem> warnings = FitWarnings(quiz, *fit);
    problems.insert(problems.end(), warnings.begin(), warnings.end());
  }
  for (const QuizProblem& problem : problems) {
    const int line = LineOf(raw, problem);
    if (problem.isError)
      diagnostics.error(line, problem.message);
    else
      diagnostics.warning(line, problem.message);
  }
}

}  // namespace

std::string NotASourceReason(const std::string& bytes) {
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    return "c'est un texte en UTF-16 : enregistrez-le en UTF-8 (dans le Bloc-notes : Enregistrer sous, Codage UTF-8)";
  }
  if (bytes.find('\0') != std::string::npos) {
    return "ce n'est pas un fichier texte, et une source de quiz s'\xE9"
           "crit avec un \xE9"
           "diteur de texte comme le Bloc-notes";
  }
  return "";
}

bool ParseQuizSource(const std::string& source, AuthoredQuiz& quiz, Diagnostics& diagnostics,
                     const PlayerMetrics* fit) {
  quiz = AuthoredQuiz();
  const size_t itemsBefore = diagnostics.items.size();
  const size_t errorsBefore = diagnostics.errorCount();
  const std::string refusal = NotASourceReason(source);
  if (!refusal.empty()) {
    diagnostics.error(0, refusal);
    return false;
  }

  const DecodedText decoded = DecodeText(source, false);
  const std::string& text = decoded.utf8;
  if (decoded.windows1252) {
    // Notepad's "ANSI": every byte is a Windows-1252 character.
    diagnostics.warning(
        0, "le fichier n'est pas en UTF-8 : il est lu comme un texte \xAB ANSI \xBB du Bloc-notes (Windows-1252)");
  } else if (decoded.strayBytes > 0) {
    // One byte of another encoding in a UTF-8 file: said once, where it is; every other line reads as written.
    diagnostics.warning(decoded.firstStray.line, StrayBytesMessage(decoded, false));
  }
  RawSource raw;
  ReadSourceLines(text, raw, diagnostics);
  ApplyHeader(raw, quiz, diagnostics);
  BuildQuestions(raw, quiz, diagnostics);
  ReportQuizWide(raw, quiz, fit, diagnostics);

  const auto first = diagnostics.items.begin() + static_cast<std::ptrdiff_t>(itemsBefore);
  std::stable_sort(first, diagnostics.items.end(),
                   [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  return diagnostics.errorCount() == errorsBefore;
}

const char* const SourceFormatLine =
    u8"# Format : voir ecrire-un-quiz.html, le guide livré avec Ludex. « + » continue un texte à la ligne.\n";

namespace {

// One text as "keyword: first line" and "+ next line" lines.
void WriteText(std::string& out, QuizField field, const std::string& bytes) {
  const std::string text = Utf8FromCp1252(bytes);
  out += KeywordOf(KeyOfField(field)).spelling;
  out += ':';
  size_t start = 0;
  bool first = true;
  while (true) {
    size_t end = text.find("\r\n", start);
    const std::string piece = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!first) out += '+';
    if (!piece.empty()) out += ' ' + piece;
    out += '\n';
    first = false;
    if (end == std::string::npos) break;
    start = end + 2;
  }
}

// One "aussi:" line per accepted answer.
void WriteAcceptedAnswers(std::string& out, QuizField field, const std::string& bytes) {
  for (const std::string& answer : AcceptedAnswerLines(bytes)) {
    out += std::string(KeywordOf(KeyOfField(field)).spelling) + ": " + Utf8FromCp1252(answer) + "\n";
  }
}

// Texts of fields the quiz's settings set aside: kept readable as comments,
// which the reader passes over.
std::string CommentedOut(const std::string& lines) {
  if (lines.empty()) return "";
  std::string out = u8"# Mis de côté par les réglages du quiz (le lecteur ne s'en sert pas) :\n";
  for (size_t start = 0; start < lines.size();) {
    const size_t end = lines.find('\n', start);
    out += "# " + lines.substr(start, end - start) + "\n";
    start = end + 1;
  }
  return out;
}

void WriteSetting(std::string& out, SourceKey key, const std::string& value) {
  out += std::string(KeywordOf(key).spelling) + ": " + value + "\n";
}

}  // namespace

std::string WriteQuizSource(const AuthoredQuiz& quiz, const std::string& heading) {
  std::string out;
  if (!heading.empty()) out += "# " + heading + "\n";
  out += SourceFormatLine;
  out += '\n';
  for (QuizField field :
       {QuizField::Title, QuizField::Author, QuizField::Explanation, QuizField::ExtraText1, QuizField::ExtraText2}) {
    WriteText(out, field, *FieldText(quiz, field, -1));
  }
  const std::string visibility = quiz.visibility == 1   ? "oui"
                                 : quiz.visibility == 0 ? "non"
                                                        : std::to_string(quiz.visibility);
  WriteSetting(out, SourceKey::Visibility, visibility);
  WriteSetting(out, SourceKey::AnswersPerQuestion, std::to_string(quiz.answersPerQuestion));
  WriteSetting(out, SourceKey::RevealMode, std::to_string(quiz.revealMode));
  WriteSetting(out, SourceKey::Colour,
               std::to_string(quiz.red) + " " + std::to_string(quiz.green) + " " + std::to_string(quiz.blue));
  for (const AuthoredQuestion& question : quiz.questions) {
    out += '\n';
    std::string setAside;
    for (QuizField field : {QuizField::Question, QuizField::Answer1, QuizField::Accepted1, QuizField::Answer2,
                            QuizField::Accepted2, QuizField::Reveal1, QuizField::Reveal2, QuizField::Code}) {
      const bool inUse = FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode);
      const std::string& text = *FieldText(question, field);
      if (!inUse && text.empty()) continue;
      std::string& lines = inUse ? out : setAside;
      if (IsAcceptedField(field)) {
        WriteAcceptedAnswers(lines, field, text);
      } else {
        WriteText(lines, field, text);
      }
    }
    out += CommentedOut(setAside);
  }
  return out;
}
