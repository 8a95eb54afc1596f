#include "header_layout.h"

#include "resource.h"

void LayoutHeader(int clientWidth, HeaderPlace places[HeaderPlaceCount]) {
  const int W = clientWidth;
  // On a panel narrower than 324 pixels the explanation has no room left:
  // it shrinks to nothing rather than asking for a negative width.
  int explanationWidth = W - HeaderNarrowestFullWidth;
  if (explanationWidth < 0) explanationWidth = 0;
  places[0] = {IDC_WEB_LINK, W - 134, 0, 115, 18, false};
  places[1] = {IDC_BY_LABEL, W - 134, 25, 26, 18, false};
  places[2] = {IDC_AUTHOR, W - 107, 25, 105, 18, true};
  places[3] = {IDC_SAVE_BUTTON, W - 204, 25, 55, 18, true};
  places[4] = {IDC_EXPLANATION, 110, 19, explanationWidth, 28, true};
  places[5] = {IDC_SEPARATOR_RIGHT, W - 145, 0, 1, 50, true};
}
