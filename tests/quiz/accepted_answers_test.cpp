// The block of accepted answers after the quiz payload's colour: written and
// read back whole, ignored whole when anything in it is off, and invisible to
// a reader of the plain format, which plays the quiz by its expected answers.
#include "accepted_answers.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "payload.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::string> Texts(const AcceptedAnswers& answers) {
  return std::vector<std::string>(answers.texts, answers.texts + answers.count);
}

Bytes Block(const std::vector<AcceptedEntry>& entries) {
  Bytes block;
  AppendAcceptedBlock(block, entries);
  return block;
}

// The checksum of a body, written again here: a hostile body that must pass
// it to reach the entries' checks.
void Reseal(Bytes& block) {
  uint32_t hash = 2166136261u;
  for (size_t i = AcceptedBlockHeaderSize; i < block.size(); ++i) hash = (hash ^ block[i]) * 16777619u;
  for (int k = 0; k < 4; ++k) block[11 + k] = uint8_t(hash >> (8 * k));
}

void SetLength(Bytes& block, uint32_t length) {
  for (int k = 0; k < 4; ++k) block[7 + k] = uint8_t(length >> (8 * k));
}

TEST(AcceptedBlock, ReadsBackWhatWasWritten) {
  const std::string Longest(MaxTextLength, '\xE9');
  std::vector<std::string> sixteen;
  for (int k = 0; k < MaxAcceptedAnswers; ++k) sixteen.push_back(Longest.substr(0, MaxTextLength - k) + "|\\n");
  const std::vector<AcceptedEntry> entries = {{1, {"Curie"}}, {2, {}}, {7, sixteen}, {510, {"a", "B c"}}};
  const Bytes block = Block(entries);
  std::vector<AcceptedAnswers> read;
  ASSERT_EQ(ReadAcceptedBlock(block.data(), uint32_t(block.size()), 0, 510, read), block.size());
  ASSERT_EQ(read.size(), 3u);  // a field without answers takes no entry
  EXPECT_EQ(read[0].fieldNumber, 1);
  EXPECT_EQ(Texts(read[0]), std::vector<std::string>({"Curie"}));
  std::vector<std::string> cut;
  for (const std::string& text : sixteen) cut.push_back(text.substr(0, MaxTextLength));
  EXPECT_EQ(Texts(read[1]), cut);
  EXPECT_EQ(Texts(read[2]), std::vector<std::string>({"a", "B c"}));
  EXPECT_EQ(AcceptedAnswersOf(read, 7), &read[1]);
  EXPECT_EQ(AcceptedAnswersOf(read, 3), nullptr);
  EXPECT_TRUE(Block({{4, {}}}).empty());  // nothing to accept: no block at all
}

// Every way a block can be off: the whole block is passed over, nothing read.
TEST(AcceptedBlock, AnythingOffIgnoresTheWholeBlock) {
  const Bytes good = Block({{1, {"ab"}}, {3, {"cd", "ef"}}});  // header, 1 2 1 2 'ab', 3 2 2 'cd' 2 'ef'
  // clang-format off
  const struct { const char* name; std::function<void(Bytes&)> spoil; int fieldLimit; } cases[] = {
      {"foreign signature", [](Bytes& b) { b[0] = 'X'; }, 4},
      {"another version", [](Bytes& b) { b[4] = 2; }, 4},
      {"no entries", [](Bytes& b) { b[5] = 0; }, 4},
      {"more entries than fields", [](Bytes&) {}, 1},
      {"a field past the quiz", [](Bytes&) {}, 2},
      {"body longer than the data", [](Bytes& b) { SetLength(b, uint32_t(b.size())); }, 4},
      {"checksum fails", [](Bytes& b) { b.back() ^= 1; }, 4},
      {"field 0", [](Bytes& b) { b[15] = 0; Reseal(b); }, 4},
      {"fields out of order", [](Bytes& b) { b[15] = 3; Reseal(b); }, 4},
      {"no answers in an entry", [](Bytes& b) { b[17] = 0; Reseal(b); }, 4},
      {"seventeen answers", [](Bytes& b) { b[17] = MaxAcceptedAnswers + 1; Reseal(b); }, 4},
      {"an empty answer", [](Bytes& b) { b[18] = 0; Reseal(b); }, 4},
      {"an answer past 259 bytes", [](Bytes& b) { b[18] = 4; b[19] = 1; Reseal(b); }, 4},
      {"a zero byte in an answer", [](Bytes& b) { b[20] = 0; Reseal(b); }, 4},
      {"a byte left over in the body", [](Bytes& b) { b.push_back('z'); SetLength(b, uint32_t(b.size()) - 15); Reseal(b); }, 4},
      {"an entry cut short", [](Bytes& b) { b.pop_back(); SetLength(b, uint32_t(b.size()) - 15); Reseal(b); }, 4},
  };
  // clang-format on
  std::vector<AcceptedAnswers> read;
  ASSERT_EQ(ReadAcceptedBlock(good.data(), uint32_t(good.size()), 0, 4, read), good.size());
  for (const auto& c : cases) {
    Bytes spoilt = good;
    c.spoil(spoilt);
    EXPECT_EQ(ReadAcceptedBlock(spoilt.data(), uint32_t(spoilt.size()), 0, c.fieldLimit, read), 0u) << c.name;
    EXPECT_TRUE(read.empty()) << c.name;
  }
  for (uint32_t cut = 0; cut < good.size(); ++cut) {  // every truncation
    EXPECT_EQ(ReadAcceptedBlock(good.data(), cut, 0, 4, read), 0u) << cut;
  }
}

