// Conversions between UTF-8 (the quiz sources) and Windows-1252 (the bytes
// the player shows through the A functions).
#pragma once
#include <cstdint>
#include <string>

// The Windows-1252 byte of a code point, or -1 when it has none. The five
// bytes that Windows-1252 leaves unassigned (81 8D 8F 90 9D) map to the C1
// code points of the same value, as Windows itself does, so every byte has
// a code point and extracted texts come back unchanged.
int Cp1252FromCodePoint(uint32_t codePoint);

// The code point of a Windows-1252 byte.
uint32_t CodePointFromCp1252(uint8_t byte);

// Decodes one UTF-8 sequence at text[position]; on success returns true, sets
// codePoint and advances position. Overlong forms, surrogates and values past
// U+10FFFF are refused. Reads no byte at or past text.size().
bool DecodeUtf8(const std::string& text, size_t& position, uint32_t& codePoint);

// Whether every byte of text belongs to a valid UTF-8 sequence.
bool IsValidUtf8(const std::string& text);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, uint32_t codePoint);

// The UTF-8 form of a Windows-1252 byte string.
std::string Utf8FromCp1252(const std::string& bytes);

// The Windows-1252 form of a UTF-8 text, for quoting it in a message: a
// character Windows-1252 lacks, or a byte that is not UTF-8, becomes '?'.
std::string Cp1252FromUtf8Lossy(const std::string& utf8);
