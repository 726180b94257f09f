// The drawing API without a GPU: the matrix product order, the lazy matrix that reaches the
// device once per draw, the growing matrix stack, the frame start reset, and where ellipses
// and image frames land, read from the device's vertex buffer.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/drawing.h"
#include "graphics/surface.h"
#include "test_host.h"

namespace {

class CountingGraphics : public gxtkGraphics {
public:
    int matrixCalls = 0;
    int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) override {
        ++matrixCalls;
        return gxtkGraphics::SetMatrix(ix, iy, jx, jy, tx, ty);
    }
};

struct Matrix {
    float ix, iy, jx, jy, tx, ty;
};

Matrix current() {
    const c_GraphicsContext* c = kv_graphics_context;
    return {c->m_ix, c->m_iy, c->m_jx, c->m_jy, c->m_tx, c->m_ty};
}

void expect_matrix(const Matrix& got, const Matrix& want, const char* what) {
    const float g[6] = {got.ix, got.iy, got.jx, got.jy, got.tx, got.ty};
    const float w[6] = {want.ix, want.iy, want.jx, want.jy, want.tx, want.ty};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(g[i], w[i], 1e-5) << what << " element " << i;
}

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        kv_graphics_InitGlobals();
        device = new CountingGraphics;
        device->gpuEnabled = false;
        kv_graphics_SetGraphicsDevice(device);
        device->BeginRender();
        kv_graphics_BeginRender();
    }

    // A 40 x 20 image of two 20 x 20 frames with its handle at the frame's centre.
    c_Image* two_frame_image() {
        gxtkSurface* surface = new gxtkSurface;
        surface->SetSize(40, 20, 4);
        return (new c_Image)->m_new()->p_Init(surface, 2, c_Image::CenterHandle);
    }

    TestHost host;
    CountingGraphics* device = nullptr;
};

TEST_F(DrawingTest, TranslateThenScaleAppliesTheScaleFirst) {
    kv_graphics_Translate(10, 20);
    kv_graphics_Scale(2, 2);
    expect_matrix(current(), {2, 0, 0, 2, 10, 20}, "translate, scale");
    kv_graphics_DrawRect(1, 1, 1, 1);
    EXPECT_FLOAT_EQ(device->vertexBuffer[0].x, 12);
    EXPECT_FLOAT_EQ(device->vertexBuffer[0].y, 22);
}

TEST_F(DrawingTest, RotationTurnsTheXAxisTowardsTheTop) {
    kv_graphics_Rotate(90);
    expect_matrix(current(), {0, -1, 1, 0, 0, 0}, "rotate 90");
    kv_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    kv_graphics_Translate(5, 0);
    kv_graphics_Rotate(90);
    kv_graphics_DrawRect(10, 0, 1, 1);
    EXPECT_NEAR(device->vertexBuffer[0].x, 5, 1e-5);
    EXPECT_NEAR(device->vertexBuffer[0].y, -10, 1e-5);
}

TEST_F(DrawingTest, MatrixArraysWork) {
    kv_graphics_SetMatrix2(Array<float>{1, 2, 3, 4, 5, 6});
    expect_matrix(current(), {1, 2, 3, 4, 5, 6}, "set");
    kv_graphics_Transform2(Array<float>{1, 0, 0, 1, 1, 1});
    expect_matrix(current(), {1, 2, 3, 4, 9, 12}, "transform");
}

TEST_F(DrawingTest, MatrixReachesTheDeviceOncePerDrawAfterChanges) {
    int before = device->matrixCalls;
    kv_graphics_Translate(1, 2);
    kv_graphics_Scale(3, 3);
    kv_graphics_DrawRect(0, 0, 1, 1);
    kv_graphics_DrawRect(0, 0, 1, 1);
    kv_graphics_DrawLine(0, 0, 1, 1);
    EXPECT_EQ(device->matrixCalls - before, 1);
    kv_graphics_PushMatrix();
    kv_graphics_PopMatrix();
    kv_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_EQ(device->matrixCalls - before, 2);
}

TEST_F(DrawingTest, ThirtyThirdPushGrowsTheStackAndKeepsTheSavedMatrices) {
    for (int i = 0; i < 33; ++i) {
        kv_graphics_SetMatrix(float(i), 0, 0, 1, float(i), float(-i));
        kv_graphics_PushMatrix();
    }
    EXPECT_EQ(kv_graphics_context->m_matrixStack.Length(), 384);
    EXPECT_EQ(kv_graphics_context->m_stackTop, 33 * 6);
    for (int i = 32; i >= 0; --i) {
        kv_graphics_PopMatrix();
        expect_matrix(current(), {float(i), 0, 0, 1, float(i), float(-i)}, "popped");
    }
}

TEST_F(DrawingTest, UnmatchedPopKeepsTheMatrix) {
    kv_graphics_Translate(3, 4);
    kv_graphics_PopMatrix();
    expect_matrix(current(), {1, 0, 0, 1, 3, 4}, "after unmatched pop");
    EXPECT_EQ(kv_graphics_context->m_stackTop, 0);
}

