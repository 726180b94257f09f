// Images: cutting surfaces into rows and grids of frames, borders, handles, the full-surface
// bit, the runtime errors of misuse, the loading functions over real PNG files and the
// default font. No window is needed: textures are only made once a context exists.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>

#include "death.h"
#include "graphics/drawing.h"
#include "graphics/image.h"
#include "graphics/surface.h"
#include "test_host.h"

namespace {

gxtkSurface* sized_surface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetSize(w, h, 4);
    return surface;
}

c_Image* new_image() { return (new c_Image)->m_new(); }

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.dataFolder = make_temp_folder();
        kv_graphics_InitGlobals();
        gxtkGraphics* device = new gxtkGraphics;
        device->gpuEnabled = false;
        kv_graphics_SetGraphicsDevice(device);
    }

    void write_png(const char* name, int w, int h, int channels, std::vector<unsigned char> pixels = {}) {
        if (pixels.empty()) pixels.assign(static_cast<size_t>(w) * h * channels, 255);
        write_file(host.dataFolder + "/" + name, png_bytes(w, h, channels, pixels));
    }

    TestHost host;
};

TEST_F(ImageTest, FontStripOfNinetySixFramesWithSideBorders) {
    c_Image* font = new_image()->p_Init(sized_surface(960, 16), 96, c_Image::BorderX);
    EXPECT_EQ(font->m_width, 8);
    EXPECT_EQ(font->m_height, 16);
    ASSERT_EQ(font->m_frames.Length(), 96);
    for (int k : {0, 1, 33, 95}) {
        EXPECT_EQ(font->m_frames[k]->m_x, 10 * k + 1) << "glyph " << k;
        EXPECT_EQ(font->m_frames[k]->m_y, 0) << "glyph " << k;
    }
}

TEST_F(ImageTest, BordersOnBothAxesShrinkTheFrameAndShiftIt) {
    c_Image* image = new_image()->p_Init(sized_surface(40, 10), 2, c_Image::BorderX | c_Image::BorderY);
    EXPECT_EQ(image->m_width, 18);
    EXPECT_EQ(image->m_height, 8);
    EXPECT_EQ(image->m_frames[1]->m_x, 21);
    EXPECT_EQ(image->m_frames[1]->m_y, 1);
}

TEST_F(ImageTest, FullSurfaceBitOnlyForOneUnborderedFrameCoveringTheSurface) {
    struct FullCase {
        const char* what;
        c_Image* (*make)();
        bool want;
    };
    const FullCase cases[] = {
        {"one frame", [] { return new_image()->p_Init(sized_surface(32, 20), 1, 0); }, true},
        {"one frame, centre handle", [] { return new_image()->p_Init(sized_surface(32, 20), 1, 1); }, true},
        {"one frame, border x", [] { return new_image()->p_Init(sized_surface(32, 20), 1, 2); }, false},
        {"one frame, border y", [] { return new_image()->p_Init(sized_surface(32, 20), 1, 4); }, false},
        {"two frames", [] { return new_image()->p_Init(sized_surface(32, 20), 2, 0); }, false},
        {"grid cell covering all",
         [] { return new_image()->p_Init2(sized_surface(16, 16), 0, 0, 16, 16, 1, 0, nullptr, 0, 0, 16, 16); }, true},
        {"grid cell off the corner",
         [] { return new_image()->p_Init2(sized_surface(16, 16), 0, 0, 8, 8, 1, 0, nullptr, 8, 8, 8, 8); }, false},
    };
    for (const FullCase& c : cases) {
        EXPECT_EQ((c.make()->m_flags & c_Image::FullSurface) != 0, c.want) << c.what;
    }
}

TEST_F(ImageTest, CentreHandleUsesTheSizeAfterBordersAndClearsItsBit) {
    c_Image* centred = new_image()->p_Init(sized_surface(32, 20), 1, c_Image::CenterHandle);
    EXPECT_FLOAT_EQ(centred->m_tx, 16);
    EXPECT_FLOAT_EQ(centred->m_ty, 10);
    EXPECT_EQ(centred->m_flags & c_Image::CenterHandle, 0);
    c_Image* bordered = new_image()->p_Init(sized_surface(32, 20), 1, c_Image::CenterHandle | c_Image::BorderX);
    EXPECT_FLOAT_EQ(bordered->m_tx, 15);
    EXPECT_FLOAT_EQ(bordered->m_ty, 10);
    bordered->p_SetHandle(3, 4);
    EXPECT_FLOAT_EQ(bordered->m_tx, 3);
    EXPECT_FLOAT_EQ(bordered->m_ty, 4);
}

TEST_F(ImageTest, GridIsFilledRowByRowFromTheTopLeft) {
    write_png("grid.png", 64, 64, 4);
    c_Image* image = kv_graphics_LoadImage2(String("grid.png"), 16, 16, 16, 0);
    ASSERT_NE(image, nullptr);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(image->m_frames[i]->m_x, 16 * (i % 4)) << "frame " << i;
        EXPECT_EQ(image->m_frames[i]->m_y, 16 * (i / 4)) << "frame " << i;
    }
    EXPECT_EQ(image->m_source, nullptr);
    EXPECT_EQ(image->m_surface->Width(), 64);
}

