// Any bytes as a block of accepted answers: read raw, and sealed as the body
// of a block with a sound header and checksum, so that the entries' own
// checks are reached. No crash, no read out of bounds; a block read whole
// holds only answers within bounds, and writing them again gives its bytes.
#include <cstdint>
#include <cstring>
#include <vector>

#include "accepted_answers.h"

namespace {

std::vector<uint8_t> Sealed(const uint8_t* body, uint32_t length, uint16_t entries) {
  uint32_t hash = 2166136261u;
  for (uint32_t i = 0; i < length; ++i) hash = (hash ^ body[i]) * 16777619u;
  std::vector<uint8_t> block = {'L', 'X', 'A', 'A', 1, uint8_t(entries), uint8_t(entries >> 8)};
  for (uint32_t value : {length, hash}) {
    for (int k = 0; k < 4; ++k) block.push_back(uint8_t(value >> (8 * k)));
  }
  block.insert(block.end(), body, body + length);
  return block;
}

void CheckRead(const std::vector<uint8_t>& block, int fieldLimit) {
  std::vector<AcceptedAnswers> read;
  const uint32_t span = ReadAcceptedBlock(block.data(), uint32_t(block.size()), 0, fieldLimit, read);
  if (span == 0) {
    if (!read.empty()) __builtin_trap();
    return;
  }
  std::vector<AcceptedEntry> entries;
  int previous = 0;
  for (const AcceptedAnswers& answers : read) {
    if (answers.fieldNumber <= previous || answers.fieldNumber > fieldLimit) __builtin_trap();
    if (answers.count < 1 || answers.count > MaxAcceptedAnswers) __builtin_trap();
    previous = answers.fieldNumber;
    AcceptedEntry entry{answers.fieldNumber, {}};
    for (int k = 0; k < answers.count; ++k) {
      const size_t length = strnlen(answers.texts[k], TextSize);
      if (length == 0 || length > MaxTextLength) __builtin_trap();
      entry.answers.emplace_back(answers.texts[k], length);
    }
    entries.push_back(entry);
  }
  std::vector<uint8_t> again;
  AppendAcceptedBlock(again, entries);
  if (again.size() != span || std::memcmp(again.data(), block.data(), span) != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3 || size > (1u << 20)) return 0;
  const int fieldLimit = (data[0] | data[1] << 8) % (MaxAcceptedEntries + 1);
  CheckRead(std::vector<uint8_t>(data + 2, data + size), fieldLimit);
  const uint16_t entries = data[2];
  CheckRead(Sealed(data + 3, uint32_t(size - 3), entries), fieldLimit);
  return 0;
}
