// The session's commands, its prompt, typing, the problems list and what
// the front end shows. Files and output have their own sources.
#include "editor_session.h"

#include <algorithm>

#include "accepted_suggestions.h"
#include "cp1252.h"
#include "session_text.h"
#include "source_keywords.h"
#include "validation.h"

const FieldDisplay HeaderFieldDisplays[3] = {
    {QuizField::Title, u8"&Titre :", false},
    {QuizField::Author, u8"A&uteur :", false},
    {QuizField::Explanation, u8"E&xplication :", true},
};
const FieldDisplay RowFieldDisplays[8] = {
    {QuizField::Question, u8"Qu&estion :", true},
    {QuizField::Answer1, u8"Répon&se :", false},
    {QuizField::Accepted1, u8"&Acceptées aussi :", true},
    {QuizField::Answer2, u8"Réponse &2 :", false},
    {QuizField::Accepted2, u8"Auss&i :", true},
    {QuizField::Reveal1, u8"Ré&vélation :", true},
    {QuizField::Reveal2, u8"Révélati&on 2 :", true},
    {QuizField::Code, u8"&Code de score :", false},
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

// An expected answer for a cell, with how many more it accepts: "La Chine (+1)".
std::string WithAccepted(const std::string& answer, const std::string& accepted) {
  const size_t more = AcceptedAnswerLines(accepted).size();
  return OneLine(answer) + (more > 0 ? " (+" + std::to_string(more) + ")" : "");
}

// Where a replacement sits in a field's bytes (CR LF line breaks): the
// changes of one text, in its order, each spelled in one or more bytes.
std::vector<size_t> ReplacementOffsets(const std::string& bytes, const std::vector<Respelling>& changes) {
  std::vector<size_t> offsets;
  int line = -1;
  size_t lineStart = 0, shift = 0;
  for (const Respelling& change : changes) {
    if (change.line != line) {
      lineStart = 0;
      for (int k = 0; k < change.line; ++k) lineStart = bytes.find("\r\n", lineStart) + 2;
      line = change.line;
      shift = 0;
    }
    offsets.push_back(std::min(bytes.size(), lineStart + static_cast<size_t>(change.column - 1) + shift));
    shift += change.spelling.size() - 1;
  }
  return offsets;
}

// Where a problem of a row's field is in the source, for the problems list's
// order: the header (row -1) first, the rows, then the quiz as a whole (row
// MaxQuestions); within a row, its fields in their order, its other problems last.
int SourcePlace(int row, int field) {
  // The fields in the order a source writes them: an answer's accepted ones right after it.
  static const int FieldOrder[QuizFieldCount] = {0, 1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 7, 9};
  const int place = field >= 0 && field < QuizFieldCount ? FieldOrder[field] : QuizFieldCount;
  return (row + 1) * (QuizFieldCount + 1) + place;
}

// "« ᵉ » (U+1D49)"
std::string CharacterShown(uint32_t codePoint) {
  std::string glyph;
  AppendUtf8(glyph, codePoint);
  const std::string name = CodePointName(codePoint);
  return Quoted(glyph) + " (" + name.substr(0, name.find(' ')) + ")";
}

}  // namespace

EditorSession::EditorSession(EditorHost& host, const PlayerMetrics& metrics)
    : host_(host), metrics_(metrics), sizes_(new SizeCheck) {}

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

void EditorSession::run(Command command) {
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
  if (document_.setAnswersPerQuestion(count)) quietBlank_ = false;
}

void EditorSession::chooseRevealMode(int choice) {
  const int known = static_cast<int>(sizeof RevealModes / sizeof RevealModes[0]);
  if (choice < 0 || choice >= known) return;  // the odd mode of a hand-written source: kept as it is
  if (document_.setRevealMode(RevealModes[choice].mode)) quietBlank_ = false;
}

void EditorSession::setColour(uint8_t red, uint8_t green, uint8_t blue) {
  if (document_.setColour(red, green, blue)) quietBlank_ = false;
}

