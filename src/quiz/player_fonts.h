// The fonts the player creates for its header, as a LOGFONT gives them (the
// face left to the system). Every other text of the player (the author, the
// explanation, the questions, the score code) is drawn in the system's GUI
// font (DEFAULT_GUI_FONT). Portable: the tools measure texts with them.
#pragma once

struct PlayerFontSpec {
  int height;  // lfHeight: negative for the character height, positive for the cell height
  int weight;  // lfWeight
  bool italic;
};

inline constexpr PlayerFontSpec TitleFontSpec = {-15, 700, true};
inline constexpr PlayerFontSpec ScoreFontSpec = {25, 400, false};
