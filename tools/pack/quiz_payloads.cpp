#include "quiz_payloads.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "codec/codec.h"

namespace {

// A text field: CR LF becomes backslash-n and a filler byte; a backslash that
// a literal n follows gets a zero byte between them, which the player drops,
// so that it stays a backslash and an n; '|' ends the field.
void AppendField(Bytes& out, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.push_back('\\');
      out.push_back('n');
      out.push_back(LineBreakFiller);
      ++i;
    } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out.push_back('\\');
      out.push_back(0);
    } else {
      out.push_back(static_cast<uint8_t>(c));
    }
  }
  out.push_back('|');
}

struct PayloadReader {
  const Bytes& data;
  size_t cursor = 0;
  bool ended = false;

  bool readByte(int& value) {
    if (cursor >= data.size()) {
      ended = true;
      return false;
    }
    value = data[cursor++];
    return true;
  }

  // The player's reading of a text field, bounded by the data.
  bool readField(std::string& text) {
    text.clear();
    while (cursor < data.size() && data[cursor] != '|') {
      if (data[cursor] == '\\' && cursor + 1 < data.size() && data[cursor + 1] == 'n') {
        text += "\r\n";
        cursor += 3;
      } else {
        if (data[cursor] != 0) text += static_cast<char>(data[cursor]);
        ++cursor;
      }
    }
    if (cursor >= data.size()) {
      ended = true;
      cursor = data.size();
      return false;
    }
    ++cursor;
    return true;
  }
};

// Keeps CR LF pairs and tabs; any other control byte becomes a space.
void MakeWritable(std::string& text, const char* what, Diagnostics& diagnostics) {
  bool changed = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
    } else if ((c < 0x20 && c != '\t') || c == 0x7F) {
      text[i] = ' ';
      changed = true;
    }
  }
  if (changed) diagnostics.warning(0, std::string(what) + " : octets de contrôle écrits comme des espaces");
}

bool CompressOne(const Bytes& plain, Bytes& stream, const char* name, Diagnostics& diagnostics) {
  if (plain.size() > MaxPlainPayload) {
    diagnostics.error(0, std::string(name) + " : " + std::to_string(plain.size()) +
                             " octets avant compression ; le lecteur en lit au plus 65535 : raccourcissez les textes "
                             "ou enlevez des questions");
    return false;
  }
  uint8_t* out = nullptr;
  uint32_t length = 0;
  const int result = Compress(plain.data(), static_cast<uint32_t>(plain.size()), &out, &length);
  if (result == CodecCodeRefused) {  // the stream would pass the output buffer
    std::free(out);
    diagnostics.error(0, std::string(name) + " : plus de 32768 octets après compression ; le lecteur en accepte au "
                                             "plus 32768 : raccourcissez les textes ou enlevez des questions");
    return false;
  }
  if (result != CodecOk || out == nullptr) {
    std::free(out);
    diagnostics.error(0, std::string(name) + " : échec de la compression (code " + std::to_string(result) +
                             " du codec)");
    return false;
  }
  if (length > MaxCompressedPayload) {
    std::free(out);
    diagnostics.error(0, std::string(name) + " : " + std::to_string(length) +
                             " octets après compression ; le lecteur en accepte au plus 32768 : raccourcissez les "
                             "textes ou enlevez des questions");
    return false;
  }
  stream.assign(out, out + length);
  std::free(out);

  // Read back the way the player will before anything is written.
  uint8_t* decoded = nullptr;
  uint32_t decodedLength = 0;
  const int back = Decompress(stream.data(), static_cast<uint32_t>(stream.size()), &decoded, &decodedLength);
  const bool same = back == CodecOk && decoded != nullptr && decodedLength == plain.size() &&
                    std::equal(plain.begin(), plain.end(), decoded);
  std::free(decoded);
  if (!same) {
    diagnostics.error(0, std::string(name) + " : le flux compressé ne redonne pas les mêmes octets");
    return false;
  }
  return true;
}

bool DecompressOne(const Bytes& stream, Bytes& plain, const char* name, Diagnostics& diagnostics) {
  if (stream.empty() || stream.size() > MaxPlainPayload) {
    diagnostics.error(0, std::string(name) + " : " + std::to_string(stream.size()) +
                             " octets, une taille qu'aucune ressource de quiz n'a");
    return false;
  }
  uint8_t* out = nullptr;
  uint32_t length = 0;
  const int result = Decompress(stream.data(), static_cast<uint32_t>(stream.size()), &out, &length);
  if (result != CodecOk || out == nullptr || length > MaxDecodedPayload) {
    std::free(out);
    diagnostics.error(0, std::string(name) + " : échec de la décompression (code " + std::to_string(result) +
                             " du codec)");
    return false;
  }
  plain.assign(out, out + length);
  std::free(out);
  return true;
}

}  // namespace

