#include "document.h"

#include <algorithm>
#include <utility>

#include "cp1252.h"
#include "french_text.h"
#include "source_keywords.h"

namespace {

// Sorted, without repeats, every row in [0, count).
RowSet ValidRows(RowSet rows, int count) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int row) { return row < 0 || row >= count; }),
             rows.end());
  return rows;
}

// The first line of a source when it is a comment other than the writer's own:
// the writer's heading, or the author's first comment, which Save keeps (in
// UTF-8, the encoding Save writes).
std::string FirstComment(const std::string& bytes) {
  if (bytes.compare(0, 2, "# ") != 0) return "";
  std::string line = bytes.substr(2, bytes.find('\n') - 2);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.compare(0, 8, "Format :") == 0) return "";
  return IsValidUtf8(line) ? line : Utf8FromCp1252(line);
}

// Whether the writer's form of a quiz read with errors keeps every one of
// them: then each lies in a text the quiz holds whole. An error the parser
// loses on the way (a line it could not place, a character turned into '?')
// does not come back.
bool ErrorsKeptByWriter(const AuthoredQuiz& quiz, size_t errors) {
  const std::string written = WriteQuizSource(quiz, "");
  AuthoredQuiz again;
  Diagnostics problems;
  ParseQuizSource(written, again, problems);
  return problems.errorCount() == errors && WriteQuizSource(again, "") == written;
}

// A source saved before the writer named the guide it now names: the same form.
std::string WithCurrentFormatLine(std::string bytes) {
  const std::string earlier = u8"# Format : docs/quiz-format.md. « + » continue un texte à la ligne.\n";
  const size_t at = bytes.find(earlier);
  if (at != std::string::npos && at == bytes.find("# Format : ")) bytes.replace(at, earlier.size(), SourceFormatLine);
  return bytes;
}

std::string QuestionName(int row) { return "la question " + std::to_string(row + 1); }

std::string FieldChange(QuizField field, int row) {
  std::string name = "la saisie dans " + Quoted(FieldKeyword(field));
  return IsQuestionField(field) ? name + " (question " + std::to_string(row + 1) + ")" : name;
}

// The fields of a question, in the order of a source.
const QuizField QuestionFields[] = {QuizField::Question,  QuizField::Answer1, QuizField::Accepted1, QuizField::Answer2,
                                    QuizField::Accepted2, QuizField::Reveal1, QuizField::Reveal2,   QuizField::Code};

}  // namespace

std::vector<UnusedText> UnusedTexts(const AuthoredQuiz& quiz) {
  std::vector<UnusedText> unused;
  for (QuizField field : QuestionFields) {
    if (FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) continue;
    size_t count = 0;
    for (const AuthoredQuestion& question : quiz.questions) count += !FieldText(question, field)->empty();
    if (count > 0) unused.push_back({field, count});
  }
  return unused;
}

// "2 questions ont une réponse 2, qui ne sert qu'avec 2 réponses par question"
std::string UnusedTextLine(const UnusedText& unused) {
  std::string modes;
  for (int mode = 0; mode <= UINT8_MAX; ++mode) {
    if (!FieldInUse(unused.field, MaxAnswersPerQuestion, mode)) continue;
    modes += (modes.empty() ? "" : ", ") + std::to_string(mode);
  }
  const size_t last = modes.rfind(", ");
  if (last != std::string::npos) modes.replace(last, 2, " ou ");
  const bool second = unused.field == QuizField::Answer2 || unused.field == QuizField::Accepted2;
  const char* name = unused.field == QuizField::Answer2     ? "une r\xE9ponse 2"
                     : unused.field == QuizField::Accepted2 ? "des r\xE9ponses accept\xE9" "es pour la r\xE9ponse 2"
                     : unused.field == QuizField::Reveal1   ? "une r\xE9v\xE9lation"
                                                            : "une r\xE9v\xE9lation 2";
  const std::string setting = second
                                  ? std::to_string(MaxAnswersPerQuestion) + " r\xE9ponses par question"
                                  : "le mode de r\xE9v\xE9lation " + modes;
  return (unused.count == 1 ? std::string("une question a") : Counted(unused.count, "question a", "questions ont")) + " " + name + ", qui ne sert qu'avec " + setting;
}

const char* const RewriteNotice =
    "Ce fichier a \xE9t\xE9 \xE9"
    "crit \xE0 la main. Ludex Atelier l'enregistre sous sa forme habituelle : le quiz reste le m\xEAme, "
    "mais seul le premier commentaire est gard\xE9, et les lignes vides et l'orthographe des mots-cl\xE9s suivent "
    "celles "
    "de Ludex.";

