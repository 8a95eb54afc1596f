// The one border between Windows' UTF-16 and the editor's bytes.
//
// The window and every control of the editor are Unicode (W): an ANSI edit
// control turns a character that Windows-1252 lacks into '?' before the
// program can see it, so the editor could neither refuse it nor say which
// one it was. The quiz holds Windows-1252 bytes (the core's texts and
// messages too); typed text goes to the core's checks in UTF-8; paths are
// UTF-16 in the window, UTF-8 in the document. Every conversion is here.
#pragma once
#include <windows.h>

#include <string>

std::wstring WideFromCp1252(const std::string& bytes);  // quiz texts, the core's messages
std::wstring WideFromUtf8(const std::string& utf8);     // paths from the document, UTF-8 files
std::string Utf8FromWide(const std::wstring& text);     // typed text, paths; a lone surrogate becomes U+FFFD

// A quiz text on one line, for a list's cell: its line breaks shown as ¶.
std::wstring OneLineFromCp1252(const std::string& bytes);

// The text of a window or control, whole.
std::wstring WindowText(HWND window);

// The path in the ANSI code page, for the functions of the core that take
// one (the resource reader and writer). A folder whose name the code page
// cannot hold is replaced by its short name when it has one; false when the
// path still cannot be written so.
bool AnsiPath(const std::wstring& path, std::string& ansi);
