#include "quiz.h"

Quiz* currentQuiz = nullptr;

namespace {

HFONT MakeFont(LONG height, LONG weight, BYTE italic) {
  LOGFONTA font = {};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfItalic = italic;
  return CreateFontIndirectA(&font);
}

}  // namespace

Quiz::Quiz() {
  scoreFont = MakeFont(25, 400, 0);
  titleFont = MakeFont(-15, 700, 1);
  backgroundBrush = CreateSolidBrush(RGB(backgroundRed, backgroundGreen, backgroundBlue));
  brushRed = CreateSolidBrush(RGB(255, 0, 0));
  brushGreen = CreateSolidBrush(RGB(0, 255, 0));
  brushOrange = CreateSolidBrush(RGB(255, 100, 0));
  brushGold = CreateSolidBrush(RGB(255, 203, 38));
  brushPaleYellow = CreateSolidBrush(RGB(255, 255, 192));
}

// The fonts stay: the panels may still hold them while the process ends.
Quiz::~Quiz() {
  DeleteObject(backgroundBrush);
  DeleteObject(brushRed);
  DeleteObject(brushGreen);
  DeleteObject(brushOrange);
  DeleteObject(brushGold);
  DeleteObject(brushPaleYellow);
  backgroundBrush = brushRed = brushGreen = brushOrange = brushGold = brushPaleYellow = nullptr;
  clearQuestions();
}

void Quiz::setBackground(uint8_t red, uint8_t green, uint8_t blue) {
  backgroundRed = red;
  backgroundGreen = green;
  backgroundBlue = blue;
  HBRUSH replaced = backgroundBrush;
  backgroundBrush = CreateSolidBrush(RGB(red, green, blue));
  if (replaced != nullptr) DeleteObject(replaced);
}