SourceRead ReadSource(const std::string& bytes, const std::string& fileName) {
  SourceRead read;
  read.diagnostics.fileName = fileName;
  read.notASource = bytes.size() > MaxSourceBytes
                        ? "ce fichier est trop grand pour \xEAtre une source de quiz (plus de " +
                              std::to_string(MaxSourceBytes >> 20) + " Mo)"
                        : NotASourceReason(bytes);
  if (!read.notASource.empty()) {
    read.diagnostics.error(0, read.notASource);
    return read;
  }
  read.ok = ParseQuizSource(bytes, read.quiz, read.diagnostics);
  size_t errors = read.diagnostics.errorCount();
  if (read.quiz.questions.size() > static_cast<size_t>(MaxQuestions)) {
    read.questionsInSource = read.quiz.questions.size();
    read.quiz.questions.resize(MaxQuestions);
    read.ok = --errors == 0;  // the count's own error is gone with the questions past the limit
  }
  if (!read.ok) {
    read.textErrorsOnly = ErrorsKeptByWriter(read.quiz, errors);
    if (!read.textErrorsOnly) return read;
  }
  read.heading = FirstComment(bytes);
  const std::string written = WriteQuizSource(read.quiz, read.heading);
  read.canonical = read.questionsInSource == 0 && (written == bytes || written == WithCurrentFormatLine(bytes));
  return read;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

QuizDocument::QuizDocument() = default;

void QuizDocument::reset(const AuthoredQuiz& quiz, const std::string& path, const std::string& heading, bool modified) {
  current_ = State();
  typing_ = Typing();
  current_.quiz = quiz;
  current_.revision = nextRevision_++;
  undo_.clear();
  redo_.clear();
  savedRevision_ = modified ? -1 : current_.revision;
  recoveryRevision_ = current_.revision;
  path_ = path;
  heading_ = heading;
}

const std::string& QuizDocument::text(QuizField field, int row) const {
  static const std::string none;
  const std::string* text = FieldText(current_.quiz, field, row);
  return text != nullptr ? *text : none;
}

void QuizDocument::commit(State next, const std::string& change) {
  undo_.push_back(std::move(current_));
  if (undo_.size() > MaxUndoSteps) undo_.erase(undo_.begin());
  redo_.clear();
  current_ = std::move(next);
  current_.revision = nextRevision_++;
  current_.change = change;
}

bool QuizDocument::setText(QuizField field, int row, const std::string& bytes) {
  State next = current_;
  std::string* text = FieldText(next.quiz, field, row);
  const std::string value = WithCrLf(bytes);
  if (text == nullptr || *text == value) return false;
  *text = value;
  commit(std::move(next), FieldChange(field, row));
  return true;
}

bool QuizDocument::typeText(QuizField field, int row, const std::string& bytes) {
  const bool joins = typing_.revision == current_.revision && typing_.field == field && typing_.row == row &&
                     !undo_.empty() && current_.revision != savedRevision_;
  if (!joins) {
    if (!setText(field, row, bytes)) return false;
  } else {
    std::string* text = FieldText(current_.quiz, field, row);
    const std::string value = WithCrLf(bytes);
    if (text == nullptr || *text == value) return false;
    *text = value;  // the step before the first keystroke stays the one to undo to
    redo_.clear();
    current_.revision = nextRevision_++;
  }
  typing_ = {field, row, current_.revision};
  return true;
}

bool QuizDocument::setAnswersPerQuestion(int count) {
  if (count < MinAnswersPerQuestion || count > MaxAnswersPerQuestion || count == current_.quiz.answersPerQuestion) {
    return false;
  }
  State next = current_;
  next.quiz.answersPerQuestion = count;
  commit(std::move(next),
         "le passage \xE0 " + (count == 1 ? std::string("une r\xE9ponse") : Counted(count, "r\xE9ponse", "r\xE9ponses")) + " par question");
  return true;
}

bool QuizDocument::setRevealMode(int mode) {
  if (mode < 0 || mode > UINT8_MAX || mode == current_.quiz.revealMode) return false;  // the payload's byte
  State next = current_;
  next.quiz.revealMode = mode;
  commit(std::move(next), "le choix du mode de r\xE9v\xE9lation " + std::to_string(mode));
  return true;
}

bool QuizDocument::setColour(uint8_t red, uint8_t green, uint8_t blue) {
  const AuthoredQuiz& quiz = current_.quiz;
  if (quiz.red == red && quiz.green == green && quiz.blue == blue) return false;
  State next = current_;
  next.quiz.red = red;
  next.quiz.green = green;
  next.quiz.blue = blue;
  commit(std::move(next), "le choix de la couleur de fond");
  return true;
}

bool QuizDocument::addQuestion(int position) {
  return insertRows(position, {AuthoredQuestion()}, "l'ajout d'une question");
}

bool QuizDocument::insertQuestions(int position, const std::vector<AuthoredQuestion>& questions) {
  return insertRows(position, questions,
                    questions.size() == 1 ? std::string("l'ajout d'une question")
                                          : "l'ajout de " + std::to_string(questions.size()) + " questions");
}

bool QuizDocument::insertRows(int position, const std::vector<AuthoredQuestion>& questions, const std::string& change) {
  const int count = questionCount();
  if (questions.empty() || questions.size() > static_cast<size_t>(MaxQuestions - count)) return false;
  position = std::max(0, std::min(position, count));
  State next = current_;
  std::vector<AuthoredQuestion> added = questions;
  for (AuthoredQuestion& question : added) {
    question.line = 0;
    for (std::string* text : {&question.questionText, &question.answer1, &question.answer2, &question.revealText,
                              &question.secondRevealText, &question.scoreCode}) {
      *text = WithCrLf(*text);
    }
  }
  next.quiz.questions.insert(next.quiz.questions.begin() + position, added.begin(), added.end());
  next.selection.clear();
  for (size_t i = 0; i < added.size(); ++i) next.selection.push_back(position + static_cast<int>(i));
  commit(std::move(next), change);
  return true;
}

bool QuizDocument::removeRows(const RowSet& rows) {
  const RowSet valid = ValidRows(rows, questionCount());
  if (valid.empty()) return false;
  State next = current_;
  std::vector<AuthoredQuestion>& questions = next.quiz.questions;
  for (auto row = valid.rbegin(); row != valid.rend(); ++row) questions.erase(questions.begin() + *row);
  next.selection.clear();
  const int after = valid.back() + 1 - static_cast<int>(valid.size());  // the row below the last one removed
  if (!questions.empty()) next.selection.push_back(std::min(after, static_cast<int>(questions.size()) - 1));
  commit(std::move(next),
         "la suppression de " + (valid.size() == 1 ? QuestionName(valid[0]) : Counted(valid.size(), "question", "questions")));
  return true;
}

bool QuizDocument::moveRows(const RowSet& rows, int direction) {
  const RowSet valid = ValidRows(rows, questionCount());
  if (valid.empty() || (direction != -1 && direction != 1)) return false;
  if ((direction < 0 && valid.front() == 0) || (direction > 0 && valid.back() == questionCount() - 1)) return false;
  State next = current_;
  std::vector<AuthoredQuestion>& questions = next.quiz.questions;
  // Each selected row trades places with its neighbour, the nearest to the edge first,
  // so that a block of rows moves together.
  if (direction < 0) {
    for (int row : valid) std::swap(questions[row], questions[row - 1]);
  } else {
    for (auto row = valid.rbegin(); row != valid.rend(); ++row) std::swap(questions[*row], questions[*row + 1]);
  }
  next.selection = valid;
  for (int& row : next.selection) row += direction;
  commit(std::move(next), "le d\xE9placement de " +
                              (valid.size() == 1 ? QuestionName(valid[0]) : Counted(valid.size(), "question", "questions")) +
                              (direction < 0 ? " vers le haut" : " vers le bas"));
  return true;
}

bool QuizDocument::duplicateRow(int row) {
  if (row < 0 || row >= questionCount()) return false;
  return insertRows(row + 1, {current_.quiz.questions[row]}, "la copie de " + QuestionName(row));
}

void QuizDocument::select(const RowSet& rows) { current_.selection = ValidRows(rows, questionCount()); }

bool QuizDocument::undo() {
  if (undo_.empty()) return false;
  typing_ = Typing();
  redo_.push_back(std::move(current_));
  current_ = std::move(undo_.back());
  undo_.pop_back();
  return true;
}

bool QuizDocument::redo() {
  if (redo_.empty()) return false;
  typing_ = Typing();
  undo_.push_back(std::move(current_));
  current_ = std::move(redo_.back());
  redo_.pop_back();
  return true;
}

std::string QuizDocument::sourceText() const { return WriteQuizSource(current_.quiz, heading_); }

void QuizDocument::markSaved(const std::string& path) {
  path_ = path;
  savedRevision_ = current_.revision;
  recoveryRevision_ = current_.revision;
}

void QuizDocument::markSaved(const std::string& path, int revision) {
  path_ = path;
  savedRevision_ = revision;
  if (recoveryRevision_ < revision) recoveryRevision_ = revision;
}

bool QuizDocument::inHistory(int revision) const {
  if (current_.revision == revision) return true;
  return std::any_of(undo_.begin(), undo_.end(), [revision](const State& state) { return state.revision == revision; });
}
