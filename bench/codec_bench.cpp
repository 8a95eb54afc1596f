// Throughput of the codec next to zlib (level 6) on the same bytes: a full
// 255-question quiz payload and a 60 KB French text. MB/s count plain bytes.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "codec.h"

namespace {

const char* const words[] = {
    "le",        "la",         "les",      "de",          "des",     "du",     "un",      "une",         "et",
    "est",       "dans",       "pour",     "sur",         "avec",    "qui",    "que",     "quel",        "quelle",
    "capitale",  "pays",       "fleuve",   "roi",         "reine",   "siècle", "année",   "auteur",      "roman",
    "peintre",   "tableau",    "montagne", "océan",       "île",     "ville",  "région",  "département", "guerre",
    "traité",    "musique",    "opéra",    "compositeur", "chanson", "film",   "acteur",  "théâtre",     "pièce",
    "poète",     "célèbre",    "premier",  "dernier",     "grand",   "petit",  "nouveau", "ancien",      "français",
    "européen",  "écrit",      "né",       "mort",        "appelé",  "situé",  "connu",   "découvert",   "inventé",
    "président", "république", "château",  "cathédrale",  "église",  "pont",   "rivière", "forêt",       "désert",
    "planète",   "étoile",     "animal",
};

std::string Phrase(std::mt19937& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += words[random() % (sizeof words / sizeof words[0])];
  }
  return text;
}

std::vector<uint8_t> QuizPayload() {
  std::mt19937 random(104);
  std::string payload = {'\0', '\x01', char(255), '\x01'};
  payload += "Grand quiz de culture générale|Ludex|Répondez aux 255 questions.\\n\\nBonne chance !|TEST|TEST|";
  for (int q = 0; q < 255; ++q) {
    std::string answer = Phrase(random, 1 + random() % 2);
    for (char& c : answer) c = char(std::toupper(static_cast<unsigned char>(c)));
    payload += answer + "|" + "Quel" + Phrase(random, 6 + random() % 8) + " ?|";
  }
  payload += '\x02';
  for (int q = 0; q < 255; ++q) payload += Phrase(random, 4 + random() % 6) + ".|";
  payload += "\x35\xCB\xA3";
  return std::vector<uint8_t>(payload.begin(), payload.end());
}

std::vector<uint8_t> FrenchText() {
  std::mt19937 random(60);
  std::string text;
  while (text.size() < 60000) {
    std::string sentence = Phrase(random, 8 + random() % 12);
    sentence[0] = char(std::toupper(static_cast<unsigned char>(sentence[0])));
    text += sentence + (random() % 5 == 0 ? ".\r\n" : ". ");
  }
  text.resize(60000);
  return std::vector<uint8_t>(text.begin(), text.end());
}

const std::vector<uint8_t>& Input(int which) {
  static const std::vector<uint8_t> quiz = QuizPayload();
  static const std::vector<uint8_t> text = FrenchText();
  return which == 0 ? quiz : text;
}

void Label(benchmark::State& state, const std::vector<uint8_t>& plain, size_t compressed) {
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(plain.size()));
  state.SetLabel((state.range(0) == 0 ? "quiz " : "text ") + std::to_string(plain.size()) + " -> " +
                 std::to_string(compressed) + " bytes");
}

std::vector<uint8_t> CodecStream(const std::vector<uint8_t>& plain) {
  uint8_t* stream = nullptr;
  uint32_t length = 0;
  if (Compress(plain.data(), uint32_t(plain.size()), &stream, &length) != CodecOk) std::abort();
  std::vector<uint8_t> bytes(stream, stream + length);
  std::free(stream);
  return bytes;
}

std::vector<uint8_t> ZlibStream(const std::vector<uint8_t>& plain) {
  uLongf length = compressBound(uLong(plain.size()));
  std::vector<uint8_t> bytes(length);
  if (compress2(bytes.data(), &length, plain.data(), uLong(plain.size()), 6) != Z_OK) std::abort();
  bytes.resize(length);
  return bytes;
}

void BM_CodecCompress(benchmark::State& state) {
  const std::vector<uint8_t>& plain = Input(int(state.range(0)));
  uint32_t length = 0;
  for (auto _ : state) {
    uint8_t* stream = nullptr;
    if (Compress(plain.data(), uint32_t(plain.size()), &stream, &length) != CodecOk)
      state.SkipWithError("Compress failed");
    std::free(stream);
  }
  Label(state, plain, length);
}

void BM_CodecDecompress(benchmark::State& state) {
  const std::vector<uint8_t>& plain = Input(int(state.range(0)));
  std::vector<uint8_t> stream = CodecStream(plain);
  for (auto _ : state) {
    uint8_t* decoded = nullptr;
    uint32_t length = 0;
    if (Decompress(stream.data(), uint32_t(stream.size()), &decoded, &length) != CodecOk || length != plain.size())
      state.SkipWithError("Decompress failed");
    benchmark::DoNotOptimize(decoded);
    std::free(decoded);
  }
  Label(state, plain, stream.size());
}

void BM_ZlibDeflate6(benchmark::State& state) {
  const std::vector<uint8_t>& plain = Input(int(state.range(0)));
  std::vector<uint8_t> out(compressBound(uLong(plain.size())));
  uLongf length = 0;
  for (auto _ : state) {
    length = uLongf(out.size());
    if (compress2(out.data(), &length, plain.data(), uLong(plain.size()), 6) != Z_OK)
      state.SkipWithError("deflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  Label(state, plain, length);
}

void BM_ZlibInflate(benchmark::State& state) {
  const std::vector<uint8_t>& plain = Input(int(state.range(0)));
  std::vector<uint8_t> stream = ZlibStream(plain);
  std::vector<uint8_t> out(plain.size());
  for (auto _ : state) {
    uLongf length = uLongf(out.size());
    if (uncompress(out.data(), &length, stream.data(), uLong(stream.size())) != Z_OK || length != plain.size())
      state.SkipWithError("inflate failed");
    benchmark::DoNotOptimize(out.data());
  }
  Label(state, plain, stream.size());
}

// Argument 0: the quiz payload; 1: the 60 KB text.
BENCHMARK(BM_CodecDecompress)->Arg(0)->Arg(1);
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1);
BENCHMARK(BM_CodecCompress)->Arg(0)->Arg(1);
BENCHMARK(BM_ZlibDeflate6)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
