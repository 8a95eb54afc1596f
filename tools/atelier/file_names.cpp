#include "file_names.h"

#include <algorithm>
#include <cstring>

#include "cp1252.h"  // IsValidUtf8

namespace {

const size_t MaxStemLength = 60;
const size_t MaxPathBytes = 32767 * 3;  // the longest Windows path, in UTF-8

// What Windows refuses in a name, and marks that other systems, archives or
// a browser's download would turn or refuse: guillemets and curly quotes
// (Windows-1252 « » ‹ › “ ” „), '#', '%'.
bool IsSeparatorByte(unsigned char c) {
  return c < 0x20 || c == ' ' || c == 0xA0 || std::strchr("<>:\"/\\|?*#%", c) != nullptr ||
         std::strchr("\xAB\xBB\x8B\x9B\x93\x94\x84", c) != nullptr;
}

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool IsDeviceName(const std::string& stem) {
  const std::string upper = AsciiUpper(stem);
  for (const char* name : {"CON", "PRN", "AUX", "NUL"}) {
    if (upper == name) return true;
  }
  return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) && upper[3] >= '1' &&
         upper[3] <= '9';
}

std::string Trimmed(const std::string& stem) {
  const size_t first = stem.find_first_not_of("-.");
  if (first == std::string::npos) return "";
  return stem.substr(first, stem.find_last_not_of("-.") - first + 1);
}

}  // namespace

std::string QuizFileStem(const std::string& title) {
  std::string stem;
  for (unsigned char c : title) {
    if (!IsSeparatorByte(c)) {
      stem += static_cast<char>(c);
    } else if (!stem.empty() && stem.back() != '-') {
      stem += '-';
    }
    if (stem.size() > MaxStemLength) break;
  }
  stem = Trimmed(stem.substr(0, MaxStemLength));
  if (stem.empty()) return "quiz";
  return IsDeviceName(stem) ? "quiz-" + stem : stem;
}

std::vector<std::string> ReadRecentFiles(const std::string& text) {
  std::vector<std::string> paths;
  size_t start = 0;
  while (start < text.size() && static_cast<int>(paths.size()) < MaxRecentFiles) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, std::min(end - start, MaxPathBytes + 1));
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#' || line.size() > MaxPathBytes || !IsValidUtf8(line)) continue;
    const std::string key = AsciiUpper(line);
    if (std::none_of(paths.begin(), paths.end(), [&key](const std::string& p) { return AsciiUpper(p) == key; })) {
      paths.push_back(line);
    }
  }
  return paths;
}

std::string WriteRecentFiles(const std::vector<std::string>& paths) {
  std::string text = "# Ludex Atelier : derniers fichiers ouverts, un par ligne\r\n";
  for (const std::string& path : paths) text += path + "\r\n";
  return text;
}

void AddRecentFile(std::vector<std::string>& paths, const std::string& path) {
  const std::string key = AsciiUpper(path);
  paths.erase(std::remove_if(paths.begin(), paths.end(), [&key](const std::string& p) { return AsciiUpper(p) == key; }),
              paths.end());
  paths.insert(paths.begin(), path);
  if (static_cast<int>(paths.size()) > MaxRecentFiles) paths.resize(MaxRecentFiles);
}
