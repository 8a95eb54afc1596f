// Questions as spreadsheets hand them over: rows pasted from the clipboard
// (tab-separated) or read from a CSV file, previewed before they go in; and
// the CSV file the editor exports. The columns, in this order unless a header
// row names them: question, réponse, réponse 2, révélation, code, and a sixth,
// révélation 2 (mode 3). Every reader is bounded and takes any bytes. A cell
// that the export writes after an apostrophe, lest a spreadsheet run it as a
// formula, is read back without it.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "authored_quiz.h"
#include "quiz_rules.h"

enum class TableColumn { Question, Answer1, Answer2, Reveal1, Code, Reveal2 };
const int TableColumnCount = 6;

// Larger texts are refused whole: a quiz's 255 questions of six 259-byte texts take 400 KB.
const size_t MaxTableBytes = 1 << 20;

struct TableRow {
  int line = 0;                         // 1-based line of the text where the row starts
  std::string cells[TableColumnCount];  // UTF-8, line breaks CR LF, indexed by TableColumn
  int cellsLeftOut = 0;                 // non-empty cells in no known column
};

struct TableText {
  std::vector<TableRow> rows;  // at most MaxQuestions; rows of empty cells are skipped
  int rowsLeftOut = 0;         // rows past those
  bool windows1252 = false;    // a CSV file that is not UTF-8, read as Windows-1252
  char separator = '\t';
  bool headerRow = false;             // the first row named the columns, and was no question
  std::vector<std::string> problems;  // Windows-1252, about the text as a whole
};

// Clipboard text (converted to UTF-8 by the window; other bytes are read as
// Windows-1252): tab-separated cells, CR LF or LF line ends, a spreadsheet's
// quoted cells holding tabs, line breaks or doubled quotes. A first row of
// column names is recognised, as in a CSV file.
TableText ReadPastedTable(const std::string& utf8);

// A CSV file: UTF-8 with or without BOM when it is valid UTF-8, else
// Windows-1252; ';' or ',' separated, whichever the first row has more of
// (or an Excel "sep=" line says); quoted fields as above; an optional header
// row of French column names ("Question;Réponse;Code"), in any order.
TableText ReadCsvTable(const std::string& bytes);

// One row as it will be added, with what breaks a limit under the quiz's
// settings (QuizProblem::row is the index in ImportPreview::rows).
struct ImportRow {
  AuthoredQuestion question;  // Windows-1252; a character it lacks is '?'
  int line = 0;
  std::vector<QuizProblem> problems;
};

struct ImportPreview {
  std::vector<ImportRow> rows;     // no more than the quiz has room for
  std::vector<std::string> notes;  // the text's own problems, rows left out
  int rowsWithErrors = 0;
};

ImportPreview PreviewImport(const TableText& table, const AuthoredQuiz& quiz);

std::vector<AuthoredQuestion> QuestionsOf(const ImportPreview& preview);

// The questions as a CSV file that a French spreadsheet opens directly:
// UTF-8 with BOM, ';', CR LF, a header row, the fields the settings use.
std::string WriteCsvTable(const AuthoredQuiz& quiz);
