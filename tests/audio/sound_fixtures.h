// Sound files made by the tests themselves: RIFF bytes assembled piece by piece (so a broken
// file is as easy to write as a good one), sine tones, Ogg Vorbis encoded on the spot, and
// a private temporary folder to put them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

class RiffWriter {
public:
    RiffWriter& tag(const char* four);
    RiffWriter& u16(uint32_t value);
    RiffWriter& u32(uint32_t value);
    RiffWriter& raw(const Bytes& more);
    RiffWriter& fill(size_t count, unsigned char value);
    Bytes bytes;
};

struct WaveShape {
    int channels = 1;
    int bits = 16;
    int hertz = 22050;
    int format_extra = 0;     // bytes past the 16 of a plain PCM format chunk
    int list_size = 0;        // a LIST chunk of this many bytes before the data (0: none)
    int compression = 1;
};

// "RIFF" .. "WAVE", the format chunk, the optional LIST chunk (padded when odd), "data".
Bytes wave_file(const WaveShape& shape, const Bytes& data);

// 16-bit little-endian samples of a sine tone, the same on every channel.
Bytes sine_pcm16(int frames, int channels, float tone_hertz, int rate, float amplitude);

// Mono Ogg Vorbis of a sine tone, encoded with libvorbisenc.
Bytes sine_ogg(int frames, int rate, float tone_hertz, float amplitude);

// A fresh folder per test process, removed at exit.
std::string temp_path(const std::string& name);
void write_file(const std::string& path, const Bytes& bytes);
