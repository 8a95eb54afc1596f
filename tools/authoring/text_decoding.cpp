#include "text_decoding.h"

#include <cstdio>

#include "cp1252.h"
#include "french_text.h"

bool IsWindows1252Control(uint32_t c) {
  return c >= 0x80 && c < 0xA0 && CodePointFromCp1252(static_cast<uint8_t>(c)) != c;
}

DecodedText DecodeText(const std::string& bytes, bool readControls) {
  DecodedText text;
  size_t position = 0;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    text.bom = true;
    position = 3;
  }
  text.utf8.reserve(bytes.size() - position);
  bool sawUtf8 = false;  // a sequence of more than one byte
  TextPlace here{1, 1};
  while (position < bytes.size()) {
    const size_t start = position;
    uint32_t c = 0;
    if (!DecodeUtf8(bytes, position, c)) {
      const uint8_t byte = static_cast<uint8_t>(bytes[position++]);
      if (text.strayBytes++ == 0) {
        text.firstStray = here;
        text.firstStrayByte = byte;
      }
      AppendUtf8(text.utf8, CodePointFromCp1252(byte));
    } else if (readControls && IsWindows1252Control(c)) {
      if (text.controls++ == 0) text.firstControl = here;
      AppendUtf8(text.utf8, CodePointFromCp1252(static_cast<uint8_t>(c)));
    } else {
      sawUtf8 = sawUtf8 || position - start > 1;
      text.utf8.append(bytes, start, position - start);
    }
    if (c == '\n' && position - start == 1) {
      ++here.line;
      here.character = 1;
    } else {
      ++here.character;
    }
  }
  text.windows1252 = text.strayBytes > 0 && !sawUtf8;
  return text;
}

namespace {

std::string Place(const TextPlace& place, bool withLine) {
  return (withLine ? "ligne " + std::to_string(place.line) + ", " : std::string()) + "caract\xE8re " +
         std::to_string(place.character);
}

std::string Others(int count, const char* what) {
  if (count <= 1) return "";
  return " (" + std::to_string(count - 1) + " autre" + (count > 2 ? "s" : "") + " " + what + " plus loin)";
}

}  // namespace

std::string StrayBytesMessage(const DecodedText& text, bool withLine) {
  if (text.strayBytes == 0 || text.windows1252) return "";
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", text.firstStrayByte);
  std::string shown(1, static_cast<char>(text.firstStrayByte));
  return Place(text.firstStray, withLine) + " : l'octet " + hex + " n'est pas de l'UTF-8 ; il est lu comme " + Quoted(shown) +
         " (Windows-1252)" + Others(text.strayBytes, "octets de ce genre") +
         " : enregistrez le fichier en UTF-8 pour en \xEAtre s\xFBr";
}

std::string ControlsMessage(const DecodedText& text, bool withLine) {
  if (text.controls == 0) return "";
  return Place(text.firstControl, withLine) +
         " : un caract\xE8re de contr\xF4le (U+0080 \xE0 U+009F), ce qu'un mauvais d\xE9" "codage fait de \xAB \x80 \xBB ou "
         "\xAB \x92 \xBB, est lu comme le caract\xE8re qu'il repr\xE9sente" +
         Others(text.controls, "caract\xE8res de ce genre") + " ; v\xE9rifiez ces textes";
}
