// A quiz loaded from its two stored (compressed) resources: the program finds
// them in itself, the web page in its own text. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

#include "quiz_content.h"

// What loading told. Every result but Loaded has its message, which the
// program shows before it plays what was loaded.
enum class QuizLoadResult {
  Loaded,
  QuizUndecodable,   // the quiz plays as it was before loading
  CodesMissing,      // no codes resource
  CodesEmpty,        // a codes resource of no bytes
  CodesUndecodable,  // the quiz plays without codes
};

// The loader's message for a result, in Windows-1252; nullptr for Loaded.
const char* QuizLoadMessage(QuizLoadResult result);

// A resource as its holder found it: not found, or its size and bytes (null
// bytes with a size when the system could not give them).
struct StoredResource {
  bool found;
  const uint8_t* bytes;
  size_t size;
};

struct QuizLoad {
  QuizLoadResult result;
  bool colourSet;  // the test quiz, or a payload that held its colour: the background follows
};

// Decodes and parses both resources into a freshly constructed quiz. A
// missing or empty quiz resource installs the test quiz and no codes are
// looked at; otherwise the codes are read only once the quiz is decoded.
QuizLoad LoadQuizContent(const StoredResource& quiz, const StoredResource& codes, QuizContent& content);
