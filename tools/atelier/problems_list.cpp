#include "problems_list.h"

#include <algorithm>

#include "cp1252.h"
#include "french_text.h"
#include "session_text.h"
#include "validation.h"

namespace {

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

// Where a problem of a row's field is in the source, for the list's order:
// the header (row -1) first, the rows, then the quiz as a whole (row
// MaxQuestions); within a row, its fields in their order, its other problems last.
int SourcePlace(int row, int field) {
  // The fields in the order a source writes them: an answer's accepted ones right after it.
  static const int FieldOrder[QuizFieldCount] = {0, 1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 7, 9};
  const int place = field >= 0 && field < QuizFieldCount ? FieldOrder[field] : QuizFieldCount;
  return (row + 1) * (QuizFieldCount + 1) + place;
}

int PlaceOf(const QuizProblem& problem) {
  const bool wholeQuiz = problem.rule == QuizRule::QuestionCount || problem.rule == QuizRule::NoQuestion ||
                         problem.rule == QuizRule::PackedSize;
  return wholeQuiz ? SourcePlace(MaxQuestions, -1) : SourcePlace(problem.row, problem.field);
}

// "« ᵉ » (U+1D49)"
std::string CharacterShown(uint32_t codePoint) {
  std::string glyph;
  AppendUtf8(glyph, codePoint);
  const std::string name = CodePointName(codePoint);
  return QuotedUtf8(glyph) + " (" + name.substr(0, name.find(' ')) + ")";
}

std::string RespellingText(const Respelling& change) {
  return CharacterShown(change.codePoint) +
         (change.found ? u8" est devenu " + QuotedUtf8(Utf8(change.spelling)) +
                             u8", car le lecteur ne peut pas l'afficher. Ctrl+Z annule le remplacement."
                       : u8" est devenu « ? » : le lecteur ne peut pas l'afficher, et rien ne s'en "
                         u8"approche. Remplacez ce « ? » par un autre texte.");
}

bool IsBlankQuizProblem(const QuizProblem& problem) {
  return problem.rule == QuizRule::NoQuestion || problem.rule == QuizRule::Title;
}

}  // namespace

ProblemsList::ProblemsList(const QuizDocument& document, const PlayerMetrics& metrics)
    : document_(document), metrics_(metrics) {}

void ProblemsList::noteRespellings(QuizField field, int row, const std::vector<Respelling>& changes) {
  const std::string& bytes = document_.text(field, row);
  const std::vector<size_t> offsets = ReplacementOffsets(bytes, changes);
  for (size_t k = 0; k < changes.size(); ++k) {
    const Respelling& change = changes[k];
    const size_t from = offsets[k] < 4 ? 0 : offsets[k] - 4;
    const QuizProblem problem = {QuizRule::Text, row, static_cast<int>(field), !change.found, ""};
    notes_.push_back({document_.revision(), field, row, SourcePlace(row, static_cast<int>(field)),
                      bytes.substr(from, offsets[k] - from + change.spelling.size() + 4),
                      {ProblemLineText(problem) + RespellingText(change), row, static_cast<int>(field), !change.found}});
  }
}

// The problems of the quiz, as `ludex-pack check` finds them in the source
// Save writes; its packed sizes too when nothing else is wrong: measured at
// once when they cannot pass the player's limits or have been measured on
// these very payloads, else when compressNow, else soon (sizeCheckDue).
std::vector<QuizProblem> ProblemsList::validate(bool compressNow) {
  std::vector<QuizProblem> problems = ValidateQuiz(document_.quiz(), false, &metrics_);
  if (AnyError(problems)) return problems;
  const QuizPayloads payloads = EncodePayloads(document_.quiz());
  if (!measure_.done || measure_.payloads.quiz != payloads.quiz || measure_.payloads.codes != payloads.codes) {
    const std::vector<QuizProblem> plain = SizeProblems(payloads, false);
    if (!compressNow && plain.empty() && CompressedSizesMayPass(payloads)) {
      sizeCheckDue_ = true;
      return problems;
    }
    measure_ = {true, payloads, plain.empty() ? SizeProblems(payloads, true) : plain};
  }
  problems.insert(problems.end(), measure_.problems.begin(), measure_.problems.end());
  return problems;
}

bool ProblemsList::sizeCheckDue() {
  lines();
  return sizeCheckDue_;
}

void ProblemsList::checkSizes() {
  validate(true);
  ++sizeChecks_;
}

// The characters replaced in a text, beside their field's other problems.
void ProblemsList::insertNotes(std::vector<ProblemLine>& lines, std::vector<int>& places) const {
  for (const Note& note : notes_) {
    // A row gone reads as empty, and holds no replacement.
    if (!document_.inHistory(note.revision) || document_.text(note.field, note.row).find(note.around) == std::string::npos) {
      continue;
    }
    const auto at = std::find_if(places.begin(), places.end(), [&note](int place) { return place > note.place; });
    lines.insert(lines.begin() + (at - places.begin()), note.line);
    places.insert(at, note.place);
  }
}

// Errors first, then warnings, each in the order of the source.
void ProblemsList::make() {
  sizeCheckDue_ = false;
  std::vector<QuizProblem> found = validate(false);
  if (quiet_ && !document_.modified() && document_.path().empty()) {
    found.erase(std::remove_if(found.begin(), found.end(), IsBlankQuizProblem), found.end());
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
    places.push_back(PlaceOf(problem));
  }
  insertNotes(lines, places);
  std::stable_partition(lines.begin(), lines.end(), [](const ProblemLine& line) { return line.isError; });
  lines_ = lines;
  rowErrors_.assign(static_cast<size_t>(document_.questionCount()), false);
  errors_ = warnings_ = 0;
  for (const ProblemLine& line : lines) {
    (line.isError ? errors_ : warnings_) += 1;
    if (line.isError && line.row >= 0 && line.row < document_.questionCount()) rowErrors_[line.row] = true;
  }
}

const std::vector<ProblemLine>& ProblemsList::lines() {
  const Made now = {document_.revision(), quiet_, sizeChecks_};
  if (made_.revision != now.revision || made_.quiet != now.quiet || made_.sizeChecks != now.sizeChecks) {
    make();
    made_ = now;
  }
  return lines_;
}

bool ProblemsList::rowHasError(int row) {
  lines();
  return row >= 0 && row < static_cast<int>(rowErrors_.size()) && rowErrors_[row];
}

std::string ProblemsList::summary() {
  lines();
  if (errors_ == 0 && warnings_ == 0) return u8"Aucun problème";
  const std::string warnings = Counted(warnings_, "avertissement", "avertissements");
  if (errors_ == 0) return warnings;
  const std::string errors = Counted(errors_, "erreur", "erreurs") + u8" — la construction est impossible";
  return warnings_ == 0 ? errors : errors + u8" — et " + warnings;
}
