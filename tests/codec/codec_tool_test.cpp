// ludex-compress and the build rule that runs it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "codec.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void ExpectDecodesTo(const std::vector<uint8_t>& stream, const std::vector<uint8_t>& plain) {
  uint8_t* decoded = nullptr;
  uint32_t length = 0;
  EXPECT_EQ(Decompress(stream.data(), uint32_t(stream.size()), &decoded, &length), CodecOk);
  EXPECT_EQ(std::vector<uint8_t>(decoded, decoded + length), plain);
  std::free(decoded);
}

TEST(CompressTool, BuildRuleOutputDecodesToItsInput) {
  std::vector<uint8_t> plain = ReadAll(SAMPLE_PLAIN);
  ASSERT_FALSE(plain.empty());
  ExpectDecodesTo(ReadAll(SAMPLE_COMPRESSED), plain);
}

TEST(CompressTool, FailuresLeaveTheOutputAlone) {
  std::vector<uint8_t> noise(50000);
  std::mt19937 random(5);
  for (auto& byte : noise) byte = uint8_t(random());
  // clang-format off
  const struct { const char* name; bool inputExists; std::vector<uint8_t> input; bool succeeds; } cases[] = {
      {"text", true, std::vector<uint8_t>(300, 'k'), true},
      {"missing input", false, {}, false},
      {"empty input", true, {}, false},
      {"input past 65,535 bytes", true, std::vector<uint8_t>(CodecMaxInput + 1, 'k'), false},
      {"stream past 32,768 bytes", true, noise, false},
  };
  // clang-format on
  fs::path folder = fs::temp_directory_path() / ("ludex-compress-test-" + std::to_string(std::random_device()()));
  fs::path in = folder / "in.dat", out = folder / "out.bin";
  fs::create_directories(folder);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(in);
    if (c.inputExists) WriteAll(in, c.input);
    WriteAll(out, {'o', 'l', 'd'});
    std::string command = "\"" COMPRESS_TOOL "\" \"" + in.string() + "\" \"" + out.string() + "\" 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()) == 0, c.succeeds);
    EXPECT_FALSE(fs::exists(folder / "out.bin.tmp"));
    if (c.succeeds)
      ExpectDecodesTo(ReadAll(out), c.input);
    else
      EXPECT_EQ(ReadAll(out), (std::vector<uint8_t>{'o', 'l', 'd'}));
  }
  fs::remove_all(folder);
}

}  // namespace