// A reader of the plain format, written from its grammar alone: texts end at
// '|' (backslash-n-X a line break), the answers and question of each group,
// the reveal texts, the colour; what follows is never looked at.
struct PlainQuiz {
  std::vector<std::string> texts;  // header, then each group's, then the reveal texts
  std::vector<int> colour;
};
PlainQuiz ReadPlain(const Bytes& data) {
  size_t p = 4;
  const auto field = [&] {
    std::string text;
    while (data.at(p) != '|') {
      if (data[p] == '\\' && data.at(p + 1) == 'n') {
        text += "\r\n";
        p += 3;
      } else {
        if (data[p] != 0) text += char(data[p]);
        ++p;
      }
    }
    ++p;
    return text;
  };
  PlainQuiz quiz;
  for (int k = 0; k < 5; ++k) quiz.texts.push_back(field());
  for (int q = 0; q < data[2]; ++q)
    for (int k = 0; k < (data[3] == 2 ? 3 : 2); ++k) quiz.texts.push_back(field());
  const int mode = data.at(p++);
  const int reveals = mode == 2 || mode == 4 ? 1 : mode == 3 ? 2 : 0;
  for (int q = 0; q < data[2] * reveals; ++q) quiz.texts.push_back(field());
  quiz.colour = {data.at(p), data.at(p + 1), data.at(p + 2)};
  return quiz;
}

PlainQuiz PlayerView(const Bytes& data, std::vector<AcceptedAnswers>& accepted) {
  QuizContent quiz;
  ParseQuizPayload(data.data(), uint32_t(data.size()), quiz);
  PlainQuiz view;
  view.texts = {quiz.title, quiz.author, quiz.explanation, quiz.extraText1, quiz.extraText2};
  for (QuestionRecord* r = quiz.firstQuestion; r != nullptr; r = r->next) {
    view.texts.push_back(r->answer1);
    if (quiz.answersPerQuestion == 2) view.texts.push_back(r->answer2);
    view.texts.push_back(r->questionText);
  }
  for (QuestionRecord* r = quiz.firstQuestion; r != nullptr && quiz.revealMode == 2; r = r->next)
    view.texts.push_back(r->revealText);
  view.colour = {quiz.backgroundRed, quiz.backgroundGreen, quiz.backgroundBlue};
  accepted = quiz.acceptedAnswers;
  return view;
}

// The quiz plays the same with the block, with random bytes instead, and
// with both; only a whole block gives accepted answers.
TEST(AcceptedBlock, PlainReadersPlayTheQuizByItsExpectedAnswers) {
  const std::string plain = std::string("\x00\x01\x02\x02", 4) + "T|A|E|4|5|Marie Curie|b\\n c|Q1|La Chine|d|Q2|" +
                            "\x02r1|r2|" + "\x0A\x14\x1E";
  const Bytes payload(plain.begin(), plain.end());
  const Bytes block = Block({{1, {"Curie"}}, {3, {"Chine", "chine"}}});
  std::mt19937 random(104);
  for (int n = 0; n < 200; ++n) {
    Bytes trailing(random() % 40);
    for (uint8_t& byte : trailing) byte = uint8_t(random());
    if (n % 2 == 0 && !trailing.empty()) trailing[0] = 'L';  // a signature's first byte, now and then
    const bool withBlock = n % 3 != 0;
    Bytes data = payload;
    if (withBlock) data.insert(data.end(), block.begin(), block.end());
    data.insert(data.end(), trailing.begin(), trailing.end());
    std::vector<AcceptedAnswers> accepted;
    const PlainQuiz view = PlayerView(data, accepted);
    const PlainQuiz expected = ReadPlain(data);
    EXPECT_EQ(view.texts, expected.texts);
    EXPECT_EQ(view.colour, expected.colour);
    EXPECT_EQ(view.texts[5], "Marie Curie");
    ASSERT_EQ(accepted.size(), withBlock ? 2u : 0u) << n;
    if (withBlock) EXPECT_EQ(Texts(accepted[1]), std::vector<std::string>({"Chine", "chine"}));
  }
}

// A listener hears of bytes past the block as it hears of bytes past the colour.
TEST(AcceptedBlock, BytesAfterTheBlockAreTrailing) {
  struct Heard final : PayloadListener {
    std::vector<PayloadPart> trailing;
    void problem(PayloadProblem problem, PayloadPart part, int) override {
      if (problem == PayloadProblem::TrailingBytes) trailing.push_back(part);
    }
    void unkeptText(PayloadPart, int, const char*) override {}
  };
  const std::string plain = std::string("\x00\x01\x01\x01", 4) + "T|||||a|Q|" + std::string("\x00\x01\x02\x03", 4);
  const Bytes block = Block({{1, {"b"}}});
  // clang-format off
  const struct { Bytes after; std::vector<PayloadPart> heard; size_t accepted; } cases[] = {
      {{}, {}, 0},
      {block, {}, 1},
      {{'x'}, {PayloadPart::Colour}, 0},
      {Bytes(block.begin(), block.end() - 1), {PayloadPart::Colour}, 0},
  };
  // clang-format on
  for (auto c : cases) {
    Bytes data(plain.begin(), plain.end());
    data.insert(data.end(), c.after.begin(), c.after.end());
    for (int extra = 0; extra < 2; ++extra) {
      if (extra == 1) {
        data.push_back('!');
        if (c.heard.empty()) c.heard = {c.accepted ? PayloadPart::AcceptedAnswers : PayloadPart::Colour};
      }
      QuizContent quiz;
      Heard heard;
      ParseQuizPayload(data.data(), uint32_t(data.size()), quiz, &heard);
      EXPECT_EQ(heard.trailing, c.heard);
      EXPECT_EQ(quiz.acceptedAnswers.size(), c.accepted);
    }
  }
}

}  // namespace
