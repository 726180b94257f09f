// Image file decoding into 8-bit pixels with the file's own channel count. No OpenGL and no
// host here: the host's image loader and the fuzzer both come through these two entries, and
// a file is read whole and decoded from memory, so both take exactly the same road.
#pragma once

#include <cstddef>
#include <cstdio>

// Pixels (width * height * depth bytes, rows top-down, depth 1 to 4) in a heap buffer that the
// caller owns and releases with free(), or null when the data is not a decodable image. The
// size of a returned buffer is reported to the collector as external memory.
unsigned char* LoadImageFile(FILE* file, int* width, int* height, int* depth);
unsigned char* LoadImageMemory(const unsigned char* bytes, size_t count, int* width, int* height, int* depth);

// Images whose pixel count exceeds this (4096 x 4096, far above any game image) are refused
// before any pixel memory is claimed.
constexpr long long kMaxImagePixels = 4096LL * 4096LL;
