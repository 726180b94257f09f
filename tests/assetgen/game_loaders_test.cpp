// Every generated file through the game's own loaders: each image decodes at the size the
// asset table gives at every level, each effect through the WAVE reader as 16-bit PCM, and
// each tune through the Ogg Vorbis decoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "asset_table.h"
#include "assetgen/data_files.h"
#include "audio/sound_decode.h"
#include "graphics/image_decode.h"

namespace {

using assetgen::kImages;
using assetgen::kLevels;

struct Sound {
    unsigned char* samples = nullptr;
    int length = 0, channels = 0, format = 0, hertz = 0;
    ~Sound() { std::free(samples); }
};

using SoundDecoder = unsigned char* (*)(FILE*, int*, int*, int*, int*);

// Decodes the data file at `relative` with one of the game's sound decoders.
void decode(const std::string& relative, SoundDecoder decoder, Sound& sound) {
    FILE* file = std::fopen(data_path(relative).c_str(), "rb");
    ASSERT_NE(file, nullptr) << relative;
    sound.samples = decoder(file, &sound.length, &sound.channels, &sound.format, &sound.hertz);
    std::fclose(file);
    ASSERT_NE(sound.samples, nullptr) << relative;
}

TEST(GameLoaders, EveryImageLoadsAtItsTableSize) {
    for (const auto& asset : kImages) {
        for (const auto& level : kLevels) {
            if (level.scale > 1 && !asset.has_hd) continue;
            std::string path = data_path(image_file(asset, level));
            FILE* file = std::fopen(path.c_str(), "rb");
            ASSERT_NE(file, nullptr) << path;
            int width = 0, height = 0, depth = 0;
            unsigned char* pixels = LoadImageFile(file, &width, &height, &depth);
            std::fclose(file);
            ASSERT_NE(pixels, nullptr) << path;
            EXPECT_EQ(width, sheet_width(asset, level.scale)) << path;
            EXPECT_EQ(height, sheet_height(asset, level.scale)) << path;
            EXPECT_EQ(depth, 4) << path;
            std::free(pixels);
        }
    }
}

TEST(GameLoaders, EveryEffectLoadsThroughTheWaveReader) {
    for (int number : assetgen::kSounds) {
        Sound sound;
        std::string name = assetgen::sound_file(number);
        decode(name, LoadWAV, sound);
        EXPECT_EQ(sound.format, 2) << name;
        EXPECT_EQ(sound.channels, 1) << name;
        EXPECT_EQ(sound.hertz, assetgen::kSampleRate) << name;
        EXPECT_GT(sound.length, sound.hertz / 50) << name;
    }
}

TEST(GameLoaders, EveryTuneLoadsThroughTheVorbisDecoder) {
    for (const auto& tune : assetgen::kTunes) {
        Sound sound;
        std::string name = std::string("sfx/") + tune.name + ".ogg";
        decode(name, LoadOGG, sound);
        EXPECT_EQ(sound.format, 2) << name;
        EXPECT_EQ(sound.hertz, assetgen::kMusicRate) << name;
        double seconds = double(sound.length) / sound.hertz;
        EXPECT_GE(seconds, tune.min_seconds) << name;
        EXPECT_LE(seconds, tune.max_seconds) << name;
    }
}

}  // namespace
