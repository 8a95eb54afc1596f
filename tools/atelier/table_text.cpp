#include "table_text.h"

#include <algorithm>

#include "cp1252.h"
#include "document.h"
#include "source_keywords.h"

namespace {

const int LeftOut = -1;  // a cell that goes in no column

const QuizField FieldOfColumn[TableColumnCount] = {QuizField::Question, QuizField::Answer1, QuizField::Answer2,
                                                   QuizField::Reveal1,  QuizField::Code,    QuizField::Reveal2};

// Column names as NormalizeKeyword leaves them ("Réponse 2" gives "reponse 2").
const struct {
  const char* name;
  int column;
} ColumnNames[] = {
    {"question", 0},     {"questions", 0},    {"reponse", 1},         {"reponse 1", 1},
    {"reponse1", 1},     {"reponses", 1},     {"bonne reponse", 1},   {"reponse attendue", 1},
    {"reponse 2", 2},    {"reponse2", 2},     {"seconde reponse", 2}, {"deuxieme reponse", 2},
    {"revelation", 3},   {"revelation 1", 3}, {"revelation1", 3},     {"texte de revelation", 3},
    {"texte revele", 3}, {"code", 4},         {"codes", 4},           {"code de score", 4},
    {"revelation 2", 5}, {"revelation2", 5},  {"no", LeftOut},        {"n", LeftOut},
    {"numero", LeftOut}, {"num", LeftOut},    {"#", LeftOut},
};

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// A spreadsheet runs a cell that begins with one of these as a formula; past
// the apostrophes that may come first.
bool StartsLikeFormula(const std::string& text) {
  const size_t first = text.find_first_not_of('\'');
  if (first == std::string::npos) return false;
  const char c = text[first];
  return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

// The export writes such a cell after an apostrophe, which a spreadsheet
// shows as text and does not run; the import takes exactly that apostrophe
// off again, so a text that began with apostrophes keeps them.
std::string WithFormulaMark(const std::string& text) { return StartsLikeFormula(text) ? "'" + text : text; }

std::string WithoutFormulaMark(const std::string& text) {
  if (text.empty() || text[0] != '\'' || !StartsLikeFormula(text.substr(1))) return text;
  return text.substr(1);
}

// Steps over one line end: CR LF, LF or a lone CR.
void SkipLineEnd(const std::string& text, size_t& position) {
  if (text[position] == '\r' && position + 1 < text.size() && text[position + 1] == '\n') ++position;
  ++position;
}

// Reads one record from position: cells up to a line end outside quotes. A
// cell that starts with '"' is quoted: separators and line breaks are its
// own, "" is one quote, and it ends at the lone closing quote (anything after
// it, up to the separator, still belongs to the cell). Returns false when a
// quote is still open at the end of the text.
bool ReadRecord(const std::string& text, char separator, size_t& position, int& line, std::vector<std::string>& cells) {
  cells.assign(1, std::string());
  bool quoted = position < text.size() && text[position] == '"';
  if (quoted) ++position;
  while (position < text.size()) {
    const char c = text[position];
    if (quoted) {
      if (c == '"' && position + 1 < text.size() && text[position + 1] == '"') {
        cells.back() += '"';
        position += 2;
      } else if (c == '"') {
        quoted = false;
        ++position;
      } else if (IsLineEnd(c)) {
        cells.back() += "\r\n";
        SkipLineEnd(text, position);
        ++line;
      } else {
        cells.back() += c;
        ++position;
      }
    } else if (c == separator) {
      cells.emplace_back();
      ++position;
      quoted = position < text.size() && text[position] == '"';
      if (quoted) ++position;
    } else if (IsLineEnd(c)) {
      SkipLineEnd(text, position);
      ++line;
      return true;
    } else {
      cells.back() += c;
      ++position;
    }
  }
  return !quoted;
}

// The columns a header row names, or an empty list when the row is no header:
// every non-empty cell a known name, a question or an answer among them.
std::vector<int> HeaderColumns(const std::vector<std::string>& cells) {
  std::vector<int> columns;
  bool named = false;
  for (std::string cell : cells) {
    size_t degree;
    while ((degree = cell.find("\xC2\xB0")) != std::string::npos) cell.replace(degree, 2, "o");  // "N°"
    while (!cell.empty() && (cell.back() == ':' || cell.back() == ' ')) cell.pop_back();
    const std::string name = NormalizeKeyword(cell);
    int column = LeftOut;
    if (!name.empty()) {
      bool known = false;
      for (const auto& entry : ColumnNames) {
        if (name == entry.name) {
          column = entry.column;
          known = true;
        }
      }
      if (!known) return {};
    } else if (!cell.empty() && cell.find_first_not_of(" \t") != std::string::npos) {
      return {};  // something NormalizeKeyword does not read: no name
    }
    named = named || column == 0 || column == 1;
    columns.push_back(column);
  }
  return named ? columns : std::vector<int>();
}

std::string TextSize(size_t bytes) { return std::to_string(bytes) + " octets"; }

// Reads the rows of a table; a CSV file's cells lose the export's formula mark.
TableText ReadTable(const std::string& text, char separator, size_t position, bool csv) {
  TableText table;
  table.separator = separator;
  std::vector<int> columns;
  std::vector<std::string> cells;
  int line = 1;
  bool first = true;
  while (position < text.size()) {
    const int start = line;
    if (!ReadRecord(text, separator, position, line, cells)) {
      table.problems.push_back("ligne " + std::to_string(start) +
                               " : un guillemet ouvert n'est jamais fermé ; la fin du texte est lue comme une seule "
                               "cellule");
    }
    if (first) {
      first = false;
      columns = HeaderColumns(cells);
      table.headerRow = !columns.empty();
      if (table.headerRow) continue;
      for (int i = 0; i < TableColumnCount; ++i) columns.push_back(i);
    }
    TableRow row;
    row.line = start;
    bool empty = true;
    for (size_t i = 0; i < cells.size(); ++i) {
      const int column = i < columns.size() ? columns[i] : LeftOut;
      if (column == LeftOut) {
        row.cellsLeftOut += !cells[i].empty();
        continue;
      }
      row.cells[column] = csv ? WithoutFormulaMark(cells[i]) : cells[i];
      empty = empty && cells[i].empty();
    }
    if (empty) continue;
    if (table.rows.size() < static_cast<size_t>(MaxQuestions)) {
      table.rows.push_back(row);
    } else {
      ++table.rowsLeftOut;
    }
  }
  return table;
}

bool TooLarge(const std::string& text, TableText& table) {
  if (text.size() <= MaxTableBytes) return false;
  table.problems.push_back("le texte fait " + TextSize(text.size()) + " ; l'import en lit au plus " +
                           TextSize(MaxTableBytes));
  return true;
}

// The separator that the first record holds more of, outside quotes; ';' on a tie.
char GuessSeparator(const std::string& text, size_t position) {
  int semicolons = 0, commas = 0;
  bool quoted = false;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (c == '"')
      quoted = !quoted;
    else if (!quoted && IsLineEnd(c))
      break;
    else if (!quoted && c == ';')
      ++semicolons;
    else if (!quoted && c == ',')
      ++commas;
  }
  return commas > semicolons ? ',' : ';';
}

std::string CsvCell(const std::string& bytes) {
  const std::string utf8 = WithFormulaMark(Utf8FromCp1252(bytes));
  const bool edgeSpace = !utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' ');
  if (utf8.find_first_of(";,\"\r\n") == std::string::npos && !edgeSpace) return utf8;
  std::string out = "\"";
  for (char c : utf8) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

}  // namespace

