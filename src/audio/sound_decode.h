// Sound file decoding: RIFF WAVE with uncompressed PCM and Ogg Vorbis, each read whole into
// interleaved samples (format 1: unsigned 8-bit, 2: signed 16-bit little-endian). The block
// comes from malloc and belongs to the caller, who frees it with free().
#pragma once

#include <cstddef>
#include <cstdio>

// Both decoders read from the file's current position and leave it open. On success they set
// length (sample frames), channels, format (bytes per sample) and hertz, and the block holds
// length * channels * format bytes; on any failure they return null. They do not report the
// block to the collector (no gc_ext_malloced): whoever hands it on does the counting once.
unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);

// The WAVE reader over bytes already in memory: the same reader LoadWAV uses once it has the
// file's bytes. Never reads outside bytes[0, size).
unsigned char* LoadWAVFromMemory(const unsigned char* bytes, size_t size, int* length, int* channels, int* format,
                                 int* hertz);
