// The problems list of the quiz being edited: what `ludex-pack check` finds
// in the source Save writes (validation.h), the texts set aside by the quiz's
// settings, and the characters the player cannot show that a text typed or
// pasted had replaced; errors first, then warnings, each in the order of the
// source. It is made again only when the quiz changed; the packed sizes of
// a large quiz, which compressing measures in tens of milliseconds, wait for
// a pause in the typing (sizeCheckDue) and are kept for the same payloads.
// Texts are UTF-8.
#pragma once
#include <string>
#include <vector>

#include "document.h"
#include "quiz_fit.h"
#include "quiz_payloads.h"

struct ProblemLine {
  std::string text;  // "Erreur, question 3, « réponse » : ..."
  int row = -1;      // the question it is about, or -1
  int field = -1;    // the QuizField, or -1
  bool isError = false;
};

class ProblemsList {
 public:
  ProblemsList(const QuizDocument& document, const PlayerMetrics& metrics);

  const std::vector<ProblemLine>& lines();
  bool rowHasError(int row);
  // "1 erreur — la construction est impossible — et 2 avertissements"
  std::string summary();

  // A new quiz not touched yet lacks a title and questions, of course: they
  // are no problem until the author changes the quiz or tries to build it.
  void keepQuiet(bool quiet) { quiet_ = quiet; }

  // The characters replaced in a text typed or pasted (RespellForPlayer), in
  // its order: listed while the change that made them is in the quiz's
  // history (undo takes it away) and the field still holds the replacement
  // with what surrounds it.
  void noteRespellings(QuizField field, int row, const std::vector<Respelling>& changes);
  void forgetRespellings() { notes_.clear(); }

  bool sizeCheckDue();
  void checkSizes();  // the compressed sizes, measured now

 private:
  struct Note {
    int revision = 0;
    QuizField field = QuizField::Title;
    int row = -1;
    int place = 0;       // its place in the source (SourcePlace)
    std::string around;  // the replacement with a few bytes each side, as the field holds it
    ProblemLine line;
  };
  // The compressed sizes' problems, and the payloads they were measured on.
  struct Measure {
    bool done = false;
    QuizPayloads payloads;
    std::vector<QuizProblem> problems;
  };

  std::vector<QuizProblem> validate(bool compressNow);
  void make();
  void insertNotes(std::vector<ProblemLine>& lines, std::vector<int>& places) const;

  const QuizDocument& document_;
  PlayerMetrics metrics_;
  bool quiet_ = true;
  std::vector<Note> notes_;
  Measure measure_;
  bool sizeCheckDue_ = false;
  int sizeChecks_ = 0;
  // The list as last made, and the state it was made for.
  struct Made {
    int revision = -1;
    bool quiet = false;
    int sizeChecks = -1;
  } made_;
  std::vector<ProblemLine> lines_;
  std::vector<bool> rowErrors_;
  int errors_ = 0, warnings_ = 0;
};
