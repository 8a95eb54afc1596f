#include "wide_text.h"

#include "cp1252.h"

std::wstring WideFromCp1252(const std::string& bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  // Every Windows-1252 character lies in the Basic Multilingual Plane: one UTF-16 unit each.
  for (unsigned char byte : bytes) text += static_cast<wchar_t>(CodePointFromCp1252(byte));
  return text;
}

std::wstring OneLineFromCp1252(const std::string& bytes) {
  std::wstring text = WideFromCp1252(bytes);
  for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos;) text.replace(at, 2, L" ¶ ");
  return text;
}

std::wstring WideFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return L"";
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], length);
  return text;
}

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) return "";
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], length, nullptr, nullptr);
  return utf8;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], length + 1)));
  return text;
}

namespace {

bool ToAnsi(const std::wstring& text, std::string& ansi) {
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, &lossy);
  if (lossy || (length == 0 && !text.empty())) return false;
  ansi.assign(static_cast<size_t>(length), '\0');
  if (length > 0) {
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &ansi[0], length,
                        nullptr, nullptr);
  }
  return true;
}

}  // namespace

bool AnsiPath(const std::wstring& path, std::string& ansi) {
  if (ToAnsi(path, ansi)) return true;
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return false;
  wchar_t shortFolder[MAX_PATH];
  const DWORD length = GetShortPathNameW(path.substr(0, slash).c_str(), shortFolder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  return ToAnsi(std::wstring(shortFolder) + path.substr(slash), ansi);
}