void EditorSession::takeSuggestion(QuizField answerField, int index) {
  const std::vector<std::string> offered = suggestions(answerField);
  if (pending_ || index < 0 || index >= static_cast<int>(offered.size())) return;
  const QuizField acceptedField = AcceptedFieldOf(answerField);
  std::vector<std::string> answers = AcceptedAnswerLines(document_.text(acceptedField, shownRow()));
  answers.push_back(ForCore(offered[static_cast<size_t>(index)]));
  if (!document_.setText(acceptedField, shownRow(), JoinedAcceptedAnswers(answers))) return;
  quietBlank_ = false;
  say(u8"Réponse acceptée ajoutée : " + Quoted(offered[static_cast<size_t>(index)]) + ".");
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
TypingResult EditorSession::type(QuizField field, const std::string& utf8) {
  if (pending_) return {true, fieldText(field)};
  const int row = IsQuestionField(field) ? shownRow() : -1;
  if (IsQuestionField(field) && row < 0) return {};
  if (!IsValidUtf8(utf8)) {
    say(u8"Refusé dans " + Quoted(Utf8(FieldKeyword(field))) + u8" : ce texte n'est pas de l'UTF-8 valide.");
    return {true, fieldText(field)};
  }
  std::vector<Respelling> changes;
  const TextCheck check = CheckTextUtf8(field, RespellForPlayer(utf8, &changes));
  if (changes.empty()) {
    if (document_.typeText(field, row, check.bytes)) quietBlank_ = false;
    return {};
  }
  document_.endTyping();
  if (document_.setText(field, row, check.bytes)) quietBlank_ = false;
  document_.endTyping();
  noteRespellings(field, row, document_.text(field, row), changes);
  return {true, fieldText(field)};
}

void EditorSession::noteRespellings(QuizField field, int row, const std::string& bytes,
                                    const std::vector<Respelling>& changes) {
  const std::vector<size_t> offsets = ReplacementOffsets(bytes, changes);
  for (size_t k = 0; k < changes.size(); ++k) {
    const Respelling& change = changes[k];
    const size_t from = offsets[k] < 4 ? 0 : offsets[k] - 4;
    TextNote note{document_.revision(), field, row, SourcePlace(row, static_cast<int>(field)),
                  bytes.substr(from, offsets[k] - from + change.spelling.size() + 4), !change.found, ""};
    const std::string line = ProblemLineText({QuizRule::Text, row, static_cast<int>(field), note.isError, ""});
    note.text = line + CharacterShown(change.codePoint) +
                (change.found ? u8" est devenu " + Quoted(Utf8(change.spelling)) +
                                    u8", car le lecteur ne peut pas l'afficher. Ctrl+Z annule le remplacement."
                              : u8" est devenu « ? » : le lecteur ne peut pas l'afficher, et rien ne s'en "
                                u8"approche. Remplacez ce « ? » par un autre texte.");
    notes_.push_back(note);
  }
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

// Errors first, then warnings, each in the order of the source; the
// characters replaced in a text beside its field's other problems.
void EditorSession::makeProblems() const {
  sizeCheckDue_ = false;
  std::vector<QuizProblem> found = validate(false);
  if (quietBlank_ && !document_.modified() && document_.path().empty()) {
    found.erase(std::remove_if(
                    found.begin(), found.end(),
                    [](const QuizProblem& p) { return p.rule == QuizRule::NoQuestion || p.rule == QuizRule::Title; }),
                found.end());
  }
  std::vector<ProblemLine> lines;
  std::vector<int> places;  // where each line is in the source (SourcePlace)
  for (const UnusedText& unused : UnusedTexts(document_.quiz())) {
    places.push_back(SourcePlace(-1, -1));
    lines.push_back({u8"Avertissement : " + Utf8(UnusedTextLine(unused)) +
                         (unused.count > 1 ? u8" : elles sont mises de côté (grisées), en commentaire dans la source."
                                           : u8" : elle est mise de côté (grisée), en commentaire dans la source."),
                     -1, -1, false});
  }
  for (const QuizProblem& problem : found) {
    lines.push_back({ProblemLineText(problem), problem.row, problem.field, problem.isError});
    const bool wholeQuiz = problem.rule == QuizRule::QuestionCount || problem.rule == QuizRule::NoQuestion ||
                           problem.rule == QuizRule::PackedSize;
    places.push_back(wholeQuiz ? SourcePlace(MaxQuestions, -1) : SourcePlace(problem.row, problem.field));
  }
  for (const TextNote& note : notes_) {
    if (!document_.inHistory(note.revision) || note.row >= document_.questionCount() ||
        document_.text(note.field, note.row).find(note.around) == std::string::npos) {
      continue;
    }
    const size_t at = static_cast<size_t>(
        std::find_if(places.begin(), places.end(), [&note](int place) { return place > note.place; }) - places.begin());
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), {note.text, note.row, static_cast<int>(note.field), note.isError});
    places.insert(places.begin() + static_cast<std::ptrdiff_t>(at), note.place);
  }
  std::stable_partition(lines.begin(), lines.end(), [](const ProblemLine& line) { return line.isError; });
  problemLines_ = lines;
  rowErrors_.assign(static_cast<size_t>(document_.questionCount()), false);
  errors_ = warnings_ = 0;
  for (const ProblemLine& line : lines) {
    (line.isError ? errors_ : warnings_) += 1;
    if (line.isError && line.row >= 0 && line.row < document_.questionCount()) rowErrors_[line.row] = true;
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
  const std::string warnings =
      std::to_string(warnings_) + (warnings_ > 1 ? " avertissements" : " avertissement");
  if (errors_ == 0) return warnings;
  const std::string errors = std::to_string(errors_) + (errors_ > 1 ? " erreurs" : " erreur") +
                             u8" — la construction est impossible";
  return warnings_ == 0 ? errors : errors + u8" — et " + warnings;
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
      return HasSecondAnswer(quiz.answersPerQuestion)
                 ? WithAccepted(question.answer1, question.accepted1) + "  |  " +
                       WithAccepted(question.answer2, question.accepted2)
                 : WithAccepted(question.answer1, question.accepted1);
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
  const std::string& text = document_.text(field, shownRow());
  if (IsAcceptedField(field)) {
    return std::to_string(AcceptedAnswerLines(text).size()) + " / " + std::to_string(MaxAcceptedAnswers);
  }
  return std::to_string(text.size()) + " / " + std::to_string(MaxTextLength);
}

bool EditorSession::counterOverLimit(QuizField field) const {
  if (!fieldEnabled(field)) return false;
  const std::string& text = document_.text(field, shownRow());
  if (!IsAcceptedField(field)) return text.size() > static_cast<size_t>(MaxTextLength);
  const std::vector<std::string> answers = AcceptedAnswerLines(text);
  return answers.size() > static_cast<size_t>(MaxAcceptedAnswers) ||
         std::any_of(answers.begin(), answers.end(),
                     [](const std::string& answer) { return answer.size() > static_cast<size_t>(MaxTextLength); });
}

std::vector<std::string> EditorSession::suggestions(QuizField answerField) const {
  std::vector<std::string> offered;
  if (!fieldEnabled(answerField) || IsAcceptedField(answerField) ||
      (answerField != QuizField::Answer1 && answerField != QuizField::Answer2)) {
    return offered;
  }
  const std::vector<std::string> accepted =
      AcceptedAnswerLines(document_.text(AcceptedFieldOf(answerField), shownRow()));
  for (const std::string& suggestion : SuggestAcceptedAnswers(document_.text(answerField, shownRow()), accepted)) {
    offered.push_back(Utf8(suggestion));
  }
  return offered;
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
