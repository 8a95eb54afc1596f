#include "quiz_source.h"

#include <cstdio>

#include "cp1252.h"

namespace {

enum class Key {
  Title, Author, Explanation, ExtraText1, ExtraText2, Visibility, AnswersPerQuestion, RevealMode, Colour,
  Question, Answer1, Answer2, Reveal1, Reveal2, Code,
};
const int KeyCount = 15;

enum class Kind { Text, Code, Setting };

struct KeyInfo {
  const char* name;  // accents dropped, lower case
  Key key;
  bool inQuestion;
  Kind kind;
};

// Every accepted spelling; the first one of each key is the one used in messages.
const KeyInfo Keys[] = {
    {"titre", Key::Title, false, Kind::Text},
    {"auteur", Key::Author, false, Kind::Text},
    {"explication", Key::Explanation, false, Kind::Text},
    {"texte4", Key::ExtraText1, false, Kind::Text},
    {"texte 4", Key::ExtraText1, false, Kind::Text},
    {"texte5", Key::ExtraText2, false, Kind::Text},
    {"texte 5", Key::ExtraText2, false, Kind::Text},
    {"questions visibles", Key::Visibility, false, Kind::Setting},
    {"reponses par question", Key::AnswersPerQuestion, false, Kind::Setting},
    {"mode revelation", Key::RevealMode, false, Kind::Setting},
    {"couleur", Key::Colour, false, Kind::Setting},
    {"question", Key::Question, true, Kind::Text},
    {"reponse", Key::Answer1, true, Kind::Text},
    {"reponse1", Key::Answer1, true, Kind::Text},
    {"reponse 1", Key::Answer1, true, Kind::Text},
    {"reponse2", Key::Answer2, true, Kind::Text},
    {"reponse 2", Key::Answer2, true, Kind::Text},
    {"revelation", Key::Reveal1, true, Kind::Text},
    {"revelation1", Key::Reveal1, true, Kind::Text},
    {"revelation 1", Key::Reveal1, true, Kind::Text},
    {"revelation2", Key::Reveal2, true, Kind::Text},
    {"revelation 2", Key::Reveal2, true, Kind::Text},
    {"code", Key::Code, true, Kind::Code},
};

const KeyInfo& InfoOf(Key key) {
  for (const KeyInfo& info : Keys) {
    if (info.key == key) return info;
  }
  return Keys[0];
}

std::string Quoted(Key key) { return std::string("'") + InfoOf(key).name + ":'"; }

// A piece of a text as written on one source line.
struct Piece {
  int line;
  int column;  // 1-based, in characters, of the piece's first character
  std::string utf8;
};

struct RawField {
  Key key = Key::Title;
  bool present = false;
  int line = 0;
  std::vector<Piece> pieces;  // the first from the keyword line, then one per "+" line
};

struct RawQuestion {
  int line = 0;
  RawField fields[KeyCount];
};

// Lower-cases ASCII, drops the accents of the French letters and folds runs
// of blanks into one space, so "Réponses  par question" finds its key.
std::string NormalizeKey(const std::string& key) {
  std::string out;
  size_t position = 0;
  while (position < key.size()) {
    uint32_t c;
    if (!DecodeUtf8(key, position, c)) return "";
    if (c == ' ' || c == '\t') {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    switch (c) {
      case 0xE9: case 0xE8: case 0xEA: case 0xEB: case 0xC9: case 0xC8: case 0xCA: case 0xCB: c = 'e'; break;
      case 0xE0: case 0xE2: case 0xC0: case 0xC2: c = 'a'; break;
      case 0xEE: case 0xEF: case 0xCE: case 0xCF: c = 'i'; break;
      case 0xF4: case 0xD4: c = 'o'; break;
      case 0xF9: case 0xFB: case 0xFC: case 0xD9: case 0xDB: case 0xDC: c = 'u'; break;
      case 0xE7: case 0xC7: c = 'c'; break;
      default: break;
    }
    if (c >= 0x80) return "";
    out += static_cast<char>(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

const KeyInfo* FindKey(const std::string& written) {
  const std::string name = NormalizeKey(written);
  for (const KeyInfo& info : Keys) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::string CodePointName(uint32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  std::string name = text;
  switch (c) {
    case 0x202F: name += " (narrow no-break space: use an ordinary space)"; break;
    case 0x2009: name += " (thin space: use an ordinary space)"; break;
    case 0x2011: name += " (non-breaking hyphen: use '-')"; break;
    case 0x2212: name += " (minus sign: use '-')"; break;
    case 0x2192: name += " (arrow: write '->')"; break;
    case 0x2264: name += " (less than or equal: write '<=')"; break;
    case 0x2265: name += " (greater than or equal: write '>=')"; break;
    default: break;
  }
  return name;
}

// Turns the pieces of a field into Windows-1252 bytes joined by CR LF,
// reporting every character the player cannot hold. Codes may hold '|' (they
// end at a line end), texts may not (the player ends a text at its first '|').
bool ConvertField(const RawField& field, Kind kind, std::string& out, Diagnostics& diagnostics) {
  out.clear();
  bool ok = true;
  for (size_t p = 0; p < field.pieces.size(); ++p) {
    const Piece& piece = field.pieces[p];
    if (p > 0) out += "\r\n";
    size_t position = 0;
    int column = piece.column;
    while (position < piece.utf8.size()) {
      uint32_t c = 0;
      if (!DecodeUtf8(piece.utf8, position, c)) {  // lines are checked before; stay safe anyway
        diagnostics.error(piece.line, "column " + std::to_string(column) + ": invalid UTF-8");
        return false;
      }
      const int byte = Cp1252FromCodePoint(c);
      if (byte < 0) {
        diagnostics.error(piece.line, "column " + std::to_string(column) + ": character " + CodePointName(c) +
                                          " cannot be written in Windows-1252, so the player cannot show it");
        ok = false;
      } else if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
        diagnostics.error(piece.line, "column " + std::to_string(column) + ": control character " +
                                          CodePointName(c) + " in a text");
        ok = false;
      } else if (byte == '|' && kind == Kind::Text) {
        diagnostics.error(piece.line, "column " + std::to_string(column) +
                                          ": the character '|' cannot appear in a text, because the player reads it "
                                          "as the end of the text (write '/' instead)");
        ok = false;
      } else {
        out += static_cast<char>(byte);
      }
      ++column;
    }
  }
  if (ok && out.size() > static_cast<size_t>(MaxTextLength)) {
    const std::string what = kind == Kind::Code ? "score code" : "text";
    diagnostics.error(field.line, Quoted(field.key) + " " + what + " is " + std::to_string(out.size()) +
                                      " bytes long (each line break counts 2); the player holds at most 259");
    ok = false;
  }
  return ok;
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

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

bool ParseColour(const std::string& written, AuthoredQuiz& quiz) {
  const std::string text = Trim(written);
  if (text.size() == 7 && text[0] == '#') {
    int parts[3];
    for (int i = 0; i < 3; ++i) {
      int value = 0;
      for (int j = 0; j < 2; ++j) {
        const char c = text[1 + 2 * i + j];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        value = value * 16 + digit;
      }
      parts[i] = value;
    }
    quiz.red = static_cast<uint8_t>(parts[0]);
    quiz.green = static_cast<uint8_t>(parts[1]);
    quiz.blue = static_cast<uint8_t>(parts[2]);
    return true;
  }
  std::vector<std::string> words(1);
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == ',') {
      if (!words.back().empty()) words.emplace_back();
    } else {
      words.back() += c;
    }
  }
  if (words.back().empty()) words.pop_back();
  int parts[3];
  if (words.size() != 3) return false;
  for (int i = 0; i < 3; ++i) {
    if (!ParseNumber(words[i], 0, 255, parts[i])) return false;
  }
  quiz.red = static_cast<uint8_t>(parts[0]);
  quiz.green = static_cast<uint8_t>(parts[1]);
  quiz.blue = static_cast<uint8_t>(parts[2]);
  return true;
}

// Number of characters (code points) in the first `bytes` bytes of a valid UTF-8 line.
int CharacterCount(const std::string& line, size_t bytes) {
  int count = 0;
  for (size_t i = 0; i < bytes && i < line.size(); ++i) {
    if ((static_cast<uint8_t>(line[i]) & 0xC0) != 0x80) ++count;
  }
  return count;
}

bool IsValidUtf8(const std::string& text) {
  size_t position = 0;
  uint32_t c;
  while (position < text.size()) {
    if (!DecodeUtf8(text, position, c)) return false;
  }
  return true;
}

// Text after "keyword:" or "+": one blank right after the mark belongs to the
// layout, everything else to the text.
size_t ValueStart(const std::string& line, size_t afterMark) {
  if (afterMark < line.size() && (line[afterMark] == ' ' || line[afterMark] == '\t')) return afterMark + 1;
  return afterMark;
}

void ApplySetting(const RawField& field, AuthoredQuiz& quiz, Diagnostics& diagnostics) {
  std::string value;
  for (const Piece& piece : field.pieces) value += piece.utf8;
  value = Trim(value);
  std::string lower;
  for (char c : value) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 'a' - 'A') : c;
  switch (field.key) {
    case Key::Visibility:
      if (lower == "oui") quiz.visibility = 1;
      else if (lower == "non") quiz.visibility = 0;
      else if (!ParseNumber(value, 0, 255, quiz.visibility))
        diagnostics.error(field.line, "'questions visibles:' takes oui, non, or a byte from 0 to 255, not '" + value + "'");
      break;
    case Key::AnswersPerQuestion:
      if (!ParseNumber(value, 1, 2, quiz.answersPerQuestion))
        diagnostics.error(field.line, "'reponses par question:' takes 1 or 2, not '" + value + "'");
      break;
    case Key::RevealMode:
      if (!ParseNumber(value, 0, 255, quiz.revealMode)) {
        diagnostics.error(field.line, "'mode revelation:' takes 0, 2, 3 or 4, not '" + value + "'");
      } else if (quiz.revealMode != 0 && !HasRevealTexts(quiz.revealMode)) {
        diagnostics.warning(field.line, "reveal mode " + value + " means no reveal texts, like 0");
      }
      break;
    case Key::Colour:
      if (!ParseColour(value, quiz))
        diagnostics.error(field.line,
                          "'couleur:' takes red, green and blue from 0 to 255 (like 90 95 150) or #RRGGBB, not '" +
                              value + "'");
      break;
    default:
      break;
  }
}

void WarnAboutAnswer(const std::string& answer, int line, const char* name, Diagnostics& diagnostics) {
  if (answer.empty()) {
    diagnostics.warning(line, std::string("empty '") + name + ":': the player never accepts an empty answer");
  } else if (answer.find("\r\n") != std::string::npos) {
    diagnostics.warning(line, std::string("'") + name + ":' holds a line break, which cannot be typed in an answer field");
  } else if (answer.front() == ' ' || answer.back() == ' ') {
    diagnostics.warning(line, std::string("'") + name +
                                  ":' starts or ends with a space: the player trims typed answers, so it can never match");
  }
}

}  // namespace

bool ParseQuizSource(const std::string& source, AuthoredQuiz& quiz, Diagnostics& diagnostics) {
  quiz = AuthoredQuiz();
  const size_t errorsBefore = diagnostics.items.size();

  std::string text = source;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  if (!IsValidUtf8(text)) {
    // Notepad's "ANSI": every byte is a Windows-1252 character.
    diagnostics.warning(0, "the file is not UTF-8; it is read as Windows-1252");
    text = Utf8FromCp1252(text);
  }

  RawField header[KeyCount];
  std::vector<RawQuestion> questions;
  RawField* lastText = nullptr;  // the field that a "+" line continues
  RawField discarded;            // a refused keyword line: its "+" lines go here, unreported
  bool tooManyReported = false;

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
      lastText = nullptr;
      continue;
    }

    if (line[first] == '+') {
      if (lastText == nullptr) {
        diagnostics.error(lineNumber, "a '+' line continues the text of the line just above, and there is none");
        continue;
      }
      const Kind kind = InfoOf(lastText->key).kind;
      if (kind == Kind::Code) {
        diagnostics.error(lineNumber, "a score code cannot hold a line break");
        lastText = nullptr;
        continue;
      }
      if (kind == Kind::Setting) {
        diagnostics.error(lineNumber, Quoted(lastText->key) + " is a setting and cannot go on over several lines");
        lastText = nullptr;
        continue;
      }
      const size_t valueStart = ValueStart(line, first + 1);
      lastText->pieces.push_back({lineNumber, CharacterCount(line, valueStart) + 1, line.substr(valueStart)});
      continue;
    }

    lastText = nullptr;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      diagnostics.error(lineNumber, "expected 'keyword: value' (like 'question: ...'), a '+' line, a '#' comment "
                                    "or a blank line");
      continue;
    }
    const std::string written = Trim(line.substr(first, colon - first));
    const KeyInfo* info = FindKey(written);
    if (info == nullptr) {
      diagnostics.error(lineNumber, "unknown keyword '" + written +
                                        "' (known: titre, auteur, explication, texte4, texte5, questions visibles, "
                                        "reponses par question, mode revelation, couleur, question, reponse, "
                                        "reponse2, revelation, revelation2, code)");
      continue;
    }

