// The two quiz payloads after decompression: the quiz (texts, counts,
// questions, reveal texts, colour) and the score codes. Portable.
//
// Every scan is bounded by the decompressed length; a payload that ends
// before its grammar does is read as far as it goes:
//  - a text field or code line that runs to the end of the data ends there;
//  - fields and code lines past the end are empty, and the quiz still gets
//    questionCount records, so question numbers and codes keep lining up;
//  - a byte past the end (visibility, count, answers per question, reveal
//    mode) leaves its field as it was; the colour is taken only when all
//    three bytes are there, otherwise the current colour stays;
//  - a text longer than 259 bytes after expansion is cut at 259 bytes, never
//    between the CR and the LF of a line break (it then ends at 258); the rest
//    of the field is still consumed up to its `|`;
//  - a code line longer than 259 bytes is cut at 259 bytes, the rest of the
//    line is consumed up to its CR;
//  - code lines past the 96th are read and dropped: a quiz with more questions
//    than code slots shows no code for those scores;
//  - after the colour, a block of accepted answers (accepted_answers.h) is
//    read when it is whole and sound, and any other bytes are ignored.
// The player passes over all this silently; a tool that wants to know what
// it passed over hands the parser a PayloadListener.
#pragma once
#include <cstdint>

#include "quiz_content.h"

// Where in a payload something was found.
enum class PayloadPart {
  HeaderBytes,
  Title,
  Author,
  Explanation,
  ExtraText1,
  ExtraText2,
  Answer1,
  Answer2,
  QuestionText,
  RevealMode,
  RevealText,
  SecondRevealText,
  Colour,
  AcceptedAnswers,  // the block of further accepted answers after the colour
  ScoreCode,
};

enum class PayloadProblem {
  EndsEarly,      // the data ends at or inside this part: the rest is empty or kept as it was
  TextCut,        // a text or code line longer than 259 bytes, cut
  TrailingBytes,  // bytes after the last part, ignored
};

class PayloadListener {
 public:
  // question: from 0 for the parts of a question, -1 elsewhere. EndsEarly
  // is told once, for the first part that the data does not hold whole.
  virtual void problem(PayloadProblem problem, PayloadPart part, int question) = 0;
  // A text that the player reads and does not keep: the second reveal text
  // of reveal mode 3, a score code past the 96th.
  virtual void unkeptText(PayloadPart part, int question, const char* text) = 0;

 protected:
  ~PayloadListener() = default;
};

// Reads one text field from data[cursor] up to its `|` (or the end of the
// data), expanding backslash-n-X into CR LF and skipping zero bytes. The
// cursor ends on the byte after the `|`, or at length. Returns false when the
// data ended before the `|`; *cut (when given) tells whether the text was cut.
bool readField(const uint8_t* data, uint32_t length, uint32_t& cursor, char destination[TextSize], bool* cut = nullptr);

struct QuizPayloadResult {
  bool colourRead;  // the three colour bytes were there: make the brush from them
  bool complete;    // every byte and field of the grammar was there
};

// Fills the header texts, counts, question list, reveal texts and colour bytes
// of a freshly constructed quiz from the decompressed quiz resource.
QuizPayloadResult ParseQuizPayload(const uint8_t* data, uint32_t length, QuizContent& quiz,
                                   PayloadListener* listener = nullptr);

// Fills scoreCodes from the decompressed codes resource: questionCount lines,
// each ended by CR and one more byte. Returns false when the data ended early.
bool ParseScoreCodes(const uint8_t* data, uint32_t length, QuizContent& quiz, PayloadListener* listener = nullptr);

// The quiz played when the program carries no quiz: header texts, 30
// questions without records, colour 53, 203, 163 (the caller makes the brush).
void InstallTestQuiz(QuizContent& quiz);
