// Fuzzes the player image reader and writer with arbitrary bytes: no input
// may crash them or make them read past it; every refusal says why; what the
// writer accepts reads back with the streams written, and writing the same
// streams into its result changes nothing.
#include <cstdint>
#include <cstdlib>

#include "player_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes image(data, data + size);
  const QuizPayloads streams{{1, 2, 3, 4, 5}, {6, 7}};
  QuizPayloads read;
  std::string error;
  if (!ReadQuizResources(image, read, error) && error.empty()) std::abort();
  Bytes program;
  error.clear();
  const bool written = WriteQuizResources(image, streams, program, error);
  if (written == program.empty() || written != error.empty()) std::abort();
  if (!written) return 0;
  Bytes again;
  if (!ReadQuizResources(program, read, error) || read.quiz != streams.quiz || read.codes != streams.codes)
    std::abort();
  if (!WriteQuizResources(program, streams, again, error) || again != program) std::abort();
  return 0;
}
