// The batching render device. A batch is drawn only when the next request cannot join it
// (another primitive kind, another texture, a full buffer), when global GL state (blend,
// scissor) changes, when pixels are read back, or at the end of the frame.
#include "graphics/renderer.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>

#include "graphics/surface.h"
#include "host/game.h"

namespace {

uint32_t color_byte(float value) {
    // Out-of-range colours (a negative clear alpha, say) must not spill into the
    // neighbouring bytes: they saturate instead, so alpha below 0 draws nothing.
    if (!(value > 0)) return 0;
    if (value >= 255) return 255;
    return static_cast<uint32_t>(static_cast<int>(value));
}

// An oval gets one vertex per pixel of its estimated outline, in steps of 4, within 12..1024.
int oval_vertex_count(float segments) {
    if (!(segments > 11)) return 12;
    if (segments > gxtkGraphics::kMaxVertices) return gxtkGraphics::kMaxVertices;
    return static_cast<int>(segments) & ~3;
}

// Whether h rows of w elements, `pitch` apart from element `offset`, lie inside the array.
bool rows_fit(int length, int offset, int pitch, int w, int h) {
    if (w <= 0 || h <= 0) return false;
    long long first = offset;
    long long last = first + static_cast<long long>(pitch) * (h - 1);
    return first >= 0 && last >= 0 && first + w <= length && last + w <= length;
}

}  // namespace

gxtkGraphics::gxtkGraphics() {
    width = KvGame::_game->GetDeviceWidth();
    height = KvGame::_game->GetDeviceHeight();
    batchCount = 0;
    for (int q = 0; q < kMaxQuads; ++q) {
        uint16_t* entry = &quadIndexTable[q * 6];
        uint16_t first = static_cast<uint16_t>(q * 4);
        entry[0] = first;
        entry[1] = first + 1;
        entry[2] = first + 2;
        entry[3] = first;
        entry[4] = first + 2;
        entry[5] = first + 3;
    }
}

int gxtkGraphics::Width() { return width; }
int gxtkGraphics::Height() { return height; }

int gxtkGraphics::BeginRender() {
    width = KvGame::_game->GetDeviceWidth();
    height = KvGame::_game->GetDeviceHeight();
    stats = gxtkRenderStats{};
    batchCount = 0;
    if (!gpuEnabled) return 1;

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertexBuffer[0].x);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertexBuffer[0].u);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertexBuffer[0].color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    return 1;
}

void gxtkGraphics::EndRender() {
    Flush();
    lastFrame = stats;
}

void gxtkGraphics::DiscardGraphics() {}

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    gxtkSurface* surface = new gxtkSurface;
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    surface->Bind();
    return surface;
}

gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->SetSize(w, h, 4);
    surface->Bind();
    return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = KvGame::_game->LoadImageData(path, &w, &h, &depth);
    if (!pixels) return false;
    surface->SetData(pixels, w, h, depth);
    return true;
}

int gxtkGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    if (!gpuEnabled) return 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

void gxtkGraphics::PackColor() {
    float a = alpha;
    packedColor = color_byte(255 * a) << 24 | color_byte(colorB * a) << 16 | color_byte(colorG * a) << 8 |
                  color_byte(colorR * a);
}

int gxtkGraphics::SetAlpha(float a) {
    alpha = a;
    PackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    colorR = r;
    colorG = g;
    colorB = b;
    PackColor();
    return 0;
}

int gxtkGraphics::SetBlend(int mode) {
    Flush();
    if (!gpuEnabled) return 0;
    if (mode == 1) {
        glBlendFunc(GL_ONE, GL_ONE);
    } else {
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (!gpuEnabled) return 0;
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, Height() - y - h, w, h);
    }
    return 0;
}

int gxtkGraphics::SetMatrix(float mix, float miy, float mjx, float mjy, float mtx, float mty) {
    ix = mix;
    iy = miy;
    jx = mjx;
    jy = mjy;
    tx = mtx;
    ty = mty;
    transformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    return 0;
}

gxtkVertex* gxtkGraphics::Begin(int kind, int n, gxtkSurface* surface) {
    if (kind == batchKind && surface == batchSurface && batchCount + n <= kMaxVertices) {
        gxtkVertex* start = &vertexBuffer[batchCount];
        batchCount += n;
        return start;
    }
    Flush();
    batchKind = kind;
    batchSurface = surface;
    batchCount = n;
    return &vertexBuffer[0];
}

void gxtkGraphics::DrawArrays(unsigned mode, int first, int count) {
    ++stats.drawCalls;
    if (gpuEnabled) glDrawArrays(mode, first, count);
}

