// The CPU side of surfaces: premultiplication when pixels are given whole or written in
// rectangles, which formats accept written pixels, the power-of-two sizes of the fallback,
// and discarding. Textures are not made here (no context exists: glfwGraphicsSeq is 0).
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/surface.h"

namespace {

unsigned char* heap_copy(const std::vector<unsigned char>& bytes) {
    auto* copy = static_cast<unsigned char*>(std::malloc(bytes.size()));
    std::memcpy(copy, bytes.data(), bytes.size());
    return copy;
}

gxtkSurface* rgba_surface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetData(heap_copy(std::vector<unsigned char>(static_cast<size_t>(w) * h * 4, 0)), w, h, 4);
    return surface;
}

TEST(SurfaceTest, SetDataPremultipliesColourChannelsOfAlphaFormats) {
    struct DataCase {
        int depth;
        unsigned format;
        std::vector<unsigned char> in, want;
    };
    const DataCase cases[] = {
        {1, GL_LUMINANCE, {10, 200}, {10, 200}},
        {2, GL_LUMINANCE_ALPHA, {200, 128, 255, 0}, {100, 128, 0, 0}},
        {3, GL_RGB, {255, 128, 7, 1, 2, 3}, {255, 128, 7, 1, 2, 3}},
        {4, GL_RGBA, {255, 128, 0, 128, 255, 255, 255, 255}, {128, 64, 0, 128, 255, 255, 255, 255}},
    };
    for (const DataCase& c : cases) {
        gxtkSurface* surface = new gxtkSurface;
        surface->SetData(heap_copy(c.in), 2, 1, c.depth);
        EXPECT_EQ(surface->format, c.format) << "depth " << c.depth;
        EXPECT_EQ(std::vector<unsigned char>(surface->data, surface->data + c.want.size()), c.want) << "depth " << c.depth;
    }
}

TEST(SurfaceTest, SetSubDataStoresArgbAsPremultipliedRgba) {
    gxtkSurface* surface = rgba_surface(3, 2);
    const unsigned pixels[] = {0x80FF0000u, 0x40FF8000u, 0xFF0A141Eu, 0x00FFFFFFu};
    surface->SetSubData(1, 0, 2, 2, pixels, 2);
    const unsigned char want[2][3][4] = {
        {{0, 0, 0, 0}, {128, 0, 0, 128}, {64, 32, 0, 64}},
        {{0, 0, 0, 0}, {10, 20, 30, 255}, {0, 0, 0, 0}},
    };
    EXPECT_EQ(0, std::memcmp(surface->data, want, sizeof want));
}

TEST(SurfaceTest, SetSubDataMakesTheCopyOfAnEmptyRgbaSurface) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetSize(2, 2, 4);
    const unsigned pixels[] = {0xFF010203u};
    surface->SetSubData(1, 1, 1, 1, pixels, 1);
    ASSERT_NE(surface->data, nullptr);
    EXPECT_EQ(surface->data[12], 1);
    EXPECT_EQ(surface->data[15], 255);
}

TEST(SurfaceTest, CopyMadeAtTheFirstWriteIsReportedToTheCollectorOnce) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetSize(3, 2, 4);
    const unsigned pixels[] = {0xFF010203u};
    int before = gc_ext_new_bytes.load();
    surface->SetSubData(0, 0, 1, 1, pixels, 1);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 3 * 2 * 4);
    surface->SetSubData(1, 1, 1, 1, pixels, 1);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, 3 * 2 * 4);
}

TEST(SurfaceTest, SetSubDataIgnoresOtherFormatsAndRectanglesOutsideTheSurface) {
    gxtkSurface* rgb = new gxtkSurface;
    rgb->SetData(heap_copy({1, 2, 3, 4, 5, 6}), 2, 1, 3);
    const unsigned pixels[] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    rgb->SetSubData(0, 0, 2, 1, pixels, 2);
    EXPECT_EQ(std::vector<unsigned char>(rgb->data, rgb->data + 6), (std::vector<unsigned char>{1, 2, 3, 4, 5, 6}));

    gxtkSurface* rgba = rgba_surface(2, 2);
    struct Outside {
        int x, y, w, h;
    };
    for (const Outside& o : {Outside{1, 0, 2, 1}, Outside{0, 1, 1, 2}, Outside{-1, 0, 1, 1}, Outside{0, 0, 0, 1}}) {
        rgba->SetSubData(o.x, o.y, o.w, o.h, pixels, 2);
    }
    for (int i = 0; i < 16; ++i) EXPECT_EQ(rgba->data[i], 0) << "byte " << i;
}

TEST(SurfaceTest, TextureScalesAreKnownBeforeTheFirstTextureIsMade) {
    gxtkSurface* surface = rgba_surface(8, 4);
    EXPECT_EQ(surface->seq, -1);
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 8);
    EXPECT_FLOAT_EQ(surface->vScale, 1.0f / 4);
}

TEST(SurfaceTest, PowerOfTwoFallbackSizes) {
    const int cases[][2] = {{0, 1}, {1, 1}, {2, 2}, {3, 4}, {50, 64}, {64, 64}, {100, 128}, {1025, 2048}};
    for (const auto& c : cases) EXPECT_EQ(texture_size_for(c[0]), c[1]) << c[0];
}

TEST(SurfaceTest, DiscardReleasesTheCopyAndTouchesNoTextureWithoutAContext) {
    gxtkSurface* surface = rgba_surface(2, 2);
    surface->Bind();  // no context yet: nothing is made
    EXPECT_EQ(surface->seq, -1);
    surface->Discard();
    EXPECT_EQ(surface->data, nullptr);
    EXPECT_EQ(surface->seq, -1);
    EXPECT_TRUE(surface->Loaded());
}

}  // namespace
