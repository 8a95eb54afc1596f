#include "layout.h"

MainLayout LayoutMainWindow(int clientWidth, int clientHeight) {
  MainLayout layout;
  layout.questionPanel = {5, 50, clientWidth - 11, clientHeight - 68};
  layout.headerPanel = {5, 2, clientWidth - 11, 49};
  layout.creditLabel = {clientWidth - 145, clientHeight - 16, 140, 15};
  return layout;
}

ScreenPoint CentreInArea(int areaLeft, int areaTop, int areaWidth, int areaHeight, int windowWidth, int windowHeight) {
  // C++ division truncates toward zero, also when the window is the larger.
  return {areaLeft + (areaWidth - windowWidth) / 2, areaTop + (areaHeight - windowHeight) / 2};
}
