// A quiz and the player program it travels in, for every program that makes
// or opens one (ludex-pack and the editor): the one packing step, and the one
// reader of built quizzes.
#pragma once
#include <string>

#include "authored_quiz.h"
#include "diagnostics.h"
#include "quiz_payloads.h"

// Whether a file's first bytes are a program's ("MZ"): what Open and
// `ludex-pack web` read as a built quiz rather than as a source.
bool IsProgramFile(const std::string& bytes);

// The quiz's two compressed streams, every limit of the player checked
// (CompressPayloads); false after an error in diagnostics.
bool PackQuiz(const AuthoredQuiz& quiz, QuizPayloads& streams, Diagnostics& diagnostics);

// How much of the room the player leaves a quiz its largest part takes, in
// percent rounded up: before or after compression, the quiz or its codes.
int RoomTakenPercent(const AuthoredQuiz& quiz, const QuizPayloads& streams);

// The quiz of a built program as the player reads it.
struct BuiltQuiz {
  QuizPayloads streams;     // as stored
  QuizPayloads payloads;    // decompressed
  AuthoredQuiz quiz;        // what the player plays
  Diagnostics diagnostics;  // what the player would cut or fill in, or why the streams do not decompress
  bool whole = false;       // nothing cut or filled in
};

enum class BuiltQuizRead {
  Read,         // quiz holds what the player plays (diagnostics say what it cut, when not whole)
  NotAQuiz,     // a program, but no quiz in it
  Unreadable,   // not a program, or a damaged one: error says why
  Undecodable,  // its quiz is there, and damaged: diagnostics say why
};

// Reads the quiz of a program's bytes; diagnostics.fileName is the caller's to set first.
BuiltQuizRead ReadBuiltQuiz(const Bytes& program, BuiltQuiz& built, std::string& error);
// The quiz of built.streams, taken from a program or a web page, as the player reads it.
BuiltQuizRead DecodeBuiltQuiz(BuiltQuiz& built);
