#include "suspend_data.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "codec.h"

namespace {

const char Prefix[] = "ludex1.";
const size_t PrefixLength = sizeof Prefix - 1;
const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

uint32_t Check(const std::string& bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 16777619u;
  return hash;
}

std::string Base64Url(const std::string& bytes) {
  std::string out;
  for (size_t k = 0; k < bytes.size(); k += 3) {
    const size_t taken = std::min<size_t>(3, bytes.size() - k);
    uint32_t group = uint32_t{static_cast<uint8_t>(bytes[k])} << 16;
    if (taken > 1) group |= uint32_t{static_cast<uint8_t>(bytes[k + 1])} << 8;
    if (taken > 2) group |= static_cast<uint8_t>(bytes[k + 2]);
    for (size_t digit = 0; digit <= taken; ++digit) out += Alphabet[(group >> (18 - 6 * digit)) & 63];
  }
  return out;
}

bool FromBase64Url(const char* text, size_t length, std::string& bytes) {
  if (length % 4 == 1) return false;
  uint32_t group = 0;
  for (size_t k = 0; k < length; ++k) {
    const char* found = text[k] != '\0' ? std::strchr(Alphabet, text[k]) : nullptr;
    if (found == nullptr) return false;
    group = group << 6 | static_cast<uint32_t>(found - Alphabet);
    const size_t digits = k % 4 + 1;
    if (digits == 4 || k + 1 == length) {
      const uint32_t aligned = group << (6 * (4 - digits));
      for (size_t byte = 0; byte + 1 < digits; ++byte) bytes += static_cast<char>(aligned >> (16 - 8 * byte));
      group = 0;
    }
  }
  return true;
}

// The answers joined by LF, without the empty ones at the end.
std::string Joined(const std::vector<std::string>& answers, size_t count) {
  while (count > 0 && answers[count - 1].empty()) --count;
  std::string joined;
  for (size_t k = 0; k < count; ++k) joined += (k > 0 ? "\n" : "") + answers[k];
  return joined;
}

// The text for the first count answers; empty when it cannot be written
// (the codec takes at most CodecMaxInput bytes).
std::string Encoded(const std::vector<std::string>& answers, size_t count) {
  const std::string joined = Joined(answers, count);
  if (joined.size() > CodecMaxInput) return std::string();
  const uint32_t check = Check(joined);
  std::string bytes = {static_cast<char>(check), static_cast<char>(check >> 8), static_cast<char>(check >> 16),
                       static_cast<char>(check >> 24)};
  if (!joined.empty()) {
    uint8_t* stream = nullptr;
    uint32_t length = 0;
    const int result = CompressVerified(reinterpret_cast<const uint8_t*>(joined.data()),
                                        static_cast<uint32_t>(joined.size()), &stream, &length);
    if (result != CodecOk) return std::string();
    bytes.append(reinterpret_cast<const char*>(stream), length);
    std::free(stream);
  }
  return Prefix + Base64Url(bytes);
}

bool Fits(const std::string& text, size_t limit) { return !text.empty() && text.size() <= limit; }

}  // namespace

SuspendData EncodeSuspendData(const std::vector<std::string>& answers, size_t fieldsPerQuestion, size_t limit) {
  // Most quizzes fit whole: one try when the answers are short enough to
  // (compressing takes longer the longer the text, and happens at each verdict).
  if (Joined(answers, answers.size()).size() <= 3 * limit) {
    SuspendData whole = {Encoded(answers, answers.size()), answers.size()};
    if (Fits(whole.text, limit)) return whole;
  }
  // Whole questions from the first: doubling while they fit, then halving
  // between the most that fitted and the fewest that did not.
  const size_t unit = std::max<size_t>(1, fieldsPerQuestion);
  const size_t questions = (answers.size() + unit - 1) / unit;
  const auto encoded = [&](size_t count) { return Encoded(answers, std::min(answers.size(), count * unit)); };
  std::string kept = encoded(0);
  size_t fitting = 0, failing = questions + 1;
  for (size_t count = 1; fitting < questions && failing > questions; count = std::min(2 * count, questions)) {
    std::string text = encoded(count);
    if (!Fits(text, limit)) {
      failing = count;
    } else {
      fitting = count;
      kept.swap(text);
    }
  }
  while (failing <= questions && failing - fitting > 1) {
    const size_t middle = (fitting + failing) / 2;
    std::string text = encoded(middle);
    if (Fits(text, limit)) {
      fitting = middle;
      kept.swap(text);
    } else {
      failing = middle;
    }
  }
  return {Fits(kept, limit) ? kept : std::string(), std::min(answers.size(), fitting * unit)};
}

bool DecodeSuspendData(const std::string& text, std::vector<std::string>& answers) {
  answers.clear();
  std::string bytes;
  if (text.size() > SuspendDataLimit || text.compare(0, PrefixLength, Prefix) != 0 ||
      !FromBase64Url(text.data() + PrefixLength, text.size() - PrefixLength, bytes) || bytes.size() < 4) {
    return false;
  }
  std::string joined;
  if (bytes.size() > 4) {
    uint8_t* decoded = nullptr;
    uint32_t length = 0;
    const int result = Decompress(reinterpret_cast<const uint8_t*>(bytes.data()) + 4,
                                  static_cast<uint32_t>(bytes.size() - 4), &decoded, &length);
    // The stream must end where the text does: nothing may follow it.
    const bool whole = result == CodecOk && CodecInputTaken() == bytes.size() - 4;
    if (whole) joined.assign(reinterpret_cast<const char*>(decoded), length);
    std::free(decoded);
    if (!whole || joined.empty()) return false;
  }
  const uint32_t check = uint32_t{static_cast<uint8_t>(bytes[0])} | uint32_t{static_cast<uint8_t>(bytes[1])} << 8 |
                         uint32_t{static_cast<uint8_t>(bytes[2])} << 16 |
                         uint32_t{static_cast<uint8_t>(bytes[3])} << 24;
  if (check != Check(joined) || joined.find_first_of(std::string("\r\0", 2)) != std::string::npos ||
      std::count(joined.begin(), joined.end(), '\n') >= static_cast<long>(MaxSuspendedAnswers)) {
    return false;
  }
  for (size_t start = 0; !joined.empty();) {
    const size_t end = std::min(joined.find('\n', start), joined.size());
    answers.push_back(joined.substr(start, end - start));
    if (end == joined.size()) break;
    start = end + 1;
  }
  return true;
}
