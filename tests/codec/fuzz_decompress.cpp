// Any byte string given to Decompress must be safe: no read or write out of
// bounds, a known result, and a buffer whenever the set-up succeeded.
#include <cstdint>
#include <cstdlib>

#include "codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > CodecMaxInput) return 0;
  uint8_t* output = nullptr;
  uint32_t length = 0;
  int result = Decompress(data, uint32_t(size), &output, &length);
  if (result != CodecOk && result != CodecNoInput && result != CodecMalformed) std::abort();
  if (output == nullptr || length > DecompressCapacity) std::abort();
  if (CodecInputTaken() > size) std::abort();
  // Touch every byte reported as decoded.
  volatile uint8_t sum = 0;
  for (uint32_t i = 0; i < length; ++i) sum = uint8_t(sum + output[i]);
  std::free(output);
  return 0;
}
