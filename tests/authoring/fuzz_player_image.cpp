// Fuzzes the player image reader and writer with arbitrary bytes: no input
// may crash them, make them read past it or hold more memory than the fuzzer
// allows (scripts/fuzz.sh); every refusal says why; what the writer accepts
// reads back with the streams written, and writing the same streams into its
// result changes nothing. The bytes are also read as a resource section by
// itself, so that the directory reader gets them without headers around, and
// as the pieces a page carries a player in (carried_bytes.h), whose reader
// keeps to its limit.
#include <cstdint>
#include <cstdlib>

#include "carried_bytes.h"
#include "player_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes image(data, data + size);
  const QuizPayloads streams{{1, 2, 3, 4, 5}, {6, 7}};
  QuizPayloads read;
  std::string error;
  if (!ReadQuizResources(image, read, error) && error.empty()) std::abort();
  PeImage section{};
  section.sections = {{0, ".rsrc", uint32_t(size), 0x1000, uint32_t(size), 0, 0}};
  section.directories = {{0, 0}, {0, 0}, {0x1000, uint32_t(size)}};
  std::vector<Resource> resources;
  error.clear();
  if (!ReadResources(image, section, resources, error) && error.empty()) std::abort();
  Bytes unpacked;
  if (UnpackPieces(image, size / 2, unpacked) && unpacked.size() > size / 2) std::abort();
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
