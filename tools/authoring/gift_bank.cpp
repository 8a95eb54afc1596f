#include "gift_bank.h"

#include <algorithm>
#include <cctype>

#include "cp1252.h"
#include "french_text.h"
#include "quiz_rules.h"
#include "text_decoding.h"

namespace {

// A text with its escapes read: each character, and whether a backslash
// made it plain text (so that no "{", "=" or "#" of it means anything).
struct Marked {
  std::string chars;
  std::vector<bool> escaped;

  size_t size() const { return chars.size(); }
  // The first unescaped occurrence of what at or after from, or npos.
  size_t find(const std::string& what, size_t from = 0) const {
    for (size_t at = chars.find(what, from); at != std::string::npos; at = chars.find(what, at + 1)) {
      if (std::none_of(escaped.begin() + static_cast<std::ptrdiff_t>(at),
                       escaped.begin() + static_cast<std::ptrdiff_t>(at + what.size()), [](bool e) { return e; }))
        return at;
    }
    return std::string::npos;
  }
  size_t findLast(const std::string& what) const {
    size_t found = std::string::npos;
    for (size_t at = find(what); at != std::string::npos; at = find(what, at + 1)) found = at;
    return found;
  }
  Marked part(size_t from, size_t to = std::string::npos) const {
    to = std::min(to, size());
    from = std::min(from, to);
    return {chars.substr(from, to - from), std::vector<bool>(escaped.begin() + static_cast<std::ptrdiff_t>(from),
                                                             escaped.begin() + static_cast<std::ptrdiff_t>(to))};
  }
  Marked trimmed() const {
    size_t from = 0, to = size();
    const auto blank = [this](size_t at) { return !escaped[at] && std::string(" \t\r\n").find(chars[at]) != std::string::npos; };
    while (from < to && blank(from)) ++from;
    while (to > from && blank(to - 1)) --to;
    return part(from, to);
  }
  bool startsWith(const std::string& what) const { return find(what) == 0 && chars.compare(0, what.size(), what) == 0; }
};

const char* const Escapable = "~=#{}:\\";

Marked Unescape(const std::string& text) {
  Marked marked;
  for (size_t at = 0; at < text.size(); ++at) {
    const char next = at + 1 < text.size() ? text[at + 1] : '\0';
    if (text[at] == '\\' && next != '\0' && (std::string(Escapable).find(next) != std::string::npos || next == 'n')) {
      marked.chars += next == 'n' ? '\n' : next;
      marked.escaped.push_back(true);
      ++at;
    } else {
      marked.chars += text[at];
      marked.escaped.push_back(false);
    }
  }
  return marked;
}

// ---- format markers ----

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
  for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size()) text.replace(at, what.size(), with);
}

