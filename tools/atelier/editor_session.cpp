// The session's commands, its prompt, typing, the problems list and what
// the front end shows. Files and output have their own sources.
#include "editor_session.h"

#include <algorithm>

#include "cp1252.h"
#include "session_text.h"
#include "source_keywords.h"
#include "validation.h"

const FieldDisplay HeaderFieldDisplays[3] = {
    {QuizField::Title, u8"&Titre :", false},
    {QuizField::Author, u8"A&uteur :", false},
    {QuizField::Explanation, u8"E&xplication :", true},
};
const FieldDisplay RowFieldDisplays[6] = {
    {QuizField::Question, u8"Qu&estion :", true},    {QuizField::Answer1, u8"Répon&se :", false},
    {QuizField::Answer2, u8"Réponse &2 :", false},   {QuizField::Reveal1, u8"Ré&vélation :", true},
    {QuizField::Reveal2, u8"Révélati&on 2 :", true}, {QuizField::Code, u8"&Code de score :", false},
};
const char* const ListColumnTitles[ListColumnCount] = {u8"N°", u8"Question", u8"Réponse(s) attendue(s)", u8"Révélation",
                                                       u8"Code"};

namespace {

// The reveal modes the player knows; any other plays as 0.
const struct {
  int mode;
  const char* text;
} RevealModes[] = {
    {0, u8"0 : aucun texte révélé"},
    {2, u8"2 : le texte d'une question trouvée"},
    {3, u8"3 : comme 2, avec un second texte"},
    {4, u8"4 : tous les textes, une fois tout trouvé"},
};

// A quiz text on one line, for a cell: its line breaks shown as ¶.
std::string OneLine(const std::string& cp1252) {
  std::string text = Utf8(cp1252);
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.replace(at, 2, u8" ¶ ");
  return text;
}

// The first character of a typed text that Windows-1252 lacks, as the
// rules count it: line (from 0) and column (from 1); false when none.
bool FindRefusedCharacter(const std::string& utf8, int& line, int& column) {
  line = 0;
  column = 1;
  for (size_t position = 0; position < utf8.size();) {
    uint32_t c = 0;
    if (!DecodeUtf8(utf8, position, c)) return true;
    if (c == '\n') {
      ++line;
      column = 1;
    } else if (c != '\r' || position >= utf8.size() || utf8[position] != '\n') {
      if (Cp1252FromCodePoint(c) < 0) return true;
      ++column;
    }
  }
  return false;
}

}  // namespace

EditorSession::EditorSession(EditorHost& host, const PlayerMetrics& metrics)
    : host_(host), metrics_(metrics), sizes_(new SizeCheck) {}

EditorSession::~EditorSession() = default;

// ---- the prompt ----

void EditorSession::ask(Prompt prompt, std::function<void(const Reply&)> then) {
  pending_.reset(new PendingPrompt{std::move(prompt), std::move(then)});
}

void EditorSession::tell(Tone tone, const std::string& text, Then then) {
  Prompt notice;
  notice.tone = tone;
  notice.text = text;
  ask(notice, [then](const Reply&) {
    if (then) then();
  });
}

const Prompt* EditorSession::prompt() const { return pending_ ? &pending_->prompt : nullptr; }

void EditorSession::reply(const Reply& reply) {
  if (!pending_) return;
  const std::function<void(const Reply&)> then = std::move(pending_->then);
  pending_.reset();  // the flow may ask again
  if (then) then(reply);
}

// ---- commands ----

bool EditorSession::available(Command command) const {
  const RowSet& rows = document_.selection();
  const int count = document_.questionCount();
  switch (command) {
    case Command::Undo: return document_.canUndo();
    case Command::Redo: return document_.canRedo();
    case Command::Add: return count < MaxQuestions;
    case Command::Duplicate: return !rows.empty() && count < MaxQuestions;
    case Command::Remove: return !rows.empty();
    case Command::MoveUp: return !rows.empty() && rows.front() > 0;
    case Command::MoveDown: return !rows.empty() && rows.back() < count - 1;
    case Command::ExportCsv:
    case Command::ExportGift: return count > 0;
    default: return true;
  }
}

