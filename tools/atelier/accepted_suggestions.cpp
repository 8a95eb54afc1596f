#include "accepted_suggestions.h"

#include <cctype>

#include "quiz_rules.h"
#include "verdict.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\xA0'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Words split at blanks.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + ' ') {
    if (!IsBlank(c)) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

// A capital of Windows-1252, plain or accented.
bool IsCapital(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) || byte == 0x8C;
}

// The text without a leading article: "La Chine", "L'Égypte", "Les Alpes".
std::string WithoutArticle(const std::string& text) {
  static const char* const Articles[] = {"le ", "la ", "les ", "un ", "une ", "des ", "du ", "l'", "l\x92"};
  for (const char* article : Articles) {
    const std::string prefix = article;
    if (text.size() <= prefix.size()) continue;
    bool same = true;
    for (size_t k = 0; k < prefix.size() && same; ++k) {
      same = std::tolower(static_cast<unsigned char>(text[k])) == static_cast<unsigned char>(prefix[k]);
    }
    if (same) return Trimmed(text.substr(prefix.size()));
  }
  return "";
}

std::string WithoutQuotes(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '\xAB' && c != '\xBB' && c != '"' && c != '\x93' && c != '\x94') out += c;
  }
  return Trimmed(out);
}

// The surname of a person's name of two or three capitalised words.
std::string Surname(const std::string& text) {
  const std::vector<std::string> words = Words(text);
  if (words.size() < 2 || words.size() > 3 || !WithoutArticle(text).empty()) return "";
  for (const std::string& word : words) {
    if (!IsCapital(word[0])) return "";
    for (char c : word) {
      if (IsDigit(c)) return "";
    }
  }
  return words.back();
}

// "2 438 mètres": its number with the groups joined and apart, without the unit.
void NumberSpellings(const std::string& text, std::vector<std::string>& out) {
  const std::vector<std::string> words = Words(text);
  size_t groups = 0;
  while (groups < words.size() && IsDigit(words[groups][0]) &&
         words[groups].find_first_not_of("0123456789") == std::string::npos && (groups == 0 || words[groups].size() == 3)) {
    ++groups;
  }
  if (groups == 0) return;
  std::string joined, apart;
  for (size_t k = 0; k < groups; ++k) {
    joined += words[k];
    apart += (k > 0 ? " " : "") + words[k];
  }
  if (groups == 1 && joined.size() > 4) {  // "12500": also "12 500"; a year stays as it is
    apart.clear();
    const size_t head = joined.size() % 3 == 0 ? 3 : joined.size() % 3;
    apart = joined.substr(0, head);
    for (size_t k = head; k < joined.size(); k += 3) apart += " " + joined.substr(k, 3);
  }
  std::string unit;
  for (size_t k = groups; k < words.size(); ++k) unit += " " + words[k];
  if (!unit.empty()) {
    out.push_back(joined + unit);
    out.push_back(apart + unit);
  }
  out.push_back(joined);
  out.push_back(apart);
}

// An accented capital (or Œ) as its lower-case letter, and as the plain capital.
const struct {
  char capital;
  char lower;
  const char* plain;
} AccentedCapitals[] = {
    {'\xC0', '\xE0', "A"}, {'\xC2', '\xE2', "A"}, {'\xC4', '\xE4', "A"}, {'\xC7', '\xE7', "C"}, {'\xC8', '\xE8', "E"},
    {'\xC9', '\xE9', "E"}, {'\xCA', '\xEA', "E"}, {'\xCB', '\xEB', "E"}, {'\xCE', '\xEE', "I"}, {'\xCF', '\xEF', "I"},
    {'\xD4', '\xF4', "O"}, {'\xD6', '\xF6', "O"}, {'\xD9', '\xF9', "U"}, {'\xDB', '\xFB', "U"}, {'\xDC', '\xFC', "U"},
    {'\x8C', '\x9C', "OE"},
};

void AccentSpellings(const std::string& text, std::vector<std::string>& out) {
  std::string lower, plain;
  bool any = false;
  for (char c : text) {
    bool found = false;
    for (const auto& accented : AccentedCapitals) {
      if (c != accented.capital) continue;
      lower += accented.lower;
      plain += accented.plain;
      found = any = true;
    }
    if (!found) {
      lower += c;
      plain += c;
    }
  }
  if (!any) return;
  out.push_back(lower);
  out.push_back(plain);
}

// Whether the player already takes candidate for one of these answers.
bool AlreadyTaken(const std::string& candidate, const std::string& expected, const std::vector<std::string>& accepted) {
  if (ChooseVerdict(expected.c_str(), candidate.c_str()) == VerdictBravo) return true;
  for (const std::string& answer : accepted) {
    if (ChooseVerdict(answer.c_str(), candidate.c_str()) == VerdictBravo) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> SuggestAcceptedAnswers(const std::string& expected, const std::vector<std::string>& accepted) {
  std::vector<std::string> candidates;
  const std::string typeable = TypeableSpelling(Trimmed(expected));
  const std::string unquoted = WithoutQuotes(typeable);
  const std::string bare = WithoutArticle(unquoted);
  candidates.push_back(bare);
  candidates.push_back(WithoutArticle(WithoutQuotes(Trimmed(expected))));  // "cœur" beside "coeur"
  candidates.push_back(unquoted);
  candidates.push_back(Surname(unquoted));
  NumberSpellings(unquoted, candidates);
  candidates.push_back(typeable);
  AccentSpellings(bare.empty() ? unquoted : bare, candidates);

  std::vector<std::string> suggestions;
  for (const std::string& candidate : candidates) {
    if (suggestions.size() == MaxAcceptedSuggestions) break;
    if (candidate.empty() || candidate.size() > static_cast<size_t>(MaxTextLength)) continue;
    if (AlreadyTaken(candidate, expected, accepted) || AlreadyTaken(candidate, expected, suggestions)) continue;
    suggestions.push_back(candidate);
  }
  return suggestions;
}
