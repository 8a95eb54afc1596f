// The answers file on disk: read back, mapped, while the question panel is
// built; written from the answer fields on F2 and when the main window closes.
#pragma once
#include <windows.h>

#include "answers_file.h"

// The answers file's name for this program: in the current directory.
void AnswersFilePath(char name[260]);

// The answers file, mapped read-only while the rows are built. A missing,
// empty or unmappable file gives no bytes.
struct SavedAnswers {
  HANDLE file = INVALID_HANDLE_VALUE;
  HANDLE mapping = nullptr;
  const uint8_t* bytes = nullptr;
  size_t size = 0;
};
void OpenSavedAnswers(SavedAnswers& saved);
void CloseSavedAnswers(SavedAnswers& saved);

// Writes every answer field of the question panel to the answers file.
void SaveAnswers(HWND questionPanel);
