#include <gtest/gtest.h>

#include "quiz.h"

namespace {

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH logBrush = {};
  if (GetObjectA(brush, sizeof logBrush, &logBrush) != sizeof logBrush || logBrush.lbStyle != BS_SOLID)
    return CLR_INVALID;
  return logBrush.lbColor;
}

// clang-format off
const struct { const char* name; HBRUSH Quiz::*brush; COLORREF colour; } Brushes[] = {
    {"backgroundBrush", &Quiz::backgroundBrush, RGB(90, 95, 150)}, {"brushRed", &Quiz::brushRed, RGB(255, 0, 0)},
    {"brushGreen", &Quiz::brushGreen, RGB(0, 255, 0)},             {"brushOrange", &Quiz::brushOrange, RGB(255, 100, 0)},
    {"brushGold", &Quiz::brushGold, RGB(255, 203, 38)},            {"brushPaleYellow", &Quiz::brushPaleYellow, RGB(255, 255, 192)},
};
// clang-format on

TEST(QuizObject, ConstructorMakesTheSolidBrushesAndTheScoreAndTitleFonts) {
  Quiz quiz;
  for (const auto& b : Brushes) EXPECT_EQ(BrushColour(quiz.*(b.brush)), b.colour) << b.name;
  EXPECT_EQ(quiz.answerFont, nullptr);
  EXPECT_EQ(quiz.headerPanel, nullptr);
  // clang-format off
  const struct { HFONT font; LONG height, weight; BYTE italic; } fonts[] = {{quiz.scoreFont, 25, 400, 0}, {quiz.titleFont, -15, 700, 1}};
  // clang-format on
  for (const auto& f : fonts) {
    LOGFONTA font = {};
    ASSERT_EQ(GetObjectA(f.font, sizeof font, &font), int(sizeof font)) << f.height;
    EXPECT_EQ(font.lfHeight, f.height);
    EXPECT_EQ(font.lfWeight, f.weight) << f.height;
    EXPECT_EQ(font.lfItalic, f.italic) << f.height;
    EXPECT_EQ(font.lfUnderline | font.lfWidth | font.lfCharSet | font.lfFaceName[0], 0) << f.height;
  }
}

TEST(QuizObject, DestructionDeletesTheBrushesButKeepsTheFonts) {
  for (int questions : {0, 3}) {
    Quiz* quiz = new Quiz;
    for (int i = 0; i < questions; ++i) quiz->appendQuestion("a", "", "q");
    HBRUSH brushes[6];
    for (int i = 0; i < 6; ++i) brushes[i] = quiz->*(Brushes[i].brush);
    HFONT fonts[2] = {quiz->scoreFont, quiz->titleFont};
    delete quiz;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(GetObjectType(brushes[i]), 0u) << Brushes[i].name << ", " << questions;
    for (HFONT font : fonts) EXPECT_EQ(GetObjectType(font), DWORD(OBJ_FONT));
  }
}

TEST(QuizObject, SetBackgroundReplacesTheBrush) {
  Quiz quiz;
  HBRUSH replaced = quiz.backgroundBrush;
  quiz.setBackground(10, 20, 30);
  EXPECT_EQ(RGB(quiz.backgroundRed, quiz.backgroundGreen, quiz.backgroundBlue), RGB(10, 20, 30));
  EXPECT_EQ(BrushColour(quiz.backgroundBrush), RGB(10, 20, 30));
  EXPECT_EQ(GetObjectType(replaced), 0u);
}

}  // namespace
