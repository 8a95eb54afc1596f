// The one border between Windows' UTF-16 and the editor session's UTF-8.
//
// The window and every control of the editor are Unicode (W): an ANSI edit
// control turns a character that Windows-1252 lacks into '?' before the
// program can see it, so the editor could neither refuse it nor say which
// one it was. Every text the session hands out or takes is UTF-8: the
// quiz's texts, its own sentences, paths. Every conversion is here.
#pragma once
#include <windows.h>

#include <string>

std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& text);  // a lone surrogate becomes U+FFFD

// The text of a window or control, whole.
std::wstring WindowText(HWND window);
