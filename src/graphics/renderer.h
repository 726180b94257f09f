// The one render device: points, lines, rectangles, ovals, polygons and textured quads all
// become vertices in one client-side array, transformed and premultiplied on the CPU, and
// reach OpenGL in as few draw calls as the batch rules allow.
#pragma once

#include <cstdint>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

class gxtkSurface;

// One vertex as OpenGL reads it: three interleaved client arrays with a stride of 20 bytes.
struct gxtkVertex {
    float x, y;
    float u, v;
    uint32_t color;  // bytes R, G, B, A in memory order, colour premultiplied by alpha
};
static_assert(sizeof(gxtkVertex) == 20);

// What one frame cost, for tests, benchmarks and the debug read-out.
struct gxtkRenderStats {
    int batches = 0;    // flushes that drew something
    int drawCalls = 0;  // glDrawArrays and glDrawElements calls
    int vertices = 0;   // vertices flushed
    int indices = 0;    // indices drawn through the quad table
};

class gxtkGraphics : public Object {
public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = kMaxVertices / 4;

    gxtkGraphics();

    int width = 0;
    int height = 0;
    uint32_t packedColor = 0;
    float colorR = 0, colorG = 0, colorB = 0;
    float alpha = 0;
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
    bool transformed = false;
    gxtkVertex vertexBuffer[kMaxVertices];
    uint16_t quadIndexTable[kMaxQuads * 6];
    int batchKind = 0;
    int batchCount = 0;
    gxtkSurface* batchSurface = nullptr;  // not owning: the batch is always empty between frames

    gxtkRenderStats stats;      // the frame being drawn
    gxtkRenderStats lastFrame;  // the frame finished last, complete
    // Cleared by tests and benchmarks that run without a context: flushes are counted as
    // usual but nothing reaches OpenGL.
    bool gpuEnabled = true;

    virtual int Width();
    virtual int Height();
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics();
    virtual gxtkSurface* LoadSurface(String path);
    virtual gxtkSurface* CreateSurface(int width, int height);
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int mode);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x0, float y0, float x1, float y1);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(Array<float> xy);
    virtual int DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);
    virtual void ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    virtual void WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                              int pitch);

    gxtkVertex* Begin(int kind, int n, gxtkSurface* surface);
    void Flush();

private:
    void PackColor();
    void Put(gxtkVertex* vertex, float x, float y) const;
    void PutQuad(gxtkSurface* surface, float x0, float y0, float x1, float y1, float u0, float v0, float u1,
                 float v1);
    void DrawArrays(unsigned mode, int first, int count);
};
