#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "codec.h"

namespace {

// Streams are written here from the stream rules alone (MSB-first codes, 9 bits,
// one more after each 257, back to 9 after 258), never with the codec's code.
std::vector<uint8_t> Pack(const std::vector<uint32_t>& codes) {
  std::vector<uint8_t> bytes;
  size_t bits = 0;
  int width = 9;
  for (uint32_t code : codes) {
    for (int bit = width - 1; bit >= 0; --bit, ++bits) {
      if (bits % 8 == 0) bytes.push_back(0);
      if ((code >> bit) & 1) bytes.back() |= uint8_t(0x80 >> bits % 8);
    }
    if (code == 257) ++width;
    if (code == 258) width = 9;
  }
  return bytes;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

struct Outcome {
  int result;
  bool outSet;
  std::vector<uint8_t> bytes;
};

using Operation = int (*)(const uint8_t*, uint32_t, uint8_t**, uint32_t*);

// Runs one codec operation and takes over the buffer it hands back.
Outcome Apply(Operation operation, const std::vector<uint8_t>& input) {
  uint8_t sentinel = 0;
  uint8_t* outData = &sentinel;
  uint32_t outLength = 0xFFFFFFFF;
  Outcome outcome{operation(input.data(), uint32_t(input.size()), &outData, &outLength), false, {}};
  outcome.outSet = outData != &sentinel;
  if (outcome.outSet) {
    EXPECT_LE(outLength, operation == Compress ? CompressCapacity : DecompressCapacity);
    outcome.bytes.assign(outData, outData + outLength);
    std::free(outData);
  }
  return outcome;
}

// head, then count times code, then tail.
std::vector<uint32_t> Run(std::vector<uint32_t> head, uint32_t code, size_t count, const std::vector<uint32_t>& tail) {
  head.insert(head.end(), count, code);
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

std::vector<uint8_t> RandomBytes(size_t size, int alphabet, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& byte : bytes) byte = uint8_t('A' + random() % alphabet);
  return bytes;
}

const std::vector<uint8_t> StreamOfAbc = {0x30, 0x98, 0x8C, 0x70, 0x00};

const size_t All = size_t(-1);
// output: the bytes decoded so far; keep: the stream bytes kept. Each 97 after
// the first teaches one string; 23 widen codes after 97 make codes 32 bits wide.
// In the last row 97 and 3,835 more teach 259-4,093, 98 teaches "ab" at 4,094;
// then 4,095 at 12 bits is the code being taught ("bb"), and the end code writes it.
// clang-format off
const struct { const char* name; std::vector<uint32_t> codes; int result; std::string output; size_t keep = All; } streamCases[] = {
    {"first code taken as a byte", {256, 256}, CodecOk, std::string(1, '\0')},
    {"first code keeps its low byte", {0x141, 256}, CodecOk, "A"},
    {"reset teaches 259 again", {97, 98, 258, 259, 256}, CodecOk, "abbb"},
    {"no reset: 259 is ab", {97, 98, 259, 256}, CodecOk, "abab"},
    {"widened code", {97, 257, 98, 256}, CodecOk, "ab"},
    {"reset narrows again", {97, 257, 98, 258, 99, 256}, CodecOk, "abc"},
    {"code above nextCode", {97, 98, 261, 256}, CodecMalformed, "a"},
    {"code learned before the reset", {97, 98, 259, 258, 260}, CodecMalformed, "ab"},
    {"no end code", {97, 98, 99}, CodecMalformed, "ab"},
    {"no end code, the last code ends a byte", {97, 98, 99, 100, 101, 102, 103, 104}, CodecMalformed, "abcdefg"},
    {"cut inside a code", {97, 98, 99, 256}, CodecMalformed, "a", 3},
    {"cut where the gathered bits read 256", {97, 98, 99, 100, 101, 102, 257, 512}, CodecOk, "abcdef", 9},
    {"cut before the first code", {97, 256}, CodecNoInput, "", 1},
    {"empty", {}, CodecNoInput, ""},
    {"end code at 32 bits", Run({97}, 257, 23, {256}), CodecOk, "a"},
    {"huge code at 32 bits", Run({97}, 257, 23, {0xFFFFFFFF}), CodecMalformed, ""},
    {"width past 32", Run({97}, 257, 23, {257}), CodecMalformed, ""},
    {"learns 4,095, the table's last entry", Run({}, 97, 3838, {256}), CodecOk, std::string(3838, 'a')},
    {"one string past the table", Run({}, 97, 3839, {256}), CodecMalformed, std::string(3837, 'a')},
    {"4,095 taught by its own code, then read", Run({}, 97, 3836, {98, 257, 257, 257, 4095, 256}), CodecOk, std::string(3836, 'a') + "bbb"},
};
// clang-format on

TEST(CodecDecompress, HandPackedStreams) {
  for (const auto& c : streamCases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> stream = Pack(c.codes);
    stream.resize(std::min(c.keep, stream.size()));
    Outcome outcome = Apply(Decompress, stream);
    EXPECT_EQ(std::make_tuple(outcome.result, outcome.outSet, std::string(outcome.bytes.begin(), outcome.bytes.end())),
              std::make_tuple(c.result, true, c.output));
  }
}

// A run of 'x': each code is the one being taught, one byte longer than the
// last, so the output grows fast; then single bytes to land exactly.
std::vector<uint8_t> RunOf(uint32_t length) {
  std::vector<uint32_t> codes = {'x'};
  uint32_t produced = 1, nextLength = 2, nextCode = 259, width = 9;
  auto put = [&](uint32_t code) {
    for (; code >= (1u << width); ++width) codes.push_back(257);
    codes.push_back(code);
  };
  for (; produced + nextLength <= length; produced += nextLength++) put(nextCode++);
  for (; produced < length; ++produced) put('x');
  put(256);
  return Pack(codes);
}

TEST(CodecDecompress, OutputBufferLimit) {
  for (uint32_t length : {uint32_t(DecompressCapacity), DecompressCapacity + 1}) {
    SCOPED_TRACE(length);
    Outcome outcome = Apply(Decompress, RunOf(length));
    EXPECT_EQ(outcome.result, length == DecompressCapacity ? CodecOk : CodecMalformed);
    if (outcome.result == CodecOk) EXPECT_EQ(outcome.bytes.size(), length);
    EXPECT_EQ(std::count(outcome.bytes.begin(), outcome.bytes.end(), 'x'), long(outcome.bytes.size()));
  }
}

// Every cut of a valid stream fails, keeping a correct start of the text.
TEST(CodecDecompress, EveryCutOfAStreamFails) {
  std::vector<uint8_t> text = RandomBytes(3000, 4, 7);
  Outcome packed = Apply(Compress, text);
  ASSERT_EQ(packed.result, CodecOk);
  for (size_t cut = 0; cut + 1 < packed.bytes.size(); ++cut) {
    Outcome outcome = Apply(Decompress, std::vector<uint8_t>(packed.bytes.begin(), packed.bytes.begin() + cut));
    ASSERT_EQ(outcome.result, cut < 2 ? CodecNoInput : CodecMalformed) << "cut " << cut;
    ASSERT_TRUE(outcome.outSet);
    ASSERT_TRUE(std::equal(outcome.bytes.begin(), outcome.bytes.end(), text.begin())) << "cut " << cut;
  }
}

std::vector<uint8_t> QuizLikeText() {
  std::string text;
  for (int i = 0; text.size() < 20000; ++i)
    text +=
        "Quelle est la capitale num\xE9ro " + std::to_string(i) + " ?|r\xE9ponse " + std::to_string(i * 7) + "|\r\n";
  return Bytes(text);
}

std::vector<uint8_t> EveryByte() {
  std::vector<uint8_t> bytes(1024);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
  return bytes;
}

// FNV-1a: a digest of a stream's bytes.
uint64_t Digest(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 14695981039346656037u;
  for (uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211u;
  return hash;
}

// The writer's streams are the bytes of every packed quiz: these, recorded once
// they had been checked against the stream rules (widen codes ahead of need,
// a reset right after code 4,095, codes of at most 12 bits), must not change.
TEST(CodecRoundTrip, DecodesToTheInputFromTheSameBytes) {
  // clang-format off
  const struct { const char* name; std::vector<uint8_t> input; size_t size; uint64_t digest; } cases[] = {
      {"one byte", Bytes("z"), 3, 7482822144151156424u}, {"run of one byte", std::vector<uint8_t>(40000, 'q'), 325, 2627437809064481065u},
      {"every byte value", EveryByte(), 702, 9297716296766415176u}, {"quiz-like text", QuizLikeText(), 3119, 10550144833842127139u},
      {"random bytes, small alphabet (resets)", RandomBytes(40000, 16, 1), 25109, 17877216314689748396u},
      {"largest input", RandomBytes(CodecMaxInput, 3, 2), 15509, 7103033315304183581u},
  };
  // clang-format on
  for (const auto& c : cases) {
    Outcome packed = Apply(Compress, c.input);
    ASSERT_EQ(packed.result, CodecOk) << c.name;
    EXPECT_EQ(std::make_pair(packed.bytes.size(), Digest(packed.bytes)), std::make_pair(c.size, c.digest)) << c.name;
    Outcome unpacked = Apply(Decompress, packed.bytes);
    EXPECT_EQ(unpacked.result, CodecOk) << c.name;
    EXPECT_EQ(unpacked.bytes, c.input) << c.name;
  }
}

// Only a successful Compress sets the compressed size; every operation sets the input counters.
TEST(CodecCompress, RefusalsAndCounters) {
  ASSERT_EQ(Apply(Compress, Bytes("abcabcabc")).result, CodecOk);
  EXPECT_EQ(std::make_tuple(CodecInputSize(), CodecInputTaken(), CompressInputSize()), std::make_tuple(9u, 9u, 9u));
  const uint32_t compressed = CompressedSize();
  for (const auto& input : {std::vector<uint8_t>{}, RandomBytes(60000, 256, 3)}) {  // noise: a stream past the buffer
    Outcome outcome = Apply(Compress, input);
    EXPECT_EQ(outcome.result, input.empty() ? CodecNoInput : CodecCodeRefused);
    EXPECT_TRUE(outcome.outSet);
    EXPECT_EQ(outcome.bytes.size(), input.empty() ? 0u : CompressCapacity);
    EXPECT_EQ(std::make_pair(CompressedSize(), CompressInputSize()),
              std::make_pair(compressed, uint32_t(input.size())));
  }
  Apply(Decompress, {0x30, 0x98, 0x8C, 0x70, 0x00, 0xFF, 0xFF});  // "abc", two bytes left unread
  EXPECT_EQ(std::make_tuple(CodecInputSize(), CodecInputTaken(), CompressedSize()),
            std::make_tuple(7u, 5u, compressed));
}

// Fails one allocation: the one of failingSize bytes (of any size when 0)
// after skipping `skipped` of them.
size_t failingSize = 0;
int skipped = 0;
void* FailOneSize(size_t size) {
  return (failingSize == 0 || size == failingSize) && skipped-- == 0 ? nullptr : std::malloc(size);
}

std::vector<std::string> notices;
void RecordNotice(const char* text, const char* caption) { notices.push_back(std::string(text) + "/" + caption); }

TEST(CodecMemory, FailedAllocations) {
  // clang-format off
  const struct { const char* name; bool compress; size_t failingSize; int skipped; bool outSet, notice; } cases[] = {
      {"decoder output buffer", false, DecompressCapacity, 0, false, true},
      {"encoder output buffer", true, CompressCapacity, 0, false, true},
      {"decoder set-up (staging, its first block)", false, 0, 0, false, false},
      {"decoder set-up (dictionary, its second block)", false, 0, 1, false, false},
      {"encoder set-up (length counts)", true, CodecDictionarySize * sizeof(uint16_t), 0, false, false},
      {"decoder learned string", false, 2, 0, true, false},
      {"encoder learned string", true, 2, 0, true, false},
      {"encoder length list", true, CodecDictionarySize * sizeof(uint16_t), 1, true, false},
  };
  // clang-format on
  SetCodecNotice(RecordNotice);
  SetCodecAllocator(FailOneSize);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    notices.clear();
    failingSize = c.failingSize;
    skipped = c.skipped;
    Outcome outcome = c.compress ? Apply(Compress, Bytes("abab")) : Apply(Decompress, StreamOfAbc);
    EXPECT_EQ(outcome.result, CodecNoMemory);
    EXPECT_EQ(outcome.outSet, c.outSet);
    EXPECT_EQ(notices, std::vector<std::string>(c.notice, "Impossible d'allouer la memoire/information"));
  }
  // CompressVerified whose decoding fails: nothing handed out.
  failingSize = DecompressCapacity;
  skipped = 0;
  uint8_t* stream = nullptr;
  uint32_t length = 0;
  EXPECT_EQ(CompressVerified(StreamOfAbc.data(), 5, &stream, &length), CodecNotVerified);
  EXPECT_EQ(stream, nullptr);
  SetCodecAllocator(nullptr);
  SetCodecNotice(nullptr);
  EXPECT_EQ(Apply(Decompress, StreamOfAbc).result, CodecOk);
}

// Every block comes with guard bytes. The large ones (buffers, dictionary)
// live through the whole operation: each later allocation checks theirs.
std::vector<std::pair<uint8_t*, size_t>> largeBlocks;
bool guardWritten = false;
void* GuardedAllocate(size_t size) {
  for (auto [block, length] : largeBlocks) guardWritten |= block[length] != 0x5A;
  auto* block = static_cast<uint8_t*>(std::malloc(size + 16));
  std::memset(block + size, 0x5A, 16);
  if (size >= 16384) largeBlocks.push_back({block, size});
  return block;
}

TEST(CodecMemory, NothingIsWrittenPastABlock) {
  SetCodecAllocator(GuardedAllocate);
  for (bool compress : {true, false}) {  // a stream that fills the encoder's buffer, an output that fills the decoder's
    largeBlocks.clear();
    Outcome outcome =
        compress ? Apply(Compress, RandomBytes(60000, 256, 3)) : Apply(Decompress, RunOf(DecompressCapacity));
    EXPECT_EQ(outcome.bytes.size(), compress ? CompressCapacity : DecompressCapacity);
  }
  largeBlocks.clear();
  SetCodecAllocator(nullptr);
  EXPECT_FALSE(guardWritten);
}

}  // namespace
