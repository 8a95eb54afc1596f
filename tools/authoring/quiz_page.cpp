#include "quiz_page.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cp1252.h"

const char PageTitleMarker[] = "{{ludex:title}}";
const char PageNameMarker[] = "{{ludex:name}}";
const char PageQuizMarker[] = "{{ludex:quiz}}";
const char PageCodesMarker[] = "{{ludex:codes}}";

namespace {

struct Filling {
  size_t at;
  std::string marker;
  std::string text;
};

}  // namespace

std::string Base64(const Bytes& bytes) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t k = 0; k < bytes.size(); k += 3) {
    const size_t taken = std::min<size_t>(3, bytes.size() - k);
    uint32_t group = uint32_t{bytes[k]} << 16;
    if (taken > 1) group |= uint32_t{bytes[k + 1]} << 8;
    if (taken > 2) group |= bytes[k + 2];
    for (size_t digit = 0; digit < 4; ++digit) {
      out += digit <= taken ? alphabet[(group >> (18 - 6 * digit)) & 63] : '=';
    }
  }
  return out;
}

// The forgiving decoder of browsers (atob): blanks anywhere are skipped,
// the padding may be left out.
bool FromBase64(const std::string& text, Bytes& bytes) {
  bytes.clear();
  uint32_t group = 0;
  int digits = 0;
  size_t padding = 0;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') continue;
    if (c == '=' && ++padding <= 2) continue;
    const char* const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* found = c != '\0' && padding == 0 ? std::strchr(alphabet, c) : nullptr;
    if (found == nullptr) return false;
    group = group << 6 | static_cast<uint32_t>(found - alphabet);
    if (++digits == 4) {
      bytes.insert(bytes.end(), {uint8_t(group >> 16), uint8_t(group >> 8), uint8_t(group)});
      group = 0;
      digits = 0;
    }
  }
  if (digits == 1 || (padding > 0 && (digits + padding) % 4 != 0)) return false;
  if (digits >= 2) bytes.push_back(uint8_t(group >> (digits == 2 ? 4 : 10)));
  if (digits == 3) bytes.push_back(uint8_t(group >> 2));
  return true;
}

bool ReadQuizPage(const std::string& page, QuizPayloads& streams) {
  streams = QuizPayloads();
  const auto resource = [&page](const char* id, Bytes& bytes) {
    const std::string opening = std::string("id=\"") + id + "\">";
    const size_t start = page.find(opening);
    if (start == std::string::npos) return false;
    const size_t from = start + opening.size(), end = page.find("</script>", from);
    if (!FromBase64(page.substr(from, end == std::string::npos ? std::string::npos : end - from), bytes)) {
      bytes = {0};  // a byte the codec refuses, as the page's script gives it
    }
    return true;
  };
  if (!resource("resource-104", streams.quiz)) return false;
  resource("resource-105", streams.codes);
  return true;
}

bool IsPageFile(const std::string& bytes) {
  size_t at = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  at = bytes.find_first_not_of(" \t\r\n", at);
  return at != std::string::npos && bytes[at] == '<';
}

std::string EscapeHtml(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::string PageFileStem(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

bool MakeQuizPage(const std::string& pageTemplate, const QuizPayloads& streams, const std::string& title,
                  const std::string& answersStem, std::string& page, std::string& error) {
  if (pageTemplate.empty()) {
    error =
        "ce programme a \xE9t\xE9 construit sans emscripten : il ne sait pas \xE9"
        "crire de page web";
    return false;
  }
  // A title's line break would show as nothing between two words.
  std::string oneLine = Utf8FromCp1252(title);
  std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
  std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
  std::vector<Filling> fillings = {{0, PageTitleMarker, EscapeHtml(oneLine)},
                                   {0, PageNameMarker, EscapeHtml(answersStem)},
                                   {0, PageQuizMarker, Base64(streams.quiz)},
                                   {0, PageCodesMarker, Base64(streams.codes)}};
  for (Filling& filling : fillings) {
    filling.at = pageTemplate.find(filling.marker);
    if (filling.at == std::string::npos || pageTemplate.find(filling.marker, filling.at + 1) != std::string::npos) {
      error = "le mod\xE8le de page de ce programme est ab\xEEm\xE9 (" + filling.marker + ") : reconstruisez-le";
      return false;
    }
  }
  // One pass in template order: a title that spells a marker stays a title.
  std::sort(fillings.begin(), fillings.end(), [](const Filling& a, const Filling& b) { return a.at < b.at; });
  page.clear();
  size_t copied = 0;
  for (const Filling& filling : fillings) {
    page.append(pageTemplate, copied, filling.at - copied);
    page += filling.text;
    copied = filling.at + filling.marker.size();
  }
  page.append(pageTemplate, copied, std::string::npos);
  return true;
}
