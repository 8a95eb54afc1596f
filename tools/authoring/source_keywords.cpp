#include "source_keywords.h"

#include "cp1252.h"
#include "french_text.h"

namespace {

// In the order of SourceKey, which is the order of a source. Spelled in
// UTF-8, the encoding of a source, whatever the compiler makes of literals.
const SourceKeyword Keywords[SourceKeyCount] = {
    {SourceKey::Title, "titre", {}, false, KeyKind::Text},
    {SourceKey::Author, "auteur", {}, false, KeyKind::Text},
    {SourceKey::Explanation, "explication", {}, false, KeyKind::Text},
    {SourceKey::ExtraText1, "texte4", {"texte 4"}, false, KeyKind::Text},
    {SourceKey::ExtraText2, "texte5", {"texte 5"}, false, KeyKind::Text},
    {SourceKey::Visibility, "questions visibles", {}, false, KeyKind::Setting},
    {SourceKey::AnswersPerQuestion, u8"réponses par question", {}, false, KeyKind::Setting},
    {SourceKey::RevealMode, u8"mode révélation", {}, false, KeyKind::Setting},
    {SourceKey::Colour, "couleur", {}, false, KeyKind::Setting},
    {SourceKey::Question, "question", {}, true, KeyKind::Text},
    {SourceKey::Answer1, u8"réponse", {"reponse1", "reponse 1"}, true, KeyKind::Text},
    {SourceKey::Answer2, u8"réponse2", {"reponse 2"}, true, KeyKind::Text},
    {SourceKey::Reveal1, u8"révélation", {"revelation1", "revelation 1"}, true, KeyKind::Text},
    {SourceKey::Reveal2, u8"révélation2", {"revelation 2"}, true, KeyKind::Text},
    {SourceKey::Code, "code", {}, true, KeyKind::Code},
    {SourceKey::Accepted1, "aussi", {}, true, KeyKind::Text},
    {SourceKey::Accepted2, "aussi", {}, true, KeyKind::Text},
};

// The text fields and their keys, in the order of QuizField.
const SourceKey KeyOfFieldTable[QuizFieldCount] = {
    SourceKey::Title,      SourceKey::Author,   SourceKey::Explanation, SourceKey::ExtraText1,
    SourceKey::ExtraText2, SourceKey::Question, SourceKey::Answer1,     SourceKey::Answer2,
    SourceKey::Reveal1,    SourceKey::Reveal2,  SourceKey::Code,        SourceKey::Accepted1,
    SourceKey::Accepted2,
};

// The French letters a keyword may carry, and their plain forms.
uint32_t WithoutAccent(uint32_t c) {
  switch (c) {
    case 0xE9:
    case 0xE8:
    case 0xEA:
    case 0xEB:
    case 0xC9:
    case 0xC8:
    case 0xCA:
    case 0xCB: return 'e';
    case 0xE0:
    case 0xE2:
    case 0xC0:
    case 0xC2: return 'a';
    case 0xEE:
    case 0xEF:
    case 0xCE:
    case 0xCF: return 'i';
    case 0xF4:
    case 0xD4: return 'o';
    case 0xF9:
    case 0xFB:
    case 0xFC:
    case 0xD9:
    case 0xDB:
    case 0xDC: return 'u';
    case 0xE7:
    case 0xC7: return 'c';
    default: return c;
  }
}

}  // namespace

const SourceKeyword& KeywordOf(SourceKey key) { return Keywords[static_cast<int>(key)]; }

std::string NormalizeKeyword(const std::string& key) {
  std::string out;
  size_t position = 0;
  while (position < key.size()) {
    uint32_t c;
    if (!DecodeUtf8(key, position, c)) return "";
    if (c == ' ' || c == '\t') {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    c = WithoutAccent(c);
    if (c >= 0x80) return "";
    out += static_cast<char>(c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

const SourceKeyword* FindKeyword(const std::string& writtenUtf8) {
  const std::string name = NormalizeKeyword(writtenUtf8);
  if (name.empty()) return nullptr;
  for (const SourceKeyword& keyword : Keywords) {
    if (name == NormalizeKeyword(keyword.spelling)) return &keyword;
    for (const char* alternate : keyword.alternates) {
      if (alternate != nullptr && name == alternate) return &keyword;
    }
  }
  return nullptr;
}

SourceKey KeyOfField(QuizField field) { return KeyOfFieldTable[static_cast<int>(field)]; }

QuizField FieldOfKey(SourceKey key) {
  int field = 0;
  for (SourceKey textKey : KeyOfFieldTable) {
    if (textKey == key) return static_cast<QuizField>(field);
    ++field;
  }
  return QuizField::Question;
}

std::string KeywordText(SourceKey key) { return Cp1252FromUtf8Lossy(KeywordOf(key).spelling); }

std::string FieldKeyword(QuizField field) { return KeywordText(KeyOfField(field)); }

std::string QuotedKeyword(SourceKey key) { return Quoted(KeywordText(key) + ":"); }

std::string QuotedField(QuizField field) { return QuotedKeyword(KeyOfField(field)); }

std::string KnownKeywords() {
  std::string list;
  for (const SourceKeyword& keyword : Keywords) {
    if (keyword.key == SourceKey::Accepted2) continue;  // spelled as Accepted1
    list += (list.empty() ? "" : ", ") + KeywordText(keyword.key);
  }
  return list;
}
