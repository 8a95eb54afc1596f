// Ludex Atelier's editing session, portable: everything the editor decides
// and says, whatever draws it. It owns the document and its undo, the
// problems list, the commands and when each is available, the status and
// title texts, the display tables, and the flows: opening any file (a
// source, a built quiz), the checks before saving, trying and building,
// the packing, paste and CSV import with their preview, printing, the
// recovery copy and the last files. It reaches the system only through its
// EditorHost.
//
// A front end draws what the session shows and forwards what the author
// does: a command, typing into a field, a selection, a paste. When a flow
// needs the author's word (a question, a file to choose, the import
// preview), the session holds it as its one Prompt and waits: the front end
// shows it, now or later, and hands the answer to reply(), and the flow goes
// on from there. The Win32 window answers at once with modal dialogs; a
// browser can answer whenever the author clicks.
//
// Every text the session hands out is UTF-8, its own sentences, the core's
// messages and the quiz texts alike (the document holds Windows-1252; the
// session converts at its edge); every text it takes is UTF-8 too.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "document.h"
#include "editor_host.h"
#include "problems_list.h"
#include "quiz_fit.h"
#include "quiz_program.h"
#include "recovery.h"
#include "table_text.h"

// ---- what the session asks ----

enum class PromptKind {
  Notice,       // OK
  Confirm,      // OK, Cancel
  YesNo,        // Yes, No
  SaveChanges,  // Yes (save), No (do not save), Cancel
  OpenFile,     // a path, or Cancel
  SaveFile,     // a path, or Cancel
  Preview,      // the import preview (preview()): OK adds its rows, Cancel adds none
};
enum class Tone { Information, Question, Warning, Error };

struct FileFilter {
  std::string label;     // "Sources de quiz (*.txt)"
  std::string patterns;  // "*.txt;*.exe"
};

struct Prompt {
  PromptKind kind = PromptKind::Notice;
  Tone tone = Tone::Information;
  std::string text;  // the question or the notice; for a file choice, the dialog's title
  // A file choice: the name proposed, in its folder when it has one, else
  // in folder; the kinds of files; the extension a name typed without one gets.
  std::string path;
  std::string folder;
  std::vector<FileFilter> filters;
  std::string extension;
};

enum class Answer { Ok, Cancel, Yes, No };
// The captions of the answers, '&' before the letter of their Alt key: each
// Answer's, in its order ("OK", "Annuler", "Oui", "Non"); and the Yes and No
// of the question before unsaved work goes ("&Enregistrer", "&Ne pas enregistrer").
extern const char* const AnswerCaptions[4];
extern const char* const SaveChangesCaptions[2];
struct Reply {
  Answer answer = Answer::Cancel;
  std::string path;  // the file chosen
};

// The import preview as the front end shows it.
struct PreviewRowView {
  std::vector<std::string> cells;  // "Ligne", each column as pasted, then its problems on one line
  bool hasError = false;
  std::string detail;  // its problems in full, one per line
};
struct PreviewView {
  std::string summary;
  std::string notes;                      // a sentence each, one per line
  std::vector<std::string> columnTitles;  // "Ligne", "Colonne 1 (Anecdote)"..., "Problèmes"
  std::vector<std::string> choices;       // the fields a column may go in, in the choosers' order
  std::vector<int> chosen;                // per column of the table: its place in choices
  std::vector<PreviewRowView> rows;
  int rowsToAdd = 0;
  std::string addButton;  // "&Ajouter 3", '&' before the letter of its Alt key
  bool focusMapping = false;  // the columns' fields are a guess to check: the focus goes to the first chooser
  // A column of reveal texts that the quiz's reveal mode does not show: the
  // offer to switch it ("Passer le quiz en mode de révélation 2..."), and
  // whether the author took it; empty when there is none.
  std::string revealOffer;
  bool revealSwitched = false;
};

// ---- what the session shows ----

// A text field as the editor shows it: its label ('&' marks the letter of
// its Alt key), on one line or several; its name in the page ("answer").
struct FieldDisplay {
  QuizField field;
  const char* label;
  bool multiline;
  const char* name;
};
extern const FieldDisplay HeaderFieldDisplays[3];  // title, author, explanation
extern const FieldDisplay RowFieldDisplays[8];     // the chosen question's
// The settings' labels and the heading of the accepted answers suggested.
extern const char* const AnswersLabel;      // "Ré&ponses par question :"
extern const char* const RevealModeLabel;   // "&Mode de révélation :"
extern const char* const ColourLabel;       // "Couleur de fond :"
extern const char* const SuggestionsLabel;  // "Suggestions :"
const int ListColumnCount = 5;
extern const char* const ListColumnTitles[ListColumnCount];  // number, question, answers, reveal text, code

