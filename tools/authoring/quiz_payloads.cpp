#include "quiz_payloads.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "accepted_answers.h"
#include "codec.h"
#include "payload.h"

namespace {

// A text field: CR LF becomes backslash-n and a filler byte; a backslash that
// a literal n follows gets a zero byte between them, which the player drops,
// so that it stays a backslash and an n; '|' ends the field.
void AppendField(Bytes& out, const std::string& text) {
  const char LiteralBackslashN[] = {static_cast<char>(EscapeByte), static_cast<char>(EscapeLineBreak), 0};
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (text.compare(i, 2, "\r\n") == 0) {
      out.push_back(EscapeByte);
      out.push_back(EscapeLineBreak);
      out.push_back(LineBreakFiller);
      ++i;
    } else if (text.compare(i, 2, LiteralBackslashN) == 0) {
      out.push_back(EscapeByte);
      out.push_back(0);
    } else {
      out.push_back(static_cast<uint8_t>(c));
    }
  }
  out.push_back(FieldEnd);
}

// Keeps CR LF pairs and tabs; any other control byte becomes a space.
void MakeWritable(std::string& text, const char* what, Diagnostics& diagnostics) {
  bool changed = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    if (text.compare(i, 2, "\r\n") == 0) {
      ++i;
    } else if ((c < 0x20 && c != '\t') || c == 0x7F) {
      text[i] = ' ';
      changed = true;
    }
  }
  if (changed)
    diagnostics.warning(0, std::string(what) +
                               " : caract\xE8res de contr\xF4le \xE9"
                               "crits comme des espaces");
}

// "1 200": a count of characters rounded up, for an author to aim at.
std::string Roughly(size_t count) {
  const size_t step = count < 100 ? 10 : 100;
  const size_t rounded = (count + step - 1) / step * step;
  const std::string digits = std::to_string(rounded);
  return digits.size() > 3 ? digits.substr(0, digits.size() - 3) + " " + digits.substr(digits.size() - 3) : digits;
}

// What the player cannot take, in characters to remove.
std::string TooLongMessage(PayloadKind kind, size_t excess) {
  const std::string remove = " pour le lecteur : enlevez-en environ " + Roughly(excess) + " caract\xE8res";
  if (kind == PayloadKind::Codes) return "les codes de score sont trop longs" + remove;
  return "le quiz est trop long" + remove + " (raccourcissez des textes, ou enlevez des questions)";
}

bool CompressOne(const Bytes& plain, Bytes& stream, PayloadKind kind, Diagnostics& diagnostics) {
  const std::string tooLong = PlainSizeError(plain, kind);
  if (!tooLong.empty()) {
    diagnostics.error(0, tooLong);
    return false;
  }
  const std::string name = kind == PayloadKind::Quiz ? "le quiz" : "les codes de score";
  uint8_t* out = nullptr;
  uint32_t length = 0;
  const int result = CompressVerified(plain.data(), static_cast<uint32_t>(plain.size()), &out, &length);
  if (result == CodecCodeRefused) {  // the stream would pass the output buffer where the codec stopped reading
    const size_t taken = std::min<size_t>(CodecInputTaken(), plain.size());
    diagnostics.error(0, TooLongMessage(kind, plain.size() - taken + plain.size() / 20));
    return false;
  }
  if (result == CodecNotVerified) {
    diagnostics.error(0, name + " : une fois compress\xE9, il ne se relit pas \xE0 l'identique ; signalez-le");
    return false;
  }
  if (result != CodecOk) {
    diagnostics.error(0, name +
                             " : \xE9"
                             "chec de la compression (code " +
                             std::to_string(result) + " du codec)");
    return false;
  }
  stream.assign(out, out + length);
  std::free(out);
  return true;
}

bool DecompressOne(const Bytes& stream, Bytes& plain, const char* name, Diagnostics& diagnostics) {
  if (stream.empty() || stream.size() > MaxPlainPayload) {
    diagnostics.error(0, std::string(name) + " est ab\xEEm\xE9 : " +
                             (stream.empty() ? "il est vide" : "il est plus grand qu'aucun quiz ne peut l'\xEAtre"));
    return false;
  }
  uint8_t* out = nullptr;
  uint32_t length = 0;
  const int result = Decompress(stream.data(), static_cast<uint32_t>(stream.size()), &out, &length);
  if (result != CodecOk || out == nullptr || length > MaxDecodedPayload) {
    std::free(out);
    diagnostics.error(0, std::string(name) +
                             " est ab\xEEm\xE9 : il ne se d\xE9"
                             "compresse pas (code " +
                             std::to_string(result) + " du codec)");
    return false;
  }
  plain.assign(out, out + length);
  std::free(out);
  return true;
}

