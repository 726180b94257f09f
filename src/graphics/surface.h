// A rectangle of pixels drawable as a texture. The surface keeps its own premultiplied copy
// of the pixels, so its texture can be made lazily and made again after the OpenGL context
// has been replaced (the window re-opened), which glfwGraphicsSeq tells.
#pragma once

#include "runtime/gc.h"

// Bumped by the host each time it opens a window (and with it a new context); 0 before any.
extern int glfwGraphicsSeq;

class gxtkSurface : public Object {
public:
    unsigned char* data = nullptr;  // width * height * depth bytes, rows top-down; freed with free()
    int width = 0;
    int height = 0;
    int depth = 0;
    unsigned format = 0;  // GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB or GL_RGBA by depth
    int seq = -1;         // the glfwGraphicsSeq the texture was made in; -1 without one
    unsigned texture = 0;
    float uScale = 0, vScale = 0;  // texel position to texture coordinate

    ~gxtkSurface() override;

    virtual void Discard();
    virtual int Width();
    virtual int Height();
    virtual bool Loaded();
    virtual void OnUnsafeLoadComplete();

    void SetData(unsigned char* data, int width, int height, int depth);
    void SetSubData(int x, int y, int w, int h, const unsigned* src, int pitch);
    void Bind();
};

// The texture size a driver without non-power-of-two support needs for `size` pixels.
int texture_size_for(int size);
