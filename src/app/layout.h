// Placement arithmetic of the main window: where the panels and the credit
// label go for a given client size, and where a window is centred. Portable.
#pragma once

struct PanelRect {
  int x;
  int y;
  int width;
  int height;
};

struct MainLayout {
  PanelRect questionPanel;
  PanelRect headerPanel;
  PanelRect creditLabel;
};

struct ScreenPoint {
  int x;
  int y;
};

// The outer size of the main window when it opens.
enum : int {
  MainWindowWidth = 544,
  MainWindowHeight = 375,
};

// Panels and credit label for a client area of width by height pixels.
MainLayout LayoutMainWindow(int clientWidth, int clientHeight);

// Top-left corner that centres a window of the given outer size in the area
// (left, top, width, height); the halves truncate toward zero.
ScreenPoint CentreInArea(int areaLeft, int areaTop, int areaWidth, int areaHeight, int windowWidth, int windowHeight);