QuizPayloads EncodePayloads(const AuthoredQuiz& quiz) {
  QuizPayloads payloads;
  Bytes& out = payloads.quiz;
  out.push_back(0);
  out.push_back(static_cast<uint8_t>(quiz.visibility));
  out.push_back(static_cast<uint8_t>(quiz.questions.size()));
  out.push_back(static_cast<uint8_t>(quiz.answersPerQuestion));
  for (const std::string* text : {&quiz.title, &quiz.author, &quiz.explanation, &quiz.extraText1, &quiz.extraText2}) {
    AppendField(out, *text);
  }
  for (const AuthoredQuestion& question : quiz.questions) {
    AppendField(out, question.answer1);
    if (quiz.answersPerQuestion == 2) AppendField(out, question.answer2);
    AppendField(out, question.questionText);
  }
  out.push_back(static_cast<uint8_t>(quiz.revealMode));
  if (quiz.revealMode == 2 || quiz.revealMode == 3 || quiz.revealMode == 4) {
    for (const AuthoredQuestion& question : quiz.questions) {
      AppendField(out, question.revealText);
      if (quiz.revealMode == 3) AppendField(out, question.secondRevealText);
    }
  }
  out.push_back(quiz.red);
  out.push_back(quiz.green);
  out.push_back(quiz.blue);

  for (const AuthoredQuestion& question : quiz.questions) {
    payloads.codes.insert(payloads.codes.end(), question.scoreCode.begin(), question.scoreCode.end());
    payloads.codes.push_back('\r');
    payloads.codes.push_back('\n');
  }
  // The player takes an empty codes resource for a missing one, and a
  // question-less quiz reads no line: one empty line keeps it quiet.
  if (payloads.codes.empty()) {
    payloads.codes.push_back('\r');
    payloads.codes.push_back('\n');
  }
  return payloads;
}

bool DecodePayloads(const Bytes& quizPayload, const Bytes& codesPayload, AuthoredQuiz& quiz, Diagnostics& diagnostics) {
  quiz = AuthoredQuiz();
  PayloadReader reader{quizPayload};
  int ignored = 0;
  int count = 0;
  reader.readByte(ignored);
  reader.readByte(quiz.visibility);
  reader.readByte(count);
  reader.readByte(quiz.answersPerQuestion);
  for (std::string* text : {&quiz.title, &quiz.author, &quiz.explanation, &quiz.extraText1, &quiz.extraText2}) {
    reader.readField(*text);
  }
  const bool twoAnswers = quiz.answersPerQuestion == 2;
  quiz.questions.resize(count);
  for (AuthoredQuestion& question : quiz.questions) {
    reader.readField(question.answer1);
    if (twoAnswers) reader.readField(question.answer2);
    reader.readField(question.questionText);
  }
  reader.readByte(quiz.revealMode);
  if (quiz.revealMode == 2 || quiz.revealMode == 3 || quiz.revealMode == 4) {
    for (AuthoredQuestion& question : quiz.questions) {
      reader.readField(question.revealText);
      if (quiz.revealMode == 3) reader.readField(question.secondRevealText);
    }
  }
  int red = quiz.red, green = quiz.green, blue = quiz.blue;
  reader.readByte(red);
  reader.readByte(green);
  reader.readByte(blue);
  quiz.red = static_cast<uint8_t>(red);
  quiz.green = static_cast<uint8_t>(green);
  quiz.blue = static_cast<uint8_t>(blue);
  if (reader.ended) {
    diagnostics.error(0, "la ressource 104 s'arrête avant la fin du quiz");
    return false;
  }
  if (quiz.answersPerQuestion != 1 && !twoAnswers) {
    diagnostics.warning(0, "le nombre de réponses par question vaut " + std::to_string(quiz.answersPerQuestion) +
                               " ; le lecteur lit alors une réponse par question, écrit ici 1");
    quiz.answersPerQuestion = 1;
  }

  size_t cursor = 0;
  for (AuthoredQuestion& question : quiz.questions) {
    const size_t start = cursor;
    while (cursor < codesPayload.size() && codesPayload[cursor] != '\r') ++cursor;
    if (cursor >= codesPayload.size()) {
      diagnostics.error(0, "la ressource 105 contient moins de codes de score que le quiz n'a de questions");
      return false;
    }
    question.scoreCode.assign(codesPayload.begin() + start, codesPayload.begin() + cursor);
    cursor += 2;  // the CR and the byte after it
  }

  for (std::string* text : {&quiz.title, &quiz.author, &quiz.explanation, &quiz.extraText1, &quiz.extraText2}) {
    MakeWritable(*text, "un texte de l'en-tête", diagnostics);
  }
  for (AuthoredQuestion& question : quiz.questions) {
    for (std::string* text : {&question.questionText, &question.answer1, &question.answer2, &question.revealText,
                              &question.secondRevealText}) {
      MakeWritable(*text, "un texte de question", diagnostics);
    }
    MakeWritable(question.scoreCode, "un code de score", diagnostics);
  }
  return true;
}

bool CompressPayloads(const QuizPayloads& payloads, QuizPayloads& streams, Diagnostics& diagnostics) {
  const bool quizOk = CompressOne(payloads.quiz, streams.quiz, "le quiz (ressource 104)", diagnostics);
  const bool codesOk = CompressOne(payloads.codes, streams.codes, "les codes de score (ressource 105)", diagnostics);
  return quizOk && codesOk;
}

bool DecompressStreams(const QuizPayloads& streams, QuizPayloads& payloads, Diagnostics& diagnostics) {
  const bool quizOk = DecompressOne(streams.quiz, payloads.quiz, "la ressource 104", diagnostics);
  const bool codesOk = DecompressOne(streams.codes, payloads.codes, "la ressource 105", diagnostics);
  return quizOk && codesOk;
}
