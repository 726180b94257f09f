// Surfaces: the premultiplied CPU copy of the pixels and the texture made from it, lazily,
// once per OpenGL context. A texture whose context is gone is neither used nor deleted.
#include "graphics/surface.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

unsigned format_for_depth(int depth) {
    switch (depth) {
        case 1:
            return GL_LUMINANCE;
        case 2:
            return GL_LUMINANCE_ALPHA;
        case 3:
            return GL_RGB;
        default:
            return GL_RGBA;
    }
}

unsigned char premultiply(unsigned value, unsigned alpha) { return static_cast<unsigned char>(value * alpha / 255); }

}  // namespace

int texture_size_for(int size) {
    int texture = 1;
    while (texture < size) texture *= 2;
    return texture;
}

gxtkSurface::~gxtkSurface() { gxtkSurface::Discard(); }

void gxtkSurface::Discard() {
    if (seq == glfwGraphicsSeq) {
        glDeleteTextures(1, &texture);
        seq = -1;
    }
    if (data) {
        std::free(data);
        data = nullptr;
    }
}

int gxtkSurface::Width() { return width; }
int gxtkSurface::Height() { return height; }
bool gxtkSurface::Loaded() { return true; }
void gxtkSurface::OnUnsafeLoadComplete() { Bind(); }

void gxtkSurface::SetSize(int w, int h, int d) {
    width = w;
    height = h;
    depth = d;
    format = format_for_depth(d);
    uScale = w > 0 ? 1.0f / w : 0;
    vScale = h > 0 ? 1.0f / h : 0;
}

void gxtkSurface::SetData(unsigned char* pixels, int w, int h, int d) {
    if (data != pixels) std::free(data);
    data = pixels;
    SetSize(w, h, d);
    int count = w * h;
    if (d == 2) {
        for (unsigned char* p = data; p < data + count * 2; p += 2) p[0] = premultiply(p[0], p[1]);
    } else if (d == 4) {
        for (unsigned char* p = data; p < data + count * 4; p += 4) {
            p[0] = premultiply(p[0], p[3]);
            p[1] = premultiply(p[1], p[3]);
            p[2] = premultiply(p[2], p[3]);
        }
    }
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const unsigned* src, int pitch) {
    if (format != GL_RGBA) return;
    // A rectangle reaching outside the surface would write past the copy.
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > width || y + h > height) return;
    if (!data) {
        // A created surface gets its copy at the first write; like decoded pixels, the
        // collector is told of it so that its pacing sees the memory.
        size_t bytes = static_cast<size_t>(width) * height * 4;
        data = static_cast<unsigned char*>(std::malloc(bytes));
        if (!data) return;
        gc_ext_malloced(static_cast<int>(bytes));
    }
    for (int r = 0; r < h; ++r) {
        unsigned char* out = data + (static_cast<size_t>(y + r) * width + x) * 4;
        for (int c = 0; c < w; ++c, out += 4) {
            unsigned p = src[r * pitch + c];
            unsigned a = p >> 24;
            out[0] = premultiply(p >> 16 & 255, a);
            out[1] = premultiply(p >> 8 & 255, a);
            out[2] = premultiply(p & 255, a);
            out[3] = static_cast<unsigned char>(a);
        }
    }
    if (seq != glfwGraphicsSeq) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const unsigned char* start = data + static_cast<size_t>(y) * width * 4;
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, format, GL_UNSIGNED_BYTE, start);
        return;
    }
    for (int r = 0; r < h; ++r) {
        const unsigned char* row = data + (static_cast<size_t>(y + r) * width + x) * 4;
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + r, w, 1, format, GL_UNSIGNED_BYTE, row);
    }
}

void gxtkSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    if (seq == glfwGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    seq = glfwGraphicsSeq;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    int textureWidth = width, textureHeight = height;
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_UNSIGNED_BYTE, nullptr);
    // Any pending error counts as a refusal of the exact size.
    if (glGetError() != GL_NO_ERROR) {
        textureWidth = texture_size_for(width);
        textureHeight = texture_size_for(height);
        glTexImage2D(GL_TEXTURE_2D, 0, format, textureWidth, textureHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
    }
    uScale = 1.0f / textureWidth;
    vScale = 1.0f / textureHeight;
    if (data) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, data);
    }
}
