// Stream helpers for the codec tests, written from the stream rules alone
// (MSB-first codes, 257 widens, 258 back to 9 bits) without the codec's code.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct Code {
  uint32_t value;
  int width;
};

inline std::vector<uint8_t> PackCodes(const std::vector<Code>& codes) {
  std::vector<uint8_t> bytes;
  int used = 8;  // bits used in the last byte
  for (const Code& code : codes) {
    for (int bit = code.width - 1; bit >= 0; --bit) {
      if (used == 8) {
        bytes.push_back(0);
        used = 0;
      }
      if ((code.value >> bit) & 1) bytes.back() |= uint8_t(0x80 >> used);
      ++used;
    }
  }
  return bytes;
}

// The codes of a stream up to and including 256, each with its width.
inline std::vector<Code> ReadCodes(const std::vector<uint8_t>& bytes) {
  std::vector<Code> codes;
  size_t bit = 0;
  int width = 9;
  while (bit + width <= bytes.size() * 8 && width <= 32) {
    uint32_t value = 0;
    for (int i = 0; i < width; ++i, ++bit) value = (value << 1) | ((bytes[bit / 8] >> (7 - bit % 8)) & 1);
    codes.push_back({value, width});
    if (value == 256 && codes.size() > 1) break;
    if (value == 257) ++width;
    if (value == 258) width = 9;
  }
  return codes;
}

inline std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
