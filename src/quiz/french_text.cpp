#include "french_text.h"

std::string Counted(long long count, const std::string& singular, const std::string& plural) {
  return std::to_string(count) + " " + (count > 1 ? plural : singular);
}

std::string Quoted(const std::string& cp1252) { return "\xAB " + cp1252 + " \xBB"; }

std::string QuotedUtf8(const std::string& utf8) { return "\xC2\xAB " + utf8 + " \xC2\xBB"; }
