// Image decoding: the file's own channel count comes back as the depth, the pixels are plain
// malloc memory counted as external bytes, and data that is no image (or promises an absurd
// size) gives none.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>

#include "graphics/image_decode.h"
#include "runtime/gc.h"
#include "test_host.h"

namespace {

struct DepthCase {
    int channels;
    const char* what;
};
const DepthCase kDepths[] = {{1, "grey"}, {2, "grey with alpha"}, {3, "RGB"}, {4, "RGBA"}};

std::vector<unsigned char> gradient(int w, int h, int channels) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
    return pixels;
}

TEST(ImageDecodeTest, DepthIsTheFilesOwnChannelCount) {
    for (const DepthCase& c : kDepths) {
        std::vector<unsigned char> pixels = gradient(5, 3, c.channels);
        std::vector<unsigned char> png = png_bytes(5, 3, c.channels, pixels);
        int w = 0, h = 0, depth = 0;
        unsigned char* decoded = LoadImageMemory(png.data(), png.size(), &w, &h, &depth);
        ASSERT_NE(decoded, nullptr) << c.what;
        EXPECT_EQ(w, 5) << c.what;
        EXPECT_EQ(h, 3) << c.what;
        EXPECT_EQ(depth, c.channels) << c.what;
        EXPECT_EQ(0, std::memcmp(decoded, pixels.data(), pixels.size())) << c.what;
        std::free(decoded);
    }
}

TEST(ImageDecodeTest, FileDecodingCountsThePixelsAsExternalBytes) {
    std::string folder = make_temp_folder();
    std::string path = folder + "/grey_alpha.png";
    write_file(path, png_bytes(8, 4, 2, gradient(8, 4, 2)));
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    int before = gc_ext_new_bytes.load();
    int w = 0, h = 0, depth = 0;
    unsigned char* decoded = LoadImageFile(file, &w, &h, &depth);
    std::fclose(file);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(depth, 2);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 8 * 4 * 2);
    std::free(decoded);
}

TEST(ImageDecodeTest, DataThatIsNoImageGivesNone) {
    std::vector<unsigned char> png = png_bytes(4, 4, 4, gradient(4, 4, 4));
    std::vector<unsigned char> cut(png.begin(), png.begin() + png.size() / 2);
    std::vector<unsigned char> corrupt = png;
    for (size_t i = 40; i < corrupt.size(); ++i) corrupt[i] ^= 0x5A;
    // The first chunk after the signature and the 25-byte header chunk holds the pixel data;
    // here it claims nearly 2 GiB.
    std::vector<unsigned char> long_chunk = png;
    const unsigned char claim[4] = {0x7F, 0xFF, 0xFF, 0xF0};
    std::copy(claim, claim + 4, long_chunk.begin() + 33);
    const unsigned char text[] = "this is not an image at all";
    struct Hostile {
        const char* what;
        const unsigned char* bytes;
        size_t count;
    };
    const Hostile cases[] = {
        {"empty", text, 0},
        {"text", text, sizeof text},
        {"cut short", cut.data(), cut.size()},
        {"corrupt data", corrupt.data(), corrupt.size()},
        {"data chunk longer than the file", long_chunk.data(), long_chunk.size()},
    };
    int before = gc_ext_new_bytes.load();
    for (const Hostile& c : cases) {
        int w = 0, h = 0, depth = 0;
        EXPECT_EQ(LoadImageMemory(c.bytes, c.count, &w, &h, &depth), nullptr) << c.what;
    }
    EXPECT_EQ(gc_ext_new_bytes.load(), before);
    int w = 0, h = 0, depth = 0;
    EXPECT_EQ(LoadImageFile(nullptr, &w, &h, &depth), nullptr);
    ASSERT_EQ(std::memcmp(&png[37], "IDAT", 4), 0);
}

TEST(ImageDecodeTest, HeaderPromisingAHugeImageIsRefusedBeforeDecoding) {
    std::vector<unsigned char> png = png_bytes(1, 1, 1, {0});
    // Width and height are bytes 16..23, in the header chunk; chunk checksums are not
    // checked by the decoder, so the promised size is all that differs.
    const unsigned char huge[8] = {0, 0, 0x40, 0, 0, 0, 0x40, 0};  // 16384 x 16384
    std::copy(huge, huge + 8, png.begin() + 16);
    int w = 0, h = 0, depth = 0;
    EXPECT_EQ(LoadImageMemory(png.data(), png.size(), &w, &h, &depth), nullptr);
}

}  // namespace
