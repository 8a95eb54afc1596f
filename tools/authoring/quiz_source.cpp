#include "quiz_source.h"

#include "cp1252.h"

namespace {

enum class Key {
  Title,
  Author,
  Explanation,
  ExtraText1,
  ExtraText2,
  Visibility,
  AnswersPerQuestion,
  RevealMode,
  Colour,
  Question,
  Answer1,
  Answer2,
  Reveal1,
  Reveal2,
  Code,
};
const int KeyCount = 15;

enum class Kind { Text, Code, Setting };

struct KeyInfo {
  const char* name;  // accents dropped, lower case
  Key key;
  bool inQuestion;
  Kind kind;
};

// Every accepted spelling, as NormalizeKeyword leaves it.
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

QuizField FieldOf(Key key) {
  switch (key) {
    case Key::Title: return QuizField::Title;
    case Key::Author: return QuizField::Author;
    case Key::Explanation: return QuizField::Explanation;
    case Key::ExtraText1: return QuizField::ExtraText1;
    case Key::ExtraText2: return QuizField::ExtraText2;
    case Key::Answer1: return QuizField::Answer1;
    case Key::Answer2: return QuizField::Answer2;
    case Key::Reveal1: return QuizField::Reveal1;
    case Key::Reveal2: return QuizField::Reveal2;
    case Key::Code: return QuizField::Code;
    default: return QuizField::Question;
  }
}

// A keyword as the writer spells it, in guillemets: « réponse: ».
std::string Quoted(Key key) {
  const char* name;
  switch (key) {
    case Key::Visibility: name = "questions visibles"; break;
    case Key::AnswersPerQuestion: name = "réponses par question"; break;
    case Key::RevealMode: name = "mode révélation"; break;
    case Key::Colour: name = "couleur"; break;
    default: name = FieldKeyword(FieldOf(key)); break;
  }
  return std::string("« ") + name + ": »";
}

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

}  // namespace