const char* PartName(PayloadPart part) {
  switch (part) {
    case PayloadPart::HeaderBytes: return "l'en-t\xEAte";
    case PayloadPart::Title: return "le titre";
    case PayloadPart::Author: return "l'auteur";
    case PayloadPart::Explanation: return "l'explication";
    case PayloadPart::ExtraText1: return "le texte 4";
    case PayloadPart::ExtraText2: return "le texte 5";
    case PayloadPart::Answer1: return "la r\xE9ponse";
    case PayloadPart::Answer2: return "la r\xE9ponse 2";
    case PayloadPart::QuestionText: return "le texte";
    case PayloadPart::RevealMode: return "le mode r\xE9v\xE9lation";
    case PayloadPart::RevealText: return "la r\xE9v\xE9lation";
    case PayloadPart::SecondRevealText: return "la r\xE9v\xE9lation 2";
    case PayloadPart::Colour: return "la couleur";
    case PayloadPart::AcceptedAnswers: return "les r\xE9ponses accept\xE9" "es";
    case PayloadPart::ScoreCode: return "le code";
  }
  return "";
}

std::string PlaceName(PayloadPart part, int question) {
  std::string place = PartName(part);
  if (question >= 0) place += " de la question " + std::to_string(question + 1);
  return place;
}

// What the player's parser passed over in one resource, and the texts it
// read without keeping them.
class PayloadFindings final : public PayloadListener {
 public:
  explicit PayloadFindings(const char* resource) : resource_(resource) {}

  void problem(PayloadProblem problem, PayloadPart part, int question) override {
    switch (problem) {
      case PayloadProblem::EndsEarly:
        damage_.push_back(resource_ + " s'arr\xEAte avant sa fin, dans " + PlaceName(part, question) +
                          " : le lecteur joue vide ou par d\xE9"
                          "faut ce qui manque");
        break;
      case PayloadProblem::TextCut:
        damage_.push_back(PlaceName(part, question) + " d\xE9passe " + std::to_string(MaxTextLength) +
                          " caract\xE8res : le lecteur le coupe");
        break;
      case PayloadProblem::TrailingBytes:
        trailing = true;
        trailingAfter_ = PartName(part);
        break;
    }
  }

  void unkeptText(PayloadPart part, int question, const char* text) override {
    if (question < 0 || question >= MaxQuestions) return;
    (part == PayloadPart::SecondRevealText ? secondRevealTexts : unkeptCodes)[question] = text;
  }

  bool damaged() const { return !damage_.empty(); }

  void report(Diagnostics& diagnostics) const {
    for (const std::string& message : damage_) diagnostics.error(0, message);
    if (trailing) {
      diagnostics.warning(0, resource_ + " continue apr\xE8s " + trailingAfter_ + " : le lecteur ignore la suite");
    }
  }

  std::string secondRevealTexts[MaxQuestions];
  std::string unkeptCodes[MaxQuestions];
  bool trailing = false;

 private:
  std::string resource_;
  std::vector<std::string> damage_;
  std::string trailingAfter_;
};

// The accepted answers of every answer field the player numbers.
std::vector<AcceptedEntry> AcceptedEntries(const AuthoredQuiz& quiz) {
  std::vector<AcceptedEntry> entries;
  const int slots = FieldsPerQuestion(quiz.answersPerQuestion);
  for (size_t q = 0; q < quiz.questions.size() && q < static_cast<size_t>(MaxQuestions); ++q) {
    for (int slot = 1; slot <= slots; ++slot) {
      const QuizField field = slot == 2 ? QuizField::Accepted2 : QuizField::Accepted1;
      AcceptedEntry entry;
      entry.fieldNumber = AnswerFieldNumber(AnswerFieldId(static_cast<int>(q), slot, quiz.answersPerQuestion));
      entry.answers = AcceptedAnswerLines(*FieldText(quiz.questions[q], field));
      if (!entry.answers.empty()) entries.push_back(entry);
    }
  }
  return entries;
}

