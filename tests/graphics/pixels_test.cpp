// The renderer, surfaces and drawing API against a real OpenGL context (Mesa under Xvfb):
// each primitive lands on the pixels it should, blending gives the right colours, the scissor
// clips, sprites turn about their handles, and textures come back after the window is re-made.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#include "graphics/drawing.h"
#include "graphics/surface.h"
#include "test_host.h"

namespace {

void expect_rgb(const Rgb& got, const Rgb& want, const char* what, int tolerance = 1) {
    EXPECT_NEAR(got.r, want.r, tolerance) << what;
    EXPECT_NEAR(got.g, want.g, tolerance) << what;
    EXPECT_NEAR(got.b, want.b, tolerance) << what;
}

const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0};

class PixelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        kv_graphics_InitGlobals();
        device = new gxtkGraphics;
        kv_graphics_SetGraphicsDevice(device);
        begin_frame();
    }

    void begin_frame() {
        device->BeginRender();
        kv_graphics_BeginRender();
        device->Cls(0, 0, 0);
    }

    void end_frame() {
        kv_graphics_EndRender();
        device->EndRender();
    }

    // A surface whose left half is red and right half green, all opaque.
    gxtkSurface* red_green_surface(int w, int h) {
        auto* pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(w) * h * 4));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                unsigned char* p = pixels + (y * w + x) * 4;
                bool left = x < w / 2;
                p[0] = left ? 255 : 0;
                p[1] = left ? 0 : 255;
                p[2] = 0;
                p[3] = 255;
            }
        }
        gxtkSurface* surface = new gxtkSurface;
        surface->SetData(pixels, w, h, 4);
        return surface;
    }

    TestHost host;
    TestWindow window;
    gxtkGraphics* device = nullptr;
};

TEST_F(PixelsTest, PrimitivesLandOnTheirPixels) {
    device->DrawPoint(5, 6);
    device->DrawLine(10, 100, 50, 100);
    device->DrawRect(100, 20, 30, 40);
    device->DrawOval(200, 100, 40, 20);
    device->DrawPoly(Array<float>{300, 300, 340, 300, 300, 340});
    device->Flush();
    struct Probe {
        int x, y;
        Rgb want;
        const char* what;
    };
    const Probe probes[] = {
        {5, 6, kWhite, "point"},          {6, 6, kBlack, "right of point"},  {5, 7, kBlack, "below point"},
        {30, 100, kWhite, "line"},         {30, 99, kBlack, "above line"},    {30, 101, kBlack, "below line"},
        {100, 20, kWhite, "rect top-left"}, {129, 59, kWhite, "rect bottom-right"},
        {99, 20, kBlack, "left of rect"},   {130, 20, kBlack, "right of rect"}, {100, 60, kBlack, "below rect"},
        {100, 19, kBlack, "above rect"},    {220, 110, kWhite, "oval centre"}, {238, 110, kWhite, "oval right"},
        {202, 101, kBlack, "outside the oval's corner"},                    {220, 98, kBlack, "above the oval"},
        {305, 305, kWhite, "triangle"},     {335, 335, kBlack, "beyond the triangle's slope"},
    };
    for (const Probe& p : probes) expect_rgb(read_pixel(p.x, p.y), p.want, p.what, 0);
}

TEST_F(PixelsTest, MatrixMovesPrimitives) {
    kv_graphics_Translate(10, 20);
    kv_graphics_Scale(2, 2);
    kv_graphics_DrawRect(1, 1, 5, 5);
    device->Flush();
    expect_rgb(read_pixel(12, 22), kWhite, "top-left corner of the moved rect", 0);
    expect_rgb(read_pixel(21, 31), kWhite, "bottom-right corner", 0);
    expect_rgb(read_pixel(11, 22), kBlack, "left of it", 0);
    expect_rgb(read_pixel(22, 22), kBlack, "right of it", 0);
}