    RawField* field = nullptr;
    discarded = RawField();
    discarded.key = info->key;
    lastText = &discarded;
    if (!info->inQuestion) {
      if (!questions.empty()) {
        diagnostics.error(lineNumber, Quoted(info->key) + " belongs to the quiz header, before the first 'question:'");
        continue;
      }
      field = &header[static_cast<int>(info->key)];
      if (field->present) {
        diagnostics.error(lineNumber, Quoted(info->key) + " is given twice (first on line " +
                                          std::to_string(field->line) + ")");
        continue;
      }
    } else if (info->key == Key::Question) {
      if (questions.size() >= static_cast<size_t>(MaxQuestions)) {
        if (!tooManyReported) {
          diagnostics.error(lineNumber, "more than 255 questions: the player counts them in one byte");
          tooManyReported = true;
        }
        continue;
      }
      questions.emplace_back();
      questions.back().line = lineNumber;
      field = &questions.back().fields[static_cast<int>(Key::Question)];
    } else {
      if (questions.empty()) {
        diagnostics.error(lineNumber, Quoted(info->key) + " comes before any question: start each question with "
                                                          "'question:'");
        continue;
      }
      if (tooManyReported) continue;
      field = &questions.back().fields[static_cast<int>(info->key)];
      if (field->present) {
        diagnostics.error(lineNumber, "this question already has " + Quoted(info->key) + " (line " +
                                          std::to_string(field->line) + "); start the next question with 'question:'");
        continue;
      }
    }
    field->key = info->key;
    field->present = true;
    field->line = lineNumber;
    const size_t valueStart = ValueStart(line, colon + 1);
    field->pieces.push_back({lineNumber, CharacterCount(line, valueStart) + 1, line.substr(valueStart)});
    lastText = field;
  }

  // Settings first: they decide which question fields belong.
  for (Key key : {Key::Visibility, Key::AnswersPerQuestion, Key::RevealMode, Key::Colour}) {
    const RawField& field = header[static_cast<int>(key)];
    if (field.present) ApplySetting(field, quiz, diagnostics);
  }
  const struct {
    Key key;
    std::string* target;
  } headerTexts[] = {{Key::Title, &quiz.title},
                     {Key::Author, &quiz.author},
                     {Key::Explanation, &quiz.explanation},
                     {Key::ExtraText1, &quiz.extraText1},
                     {Key::ExtraText2, &quiz.extraText2}};
  for (const auto& entry : headerTexts) {
    const RawField& field = header[static_cast<int>(entry.key)];
    if (field.present) ConvertField(field, Kind::Text, *entry.target, diagnostics);
  }
  if (!header[static_cast<int>(Key::Title)].present) {
    diagnostics.error(0, "no 'titre:' line: the quiz needs a title (it is the caption of the player's window)");
  }

  const bool twoAnswers = FieldsPerQuestion(quiz.answersPerQuestion) == 2;
  const bool hasReveal = HasRevealTexts(quiz.revealMode);
  const bool hasSecondReveal = RevealTextsPerQuestion(quiz.revealMode) == 2;
  for (size_t q = 0; q < questions.size(); ++q) {
    const RawQuestion& raw = questions[q];
    const std::string number = "question " + std::to_string(q + 1);
    AuthoredQuestion question;
    question.line = raw.line;
    const RawField* fields = raw.fields;
    auto field = [&](Key key) -> const RawField& { return fields[static_cast<int>(key)]; };

    ConvertField(field(Key::Question), Kind::Text, question.questionText, diagnostics);
    if (!field(Key::Answer1).present) {
      diagnostics.error(raw.line, number + " has no 'reponse:' line");
    } else if (ConvertField(field(Key::Answer1), Kind::Text, question.answer1, diagnostics)) {
      WarnAboutAnswer(question.answer1, field(Key::Answer1).line, "reponse", diagnostics);
    }
    if (twoAnswers && !field(Key::Answer2).present) {
      diagnostics.error(raw.line, number + " has no 'reponse2:' line, and the quiz has two answers per question");
    } else if (!twoAnswers && field(Key::Answer2).present) {
      diagnostics.error(field(Key::Answer2).line, "'reponse2:' needs 'reponses par question: 2' in the header");
    } else if (twoAnswers && ConvertField(field(Key::Answer2), Kind::Text, question.answer2, diagnostics)) {
      WarnAboutAnswer(question.answer2, field(Key::Answer2).line, "reponse2", diagnostics);
    }
    if (field(Key::Reveal1).present) {
      if (!hasReveal) {
        diagnostics.error(field(Key::Reveal1).line, "'revelation:' needs 'mode revelation: 2', 3 or 4 in the header");
      } else {
        ConvertField(field(Key::Reveal1), Kind::Text, question.revealText, diagnostics);
      }
    }
    if (field(Key::Reveal2).present) {
      if (!hasSecondReveal) {
        diagnostics.error(field(Key::Reveal2).line, "'revelation2:' needs 'mode revelation: 3' in the header");
      } else {
        ConvertField(field(Key::Reveal2), Kind::Text, question.secondRevealText, diagnostics);
      }
    }
    if (!field(Key::Code).present) {
      diagnostics.error(raw.line, number + " has no 'code:' line: the quiz has " + std::to_string(questions.size()) +
                                      " questions and needs as many score codes (one per question, 'code:' may be "
                                      "empty)");
    } else {
      ConvertField(field(Key::Code), Kind::Code, question.scoreCode, diagnostics);
      if (q == static_cast<size_t>(ScoreCodeSlots)) {
        diagnostics.warning(field(Key::Code).line,
                            "more than 96 score codes: the player keeps the first 96 and shows no code (six spaces) "
                            "for scores from 97 on");
      }
    }
    quiz.questions.push_back(question);
  }
  if (questions.empty() && !tooManyReported) diagnostics.warning(0, "the quiz has no question");

  for (size_t i = errorsBefore; i < diagnostics.items.size(); ++i) {
    if (diagnostics.items[i].isError) return false;
  }
  return true;
}

