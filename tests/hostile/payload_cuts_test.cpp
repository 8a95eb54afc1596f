// The payloads of the example quizzes cut at every length: the parsers keep
// every text terminated and within 259 bytes, give every question its record,
// and recover the quiz field by field as the cut moves on, never losing a
// field once it is whole. Cuts of compressed streams are covered by the codec
// tests.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "payload.h"
#include "quiz_payloads.h"

namespace {

QuizPayloads ExamplePayloads(const char* name) {
  std::ifstream in(std::string(LUDEX_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  AuthoredQuiz authored;
  Diagnostics diagnostics;
  EXPECT_TRUE(ParseQuizSource(source, authored, diagnostics)) << name;
  return EncodePayloads(authored);
}

// How many texts of the quiz equal those of the whole quiz; fails on an
// unterminated or overlong text.
int MatchingTexts(const QuizContent& cut, const QuizContent& whole) {
  int matching = 0;
  auto compare = [&](const char* text, const char* wanted) {
    EXPECT_LE(strnlen(text, TextSize), size_t(MaxTextLength));
    if (std::strcmp(text, wanted) == 0) ++matching;
  };
  compare(cut.title, whole.title);
  compare(cut.author, whole.author);
  compare(cut.explanation, whole.explanation);
  compare(cut.extraText1, whole.extraText1);
  compare(cut.extraText2, whole.extraText2);
  for (int i = 0; i < cut.questionCount; ++i) {
    const QuestionRecord* record = cut.questionAt(i);
    const QuestionRecord* wanted = whole.questionAt(i);
    if (record == nullptr || wanted == nullptr) continue;
    compare(record->answer1, wanted->answer1);
    compare(record->answer2, wanted->answer2);
    compare(record->questionText, wanted->questionText);
    compare(record->revealText, wanted->revealText);
  }
  for (int i = 0; i < ScoreCodeSlots; ++i) compare(cut.scoreCodes[i], whole.scoreCodes[i]);
  return matching;
}

int RecordCount(const QuizContent& quiz) {
  int count = 0;
  for (const QuestionRecord* r = quiz.firstQuestion; r != nullptr; r = r->next) ++count;
  return count;
}

class PayloadCuts : public testing::TestWithParam<const char*> {};

TEST_P(PayloadCuts, EveryPrefixReadsAsFarAsItGoes) {
  QuizPayloads payloads = ExamplePayloads(GetParam());
  const uint32_t quizSize = uint32_t(payloads.quiz.size());
  const uint32_t codesSize = uint32_t(payloads.codes.size());
  QuizContent whole;
  ASSERT_TRUE(ParseQuizPayload(payloads.quiz.data(), quizSize, whole).complete);
  ASSERT_TRUE(ParseScoreCodes(payloads.codes.data(), codesSize, whole));
  const int allTexts = MatchingTexts(whole, whole);

  // The quiz payload cut, with the whole codes; then the whole quiz with the codes cut.
  int previous = 0;
  for (uint32_t cut = 0; cut <= quizSize + codesSize; ++cut) {
    const bool inQuiz = cut <= quizSize;
    const uint32_t quizLength = inQuiz ? cut : quizSize;
    const uint32_t codesLength = inQuiz ? 0 : cut - quizSize;
    QuizContent quiz;
    QuizPayloadResult result = ParseQuizPayload(payloads.quiz.data(), quizLength, quiz);
    bool codesComplete = ParseScoreCodes(payloads.codes.data(), codesLength, quiz);
    SCOPED_TRACE(testing::Message() << GetParam() << " quiz " << quizLength << " codes " << codesLength);
    ASSERT_EQ(result.complete, quizLength == quizSize);
    ASSERT_EQ(result.colourRead, quizLength == quizSize);
    // The code lines are whole once the last CR is there; the LF after it is not read.
    ASSERT_EQ(codesComplete, codesLength + 1 >= codesSize);
    ASSERT_EQ(RecordCount(quiz), quiz.questionCount);
    if (quizLength >= 3) ASSERT_EQ(quiz.questionCount, whole.questionCount);
    int matching = MatchingTexts(quiz, whole);
    ASSERT_GE(matching, previous);
    previous = matching;
  }
  EXPECT_EQ(previous, allTexts);
}

INSTANTIATE_TEST_SUITE_P(Examples, PayloadCuts, testing::Values("capitales.txt", "chimie-deux-reponses.txt"));

}  // namespace