TEST_F(DrawingTest, FrameStartResetsTheDrawingState) {
    kv_graphics_PushMatrix();
    kv_graphics_Rotate(30);
    kv_graphics_SetColor(1, 2, 3);
    kv_graphics_SetAlpha(0.5f);
    kv_graphics_SetBlend(1);
    kv_graphics_SetScissor(1, 2, 3, 4);
    c_Image* font = two_frame_image();
    kv_graphics_SetFont(font, 40);
    kv_graphics_EndRender();
    EXPECT_EQ(kv_graphics_renderDevice, nullptr);

    device->BeginRender();
    kv_graphics_BeginRender();
    const c_GraphicsContext* c = kv_graphics_context;
    EXPECT_EQ(kv_graphics_renderDevice, device);
    EXPECT_EQ(c->m_stackTop, 0);
    expect_matrix(current(), {1, 0, 0, 1, 0, 0}, "matrix");
    EXPECT_EQ(c->m_matrixChanged, 1);
    EXPECT_EQ(device->colorR + device->colorG + device->colorB, 765);
    EXPECT_EQ(device->alpha, 1);
    EXPECT_EQ(device->packedColor, 0xFFFFFFFFu);
    EXPECT_EQ(c->m_blend, 0);
    EXPECT_EQ(c->m_scissorW, 640);
    EXPECT_EQ(c->m_scissorH, 480);
    EXPECT_EQ(c->m_font, font);
    EXPECT_EQ(c->m_firstChar, 40);
}

TEST_F(DrawingTest, EllipseIsTheOvalInItsBoundingBox) {
    kv_graphics_DrawEllipse(50, 50, 10, 5);
    ASSERT_EQ(device->batchKind, 12);  // radii 10 and 5: an outline estimate of 15 gives 12
    float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
    for (int i = 0; i < device->batchCount; ++i) {
        left = std::fmin(left, device->vertexBuffer[i].x);
        right = std::fmax(right, device->vertexBuffer[i].x);
        top = std::fmin(top, device->vertexBuffer[i].y);
        bottom = std::fmax(bottom, device->vertexBuffer[i].y);
    }
    EXPECT_NEAR(left, 40, 1e-4);
    EXPECT_NEAR(right, 60, 1e-4);
    EXPECT_NEAR(top, 45, 1e-4);
    EXPECT_NEAR(bottom, 55, 1e-4);
}

TEST_F(DrawingTest, UnrotatedUnscaledDrawImage2LandsWhereDrawImageDoes) {
    c_Image* image = two_frame_image();
    kv_graphics_Translate(3, 7);
    kv_graphics_DrawImage(image, 100, 50, 1);
    kv_graphics_DrawImage2(image, 100, 50, 0, 1, 1, 1);
    ASSERT_EQ(device->batchCount, 8);
    for (int i = 0; i < 4; ++i) {
        const gxtkVertex& a = device->vertexBuffer[i];
        const gxtkVertex& b = device->vertexBuffer[4 + i];
        EXPECT_NEAR(a.x, b.x, 1e-4) << "corner " << i;
        EXPECT_NEAR(a.y, b.y, 1e-4) << "corner " << i;
        EXPECT_FLOAT_EQ(a.u, b.u) << "corner " << i;
    }
    EXPECT_NEAR(device->vertexBuffer[0].x, 93, 1e-4);
    EXPECT_NEAR(device->vertexBuffer[0].y, 47, 1e-4);
    EXPECT_FLOAT_EQ(device->vertexBuffer[0].u, 0.5f);
    expect_matrix(current(), {1, 0, 0, 1, 3, 7}, "matrix after DrawImage2");
}

TEST_F(DrawingTest, DrawImage2RotatesAndScalesAboutTheHandle) {
    c_Image* image = two_frame_image();
    kv_graphics_DrawImage2(image, 100, 50, 90, 2, 1, 0);
    // The frame's top-left corner is 10 left of and 10 above the handle; scaled by 2 in x
    // and turned a quarter counter-clockwise it sits 20 below and 10 left of (100, 50).
    EXPECT_NEAR(device->vertexBuffer[0].x, 90, 1e-4);
    EXPECT_NEAR(device->vertexBuffer[0].y, 70, 1e-4);
}

TEST_F(DrawingTest, FullSurfaceImagesDrawTheWholeSurface) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetSize(16, 8, 4);
    surface->uScale = 1.0f / 32;  // as in a power-of-two texture twice as wide
    c_Image* image = (new c_Image)->m_new()->p_Init(surface, 1, 0);
    ASSERT_NE(image->m_flags & c_Image::FullSurface, 0);
    kv_graphics_DrawImage(image, 4, 4, 0);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].x, 20);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].u, 0.5f);
}

TEST_F(DrawingTest, NothingIsDrawnOutsideAFrameOrForAFrameTheImageLacks) {
    c_Image* image = two_frame_image();
    kv_graphics_DrawImage(image, 0, 0, 2);
    kv_graphics_DrawImage2(image, 0, 0, 0, 1, 1, -1);
    kv_graphics_DrawImage(nullptr, 0, 0, 0);
    EXPECT_EQ(device->batchCount, 0);
    kv_graphics_EndRender();
    kv_graphics_DrawRect(0, 0, 1, 1);
    kv_graphics_SetColor(1, 2, 3);
    kv_graphics_Translate(1, 1);
    kv_graphics_context->p_Validate();
    EXPECT_EQ(device->batchCount, 0);
    EXPECT_EQ(kv_graphics_context->m_colorR, 1);
    EXPECT_EQ(kv_graphics_context->m_matrixChanged, 1);
}

}  // namespace
