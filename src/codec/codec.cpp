#include "codec.h"

#include <cstdlib>
#include <cstring>

namespace {

// The codec's work state and the steps that both directions share.

enum : int {
  CodecCompressing = 1,
  CodecDecompressing = 2,
};

constexpr uint32_t CodecStagingCapacity = 32768;

struct ByteBuffer {
  uint8_t* data;
  uint16_t capacity;
  uint16_t length;
};

// Everything one operation works with. Each Compress or Decompress sets it up,
// runs one pass and releases it; only the output buffer and the counters outlive
// the call.
struct CodecState {
  int mode;                // CodecCompressing or CodecDecompressing
  ByteBuffer* dictionary;  // CodecDictionarySize entries, indexed by code
  uint16_t nextCode;       // code of the next learned string
  ByteBuffer prefix;       // last code's string (decoding) or current match (encoding)
  ByteBuffer candidate;    // prefix plus one byte, about to be learned
  const uint8_t* input;    // the caller's bytes, never copied nor freed
  uint32_t inputSize;
  uint16_t readLength;
  uint16_t readPosition;
  bool inputTaken;      // a second request for input means it is exhausted
  uint8_t pendingByte;  // bits between bytes, at the most significant end
  uint8_t pendingCount;
  ByteBuffer staging;  // finished output bytes of the encoder
  uint8_t* output;
  uint32_t outputPosition;
  uint16_t** lengthIndex;  // encoder: learned codes by string length
  uint16_t* lengthCounts;
  uint32_t lastInputSize;  // counters, kept between operations
  uint32_t inputBytesTaken;
  uint32_t lastCompressInputSize;
  uint32_t lastCompressedSize;
};

CodecState codecState;

int DictionaryInit();
int DictionaryAdd(const ByteBuffer& string);
void DictionaryRelease();
// Reads one code of the given width (1-32) into code. False when the input ran
// out first; code then holds the bits gathered so far.
bool GetCode(int width, uint32_t& code);
// Writes one code of the given width; 0 when refused (width above 32, or the
// output buffer is full).
int PutCode(uint32_t code, int width);

constexpr int StartWidth = 9;
constexpr int MaxReadWidth = 32;
constexpr uint16_t WorkBufferCapacity = 4096;

const char NoMemoryText[] = "Impossible d'allouer la memoire";
const char NoMemoryCaption[] = "information";

CodecNoticeFunction codecNotice = nullptr;
CodecAllocateFunction codecAllocate = nullptr;

void* Allocate(size_t size) { return codecAllocate ? codecAllocate(size) : std::malloc(size); }

void TellNoMemory() {
  if (codecNotice) codecNotice(NoMemoryText, NoMemoryCaption);
}

bool AllocateBuffer(ByteBuffer& buffer, size_t blockSize, uint16_t capacity) {
  buffer.data = static_cast<uint8_t*>(Allocate(blockSize));
  buffer.capacity = buffer.data ? capacity : 0;
  buffer.length = 0;
  return buffer.data != nullptr;
}

void FreeBuffer(ByteBuffer& buffer) {
  std::free(buffer.data);
  buffer = ByteBuffer{};
}

void CopyBuffer(ByteBuffer& to, const ByteBuffer& from) {
  std::memcpy(to.data, from.data, from.length);
  to.length = from.length;
}

// Number of bits that the code needs (at least 1).
int BitLength(uint32_t code) {
  int bits = 1;
  while (bits < 32 && (code >> bits) != 0) ++bits;
  return bits;
}

// The reader hands out the caller's input once; asking again means it is spent.
bool TakeByte(uint8_t& byte) {
  CodecState& s = codecState;
  if (s.readPosition == s.readLength) {
    if (s.inputTaken) return false;
    s.inputTaken = true;
    s.readLength = static_cast<uint16_t>(s.inputSize);
    s.readPosition = 0;
    if (s.readLength == 0 || s.input == nullptr) return false;
  }
  byte = s.input[s.readPosition++];
  ++s.inputBytesTaken;
  return true;
}

void DetachInput() {
  CodecState& s = codecState;
  s.input = nullptr;
  s.inputSize = 0;
  s.readLength = 0;
  s.readPosition = 0;
}

void ClearLengthIndex() {
  CodecState& s = codecState;
  if (s.lengthIndex) {
    for (int length = 0; length < CodecDictionarySize; ++length) {
      std::free(s.lengthIndex[length]);
      s.lengthIndex[length] = nullptr;
    }
  }
  if (s.lengthCounts) std::memset(s.lengthCounts, 0, CodecDictionarySize * sizeof(uint16_t));
}

// ---- decoder ----

// Appends prefix to the output; false when the output buffer would overflow.
bool WritePrefix() {
  CodecState& s = codecState;
  if (s.prefix.length > DecompressCapacity - s.outputPosition) return false;
  std::memcpy(s.output + s.outputPosition, s.prefix.data, s.prefix.length);
  s.outputPosition += s.prefix.length;
  return true;
}

int DecodeStream() {
  CodecState& s = codecState;
  uint32_t code = 0;
  if (!GetCode(StartWidth, code)) return CodecNoInput;
  // The first code is a literal, whatever its value.
  s.prefix.data[0] = static_cast<uint8_t>(code);
  s.prefix.length = 1;

  int width = StartWidth;
  for (;;) {
    if (width > MaxReadWidth) return CodecMalformed;
    bool whole = GetCode(width, code);
    // A stream cut inside its end code still ends cleanly.
    if (!whole && code != CodecEndCode) return CodecMalformed;
    if (code == CodecEndCode) return WritePrefix() ? CodecOk : CodecMalformed;
    if (code == CodecResetCode) {
      s.nextCode = CodecFirstLearnedCode;
      width = StartWidth;
      continue;
    }
    if (code == CodecWidenCode) {
      ++width;
      continue;
    }
    // Every other code teaches a string: refuse one that would go past the
    // table's last entry (4,095) without a reset, and a code not yet taught.
    if (code > s.nextCode || s.nextCode >= CodecDictionarySize) return CodecMalformed;
    // Unreachable before the output limit (a string grows by one byte per
    // code, each written out), but the work buffers must never overflow.
    if (s.prefix.length >= s.candidate.capacity) return CodecMalformed;
    uint8_t extra;
    if (code == s.nextCode) {
      extra = s.prefix.data[0];
    } else {
      const ByteBuffer& entry = s.dictionary[code];
      if (entry.length == 0) return CodecMalformed;
      extra = entry.data[0];
    }
    CopyBuffer(s.candidate, s.prefix);
    s.candidate.data[s.candidate.length++] = extra;
    if (!DictionaryAdd(s.candidate)) return CodecNoMemory;
    if (!WritePrefix()) return CodecMalformed;
    CopyBuffer(s.prefix, s.dictionary[code]);
  }
}

// ---- encoder ----

// Queues one finished byte; false when the stream would pass the output buffer.
bool WriteByte(uint8_t byte) {
  CodecState& s = codecState;
  if (s.output == nullptr || s.staging.data == nullptr) return false;
  if (s.outputPosition + s.staging.length >= CompressCapacity) return false;
  if (s.staging.length == s.staging.capacity) {
    std::memcpy(s.output + s.outputPosition, s.staging.data, s.staging.length);
    s.outputPosition += s.staging.length;
    s.staging.length = 0;
  }
  s.staging.data[s.staging.length++] = byte;
  return true;
}

void MoveStagingToOutput() {
  CodecState& s = codecState;
  if (s.staging.data == nullptr || s.output == nullptr) return;
  std::memcpy(s.output + s.outputPosition, s.staging.data, s.staging.length);
  s.outputPosition += s.staging.length;
  s.staging.length = 0;
}

// Puts the widen codes that the code needs, then the code.
bool PutWidened(uint32_t code, int& width) {
  while (BitLength(code) > width) {
    if (!PutCode(CodecWidenCode, width)) return false;
    ++width;
  }
  return PutCode(code, width) != 0;
}

// Looks the candidate up among the learned strings of its length.
bool FindLearned(const ByteBuffer& candidate, uint16_t& code) {
  const CodecState& s = codecState;
  if (candidate.length >= CodecDictionarySize) return false;
  const uint16_t* list = s.lengthIndex[candidate.length];
  if (list == nullptr) return false;
  uint16_t count = s.lengthCounts[candidate.length];
  for (uint16_t i = 0; i < count; ++i) {
    const ByteBuffer& entry = s.dictionary[list[i]];
    if (std::memcmp(entry.data, candidate.data, candidate.length) == 0) {
      code = list[i];
      return true;
    }
  }
  return false;
}

int EncodeStream() {
  CodecState& s = codecState;
  uint8_t byte;
  if (!TakeByte(byte)) return CodecNoInput;
  s.prefix.data[0] = byte;
  s.prefix.length = 1;
  uint16_t prefixCode = byte;  // the code of the current match
  int width = StartWidth;

  while (TakeByte(byte)) {
    // Learned strings stay far below the work buffers; refuse rather than overflow.
    if (s.prefix.length >= s.candidate.capacity) return CodecCodeRefused;
    CopyBuffer(s.candidate, s.prefix);
    s.candidate.data[s.candidate.length++] = byte;
    uint16_t found;
    if (FindLearned(s.candidate, found)) {
      CopyBuffer(s.prefix, s.candidate);
      prefixCode = found;
      continue;
    }
    if (!DictionaryAdd(s.candidate)) return CodecNoMemory;
    if (!PutWidened(prefixCode, width)) return CodecCodeRefused;
    s.prefix.data[0] = byte;
    s.prefix.length = 1;
    prefixCode = byte;
    if (s.nextCode == CodecDictionarySize) {
      if (!PutCode(CodecResetCode, width)) return CodecCodeRefused;
      s.nextCode = CodecFirstLearnedCode;
      ClearLengthIndex();
      if (!DictionaryAdd(s.candidate)) return CodecNoMemory;
      width = StartWidth;
    }
  }
  if (!PutWidened(prefixCode, width)) return CodecCodeRefused;
  if (!PutCode(CodecEndCode, width)) return CodecCodeRefused;
  if (s.pendingCount != 0) {
    if (!WriteByte(s.pendingByte)) return CodecCodeRefused;
    s.pendingByte = 0;
    s.pendingCount = 0;
  }
  return CodecOk;
}

int DictionaryInit() {
  CodecState& s = codecState;
  s.dictionary = nullptr;
  s.prefix = ByteBuffer{};
  s.candidate = ByteBuffer{};
  s.staging = ByteBuffer{};
  s.lengthIndex = nullptr;
  s.lengthCounts = nullptr;
  s.input = nullptr;
  s.inputSize = 0;
  s.readLength = 0;
  s.readPosition = 0;
  s.inputTaken = false;
  s.pendingByte = 0;
  s.pendingCount = 0;
  s.output = nullptr;
  s.outputPosition = 0;

  if (!AllocateBuffer(s.staging, CodecStagingCapacity + 1, CodecStagingCapacity)) return CodecNoMemory;

  s.dictionary = static_cast<ByteBuffer*>(Allocate(CodecDictionarySize * sizeof(ByteBuffer)));
  if (s.dictionary == nullptr) return CodecNoMemory;
  std::memset(s.dictionary, 0, CodecDictionarySize * sizeof(ByteBuffer));
  for (int code = 0; code < CodecEndCode; ++code) {  // the codes below the first special one are the bytes
    if (!AllocateBuffer(s.dictionary[code], 1, 1)) return CodecNoMemory;
    s.dictionary[code].data[0] = static_cast<uint8_t>(code);
    s.dictionary[code].length = 1;
  }
  s.nextCode = CodecFirstLearnedCode;

  if (s.mode != CodecDecompressing) {
    s.lengthIndex = static_cast<uint16_t**>(Allocate(CodecDictionarySize * sizeof(uint16_t*)));
    if (s.lengthIndex == nullptr) return CodecNoMemory;
    std::memset(s.lengthIndex, 0, CodecDictionarySize * sizeof(uint16_t*));
    s.lengthCounts = static_cast<uint16_t*>(Allocate(CodecDictionarySize * sizeof(uint16_t)));
    if (s.lengthCounts == nullptr) return CodecNoMemory;
    std::memset(s.lengthCounts, 0, CodecDictionarySize * sizeof(uint16_t));
  }

  if (!AllocateBuffer(s.prefix, WorkBufferCapacity, WorkBufferCapacity)) return CodecNoMemory;
  if (!AllocateBuffer(s.candidate, WorkBufferCapacity, WorkBufferCapacity)) return CodecNoMemory;
  return CodecOk;
}

int DictionaryAdd(const ByteBuffer& string) {
  CodecState& s = codecState;
  if (s.dictionary == nullptr || s.nextCode >= CodecDictionarySize) return 0;
  if (s.lengthIndex != nullptr && string.length >= CodecDictionarySize) return 0;
  ByteBuffer& entry = s.dictionary[s.nextCode];
  FreeBuffer(entry);  // left over from before a reset
  if (!AllocateBuffer(entry, string.length > 0 ? string.length : 1, string.length)) return 0;
  std::memcpy(entry.data, string.data, string.length);
  entry.length = string.length;

  if (s.lengthIndex != nullptr) {
    uint16_t*& list = s.lengthIndex[string.length];
    if (list == nullptr) {
      list = static_cast<uint16_t*>(Allocate(CodecDictionarySize * sizeof(uint16_t)));
      if (list == nullptr) return 0;
    }
    uint16_t& count = s.lengthCounts[string.length];
    if (count >= CodecDictionarySize) return 0;
    list[count++] = s.nextCode;
  }
  ++s.nextCode;
  return 1;
}

void DictionaryRelease() {
  CodecState& s = codecState;
  if (s.dictionary) {
    for (int code = 0; code < CodecDictionarySize; ++code) std::free(s.dictionary[code].data);
    std::free(s.dictionary);
    s.dictionary = nullptr;
  }
  ClearLengthIndex();
  std::free(s.lengthIndex);
  s.lengthIndex = nullptr;
  std::free(s.lengthCounts);
  s.lengthCounts = nullptr;
  FreeBuffer(s.prefix);
  FreeBuffer(s.candidate);
  FreeBuffer(s.staging);
}

bool GetCode(int width, uint32_t& code) {
  CodecState& s = codecState;
  code = 0;
  if (width < 1 || width > MaxReadWidth) return false;
  if (width <= s.pendingCount) {
    code = static_cast<uint32_t>(s.pendingByte >> (8 - width));
    s.pendingByte = static_cast<uint8_t>(s.pendingByte << width);
    s.pendingCount = static_cast<uint8_t>(s.pendingCount - width);
    return true;
  }
  int needed = width;
  if (s.pendingCount > 0) {
    code = static_cast<uint32_t>(s.pendingByte >> (8 - s.pendingCount));
    needed -= s.pendingCount;
  }
  s.pendingByte = 0;
  s.pendingCount = 0;
  uint8_t byte;
  while (needed >= 8) {
    if (!TakeByte(byte)) return false;
    code = (code << 8) | byte;
    needed -= 8;
  }
  if (needed > 0) {
    if (!TakeByte(byte)) return false;
    code = (code << needed) | static_cast<uint32_t>(byte >> (8 - needed));
    s.pendingByte = static_cast<uint8_t>(byte << needed);
    s.pendingCount = static_cast<uint8_t>(8 - needed);
  }
  return true;
}

int PutCode(uint32_t code, int width) {
  CodecState& s = codecState;
  if (width < 0 || width > 32) return 0;
  if (width < 32) code &= (uint32_t{1} << width) - 1;
  int t = width + s.pendingCount - 8;
  if (t < 0) {
    s.pendingByte = static_cast<uint8_t>(s.pendingByte | (code << -t));
    s.pendingCount = static_cast<uint8_t>(s.pendingCount + width);
    return 1;
  }
  uint8_t finished = static_cast<uint8_t>(s.pendingByte | ((code >> t) & 0xFF));
  if (!WriteByte(finished)) return 0;
  int remaining = t;
  while (remaining >= 8) {
    if (!WriteByte(static_cast<uint8_t>((code >> (remaining - 8)) & 0xFF))) return 0;
    remaining -= 8;
  }
  s.pendingByte = static_cast<uint8_t>((code << (8 - remaining)) & 0xFF);
  s.pendingCount = static_cast<uint8_t>(remaining);
  return 1;
}

// The common exit of both directions: the output buffer goes to the caller
// (or is freed when the caller wants none) and the codec state is released.
int HandOverOutput(uint8_t** outData, uint32_t* outLength, int result) {
  CodecState& s = codecState;
  DetachInput();
  if (outData) {
    *outData = s.output;
  } else {
    std::free(s.output);
  }
  if (outLength) *outLength = s.outputPosition;
  s.output = nullptr;
  DictionaryRelease();
  return result;
}

}  // namespace

