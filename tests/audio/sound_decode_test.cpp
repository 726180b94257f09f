// The sound decoders on files written here: WAVE shapes that must load with their exact
// samples, broken WAVE files that must give none without reading or allocating past their
// end, and Ogg Vorbis streams encoded on the spot.
#include "audio/sound_decode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "audio/sound_fixtures.h"

namespace {

struct Decoded {
    unsigned char* data = nullptr;
    int length = -1, channels = -1, format = -1, hertz = -1;
    ~Decoded() { std::free(data); }
};

// The reader sees exactly the file's bytes in a heap block of that size, so AddressSanitizer
// catches a read one past the end.
void decode_from_memory(const Bytes& file, Decoded* out) {
    std::unique_ptr<unsigned char[]> exact(new unsigned char[file.size() ? file.size() : 1]);
    if (!file.empty()) std::memcpy(exact.get(), file.data(), file.size());
    out->data = LoadWAVFromMemory(exact.get(), file.size(), &out->length, &out->channels, &out->format, &out->hertz);
}

using FileLoader = unsigned char* (*)(FILE*, int*, int*, int*, int*);

void decode_from_file(FileLoader load, const Bytes& file, Decoded* out) {
    FILE* handle = std::tmpfile();
    ASSERT_NE(handle, nullptr);
    if (!file.empty()) std::fwrite(file.data(), 1, file.size(), handle);
    std::rewind(handle);
    out->data = load(handle, &out->length, &out->channels, &out->format, &out->hertz);
    // The decoders leave the file open for the caller.
    EXPECT_EQ(std::fclose(handle), 0);
}

Bytes counting_bytes(size_t count) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    return bytes;
}

struct GoodWave {
    const char* name;
    WaveShape shape;
    size_t data_bytes;
    int want_length;
};

const GoodWave kGoodWaves[] = {
    {"8-bit mono", {.channels = 1, .bits = 8, .hertz = 11025}, 100, 100},
    {"16-bit stereo with a LIST chunk", {.channels = 2, .bits = 16, .hertz = 44100, .list_size = 26}, 4000, 1000},
    {"18-byte format chunk", {.channels = 1, .bits = 16, .hertz = 22050, .format_extra = 2}, 64, 32},
    {"odd LIST chunk with its pad byte", {.channels = 1, .bits = 8, .hertz = 8000, .list_size = 5}, 10, 10},
    {"odd format chunk with its pad byte", {.channels = 2, .bits = 8, .hertz = 8000, .format_extra = 3}, 10, 5},
    {"data cut mid-frame keeps whole frames", {.channels = 2, .bits = 16, .hertz = 22050}, 4003, 1000},
    {"24-bit loads as format 3", {.channels = 1, .bits = 24, .hertz = 48000}, 30, 10},
    {"empty data chunk", {.channels = 1, .bits = 16, .hertz = 22050}, 0, 0},
};

TEST(WaveReader, LoadsEveryWellFormedShapeWithItsExactSamples) {
    for (const GoodWave& c : kGoodWaves) {
        SCOPED_TRACE(c.name);
        Bytes data = counting_bytes(c.data_bytes);
        Bytes file = wave_file(c.shape, data);
        Decoded from_memory, from_file;
        decode_from_memory(file, &from_memory);
        decode_from_file(LoadWAV, file, &from_file);
        for (Decoded* d : {&from_memory, &from_file}) {
            ASSERT_NE(d->data, nullptr);
            EXPECT_EQ(d->length, c.want_length);
            EXPECT_EQ(d->channels, c.shape.channels);
            EXPECT_EQ(d->format, c.shape.bits / 8);
            EXPECT_EQ(d->hertz, c.shape.hertz);
            size_t bytes = size_t(d->length) * d->channels * d->format;
            if (bytes) {
                EXPECT_EQ(std::memcmp(d->data, data.data(), bytes), 0);
            }
        }
    }
}

TEST(WaveReader, ReadsFromTheFilesCurrentPosition) {
    Bytes file = counting_bytes(9);
    Bytes wave = wave_file({.channels = 1, .bits = 8, .hertz = 8000}, counting_bytes(12));
    file.insert(file.end(), wave.begin(), wave.end());
    FILE* handle = std::tmpfile();
    ASSERT_NE(handle, nullptr);
    std::fwrite(file.data(), 1, file.size(), handle);
    std::fseek(handle, 9, SEEK_SET);
    Decoded d;
    d.data = LoadWAV(handle, &d.length, &d.channels, &d.format, &d.hertz);
    std::fclose(handle);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.length, 12);
}

// A plain 16-bit mono file to break in one place at a time.
Bytes plain_wave() { return wave_file({.channels = 1, .bits = 16, .hertz = 22050}, counting_bytes(40)); }

Bytes with_u32(Bytes file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
    return file;
}

Bytes with_u16(Bytes file, size_t at, uint32_t value) {
    file[at] = value & 0xff;
    file[at + 1] = value >> 8 & 0xff;
    return file;
}

Bytes cut(Bytes file, size_t keep) {
    file.resize(keep);
    return file;
}