TableText ReadPastedTable(const std::string& utf8) {
  TableText table;
  if (TooLarge(utf8, table)) return table;
  if (IsValidUtf8(utf8)) return ReadTable(utf8, '\t', 0, false);
  table = ReadTable(Utf8FromCp1252(utf8), '\t', 0, false);
  table.windows1252 = true;
  return table;
}

TableText ReadCsvTable(const std::string& bytes) {
  TableText table;
  if (TooLarge(bytes, table)) return table;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    table.problems.push_back(
        "le fichier est en UTF-16 : enregistrez-le en « CSV UTF-8 » ou en « CSV (point-virgule) »");
    return table;
  }
  std::string text = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
  const bool windows1252 = !IsValidUtf8(text);
  if (windows1252) text = Utf8FromCp1252(text);
  size_t start = 0;
  char separator;
  // Excel's own hint, "sep=;" alone on the first line.
  if (text.compare(0, 4, "sep=") == 0 && text.size() > 4 && (text.size() == 5 || IsLineEnd(text[5]))) {
    separator = text[4];
    start = 5;
    if (start < text.size()) SkipLineEnd(text, start);
  } else {
    separator = GuessSeparator(text, 0);
  }
  table = ReadTable(text, separator, start, true);
  table.windows1252 = windows1252;
  return table;
}