TEST_F(PixelsTest, PremultipliedAlphaAndAdditiveBlending) {
    device->Cls(0, 0, 255);
    kv_graphics_SetColor(255, 0, 0);
    kv_graphics_SetAlpha(0.5f);
    kv_graphics_DrawRect(0, 0, 10, 10);
    kv_graphics_SetBlend(1);
    kv_graphics_SetColor(0, 200, 0);
    kv_graphics_SetAlpha(1);
    kv_graphics_DrawRect(20, 0, 10, 10);
    kv_graphics_DrawRect(20, 0, 10, 10);
    kv_graphics_SetBlend(2);  // anything but 1 is alpha blending
    kv_graphics_SetColor(255, 255, 255);
    kv_graphics_SetAlpha(0.25f);
    kv_graphics_DrawRect(40, 0, 10, 10);
    kv_graphics_SetAlpha(-1);  // a negative alpha draws nothing
    kv_graphics_DrawRect(60, 0, 10, 10);
    device->Flush();
    expect_rgb(read_pixel(5, 5), {127, 0, 128}, "half red over blue");
    expect_rgb(read_pixel(25, 5), {0, 255, 255}, "green added twice, saturated");
    expect_rgb(read_pixel(45, 5), {63, 63, 255}, "quarter white over blue");
    expect_rgb(read_pixel(65, 5), {0, 0, 255}, "negative alpha");
}