void EditorSession::run(Command command) {
  if (pending_ || closed_) return;
  switch (command) {
    case Command::New: whenDiscarded([this] { newQuiz(); }); break;
    case Command::Open: whenDiscarded([this] { askOpenFile(); }); break;
    case Command::Save: save(nullptr); break;
    case Command::SaveAs: saveAs(nullptr); break;
    case Command::ImportCsv: importCsv(); break;
    case Command::ExportCsv: exportCsv(); break;
    case Command::Print: print(); break;
    case Command::Close: whenDiscarded([this] { closeEditor(); }); break;
    case Command::Undo: undoOrRedo(false); break;
    case Command::Redo: undoOrRedo(true); break;
    case Command::SelectAll: selectAll(); break;
    case Command::Add: addQuestion(); break;
    case Command::Duplicate:
      changeRows(!document_.selection().empty() && document_.duplicateRow(document_.selection().back()));
      break;
    case Command::Remove: changeRows(document_.removeRows(document_.selection())); break;
    case Command::MoveUp: changeRows(document_.moveRows(document_.selection(), -1)); break;
    case Command::MoveDown: changeRows(document_.moveRows(document_.selection(), 1)); break;
    case Command::Try: tryQuiz(); break;
    case Command::Build: buildProgram(); break;
    case Command::BuildPage: buildPage(); break;
    case Command::ExportGift: exportGift(); break;
  }
}

void EditorSession::changeRows(bool changed) {
  if (changed) quietBlank_ = false;
}

void EditorSession::addQuestion() {
  if (!document_.addQuestion(insertionRow())) return;
  quietBlank_ = false;
  focus_ = {false, static_cast<int>(QuizField::Question)};
}

void EditorSession::selectAll() {
  RowSet rows;
  for (int row = 0; row < document_.questionCount(); ++row) rows.push_back(row);
  document_.select(rows);
  focus_ = {true, -1};
}

// The status bar says what undo took back or redo did again.
void EditorSession::undoOrRedo(bool redo) {
  const std::string change = redo ? document_.redoName() : document_.undoName();
  if (!(redo ? document_.redo() : document_.undo())) return;
  status_ = (redo ? u8"Rétabli : " : u8"Annulé : ") + Utf8(change) + ".";
}

void EditorSession::select(const RowSet& rows) { document_.select(rows); }

void EditorSession::chooseAnswersPerQuestion(int choice) {
  if (document_.setAnswersPerQuestion(MinAnswersPerQuestion + choice)) quietBlank_ = false;
}

void EditorSession::chooseRevealMode(int choice) {
  const int known = static_cast<int>(sizeof RevealModes / sizeof RevealModes[0]);
  if (choice < 0 || choice >= known) return;  // the odd mode of a hand-written source: kept as it is
  if (document_.setRevealMode(RevealModes[choice].mode)) quietBlank_ = false;
}

void EditorSession::setColour(uint8_t red, uint8_t green, uint8_t blue) {
  if (document_.setColour(red, green, blue)) quietBlank_ = false;
}

void EditorSession::goToProblem(int index) {
  const std::vector<ProblemLine>& lines = problems();
  if (index < 0 || index >= static_cast<int>(lines.size())) return;
  if (lines[index].row >= 0) document_.select({lines[index].row});
  if (lines[index].field >= 0) focus_ = {false, lines[index].field};
}

FocusRequest EditorSession::takeFocus() {
  const FocusRequest focus = focus_;
  focus_ = FocusRequest();
  return focus;
}

int EditorSession::insertionRow() const {
  const RowSet& rows = document_.selection();
  return rows.empty() ? document_.questionCount() : rows.back() + 1;
}

// ---- typing ----

// A character the player cannot show does not get in: the field goes back to
// its text without it, and the status bar says which and why.
TypingResult EditorSession::type(QuizField field, const std::string& utf8) {
  if (pending_) return {true, fieldText(field)};
  const TextCheck check = CheckTextUtf8(field, utf8);
  int line = 0, column = 0;
  if (FindRefusedCharacter(utf8, line, column)) {
    std::string reason = u8"caractère impossible à afficher";
    for (const TextProblem& problem : check.problems) {
      if (problem.line == line && problem.column == column) reason = Utf8(ProblemText(column, problem.message));
    }
    status_ = u8"Refusé dans " + Quoted(Utf8(FieldKeyword(field))) + " : " + reason;
    return {true, fieldText(field)};
  }
  const int row = IsQuestionField(field) ? shownRow() : -1;
  if (IsQuestionField(field) && row < 0) return {};
  if (document_.typeText(field, row, check.bytes)) quietBlank_ = false;
  return {};
}

