#include "column_guess.h"

#include <algorithm>
#include <set>


namespace {

const size_t ShortText = 60;   // characters: an answer, a wrong choice, at most
const size_t LongText = 50;    // characters on average: a reveal text, at least
const size_t LevelWords = 24;  // characters: a level, at most

// What a column's cells look like.
struct ColumnCells {
  int filled = 0;
  bool numbering = false;  // consecutive whole numbers, two at least
  bool links = false;      // mostly web addresses
  bool levels = false;     // a few short words, each repeated
  double questions = 0;    // the share of cells that end like a question
  double length = 0;       // characters, on average over the filled cells
};

size_t Characters(const std::string& utf8) {
  size_t count = 0;
  for (char c : utf8) count += (static_cast<uint8_t>(c) & 0xC0) != 0x80;
  return count;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool EndsLikeQuestion(const std::string& text) {
  for (const char* end : {"?", "\xE2\x80\xA6", "..."}) {  // "…"
    const size_t size = std::char_traits<char>::length(end);
    if (text.size() >= size && text.compare(text.size() - size, size, end) == 0) return true;
  }
  return false;
}

bool IsLink(const std::string& text) {
  for (const char* start : {"http://", "https://", "www."}) {
    if (text.compare(0, std::char_traits<char>::length(start), start) == 0) return true;
  }
  return false;
}

// A whole number of at most nine digits, or -1.
long WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stol(text);
}

ColumnCells Describe(const TableText& table, size_t column) {
  ColumnCells cells;
  std::set<std::string> distinct;
  size_t characters = 0, longest = 0;
  int questions = 0, links = 0;
  long previous = -2;
  bool counting = true;
  for (const TableRow& row : table.rows) {
    const std::string text = column < row.cells.size() ? Trimmed(row.cells[column]) : "";
    if (text.empty()) continue;
    ++cells.filled;
    const size_t size = Characters(text);
    characters += size;
    longest = std::max(longest, size);
    questions += EndsLikeQuestion(text);
    links += IsLink(text);
    const long number = WholeNumber(text);
    counting = counting && number >= 0 && (previous == -2 || number == previous + 1);
    previous = number;
    if (distinct.size() <= 8) distinct.insert(text);
  }
  if (cells.filled == 0) return cells;
  cells.length = static_cast<double>(characters) / cells.filled;
  cells.questions = static_cast<double>(questions) / cells.filled;
  cells.numbering = counting && cells.filled >= 2;
  cells.links = 2 * links >= cells.filled;
  cells.levels = !cells.numbering && cells.filled >= 3 && distinct.size() <= 4 &&
                 2 * distinct.size() <= static_cast<size_t>(cells.filled) && longest <= LevelWords && questions == 0;
  return cells;
}

bool Aside(const ColumnCells& cells) { return cells.filled == 0 || cells.numbering || cells.links || cells.levels; }

// The column of questions: the one that ends like questions, else the longest of the short texts.
int QuestionColumn(const std::vector<ColumnCells>& columns, bool& sure) {
  int best = -1;
  for (size_t k = 0; k < columns.size(); ++k) {
    if (!Aside(columns[k]) && columns[k].questions >= 0.5 && (best < 0 || columns[k].questions > columns[best].questions))
      best = static_cast<int>(k);
  }
  sure = best >= 0;
  if (best >= 0) return best;
  for (size_t k = 0; k < columns.size(); ++k) {
    const bool shortText = columns[k].length < 2 * ShortText + 40;
    if (!Aside(columns[k]) && shortText && (best < 0 || columns[k].length > columns[best].length))
      best = static_cast<int>(k);
  }
  return best;
}

// The answers: the first short column after the questions, else a short column of few repeated words (true or
// false), else any other.
int AnswerColumn(const std::vector<ColumnCells>& columns, int question) {
  const int count = static_cast<int>(columns.size());
  for (int pass = 0; pass < 3; ++pass) {
    for (int k = 1; k < count; ++k) {
      const int column = (question + k) % count;
      const ColumnCells& cells = columns[column];
      if (cells.filled == 0 || cells.numbering || cells.links) continue;
      const bool shortText = cells.length <= ShortText;
      if ((pass == 0 && shortText && !cells.levels) || (pass == 1 && shortText) || pass == 2) return column;
    }
  }
  return -1;
}

}  // namespace

ColumnMapping GuessMapping(const TableText& table, const AuthoredQuiz& quiz) {
  std::vector<ColumnCells> columns;
  for (int column = 0; column < table.columnCount; ++column) columns.push_back(Describe(table, column));
  bool sure = false;
  const int question = QuestionColumn(columns, sure);
  const ColumnMapping shape = ShapeMapping(quiz, table.columnCount);
  const bool marked = std::any_of(columns.begin(), columns.end(),
                                  [](const ColumnCells& cells) { return cells.numbering || cells.links; });
  const ColumnMapping whole = ShapeMapping(quiz, QuizFieldCount);
  const int shapeColumns = static_cast<int>(
      std::count_if(whole.fields.begin(), whole.fields.end(), [](int field) { return field != LeftOutColumn; }));
  // Without a sign in the cells, or with the quiz's own columns, the quiz's order: the author checks it when
  // the count differs.
  if (question < 0 || (!marked && !sure) || (!marked && table.columnCount <= shapeColumns && question == 0)) {
    ColumnMapping ordered = shape;
    ordered.sure = table.columnCount == shapeColumns;
    return ordered;
  }

  ColumnMapping mapping;
  mapping.source = MappingSource::Cells;
  mapping.fields.assign(columns.size(), LeftOutColumn);
  mapping.fields[question] = static_cast<int>(QuizField::Question);
  const int answer = AnswerColumn(columns, question);
  if (answer >= 0) mapping.fields[answer] = static_cast<int>(QuizField::Answer1);
  int reveal = -1;
  for (int k = 0; k < static_cast<int>(columns.size()); ++k) {
    if (k == question || k == answer || Aside(columns[k]) || columns[k].length < LongText) continue;
    if (reveal < 0 || columns[k].length > columns[reveal].length) reveal = k;
  }
  if (reveal >= 0) mapping.fields[reveal] = static_cast<int>(QuizField::Reveal1);
  mapping.sure = sure && answer >= 0 && columns[answer].length <= ShortText;
  return mapping;
}
