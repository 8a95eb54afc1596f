#include "accepted_answers.h"

#include <algorithm>
#include <cstring>

namespace {

const uint8_t Signature[4] = {'L', 'X', 'A', 'A'};
const uint8_t BlockVersion = 1;

uint32_t Checksum(const uint8_t* data, uint32_t length) {
  uint32_t hash = 2166136261u;
  for (uint32_t i = 0; i < length; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t GetLittleEndian(const uint8_t* data, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | data[i];
  return value;
}

// Reads the body's entries; false at the first thing out of bounds or order,
// or when the entries do not fill the body exactly.
struct BodyReader {
  const uint8_t* data;
  uint32_t length;
  uint32_t cursor = 0;

  bool take(int bytes, uint32_t& value) {
    if (length - cursor < static_cast<uint32_t>(bytes)) return false;
    value = GetLittleEndian(data + cursor, bytes);
    cursor += static_cast<uint32_t>(bytes);
    return true;
  }

  bool text(char (&destination)[TextSize]) {
    uint32_t size = 0;
    if (!take(2, size) || size == 0 || size > MaxTextLength || length - cursor < size) return false;
    if (std::memchr(data + cursor, 0, size) != nullptr) return false;
    std::memcpy(destination, data + cursor, size);
    destination[size] = 0;
    cursor += size;
    return true;
  }

  bool entry(int previousField, int fieldLimit, AcceptedAnswers& answers) {
    uint32_t field = 0;
    uint32_t count = 0;
    if (!take(2, field) || static_cast<int>(field) <= previousField || static_cast<int>(field) > fieldLimit) {
      return false;
    }
    if (!take(1, count) || count == 0 || count > MaxAcceptedAnswers) return false;
    answers.fieldNumber = static_cast<int>(field);
    answers.count = static_cast<int>(count);
    for (uint32_t k = 0; k < count; ++k) {
      if (!text(answers.texts[k])) return false;
    }
    return true;
  }
};

}  // namespace

void AppendAcceptedBlock(std::vector<uint8_t>& payload, const std::vector<AcceptedEntry>& entries) {
  std::vector<uint8_t> body;
  uint32_t count = 0;
  for (const AcceptedEntry& entry : entries) {
    if (entry.answers.empty() || count == MaxAcceptedEntries) continue;
    const size_t answers = std::min<size_t>(entry.answers.size(), MaxAcceptedAnswers);
    PutLittleEndian(body, static_cast<uint32_t>(entry.fieldNumber), 2);
    PutLittleEndian(body, static_cast<uint32_t>(answers), 1);
    for (size_t k = 0; k < answers; ++k) {
      const std::string& text = entry.answers[k];
      const size_t size = std::min<size_t>(text.size(), MaxTextLength);
      PutLittleEndian(body, static_cast<uint32_t>(size), 2);
      body.insert(body.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size));
    }
    ++count;
  }
  if (count == 0) return;
  payload.insert(payload.end(), Signature, Signature + sizeof Signature);
  payload.push_back(BlockVersion);
  PutLittleEndian(payload, count, 2);
  PutLittleEndian(payload, static_cast<uint32_t>(body.size()), 4);
  PutLittleEndian(payload, Checksum(body.data(), static_cast<uint32_t>(body.size())), 4);
  payload.insert(payload.end(), body.begin(), body.end());
}

uint32_t ReadAcceptedBlock(const uint8_t* data, uint32_t length, uint32_t cursor, int fieldLimit,
                           std::vector<AcceptedAnswers>& answers) {
  answers.clear();
  if (cursor > length || length - cursor < AcceptedBlockHeaderSize) return 0;
  const uint8_t* header = data + cursor;
  if (std::memcmp(header, Signature, sizeof Signature) != 0 || header[4] != BlockVersion) return 0;
  const uint32_t count = GetLittleEndian(header + 5, 2);
  const uint32_t bodyLength = GetLittleEndian(header + 7, 4);
  const uint32_t checksum = GetLittleEndian(header + 11, 4);
  if (count == 0 || count > MaxAcceptedEntries || count > static_cast<uint32_t>(fieldLimit)) return 0;
  if (bodyLength > length - cursor - AcceptedBlockHeaderSize || bodyLength / 6 < count) return 0;  // 6: the least entry
  const uint8_t* body = header + AcceptedBlockHeaderSize;
  if (Checksum(body, bodyLength) != checksum) return 0;

  std::vector<AcceptedAnswers> read(count);
  BodyReader reader{body, bodyLength};
  int previousField = 0;
  for (AcceptedAnswers& entry : read) {
    if (!reader.entry(previousField, fieldLimit, entry)) return 0;
    previousField = entry.fieldNumber;
  }
  if (reader.cursor != bodyLength) return 0;
  answers.swap(read);
  return AcceptedBlockHeaderSize + bodyLength;
}

const AcceptedAnswers* AcceptedAnswersOf(const std::vector<AcceptedAnswers>& answers, int fieldNumber) {
  auto found = std::lower_bound(answers.begin(), answers.end(), fieldNumber,
                                [](const AcceptedAnswers& entry, int field) { return entry.fieldNumber < field; });
  return found != answers.end() && found->fieldNumber == fieldNumber ? &*found : nullptr;
}
