// Compress then Decompress gives the input back, for every input that the
// compressor accepts; a refused one fails with -5 (empty) or -6 (too long a stream).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > CodecMaxInput) return 0;
  uint8_t* stream = nullptr;
  uint32_t streamLength = 0;
  int result = Compress(data, uint32_t(size), &stream, &streamLength);
  if (stream == nullptr || streamLength > CompressCapacity) std::abort();
  if (result != CodecOk) {
    bool refusedRightly = (result == CodecNoInput && size == 0) || result == CodecCodeRefused;
    std::free(stream);
    if (!refusedRightly) std::abort();
    return 0;
  }
  uint8_t* decoded = nullptr;
  uint32_t decodedLength = 0;
  result = Decompress(stream, streamLength, &decoded, &decodedLength);
  if (result != CodecOk || decodedLength != size || std::memcmp(decoded, data, size) != 0) std::abort();
  std::free(stream);
  std::free(decoded);
  return 0;
}
