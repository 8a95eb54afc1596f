// The dictionary codec of the quiz resources: a Lempel-Ziv-Welch coder with
// 9- to 12-bit codes, MSB-first, and the control codes 256 (end), 257 (widen)
// and 258 (reset). One global state: one operation at a time.
#pragma once
#include <cstddef>
#include <cstdint>

enum : int {
  CodecOk = 0,
  CodecNoMemory = -4,     // an allocation failed
  CodecNoInput = -5,      // empty input, or it ended before the first code
  CodecCodeRefused = -6,  // the bit writer refused a code: width past 32, or
                          // the stream would not fit the CompressCapacity buffer
  CodecMalformed = -7,    // a broken stream, or one past the decoder's limits
  CodecNotVerified = -8,  // CompressVerified: the stream does not decode back to its input
};

enum : uint32_t {
  DecompressCapacity = 120000,  // the decoder's output buffer
  CompressCapacity = 32768,     // the encoder's output buffer
  CodecMaxInput = 65535,        // the reader keeps its input length in 16 bits
};

// The stream's codes.
enum : uint16_t {
  CodecEndCode = 256,
  CodecWidenCode = 257,  // the following codes are one bit wider
  CodecResetCode = 258,  // forget the learned strings, back to 9 bits
  CodecFirstLearnedCode = 259,
  CodecDictionarySize = 4096,  // codes 0-4095; also the longest string a code stands for
};

// Expands a stream. On 0, -4 (from a dictionary insertion), -5 and -7,
// *outData receives a DecompressCapacity-byte malloc'ed buffer holding the
// bytes decoded so far and *outLength their count; the caller frees it.
// Any byte string is safe: a stream that would pass the output buffer, learn
// a string past code 4,095 without a reset or use a code that means nothing
// gives -7.
int Decompress(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength);

// Writes a stream. On 0 (and -4, -5, -6 after set-up) *outData receives a
// CompressCapacity-byte malloc'ed buffer and *outLength the number of stream
// bytes in it. A stream longer than CompressCapacity is never written past
// the buffer: the writer refuses the first byte that does not fit and Compress
// returns -6, with the bytes written so far (an unusable, cut stream).
// Inputs longer than CodecMaxInput are read only up to their length kept to
// 16 bits, so callers must not pass them.
int Compress(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength);

// Compress, then Decompress the stream and compare it with the input: what
// every writer of a quiz resource runs before it writes anything. On 0,
// *outData receives the malloc'ed stream and *outLength its length; on any
// failure nothing is handed out, and a stream that does not decode back to
// the input gives CodecNotVerified.
int CompressVerified(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength);

// Progress queries.
uint32_t CodecInputSize();
uint32_t CodecInputTaken();
uint32_t CompressInputSize();
uint32_t CompressedSize();

// How the codec tells the user that memory ran out ("Impossible d'allouer la
// memoire", caption "information"). The Windows layer installs a message box;
// by default nothing is shown.
using CodecNoticeFunction = void (*)(const char* text, const char* caption);
void SetCodecNotice(CodecNoticeFunction notice);

// Every block the codec takes comes from this allocator (malloc by default;
// null restores it). Blocks are released with free, so a replacement must
// hand out malloc-compatible memory. Lets tests make allocations fail.
using CodecAllocateFunction = void* (*)(size_t size);
void SetCodecAllocator(CodecAllocateFunction allocate);
