#include "table_text.h"

#include <algorithm>

#include "column_guess.h"
#include "cp1252.h"
#include "french_text.h"
#include "gift_bank.h"
#include "source_keywords.h"
#include "text_decoding.h"

namespace {

const int Q = static_cast<int>(QuizField::Question), A1 = static_cast<int>(QuizField::Answer1),
          A2 = static_cast<int>(QuizField::Answer2), R1 = static_cast<int>(QuizField::Reveal1),
          R2 = static_cast<int>(QuizField::Reveal2), C = static_cast<int>(QuizField::Code),
          X1 = static_cast<int>(QuizField::Accepted1), X2 = static_cast<int>(QuizField::Accepted2);

// Column names as NormalizeKeyword leaves them ("Réponse 2" gives "reponse 2").
const struct {
  const char* name;
  int field;
} ColumnNames[] = {
    {"question", Q},
    {"questions", Q},
    {"intitule", Q},
    {"enonce", Q},
    {"reponse", A1},
    {"reponse 1", A1},
    {"reponse1", A1},
    {"reponses", A1},
    {"bonne reponse", A1},
    {"reponse attendue", A1},
    {"reponse correcte", A1},
    {"reponse 2", A2},
    {"reponse2", A2},
    {"seconde reponse", A2},
    {"deuxieme reponse", A2},
    {"acceptees aussi", X1},
    {"acceptee aussi", X1},
    {"aussi", X1},
    {"reponses acceptees", X1},
    {"autres reponses", X1},
    {"acceptees aussi 2", X2},
    {"acceptee aussi 2", X2},
    {"aussi 2", X2},
    {"revelation", R1},
    {"revelation 1", R1},
    {"revelation1", R1},
    {"texte de revelation", R1},
    {"texte revele", R1},
    {"anecdote", R1},
    {"explication", R1},
    {"code", C},
    {"codes", C},
    {"code de score", C},
    {"revelation 2", R2},
    {"revelation2", R2},
    {"no", LeftOutColumn},
    {"n", LeftOutColumn},
    {"numero", LeftOutColumn},
    {"num", LeftOutColumn},
    {"#", LeftOutColumn},
    {"id", LeftOutColumn},
    {"niveau", LeftOutColumn},
    {"difficulte", LeftOutColumn},
    {"theme", LeftOutColumn},
    {"categorie", LeftOutColumn},
    {"sujet", LeftOutColumn},
    {"lien", LeftOutColumn},
    {"liens", LeftOutColumn},
    {"url", LeftOutColumn},
    {"source", LeftOutColumn},
    {"titre", LeftOutColumn},
};

// Names of the wrong choices of a multiple-choice bank, numbered or not: left out.
const char* const ChoiceNames[] = {"proposition", "choix", "mauvaise reponse", "reponse fausse", "distracteur",
                                   "leurre"};

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
  if (text.compare(position, 2, "\r\n") == 0) ++position;
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

// The field a column title names (see FieldOfColumnName).
int FieldOfName(std::string cell) {
  size_t degree;
  while ((degree = cell.find("\xC2\xB0")) != std::string::npos) cell.replace(degree, 2, "o");  // "N°"
  while (!cell.empty() && (cell.back() == ':' || cell.back() == ' ')) cell.pop_back();
  std::string name = NormalizeKeyword(cell);
  if (name.empty()) return UnknownColumnName;
  for (const auto& entry : ColumnNames) {
    if (name == entry.name) return entry.field;
  }
  while (!name.empty() && ((name.back() >= '0' && name.back() <= '9') || name.back() == ' ')) name.pop_back();
  for (const char* choice : ChoiceNames) {
    if (name == choice || name + "s" == choice || name == std::string(choice) + "s") return LeftOutColumn;
  }
  return UnknownColumnName;
}

// The fields a header row names, or an empty list when the row is no header:
// a question or an answer named, and at least two cells in three known names
// (an unknown one is left out).
std::vector<int> HeaderFields(const std::vector<std::string>& cells) {
  std::vector<int> fields;
  bool named = false;
  int known = 0, written = 0;
  for (const std::string& cell : cells) {
    int field = LeftOutColumn;
    if (cell.find_first_not_of(" \t") != std::string::npos) {
      ++written;
      field = FieldOfName(cell);
      if (field == UnknownColumnName)
        field = LeftOutColumn;
      else
        ++known;
    }
    named = named || field == Q || field == A1;
    fields.push_back(field);
  }
  return named && known >= 2 && 3 * known >= 2 * written ? fields : std::vector<int>();
}

std::string TextSize(size_t bytes) { return std::to_string(bytes) + " octets"; }

// Reads the rows of a table; a CSV file's cells lose the export's formula mark.
TableText ReadTable(const std::string& text, char separator, size_t position, bool csv) {
  TableText table;
  table.separator = separator;
  std::vector<std::string> cells;
  int line = 1;
  while (position < text.size()) {
    const int start = line;
    if (!ReadRecord(text, separator, position, line, cells)) {
      table.problems.push_back("ligne " + std::to_string(start) +
                               " : un guillemet ouvert n'est jamais ferm\xE9 ; la fin du texte est lue comme une seule "
                               "cellule");
    }
    if (start == 1) {
      table.headerFields = HeaderFields(cells);
      table.headerRow = !table.headerFields.empty();
      if (table.headerRow) {
        table.headerFields.resize(std::min(table.headerFields.size(), static_cast<size_t>(MaxTableColumns)));
        table.columnNames.assign(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(table.headerFields.size()));
        continue;
      }
    }
    TableRow row;
    row.line = start;
    row.cellCount = static_cast<int>(cells.size());
    bool empty = true;
    for (size_t i = 0; i < cells.size(); ++i) {
      empty = empty && cells[i].empty();
      if (i < static_cast<size_t>(MaxTableColumns)) {
        row.cells.push_back(csv ? WithoutFormulaMark(cells[i]) : cells[i]);
      } else {
        row.cellsPastColumns += !cells[i].empty();
      }
    }
    if (empty) continue;
    if (table.rows.size() < static_cast<size_t>(MaxQuestions)) {
      table.columnCount = std::max(table.columnCount, static_cast<int>(row.cells.size()));
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
  int semicolons = 0, commas = 0, tabs = 0;
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
    else if (!quoted && c == '\t')
      ++tabs;
  }
  if (tabs > semicolons && tabs > commas) return '\t';
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

namespace {

// The notes of a decoding: stray bytes in a UTF-8 text, C1 control characters read as Windows-1252.
void NoteDecoding(const DecodedText& decoded, TableText& table) {
  table.windows1252 = decoded.windows1252;
  for (const std::string& note : {StrayBytesMessage(decoded, true), ControlsMessage(decoded, true)}) {
    if (!note.empty()) table.problems.push_back(note);
  }
}

}  // namespace

TableText ReadPastedTable(const std::string& utf8) {
  TableText table;
  if (TooLarge(utf8, table)) return table;
  const DecodedText decoded = DecodeText(utf8, true);
  table = ReadTable(decoded.utf8, '\t', 0, false);
  NoteDecoding(decoded, table);
  return table;
}

namespace {

std::string LowerExtension(const std::string& name) {
  const size_t dot = name.find_last_of("./\\");
  if (dot == std::string::npos || name[dot] != '.') return "";
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension;
}

}  // namespace

bool IsTableName(const std::string& name) {
  const std::string extension = LowerExtension(name);
  return extension == "csv" || extension == "tsv" || extension == "gift";
}

QuestionFileKind QuestionFileKindOf(const std::string& name, const std::string& bytes) {
  const std::string extension = LowerExtension(name);
  if (extension == "gift") return QuestionFileKind::Gift;
  if (extension == "csv" || extension == "tsv") return QuestionFileKind::Table;
  return LooksLikeGift(bytes) ? QuestionFileKind::Gift : QuestionFileKind::NotQuestions;
}

TableText ReadQuestionFile(const std::string& name, const std::string& bytes) {
  return QuestionFileKindOf(name, bytes) == QuestionFileKind::Gift ? ReadGiftBank(bytes) : ReadCsvTable(bytes);
}

TableText ReadCsvTable(const std::string& bytes) {
  TableText table;
  if (TooLarge(bytes, table)) return table;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    table.problems.push_back(
        "le fichier est en UTF-16 : enregistrez-le en \xAB CSV UTF-8 \xBB ou en \xAB CSV (point-virgule) \xBB");
    return table;
  }
  const DecodedText decoded = DecodeText(bytes, true);
  const std::string& text = decoded.utf8;
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
  NoteDecoding(decoded, table);
  return table;
}

namespace {

// The quiz's columns in the order of its settings, as the export writes them.
std::vector<int> ShapeColumns(const AuthoredQuiz& quiz) {
  std::vector<int> order = {Q, A1};
  if (HasSecondAnswer(quiz.answersPerQuestion)) order.push_back(A2);
  order.push_back(R1);
  order.push_back(C);
  if (HasSecondRevealText(quiz.revealMode)) order.push_back(R2);
  return order;
}

}  // namespace

ColumnMapping ShapeMapping(const AuthoredQuiz& quiz, int columnCount) {
  const std::vector<int> order = ShapeColumns(quiz);
  ColumnMapping mapping;
  for (int column = 0; column < columnCount; ++column) {
    mapping.fields.push_back(column < static_cast<int>(order.size()) ? order[column] : LeftOutColumn);
  }
  return mapping;
}

ColumnMapping ChooseMapping(const TableText& table, const AuthoredQuiz& quiz) {
  if (!table.headerRow) return GuessMapping(table, quiz);
  ColumnMapping mapping = {table.gift ? MappingSource::Gift : MappingSource::HeaderRow, table.headerFields};
  mapping.fields.resize(std::max(table.headerFields.size(), static_cast<size_t>(table.columnCount)), LeftOutColumn);
  mapping.fields.resize(std::min(mapping.fields.size(), static_cast<size_t>(MaxTableColumns)));
  return mapping;
}

int FieldOfColumnName(const std::string& utf8) {
  const std::string name = NormalizeKeyword(utf8);
  if (name == "-" || name == "x" || name == "laissee de cote" || name == "aucun") return LeftOutColumn;
  return FieldOfName(utf8);
}

bool ParseMapping(const std::string& utf8, ColumnMapping& mapping, std::string& unknown) {
  mapping = ColumnMapping();
  mapping.source = MappingSource::Author;
  size_t start = 0;
  while (mapping.fields.size() < static_cast<size_t>(MaxTableColumns)) {
    const size_t comma = std::min(utf8.find(',', start), utf8.size());
    const std::string name = utf8.substr(start, comma - start);
    const int field = FieldOfColumnName(name);
    if (field == UnknownColumnName || (field >= 0 && !IsQuestionField(static_cast<QuizField>(field)))) {
      unknown = name;
      return false;
    }
    if (field != LeftOutColumn) std::replace(mapping.fields.begin(), mapping.fields.end(), field, LeftOutColumn);
    mapping.fields.push_back(field);
    if (comma == utf8.size()) break;
    start = comma + 1;
  }
  return true;
}

void ChooseColumn(ColumnMapping& mapping, int column, int field) {
  if (column < 0 || column >= static_cast<int>(mapping.fields.size())) return;
  const bool questionField = field >= 0 && field < QuizFieldCount && IsQuestionField(static_cast<QuizField>(field));
  if (field != LeftOutColumn && !questionField) return;
  for (int& other : mapping.fields) {
    if (other == field) other = LeftOutColumn;
  }
  mapping.fields[static_cast<size_t>(column)] = field;
  mapping.source = MappingSource::Author;
}

std::string ColumnName(int field) {
  switch (field) {
    case Q: return "question";
    case A1: return "r\xE9ponse";
    case A2: return "r\xE9ponse 2";
    case X1: return "accept\xE9" "es aussi";
    case X2: return "accept\xE9" "es aussi 2";
    case R1: return "r\xE9v\xE9lation";
    case R2: return "r\xE9v\xE9lation 2";
    case C: return "code";
    default:
      return "laiss\xE9"
             "e de c\xF4t\xE9";
  }
}

std::string MappingText(const ColumnMapping& mapping) {
  std::string text;
  switch (mapping.source) {
    case MappingSource::HeaderRow: text = "d'apr\xE8s la ligne d'en-t\xEAte : "; break;
    case MappingSource::QuizShape: text = "dans l'ordre du quiz : "; break;
    case MappingSource::Cells: text = "d'apr\xE8s leurs cellules : "; break;
    case MappingSource::Gift: text = "d'apr\xE8s le fichier GIFT : "; break;
    default: text = "comme vous les avez choisies : "; break;
  }
  for (size_t column = 0; column < mapping.fields.size(); ++column) {
    text += (column > 0 ? ", " : "") + ColumnName(mapping.fields[column]);
  }
  return text;
}

namespace {

// Why the quiz's settings leave a field out, in the words of the editor's controls.
std::string UnusedFieldText(int field) {
  if (field == R1) return "le mode de r\xE9v\xE9lation du quiz n'en montre aucune";
  if (field == R2) return "seul le mode de r\xE9v\xE9lation 3 en garde une seconde";
  return "le quiz n'a qu'une r\xE9ponse par question (\xAB R\xE9ponses par question \xBB : 1)";
}

// A cell's text before it is spelled for the player: a character that
// Windows-1252 lacks and that has no nearer spelling becomes SUB, which the
// text rules report wherever the text goes, rather than a silent "?".
std::string QuizBytes(const std::string& utf8) {
  std::string marked, spelling;
  uint32_t c = 0;
  for (size_t position = 0; position < utf8.size();) {
    const size_t start = position;
    if (!DecodeUtf8(utf8, position, c)) return utf8;  // left for the text rules to report
    if (Cp1252FromCodePoint(c) < 0 && !NearestSpelling(c, spelling))
      marked += '\x1A';
    else
      marked.append(utf8, start, position - start);
  }
  return marked;
}

// One row under the mapping and the quiz's settings, with its problems.
ImportRow PreviewRow(const TableRow& tableRow, const ColumnMapping& mapping, const AuthoredQuiz& quiz, int index) {
  ImportRow row;
  row.line = tableRow.line;
  int leftOut = tableRow.cellsPastColumns;
  // A column left out by name, by its cells or by the author is no surprise; past the quiz's own columns it is.
  const bool chosen = mapping.source != MappingSource::QuizShape;
  for (size_t column = 0; column < tableRow.cells.size(); ++column) {
    const int field = column < mapping.fields.size() ? mapping.fields[column] : LeftOutColumn;
    if (field == LeftOutColumn) {
      leftOut += !tableRow.cells[column].empty() && !(chosen && column < mapping.fields.size());
      continue;
    }
    const QuizField quizField = static_cast<QuizField>(field);
    std::vector<Respelling> changes;
    const TextCheck check = CheckTextUtf8(quizField, RespellForPlayer(QuizBytes(tableRow.cells[column]), &changes));
    *FieldText(row.question, quizField) = check.bytes;
    if (!FieldInUse(quizField, quiz.answersPerQuestion, quiz.revealMode)) {
      if (!check.bytes.empty()) {
        row.problems.push_back({QuizRule::Text, index, field, false, UnusedFieldText(field)});
      }
      continue;
    }
    for (const Respelling& change : changes) {
      row.problems.push_back({QuizRule::Text, index, field, !change.found,
                              ProblemText(change.column, RespellingMessage(change))});
    }
    for (const TextProblem& problem : check.problems) {
      row.problems.push_back({QuizRule::Text, index, field, problem.isError,
                              ProblemText(problem.column, problem.message), problem.line});
    }
  }
  row.cellsLeftOut = leftOut;
  if (leftOut > 0) {
    row.problems.push_back({QuizRule::Text, index, -1, false,
                            std::to_string(leftOut) + " cellule(s) hors des colonnes du quiz, laiss\xE9"
                                                      "e(s) de c\xF4t\xE9"});
  }
  return row;
}

bool EmptyQuestion(const AuthoredQuestion& question) {
  for (int field = 0; field < QuizFieldCount; ++field) {
    const std::string* text = FieldText(question, static_cast<QuizField>(field));
    if (text != nullptr && !text->empty()) return false;
  }
  return true;
}

std::string LineList(const std::vector<int>& lines) {
  std::string text = lines.size() > 1 ? "lignes " : "ligne ";
  for (size_t k = 0; k < lines.size() && k < 6; ++k) text += (k > 0 ? ", " : "") + std::to_string(lines[k]);
  return text + (lines.size() > 6 ? "\x85" : "");
}

// Rows whose count of cells is not the one most rows have: a cell too many
// or too few shifts the others.
void NoteUnevenRows(const TableText& table, size_t rows, std::vector<std::string>& notes) {
  std::vector<int> counts(MaxTableColumns + 2, 0);
  for (size_t k = 0; k < rows; ++k) ++counts[std::min(table.rows[k].cellCount, MaxTableColumns + 1)];
  const int usual = static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
  std::vector<int> lines;
  for (size_t k = 0; k < rows; ++k) {
    if (std::min(table.rows[k].cellCount, MaxTableColumns + 1) != usual) lines.push_back(table.rows[k].line);
  }
  if (lines.empty()) return;
  notes.push_back(LineList(lines) + " : pas le m\xEAme nombre de colonnes que les autres lignes (" +
                  std::to_string(usual) + ") ; v\xE9rifiez que chaque texte est dans la bonne colonne");
}

// Columns without a header row, not as many as the quiz's own: a column left
// out on the way (the reveal texts, say) shifts the others.
void NoteShapeOfTable(const TableText& table, const ColumnMapping& mapping, const AuthoredQuiz& quiz,
                      std::vector<std::string>& notes) {
  const std::vector<int> shape = ShapeColumns(quiz);
  if (mapping.source != MappingSource::QuizShape || table.columnCount == static_cast<int>(shape.size())) return;
  std::string names;
  for (size_t column = 0; column < shape.size(); ++column)
    names += (column > 0 ? ", " : "") + ColumnName(shape[column]);
  notes.push_back("le texte a " + Counted(table.columnCount, "colonne", "colonnes") + " et pas de ligne d'en-t\xEAte, et ce quiz en a " + std::to_string(shape.size()) + " (" + names +
                  ") : v\xE9rifiez le champ de chaque colonne");
}

// A column that puts text into a field the quiz does not use.
void NoteUnusedFields(const ImportPreview& preview, const ColumnMapping& mapping, const AuthoredQuiz& quiz,
                      std::vector<std::string>& notes) {
  for (size_t column = 0; column < mapping.fields.size(); ++column) {
    const int field = mapping.fields[column];
    if (field == LeftOutColumn || FieldInUse(static_cast<QuizField>(field), quiz.answersPerQuestion, quiz.revealMode))
      continue;
    bool filled = false;
    for (const ImportRow& row : preview.rows) filled = filled || !FieldText(row.question, QuizField(field))->empty();
    if (!filled) continue;
    notes.push_back("la colonne " + std::to_string(column + 1) + " va dans " + Quoted(ColumnName(field)) + ", et " +
                    UnusedFieldText(field) + " : changez ce r\xE9glage, choisissez une autre colonne, ou laissez-la "
                    "de c\xF4t\xE9");
  }
}

// Each character the player cannot show, with the lines that hold it.
void NoteRefusedCharacters(const TableText& table, size_t rows, const ColumnMapping& mapping,
                           std::vector<std::string>& notes) {
  std::vector<std::pair<uint32_t, std::vector<int>>> found;
  for (size_t k = 0; k < rows; ++k) {
    const std::vector<std::string>& cells = table.rows[k].cells;
    for (size_t column = 0; column < cells.size() && column < mapping.fields.size(); ++column) {
      if (mapping.fields[column] == LeftOutColumn) continue;
      const std::string& cell = cells[column];
      uint32_t c = 0;
      for (size_t position = 0; position < cell.size();) {
        if (!DecodeUtf8(cell, position, c)) break;
        if (Cp1252FromCodePoint(c) >= 0) continue;
        auto entry = std::find_if(found.begin(), found.end(), [c](const auto& f) { return f.first == c; });
        if (entry == found.end()) entry = found.insert(found.end(), {c, {}});
        if (entry->second.empty() || entry->second.back() != table.rows[k].line)
          entry->second.push_back(table.rows[k].line);
      }
    }
  }
  if (found.empty()) return;
  std::string note =
      "le lecteur ne peut pas afficher ces caract\xE8res : chacun deviendra ce que dit sa parenth\xE8se ; sans "
      "elle, il sera ajout\xE9 comme une erreur que la liste des probl\xE8mes garde jusqu'\xE0 ce que vous l'\xE9"
      "criviez autrement :";
  for (const auto& [c, lines] : found) note += "\n  " + CodePointName(c) + ", " + LineList(lines);
  notes.push_back(note);
}

}  // namespace

ImportPreview PreviewImport(const TableText& table, const ColumnMapping& mapping, const AuthoredQuiz& quiz) {
  ImportPreview preview;
  preview.notes = table.problems;
  const size_t room = MaxQuestions - std::min(quiz.questions.size(), static_cast<size_t>(MaxQuestions));
  std::vector<int> leftOut, nothingLeft;
  size_t read = 0;  // rows of the table gone through
  for (; read < table.rows.size() && preview.rows.size() < room; ++read) {
    ImportRow row = PreviewRow(table.rows[read], mapping, quiz, static_cast<int>(preview.rows.size()));
    row.tableRow = read;
    if (EmptyQuestion(row.question)) {  // every cell left out (the reader skips empty rows): no question to add
      nothingLeft.push_back(row.line);
      continue;
    }
    if (row.cellsLeftOut > 0) leftOut.push_back(row.line);
    preview.rowsWithErrors += AnyError(row.problems);
    preview.rows.push_back(row);
  }
  preview.mappingGuessed = mapping.source == MappingSource::Cells;
  if (mapping.source == MappingSource::Cells && !mapping.sure) {
    preview.notes.push_back(
        "les colonnes sont devin\xE9" "es d'apr\xE8s leurs cellules, sans certitude : v\xE9rifiez le champ choisi "
        "pour chacune");
  }
  NoteShapeOfTable(table, mapping, quiz, preview.notes);
  NoteUnevenRows(table, read, preview.notes);
  NoteUnusedFields(preview, mapping, quiz, preview.notes);
  if (!leftOut.empty()) {
    preview.notes.push_back(LineList(leftOut) +
                            " : des cellules sont hors des colonnes du quiz et seront laiss\xE9"
                            "es "
                            "de c\xF4t\xE9");
  }
  if (!nothingLeft.empty()) {
    preview.notes.push_back(LineList(nothingLeft) +
                            " : rien dans les colonnes du quiz, aucune question ajout\xE9"
                            "e");
  }
  NoteRefusedCharacters(table, read, mapping, preview.notes);
  const size_t past = table.rows.size() - read + table.rowsLeftOut;
  if (past > 0) {
    preview.notes.push_back(QuestionCountError(quiz.questions.size() + preview.rows.size() + past) + " ; " +
                            std::to_string(past) +
                            " ligne(s) du texte ne sont pas ajout\xE9"
                            "es");
  }
  return preview;
}

std::vector<AuthoredQuestion> QuestionsOf(const ImportPreview& preview) {
  std::vector<AuthoredQuestion> questions;
  for (const ImportRow& row : preview.rows) questions.push_back(row.question);
  return questions;
}

namespace {

bool Maps(const ColumnMapping& mapping, int field) {
  return std::find(mapping.fields.begin(), mapping.fields.end(), field) != mapping.fields.end();
}

bool AnyText(const ImportPreview& preview, QuizField field) {
  return std::any_of(preview.rows.begin(), preview.rows.end(),
                     [field](const ImportRow& row) { return !FieldText(row.question, field)->empty(); });
}

}  // namespace

void AdoptMappingSettings(const ImportPreview& preview, const ColumnMapping& mapping, AuthoredQuiz& quiz) {
  if ((Maps(mapping, A2) || Maps(mapping, X2)) && !HasSecondAnswer(quiz.answersPerQuestion))
    quiz.answersPerQuestion = MaxAnswersPerQuestion;
  const int mode = RevealModeForMapping(preview, mapping, quiz);
  if (mode >= 0) quiz.revealMode = mode;
}

int RevealModeForMapping(const ImportPreview& preview, const ColumnMapping& mapping, const AuthoredQuiz& quiz) {
  const bool second = Maps(mapping, R2) && AnyText(preview, QuizField::Reveal2);
  if (second && !HasSecondRevealText(quiz.revealMode)) return 3;
  if (Maps(mapping, R1) && AnyText(preview, QuizField::Reveal1) && !HasRevealTexts(quiz.revealMode)) return 2;
  return -1;
}

std::string WriteCsvTable(const AuthoredQuiz& quiz) {
  const bool two = HasSecondAnswer(quiz.answersPerQuestion);
  std::vector<QuizField> columns = {QuizField::Question, QuizField::Answer1, QuizField::Accepted1, QuizField::Answer2};
  if (two) columns.push_back(QuizField::Accepted2);
  columns.insert(columns.end(), {QuizField::Reveal1, QuizField::Code});
  if (HasSecondRevealText(quiz.revealMode)) columns.push_back(QuizField::Reveal2);
  std::string out = "\xEF\xBB\xBF";
  for (size_t column = 0; column < columns.size(); ++column) {
    out += (column > 0 ? ";" : "") + Utf8FromCp1252(ColumnName(static_cast<int>(columns[column])));
  }
  out += "\r\n";
  for (const AuthoredQuestion& question : quiz.questions) {
    for (size_t column = 0; column < columns.size(); ++column) {
      const QuizField field = columns[column];
      if (column > 0) out += ';';
      if (FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode)) out += CsvCell(*FieldText(question, field));
    }
    out += "\r\n";
  }
  return out;
}
