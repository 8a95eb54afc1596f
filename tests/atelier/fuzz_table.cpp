// Fuzzes the readers of pasted rows and CSV files: any bytes must read
// without a crash or an overrun and give at most 255 rows; and the rows a
// preview keeps must come back unchanged through the editor's CSV export.
// The first byte chooses the reader (odd for a paste, even for a CSV file)
// and a field the author gives a column.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document.h"
#include "table_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const TableText table = (data[0] & 1) ? ReadPastedTable(text) : ReadCsvTable(text);
  if (table.rows.size() > static_cast<size_t>(MaxQuestions)) std::abort();

  AuthoredQuiz quiz;  // every column in use
  quiz.answersPerQuestion = 2;
  quiz.revealMode = 3;
  ColumnMapping mapping = ChooseMapping(table, quiz);
  if (mapping.fields.size() > static_cast<size_t>(MaxTableColumns)) std::abort();
  ChooseColumn(mapping, data[0] >> 5, (data[0] >> 1 & 15) - 2);  // the author's choice: any column, any field
  const ImportPreview preview = PreviewImport(table, mapping, quiz);
  if (preview.rows.size() > table.rows.size()) std::abort();  // a row whose every cell is left out gives none

  AuthoredQuiz imported = quiz;
  imported.questions = QuestionsOf(preview);
  const TableText exported = ReadCsvTable(WriteCsvTable(imported));
  const std::vector<AuthoredQuestion> back = QuestionsOf(PreviewImport(exported, ChooseMapping(exported, quiz), quiz));
  if (back.size() != imported.questions.size()) std::abort();
  for (size_t i = 0; i < back.size(); ++i)
    for (int field = static_cast<int>(QuizField::Question); field < QuizFieldCount; ++field)
      if (*FieldText(back[i], QuizField(field)) != *FieldText(imported.questions[i], QuizField(field))) std::abort();
  return 0;
}
