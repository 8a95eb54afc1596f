#include "cp1252.h"

namespace {

// Code points of the bytes 80 to 9F; the unassigned ones keep their own value.
const uint16_t HighControlBlock[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

int Cp1252FromCodePoint(uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
  for (int i = 0; i < 32; ++i) {
    if (HighControlBlock[i] == codePoint) return 0x80 + i;
  }
  return -1;
}

uint32_t CodePointFromCp1252(uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0) return HighControlBlock[byte - 0x80];
  return byte;
}

bool DecodeUtf8(const std::string& text, size_t& position, uint32_t& codePoint) {
  if (position >= text.size()) return false;
  const uint8_t lead = static_cast<uint8_t>(text[position]);
  int extra;
  uint32_t value;
  uint32_t smallest;
  if (lead < 0x80) {
    codePoint = lead;
    ++position;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    value = lead & 0x1F;
    smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    value = lead & 0x0F;
    smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    value = lead & 0x07;
    smallest = 0x10000;
  } else {
    return false;
  }
  if (text.size() - position <= static_cast<size_t>(extra)) return false;
  for (int i = 1; i <= extra; ++i) {
    const uint8_t next = static_cast<uint8_t>(text[position + i]);
    if ((next & 0xC0) != 0x80) return false;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  codePoint = value;
  position += extra + 1;
  return true;
}

bool IsValidUtf8(const std::string& text) {
  size_t position = 0;
  uint32_t c;
  while (position < text.size()) {
    if (!DecodeUtf8(text, position, c)) return false;
  }
  return true;
}

void AppendUtf8(std::string& out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

std::string Utf8FromCp1252(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char c : bytes) AppendUtf8(out, CodePointFromCp1252(static_cast<uint8_t>(c)));
  return out;
}

std::string Cp1252FromUtf8Lossy(const std::string& utf8) {
  std::string out;
  size_t position = 0;
  while (position < utf8.size()) {
    uint32_t c = 0;
    if (!DecodeUtf8(utf8, position, c)) {
      out += '?';
      ++position;
      continue;
    }
    const int byte = Cp1252FromCodePoint(c);
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}
