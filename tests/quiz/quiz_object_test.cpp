#include <gtest/gtest.h>

#include <cstring>

#include "quiz/quiz.h"

namespace {

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH logBrush = {};
  if (GetObjectA(brush, sizeof logBrush, &logBrush) != sizeof logBrush) return CLR_INVALID;
  return logBrush.lbColor;
}

struct BrushCase {
  const char* name;
  HBRUSH Quiz::*brush;
  COLORREF colour;
};

const BrushCase Brushes[] = {
    {"backgroundBrush", &Quiz::backgroundBrush, RGB(90, 95, 150)},
    {"brushRed", &Quiz::brushRed, RGB(255, 0, 0)},
    {"brushGreen", &Quiz::brushGreen, RGB(0, 255, 0)},
    {"brushOrange", &Quiz::brushOrange, RGB(255, 100, 0)},
    {"brushGold", &Quiz::brushGold, RGB(255, 203, 38)},
    {"brushPaleYellow", &Quiz::brushPaleYellow, RGB(255, 255, 192)},
};

TEST(QuizObject, ConstructorMakesTheSixSolidBrushes) {
  Quiz quiz;
  for (const BrushCase& b : Brushes) {
    HBRUSH brush = quiz.*(b.brush);
    ASSERT_NE(brush, nullptr) << b.name;
    LOGBRUSH logBrush = {};
    ASSERT_EQ(GetObjectA(brush, sizeof logBrush, &logBrush), (int)sizeof logBrush) << b.name;
    EXPECT_EQ(logBrush.lbStyle, (UINT)BS_SOLID) << b.name;
    EXPECT_EQ(logBrush.lbColor, b.colour) << b.name;
  }
  EXPECT_EQ(quiz.answerFont, nullptr);
  EXPECT_EQ(quiz.headerPanel, nullptr);
}

struct FontCase {
  const char* name;
  HFONT Quiz::*font;
  LONG height;
  LONG weight;
  BYTE italic;
};

const FontCase Fonts[] = {
    {"scoreFont", &Quiz::scoreFont, 25, 400, 0},
    {"titleFont", &Quiz::titleFont, -15, 700, 1},
};

TEST(QuizObject, ConstructorMakesTheScoreAndTitleFonts) {
  Quiz quiz;
  for (const FontCase& f : Fonts) {
    LOGFONTA font = {};
    ASSERT_EQ(GetObjectA(quiz.*(f.font), sizeof font, &font), (int)sizeof font) << f.name;
    EXPECT_EQ(font.lfHeight, f.height) << f.name;
    EXPECT_EQ(font.lfWeight, f.weight) << f.name;
    EXPECT_EQ(font.lfItalic, f.italic) << f.name;
    EXPECT_EQ(font.lfUnderline, 0) << f.name;
    EXPECT_EQ(font.lfWidth, 0) << f.name;
    EXPECT_EQ(font.lfCharSet, 0) << f.name;
    EXPECT_STREQ(font.lfFaceName, "") << f.name;
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
    for (HFONT font : fonts) EXPECT_EQ(GetObjectType(font), (DWORD)OBJ_FONT);
  }
}

TEST(QuizObject, SetBackgroundReplacesTheBrush) {
  Quiz quiz;
  HBRUSH replaced = quiz.backgroundBrush;
  quiz.setBackground(10, 20, 30);
  EXPECT_EQ(quiz.backgroundRed, 10);
  EXPECT_EQ(quiz.backgroundGreen, 20);
  EXPECT_EQ(quiz.backgroundBlue, 30);
  EXPECT_EQ(BrushColour(quiz.backgroundBrush), RGB(10, 20, 30));
  EXPECT_EQ(GetObjectType(replaced), 0u);
}

}  // namespace
