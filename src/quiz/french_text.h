// How every program of Ludex writes a count and a quotation in French: the
// player's page, ludex-pack and the Atelier alike.
#pragma once
#include <string>

// A count and its noun, by the French rule: the plural from two on
// ("0 question", "1 question", "3 questions").
std::string Counted(long long count, const std::string& singular, const std::string& plural);

// « text », in Windows-1252, the encoding of the quiz and of the core's messages.
std::string Quoted(const std::string& cp1252);
// « text », in UTF-8, the editor's sentences.
std::string QuotedUtf8(const std::string& utf8);
