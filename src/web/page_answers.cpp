// The page player's answers as they come and go: a file offered by the
// pupil, checked, asked about, taken and undone; the browser's storage,
// shared field by field by every tab of the page.
#include <algorithm>

#include "answers_file.h"
#include "page_player.h"

namespace {

std::string Cut(const std::string& text, size_t limit) { return text.substr(0, std::min(text.size(), limit)); }

bool IsTextByte(uint8_t byte) { return (byte >= 0x20 && byte != 0x7F) || byte == '\t'; }

// Splits an offered file into its first answerLines lines (a line ends at
// CR LF, LF or CR) and finds its first fault, whose line facts receives.
AnswersFileRefusal SplitOffered(const uint8_t* bytes, size_t size, long long lackingAt, AnswersOfferFacts& facts,
                                std::vector<std::string>& lines) {
  if (size == 0) return AnswersFileRefusal::Empty;
  if (size > MaxAnswersFileSize) return AnswersFileRefusal::TooLarge;
  size_t k = 0;
  for (long long line = 1; k < size; ++line) {
    const size_t start = k;
    while (k < size && bytes[k] != '\r' && bytes[k] != '\n') ++k;
    const size_t end = k;
    if (k < size && bytes[k] == '\r') ++k;
    if (k < size && bytes[k] == '\n' && (k == end || bytes[k - 1] == '\r')) ++k;
    facts.line = line;
    facts.lineLength = static_cast<long long>(end - start);
    if (!std::all_of(bytes + start, bytes + end, IsTextByte)) return AnswersFileRefusal::NotText;
    if (lackingAt >= static_cast<long long>(start) && lackingAt < static_cast<long long>(end)) {
      return AnswersFileRefusal::LacksCharacter;
    }
    if (end - start > MaxTextLength) return AnswersFileRefusal::LineTooLong;
    if (end > start && line > facts.answerLines) return AnswersFileRefusal::TooManyAnswers;
    if (line <= facts.answerLines) lines.emplace_back(bytes + start, bytes + end);
  }
  return AnswersFileRefusal::None;
}

}  // namespace

std::vector<std::string> SavedAnswerLines(const uint8_t* bytes, size_t size, int count) {
  std::vector<std::string> lines;
  size_t position = 0;
  for (int k = 0; k < count; ++k) {
    char line[SavedLineSize];
    ReadSavedLine(bytes, size, position, line);
    lines.push_back(Cut(line, MaxTextLength));
  }
  return lines;
}

const AnswersOfferFacts& PagePlayer::offer(const std::string& name, const uint8_t* bytes, size_t size,
                                           long long lackingAt) {
  offered_ = {name, AnswersFileRefusal::None, 0, 0, answerLineCount(), 0};
  offeredFile_.clear();
  std::vector<std::string> lines;
  offered_.refusal = SplitOffered(bytes, size, lackingAt, offered_, lines);
  if (offered_.refusal != AnswersFileRefusal::None) return offered_;
  lines.resize(static_cast<size_t>(answerLineCount()));
  for (size_t k = 0; k < lines.size(); ++k) {
    offeredFile_ += lines[k] + "\r\n";
    const int field = IDC_ANSWER_BASE + static_cast<int>(k) + 1;
    if (static_cast<int>(k) < fieldCount() && Cut(text(field), MaxTextLength) != lines[k]) ++offered_.changes;
  }
  return offered_;
}

bool PagePlayer::resumeOffer() {
  if (offeredFile_.empty() || offered_.changes == 0) return false;
  beforeResume_ = answersFile();
  restoreAnswers(reinterpret_cast<const uint8_t*>(offeredFile_.data()), offeredFile_.size());
  offeredFile_.clear();
  return true;
}

bool PagePlayer::undoResume() {
  if (beforeResume_.empty()) return false;
  restoreAnswers(reinterpret_cast<const uint8_t*>(beforeResume_.data()), beforeResume_.size());
  beforeResume_.clear();
  return true;
}

std::string PagePlayer::mergeForStore(const uint8_t* kept, size_t size) {
  // A field another tab changed meanwhile keeps its line here, until the
  // storage event brings it to this page.
  std::vector<std::string> lines = SavedAnswerLines(kept, size, fieldCount());
  for (int k = 0; k < fieldCount(); ++k) {
    const std::string mine = Cut(text(IDC_ANSWER_BASE + k + 1), MaxTextLength);
    if (mine != kept_[k]) lines[k] = kept_[k] = mine;
  }
  std::string file;
  for (long long k = 0; k < answerLineCount(); ++k) file += (k < fieldCount() ? lines[k] : "") + "\r\n";
  return file;
}

void PagePlayer::takeKept(const uint8_t* kept, size_t size) {
  const std::vector<std::string> lines = SavedAnswerLines(kept, size, fieldCount());
  for (int k = 0; k < fieldCount(); ++k) {
    const int field = IDC_ANSWER_BASE + k + 1;
    if (lines[k] != kept_[k] && Cut(text(field), MaxTextLength) == kept_[k]) {
      setField(field, lines[k]);
      judge(field);
    }
    kept_[k] = lines[k];
  }
}
