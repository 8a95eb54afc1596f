// The two resources of a packed quiz: the quiz payload (104) and the score
// codes (105), as plain bytes and as compressed streams.
#pragma once
#include <cstdint>
#include <vector>

#include "authored_quiz.h"
#include "diagnostics.h"

using Bytes = std::vector<uint8_t>;

struct QuizPayloads {
  Bytes quiz;   // resource 104 before compression
  Bytes codes;  // resource 105 before compression
};

// Serializes a quiz (whose texts the source parser has checked) into the two payloads.
QuizPayloads EncodePayloads(const AuthoredQuiz& quiz);

// Reads the two payloads back into a quiz with the player's own parser, so
// the quiz is what the player plays. What the player would cut or fill in
// silently (a payload that ends early, a text past 259 bytes) is an error,
// what it ignores (bytes past the end) a warning; false after an error.
// Texts the source cannot hold (a lone CR or LF, control bytes) become
// spaces, with a warning.
bool DecodePayloads(const Bytes& quizPayload, const Bytes& codesPayload, AuthoredQuiz& quiz, Diagnostics& diagnostics);

// Compresses both payloads and checks every limit of the player on the way:
// plain size, compressed size, and that each stream decodes back to its payload.
bool CompressPayloads(const QuizPayloads& payloads, QuizPayloads& streams, Diagnostics& diagnostics);

// Expands both streams; a failure names the resource.
bool DecompressStreams(const QuizPayloads& streams, QuizPayloads& payloads, Diagnostics& diagnostics);
