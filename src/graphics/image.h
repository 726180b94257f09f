// Images: a surface cut into equal frames with a handle point that drawing positions refer
// to, the functions that load and create them, and the choice of the current font (the
// default font strip is loaded on first use).
#pragma once

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

class gxtkSurface;

class c_Frame : public Object {
public:
    int m_x = 0;
    int m_y = 0;

    c_Frame* m_new(int x, int y);
};

class c_Image : public Object {
public:
    static constexpr int CenterHandle = 1;
    static constexpr int BorderX = 2;
    static constexpr int BorderY = 4;
    static constexpr int FullSurface = 65536;

    static int m_DefaultFlags;

    gxtkSurface* m_surface = nullptr;
    int m_width = 0;
    int m_height = 0;
    Array<c_Frame*> m_frames;
    int m_flags = 0;
    float m_tx = 0;
    float m_ty = 0;
    c_Image* m_source = nullptr;

    c_Image* m_new() { return this; }
    c_Image* p_Init(gxtkSurface* surface, int frameCount, int flags);
    c_Image* p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount, int flags,
                     c_Image* source, int srcX, int srcY, int srcWidth, int srcHeight);
    void p_ApplyFlags(int flags);
    void p_SetHandle(float x, float y);

    void mark() override;
};

c_Image* kv_graphics_LoadImage(String path, int frameCount, int flags);
c_Image* kv_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);
c_Image* kv_graphics_CreateImage(int width, int height, int frameCount, int flags);
void kv_graphics_SetFont(c_Image* font, int firstChar);
