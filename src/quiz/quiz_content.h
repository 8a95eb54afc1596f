// The quiz as data: header texts, counts, the question list, the score codes,
// the reveal mode and the background colour. Portable: the platform objects
// (fonts, brushes, the header panel) live in Quiz, which extends this.
#pragma once
#include <cstdint>
#include <vector>

#include "accepted_answers.h"
#include "quiz_format.h"

struct QuestionRecord {
  char answer1[TextSize];
  char answer2[TextSize];
  char questionText[TextSize];
  char revealText[TextSize];
  QuestionRecord* previous;
  QuestionRecord* next;
};

struct QuizContent {
  int32_t questionsHidden = 0;
  char title[TextSize] = "nom du ludex";
  char author[TextSize] = " createur";
  char explanation[TextSize] = {};
  char extraText1[TextSize] = {};
  char extraText2[TextSize] = {};
  int32_t questionCount = 2;
  int32_t answersPerQuestion = 1;
  char scoreCodes[ScoreCodeSlots][TextSize] = {};
  int32_t revealMode = 0;
  int32_t allRevealed = 0;
  uint8_t backgroundRed = 90;
  uint8_t backgroundBlue = 150;
  uint8_t backgroundGreen = 95;
  QuestionRecord* firstQuestion = nullptr;
  QuestionRecord* lastQuestion = nullptr;
  // Further answers some answer fields accept, ordered by field number;
  // empty for a quiz without them.
  std::vector<AcceptedAnswers> acceptedAnswers;

  QuizContent() = default;
  ~QuizContent();
  QuizContent(const QuizContent&) = delete;
  QuizContent& operator=(const QuizContent&) = delete;

  // Copies the three texts (each cut to 259 bytes) into a new record at the tail.
  void appendQuestion(const char* answer1, const char* answer2, const char* questionText);
  // The record at 0-based position i, or nullptr (empty list, or i out of range).
  QuestionRecord* questionAt(int i) const;
  // Deletes every record.
  void clearQuestions();
};