// Offsets in plain_wave(): RIFF 0, WAVE 8, "fmt " 12, its size 16, compression 20, channels 22,
// rate 24, bits 34, "data" 36, data size 40, samples 44.
struct BrokenWave {
    const char* name;
    Bytes file;
};

std::vector<BrokenWave> broken_waves() {
    Bytes plain = plain_wave();
    Bytes list_first = RiffWriter().tag("RIFF").u32(100).tag("WAVE").tag("LIST").u32(4).tag("INFO").bytes;
    Bytes tail(plain.begin() + 12, plain.end());
    list_first.insert(list_first.end(), tail.begin(), tail.end());

    Bytes huge_list = RiffWriter().tag("RIFF").u32(100).tag("WAVE").bytes;
    Bytes format_chunk(plain.begin() + 12, plain.begin() + 36);
    huge_list.insert(huge_list.end(), format_chunk.begin(), format_chunk.end());
    RiffWriter after_format;
    after_format.tag("LIST").u32(0xfffffff0).fill(8, 'x').tag("data").u32(4).fill(4, 1);
    huge_list.insert(huge_list.end(), after_format.bytes.begin(), after_format.bytes.end());

    Bytes unpadded = RiffWriter().tag("RIFF").u32(100).tag("WAVE").bytes;
    unpadded.insert(unpadded.end(), format_chunk.begin(), format_chunk.end());
    RiffWriter odd;
    odd.tag("LIST").u32(3).fill(3, 'x').tag("data").u32(4).fill(4, 1);
    unpadded.insert(unpadded.end(), odd.bytes.begin(), odd.bytes.end());

    return {
        {"empty file", {}},
        {"not RIFF", with_u32(plain, 0, 0x46464952u + 1)},
        {"not WAVE", with_u32(plain, 8, 0x45564157u + 1)},
        {"first chunk is not fmt", list_first},
        {"compressed (not PCM)", with_u16(plain, 20, 2)},
        {"zero channels", with_u16(plain, 22, 0)},
        {"zero bits per sample", with_u16(plain, 34, 0)},
        {"four bits per sample", with_u16(plain, 34, 4)},
        {"zero sample rate", with_u32(plain, 24, 0)},
        {"sample rate beyond an int", with_u32(plain, 24, 0x80000000u)},
        {"format chunk under 16 bytes", with_u32(plain, 16, 14)},
        {"format chunk larger than the file", with_u32(plain, 16, 0x7ffffff0)},
        {"data chunk larger than the file", with_u32(plain, 40, 41)},
        {"data chunk of 4 GiB", with_u32(plain, 40, 0xffffffffu)},
        {"chunk larger than the rest of the file", huge_list},
        {"odd chunk without its pad byte", unpadded},
        {"no data chunk", cut(plain, 36)},
        {"cut inside the data chunk header", cut(plain, 42)},
        {"cut inside the format chunk", cut(plain, 30)},
        {"cut inside the samples", cut(plain, 60)},
    };
}

TEST(WaveReader, RefusesBrokenFilesWithoutReadingPastThem) {
    for (const BrokenWave& c : broken_waves()) {
        SCOPED_TRACE(c.name);
        Decoded from_memory, from_file;
        decode_from_memory(c.file, &from_memory);
        decode_from_file(LoadWAV, c.file, &from_file);
        EXPECT_EQ(from_memory.data, nullptr);
        EXPECT_EQ(from_file.data, nullptr);
        // Nothing is reported for a file that did not load.
        EXPECT_EQ(from_memory.length, -1);
        EXPECT_EQ(from_file.length, -1);
    }
}

double rms16(const Decoded& d) {
    const auto* samples = reinterpret_cast<const int16_t*>(d.data);
    double sum = 0;
    int count = d.length * d.channels;
    for (int i = 0; i < count; ++i) sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / count) : 0;
}

TEST(OggReader, DecodesAMonoStreamToSixteenBitSamples) {
    const int frames = 11025;
    Decoded d;
    decode_from_file(LoadOGG, sine_ogg(frames, 22050, 440, 0.5f), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.format, 2);
    EXPECT_EQ(d.hertz, 22050);
    EXPECT_EQ(d.length, frames);
    // A sine of amplitude 0.5 has an RMS of 0.5 / sqrt(2) of full scale.
    EXPECT_NEAR(rms16(d), 0.5 / std::sqrt(2.0) * 32767, 1500);
}

TEST(OggReader, DecodesStreamsLongerThanItsFirstBlock) {
    const int frames = 22050 * 3;
    Decoded d;
    decode_from_file(LoadOGG, sine_ogg(frames, 22050, 220, 0.25f), &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.length, frames);
    EXPECT_NEAR(rms16(d), 0.25 / std::sqrt(2.0) * 32767, 1000);
}

TEST(OggReader, RefusesWhatIsNotOggVorbis) {
    Bytes ogg = sine_ogg(4000, 22050, 440, 0.5f);
    const BrokenWave cases[] = {
        {"empty file", {}},
        {"a WAVE file", plain_wave()},
        {"only the first page", cut(ogg, 58)},
    };
    for (const BrokenWave& c : cases) {
        SCOPED_TRACE(c.name);
        Decoded d;
        decode_from_file(LoadOGG, c.file, &d);
        EXPECT_EQ(d.data, nullptr);
    }
}

}  // namespace
