// Questions as spreadsheets and banks hand them over: rows pasted from the
// clipboard (tab-separated), a CSV or TSV file, a GIFT bank (gift_bank.h),
// previewed before they go in; and the CSV file the editor exports. One
// import core for both editors and ludex-pack import. A header row of column
// names says which column holds what; without one, the cells themselves say
// it (column_guess.h), or the quiz's settings when the table has the quiz's
// own columns; the author may choose another field for any column in the
// preview. Every reader is bounded and takes any bytes. A cell that the
// export writes after an apostrophe, lest a spreadsheet run it as a formula,
// is read back without it.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "authored_quiz.h"
#include "quiz_rules.h"

// Larger texts are refused whole: a quiz's 255 questions of six 259-byte texts take 400 KB.
const size_t MaxTableBytes = 1 << 20;
// Columns read; cells past them are left out, and counted. Real banks have a dozen.
const int MaxTableColumns = 32;
// A column whose cells go in no field.
const int LeftOutColumn = -1;

struct TableRow {
  int line = 0;                    // 1-based line of the text where the row starts
  std::vector<std::string> cells;  // UTF-8, line breaks CR LF; at most MaxTableColumns
  int cellCount = 0;               // the cells of its line, those past MaxTableColumns too
  int cellsPastColumns = 0;        // non-empty cells past MaxTableColumns
};

struct TableText {
  std::vector<TableRow> rows;  // at most MaxQuestions; rows of empty cells are skipped
  int rowsLeftOut = 0;         // rows past those
  int columnCount = 0;         // the most cells of a row, at most MaxTableColumns
  bool windows1252 = false;    // a CSV file that is not UTF-8, read as Windows-1252
  char separator = '\t';
  bool headerRow = false;                // the first row named the columns, and was no question
  bool gift = false;                     // a GIFT bank: its columns are its questions' parts
  std::vector<int> headerFields;         // what the header row names: a QuizField per column, or LeftOutColumn
  std::vector<std::string> columnNames;  // UTF-8: the header row's cells, or a GIFT bank's parts
  std::vector<std::string> problems;     // Windows-1252, about the text as a whole
};

// Clipboard text (converted to UTF-8 by the window; other bytes are read as
// Windows-1252): tab-separated cells, CR LF or LF line ends, a spreadsheet's
// quoted cells holding tabs, line breaks or doubled quotes. A first row of
// column names is recognised, as in a CSV file.
TableText ReadPastedTable(const std::string& utf8);

// A CSV file: UTF-8 with or without BOM (a stray byte of another encoding
// read as Windows-1252, and told), else Windows-1252; ';', ',' or tab
// separated, whichever the first row has more of (or an Excel "sep=" line
// says); quoted fields as above; an optional header row of French column
// names ("Question;Réponse;Code"), in any order. Wherever it comes from, a
// C1 control character is read as the Windows-1252 character it stands for.
TableText ReadCsvTable(const std::string& bytes);

// The kinds of files of questions, by name (in any case), else by content:
// a ".txt" file may be a GIFT bank, as Moodle writes them.
enum class QuestionFileKind { NotQuestions, Table, Gift };
QuestionFileKind QuestionFileKindOf(const std::string& name, const std::string& bytes);
bool IsTableName(const std::string& name);  // "*.csv", "*.tsv", "*.gift"
// Reads a file of questions of any kind.
TableText ReadQuestionFile(const std::string& name, const std::string& bytes);

// Which field each column of a table goes in.
enum class MappingSource { HeaderRow, QuizShape, Author, Cells, Gift };
struct ColumnMapping {
  MappingSource source = MappingSource::QuizShape;
  std::vector<int> fields;  // per column: a QuizField, or LeftOutColumn
  bool sure = true;         // a guess from the cells that the author should check first
};

// The columns in the order the quiz's settings give: question, réponse,
// réponse 2 (with two answers), révélation, code, révélation 2 (mode 3).
// Fewer columns fill from the left; columns past those are left out.
ColumnMapping ShapeMapping(const AuthoredQuiz& quiz, int columnCount);
// The header row's (or the GIFT bank's) when the table has one; else the
// quiz's shape when the cells fit it, else what the cells say (GuessMapping).
ColumnMapping ChooseMapping(const TableText& table, const AuthoredQuiz& quiz);
// A mapping as ludex-pack's --colonnes gives it: one column name a column,
// separated by commas ("-" leaves a column out); false when a name is unknown.
bool ParseMapping(const std::string& utf8, ColumnMapping& mapping, std::string& unknown);
// The author gives a column another field (or LeftOutColumn); a column that
// had that field loses it.
void ChooseColumn(ColumnMapping& mapping, int column, int field);
// A column's field as a column title names it: "réponse 2"; "laissée de côté".
std::string ColumnName(int field);
// The field a column title names, LeftOutColumn for a column to leave out
// ("N°", "niveau", "lien"...), or -2 for a name no column has.
const int UnknownColumnName = -2;
int FieldOfColumnName(const std::string& utf8);
// Which field each column went in, as the window says it: "d'après la ligne
// d'en-tête : question, réponse, code" (Windows-1252).
std::string MappingText(const ColumnMapping& mapping);

// One row as it will be added, with what breaks a limit under the quiz's
// settings (QuizProblem::row is the index in ImportPreview::rows).
struct ImportRow {
  // Windows-1252; a character it lacks is the control character SUB, an
  // error that the problems list keeps until the author writes another.
  AuthoredQuestion question;
  int line = 0;
  std::vector<QuizProblem> problems;
  int cellsLeftOut = 0;  // non-empty cells in no field
  size_t tableRow = 0;   // its row in the table (a row whose every cell is left out gives none)
};

struct ImportPreview {
  std::vector<ImportRow> rows;     // no more than the quiz has room for
  std::vector<std::string> notes;  // Windows-1252: what the author should look at before the rows go in
  int rowsWithErrors = 0;
  bool mappingGuessed = false;  // the columns' fields come from their cells

  // The rows go in only after the author saw them: a row breaks a limit, or
  // the columns' fields were guessed, or
  // a note tells of columns that are not the quiz's without a header row,
  // rows of another width, text in a field the quiz does not use, cells left
  // out, characters the player cannot show or rows past its room.
  bool needsReview() const { return rowsWithErrors > 0 || !notes.empty() || mappingGuessed; }
};

ImportPreview PreviewImport(const TableText& table, const ColumnMapping& mapping, const AuthoredQuiz& quiz);

std::vector<AuthoredQuestion> QuestionsOf(const ImportPreview& preview);

// The quiz settings a new quiz takes from the columns it is made of: two
// answers for a second answer column, reveal mode 2 (3 with a second text) for
// a column of reveal texts.
void AdoptMappingSettings(const ImportPreview& preview, const ColumnMapping& mapping, AuthoredQuiz& quiz);
// The reveal mode that would show the texts of the mapping's reveal column,
// or -1 when the quiz shows them already or the column holds nothing.
int RevealModeForMapping(const ImportPreview& preview, const ColumnMapping& mapping, const AuthoredQuiz& quiz);

// The questions as a CSV file that a French spreadsheet opens directly:
// UTF-8 with BOM, ';', CR LF, a header row, the fields the settings use, the
// accepted answers one a line in their cell.
std::string WriteCsvTable(const AuthoredQuiz& quiz);
