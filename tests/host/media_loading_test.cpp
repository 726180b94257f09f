// The host's image and sound loaders: the decoder is picked by the file's ending in any case,
// unknown endings and missing files give nothing, and a decoded sound block is reported to
// the collector exactly once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fake_system.h"
#include "host/glfw_game.h"
#include "scratch_folder.h"

namespace {

// A RIFF WAVE file: mono, 16-bit, 8000 Hz, with `frames` sample frames of silence.
std::string wave_file(int frames) {
    auto u32 = [](unsigned v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](unsigned v) { return std::string{char(v), char(v >> 8)}; };
    std::string data(frames * 2, '\0');
    std::string format = u16(1) + u16(1) + u32(8000) + u32(16000) + u16(2) + u16(16);
    std::string body = "WAVE" + std::string("fmt ") + u32(16) + format + "data" + u32(data.size()) + data;
    return "RIFF" + u32(body.size()) + body;
}

class MediaLoading : public ::testing::Test {
protected:
    FakeSystem system;
    KvGlfwGame host{&system};
    ScratchFolder folder;
    int length = 0, channels = 0, format = 0, hertz = 0;

    unsigned char* load_sound(const char* name) {
        return host.LoadAudioData(String(name), &length, &channels, &format, &hertz);
    }
};

TEST_F(MediaLoading, DecodesWaveFilesWhateverTheCaseOfTheirEnding) {
    ScratchFolder::write("beep.WAV", wave_file(100));
    int before = gc_ext_new_bytes.load();
    unsigned char* samples = load_sound("beep.WAV");
    ASSERT_NE(samples, nullptr);
    EXPECT_EQ(length, 100);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(format, 2);
    EXPECT_EQ(hertz, 8000);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 200) << "counted once, by the host";
    std::free(samples);
}

TEST_F(MediaLoading, UnknownEndingsAndMissingFilesGiveNothing) {
    ScratchFolder::write("beep.mp3", wave_file(10));
    ScratchFolder::write("beep.ogg", wave_file(10));
    int before = gc_ext_new_bytes.load();
    EXPECT_EQ(load_sound("beep.mp3"), nullptr);
    EXPECT_EQ(load_sound("beep.ogg"), nullptr) << "a WAVE file is no Ogg Vorbis stream";
    EXPECT_EQ(load_sound("gone.wav"), nullptr);
    EXPECT_EQ(gc_ext_new_bytes.load(), before);
}

TEST_F(MediaLoading, DecodesImagesThroughTheHost) {
    ScratchFolder::write("dot.pgm", std::string("P5 2 1 255\n") + char(0x40) + char(0x80));
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = host.LoadImageData(String("dot.pgm"), &width, &height, &depth);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(pixels[1], 0x80);
    std::free(pixels);
    EXPECT_EQ(host.LoadImageData(String("gone.png"), &width, &height, &depth), nullptr);
}

}  // namespace
