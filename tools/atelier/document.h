// The quiz being edited in Ludex Atelier. Every change the window makes goes
// through QuizDocument, so that undo, redo, the selection and the "modified"
// star follow. Texts are Windows-1252 with CR LF line breaks, as the quiz
// holds them; the document keeps whatever the author typed, too long or not:
// validation (validation.h) says what breaks a limit.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "quiz_rules.h"
#include "quiz_source.h"

// Selected rows, in increasing order, each one a valid row.
using RowSet = std::vector<int>;

// What reading a source file gave.
struct SourceRead {
  bool ok = false;  // no error: quiz holds the whole source, or its first MaxQuestions questions
  // Why the file is no source at all (no text, UTF-16, far too large), in
  // one sentence; empty when it is read as one.
  std::string notASource;
  // The questions of a source that has more than the player counts (else
  // 0): quiz then holds the first MaxQuestions, for the window to offer.
  size_t questionsInSource = 0;
  // Errors, but only in texts that the quiz holds whole and the writer writes
  // back as they are (a text past 259 bytes, a "|"): what the editor saves
  // while such an error is left. The quiz opens, its errors to be fixed.
  bool textErrorsOnly = false;
  AuthoredQuiz quiz;
  Diagnostics diagnostics;  // the words of `ludex-pack check`, with lines
  std::string heading;      // the first line when a comment ("Extrait de ..."), which Save writes back first
  bool canonical = false;   // Save writes back the same bytes; otherwise the writer's form replaces
                            // the other comments, blank lines and keyword spellings
};

SourceRead ReadSource(const std::string& bytes, const std::string& fileName);

// What the window tells the author before the first save of a source that
// was not in the writer's form (SourceRead::canonical false).
extern const char* const RewriteNotice;

// Texts in fields the quiz's settings do not use (a second answer in a
// one-answer quiz...): set aside, greyed, and left out of the source.
struct UnusedText {
  QuizField field;
  size_t count;  // of questions with such a text
};
std::vector<UnusedText> UnusedTexts(const AuthoredQuiz& quiz);
// In the editor's words: "2 questions ont une réponse 2, qui ne sert qu'avec
// 2 réponses par question".
std::string UnusedTextLine(const UnusedText& unused);

// Line breaks as the quiz holds them: a lone LF or CR becomes CR LF.
std::string WithCrLf(const std::string& text);

class QuizDocument {
 public:
  QuizDocument();  // a new quiz: empty title, default settings, no question

  // Starts over on a quiz read from a file (or restored, then `modified`).
  // Forgets the undo history.
  void reset(const AuthoredQuiz& quiz, const std::string& path, const std::string& heading, bool modified);

  const AuthoredQuiz& quiz() const { return current_.quiz; }
  const RowSet& selection() const { return current_.selection; }
  const std::string& path() const { return path_; }  // empty until saved once
  int questionCount() const { return static_cast<int>(current_.quiz.questions.size()); }
  bool modified() const { return current_.revision != savedRevision_; }
  int revision() const { return current_.revision; }        // a number of its own for each state the quiz has been in
  const std::string& text(QuizField field, int row) const;  // row is ignored for a header field

  // Changes. Each one that changes something is one undo step and returns
  // true; one that would change nothing, or break the 255-question limit,
  // or names rows that do not exist, returns false and leaves all as it was.
  bool setText(QuizField field, int row, const std::string& bytes);  // line breaks made CR LF
  // The same as the author types: successive calls for one field of one row
  // make a single undo step, until anything else changes the quiz (or undo,
  // redo, reset) or endTyping() is called (the field lost the focus).
  bool typeText(QuizField field, int row, const std::string& bytes);
  void endTyping() { typing_ = Typing(); }
  bool setAnswersPerQuestion(int count);  // 1 or 2
  bool setRevealMode(int mode);           // 0 to 255; 0, 2, 3 and 4 mean something
  bool setColour(uint8_t red, uint8_t green, uint8_t blue);
  bool addQuestion(int position);                                                      // an empty question, selected
  bool insertQuestions(int position, const std::vector<AuthoredQuestion>& questions);  // pasted or imported, selected
  bool removeRows(const RowSet& rows);               // the row after the last one removed gets selected
  bool moveRows(const RowSet& rows, int direction);  // -1 up, +1 down, by one; they stay selected
  bool duplicateRow(int row);                        // the copy goes below, selected

  void select(const RowSet& rows);  // not an undo step; invalid rows are dropped

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  bool undo();
  bool redo();
  // What undo or redo would take back or do again, for the status bar:
  // "la saisie dans « réponse » de la question 3" (Windows-1252); empty when nothing.
  std::string undoName() const { return undo_.empty() ? "" : current_.change; }
  std::string redoName() const { return redo_.empty() ? "" : redo_.back().change; }

  // The file as Save writes it, then what the window calls once it is written.
  std::string sourceText() const;
  void markSaved(const std::string& path);
  // The same once a write of an earlier revision ended: the quiz is saved
  // if it is still in that state.
  void markSaved(const std::string& path, int revision);
  // Whether the quiz went through that revision on its way to now: undo
  // takes a revision out, redo puts it back.
  bool inHistory(int revision) const;

  // The recovery copy: due when the quiz changed since the last copy and is not saved.
  bool recoveryDue() const { return modified() && current_.revision != recoveryRevision_; }
  void markRecoveryWritten() { recoveryRevision_ = current_.revision; }

  static constexpr size_t MaxUndoSteps = 200;

 private:
  struct State {
    AuthoredQuiz quiz;
    RowSet selection;
    int revision = 0;    // each state the quiz has been in has its own number
    std::string change;  // what brought the quiz to this state, as undoName says it
  };

  void commit(State next, const std::string& change);
  bool insertRows(int position, const std::vector<AuthoredQuestion>& questions, const std::string& change);

  // The field being typed into, and the revision its last keystroke made.
  struct Typing {
    QuizField field = QuizField::Title;
    int row = -1;
    int revision = -1;
  };

  State current_;
  Typing typing_;
  std::vector<State> undo_, redo_;
  int nextRevision_ = 1;
  int savedRevision_ = 0;
  int recoveryRevision_ = 0;
  std::string path_;
  std::string heading_;
};