void gxtkGraphics::Flush() {
    if (batchCount == 0) return;
    ++stats.batches;
    stats.vertices += batchCount;
    if (batchSurface && gpuEnabled) {
        glEnable(GL_TEXTURE_2D);
        batchSurface->Bind();
    }
    switch (batchKind) {
        case 1:
            DrawArrays(GL_POINTS, 0, batchCount);
            break;
        case 2:
            DrawArrays(GL_LINES, 0, batchCount);
            break;
        case 3:
            DrawArrays(GL_TRIANGLES, 0, batchCount);
            break;
        case 4: {
            int indices = batchCount / 4 * 6;
            ++stats.drawCalls;
            stats.indices += indices;
            if (gpuEnabled) glDrawElements(GL_TRIANGLES, indices, GL_UNSIGNED_SHORT, quadIndexTable);
            break;
        }
        default:
            for (int start = 0; start < batchCount; start += batchKind) DrawArrays(GL_TRIANGLE_FAN, start, batchKind);
            break;
    }
    if (batchSurface && gpuEnabled) glDisable(GL_TEXTURE_2D);
    batchCount = 0;
}

void gxtkGraphics::Put(gxtkVertex* vertex, float x, float y) const {
    if (transformed) {
        vertex->x = ix * x + jx * y + tx;
        vertex->y = iy * x + jy * y + ty;
    } else {
        vertex->x = x;
        vertex->y = y;
    }
    vertex->color = packedColor;
}

// Corners top-left, top-right, bottom-right, bottom-left: the order the quad table expects.
void gxtkGraphics::PutQuad(gxtkSurface* surface, float x0, float y0, float x1, float y1, float u0, float v0, float u1,
                           float v1) {
    gxtkVertex* v = Begin(4, 4, surface);
    Put(&v[0], x0, y0);
    Put(&v[1], x1, y0);
    Put(&v[2], x1, y1);
    Put(&v[3], x0, y1);
    if (surface) {
        v[0].u = u0, v[0].v = v0;
        v[1].u = u1, v[1].v = v0;
        v[2].u = u1, v[2].v = v1;
        v[3].u = u0, v[3].v = v1;
    }
}

int gxtkGraphics::DrawPoint(float x, float y) {
    gxtkVertex* v = Begin(1, 1, nullptr);
    Put(v, x, y);
    v->x += 0.5f;
    v->y += 0.5f;
    return 0;
}

int gxtkGraphics::DrawLine(float x0, float y0, float x1, float y1) {
    gxtkVertex* v = Begin(2, 2, nullptr);
    Put(&v[0], x0, y0);
    Put(&v[1], x1, y1);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
    }
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    PutQuad(nullptr, x, y, x + w, y + h, 0, 0, 0, 0);
    return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    float xr = w * 0.5f, yr = h * 0.5f;
    float cx = x + xr, cy = y + yr;
    float segments;
    if (transformed) {
        segments = std::trunc(std::sqrt(xr * ix * (xr * ix) + xr * iy * (xr * iy)) +
                              std::sqrt(yr * jx * (yr * jx) + yr * jy * (yr * jy)));
    } else {
        segments = std::fabs(std::trunc(xr)) + std::fabs(std::trunc(yr));
    }
    int n = oval_vertex_count(segments);
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) {
        float theta = static_cast<float>(i) * 6.2831855f / static_cast<float>(n);
        Put(&v[i], std::cos(theta) * xr + cx, cy - std::sin(theta) * yr);
    }
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> xy) {
    int n = xy.Length() / 2;
    if (n < 1 || n > kMaxVertices) return 0;
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) Put(&v[i], xy[i * 2], xy[i * 2 + 1]);
    return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcx, int srcy) {
    int n = xyuv.Length() / 4;
    if (n < 1 || n > kMaxVertices) return 0;
    gxtkVertex* v = Begin(n, n, surface);
    for (int i = 0; i < n; ++i) {
        const float* in = &xyuv[i * 4];
        Put(&v[i], in[0], in[1]);
        v[i].u = (in[2] + srcx) * surface->uScale;
        v[i].v = (in[3] + srcy) * surface->vScale;
    }
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    float sw = static_cast<float>(surface->Width()), sh = static_cast<float>(surface->Height());
    PutQuad(surface, x, y, x + sw, y + sh, 0, 0, sw * surface->uScale, sh * surface->vScale);
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch) {
    float u = surface->uScale, v = surface->vScale;
    PutQuad(surface, x, y, x + srcw, y + srch, srcx * u, srcy * v, (srcx + srcw) * u, (srcy + srch) * v);
    return 0;
}

void gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    Flush();
    if (!gpuEnabled || !rows_fit(pixels.Length(), offset, pitch, w, h)) return;
    std::unique_ptr<uint32_t[]> buffer(new uint32_t[static_cast<size_t>(w) * h]);
    glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, buffer.get());
    for (int i = 0; i < h; ++i) {
        const uint32_t* row = &buffer[static_cast<size_t>(h - 1 - i) * w];
        int* out = &pixels[offset + i * pitch];
        for (int c = 0; c < w; ++c) out[c] = static_cast<int>(row[c]);
    }
}

void gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                                int pitch) {
    if (!rows_fit(pixels.Length(), offset, pitch, w, h)) return;
    surface->SetSubData(x, y, w, h, reinterpret_cast<const unsigned*>(&pixels[offset]), pitch);
}