// ---- the problems list ----

// The problems of the quiz, as `ludex-pack check` finds them in the source
// Save writes; its packed sizes too when nothing else is wrong: measured at
// once when they cannot pass the player's limits or have been measured on
// these very payloads, else when compressNow, else soon (sizeCheckDue).
std::vector<QuizProblem> EditorSession::validate(bool compressNow) const {
  std::vector<QuizProblem> problems = ValidateQuiz(document_.quiz(), false, &metrics_);
  if (AnyError(problems)) return problems;
  const QuizPayloads payloads = EncodePayloads(document_.quiz());
  for (const std::string& error :
       {PlainSizeError(payloads.quiz, PayloadKind::Quiz), PlainSizeError(payloads.codes, PayloadKind::Codes)}) {
    if (!error.empty()) problems.push_back({QuizRule::PackedSize, -1, -1, true, error});
  }
  if (AnyError(problems) || (!MayPassCompressedLimit(payloads.quiz) && !MayPassCompressedLimit(payloads.codes))) {
    return problems;
  }
  SizeCheck& sizes = *sizes_;
  if (!sizes.measured || sizes.payloads.quiz != payloads.quiz || sizes.payloads.codes != payloads.codes) {
    if (!compressNow) {
      sizeCheckDue_ = true;
      return problems;
    }
    Diagnostics diagnostics;
    QuizPayloads streams;
    CompressPayloads(payloads, streams, diagnostics);
    sizes = {true, payloads, {}};
    for (const Diagnostic& d : diagnostics.items)
      sizes.problems.push_back({QuizRule::PackedSize, -1, -1, true, d.message});
  }
  problems.insert(problems.end(), sizes.problems.begin(), sizes.problems.end());
  return problems;
}

bool EditorSession::sizeCheckDue() const {
  problems();
  return sizeCheckDue_;
}

void EditorSession::checkSizes() {
  validate(true);
  ++sizeChecks_;
}

void EditorSession::makeProblems() const {
  sizeCheckDue_ = false;
  std::vector<QuizProblem> found = validate(false);
  if (quietBlank_ && !document_.modified() && document_.path().empty()) {
    found.erase(std::remove_if(
                    found.begin(), found.end(),
                    [](const QuizProblem& p) { return p.rule == QuizRule::NoQuestion || p.rule == QuizRule::Title; }),
                found.end());
  }
  problemLines_.clear();
  rowErrors_.assign(static_cast<size_t>(document_.questionCount()), false);
  errors_ = warnings_ = 0;
  for (const QuizProblem& problem : found) {
    (problem.isError ? errors_ : warnings_) += 1;
    if (problem.isError && problem.row >= 0 && problem.row < document_.questionCount()) rowErrors_[problem.row] = true;
    problemLines_.push_back({ProblemLineText(problem), problem.row, problem.field, problem.isError});
  }
}

const std::vector<ProblemLine>& EditorSession::problems() const {
  const bool quiet = quietBlank_;
  if (problemsRevision_ != document_.revision() || problemsQuiet_ != quiet || problemsSizeCheck_ != sizeChecks_) {
    makeProblems();
    problemsRevision_ = document_.revision();
    problemsQuiet_ = quiet;
    problemsSizeCheck_ = sizeChecks_;
  }
  return problemLines_;
}

bool EditorSession::rowHasError(int row) const {
  problems();
  return row >= 0 && row < static_cast<int>(rowErrors_.size()) && rowErrors_[row];
}

std::string EditorSession::problemsSummary() const {
  problems();
  if (errors_ == 0 && warnings_ == 0) return u8"Aucun problème";
  std::string summary;
  if (errors_ > 0) summary = std::to_string(errors_) + (errors_ > 1 ? " erreurs" : " erreur");
  if (warnings_ > 0) {
    summary +=
        (errors_ > 0 ? ", " : "") + std::to_string(warnings_) + (warnings_ > 1 ? " avertissements" : " avertissement");
  }
  return summary;
}

