// The functions the editor's page script (atelier.js) calls, over the one
// editing session of the page and its BrowserHost. Texts cross as UTF-8;
// what the page shows comes back as one JSON view of the session, which
// the script draws, always as text. The script answers the session's
// prompts that need the author; a file choice it answers here, as a browser
// has none to show: a file to save takes the name the session proposes (the
// download's), a file to open is never asked for (the page's own file
// chooser gives the files).
#include <emscripten.h>

#include <cstdio>
#include <iterator>
#include <memory>
#include <string>

#include "browser_host.h"
#include "editor_session.h"
#include "pe_image.h"
#include "quiz_fit.h"

#define EXPORTED extern "C" EMSCRIPTEN_KEEPALIVE

namespace {

BrowserHost host;
std::unique_ptr<EditorSession> session;
std::string out;  // the last text handed to the script

std::string Text(const char* bytes, int length) { return std::string(bytes, length > 0 ? size_t(length) : 0); }

// ---- JSON ----

void Add(std::string& json, const std::string& utf8) {
  json += '"';
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
    } else {
      json += c;
    }
  }
  json += '"';
}
void Add(std::string& json, const char* utf8) { Add(json, std::string(utf8)); }
void Add(std::string& json, int number) { json += std::to_string(number); }
void Add(std::string& json, bool yes) { json += yes ? "true" : "false"; }
template <typename T>
void Add(std::string& json, const std::vector<T>& items) {
  json += '[';
  for (size_t k = 0; k < items.size(); ++k) {
    if (k > 0) json += ',';
    Add(json, items[k]);
  }
  json += ']';
}
template <typename T>
void Member(std::string& json, const char* name, const T& value) {
  json += json.back() == '{' ? "\"" : ",\"";
  json += name;
  json += "\":";
  Add(json, value);
}

// The questions list: each row's cells, then whether it has an error.
std::string Rows(const EditorSession& s) {
  std::string json = "[";
  for (int row = 0; row < s.document().questionCount(); ++row) {
    json += row > 0 ? ",[" : "[";
    for (int column = 0; column < ListColumnCount; ++column) {
      Add(json, s.cell(row, column));
      json += ',';
    }
    Add(json, s.rowHasError(row));
    json += ']';
  }
  return json + "]";
}

std::string Problems(const EditorSession& s) {
  std::string json = "[";
  for (const ProblemLine& line : s.problems()) {
    if (json.size() > 1) json += ',';
    json += '[';
    Add(json, line.text);
    json += ',' + std::to_string(line.row) + ',' + std::to_string(line.field) + ',';
    Add(json, line.isError);
    json += ']';
  }
  return json + "]";
}

// Every text field: its text, whether in use, its counter, whether past the limit.
std::string Fields(const EditorSession& s) {
  std::string json = "[";
  for (int k = 0; k < QuizFieldCount; ++k) {
    const QuizField field = static_cast<QuizField>(k);
    json += k > 0 ? ",[" : "[";
    Add(json, s.fieldText(field));
    json += ',';
    Add(json, s.fieldEnabled(field));
    json += ',';
    Add(json, s.counter(field));
    json += ',';
    Add(json, s.counterOverLimit(field));
    json += ']';
  }
  return json + "]";
}

std::string Preview(const PreviewView& view) {
  std::string json = "{";
  Member(json, "summary", view.summary);
  Member(json, "notes", view.notes);
  Member(json, "titles", view.columnTitles);
  Member(json, "choices", view.choices);
  Member(json, "chosen", view.chosen);
  std::string rows = "[";
  for (const PreviewRowView& row : view.rows) {
    rows += rows.size() > 1 ? ",{" : "{";
    Member(rows, "cells", row.cells);
    Member(rows, "error", row.hasError);
    Member(rows, "detail", row.detail);
    rows += '}';
  }
  json += ",\"rows\":" + rows + "]";
  Member(json, "toAdd", view.rowsToAdd);
  Member(json, "addButton", view.addButton);
  Member(json, "focusMapping", view.focusMapping);
  Member(json, "revealOffer", view.revealOffer);
  Member(json, "revealSwitched", view.revealSwitched);
  return json + "}";
}

std::string PromptView(const EditorSession& s) {
  const Prompt* prompt = s.prompt();
  if (prompt == nullptr) return "null";
  std::string json = "{";
  Member(json, "kind", static_cast<int>(prompt->kind));
  Member(json, "tone", static_cast<int>(prompt->tone));
  Member(json, "text", prompt->text);
  if (prompt->kind == PromptKind::Preview) json += ",\"preview\":" + Preview(s.preview());
  return json + "}";
}

// A shortcut: [its key as the browser names it, Ctrl, Shift, Alt]; none when it has no key.
void AddKeys(std::string& json, const char* name, std::vector<Shortcut> shortcuts) {
  json += ",\"";
  json += name;
  json += "\":[";
  bool first = true;
  for (const Shortcut& key : shortcuts) {
    if (key.key == Key::None) continue;
    json += first ? "[" : ",[";
    first = false;
    Add(json, PageKeyName(key.key));
    for (bool held : {key.control, key.shift, key.alt}) json += held ? ",true" : ",false";
    json += ']';
  }
  json += ']';
}

