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
        std::string path = data_path(assetgen::sound_file(number));
        FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr) << path;
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* samples = LoadWAV(file, &length, &channels, &format, &hertz);
        std::fclose(file);
        ASSERT_NE(samples, nullptr) << path;
        EXPECT_EQ(format, 2) << path;
        EXPECT_EQ(channels, 1) << path;
        EXPECT_EQ(hertz, assetgen::kSampleRate) << path;
        EXPECT_GT(length, hertz / 50) << path;
        std::free(samples);
    }
}

TEST(GameLoaders, EveryTuneLoadsThroughTheVorbisDecoder) {
    for (const auto& tune : assetgen::kTunes) {
        std::string path = data_path(std::string("sfx/") + tune.name + ".ogg");
        FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr) << path;
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* samples = LoadOGG(file, &length, &channels, &format, &hertz);
        std::fclose(file);
        ASSERT_NE(samples, nullptr) << path;
        EXPECT_EQ(format, 2);
        EXPECT_EQ(hertz, assetgen::kMusicRate);
        double seconds = double(length) / hertz;
        EXPECT_GE(seconds, tune.min_seconds) << path;
        EXPECT_LE(seconds, tune.max_seconds) << path;
        std::free(samples);
    }
}

}  // namespace
