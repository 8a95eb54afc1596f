// Which field each column of a table without a header row goes in, from what
// its cells hold, as a teacher would tell at a glance: a column of
// consecutive numbers is a numbering, web addresses are links, a few words
// repeated down the column are levels (all three left out); the questions
// end in "?" or "…", or are the longest short texts; the answer is the first
// short column after them (the other short ones are wrong choices, left
// out); a column of long texts is the reveal text. A table of the quiz's own
// columns, without those signs, keeps the quiz's order (ShapeMapping).
#pragma once
#include "table_text.h"

ColumnMapping GuessMapping(const TableText& table, const AuthoredQuiz& quiz);