// Where the front end puts the focus after a command: a field, or the list.
struct FocusRequest {
  bool list = false;
  int field = -1;  // a QuizField, or -1
};

// What typing into a field gave: the session kept another text than the
// one typed (a character the player cannot show replaced, or nothing taken
// while a question waits), which the field then shows.
struct TypingResult {
  bool changed = false;
  std::string text;  // the field's text, when changed
};

// The characters a text field takes: pasting more is cut there. The counter
// already says "too long" far below it.
const int FieldCharacterLimit = 4096;

// Delays after a change, for the front end's timers.
const int RecoveryDelayMs = 3000;  // the recovery copy
const int SizeCheckDelayMs = 400;  // the packed size of a large quiz (compressing takes tens of milliseconds)

// The session's own state of a flow, held while it waits: the prompt and
// what follows the answer; a table on its way in (its rows, where its
// columns go, what that gives).
struct PendingPrompt {
  Prompt prompt;
  std::function<void(const Reply&)> then;
};
struct TableImport {
  std::shared_ptr<TableText> table;
  ColumnMapping mapping;
  ImportPreview preview;
  int offeredMode = -1;     // the reveal mode that would show the reveal column, or -1
  bool switchMode = false;  // the author takes that mode with the rows
};

class EditorSession {
 public:
  EditorSession(EditorHost& host, const PlayerMetrics& metrics);
  ~EditorSession();

  // Start-up: the last files, the recovery copies left by a crash (offered
  // one by one), then the file named on the command line, when not empty.
  void startUp(const std::string& fileToOpen);
  // The editor stops without asking (the window is gone): the recovery
  // copy's lock goes, the copy stays, as after a crash.
  void shutDown();
  bool closed() const { return closed_; }  // Close went through: the front end goes

  // ---- commands; each is ignored while a prompt waits ----
  bool available(Command command) const;
  void runCommand(Command command);  // Paste and ChooseColour are the front end's: ignored
  void openPath(const std::string& path);  // a file from the command line or dropped on the editor
  void openRecent(int index);
  void importPath(const std::string& path);  // a CSV file the author picked to add its rows
  // A write that the host finishes after the call (a browser writing a
  // file in place, EditorHost::writesLater): the quiz is saved once it
  // ends; when it fails (error: the system's name of the failure, which the
  // session says in French), it stays unsaved and a download is offered.
  void writeFinished(const std::string& path);
  void writeFailed(const std::string& path, const std::string& error);
  // A file the author gave that the browser could not read (error: its name of the failure).
  void readFailed(const std::string& path, const std::string& error);
  void paste(const std::string& utf8);  // rows from the clipboard; empty: nothing to paste
  TypingResult typeInto(QuizField field, const std::string& utf8);
  void endTyping() { document_.endTyping(); }  // the field lost the focus
  void select(const RowSet& rows);
  void chooseAnswersPerQuestion(int choice);  // a place in answersChoices()
  void chooseRevealMode(int choice);          // a place in revealModeChoices()
  void setColour(uint8_t red, uint8_t green, uint8_t blue);
  // Adds suggestion index of answerField (Answer1 or Answer2) of the shown
  // question to its accepted answers: one undo step.
  void takeSuggestion(QuizField answerField, int index);
  void goToProblem(int index);  // selects its question; the focus goes to its field

  // ---- the prompt ----
  const Prompt* prompt() const;
  void reply(const Reply& reply);
  const PreviewView& preview() const { return previewView_; }
  void chooseColumn(int column, int choice);  // while the preview waits
  void switchRevealMode(bool on);             // takes the preview's offer, or leaves it

  // ---- timers: due after a change, run when the delay has passed ----
  bool recoveryDue() const { return document_.recoveryDue(); }
  void writeRecoveryCopy();
  bool sizeCheckDue() const { return problems_.sizeCheckDue(); }
  void checkSizes() { problems_.checkSizes(); }
  FocusRequest takeFocus();

