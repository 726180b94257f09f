// Cutting surfaces into frames (one row, or a grid inside a source rectangle), the flag
// bits with their border and handle rules, the image-making functions and the font choice.
#include "graphics/image.h"

#include "graphics/drawing.h"
#include "graphics/surface.h"
#include "host/data_path.h"
#include "runtime/errors.h"

int c_Image::m_DefaultFlags = 0;

c_Frame* c_Frame::m_new(int x, int y) {
    m_x = x;
    m_y = y;
    return this;
}

void c_Image::mark() {
    gc_mark_q(m_surface);
    gc_mark_q(m_frames);
    gc_mark_q(m_source);
}

c_Image* c_Image::p_Init(gxtkSurface* surface, int frameCount, int flags) {
    if (m_surface) kvError(String("Image already initialized"));
    // The frame width is the surface width divided by the count.
    if (frameCount < 1) kvError(String("Image frame count must be at least 1"));
    gc_assign(m_surface, surface);
    m_width = surface->Width() / frameCount;
    m_height = surface->Height();
    Array<c_Frame*> frames(frameCount);
    gc_assign(m_frames, frames);
    for (int i = 0; i < frameCount; ++i) gc_assign(m_frames[i], (new c_Frame)->m_new(i * m_width, 0));
    p_ApplyFlags(flags);
    return this;
}

c_Image* c_Image::p_Init2(gxtkSurface* surface, int x, int y, int frameWidth, int frameHeight, int frameCount,
                          int flags, c_Image* source, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (m_surface) kvError(String("Image already initialized"));
    gc_assign(m_surface, surface);
    gc_assign(m_source, source);
    m_width = frameWidth;
    m_height = frameHeight;
    Array<c_Frame*> frames(frameCount > 0 ? frameCount : 0);
    gc_assign(m_frames, frames);
    int cx = x, cy = y;
    for (int i = 0; i < m_frames.Length(); ++i) {
        if (cx + frameWidth > srcWidth) {
            cy += frameHeight;
            if (frameWidth > srcWidth) kvError(String("Image frame outside surface"));
            cx = 0;
        }
        if (cy + frameHeight > srcHeight) kvError(String("Image frame outside surface"));
        gc_assign(m_frames[i], (new c_Frame)->m_new(cx + srcX, cy + srcY));
        cx += frameWidth;
    }
    p_ApplyFlags(flags);
    return this;
}

void c_Image::p_ApplyFlags(int flags) {
    m_flags = flags;
    if (m_flags & BorderX) {
        for (c_Frame* frame : m_frames) frame->m_x += 1;
        m_width -= 2;
    }
    if (m_flags & BorderY) {
        for (c_Frame* frame : m_frames) frame->m_y += 1;
        m_height -= 2;
    }
    if (m_flags & CenterHandle) {
        m_flags &= ~CenterHandle;
        m_tx = m_width * 0.5f;
        m_ty = m_height * 0.5f;
    }
    if (m_frames.Length() == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
        m_width == m_surface->Width() && m_height == m_surface->Height()) {
        m_flags |= FullSurface;
    }
}

void c_Image::p_SetHandle(float x, float y) {
    m_tx = x;
    m_ty = y;
    m_flags &= ~CenterHandle;
}

namespace {

gxtkSurface* load_surface(const String& path) {
    if (!kv_graphics_device) return nullptr;
    return kv_graphics_device->LoadSurface(kv_data_FixDataPath(path));
}

}  // namespace

c_Image* kv_graphics_LoadImage(String path, int frameCount, int flags) {
    gxtkSurface* surface = load_surface(path);
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

c_Image* kv_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
    gxtkSurface* surface = load_surface(path);
    if (!surface) return nullptr;
    return (new c_Image)->m_new()->p_Init2(surface, 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0,
                                           surface->Width(), surface->Height());
}

c_Image* kv_graphics_CreateImage(int width, int height, int frameCount, int flags) {
    if (!kv_graphics_device) return nullptr;
    gxtkSurface* surface = kv_graphics_device->CreateSurface(width * frameCount, height);
    return (new c_Image)->m_new()->p_Init(surface, frameCount, flags);
}

void kv_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext* context = kv_graphics_context;
    if (!font) {
        if (!context->m_defaultFont) {
            gc_assign(context->m_defaultFont, kv_graphics_LoadImage(String("kelp_font.png"), 96, 2));
        }
        font = context->m_defaultFont;
        firstChar = 32;
    }
    gc_assign(context->m_font, font);
    context->m_firstChar = firstChar;
}