// The accepted answers a payload gave a field, as the source writes them:
// one a line, a control character made a space.
std::string AcceptedText(const QuizContent& content, int questionIndex, int slot) {
  const AcceptedAnswers* accepted = AcceptedAnswersOf(
      content.acceptedAnswers, AnswerFieldNumber(AnswerFieldId(questionIndex, slot, content.answersPerQuestion)));
  std::vector<std::string> answers;
  for (int k = 0; accepted != nullptr && k < accepted->count; ++k) {
    std::string answer = accepted->texts[k];
    for (char& c : answer) {
      if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    answers.push_back(answer);
  }
  return JoinedAcceptedAnswers(answers);
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
    if (HasSecondAnswer(quiz.answersPerQuestion)) AppendField(out, question.answer2);
    AppendField(out, question.questionText);
  }
  out.push_back(static_cast<uint8_t>(quiz.revealMode));
  const int revealTexts = RevealTextsPerQuestion(quiz.revealMode);
  for (size_t q = 0; revealTexts > 0 && q < quiz.questions.size(); ++q) {
    AppendField(out, quiz.questions[q].revealText);
    if (revealTexts == 2) AppendField(out, quiz.questions[q].secondRevealText);
  }
  out.push_back(quiz.red);
  out.push_back(quiz.green);
  out.push_back(quiz.blue);
  AppendAcceptedBlock(out, AcceptedEntries(quiz));

  for (const AuthoredQuestion& question : quiz.questions) {
    payloads.codes.insert(payloads.codes.end(), question.scoreCode.begin(), question.scoreCode.end());
    payloads.codes.push_back(CodeLineEnd);
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
  QuizContent content;
  PayloadFindings quizFindings("le quiz");
  ParseQuizPayload(quizPayload.data(), static_cast<uint32_t>(quizPayload.size()), content, &quizFindings);
  PayloadFindings codeFindings("la liste des codes");
  ParseScoreCodes(codesPayload.data(), static_cast<uint32_t>(codesPayload.size()), content, &codeFindings);
  // A quiz without questions carries one empty code line: the player would
  // take an empty resource for a missing one.
  if (content.questionCount == 0 && codesPayload == Bytes{CodeLineEnd, '\n'}) codeFindings.trailing = false;

  quiz = AuthoredQuiz();
  quiz.title = content.title;
  quiz.author = content.author;
  quiz.explanation = content.explanation;
  quiz.extraText1 = content.extraText1;
  quiz.extraText2 = content.extraText2;
  quiz.visibility = static_cast<uint8_t>(content.questionsHidden + 1);
  quiz.answersPerQuestion = content.answersPerQuestion;
  quiz.revealMode = content.revealMode;
  quiz.red = content.backgroundRed;
  quiz.green = content.backgroundGreen;
  quiz.blue = content.backgroundBlue;
  int q = 0;
  for (const QuestionRecord* record = content.firstQuestion; record != nullptr; record = record->next, ++q) {
    AuthoredQuestion question;
    question.questionText = record->questionText;
    question.answer1 = record->answer1;
    question.answer2 = record->answer2;
    question.accepted1 = AcceptedText(content, q, 1);
    if (HasSecondAnswer(content.answersPerQuestion)) question.accepted2 = AcceptedText(content, q, 2);
    question.revealText = record->revealText;
    question.secondRevealText = quizFindings.secondRevealTexts[q];
    question.scoreCode = q < ScoreCodeSlots ? content.scoreCodes[q] : codeFindings.unkeptCodes[q];
    quiz.questions.push_back(question);
  }
  quizFindings.report(diagnostics);
  codeFindings.report(diagnostics);
  if (quiz.answersPerQuestion < MinAnswersPerQuestion || quiz.answersPerQuestion > MaxAnswersPerQuestion) {
    const int played = FieldsPerQuestion(quiz.answersPerQuestion);
    diagnostics.warning(0, "le nombre de r\xE9ponses par question vaut " + std::to_string(quiz.answersPerQuestion) +
                               " ; le lecteur lit alors une r\xE9ponse par question, \xE9"
                               "crit ici " +
                               std::to_string(played));
    quiz.answersPerQuestion = played;
  }
  for (std::string* text : {&quiz.title, &quiz.author, &quiz.explanation, &quiz.extraText1, &quiz.extraText2}) {
    MakeWritable(*text, "un texte de l'en-t\xEAte", diagnostics);
  }
  for (AuthoredQuestion& question : quiz.questions) {
    for (std::string* text : {&question.questionText, &question.answer1, &question.answer2, &question.revealText,
                              &question.secondRevealText}) {
      MakeWritable(*text, "un texte de question", diagnostics);
    }
    MakeWritable(question.scoreCode, "un code de score", diagnostics);
  }
  return !quizFindings.damaged() && !codeFindings.damaged();
}

std::string PlainSizeError(const Bytes& plain, PayloadKind kind) {
  return plain.size() > MaxPlainPayload ? TooLongMessage(kind, plain.size() - MaxPlainPayload) : "";
}

bool MayPassCompressedLimit(const Bytes& plain) { return plain.size() > AlwaysFitsCompressed; }

bool CompressPayloads(const QuizPayloads& payloads, QuizPayloads& streams, Diagnostics& diagnostics) {
  const bool quizOk = CompressOne(payloads.quiz, streams.quiz, PayloadKind::Quiz, diagnostics);
  const bool codesOk = CompressOne(payloads.codes, streams.codes, PayloadKind::Codes, diagnostics);
  return quizOk && codesOk;
}

bool DecompressStreams(const QuizPayloads& streams, QuizPayloads& payloads, Diagnostics& diagnostics) {
  const bool quizOk = DecompressOne(streams.quiz, payloads.quiz, "le quiz", diagnostics);
  const bool codesOk = DecompressOne(streams.codes, payloads.codes, "la liste des codes", diagnostics);
  return quizOk && codesOk;
}
