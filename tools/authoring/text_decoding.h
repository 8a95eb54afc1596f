// The bytes of a text file a teacher hands over (a quiz source, a table of
// questions, a GIFT bank) as UTF-8. A file saved in UTF-8 with a few stray
// bytes of another encoding (one "é" typed in Latin-1) is read as UTF-8,
// each stray byte as its Windows-1252 character, and the first one is told
// where it is; a file with no UTF-8 at all is read as Windows-1252 (Notepad's
// "ANSI"). Reads any bytes, in one pass.
#pragma once
#include <cstdint>
#include <string>

// Where a character stands in a text: its line and its place in that line, both from 1.
struct TextPlace {
  int line = 0;
  int character = 0;
};

struct DecodedText {
  std::string utf8;          // without the BOM; line ends as they were
  bool bom = false;          // the file began with a UTF-8 byte order mark
  bool windows1252 = false;  // no UTF-8 sequence at all: the whole file read as Windows-1252
  // Bytes that are not UTF-8 in a text that is: each read as its Windows-1252 character.
  int strayBytes = 0;
  TextPlace firstStray;
  uint8_t firstStrayByte = 0;
  // With readControls: C1 control characters (U+0080 to U+009F, what a
  // wrong decoding makes of "€" or "’") read as the Windows-1252
  // characters of the same value.
  int controls = 0;
  TextPlace firstControl;
};

DecodedText DecodeText(const std::string& bytes, bool readControls);

// Whether a code point is a C1 control character that stands for a Windows-1252
// character (U+0080 to U+009F, but for the five values Windows-1252 leaves unassigned).
bool IsWindows1252Control(uint32_t codePoint);

// What the author reads about a decoding, Windows-1252; empty when there is
// nothing to say. "ligne 3, caractère 12 : l'octet E9 n'est pas de l'UTF-8 ;
// il est lu comme « é » (Windows-1252)...", without "ligne 3, " for a message
// that its line places already.
std::string StrayBytesMessage(const DecodedText& text, bool withLine);
std::string ControlsMessage(const DecodedText& text, bool withLine);