  // ---- what the front end shows ----
  const QuizDocument& document() const { return document_; }
  std::string windowTitle() const;      // "capitales.txt* - Ludex Atelier"
  std::string questionCountText() const;  // "15 questions"
  // "1 erreur — la construction est impossible — et 2 avertissements"
  std::string problemsSummary() const { return problems_.summary(); }
  // What the last action did, while the quiz is as that action left it.
  std::string status() const;
  // What stays in view while it holds (a browser that keeps nothing); empty when nothing.
  std::string notice() const;
  const std::vector<ProblemLine>& problems() const { return problems_.lines(); }
  bool rowHasError(int row) const { return problems_.rowHasError(row); }
  std::string cell(int row, int column) const;   // of the questions list
  int shownRow() const;                          // the question below the list; -1: none
  std::string rowLabel() const;                  // "Question 3 sur 15"
  std::string fieldText(QuizField field) const;  // of the header, or of the shown row
  bool fieldEnabled(QuizField field) const;
  std::string counter(QuizField field) const;  // "12 / 259"; "2 / 16" answers accepted; "—" for a field not in use
  // The accepted answers suggested for answerField of the shown question
  // (accepted_suggestions.h), best first; empty for a field not in use.
  std::vector<std::string> suggestions(QuizField answerField) const;
  bool counterOverLimit(QuizField field) const;
  std::vector<std::string> answersChoices() const;
  int answersChoice() const;
  std::vector<std::string> revealModeChoices() const;
  int revealModeChoice() const;
  std::vector<std::string> recentFiles() const;  // "C:\Quiz\capitales.txt", a long one cut in its middle
  void colour(uint8_t& red, uint8_t& green, uint8_t& blue) const;

 private:
  using Then = std::function<void()>;
  using Done = std::function<void(bool)>;

  void ask(Prompt prompt, std::function<void(const Reply&)> then);
  void say(const std::string& status);
  void tell(Tone tone, const std::string& text, Then then = nullptr);
  void changeRows(bool changed);
  void undoOrRedo(bool redo);
  void addQuestion();
  void selectAll();

  // Files (session_files.cpp).
  void whenDiscarded(Then next);
  void newQuiz();
  void askOpenFile();
  void openFile(const std::string& path);
  void openSource(const std::string& path, const std::string& bytes);
  void openBuilt(const std::string& path, BuiltQuizRead read, const BuiltQuiz& built);
  void openTable(const std::string& path, const std::string& bytes);
  void offerFirstQuestions(const std::string& path, const SourceRead& read);
  void startOn(const AuthoredQuiz& quiz, const std::string& path, const std::string& heading, bool modified);
  void save(Done done);
  void saveAs(Done done);
  void writeSource(const std::string& path, Done done);
  void writeSourceNow(const std::string& path, Done done);
  void sourceWritten(const std::string& path, int revision, Done done);
  void offerDownloadInstead(const std::string& path, const std::string& reason, Done done);
  void setAnswersPerQuestion(int count);
  void closeEditor();
  void loadRecentFiles();
  void rememberFile(const std::string& path);
  void saveRecentFiles();
  FoundFile findFile(const std::string& path);
  bool leftCopy(const std::string& copy);
  bool ownCopy(const std::string& copy);
  std::string recoveryCopyName();
  void removeRecoveryCopy();
  void offerCopy(const std::string& copy, const std::string& source, Done done);
  void takeCopy(const std::string& copy, const std::string& source, const FoundFile& found, Done done);
  void offerCopies(std::vector<std::pair<std::string, std::string>> copies, size_t next, Then then);

  // Output (session_output.cpp).
  bool packOrRefuse(QuizPayloads& streams, const std::string& refusal);
  bool programOf(const QuizPayloads& streams, Bytes& program, std::string& error);
  std::string besideSource(const std::string& extension) const;
  void tryQuiz();
  void buildProgram();
  void writeProgram(const std::string& path, const QuizPayloads& streams);
  void buildPage();
  void writePage(const std::string& path, const QuizPayloads& streams);
  void buildScorm();
  void writeScorm(const std::string& path, const QuizPayloads& streams);
  void print();
  void exportCsv();
  void exportGift();
  void importCsv();
  void importFile(const std::string& path);
  std::string writtenOrOffered(const std::string& path, const std::string& written, const std::string& offered);
  void addRows(std::shared_ptr<TableText> table, bool alwaysPreview);
  void showPreview();
  void previewRows();
  void addPreviewRows();

  int insertionRow() const;

  EditorHost& host_;
  PlayerMetrics metrics_;
  QuizDocument document_;
  std::unique_ptr<PendingPrompt> pending_;
  std::unique_ptr<TableImport> import_;  // the table on its way in, while the preview waits
  PreviewView previewView_;
  std::string status_;
  int statusRevision_ = -1;  // the quiz's revision when the status was said
  // A source being written by a host that finishes later: where, which
  // revision of the quiz, and what follows.
  struct PendingWrite {
    std::string path;
    int revision = 0;
    Done done;
  };
  std::unique_ptr<PendingWrite> writing_;
  std::string lastBuilt_;  // the program last written, whose folder the page's is offered in
  FocusRequest focus_;
  bool closed_ = false;
  std::string handWrittenPath_;  // a source not in the writer's form: say so before saving over it
  std::string recoveryCopy_;     // the copy this editor holds (its lock too); removed on a clean save or close
  std::vector<std::string> recent_;

  mutable ProblemsList problems_;  // made again when the quiz changed, when shown
};
