// The renderer's batching and vertex rules without a GPU: what joins a batch and what breaks
// it, where vertices land, how colour is packed and how many vertices an oval gets. The
// device runs with OpenGL switched off; flushes are counted as they would be drawn.
#include <gtest/gtest.h>

#include "graphics/renderer.h"
#include "graphics/surface.h"
#include "test_host.h"

namespace {

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        device = new gxtkGraphics;
        device->gpuEnabled = false;
        device->BeginRender();
        device->SetMatrix(1, 0, 0, 1, 0, 0);
        device->SetColor(255, 255, 255);
        device->SetAlpha(1);
    }

    gxtkSurface* make_surface(int w, int h) {
        gxtkSurface* surface = new gxtkSurface;
        surface->SetSize(w, h, 4);
        return surface;
    }

    TestHost host;
    gxtkGraphics* device = nullptr;
};

TEST_F(RendererTest, TwoRectanglesMakeOneIndexedDrawOfTwelveIndices) {
    device->DrawRect(0, 0, 10, 10);
    device->DrawRect(20, 0, 10, 10);
    EXPECT_EQ(device->stats.drawCalls, 0);
    device->EndRender();
    EXPECT_EQ(device->stats.drawCalls, 1);
    EXPECT_EQ(device->stats.indices, 12);
    EXPECT_EQ(device->stats.vertices, 8);
    EXPECT_EQ(device->lastFrame.drawCalls, 1);
}

TEST_F(RendererTest, QuadIndexTableHoldsTwoTrianglesPerQuad) {
    const uint16_t* table = device->quadIndexTable;
    for (int q : {0, 1, 255}) {
        const uint16_t want[6] = {uint16_t(4 * q), uint16_t(4 * q + 1), uint16_t(4 * q + 2),
                                  uint16_t(4 * q), uint16_t(4 * q + 2), uint16_t(4 * q + 3)};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(table[q * 6 + i], want[i]) << "quad " << q << " entry " << i;
    }
}

TEST_F(RendererTest, TwoHundredFiftySixQuadsFitOneBatchAndTheNextFlushes) {
    for (int i = 0; i < 256; ++i) device->DrawRect(float(i), 0, 1, 1);
    EXPECT_EQ(device->batchCount, 1024);
    EXPECT_EQ(device->stats.batches, 0);
    device->DrawRect(0, 10, 1, 1);
    EXPECT_EQ(device->stats.batches, 1);
    EXPECT_EQ(device->stats.indices, 256 * 6);
    EXPECT_EQ(device->batchCount, 4);
}

TEST_F(RendererTest, ColourAlphaAndMatrixChangesNeverFlush) {
    device->DrawRect(0, 0, 1, 1);
    device->SetColor(10, 20, 30);
    device->DrawRect(0, 0, 1, 1);
    device->SetAlpha(0.25f);
    device->DrawRect(0, 0, 1, 1);
    device->SetMatrix(2, 0, 0, 2, 5, 5);
    device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(device->stats.batches, 0);
    EXPECT_EQ(device->batchCount, 16);
    EXPECT_NE(device->vertexBuffer[0].color, device->vertexBuffer[4].color);
}

TEST_F(RendererTest, TextureKindBlendAndScissorChangesFlush) {
    gxtkSurface* a = make_surface(8, 8);
    gxtkSurface* b = make_surface(8, 8);
    struct Step {
        const char* what;
        bool flushes;
        void (*act)(gxtkGraphics*, gxtkSurface*, gxtkSurface*);
    };
    const Step steps[] = {
        {"same texture", false, [](gxtkGraphics* d, gxtkSurface* s, gxtkSurface*) { d->DrawSurface2(s, 0, 0, 0, 0, 4, 4); }},
        {"other texture", true, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface* t) { d->DrawSurface2(t, 0, 0, 0, 0, 4, 4); }},
        {"untextured quad", true, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->DrawRect(0, 0, 1, 1); }},
        {"point", true, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->DrawPoint(0, 0); }},
        {"line", true, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->DrawLine(0, 0, 1, 1); }},
        {"triangle", true, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->DrawPoly(Array<float>{0, 0, 1, 0, 1, 1}); }},
        {"blend", true, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->SetBlend(1); }},
        {"blend on empty batch", false, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->SetBlend(0); }},
        {"quad", false, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->DrawRect(0, 0, 1, 1); }},
        {"scissor", true, [](gxtkGraphics* d, gxtkSurface*, gxtkSurface*) { d->SetScissor(1, 1, 5, 5); }},
    };
    device->DrawSurface2(a, 0, 0, 0, 0, 4, 4);
    int want = 0;
    for (const Step& step : steps) {
        step.act(device, a, b);
        if (step.flushes) ++want;
        EXPECT_EQ(device->stats.batches, want) << step.what;
    }
}