int Decompress(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength) {
  CodecState& s = codecState;
  s.mode = CodecDecompressing;
  if (DictionaryInit() != CodecOk) {
    DictionaryRelease();
    return CodecNoMemory;
  }
  s.input = input;
  s.inputSize = inputSize;
  s.lastInputSize = inputSize;
  s.inputBytesTaken = 0;
  s.inputTaken = false;

  s.output = static_cast<uint8_t*>(Allocate(DecompressCapacity));
  if (s.output == nullptr) {
    TellNoMemory();
    DetachInput();
    DictionaryRelease();
    return CodecNoMemory;
  }
  s.outputPosition = 0;

  int result = DecodeStream();

  return HandOverOutput(outData, outLength, result);
}

int Compress(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength) {
  CodecState& s = codecState;
  uint8_t* output = static_cast<uint8_t*>(Allocate(CompressCapacity));
  if (output == nullptr) {
    TellNoMemory();
    return CodecNoMemory;
  }
  s.mode = CodecCompressing;
  if (DictionaryInit() != CodecOk) {
    DictionaryRelease();
    std::free(output);
    return CodecNoMemory;
  }
  s.output = output;
  s.outputPosition = 0;
  s.input = input;
  s.inputSize = inputSize;
  s.lastInputSize = inputSize;
  s.lastCompressInputSize = inputSize;
  s.inputBytesTaken = 0;
  s.inputTaken = false;

  int result = EncodeStream();

  // Always fits: WriteByte never lets staging and output together pass the buffer.
  MoveStagingToOutput();
  if (result == CodecOk) s.lastCompressedSize = s.outputPosition;
  return HandOverOutput(outData, outLength, result);
}

