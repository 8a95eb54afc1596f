#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "codec/codec.h"
#include "codec_streams.h"

namespace {

struct Outcome {
  int result;
  bool outSet;
  std::vector<uint8_t> bytes;
};

// Runs one codec operation and takes over the buffer it hands back.
using Operation = int (*)(const uint8_t*, uint32_t, uint8_t**, uint32_t*);

Outcome Apply(Operation operation, const std::vector<uint8_t>& input) {
  uint8_t sentinel = 0;
  uint8_t* outData = &sentinel;
  uint32_t outLength = 0xFFFFFFFF;
  Outcome outcome;
  outcome.result = operation(input.data(), uint32_t(input.size()), &outData, &outLength);
  outcome.outSet = outData != &sentinel;
  if (outcome.outSet) {
    EXPECT_LE(outLength, operation == Compress ? CompressCapacity : DecompressCapacity);
    outcome.bytes.assign(outData, outData + outLength);
    std::free(outData);
  }
  return outcome;
}

// 97 followed by count more 97s, each teaching a string, then the end code.
std::vector<uint8_t> RepeatA(size_t count) {
  std::vector<Code> codes(count + 1, Code{97, 9});
  codes.push_back({256, 9});
  return PackCodes(codes);
}

// 97, then widen codes up to the given width, then the last code at that width.
std::vector<uint8_t> WidenTo(int width, uint32_t last) {
  std::vector<Code> codes = {{97, 9}};
  for (int w = 9; w < width; ++w) codes.push_back({257, w});
  codes.push_back({last, width});
  return PackCodes(codes);
}

std::vector<uint8_t> RandomBytes(size_t size, int alphabet, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& byte : bytes) byte = uint8_t('A' + random() % alphabet);
  return bytes;
}

// ---- worked examples, both ways ----

struct Example {
  const char* text;
  std::vector<uint8_t> stream;
};

const Example examples[] = {
    {"a", {0x30, 0xC0, 0x00}},
    {"abc", {0x30, 0x98, 0x8C, 0x70, 0x00}},
    {"aaaa", {0x30, 0xC0, 0xCC, 0x30, 0x00}},
};

TEST(CodecExamples, CompressAndDecompressBothWays) {
  for (const Example& example : examples) {
    SCOPED_TRACE(example.text);
    Outcome packed = Apply(Compress, Bytes(example.text));
    EXPECT_EQ(packed.result, CodecOk);
    EXPECT_EQ(packed.bytes, example.stream);
    Outcome unpacked = Apply(Decompress, example.stream);
    EXPECT_EQ(unpacked.result, CodecOk);
    EXPECT_EQ(unpacked.bytes, Bytes(example.text));
  }
}

// ---- hand-packed streams ----

struct StreamCase {
  const char* name;
  std::vector<uint8_t> stream;
  int result;
  std::string output;  // the bytes decoded so far
};

const StreamCase streamCases[] = {
    {"first code taken as a byte", PackCodes({{256, 9}, {256, 9}}), CodecOk, std::string(1, '\0')},
    {"first code keeps its low byte", PackCodes({{0x141, 9}, {256, 9}}), CodecOk, "A"},
    {"reset teaches 259 again", PackCodes({{97, 9}, {98, 9}, {258, 9}, {259, 9}, {256, 9}}), CodecOk, "abbb"},
    {"no reset: 259 is ab", PackCodes({{97, 9}, {98, 9}, {259, 9}, {256, 9}}), CodecOk, "abab"},
    {"widened code", PackCodes({{97, 9}, {257, 9}, {98, 10}, {256, 10}}), CodecOk, "ab"},
    {"reset narrows again", PackCodes({{97, 9}, {257, 9}, {98, 10}, {258, 10}, {99, 9}, {256, 9}}), CodecOk, "abc"},
    {"code above nextCode", PackCodes({{97, 9}, {98, 9}, {261, 9}, {256, 9}}), CodecMalformed, "a"},
    {"code learned before the reset", PackCodes({{97, 9}, {98, 9}, {259, 9}, {258, 9}, {260, 9}}), CodecMalformed, "ab"},
    {"no end code", PackCodes({{97, 9}, {98, 9}, {99, 9}}), CodecMalformed, "ab"},
    {"cut inside a code", {0x30, 0x98, 0x8C}, CodecMalformed, "a"},
    // The 10-bit code after 257 is cut after 9 bits, which read 256.
    {"cut where the gathered bits read 256",
     PackCodes({{97, 9}, {98, 9}, {99, 9}, {100, 9}, {101, 9}, {102, 9}, {257, 9}, {256, 9}}), CodecOk, "abcdef"},
    {"cut before the first code", {0x30}, CodecNoInput, ""},
    {"empty", {}, CodecNoInput, ""},
    {"end code at 32 bits", WidenTo(32, 256), CodecOk, "a"},
    {"huge code at 32 bits", WidenTo(32, 0xFFFFFFFF), CodecMalformed, ""},
    {"width past 32", WidenTo(32, 257), CodecMalformed, ""},
    {"dictionary filled up to 4,094", RepeatA(3836), CodecOk, std::string(3837, 'a')},
    {"one string more without a reset", RepeatA(3837), CodecMalformed, std::string(3836, 'a')},
};