TEST_F(RendererTest, FlushKeepsKindAndSurfaceSoTheNextDrawJoinsWithoutAnotherFlush) {
    device->DrawRect(0, 0, 1, 1);
    device->Flush();
    EXPECT_EQ(device->batchKind, 4);
    device->DrawRect(0, 0, 1, 1);
    device->Flush();
    EXPECT_EQ(device->stats.batches, 2);
    EXPECT_EQ(device->stats.drawCalls, 2);
}

TEST_F(RendererTest, ClsDropsThePendingBatchWithoutDrawing) {
    device->DrawRect(0, 0, 1, 1);
    device->DrawRect(0, 0, 1, 1);
    device->Cls(0, 0, 0);
    device->EndRender();
    EXPECT_EQ(device->stats.drawCalls, 0);
    EXPECT_EQ(device->batchCount, 0);
}

TEST_F(RendererTest, PointsAndLinesGetTheHalfPixelRectanglesDoNot) {
    device->DrawPoint(10, 20);
    EXPECT_FLOAT_EQ(device->vertexBuffer[0].x, 10.5f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[0].y, 20.5f);
    device->SetMatrix(2, 0, 0, 2, 0, 0);
    device->DrawLine(1, 2, 3, 4);
    EXPECT_FLOAT_EQ(device->vertexBuffer[0].x, 2.5f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[0].y, 4.5f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[1].x, 6.5f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[1].y, 8.5f);
    device->SetMatrix(1, 0, 0, 1, 0, 0);
    device->DrawRect(10, 20, 30, 40);
    const float want[4][2] = {{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(device->vertexBuffer[i].x, want[i][0]) << "corner " << i;
        EXPECT_FLOAT_EQ(device->vertexBuffer[i].y, want[i][1]) << "corner " << i;
    }
}

TEST_F(RendererTest, RotatedRectangleIsTransformedCornerByCorner) {
    device->SetMatrix(0, -1, 1, 0, 100, 100);  // 90 degrees, x axis towards the top
    device->DrawRect(0, 0, 10, 5);
    const float want[4][2] = {{100, 100}, {100, 90}, {105, 90}, {105, 100}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(device->vertexBuffer[i].x, want[i][0]) << "corner " << i;
        EXPECT_FLOAT_EQ(device->vertexBuffer[i].y, want[i][1]) << "corner " << i;
    }
}

TEST_F(RendererTest, SurfaceQuadsCarryTextureCoordinates) {
    gxtkSurface* surface = make_surface(64, 32);
    device->DrawSurface(surface, 1, 2);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].x, 65);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].y, 34);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].u, 1);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].v, 1);
    device->DrawSurface2(surface, 0, 0, 16, 8, 16, 8);
    EXPECT_FLOAT_EQ(device->vertexBuffer[4].u, 0.25f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[4].v, 0.25f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[6].u, 0.5f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[6].v, 0.5f);
    EXPECT_FLOAT_EQ(device->vertexBuffer[6].x, 16);
    Array<float> xyuv{0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 8, 8};
    device->DrawPoly2(xyuv, surface, 16, 8);
    EXPECT_EQ(device->batchKind, 3);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].u, 24.0f / 64);
    EXPECT_FLOAT_EQ(device->vertexBuffer[2].v, 16.0f / 32);
}

