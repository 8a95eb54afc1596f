// ludex-compress IN OUT: writes IN as a quiz resource stream to OUT.
// ludex-compress --pieces IN OUT: writes a larger file as the pieces a
// program carries it in (carried_bytes.h), in base64: the player and the
// page template inside the editor that runs in a browser.
// Every stream is decoded again and compared with its input before anything
// is written, and OUT only ever appears complete (written to OUT.tmp, which
// then replaces OUT).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "carried_bytes.h"
#include "codec.h"
#include "file_replacement.h"
#include "quiz_page.h"

namespace {

const char* ResultText(int result) {
  switch (result) {
    case CodecNoMemory: return "out of memory";
    case CodecNoInput: return "the input is empty";
    case CodecCodeRefused: return "the compressed stream would not fit in 32768 bytes";
    case CodecNotVerified: return "the stream does not decode back to the input";
    default: return "unexpected codec result";
  }
}

// Reads a whole file of at most limit bytes; false with a message when it cannot.
bool ReadFile(const char* path, std::vector<uint8_t>& bytes, size_t limit) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "ludex-compress: cannot open %s\n", path);
    return false;
  }
  uint8_t block[8192];
  size_t count;
  bool tooLong = false;
  while ((count = std::fread(block, 1, sizeof block, file)) > 0) {
    bytes.insert(bytes.end(), block, block + count);
    if (bytes.size() > limit) {
      tooLong = true;
      break;
    }
  }
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    std::fprintf(stderr, "ludex-compress: cannot read %s\n", path);
    return false;
  }
  if (tooLong) {
    std::fprintf(stderr, "ludex-compress: %s is longer than %u bytes\n", path, unsigned(limit));
    return false;
  }
  return true;
}

bool WriteComplete(const std::string& path, const uint8_t* data, size_t size) {
  FileReplacement output;
  if (!BeginFileReplacement(output, path)) {
    std::fprintf(stderr, "ludex-compress: cannot create %s\n", output.temporary.c_str());
    return false;
  }
  if (!WriteFileReplacement(output, data, size) || !CloseFileReplacement(output)) {
    std::fprintf(stderr, "ludex-compress: cannot write %s\n", output.temporary.c_str());
    AbandonFileReplacement(output);
    return false;
  }
  if (!CommitFileReplacement(output)) {
    std::fprintf(stderr, "ludex-compress: cannot rename %s to %s\n", output.temporary.c_str(), path.c_str());
    return false;
  }
  return true;
}

int Pieces(const char* in, const char* out) {
  Bytes input, packed;
  if (!ReadFile(in, input, MaxCarriedBytes)) return 1;
  if (!PackPieces(input, packed)) {
    std::fprintf(stderr, "ludex-compress: %s: the codec failed\n", in);
    return 1;
  }
  const std::string text = Base64(packed);
  return WriteComplete(out, reinterpret_cast<const uint8_t*>(text.data()), text.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--pieces") == 0) return Pieces(argv[2], argv[3]);
  if (argc != 3) {
    std::fprintf(stderr, "usage: ludex-compress IN OUT, or ludex-compress --pieces IN OUT\n");
    return 2;
  }
  std::vector<uint8_t> input;
  if (!ReadFile(argv[1], input, CodecMaxInput)) return 1;
  if (input.empty()) {
    std::fprintf(stderr, "ludex-compress: %s: %s\n", argv[1], ResultText(CodecNoInput));
    return 1;
  }

  uint8_t* stream = nullptr;
  uint32_t streamLength = 0;
  int result = CompressVerified(input.data(), static_cast<uint32_t>(input.size()), &stream, &streamLength);
  if (result != CodecOk) {
    std::fprintf(stderr, "ludex-compress: %s: %s (%d)\n", argv[1], ResultText(result), result);
    return 1;
  }
  bool ok = WriteComplete(argv[2], stream, streamLength);
  std::free(stream);
  return ok ? 0 : 1;
}
