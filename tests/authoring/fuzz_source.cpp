// Fuzzes the quiz source parser and the fit check: any text must parse or
// fail without a crash, and every accepted source must survive source ->
// payloads -> source -> payloads unchanged. Inputs starting with 0xFF feed the payload reader
// (the extract side) instead, split at the first 0xFE into quiz and codes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "quiz_fit.h"
#include "quiz_payloads.h"
#include "quiz_rules.h"
#include "quiz_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0 && data[0] == 0xFF) {
    const uint8_t* split = std::find(data + 1, data + size, 0xFE);
    const Bytes quiz(data + 1, split), codes(split == data + size ? split : split + 1, data + size);
    AuthoredQuiz read;
    Diagnostics diagnostics;
    if (DecodePayloads(quiz, codes, read, diagnostics)) {
      AuthoredQuiz again;
      Diagnostics more;
      // An extracted source always parses, except for what the player holds and a source may not: a text
      // too long, an empty answer or title.
      if (!ParseQuizSource(WriteQuizSource(read, "x"), again, more))
        for (const Diagnostic& d : more.items)
          if (d.isError && d.message.find(" caract\xE8res") == std::string::npos &&
              d.message.find(" est vide : le lecteur n'accepte jamais une r\xE9ponse vide") == std::string::npos &&
              d.message != TitleError(""))
            std::abort();
    }
    return 0;
  }

  const std::string source(reinterpret_cast<const char*>(data), size);
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  if (!ParseQuizSource(source, quiz, diagnostics, &ConservativeMetrics())) return 0;  // with the fit warnings
  const QuizPayloads payloads = EncodePayloads(quiz);
  AuthoredQuiz back;
  if (!DecodePayloads(payloads.quiz, payloads.codes, back, diagnostics)) std::abort();
  const std::string canonical = WriteQuizSource(back, "");
  AuthoredQuiz reparsed;
  Diagnostics more;
  if (!ParseQuizSource(canonical, reparsed, more)) std::abort();
  const QuizPayloads again = EncodePayloads(reparsed);
  if (again.quiz != payloads.quiz || again.codes != payloads.codes) std::abort();
  if (WriteQuizSource(reparsed, "") != canonical) std::abort();
  return 0;
}
