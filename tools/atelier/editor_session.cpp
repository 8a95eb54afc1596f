// The session's state and its dispatch: its prompt, its commands, the
// author's choices and typing. What the front end shows (session_view.cpp),
// files, output and the problems list have their own sources.
#include "editor_session.h"

#include "cp1252.h"
#include "session_text.h"
#include "source_keywords.h"


EditorSession::EditorSession(EditorHost& host, const PlayerMetrics& metrics)
    : host_(host), metrics_(metrics), problems_(document_, metrics) {}

EditorSession::~EditorSession() = default;

// ---- the prompt ----

void EditorSession::ask(Prompt prompt, std::function<void(const Reply&)> then) {
  pending_.reset(new PendingPrompt{std::move(prompt), std::move(then)});
}

void EditorSession::say(const std::string& status) {
  status_ = status;
  statusRevision_ = document_.revision();
}

std::string EditorSession::status() const {
  return statusRevision_ == document_.revision() ? status_ : std::string();
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

void EditorSession::runCommand(Command command) {
  if (pending_ || closed_) return;
  say("");  // each command says what it did, if anything
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
    case Command::BuildScorm: buildScorm(); break;
    case Command::ExportGift: exportGift(); break;
    case Command::Paste:
    case Command::ChooseColour: break;  // the front end's own
  }
}

void EditorSession::changeRows(bool changed) {
  if (changed) problems_.keepQuiet(false);
}

void EditorSession::addQuestion() {
  if (!document_.addQuestion(insertionRow())) return;
  problems_.keepQuiet(false);
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
  say((redo ? u8"Rétabli : " : u8"Annulé : ") + Utf8(change) + ".");
}

void EditorSession::select(const RowSet& rows) {
  const RowSet before = document_.selection();
  document_.select(rows);
  if (document_.selection() != before) say("");
}

// Fewer answers per question set second answers aside: the author says so first.
void EditorSession::chooseAnswersPerQuestion(int choice) {
  const int count = MinAnswersPerQuestion + choice;
  const AuthoredQuiz& quiz = document_.quiz();
  size_t seconds = 0;
  for (const AuthoredQuestion& question : quiz.questions) seconds += !question.answer2.empty();
  if (pending_ || count >= quiz.answersPerQuestion || seconds == 0) return setAnswersPerQuestion(count);
  Prompt question;
  question.kind = PromptKind::Confirm;
  question.tone = Tone::Question;
  question.text = (seconds == 1 ? std::string(u8"Une question a une réponse 2")
                                : std::to_string(seconds) + u8" questions ont une réponse 2") +
                  u8". Avec une seule réponse par question, le lecteur ne s'en sert pas : " +
                  (seconds == 1 ? u8"elle sera mise de côté" : u8"elles seront mises de côté") +
                  u8", grisées, gardées en commentaire dans la source enregistrée, et reviendront si vous repassez "
                  u8"à 2 réponses par question.\n\nPasser à une réponse par question ?";
  ask(question, [this, count](const Reply& reply) {
    if (reply.answer == Answer::Ok) setAnswersPerQuestion(count);
  });
}

void EditorSession::setAnswersPerQuestion(int count) {
  if (document_.setAnswersPerQuestion(count)) problems_.keepQuiet(false);
}

void EditorSession::setColour(uint8_t red, uint8_t green, uint8_t blue) {
  if (document_.setColour(red, green, blue)) problems_.keepQuiet(false);
}

void EditorSession::takeSuggestion(QuizField answerField, int index) {
  const std::vector<std::string> offered = suggestions(answerField);
  if (pending_ || index < 0 || index >= static_cast<int>(offered.size())) return;
  const QuizField acceptedField = AcceptedFieldOf(answerField);
  std::vector<std::string> answers = AcceptedAnswerLines(document_.text(acceptedField, shownRow()));
  answers.push_back(ForCore(offered[static_cast<size_t>(index)]));
  if (!document_.setText(acceptedField, shownRow(), JoinedAcceptedAnswers(answers))) return;
  problems_.keepQuiet(false);
  say(u8"Réponse acceptée ajoutée : " + QuotedUtf8(offered[static_cast<size_t>(index)]) + ".");
  // The last one taken: the suggestions go, the keyboard to the accepted answers.
  if (suggestions(answerField).empty()) focus_ = {false, static_cast<int>(acceptedField)};
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

// A character the player cannot show does not cost the rest of the text:
// it takes its nearest spelling, or "?", as an undo step of its own, and
// the problems list says what changed.
TypingResult EditorSession::typeInto(QuizField field, const std::string& utf8) {
  if (pending_) return {true, fieldText(field)};
  const int row = IsQuestionField(field) ? shownRow() : -1;
  if (IsQuestionField(field) && row < 0) return {};
  if (!IsValidUtf8(utf8)) {
    say(u8"Refusé dans " + QuotedUtf8(Utf8(FieldKeyword(field))) + u8" : ce texte n'est pas de l'UTF-8 valide.");
    return {true, fieldText(field)};
  }
  std::vector<Respelling> changes;
  const TextCheck check = CheckTextUtf8(field, RespellForPlayer(utf8, &changes));
  if (changes.empty()) {
    if (document_.typeText(field, row, check.bytes)) problems_.keepQuiet(false);
    return {};
  }
  document_.endTyping();
  if (document_.setText(field, row, check.bytes)) problems_.keepQuiet(false);
  document_.endTyping();
  problems_.noteRespellings(field, row, changes);
  return {true, fieldText(field)};
}
