// Large files a program carries compressed with the quizzes' own codec: the
// editor that runs in a browser carries the player and the page template
// so. The codec takes at most 65,535 bytes in and writes at most 32,768, so
// a file goes in pieces: each one a codec stream after its length (two
// bytes, least significant first).
#pragma once
#include <cstddef>

#include "quiz_payloads.h"  // Bytes

// Larger files are no player or page template.
const size_t MaxCarriedBytes = 16 << 20;

// The pieces of bytes; false when the codec fails (it never should).
bool PackPieces(const Bytes& bytes, Bytes& packed);

// The bytes of packed pieces, at most limit of them; false for pieces that
// are not whole codec streams, or that would pass the limit.
bool UnpackPieces(const Bytes& packed, size_t limit, Bytes& bytes);