ImportPreview PreviewImport(const TableText& table, const AuthoredQuiz& quiz) {
  ImportPreview preview;
  preview.notes = table.problems;
  const size_t room = MaxQuestions - std::min(quiz.questions.size(), static_cast<size_t>(MaxQuestions));
  for (const TableRow& tableRow : table.rows) {
    if (preview.rows.size() == room) break;
    ImportRow row;
    row.line = tableRow.line;
    const int index = static_cast<int>(preview.rows.size());
    for (int column = 0; column < TableColumnCount; ++column) {
      const QuizField field = FieldOfColumn[column];
      const TextCheck check = CheckTextUtf8(field, tableRow.cells[column]);
      *FieldText(row.question, field) = check.bytes;
      if (!FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) {
        if (!check.bytes.empty()) {
          row.problems.push_back(
              {QuizRule::Text, index, static_cast<int>(field), false, FieldNeedsSettingMessage(field)});
        }
        continue;
      }
      for (const TextProblem& problem : check.problems) {
        row.problems.push_back({QuizRule::Text, index, static_cast<int>(field), problem.isError,
                                ProblemText(problem.column, problem.message)});
      }
    }
    if (tableRow.cellsLeftOut > 0) {
      row.problems.push_back(
          {QuizRule::Text, index, -1, false,
           std::to_string(tableRow.cellsLeftOut) + " cellule(s) hors des colonnes connues, laissée(s) de côté"});
    }
    preview.rowsWithErrors += AnyError(row.problems);
    preview.rows.push_back(row);
  }
  const size_t leftOut = table.rows.size() - preview.rows.size() + table.rowsLeftOut;
  if (leftOut > 0) {
    preview.notes.push_back(QuestionCountError(quiz.questions.size() + preview.rows.size() + leftOut) + " ; " +
                            std::to_string(leftOut) + " ligne(s) du texte ne sont pas ajoutées");
  }
  return preview;
}

std::vector<AuthoredQuestion> QuestionsOf(const ImportPreview& preview) {
  std::vector<AuthoredQuestion> questions;
  for (const ImportRow& row : preview.rows) questions.push_back(row.question);
  return questions;
}

std::string WriteCsvTable(const AuthoredQuiz& quiz) {
  const int columns = HasSecondRevealText(quiz.revealMode) ? TableColumnCount : TableColumnCount - 1;
  std::string out = "\xEF\xBB\xBF";
  out += u8"question;réponse;réponse 2;révélation;code";
  out += columns == TableColumnCount ? u8";révélation 2\r\n" : "\r\n";
  for (const AuthoredQuestion& question : quiz.questions) {
    for (int column = 0; column < columns; ++column) {
      const QuizField field = FieldOfColumn[column];
      if (column > 0) out += ';';
      if (FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) out += CsvCell(*FieldText(question, field));
    }
    out += "\r\n";
  }
  return out;
}
