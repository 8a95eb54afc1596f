// Where the header panel's movable controls go for a client width W. Portable.
#pragma once

struct HeaderPlace {
  int id;
  int x;
  int y;
  int width;
  int height;
  bool repaint;  // invalidated after the move
};

enum : int {
  // The controls that stay where the panel creates them: the title, and the
  // read-only field that shows the score code.
  TitleLabelX = 110,
  TitleLabelY = 3,
  TitleLabelWidth = 260,
  TitleLabelHeight = 18,
  ScoreCodeFieldX = 44,
  ScoreCodeFieldY = 29,
  ScoreCodeFieldWidth = 53,
  ScoreCodeFieldHeight = 16,
  HeaderPlaceCount = 6,
  // Below this width the explanation label would get a negative width.
  HeaderNarrowestFullWidth = 324,
};

// The six controls that follow the panel's right edge, in the order they move.
// The explanation label's width is W - 324, clamped to 0 on a narrower panel.
void LayoutHeader(int clientWidth, HeaderPlace places[HeaderPlaceCount]);
