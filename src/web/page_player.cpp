#include "page_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "answer_fields.h"
#include "answers_file.h"
#include "judge.h"
#include "verdict.h"

namespace {

const std::string NoText;

// A field holds what the answers file can give it (271 bytes); every read
// of it, like a control read with a 260-byte limit, sees at most 259.
const size_t FieldCapacity = SavedLineSize - 1;

std::string Cut(const std::string& text, size_t limit) { return text.substr(0, std::min(text.size(), limit)); }

// FNV-1a over both resources: a changed quiz gets another name.
std::string ResourcesKey(const uint8_t* quiz, size_t quizSize, const uint8_t* codes, size_t codesSize) {
  uint64_t hash = 14695981039346656037ull;
  auto add = [&hash](const uint8_t* bytes, size_t size) {
    for (size_t k = 0; k < size; ++k) hash = (hash ^ bytes[k]) * 1099511628211ull;
  };
  add(quiz, quizSize);
  const uint8_t separator = codes != nullptr ? 1 : 0;
  add(&separator, 1);
  if (codes != nullptr) add(codes, codesSize);
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// The verdict's controls: the page player's texts.
class PageControls final : public VerdictControls {
 public:
  explicit PageControls(PagePlayer& player) : player_(player) {}
  void readPanelText(int id, char* text, int size) override {
    const std::string& stored = player_.text(id);
    const size_t length = std::min(std::strlen(stored.c_str()), static_cast<size_t>(size - 1));
    std::memcpy(text, stored.data(), length);
    text[length] = 0;
  }
  void writePanelText(int id, const char* text) override {
    player_.write(id, text);
    player_.noteJudged(id);
  }
  void writeHeaderText(int id, const char* text) override { player_.write(id, text); }
  bool readsBravo(int id) override { return player_.text(id) == VerdictBravo; }
  bool hasPanelControl(int id) override { return player_.isControl(id); }

 private:
  PagePlayer& player_;
};

}  // namespace

QuizLoadResult PagePlayer::load(const uint8_t* quiz, size_t quizSize, const uint8_t* codes, size_t codesSize) {
  quizKey_ = ResourcesKey(quiz, quizSize, codes, codesSize);
  const QuizLoad loaded = LoadQuizContent({true, quiz, quizSize}, {codes != nullptr, codes, codesSize}, quiz_);
  rows_ = quiz_.questionsHidden != 0 ? 0 : std::clamp<int>(quiz_.questionCount, 0, MaxQuestions);
  fields_.assign(fieldCount(), "");
  feedback_.assign(fieldCount(), VerdictEmpty);  // every label is made with "?"
  reveals_.assign(hasRevealLabels() ? rows_ : 0, "");
  score_ = " 0 / " + std::to_string(quiz_.questionCount);
  scoreCode_.clear();
  changes_.clear();
  kept_.assign(fieldCount(), "");
  reported_.assign(fieldCount(), {"", VerdictEmpty});
  judged_.assign(fieldCount(), 0);
  offered_ = {};
  offeredFile_.clear();
  beforeResume_.clear();
  browserAnswers_.clear();
  suspendedAnswers_.clear();
  suspended_ = {};
  return loaded.result;
}

size_t PagePlayer::fieldCapacity() { return FieldCapacity; }

int PagePlayer::fieldsPerRow() const { return FieldsPerQuestion(quiz_.answersPerQuestion); }

bool PagePlayer::hasRevealLabels() const { return HasRevealTexts(quiz_.revealMode); }

std::string* PagePlayer::slot(int id) {
  const int count = fieldCount();
  if (id == IDC_SCORE) return &score_;
  if (id == IDC_SCORE_CODE) return &scoreCode_;
  if (id > IDC_ANSWER_BASE && id <= IDC_ANSWER_BASE + count) return &fields_[id - IDC_ANSWER_BASE - 1];
  if (id > IDC_FEEDBACK_BASE && id <= IDC_FEEDBACK_BASE + count) return &feedback_[id - IDC_FEEDBACK_BASE - 1];
  const int reveals = static_cast<int>(reveals_.size());
  if (id > IDC_REVEAL_BASE && id <= IDC_REVEAL_BASE + reveals) return &reveals_[id - IDC_REVEAL_BASE - 1];
  return nullptr;
}

const std::string& PagePlayer::text(int id) const {
  const std::string* found = const_cast<PagePlayer*>(this)->slot(id);
  return found != nullptr ? *found : NoText;
}

bool PagePlayer::isControl(int id) const { return const_cast<PagePlayer*>(this)->slot(id) != nullptr; }

void PagePlayer::write(int id, const char* text) {
  std::string* stored = slot(id);
  if (stored == nullptr || *stored == text) return;
  *stored = text;
  changes_.push_back(id);
}

bool PagePlayer::isField(int id) const { return id > IDC_ANSWER_BASE && id <= IDC_ANSWER_BASE + fieldCount(); }

void PagePlayer::setField(int fieldId, const std::string& text) {
  if (!isField(fieldId)) return;
  // A text ends at its first zero byte, as in an edit control.
  write(fieldId, Cut(text.c_str(), FieldCapacity).c_str());
}

void PagePlayer::judge(int fieldId) {
  if (!isField(fieldId)) return;
  PageControls controls(*this);
  JudgeAnswerField(quiz_, controls, fieldId);
}

void PagePlayer::fillUnsolved(int fieldId) {
  if (!isField(fieldId)) return;
  PageControls controls(*this);
  FillUnsolved(quiz_, controls, fieldId);
}

void PagePlayer::restoreAnswers(const uint8_t* bytes, size_t size) {
  PageControls controls(*this);
  RestoreAnswers(quiz_, controls, rows_, bytes, size);
}

void PagePlayer::restore(const uint8_t* bytes, size_t size) {
  restoreAnswers(bytes, size);
  kept_.clear();
  reported_.clear();
  for (int k = 1; k <= fieldCount(); ++k) {
    kept_.push_back(Cut(text(IDC_ANSWER_BASE + k), MaxTextLength));
    reported_.emplace_back(kept_.back(), text(IDC_FEEDBACK_BASE + k));
  }
  judged_.assign(fieldCount(), 0);
}

long long PagePlayer::answerLineCount() const {
  return std::max(0LL, static_cast<long long>(quiz_.questionCount) * quiz_.answersPerQuestion);
}

std::string PagePlayer::answersFile() const {
  std::string file;
  for (long long k = 1; k <= answerLineCount(); ++k) {
    if (k <= fieldCount()) file += Cut(text(IDC_ANSWER_BASE + static_cast<int>(k)), MaxTextLength);
    file += "\r\n";
  }
  return file;
}

std::string PagePlayer::verdictAnnouncement(int fieldId, bool always) const {
  const auto changed = [this](int id) { return std::find(changes_.begin(), changes_.end(), id) != changes_.end(); };
  const int label = FeedbackLabelId(fieldId);
  VerdictNews news = {PlaceOfAnswerField(fieldId, quiz_.answersPerQuestion).questionIndex + 1, nullptr, nullptr,
                      scoreCode_.c_str(), nullptr, 0};
  if (always || changed(label)) news.word = text(label).c_str();
  if (changed(IDC_SCORE)) news.score = score_.c_str();
  for (int q = 0; q < static_cast<int>(reveals_.size()); ++q) {
    if (!changed(RevealLabelId(q)) || reveals_[q].empty()) continue;
    news.reveal = reveals_[q].c_str();
    ++news.revealsShown;
  }
  return news.word != nullptr || news.score != nullptr || news.revealsShown > 0 ? VerdictAnnouncement(news) : "";
}

std::string PagePlayer::fillAnnouncement(int fieldId) const {
  return FillAnnouncement(Cut(text(fieldId), MaxTextLength), score_.c_str(), scoreCode_.c_str());
}