TEST_F(RendererTest, ColourIsPackedPremultipliedRedFirst) {
    struct PackCase {
        float r, g, b, a;
        uint32_t want;
    };
    const PackCase cases[] = {
        {255, 128, 0, 0.5f, 0x7F00407Fu},
        {255, 255, 255, 1, 0xFFFFFFFFu},
        {10, 20, 30, 0, 0},
        // Out of range: saturated per byte, so a negative alpha draws nothing at all.
        {255, 255, 255, -1, 0},
        {300, 0, 0, 1, 0xFF0000FFu},
    };
    for (const PackCase& c : cases) {
        device->SetColor(c.r, c.g, c.b);
        device->SetAlpha(c.a);
        EXPECT_EQ(device->packedColor, c.want) << c.r << "," << c.g << "," << c.b << " alpha " << c.a;
    }
    device->SetColor(255, 128, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 1, 1);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&device->vertexBuffer[0].color);
    EXPECT_EQ(bytes[0], 127);
    EXPECT_EQ(bytes[1], 64);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 127);
}

TEST_F(RendererTest, OvalVertexCountFollowsItsOutline) {
    struct OvalCase {
        float w, h, scale;
        int want;
    };
    const OvalCase cases[] = {
        {4, 4, 1, 12}, {30, 20, 1, 24}, {4000, 10, 1, 1024}, {20, 20, 2, 40}, {23, 24, 1, 20}, {24, 24, 1, 24},
        {-30, -20, 1, 24},
    };
    for (const OvalCase& c : cases) {
        device->SetMatrix(c.scale, 0, 0, c.scale, 0, 0);
        device->DrawOval(0, 0, c.w, c.h);
        EXPECT_EQ(device->batchKind, c.want) << c.w << "x" << c.h << " scale " << c.scale;
    }
}

TEST_F(RendererTest, OvalStartsAtTheRightmostPointAndRunsCounterClockwise) {
    device->DrawOval(10, 20, 40, 20);
    ASSERT_EQ(device->batchKind, 28);
    EXPECT_NEAR(device->vertexBuffer[0].x, 50, 1e-4);
    EXPECT_NEAR(device->vertexBuffer[0].y, 30, 1e-4);
    EXPECT_NEAR(device->vertexBuffer[7].x, 30, 1e-4);  // a quarter turn: the top
    EXPECT_NEAR(device->vertexBuffer[7].y, 20, 1e-4);
}

TEST_F(RendererTest, OvalsOfOneVertexCountShareABatchOfFans) {
    device->DrawOval(0, 0, 30, 20);
    device->DrawOval(50, 0, 30, 20);
    device->EndRender();
    EXPECT_EQ(device->stats.batches, 1);
    EXPECT_EQ(device->stats.drawCalls, 2);
    EXPECT_EQ(device->stats.vertices, 48);
}

TEST_F(RendererTest, PolygonKindIsItsVertexCount) {
    struct PolyCase {
        int values;
        int wantKind;  // 0: nothing drawn
    };
    const PolyCase cases[] = {{0, 0}, {2, 1}, {4, 2}, {6, 3}, {8, 4}, {10, 5}, {2048, 1024}, {2050, 0}};
    for (const PolyCase& c : cases) {
        device->BeginRender();
        device->batchKind = 0;
        Array<float> xy(c.values);
        device->DrawPoly(xy);
        EXPECT_EQ(device->batchKind, c.wantKind) << c.values << " values";
        EXPECT_EQ(device->batchCount, c.wantKind) << c.values << " values";
    }
}

TEST_F(RendererTest, PixelRectanglesOutsideTheArrayAreRefused) {
    gxtkSurface* surface = make_surface(4, 4);
    Array<int> pixels(16);
    for (int& p : pixels) p = int(0xFF102030u);
    device->WritePixels2(surface, pixels, 0, 0, 4, 4, 1, 4);  // one element short
    EXPECT_EQ(surface->data, nullptr);
    device->WritePixels2(surface, pixels, 0, 0, 4, 4, 0, 4);
    ASSERT_NE(surface->data, nullptr);
    EXPECT_EQ(surface->data[0], 0x10);
    Array<int> out(4);
    out[0] = 7;
    device->ReadPixels(out, 0, 0, 2, 3, 0, 2);
    EXPECT_EQ(out[0], 7);
}

}  // namespace