int CompressVerified(const uint8_t* input, uint32_t inputSize, uint8_t** outData, uint32_t* outLength) {
  uint8_t* stream = nullptr;
  uint32_t streamLength = 0;
  int result = Compress(input, inputSize, &stream, &streamLength);
  if (result == CodecOk) {
    uint8_t* decoded = nullptr;
    uint32_t decodedLength = 0;
    const int back = Decompress(stream, streamLength, &decoded, &decodedLength);
    if (back != CodecOk || decodedLength != inputSize || std::memcmp(decoded, input, inputSize) != 0) {
      result = CodecNotVerified;
    }
    std::free(decoded);
  }
  if (result != CodecOk) {
    std::free(stream);
    return result;
  }
  *outData = stream;
  *outLength = streamLength;
  return CodecOk;
}

uint32_t CodecInputSize() { return codecState.lastInputSize; }
uint32_t CodecInputTaken() { return codecState.inputBytesTaken; }
uint32_t CompressInputSize() { return codecState.lastCompressInputSize; }
uint32_t CompressedSize() { return codecState.lastCompressedSize; }

void SetCodecNotice(CodecNoticeFunction notice) { codecNotice = notice; }
void SetCodecAllocator(CodecAllocateFunction allocate) { codecAllocate = allocate; }
