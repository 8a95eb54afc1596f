// A source as the authoring tests read it: parsed as "quiz.txt", with every
// message as `ludex-pack check` prints it.
#pragma once
#include <string>

#include "quiz_source.h"

inline std::string AllMessages(const Diagnostics& diagnostics) {
  std::string text;
  for (const Diagnostic& d : diagnostics.items) text += diagnostics.format(d) + "\n";
  return text;
}

struct Parsed {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  bool ok;
};

inline Parsed Parse(const std::string& source) {
  Parsed p{{}, {"quiz.txt", {}}, false};
  p.ok = ParseQuizSource(source, p.quiz, p.diagnostics);
  return p;
}