namespace {

// One text as "keyword: first line" and "+ next line" lines.
void WriteText(std::string& out, const char* keyword, const std::string& bytes) {
  std::string text = Utf8FromCp1252(bytes);
  out += keyword;
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

}  // namespace

std::string WriteQuizSource(const AuthoredQuiz& quiz, const std::string& heading) {
  std::string out;
  if (!heading.empty()) out += "# " + heading + "\n";
  out += u8"# Format : docs/quiz-format.md. « + » continue un texte à la ligne.\n\n";
  WriteText(out, "titre", quiz.title);
  WriteText(out, "auteur", quiz.author);
  WriteText(out, "explication", quiz.explanation);
  WriteText(out, "texte4", quiz.extraText1);
  WriteText(out, "texte5", quiz.extraText2);
  if (quiz.visibility == 1) out += "questions visibles: oui\n";
  else if (quiz.visibility == 0) out += "questions visibles: non\n";
  else out += "questions visibles: " + std::to_string(quiz.visibility) + "\n";
  out += u8"réponses par question: " + std::to_string(quiz.answersPerQuestion) + "\n";
  out += u8"mode révélation: " + std::to_string(quiz.revealMode) + "\n";
  out += "couleur: " + std::to_string(quiz.red) + " " + std::to_string(quiz.green) + " " +
         std::to_string(quiz.blue) + "\n";
  const bool hasReveal = HasRevealTexts(quiz.revealMode);
  for (const AuthoredQuestion& question : quiz.questions) {
    out += '\n';
    WriteText(out, "question", question.questionText);
    WriteText(out, u8"réponse", question.answer1);
    if (quiz.answersPerQuestion == 2) WriteText(out, u8"réponse2", question.answer2);
    if (hasReveal) WriteText(out, u8"révélation", question.revealText);
    if (RevealTextsPerQuestion(quiz.revealMode) == 2) WriteText(out, u8"révélation2", question.secondRevealText);
    WriteText(out, "code", question.scoreCode);
  }
  return out;
}