std::string NormalizeKeyword(const std::string& key) {
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
      case 0xE9:
      case 0xE8:
      case 0xEA:
      case 0xEB:
      case 0xC9:
      case 0xC8:
      case 0xCA:
      case 0xCB: c = 'e'; break;
      case 0xE0:
      case 0xE2:
      case 0xC0:
      case 0xC2: c = 'a'; break;
      case 0xEE:
      case 0xEF:
      case 0xCE:
      case 0xCF: c = 'i'; break;
      case 0xF4:
      case 0xD4: c = 'o'; break;
      case 0xF9:
      case 0xFB:
      case 0xFC:
      case 0xD9:
      case 0xDB:
      case 0xDC: c = 'u'; break;
      case 0xE7:
      case 0xC7: c = 'c'; break;
      default: break;
    }
    if (c >= 0x80) return "";
    out += static_cast<char>(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

namespace {

const KeyInfo* FindKey(const std::string& written) {
  const std::string name = NormalizeKeyword(written);
  for (const KeyInfo& info : Keys) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

// Checks a field's pieces with the shared text rules and reports each problem
// on its source line, its column counted from the start of that line.
bool ApplyText(const RawField& field, std::string& out, Diagnostics& diagnostics) {
  std::vector<std::string> lines;
  for (const Piece& piece : field.pieces) lines.push_back(piece.utf8);
  TextCheck check = CheckTextLines(FieldOf(field.key), lines);
  for (const TextProblem& problem : check.problems) {
    const Piece& piece = field.pieces[problem.line];
    const int line = problem.column > 0 ? piece.line : field.line;
    const int column = problem.column > 0 ? piece.column + problem.column - 1 : 0;
    if (problem.isError)
      diagnostics.error(line, ProblemText(column, problem.message));
    else
      diagnostics.warning(line, ProblemText(column, problem.message));
  }
  out = check.bytes;
  return !check.hasErrors();
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
  const std::string shown = " « " + Cp1252FromUtf8Lossy(value) + " »";
  std::string lower;
  for (char c : value) lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 'a' - 'A') : c;
  switch (field.key) {
    case Key::Visibility:
      if (lower == "oui")
        quiz.visibility = 1;
      else if (lower == "non")
        quiz.visibility = 0;
      else if (!ParseNumber(value, 0, 255, quiz.visibility))
        diagnostics.error(field.line, Quoted(field.key) + " prend oui, non ou un octet de 0 à 255, pas" + shown);
      break;
    case Key::AnswersPerQuestion:
      if (!ParseNumber(value, 1, 2, quiz.answersPerQuestion))
        diagnostics.error(field.line, Quoted(field.key) + " prend 1 ou 2, pas" + shown);
      break;
    case Key::RevealMode:
      if (!ParseNumber(value, 0, 255, quiz.revealMode)) {
        diagnostics.error(field.line, Quoted(field.key) + " prend 0, 2, 3 ou 4, pas" + shown);
      } else if (!RevealModeWarning(quiz.revealMode).empty()) {
        diagnostics.warning(field.line, RevealModeWarning(quiz.revealMode));
      }
      break;
    case Key::Colour:
      if (!ParseColour(value, quiz))
        diagnostics.error(field.line, Quoted(field.key) +
                                          " prend rouge, vert et bleu de 0 à 255 (comme 90 95 150) ou "
                                          "#RRGGBB, pas" +
                                          shown);
      break;
    default: break;
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
    diagnostics.warning(0, "le fichier n'est pas en UTF-8 : il est lu en Windows-1252");
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
        diagnostics.error(lineNumber,
                          "une ligne « + » continue le texte de la ligne juste au-dessus, et il n'y en a pas");
        continue;
      }
      const Kind kind = InfoOf(lastText->key).kind;
      if (kind == Kind::Code) {
        diagnostics.error(lineNumber, CodeLineBreakError());
        lastText = nullptr;
        continue;
      }
      if (kind == Kind::Setting) {
        diagnostics.error(lineNumber,
                          Quoted(lastText->key) + " est un réglage et ne peut pas continuer sur plusieurs lignes");
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
      diagnostics.error(lineNumber,
                        "attendu : « mot-clé: valeur » (comme « question: ... »), une ligne « + », un "
                        "commentaire « # » ou une ligne vide");
      continue;
    }
    const std::string written = Trim(line.substr(first, colon - first));
    const KeyInfo* info = FindKey(written);
    if (info == nullptr) {
      diagnostics.error(lineNumber, "mot-clé inconnu « " + Cp1252FromUtf8Lossy(written) +
                                        " » (connus : titre, auteur, explication, texte4, texte5, questions visibles, "
                                        "réponses par question, mode révélation, couleur, question, réponse, "
                                        "réponse2, révélation, révélation2, code)");
      continue;
    }

    RawField* field = nullptr;
    discarded = RawField();
    discarded.key = info->key;
    lastText = &discarded;
    if (!info->inQuestion) {
      if (!questions.empty()) {
        diagnostics.error(lineNumber, Quoted(info->key) + " fait partie de l'en-tête, avant la première « question: »");
        continue;
      }
      field = &header[static_cast<int>(info->key)];
      if (field->present) {
        diagnostics.error(lineNumber, Quoted(info->key) + " est donné deux fois (la première à la ligne " +
                                          std::to_string(field->line) + ")");
        continue;
      }
    } else if (info->key == Key::Question) {
      if (questions.size() >= static_cast<size_t>(MaxQuestions)) {
        if (!tooManyReported) {
          diagnostics.error(lineNumber, QuestionCountError(questions.size() + 1));
          tooManyReported = true;
        }
        continue;
      }
      questions.emplace_back();
      questions.back().line = lineNumber;
      field = &questions.back().fields[static_cast<int>(Key::Question)];
    } else {
      if (questions.empty()) {
        diagnostics.error(lineNumber, Quoted(info->key) +
                                          " vient avant toute question : commencez chaque question "
                                          "par « question: »");
        continue;
      }
      if (tooManyReported) continue;
      field = &questions.back().fields[static_cast<int>(info->key)];
      if (field->present) {
        diagnostics.error(lineNumber, "cette question a déjà sa ligne " + Quoted(info->key) + " (ligne " +
                                          std::to_string(field->line) +
                                          ") ; commencez la question suivante par « question: »");
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
    if (field.present) ApplyText(field, *entry.target, diagnostics);
  }
  if (!header[static_cast<int>(Key::Title)].present) {
    diagnostics.error(0,
                      "pas de ligne « titre: » : le quiz a besoin d'un titre (c'est le titre de la fenêtre du "
                      "lecteur)");
  }

  const bool twoAnswers = FieldsPerQuestion(quiz.answersPerQuestion) == 2;
  const bool hasReveal = HasRevealTexts(quiz.revealMode);
  const bool hasSecondReveal = RevealTextsPerQuestion(quiz.revealMode) == 2;
  for (size_t q = 0; q < questions.size(); ++q) {
    const RawQuestion& raw = questions[q];
    const std::string number = "la question " + std::to_string(q + 1);
    AuthoredQuestion question;
    question.line = raw.line;
    const RawField* fields = raw.fields;
    auto field = [&](Key key) -> const RawField& { return fields[static_cast<int>(key)]; };

    ApplyText(field(Key::Question), question.questionText, diagnostics);
    if (!field(Key::Answer1).present) {
      diagnostics.error(raw.line, number + " n'a pas de ligne « réponse: »");
    } else {
      ApplyText(field(Key::Answer1), question.answer1, diagnostics);
    }
    if (twoAnswers && !field(Key::Answer2).present) {
      diagnostics.error(raw.line, number +
                                      " n'a pas de ligne « réponse2: », alors que le quiz a deux réponses par "
                                      "question");
    } else if (!twoAnswers && field(Key::Answer2).present) {
      diagnostics.error(field(Key::Answer2).line, FieldNeedsSettingMessage(QuizField::Answer2));
    } else if (twoAnswers) {
      ApplyText(field(Key::Answer2), question.answer2, diagnostics);
    }
    if (field(Key::Reveal1).present) {
      if (!hasReveal) {
        diagnostics.error(field(Key::Reveal1).line, FieldNeedsSettingMessage(QuizField::Reveal1));
      } else {
        ApplyText(field(Key::Reveal1), question.revealText, diagnostics);
      }
    }
    if (field(Key::Reveal2).present) {
      if (!hasSecondReveal) {
        diagnostics.error(field(Key::Reveal2).line, FieldNeedsSettingMessage(QuizField::Reveal2));
      } else {
        ApplyText(field(Key::Reveal2), question.secondRevealText, diagnostics);
      }
    }
    if (!field(Key::Code).present) {
      diagnostics.error(raw.line, number + " n'a pas de ligne « code: » : le quiz a " +
                                      std::to_string(questions.size()) +
                                      (questions.size() > 1 ? " questions" : " question") +
                                      " et demande autant de codes de score (un par question, « code: » "
                                      "peut être vide)");
    } else {
      ApplyText(field(Key::Code), question.scoreCode, diagnostics);
      if (q == static_cast<size_t>(ScoreCodeSlots)) {
        diagnostics.warning(field(Key::Code).line, ScoreCodeSlotsWarning(q + 1));
      }
    }
    quiz.questions.push_back(question);
  }
  if (questions.empty() && !tooManyReported) diagnostics.warning(0, NoQuestionWarning(0));

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
  if (quiz.visibility == 1)
    out += "questions visibles: oui\n";
  else if (quiz.visibility == 0)
    out += "questions visibles: non\n";
  else
    out += "questions visibles: " + std::to_string(quiz.visibility) + "\n";
  out += u8"réponses par question: " + std::to_string(quiz.answersPerQuestion) + "\n";
  out += u8"mode révélation: " + std::to_string(quiz.revealMode) + "\n";
  out += "couleur: " + std::to_string(quiz.red) + " " + std::to_string(quiz.green) + " " + std::to_string(quiz.blue) +
         "\n";
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
