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
  HeaderPlaceCount = 6,
  // Below this width the explanation label would get a negative width.
  HeaderNarrowestFullWidth = 324,
};

// The six controls that follow the panel's right edge, in the order they move.
// The explanation label's width is W - 324, clamped to 0 on a narrower panel.
void LayoutHeader(int clientWidth, HeaderPlace places[HeaderPlaceCount]);