// ---- what the front end shows ----

std::string EditorSession::notice() const {
  if (host_.keepsCopies()) return "";
  return u8"Ce navigateur ne garde pas de copie de secours : une page fermée perd ce qui n'est pas enregistré. "
         u8"« Enregistrer » (Ctrl+S) garde le quiz dans un fichier.";
}

std::string EditorSession::windowTitle() const {
  std::string title = document_.path().empty() ? "Sans titre" : FileNameOf(document_.path());
  return title + (document_.modified() ? "*" : "") + " - Ludex Atelier";
}

std::string EditorSession::questionCount() const {
  const int count = document_.questionCount();
  return std::to_string(count) + (count > 1 ? " questions" : " question");
}

std::string EditorSession::cell(int row, int column) const {
  if (row < 0 || row >= document_.questionCount()) return "";
  const AuthoredQuiz& quiz = document_.quiz();
  const AuthoredQuestion& question = quiz.questions[static_cast<size_t>(row)];
  switch (column) {
    case 0: return std::to_string(row + 1) + (rowHasError(row) ? " !" : "");  // marked, as a selected row is not red
    case 1: return OneLine(question.questionText);
    case 2:
      return HasSecondAnswer(quiz.answersPerQuestion) ? OneLine(question.answer1) + "  |  " + OneLine(question.answer2)
                                                      : OneLine(question.answer1);
    case 3:
      return FieldInUse(QuizField::Reveal1, quiz.answersPerQuestion, quiz.revealMode) ? OneLine(question.revealText)
                                                                                      : "";
    case 4: return OneLine(question.scoreCode);
    default: return "";
  }
}

int EditorSession::shownRow() const { return document_.selection().empty() ? -1 : document_.selection().front(); }

std::string EditorSession::rowLabel() const {
  if (shownRow() < 0) return u8"Aucune question choisie : ajoutez-en une (Inser) ou choisissez-en une dans la liste.";
  std::string text = "Question " + std::to_string(shownRow() + 1) + " sur " + std::to_string(document_.questionCount());
  const size_t selected = document_.selection().size();
  if (selected > 1) text += u8" (" + std::to_string(selected) + u8" questions sélectionnées)";
  return text;
}

std::string EditorSession::fieldText(QuizField field) const {
  if (IsQuestionField(field) && shownRow() < 0) return "";
  return Utf8(document_.text(field, shownRow()));
}

bool EditorSession::fieldEnabled(QuizField field) const {
  const AuthoredQuiz& quiz = document_.quiz();
  return !(IsQuestionField(field) && shownRow() < 0) && FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode);
}

std::string EditorSession::counter(QuizField field) const {
  if (!fieldEnabled(field)) return u8"—";
  return std::to_string(document_.text(field, shownRow()).size()) + " / " + std::to_string(MaxTextLength);
}

bool EditorSession::counterOverLimit(QuizField field) const {
  return fieldEnabled(field) && document_.text(field, shownRow()).size() > static_cast<size_t>(MaxTextLength);
}

std::vector<std::string> EditorSession::answersChoices() const {
  std::vector<std::string> choices;
  for (int count = MinAnswersPerQuestion; count <= MaxAnswersPerQuestion; ++count) {
    choices.push_back(std::to_string(count));
  }
  return choices;
}

int EditorSession::answersChoice() const { return document_.quiz().answersPerQuestion - MinAnswersPerQuestion; }

std::vector<std::string> EditorSession::revealModeChoices() const {
  std::vector<std::string> choices;
  for (const auto& choice : RevealModes) choices.push_back(choice.text);
  // A mode from a hand-written source, kept as it is.
  if (revealModeChoice() == static_cast<int>(choices.size())) {
    choices.push_back(std::to_string(document_.quiz().revealMode) + " : sans effet, comme 0");
  }
  return choices;
}

int EditorSession::revealModeChoice() const {
  int index = 0;
  for (const auto& choice : RevealModes) {
    if (choice.mode == document_.quiz().revealMode) return index;
    ++index;
  }
  return index;
}

void EditorSession::colour(uint8_t& red, uint8_t& green, uint8_t& blue) const {
  red = document_.quiz().red;
  green = document_.quiz().green;
  blue = document_.quiz().blue;
}