// An HTML text as the words a reader sees: tags gone (a line break or a
// paragraph's end a line break), the usual entities their characters.
std::string TextOfHtml(const std::string& html) {
  std::string text;
  for (size_t at = 0; at < html.size(); ++at) {
    if (html[at] != '<') {
      text += html[at];
      continue;
    }
    const size_t end = html.find('>', at);
    if (end == std::string::npos) {
      text += html.substr(at);
      break;
    }
    std::string tag = html.substr(at + 1, std::min<size_t>(end - at - 1, 4));
    for (char& c : tag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tag.compare(0, 2, "br") == 0 || tag.compare(0, 2, "/p") == 0 || tag.compare(0, 3, "/di") == 0) text += '\n';
    at = end;
  }
  const struct {
    const char* entity;
    const char* utf8;
  } entities[] = {{"&nbsp;", "\xC2\xA0"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&apos;", "'"}};
  for (const auto& entity : entities) ReplaceAll(text, entity.entity, entity.utf8);
  ReplaceAll(text, "&amp;", "&");  // last: "&amp;lt;" is "&lt;"
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// Steps past one character of a UTF-8 text; whether it is a blank: a space,
// a tab, a line break, or what the player spells as a space or as nothing
// (a thin space, a file's BOM pasted in).
bool StepPastBlank(const std::string& text, size_t& at) {
  uint32_t c = 0;
  if (!DecodeUtf8(text, at, c)) {
    ++at;
    return false;
  }
  std::string spelling;
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' ||
         (Cp1252FromCodePoint(c) < 0 && NearestSpelling(c, spelling) && (spelling.empty() || spelling == " "));
}

// A text without the blanks at its ends: they mean nothing to a pupil, and
// GIFT cannot write one back, so a bank read, written and read again is the same.
std::string TrimmedOfBlanks(const std::string& text) {
  size_t from = text.size(), to = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    if (!StepPastBlank(text, at)) {
      from = std::min(from, start);
      to = at;
    }
  }
  return from < to ? text.substr(from, to - from) : "";
}

// A text of the bank as plain text: its format marker read, markdown's
// emphasis and HTML's tags taken off.
std::string PlainText(const Marked& marked) {
  const Marked text = marked.trimmed();
  std::string plain = text.chars;
  for (const char* format : {"[html]", "[moodle]", "[markdown]", "[plain]"}) {
    if (!text.startsWith(format)) continue;
    plain = text.part(std::char_traits<char>::length(format)).trimmed().chars;
    if (format[1] == 'h') plain = TextOfHtml(plain);
    if (format[2] == 'a') {
      ReplaceAll(plain, "**", "");
      ReplaceAll(plain, "__", "");
    }
    break;
  }
  std::string crlf;
  for (char c : TrimmedOfBlanks(plain)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return crlf;
}

// ---- questions ----

enum class GiftKind { ShortAnswer, Category, Description, Essay, Numerical, MultipleChoice, Matching, TrueFalse, Broken };

const char* KindName(GiftKind kind) {
  switch (kind) {
    case GiftKind::Description: return "description (sans r\xE9ponse)";
    case GiftKind::Essay: return "composition";
    case GiftKind::Numerical: return "num\xE9rique";
    case GiftKind::MultipleChoice: return "choix multiple";
    case GiftKind::Matching: return "appariement";
    case GiftKind::TrueFalse: return "vrai ou faux";
    default: return "accolades mal ferm\xE9" "es";
  }
}

struct GiftAnswer {
  std::string text;  // UTF-8, CR LF
  std::string feedback;
  std::string weight;  // "75" for "%75%"; empty for a full-credit answer
};

struct GiftQuestion {
  GiftKind kind = GiftKind::ShortAnswer;
  int line = 0;
  std::string title, text, generalFeedback;
  std::vector<GiftAnswer> answers;
  bool giftLike = false;  // its answers start as GIFT's do, or it has a title: no other text looks so
};

GiftKind KindOfAnswers(const Marked& answers) {
  if (answers.size() == 0) return GiftKind::Essay;
  if (answers.chars[0] == '#' && !answers.escaped[0]) return GiftKind::Numerical;
  if (answers.find("~") != std::string::npos) return GiftKind::MultipleChoice;
  if (answers.find("=") != std::string::npos && answers.find("->") != std::string::npos) return GiftKind::Matching;
  const std::string truth = answers.part(0, answers.find("#")).trimmed().chars;
  if (truth == "T" || truth == "TRUE" || truth == "F" || truth == "FALSE") return GiftKind::TrueFalse;
  return GiftKind::ShortAnswer;
}

// "%75%" at the start of an answer: its weight, taken off the answer.
std::string TakeWeight(Marked& answer) {
  if (!answer.startsWith("%")) return "";
  const size_t end = answer.find("%", 1);
  const std::string weight = end == std::string::npos ? "" : answer.chars.substr(1, end - 1);
  if (weight.empty() || weight.find_first_not_of("-0123456789.") != std::string::npos) return "";
  answer = answer.part(end + 1);
  return weight == "100" ? "" : weight;
}

void ReadAnswers(const Marked& section, GiftQuestion& question) {
  std::vector<Marked> pieces;
  for (size_t from = 0;;) {
    const size_t next = section.find("=", from);
    pieces.push_back(section.part(from, next));
    if (next == std::string::npos) break;
    from = next + 1;
  }
  if (!pieces.empty() && pieces.front().trimmed().size() == 0) pieces.erase(pieces.begin());
  for (Marked& piece : pieces) {
    piece = piece.trimmed();
    GiftAnswer answer;
    answer.weight = TakeWeight(piece);
    const size_t hash = piece.find("#");
    answer.text = PlainText(piece.part(0, hash));
    ReplaceAll(answer.text, "\r\n", " ");  // a pupil types an answer on one line
    if (hash != std::string::npos) answer.feedback = PlainText(piece.part(hash + 1));
    question.answers.push_back(answer);
  }
}

GiftQuestion ReadQuestion(const Marked& block, int line) {
  GiftQuestion question;
  question.line = line;
  Marked text = block;
  if (text.startsWith("$CATEGORY:")) {
    question.kind = GiftKind::Category;
    return question;
  }
  if (text.startsWith("::")) {
    const size_t end = text.find("::", 2);
    if (end != std::string::npos) {
      question.title = PlainText(text.part(2, end));
      text = text.part(end + 2).trimmed();
    }
  }
  const size_t open = text.find("{"), close = open == std::string::npos ? text.find("}") : text.find("}", open);
  if (open == std::string::npos && close == std::string::npos) {
    question.kind = GiftKind::Description;
    return question;
  }
  if (open == std::string::npos || close == std::string::npos) {
    question.kind = GiftKind::Broken;
    return question;
  }
  Marked section = text.part(open + 1, close).trimmed();
  const bool after = text.part(close + 1).trimmed().size() > 0;
  question.text = PlainText(text.part(0, open));
  if (after) {  // the answers inside the sentence: a blank in their place
    Marked blanked = text.part(0, open);
    blanked.chars += "_____" + text.chars.substr(close + 1);
    blanked.escaped.resize(open + 5, true);
    blanked.escaped.insert(blanked.escaped.end(), text.escaped.begin() + static_cast<std::ptrdiff_t>(close + 1),
                           text.escaped.end());
    question.text = PlainText(blanked);
  }
  const size_t general = section.findLast("####");
  if (general != std::string::npos) {
    question.generalFeedback = PlainText(section.part(general + 4));
    section = section.part(0, general).trimmed();
  }
  question.kind = KindOfAnswers(section);
  question.giftLike = !question.title.empty() || question.kind != GiftKind::ShortAnswer || section.startsWith("=");
  if (question.kind == GiftKind::ShortAnswer) ReadAnswers(section, question);
  return question;
}

// The bank's questions: blocks of lines between blank lines, "//" comment lines read over.
std::vector<GiftQuestion> ReadQuestions(const std::string& utf8) {
  std::vector<GiftQuestion> questions;
  std::string block;
  int line = 0, first = 0;
  size_t start = 0;
  while (start <= utf8.size()) {
    const size_t end = std::min(utf8.find('\n', start), utf8.size());
    std::string text = utf8.substr(start, end - start);
    start = end + 1;
    ++line;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const size_t lead = text.find_first_not_of(" \t");
    const bool blank = lead == std::string::npos;
    if (!blank && text.compare(lead, 2, "//") == 0) continue;
    if (!blank) {
      if (block.empty()) first = line;
      block += (block.empty() ? "" : "\n") + text;
    }
    if ((blank || start > utf8.size()) && !block.empty()) {
      questions.push_back(ReadQuestion(Unescape(block).trimmed(), first));
      block.clear();
    }
  }
  return questions;
}

// ---- what the reader tells ----

const size_t MaxListed = 8;  // items a note lists before "…"

// The questions of each kind left out: "choix multiple : questions 1 (ligne 3), 4 (ligne 12)".
void NoteLeftOut(const std::vector<std::pair<GiftKind, std::string>>& leftOut, TableText& table) {
  for (GiftKind kind : {GiftKind::MultipleChoice, GiftKind::TrueFalse, GiftKind::Matching, GiftKind::Numerical,
                        GiftKind::Essay, GiftKind::Description, GiftKind::Broken}) {
    std::string list;
    size_t count = 0;
    for (const auto& [other, place] : leftOut) {
      if (other != kind) continue;
      if (count++ < MaxListed) list += (list.empty() ? "" : ", ") + place;
    }
    if (count == 0) continue;
    table.problems.push_back(std::string(count > 1 ? "questions " : "question ") + list +
                             (count > MaxListed ? ", \x85" : "") + " : " + KindName(kind) +
                             (kind == GiftKind::Broken ? "" : ", pas \xE0 r\xE9ponse courte") +
                             (count > 1 ? ", laiss\xE9" "es de c\xF4t\xE9" : ", laiss\xE9" "e de c\xF4t\xE9"));
  }
}

// A short-answer question as a row; what it leaves out goes to the notes.
TableRow RowOf(const GiftQuestion& question, const std::string& place, std::vector<std::string>& partial,
               bool& feedbackLeftOut) {
  std::vector<std::string> accepted;
  const GiftAnswer* expected = nullptr;
  std::string lesser;
  for (const GiftAnswer& answer : question.answers) {
    if (!answer.weight.empty()) {
      lesser += (lesser.empty() ? "" : ", ") + Quoted(Cp1252FromUtf8Lossy(answer.text)) + " (" + answer.weight + " %)";
    } else if (expected == nullptr) {
      expected = &answer;
    } else {
      accepted.push_back(answer.text);
    }
    feedbackLeftOut = feedbackLeftOut || (!answer.feedback.empty() && (&answer != expected || !question.generalFeedback.empty()));
  }
  if (!lesser.empty()) partial.push_back(place + " : " + lesser);
  if (accepted.size() > static_cast<size_t>(MaxAcceptedAnswers)) {
    partial.push_back(place + " : " + std::to_string(accepted.size()) + " r\xE9ponses accept\xE9" "es, le lecteur en garde " +
                      std::to_string(MaxAcceptedAnswers) + " ; les autres sont laiss\xE9" "es de c\xF4t\xE9");
    accepted.resize(MaxAcceptedAnswers);
  }
  TableRow row;
  row.line = question.line;
  std::string joined;
  for (const std::string& answer : accepted) joined += (joined.empty() ? "" : "\r\n") + answer;
  const std::string feedback = !question.generalFeedback.empty() ? question.generalFeedback
                               : expected != nullptr              ? expected->feedback
                                                                  : "";
  row.cells = {question.title, question.text, expected != nullptr ? expected->text : "", joined, feedback};
  row.cellCount = GiftColumnCount;
  return row;
}

TableText TableOf(const std::vector<GiftQuestion>& questions) {
  TableText table;
  table.gift = table.headerRow = true;
  table.columnCount = GiftColumnCount;
  table.headerFields = {LeftOutColumn, static_cast<int>(QuizField::Question), static_cast<int>(QuizField::Answer1),
                        static_cast<int>(QuizField::Accepted1), static_cast<int>(QuizField::Reveal1)};
  table.columnNames = {"Titre", "Question", u8"R\u00e9ponse", u8"Accept\u00e9es aussi", u8"Commentaire g\u00e9n\u00e9ral"};
  std::vector<std::pair<GiftKind, std::string>> leftOut;
  std::vector<std::string> partial;
  bool feedbackLeftOut = false;
  int number = 0;
  for (const GiftQuestion& question : questions) {
    if (question.kind == GiftKind::Category) continue;
    const std::string place = std::to_string(++number) + " (ligne " + std::to_string(question.line) + ")";
    if (question.kind != GiftKind::ShortAnswer) {
      leftOut.push_back({question.kind, place});
    } else if (table.rows.size() == static_cast<size_t>(MaxQuestions)) {
      ++table.rowsLeftOut;
    } else {
      table.rows.push_back(RowOf(question, "question " + place, partial, feedbackLeftOut));
    }
  }
  NoteLeftOut(leftOut, table);
  if (!partial.empty()) {
    std::string note = "r\xE9ponses qui ne valent pas 100 %, laiss\xE9" "es de c\xF4t\xE9 (le lecteur n'en donne pas une part) :";
    for (size_t k = 0; k < partial.size() && k < MaxListed; ++k) note += "\n  " + partial[k];
    table.problems.push_back(note + (partial.size() > MaxListed ? "\n  \x85" : ""));
  }
  if (feedbackLeftOut) {
    table.problems.push_back(
        "les commentaires propres \xE0 chaque r\xE9ponse (apr\xE8s \xAB # \xBB) sont laiss\xE9s de c\xF4t\xE9 ; le "
        "commentaire g\xE9n\xE9ral (\xAB #### \xBB), ou \xE0 d\xE9" "faut celui de la r\xE9ponse attendue, devient la "
        "r\xE9v\xE9lation");
  }
  return table;
}

}  // namespace

TableText ReadGiftBank(const std::string& bytes) {
  TableText table;
  if (bytes.size() > MaxTableBytes) {
    table.problems.push_back("le fichier fait " + std::to_string(bytes.size()) + " octets ; l'import en lit au plus " +
                             std::to_string(MaxTableBytes) + " octets");
    return table;
  }
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    table.problems.push_back("le fichier est en UTF-16 : enregistrez-le en UTF-8");
    return table;
  }
  const DecodedText decoded = DecodeText(bytes, true);
  table = TableOf(ReadQuestions(decoded.utf8));
  table.windows1252 = decoded.windows1252;
  for (const std::string& note : {StrayBytesMessage(decoded, true), ControlsMessage(decoded, true)}) {
    if (!note.empty()) table.problems.insert(table.problems.begin(), note);
  }
  return table;
}

bool LooksLikeGift(const std::string& bytes) {
  if (bytes.size() > MaxTableBytes || bytes.find('\0') != std::string::npos) return false;
  int gift = 0, other = 0;
  for (const GiftQuestion& question : ReadQuestions(DecodeText(bytes, false).utf8)) {
    const bool answered = question.kind != GiftKind::Description && question.kind != GiftKind::Broken;
    ((answered && question.giftLike) || question.kind == GiftKind::Category || !question.title.empty() ? gift : other) += 1;
  }
  return gift > 0 && gift >= other;
}

// ---- writing ----

namespace {

// A text of the quiz as GIFT writes it: its characters escaped, a line break "\n".
std::string Escaped(const std::string& bytes) {
  std::string out;
  for (size_t at = 0; at < bytes.size(); ++at) {
    const char c = bytes[at];
    if (c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') {
      out += "\\n";
      ++at;
    } else if (std::string(Escapable).find(c) != std::string::npos) {
      out += '\\';
      out += c;
    } else if (c == '\n' || c == '\r') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return Utf8FromCp1252(out);
}

// An answer or a feedback: after "[plain]" when it starts as a format marker
// would; an answer after "%100%" when it starts as a weight would.
std::string EscapedPart(const std::string& bytes, bool answer) {
  const std::string text = Escaped(bytes);
  if (bytes.compare(0, 1, "[") == 0) return "[plain]" + text;
  return answer && bytes.compare(0, 1, "%") == 0 ? "%100%" + text : text;
}

// A category path takes "/" between levels: a title's own "/" is doubled.
std::string CategoryOf(const std::string& title) {
  std::string name;
  for (char c : Utf8FromCp1252(title)) name += c == '/' ? std::string("//") : c == '\r' || c == '\n' ? std::string(" ") : std::string(1, c);
  return name;
}

}  // namespace

std::string WriteGiftBank(const AuthoredQuiz& quiz, std::vector<std::string>& notes) {
  std::string out = u8"// " + CategoryOf(quiz.title) + u8"\n// Questions à réponse courte écrites par Ludex pour Moodle.\n\n";
  if (!quiz.title.empty()) out += "$CATEGORY: " + CategoryOf(quiz.title) + "\n\n";
  std::vector<int> empty, matching;
  const bool reveals = HasRevealTexts(quiz.revealMode);
  for (size_t row = 0; row < quiz.questions.size(); ++row) {
    const AuthoredQuestion& question = quiz.questions[row];
    const int number = static_cast<int>(row + 1);
    if (question.answer1.empty()) {
      empty.push_back(number);
      continue;
    }
    // [plain]: the texts show as written, and a line never starts with "//".
    out += "[plain]" + Escaped(question.questionText) + " {\n\t=" + EscapedPart(question.answer1, true) + "\n";
    bool arrow = question.answer1.find("->") != std::string::npos;
    for (const std::string& answer : AcceptedAnswerLines(question.accepted1)) {
      out += "\t=" + EscapedPart(answer, true) + "\n";
      arrow = arrow || answer.find("->") != std::string::npos;
    }
    if (arrow) matching.push_back(number);
    if (reveals && !question.revealText.empty()) out += "\t####" + EscapedPart(question.revealText, false) + "\n";
    out += "}\n\n";
  }
  const auto list = [](const std::vector<int>& numbers) {
    std::string text = numbers.size() > 1 ? "questions " : "question ";
    for (size_t k = 0; k < numbers.size(); ++k) text += (k > 0 ? ", " : "") + std::to_string(numbers[k]);
    return text;
  };
  if (!empty.empty()) notes.push_back(list(empty) + " : sans r\xE9ponse, laiss\xE9" "e(s) de c\xF4t\xE9");
  if (!matching.empty()) {
    notes.push_back(list(matching) + " : une r\xE9ponse contient \xAB -> \xBB, que Moodle lit comme une question "
                                     "d'appariement : \xE9" "crivez-la autrement avant d'importer le fichier");
  }
  if (HasSecondAnswer(quiz.answersPerQuestion)) {
    notes.push_back("une question GIFT \xE0 r\xE9ponse courte n'attend qu'une r\xE9ponse : les secondes r\xE9ponses "
                    "du quiz ne sont pas \xE9" "crites");
  }
  return out;
}
