// Where each control of the editor's window goes for a size of its client
// area: the quiz's header fields and settings at the top with the big
// buttons on the right, the questions list growing with the window, the
// chosen question's fields and the problems below it. Portable: the window
// applies it in one batch; the tests check it for any size.
#pragma once
#include "authored_quiz.h"

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
};

// A text field with its label on the left and its length counter on the right.
struct FieldBoxes {
  Box label, field, counter;
};

struct EditorLayout {
  FieldBoxes fields[QuizFieldCount];  // the two texts never shown get none
  Box answersLabel, answers, revealLabel, reveal, colourLabel, swatch, colourButton;  // the settings row
  Box outputButtons[4];  // try, build the program, build the page, print
  Box listLabel, list, listButtons[5];  // add, duplicate, remove, move up, move down
  Box rowLabel, problemsLabel, problems;
  Box suggestions[2];  // the accepted answers suggested for each answer, under its accepted ones
  int listColumns[5];  // number, question, answers, reveal text, code
};

// The window is never made smaller than this, frame and menu included: its
// client area is then about 880 x 610, where every control still has room.
const int MinEditorWidth = 900;
const int MinEditorHeight = 670;

// width x height: the client area; statusHeight: the status bar's, at its
// bottom; scrollBarWidth: what the list's vertical scroll bar takes.
EditorLayout LayoutEditor(int width, int height, int statusHeight, int scrollBarWidth);
