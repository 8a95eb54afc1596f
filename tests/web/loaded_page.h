// The page's player, natively, on a quiz packed from its source as ludex-pack
// packs it; an answer typed into a field and judged.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "page_player.h"
#include "quiz_payloads.h"
#include "quiz_source.h"

inline QuizPayloads Streams(const std::string& source) {
  AuthoredQuiz quiz;
  Diagnostics diagnostics;
  QuizPayloads streams;
  EXPECT_TRUE(ParseQuizSource(source, quiz, diagnostics) &&
              CompressPayloads(EncodePayloads(quiz), streams, diagnostics));
  return streams;
}

inline QuizLoadResult Load(PagePlayer& player, const std::string& source) {
  const QuizPayloads streams = Streams(source);
  return player.load(streams.quiz.data(), streams.quiz.size(), streams.codes.data(), streams.codes.size());
}

inline void Type(PagePlayer& player, int field, const std::string& text) {
  player.setField(field, text);
  player.judge(field);
}