// The commands: each one's number, its button's text and tooltip (its
// shortcut), its keys (none for the system's own), the keys that run it in
// the questions list, whether a text field keeps its key.
std::string CommandsJson() {
  std::string json = "{";
  for (const CommandInfo& info : Commands) {
    json += json.size() > 1 ? "," : "";
    Add(json, info.name);
    json += ":{";
    Member(json, "id", static_cast<int>(info.command));
    Member(json, "caption", PageButtonText(info));
    Member(json, "title", ShortcutText(info.shortcut));
    AddKeys(json, "keys", info.systemKey ? std::vector<Shortcut>() : std::vector<Shortcut>{info.shortcut, info.also});
    AddKeys(json, "listKeys", {info.inList});
    Member(json, "fieldKeepsKey", info.fieldKeepsKey);
    json += '}';
  }
  return json + "}";
}

// Every text field: its number, label ('&' before the letter of its key),
// name, whether it takes several lines, whether it is the chosen question's,
// and for an accepted answers' field, the answer whose suggestions follow it.
std::string FieldsJson() {
  std::string json = "[";
  for (const FieldDisplay* displays : {HeaderFieldDisplays, RowFieldDisplays}) {
    const bool row = displays == RowFieldDisplays;
    const size_t count = row ? std::size(RowFieldDisplays) : std::size(HeaderFieldDisplays);
    for (size_t k = 0; k < count; ++k) {
      const FieldDisplay& display = displays[k];
      json += json.size() > 1 ? ",{" : "{";
      Member(json, "field", static_cast<int>(display.field));
      Member(json, "label", display.label);
      Member(json, "name", display.name);
      Member(json, "multiline", display.multiline);
      Member(json, "row", row);
      const QuizField answer = display.field == QuizField::Accepted1 ? QuizField::Answer1 : QuizField::Answer2;
      Member(json, "answer", IsAcceptedField(display.field) ? static_cast<int>(answer) : -1);
      json += '}';
    }
  }
  return json + "]";
}

// A file choice needs no author in a browser: the session's proposed name
// is the download's, and files to open come from the page's own chooser.
void AnswerFileChoices() {
  while (const Prompt* prompt = session->prompt()) {
    if (prompt->kind == PromptKind::SaveFile) {
      session->reply({Answer::Ok, prompt->path});
    } else if (prompt->kind == PromptKind::OpenFile) {
      session->reply({Answer::Cancel, ""});
    } else {
      break;
    }
  }
}

}  // namespace

// ---- start ----

// A file the author picked, or one the browser kept (time: its last change, in ms).
EXPORTED void AtelierPut(const char* path, int pathLength, const char* bytes, int size, double time) {
  host.put(Text(path, pathLength), Text(bytes, size), time);
}
// The player (which 0) or the page template (1), in pieces.
EXPORTED void AtelierCarry(int which, const uint8_t* bytes, int size) {
  host.carry(which == 0, Bytes(bytes, bytes + (size > 0 ? size : 0)));
}
// After the kept files: the recovery copies left by closed editors are offered.
EXPORTED void AtelierStart(int editorNumber, int storageWorks) {
  host.startAs(static_cast<uint32_t>(editorNumber), storageWorks != 0);
  session = std::make_unique<EditorSession>(host, ConservativeMetrics());
  session->startUp("");
  AnswerFileChoices();
}
EXPORTED void AtelierStorageFailed() { host.storageFailed(); }
// Writing a file in place ends after the call that asked for it: done, or
// failed with the name of the browser's exception.
EXPORTED void AtelierWriteDone(const char* path, int pathLength) {
  session->writeFinished(Text(path, pathLength));
  AnswerFileChoices();
}
EXPORTED void AtelierWriteFailed(const char* path, int pathLength, const char* error, int errorLength) {
  session->writeFailed(Text(path, pathLength), Text(error, errorLength));
  AnswerFileChoices();
}
// A file the author gave that the browser could not read.
EXPORTED void AtelierReadFailed(const char* path, int pathLength, const char* error, int errorLength) {
  session->readFailed(Text(path, pathLength), Text(error, errorLength));
}

// ---- what the author does ----