TEST(CodecDecompress, HandPackedStreams) {
  for (const StreamCase& c : streamCases) {
    SCOPED_TRACE(c.name);
    Outcome outcome = Apply(Decompress, c.stream);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_TRUE(outcome.outSet);
    EXPECT_EQ(std::string(outcome.bytes.begin(), outcome.bytes.end()), c.output);
  }
}

// A run of one byte: each code is the one being taught, one byte longer than
// the last, so the output grows fast; then single bytes to land exactly.
std::vector<uint8_t> RunOf(uint32_t length) {
  std::vector<Code> codes = {{'x', 9}};
  uint32_t produced = 1, nextLength = 2, nextCode = 259, width = 9;
  auto put = [&](uint32_t code) {
    while (code >= (1u << width)) codes.push_back({257, int(width++)});
    codes.push_back({code, int(width)});
  };
  while (produced + nextLength <= length) {
    put(nextCode++);
    produced += nextLength++;
  }
  for (; produced < length; ++produced) put('x');
  put(256);
  return PackCodes(codes);
}

TEST(CodecDecompress, OutputBufferLimit) {
  const struct {
    uint32_t length;
    int result;
  } cases[] = {{DecompressCapacity, CodecOk}, {DecompressCapacity + 1, CodecMalformed}, {200000, CodecMalformed}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    Outcome outcome = Apply(Decompress, RunOf(c.length));
    EXPECT_EQ(outcome.result, c.result);
    if (c.result == CodecOk) EXPECT_EQ(outcome.bytes.size(), c.length);
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

// ---- round trips ----

struct RoundTrip {
  const char* name;
  std::vector<uint8_t> input;
  int widens;  // at least this many 257
  int resets;  // at least this many 258
};

std::vector<uint8_t> QuizLikeText() {
  std::string text;
  for (int i = 0; text.size() < 20000; ++i)
    text += "Quelle est la capitale numéro " + std::to_string(i) + " ?|réponse " + std::to_string(i * 7) + "|\r\n";
  return Bytes(text);
}

const RoundTrip roundTrips[] = {
    {"one byte", Bytes("z"), 0, 0},
    {"run of one byte", std::vector<uint8_t>(40000, 'q'), 1, 0},
    {"every byte value", [] { std::vector<uint8_t> v(1024); for (size_t i = 0; i < v.size(); ++i) v[i] = uint8_t(i * 7); return v; }(), 1, 0},
    {"quiz-like text", QuizLikeText(), 3, 0},
    {"random bytes, small alphabet", RandomBytes(40000, 16, 1), 3, 3},
    {"largest input", RandomBytes(CodecMaxInput, 3, 2), 3, 1},
};

TEST(CodecRoundTrip, DecodesToTheInputWithWidenAndResetCodes) {
  for (const RoundTrip& c : roundTrips) {
    SCOPED_TRACE(c.name);
    Outcome packed = Apply(Compress, c.input);
    ASSERT_EQ(packed.result, CodecOk);
    EXPECT_EQ(CompressedSize(), packed.bytes.size());
    Outcome unpacked = Apply(Decompress, packed.bytes);
    EXPECT_EQ(unpacked.result, CodecOk);
    EXPECT_EQ(unpacked.bytes, c.input);

    std::vector<Code> codes = ReadCodes(packed.bytes);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back().value, 256u);
    int widens = 0, resets = 0;
    int taught = -1;  // strings the reader learned since the start or the last reset
    for (size_t i = 0; i < codes.size(); ++i) {
      EXPECT_LE(codes[i].width, 12);
      EXPECT_NE(codes[i].value, 4095u);
      if (codes[i].value < 256 || codes[i].value > 258) ++taught;
      if (codes[i].value == 257) {
        ++widens;
      } else if (codes[i].value == 258) {
        ++resets;
        EXPECT_EQ(taught, 4095 - 259) << "the writer resets right after giving out 4,095";
        taught = 0;
        ASSERT_LT(i + 1, codes.size());
        EXPECT_LT(codes[i + 1].value, 512u) << "after a reset the codes go on at 9 bits";
      } else if (i > 0 && codes[i - 1].value == 257) {
        EXPECT_GE(codes[i].value, 1u << (codes[i].width - 1)) << "widened ahead of need";
      }
    }
    EXPECT_GE(widens, c.widens);
    EXPECT_GE(resets, c.resets);
  }
}

// ---- compressor limits ----

TEST(CodecCompress, Failures) {
  const struct {
    const char* name;
    std::vector<uint8_t> input;
    int result;
  } cases[] = {
      {"empty", {}, CodecNoInput},
      {"stream past the output buffer", [] { std::vector<uint8_t> v(60000); std::mt19937 r(3); for (auto& b : v) b = uint8_t(r()); return v; }(), CodecCodeRefused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Apply(Compress, Bytes("abc")).result, CodecOk);
    Outcome outcome = Apply(Compress, c.input);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_TRUE(outcome.outSet);
    EXPECT_EQ(outcome.bytes.size(), c.result == CodecCodeRefused ? CompressCapacity : 0u);
    EXPECT_EQ(CompressedSize(), 5u) << "only a successful Compress sets the compressed size";
    EXPECT_EQ(CompressInputSize(), c.input.size());
  }
}

// ---- progress queries ----

TEST(CodecProgress, CountersFollowEachOperation) {
  Apply(Compress, Bytes("abcabcabc"));
  EXPECT_EQ(CodecInputSize(), 9u);
  EXPECT_EQ(CodecInputTaken(), 9u);
  EXPECT_EQ(CompressInputSize(), 9u);
  uint32_t compressed = CompressedSize();
  EXPECT_GT(compressed, 0u);

  std::vector<uint8_t> cut = {0x30, 0x98, 0x8C, 0x70, 0x00, 0xFF, 0xFF};  // trailing bytes left unread
  Apply(Decompress, cut);
  EXPECT_EQ(CodecInputSize(), 7u);
  EXPECT_EQ(CodecInputTaken(), 5u);
  EXPECT_EQ(CompressInputSize(), 9u);
  EXPECT_EQ(CompressedSize(), compressed);
}

// ---- memory failures ----

// Fails one allocation: the one of failingSize bytes after skipping `skipped` of them.
size_t failingSize = 0;
int skipped = 0;
void* FailOneSize(size_t size) {
  if (size == failingSize && skipped-- == 0) return nullptr;
  return std::malloc(size);
}

std::vector<std::string> notices;
void RecordNotice(const char* text, const char* caption) { notices.push_back(std::string(text) + "/" + caption); }

TEST(CodecMemory, FailedAllocations) {
  const struct {
    const char* name;
    bool compress;
    size_t failingSize;
    int skipped;
    bool outSet;
    bool notice;
  } cases[] = {
      {"decoder output buffer", false, DecompressCapacity, 0, false, true},
      {"encoder output buffer", true, CompressCapacity, 0, false, true},
      {"decoder set-up (staging)", false, CodecStagingCapacity + 1, 0, false, false},
      {"decoder set-up (dictionary)", false, CodecDictionarySize * sizeof(ByteBuffer), 0, false, false},
      {"encoder set-up (length counts)", true, CodecDictionarySize * sizeof(uint16_t), 0, false, false},
      {"decoder learned string", false, 2, 0, true, false},
      {"encoder learned string", true, 2, 0, true, false},
      {"encoder length list", true, CodecDictionarySize * sizeof(uint16_t), 1, true, false},
  };
  SetCodecNotice(RecordNotice);
  SetCodecAllocator(FailOneSize);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    notices.clear();
    failingSize = c.failingSize;
    skipped = c.skipped;
    Outcome outcome = c.compress ? Apply(Compress, Bytes("abab")) : Apply(Decompress, examples[1].stream);
    EXPECT_EQ(outcome.result, CodecNoMemory);
    EXPECT_EQ(outcome.outSet, c.outSet);
    EXPECT_EQ(notices, c.notice ? std::vector<std::string>{"Impossible d'allouer la memoire/information"}
                                : std::vector<std::string>{});
  }
  SetCodecAllocator(nullptr);
  SetCodecNotice(nullptr);
  EXPECT_EQ(Apply(Decompress, examples[1].stream).result, CodecOk);
}

}  // namespace
