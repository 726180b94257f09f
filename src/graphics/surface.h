// A rectangle of pixels drawable as a texture. The surface keeps its own premultiplied copy
// of the pixels, so its texture can be made lazily and made again after the OpenGL context
// has been replaced (the window re-opened), which glfwGraphicsSeq tells.
#pragma once

#include "host/game.h"  // glfwGraphicsSeq
#include "runtime/gc.h"

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

    // Sizes, format and the scales of an exact-size texture: texture coordinates are made
    // when a quad is stored, which may come before the first flush makes the texture.
    void SetSize(int width, int height, int depth);
    void SetData(unsigned char* data, int width, int height, int depth);
    void SetSubData(int x, int y, int w, int h, const unsigned* src, int pitch);
    void Bind();
};

// The texture size a driver without non-power-of-two support needs for `size` pixels.
int texture_size_for(int size);