EXPORTED void AtelierOpen(const char* path, int length) {
  session->openPath(Text(path, length));
  AnswerFileChoices();
}
EXPORTED void AtelierImport(const char* path, int length) {
  session->importPath(Text(path, length));
  AnswerFileChoices();
}
EXPORTED void AtelierRun(int command) {
  if (command < 0 || command >= CommandCount) return;
  session->runCommand(static_cast<Command>(command));
  AnswerFileChoices();
}
// 1 when the session changed what was typed: the field's text is then the view's.
EXPORTED int AtelierType(int field, const char* utf8, int length) {
  if (field < 0 || field >= QuizFieldCount) return 0;
  return session->typeInto(static_cast<QuizField>(field), Text(utf8, length)).changed ? 1 : 0;
}
EXPORTED void AtelierEndTyping() { session->endTyping(); }
EXPORTED void AtelierSelect(const int* rows, int count) {
  session->select(RowSet(rows, rows + (count > 0 ? count : 0)));
}
EXPORTED void AtelierPaste(const char* utf8, int length) {
  session->paste(Text(utf8, length));
  AnswerFileChoices();
}
EXPORTED void AtelierChooseAnswers(int choice) { session->chooseAnswersPerQuestion(choice); }
EXPORTED void AtelierChooseReveal(int choice) { session->chooseRevealMode(choice); }
EXPORTED void AtelierSetColour(int rgb) { session->setColour(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)); }
EXPORTED void AtelierGoToProblem(int index) { session->goToProblem(index); }
EXPORTED void AtelierTakeSuggestion(int answerField, int index) {
  session->takeSuggestion(static_cast<QuizField>(answerField), index);
}
// answer: an Answer (0 OK, 1 Cancel, 2 Yes, 3 No).
EXPORTED void AtelierReply(int answer) {
  if (answer < 0 || answer > static_cast<int>(Answer::No)) return;
  session->reply({static_cast<Answer>(answer), ""});
  AnswerFileChoices();
}
EXPORTED void AtelierChooseColumn(int column, int choice) { session->chooseColumn(column, choice); }
EXPORTED void AtelierSwitchRevealMode(int on) { session->switchRevealMode(on != 0); }

// ---- timers ----

// 1: the recovery copy is due; 2: the packed size of a large quiz.
EXPORTED int AtelierDue() { return (session->recoveryDue() ? 1 : 0) | (session->sizeCheckDue() ? 2 : 0); }
EXPORTED void AtelierWriteRecoveryCopy() { session->writeRecoveryCopy(); }
EXPORTED void AtelierCheckSizes() { session->checkSizes(); }

// ---- what the page shows ----

// The display tables, once: the fields, the commands, the list's column
// titles, the settings' labels, the suggestions' heading, the answers' captions, the question's field (where Enter in the list goes); the
// characters a field takes, the delays of the recovery copy and of the size
// check, the largest file worth reading.
EXPORTED const char* AtelierLabels() {
  out = "{\"fields\":" + FieldsJson() + ",\"commands\":" + CommandsJson() + ",\"columns\":";
  Add(out, std::vector<std::string>(ListColumnTitles, ListColumnTitles + ListColumnCount));
  Member(out, "settings", std::vector<std::string>{AnswersLabel, RevealModeLabel, ColourLabel});
  Member(out, "suggestions", SuggestionsLabel);
  Member(out, "answers", std::vector<std::string>(AnswerCaptions, AnswerCaptions + 4));
  Member(out, "saveChanges", std::vector<std::string>(SaveChangesCaptions, SaveChangesCaptions + 2));
  Member(out, "questionField", static_cast<int>(QuizField::Question));
  Member(out, "fieldLimit", FieldCharacterLimit);
  Member(out, "delays", std::vector<int>{RecoveryDelayMs, SizeCheckDelayMs});
  Member(out, "largestFile", static_cast<int>(MaxProgramBytes));
  return (out += "}").c_str();
}

// The session as it stands, and where the focus goes after the last call.
EXPORTED const char* AtelierView() {
  const EditorSession& s = *session;
  std::vector<int> available;
  for (int command = 0; command < CommandCount; ++command) {
    available.push_back(s.available(static_cast<Command>(command)) ? 1 : 0);
  }
  uint8_t red, green, blue;
  s.colour(red, green, blue);
  char colour[8];
  std::snprintf(colour, sizeof colour, "#%02x%02x%02x", red, green, blue);
  const FocusRequest focus = session->takeFocus();
  out = "{";
  Member(out, "title", s.windowTitle());
  Member(out, "status", s.status());
  Member(out, "notice", s.notice());
  Member(out, "count", s.questionCountText());
  Member(out, "summary", s.problemsSummary());
  Member(out, "modified", s.document().modified());
  out += ",\"problems\":" + Problems(s) + ",\"rows\":" + Rows(s) + ",\"fields\":" + Fields(s);
  out += ",\"suggestions\":[[" + std::to_string(static_cast<int>(QuizField::Answer1)) + ",";
  Add(out, s.suggestions(QuizField::Answer1));
  out += "],[" + std::to_string(static_cast<int>(QuizField::Answer2)) + ",";
  Add(out, s.suggestions(QuizField::Answer2));
  out += "]]";
  Member(out, "selection", s.document().selection());
  Member(out, "rowLabel", s.rowLabel());
  Member(out, "answers", s.answersChoices());
  Member(out, "answersChoice", s.answersChoice());
  Member(out, "reveal", s.revealModeChoices());
  Member(out, "revealChoice", s.revealModeChoice());
  Member(out, "colour", colour);
  Member(out, "available", available);
  out += ",\"prompt\":" + PromptView(s);
  Member(out, "focusList", focus.list);
  Member(out, "focusField", focus.field);
  return (out += "}").c_str();
}