TEST_F(ImageTest, GridCellsAreTakenFromTheSourceRectangle) {
    c_Image* source = new_image();
    c_Image* image =
        new_image()->p_Init2(sized_surface(100, 100), 10, 0, 10, 10, 3, 0, source, 20, 30, 25, 20);
    const int want[3][2] = {{30, 30}, {20, 40}, {30, 40}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image->m_frames[i]->m_x, want[i][0]) << "frame " << i;
        EXPECT_EQ(image->m_frames[i]->m_y, want[i][1]) << "frame " << i;
    }
    EXPECT_EQ(image->m_source, source);
}

TEST_F(ImageTest, MisuseRaisesTheRuntimeErrors) {
    write_png("grid.png", 64, 64, 4);
    EXPECT_RUNTIME_ERROR(kv_graphics_LoadImage2(String("grid.png"), 16, 16, 17, 0), "Image frame outside surface");
    EXPECT_RUNTIME_ERROR(new_image()->p_Init2(sized_surface(8, 8), 0, 0, 16, 4, 1, 0, nullptr, 0, 0, 8, 8),
                         "Image frame outside surface");
    EXPECT_RUNTIME_ERROR(new_image()->p_Init(sized_surface(8, 8), 1, 0)->p_Init(sized_surface(8, 8), 1, 0),
                         "Image already initialized");
    EXPECT_RUNTIME_ERROR(new_image()->p_Init(sized_surface(8, 8), 1, 0)->p_Init2(sized_surface(8, 8), 0, 0, 8, 8, 1, 0,
                                                                               nullptr, 0, 0, 8, 8),
                         "Image already initialized");
    // No frames would divide the width by zero.
    EXPECT_RUNTIME_ERROR(new_image()->p_Init(sized_surface(8, 8), 0, 0), "Image frame count must be at least 1");
}

TEST_F(ImageTest, GreyFilesKeepTheirDepthAndGreyAlphaIsPremultiplied) {
    write_png("grey.png", 2, 1, 1, {10, 200});
    write_png("grey_alpha.png", 2, 1, 2, {200, 128, 255, 0});
    c_Image* grey = kv_graphics_LoadImage(String("grey.png"), 1, 0);
    c_Image* greyAlpha = kv_graphics_LoadImage(String("grey_alpha.png"), 1, 0);
    ASSERT_NE(grey, nullptr);
    ASSERT_NE(greyAlpha, nullptr);
    EXPECT_EQ(grey->m_surface->depth, 1);
    EXPECT_EQ(grey->m_surface->format, unsigned(GL_LUMINANCE));
    EXPECT_EQ(grey->m_surface->data[1], 200);
    EXPECT_EQ(greyAlpha->m_surface->depth, 2);
    EXPECT_EQ(greyAlpha->m_surface->format, unsigned(GL_LUMINANCE_ALPHA));
    const unsigned char want[4] = {200 * 128 / 255, 128, 0, 0};
    EXPECT_EQ(0, std::memcmp(greyAlpha->m_surface->data, want, 4));
}

TEST_F(ImageTest, MissingFileGivesNoImage) {
    EXPECT_EQ(kv_graphics_LoadImage(String("missing.png"), 1, 0), nullptr);
    EXPECT_EQ(kv_graphics_LoadImage2(String("missing.png"), 8, 8, 1, 0), nullptr);
}

TEST_F(ImageTest, CreatedImageHasItsFramesSideBySide) {
    c_Image* image = kv_graphics_CreateImage(10, 8, 3, c_Image::CenterHandle);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->m_surface->Width(), 30);
    EXPECT_EQ(image->m_surface->Height(), 8);
    EXPECT_EQ(image->m_surface->depth, 4);
    EXPECT_EQ(image->m_surface->data, nullptr);
    EXPECT_EQ(image->m_frames[2]->m_x, 20);
    EXPECT_FLOAT_EQ(image->m_tx, 5);
}

TEST_F(ImageTest, DefaultFontIsLoadedOnceAndUsedForNone) {
    write_png("kelp_font.png", 960, 16, 4);
    kv_graphics_SetFont(nullptr, 65);
    c_Image* font = kv_graphics_context->m_font;
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(kv_graphics_context->m_defaultFont, font);
    EXPECT_EQ(kv_graphics_context->m_firstChar, 32);
    EXPECT_EQ(font->m_frames.Length(), 96);
    EXPECT_EQ(font->m_width, 8);
    EXPECT_EQ(font->m_frames[1]->m_x, 11);

    c_Image* other = new_image()->p_Init(sized_surface(16, 16), 2, 0);
    kv_graphics_SetFont(other, 48);
    EXPECT_EQ(kv_graphics_context->m_font, other);
    EXPECT_EQ(kv_graphics_context->m_firstChar, 48);
    kv_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(kv_graphics_context->m_font, font);
}

TEST_F(ImageTest, MissingDefaultFontLeavesNoFont) {
    kv_graphics_SetFont(nullptr, 32);
    EXPECT_EQ(kv_graphics_context->m_font, nullptr);
    EXPECT_EQ(kv_graphics_context->m_defaultFont, nullptr);
}

}  // namespace
