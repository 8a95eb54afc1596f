// The two resources of a packed quiz: the quiz payload (104) and the score
// codes (105), as plain bytes and as compressed streams. Their messages speak
// of the quiz and its codes, in characters: a teacher reads them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
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
// plain size, compressed size, and that each stream decodes back to its
// payload. A payload too large for the player is an error that says roughly
// how many characters to remove.
bool CompressPayloads(const QuizPayloads& payloads, QuizPayloads& streams, Diagnostics& diagnostics);

// The same limits without compressing, for an editor that checks as the
// author types: the size before compression is known at once (the error, or
// empty); whether the stream passes its limit only compressing tells, and
// it cannot for a payload of at most AlwaysFitsCompressed bytes (each byte
// costs at most one 12-bit code).
enum class PayloadKind { Quiz, Codes };
const size_t AlwaysFitsCompressed = 21000;
std::string PlainSizeError(const Bytes& plain, PayloadKind kind);
bool MayPassCompressedLimit(const Bytes& plain);

// Expands both streams; a failure names the part, the quiz or its codes.
bool DecompressStreams(const QuizPayloads& streams, QuizPayloads& payloads, Diagnostics& diagnostics);
