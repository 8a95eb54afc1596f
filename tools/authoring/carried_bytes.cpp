#include "carried_bytes.h"

#include <cstdlib>

#include "codec.h"

namespace {

// The largest piece first; a piece that compresses past the codec's buffer
// (bytes that do not repeat) is tried again at half its size.
const size_t FirstPieceSize = 49152;
const size_t SmallestPieceSize = 1024;

}  // namespace

bool PackPieces(const Bytes& bytes, Bytes& packed) {
  packed.clear();
  for (size_t at = 0, size = FirstPieceSize; at < bytes.size();) {
    const size_t piece = std::min(size, bytes.size() - at);
    uint8_t* stream = nullptr;
    uint32_t length = 0;
    const int result = CompressVerified(bytes.data() + at, static_cast<uint32_t>(piece), &stream, &length);
    if (result == CodecCodeRefused && size > SmallestPieceSize) {
      size /= 2;
      continue;
    }
    if (result != CodecOk) return false;
    packed.push_back(static_cast<uint8_t>(length));
    packed.push_back(static_cast<uint8_t>(length >> 8));
    packed.insert(packed.end(), stream, stream + length);
    std::free(stream);
    at += piece;
    size = FirstPieceSize;
  }
  return true;
}

bool UnpackPieces(const Bytes& packed, size_t limit, Bytes& bytes) {
  bytes.clear();
  for (size_t at = 0; at < packed.size();) {
    if (packed.size() - at < 2) return false;
    const size_t length = packed[at] | size_t{packed[at + 1]} << 8;
    at += 2;
    if (length == 0 || length > packed.size() - at || length > CompressCapacity) return false;
    uint8_t* piece = nullptr;
    uint32_t pieceLength = 0;
    const int result = Decompress(packed.data() + at, static_cast<uint32_t>(length), &piece, &pieceLength);
    const bool fits = result == CodecOk && pieceLength <= limit - bytes.size();
    if (fits) bytes.insert(bytes.end(), piece, piece + pieceLength);
    std::free(piece);
    if (!fits) return false;
    at += length;
  }
  return true;
}
