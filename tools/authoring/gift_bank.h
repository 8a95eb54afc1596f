// GIFT, the plain-text format in which Moodle imports and exports questions
// ("::Titre:: Question {=Réponse =Autre}"). A bank is read as a table of
// five columns (its questions' title, text, expected answer, further
// accepted answers and general feedback) that goes through the same preview
// as a CSV file. Only short-answer questions are read: every other kind
// (multiple choice, true or false, matching, numerical, essay, description)
// is told by its number and left out whole. A short answer's first answer
// worth 100 % is the expected one, its other 100 % answers are accepted too;
// an answer worth less is told and left out, as the player has no partial
// credit. The general feedback, else the expected answer's own, is the
// reveal text. "$CATEGORY:" lines, "//" comments and the format markers
// ([html], [moodle], [markdown], [plain]) are read over; escaped characters
// (\~ \= \# \{ \} \: \\ and \n for a line break) are the characters themselves.
#pragma once
#include <string>
#include <vector>

#include "table_text.h"

// The columns of a bank read as a table: title, question, answer, accepted answers, general feedback.
const int GiftColumnCount = 5;

TableText ReadGiftBank(const std::string& bytes);

// Whether a text reads as a GIFT bank: most of its questions have answers in braces
// that start as GIFT's do ("{=", "{~", "{#", "{T}"), or a "::title::". Bounded like the reader.
bool LooksLikeGift(const std::string& bytes);

// The quiz as a bank of short-answer questions that Moodle imports (UTF-8,
// "$CATEGORY:" the quiz's title): each question with its expected and
// accepted answers as "=" answers, its reveal text as general feedback.
// notes (Windows-1252) tell what a bank cannot hold: the second answers, a
// question without an answer.
std::string WriteGiftBank(const AuthoredQuiz& quiz, std::vector<std::string>& notes);
