#include "quiz.h"

#include "player_fonts.h"

Quiz* currentQuiz = nullptr;

namespace {

HFONT MakeFont(const PlayerFontSpec& spec) {
  LOGFONTA font = {};
  font.lfHeight = spec.height;
  font.lfWeight = spec.weight;
  font.lfItalic = spec.italic ? 1 : 0;
  return CreateFontIndirectA(&font);
}

}  // namespace

Quiz::Quiz() {
  scoreFont = MakeFont(ScoreFontSpec);
  titleFont = MakeFont(TitleFontSpec);
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
