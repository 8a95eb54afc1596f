// The dictionary codec of the quiz resources: a Lempel-Ziv-Welch coder with
// 9- to 12-bit codes, MSB-first, and the control codes 256 (end), 257 (widen)
// and 258 (reset). One global state: one operation at a time.
#pragma once
#include <cstdint>

enum : int {
  CodecOk = 0,
  CodecNoMemory = -4,       // an allocation failed
  CodecNoInput = -5,        // empty input, or it ended before the first code
  CodecCodeRefused = -6,    // the bit writer refused a code
  CodecMalformed = -7,      // a broken stream, or one past the decoder's limits
};

enum : uint32_t {
  DecompressCapacity = 120000,  // the decoder's output buffer
  CompressCapacity = 32768,     // the encoder's output buffer
  CodecMaxInput = 65535,        // the reader keeps its input length in 16 bits
};

struct ByteBuffer {
  uint8_t* data;
  uint16_t capacity;
  uint16_t length;
};

// Expands a stream. On 0, -4 (from a dictionary insertion), -5 and -7,
// *outData receives a DecompressCapacity-byte malloc'ed buffer holding the
// bytes decoded so far and *outLength their count; the caller frees it.
int Decompress(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength);

// Writes a stream. On 0 (and -4, -5, -6 after set-up) *outData receives a
// CompressCapacity-byte malloc'ed buffer and *outLength the stream's length.
int Compress(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength);

// The codec's steps, shared by both directions.
int DictionaryInit();
int DictionaryAdd(const ByteBuffer& string);
void DictionaryRelease();
uint32_t GetCode(int width);
int PutCode(uint32_t code, int width);

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
