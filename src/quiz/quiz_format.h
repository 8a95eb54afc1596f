// The quiz format: what the player reads from its resources, what the tools
// write into them, and how the answer fields of a quiz are numbered. The
// player, ludex-pack and the editor all take these rules from here.
// Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

#include "codec.h"
#include "resource.h"

// Texts: every text of a quiz and every score code lives in a 260-byte field.
enum : int {
  TextSize = 260,
  MaxTextLength = 259,  // bytes; a line break (CR LF) counts two
  MaxQuestions = 255,   // the payload counts the questions in one byte
  ScoreCodeSlots = 96,  // the player keeps the first 96 score codes
  MaxAcceptedAnswers = 16,  // further answers an answer field accepts besides its expected answer
};

// Copies at most MaxTextLength bytes of source and a terminating zero into
// destination (TextSize bytes), as a control read with a 260-byte limit would.
// Returns the length copied.
size_t CopyText(char* destination, const char* source);

// The two resources of a quiz, both streams of the codec.
inline constexpr char QuizResourceType[] = "PATCH";
enum : int {
  QuizResourceId = IDR_QUIZ_PAYLOAD,       // the quiz: header texts, questions, reveal texts, colour
  ScoreCodesResourceId = IDR_SCORE_CODES,  // one code line per question
};
enum : uint32_t {
  MaxPlainPayload = CodecMaxInput,          // bytes before compression that a tool may write
  MaxDecodedPayload = DecompressCapacity,   // the player's decoding buffer
  MaxCompressedPayload = CompressCapacity,  // the compressor's output buffer
};

// The bytes of the payload grammar.
enum : uint8_t {
  FieldEnd = '|',     // ends every text of the quiz resource
  EscapeByte = '\\',  // backslash, 'n' and one unread byte: a line break
  EscapeLineBreak = 'n',
  CodeLineEnd = '\r',     // ends a code line; the byte after it is not read
  LineBreakFiller = ' ',  // the byte the tools write after backslash-n
};

// Reveal modes. 2 and 3 reveal a question's text once it is answered right,
// 4 reveals every text once every question is; 3 carries a second, unused
// text per question. Any other mode has no reveal texts: 0 says so, and
// every other value plays as 0.
enum : int { NoRevealMode = 0 };
bool IsKnownRevealMode(int revealMode);  // 0, 2, 3 or 4
bool HasRevealTexts(int revealMode);
bool HasSecondRevealText(int revealMode);    // mode 3
int RevealTextsPerQuestion(int revealMode);  // in the payload: 0, 1 or 2
bool RevealsEachQuestion(int revealMode);    // modes 2 and 3
bool RevealsAllAtOnce(int revealMode);       // mode 4

// Answer fields per question: 2 with two answers per question; any other
// count is played as 1, the only numbering besides 2 that exists. An author
// chooses 1 or 2.
enum : int { MinAnswersPerQuestion = 1, MaxAnswersPerQuestion = 2 };
int FieldsPerQuestion(int answersPerQuestion);
bool HasSecondAnswer(int answersPerQuestion);  // two answers per question

// Answer field k of the quiz (from 1) is control IDC_ANSWER_BASE + k; with
// two answers per question, question qi (from 0) has fields 2 qi + 1 and
// 2 qi + 2. Its feedback label is the field's identifier + 1000; the reveal
// label of question qi is IDC_REVEAL_BASE + 1 + qi.
int AnswerFieldId(int questionIndex, int slot, int answersPerQuestion);  // slot 1 or 2
int AnswerFieldNumber(int answerFieldId);  // k, from 1: the identifier less IDC_ANSWER_BASE
int FeedbackLabelId(int answerFieldId);
int RevealLabelId(int questionIndex);

struct AnswerFieldPlace {
  int questionIndex;  // from 0; negative for an identifier before the first field
  int slot;           // 1 or 2: which expected answer the field is compared with
};
// The question and slot of an answer field identifier: the inverse of AnswerFieldId.
AnswerFieldPlace PlaceOfAnswerField(int answerFieldId, int answersPerQuestion);

// questionCount x answersPerQuestion, cut to the answer fields that a panel
// of MaxQuestions rows can hold: past it no identifier names a control.
int AnswerFieldLimit(int questionCount, int answersPerQuestion);
