// The quiz's GDI objects: made with the quiz, the brushes deleted with it.
#include <gtest/gtest.h>

#include <tuple>

#include "quiz.h"

namespace {

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH logBrush = {};
  if (GetObjectA(brush, sizeof logBrush, &logBrush) != sizeof logBrush || logBrush.lbStyle != BS_SOLID)
    return CLR_INVALID;
  return logBrush.lbColor;
}

TEST(QuizObject, BrushesAndFontsMadeWithTheQuizBrushesDeletedWithIt) {
  for (int questions : {0, 3}) {
    Quiz* quiz = new Quiz;
    for (int i = 0; i < questions; ++i) quiz->appendQuestion("a", "", "q");
    // The colours are the panel's to show (its tests read them there).
    const HBRUSH brushes[] = {quiz->backgroundBrush, quiz->brushRed,  quiz->brushGreen,
                              quiz->brushOrange,     quiz->brushGold, quiz->brushPaleYellow};
    // clang-format off
    const struct { HFONT font; LONG height, weight; BYTE italic; } fonts[] = {{quiz->scoreFont, 25, 400, 0}, {quiz->titleFont, -15, 700, 1}};
    // clang-format on
    for (HBRUSH brush : brushes) EXPECT_NE(BrushColour(brush), CLR_INVALID);
    EXPECT_EQ(quiz->answerFont, nullptr);
    for (const auto& f : fonts) {
      LOGFONTA font = {};
      ASSERT_EQ(GetObjectA(f.font, sizeof font, &font), int(sizeof font)) << f.height;
      EXPECT_EQ(std::make_tuple(font.lfHeight, font.lfWeight, font.lfItalic),
                std::make_tuple(f.height, f.weight, f.italic));
      EXPECT_EQ(font.lfUnderline | font.lfWidth | font.lfCharSet | font.lfFaceName[0], 0) << f.height;
    }
    delete quiz;
    for (HBRUSH brush : brushes) EXPECT_EQ(GetObjectType(brush), 0u) << questions;
    for (const auto& f : fonts) EXPECT_EQ(GetObjectType(f.font), DWORD(OBJ_FONT)) << "fonts are kept";
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
