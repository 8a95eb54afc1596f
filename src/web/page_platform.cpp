// The page player with a school's platform: the answers restored from the
// platform's text and this browser's storage, and what the platform hears
// after each verdict.
#include <algorithm>
#include <cstdio>

#include "page_player.h"
#include "verdict.h"

namespace {

const size_t MaxResponse = 255;  // characters a strict platform keeps of an answer

std::string Cut(const std::string& text, size_t limit) { return text.substr(0, std::min(text.size(), limit)); }

}  // namespace

std::string PlatformInteractionId(int fieldIndex, int fieldsPerQuestion) {
  const int question = fieldIndex / std::max(1, fieldsPerQuestion) + 1;
  char id[16];
  if (fieldsPerQuestion == 2) {
    std::snprintf(id, sizeof id, "q%03d-%d", question, fieldIndex % 2 + 1);
  } else {
    std::snprintf(id, sizeof id, "q%03d", question);
  }
  return id;
}

std::string PlatformScore(int found, int questions) {
  if (questions <= 0 || found <= 0) return "0";
  const long long hundredths = (100LL * 100 * std::min(found, questions) + questions / 2) / questions;
  char score[16];
  if (hundredths % 100 == 0) {
    std::snprintf(score, sizeof score, "%lld", hundredths / 100);
  } else if (hundredths % 10 == 0) {
    std::snprintf(score, sizeof score, "%lld.%lld", hundredths / 100, hundredths % 100 / 10);
  } else {
    std::snprintf(score, sizeof score, "%lld.%02lld", hundredths / 100, hundredths % 100);
  }
  return score;
}

std::string PlatformTimespan(long long seconds) {
  const long long kept = std::clamp(seconds, 0LL, 9999LL * 3600 + 59 * 60 + 59);
  char time[16];
  std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", kept / 3600, kept / 60 % 60, kept % 60);
  return time;
}

int PagePlayer::restoreWithPlatform(const std::string& suspendData, const uint8_t* kept, size_t size) {
  browserAnswers_.clear();
  std::vector<std::string> platform;
  if (!DecodeSuspendData(suspendData, platform)) {
    restore(kept, size);
    return -1;
  }
  const std::vector<std::string> browser = SavedAnswerLines(kept, size, fieldCount());
  platform.resize(static_cast<size_t>(fieldCount()));
  std::string taken, offered;
  std::vector<char> differs;
  for (size_t k = 0; k < browser.size(); ++k) {
    const std::string mine = Cut(platform[k], MaxTextLength);
    differs.push_back(!mine.empty() && !browser[k].empty() && mine != browser[k]);
    taken += (mine.empty() ? browser[k] : mine) + "\r\n";
    offered += (differs.back() || mine.empty() ? browser[k] : mine) + "\r\n";
  }
  restore(reinterpret_cast<const uint8_t*>(taken.data()), taken.size());
  // What the browser keeps now, but for its own differing answers, the next
  // store writes: it keeps the platform's answers from now on.
  for (size_t k = 0; k < browser.size(); ++k) {
    if (!differs[k]) kept_[k] = browser[k];
  }
  const int offers = static_cast<int>(std::count(differs.begin(), differs.end(), 1));
  if (offers > 0) browserAnswers_ = offered;
  return offers;
}

bool PagePlayer::offerBrowserAnswers() {
  if (browserAnswers_.empty()) return false;
  offered_ = {"", AnswersFileRefusal::None, 0, 0, answerLineCount(), 0, true};
  offeredFile_.swap(browserAnswers_);
  browserAnswers_.clear();
  const std::vector<std::string> lines =
      SavedAnswerLines(reinterpret_cast<const uint8_t*>(offeredFile_.data()), offeredFile_.size(), fieldCount());
  for (int k = 0; k < fieldCount(); ++k) {
    if (Cut(text(IDC_ANSWER_BASE + k + 1), MaxTextLength) != lines[k]) ++offered_.changes;
  }
  for (long long k = fieldCount(); k < answerLineCount(); ++k) offeredFile_ += "\r\n";
  return true;  // the browser's answers differ from the fields: restoreWithPlatform() kept them for that
}

std::string PagePlayer::keepAll() {
  for (int k = 0; k < fieldCount(); ++k) kept_[k] = Cut(text(IDC_ANSWER_BASE + k + 1), MaxTextLength);
  return answersFile();
}

SuspendData PagePlayer::suspendData() const {
  std::vector<std::string> answers;
  for (int k = 1; k <= fieldCount(); ++k) answers.push_back(Cut(text(IDC_ANSWER_BASE + k), MaxTextLength));
  if (answers != suspendedAnswers_ || suspended_.text.empty()) {
    suspended_ = EncodeSuspendData(answers, static_cast<size_t>(fieldsPerRow()));
    suspendedAnswers_.swap(answers);
  }
  return suspended_;
}

void PagePlayer::noteJudged(int feedbackLabelId) {
  const int k = feedbackLabelId - IDC_FEEDBACK_BASE - 1;
  if (k >= 0 && k < static_cast<int>(judged_.size())) judged_[k] = 1;
}

std::vector<PlatformInteraction> PagePlayer::takeInteractions() {
  std::vector<PlatformInteraction> taken;
  for (int k = 0; k < static_cast<int>(judged_.size()); ++k) {
    if (!judged_[k]) continue;
    judged_[k] = 0;
    std::pair<std::string, std::string> now(Cut(text(IDC_ANSWER_BASE + k + 1), MaxTextLength),
                                            text(IDC_FEEDBACK_BASE + k + 1));
    if (now == reported_[k]) continue;
    reported_[k] = now;
    if (now.second == VerdictEmpty) continue;
    taken.push_back({PlatformInteractionId(k, fieldsPerRow()), Cut(now.first, MaxResponse), now.second == VerdictBravo});
  }
  return taken;
}

int PagePlayer::questionsFound() const {
  const int perRow = fieldsPerRow();
  int found = 0;
  for (int row = 0; row < rows_; ++row) {
    bool all = true;
    for (int slot = 0; slot < perRow; ++slot) all = all && feedback_[row * perRow + slot] == VerdictBravo;
    found += all ? 1 : 0;
  }
  return found;
}

bool PagePlayer::everyFieldJudged() const {
  return fieldCount() > 0 && std::none_of(feedback_.begin(), feedback_.end(),
                                          [](const std::string& word) { return word == VerdictEmpty; });
}