TEST_F(PixelsTest, ScissorClipsWithATopLeftOrigin) {
    kv_graphics_SetScissor(10, 20, 30, 40);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    kv_graphics_DrawRect(0, 0, 640, 480);
    device->Flush();
    expect_rgb(read_pixel(10, 20), kWhite, "scissor top-left", 0);
    expect_rgb(read_pixel(39, 59), kWhite, "scissor bottom-right", 0);
    expect_rgb(read_pixel(9, 20), kBlack, "left of the box", 0);
    expect_rgb(read_pixel(10, 19), kBlack, "above the box", 0);
    expect_rgb(read_pixel(40, 59), kBlack, "right of the box", 0);
    expect_rgb(read_pixel(39, 60), kBlack, "below the box", 0);
    kv_graphics_SetScissor(0, 0, 640, 480);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(PixelsTest, ReadPixelsGivesArgbRowsTopFirst) {
    kv_graphics_SetColor(255, 0, 0);
    kv_graphics_DrawRect(0, 0, 2, 1);
    kv_graphics_SetColor(0, 0, 255);
    kv_graphics_DrawRect(0, 1, 2, 1);
    Array<int> pixels(10);
    device->ReadPixels(pixels, 0, 0, 2, 2, 1, 4);
    EXPECT_EQ(unsigned(pixels[1]) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(unsigned(pixels[2]) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(unsigned(pixels[5]) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(pixels[3], 0);
}

TEST_F(PixelsTest, RotatedScaledSpriteTurnsAboutItsHandle) {
    c_Image* image = kv_graphics_CreateImage(20, 10, 1, c_Image::CenterHandle);
    Array<int> argb(200);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) argb[y * 20 + x] = int(x < 10 ? 0xFFFF0000u : 0xFF00FF00u);
    }
    device->WritePixels2(image->m_surface, argb, 0, 0, 20, 10, 0, 20);
    // Scaled 2x to 40 x 20 and turned a quarter counter-clockwise: the red left half now
    // lies below the handle at (100, 100), the green right half above, 10 pixels each side.
    kv_graphics_DrawImage2(image, 100, 100, 90, 2, 2, 0);
    device->Flush();
    expect_rgb(read_pixel(100, 115), kRed, "below the handle");
    expect_rgb(read_pixel(95, 82), kGreen, "above the handle");
    expect_rgb(read_pixel(112, 100), kBlack, "right of the turned sprite");
    expect_rgb(read_pixel(100, 122), kBlack, "below the turned sprite");
    expect_rgb(read_pixel(91, 119), kRed, "bottom-left corner inside");
}

TEST_F(PixelsTest, TextureIsRemadeFromItsCopyAfterTheWindowIsReopened) {
    gxtkSurface* surface = red_green_surface(8, 4);
    device->DrawSurface(surface, 10, 10);
    device->Flush();
    expect_rgb(read_pixel(11, 11), kRed, "first context, left");
    expect_rgb(read_pixel(16, 11), kGreen, "first context, right");
    end_frame();
    int firstSeq = surface->seq;

    window.Reopen();
    begin_frame();
    expect_rgb(read_pixel(11, 11), kBlack, "new window starts cleared");
    device->DrawSurface(surface, 10, 10);
    device->Flush();
    EXPECT_EQ(surface->seq, firstSeq + 1);
    expect_rgb(read_pixel(11, 11), kRed, "second context, left");
    expect_rgb(read_pixel(16, 11), kGreen, "second context, right");
}

TEST_F(PixelsTest, DiscardingAStaleSurfaceLeavesTheNewContextsTexturesAlone) {
    gxtkSurface* stale = red_green_surface(4, 4);
    stale->Bind();
    window.Reopen();
    begin_frame();
    gxtkSurface* fresh = red_green_surface(4, 4);
    fresh->Bind();
    // Names restart in a new context, so the stale name may well be the fresh texture's.
    stale->Discard();
    EXPECT_EQ(stale->data, nullptr);
    EXPECT_TRUE(glIsTexture(fresh->texture));
    device->DrawSurface(fresh, 0, 0);
    device->Flush();
    expect_rgb(read_pixel(0, 0), kRed, "fresh texture still draws");
}

TEST_F(PixelsTest, DiscardDeletesATextureOfTheCurrentContext) {
    gxtkSurface* surface = red_green_surface(4, 4);
    surface->Bind();
    unsigned texture = surface->texture;
    ASSERT_TRUE(glIsTexture(texture));
    surface->Discard();
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(surface->seq, -1);
    EXPECT_EQ(surface->data, nullptr);
}

TEST_F(PixelsTest, RefusedSizeFallsBackToPowerOfTwoTexture) {
    gxtkSurface* surface = red_green_surface(100, 50);
    glEnable(0x7FFF);  // a pending error counts as the driver refusing the exact size
    surface->Bind();
    EXPECT_FLOAT_EQ(surface->uScale, 1.0f / 128);
    EXPECT_FLOAT_EQ(surface->vScale, 1.0f / 64);
    device->DrawSurface(surface, 0, 0);
    device->Flush();
    expect_rgb(read_pixel(49, 49), kRed, "last red column");
    expect_rgb(read_pixel(50, 0), kGreen, "first green column");
    expect_rgb(read_pixel(100, 0), kBlack, "past the image");
    expect_rgb(read_pixel(0, 50), kBlack, "below the image");
}

TEST_F(PixelsTest, WrittenPixelsReachABoundTextureRowByRow) {
    c_Image* image = kv_graphics_CreateImage(4, 4, 1, 0);
    Array<int> argb(4);
    for (int& p : argb) p = int(0xFF00FF00u);
    device->WritePixels2(image->m_surface, argb, 1, 1, 2, 2, 0, 2);  // narrower than the surface
    kv_graphics_DrawImage(image, 20, 20, 0);
    device->Flush();
    expect_rgb(read_pixel(21, 21), kGreen, "written pixel");
    expect_rgb(read_pixel(22, 22), kGreen, "written pixel");
}

TEST_F(PixelsTest, GreyAlphaImagesDrawPremultiplied) {
    auto* pixels = static_cast<unsigned char*>(std::malloc(2));
    pixels[0] = 255;
    pixels[1] = 128;
    gxtkSurface* surface = new gxtkSurface;
    surface->SetData(pixels, 1, 1, 2);
    device->Cls(0, 0, 0);
    device->DrawSurface2(surface, 3, 3, 0, 0, 1, 1);
    device->Flush();
    expect_rgb(read_pixel(3, 3), {128, 128, 128}, "half-transparent white over black");
}

}  // namespace
