// The drawing API over the graphics context. Colour, alpha, blend and scissor reach the
// render device at once; the matrix waits until something is drawn, so any number of matrix
// operations between two draws cost one device call.
#include "graphics/drawing.h"

#include <cmath>

#include "graphics/surface.h"

gxtkGraphics* kv_graphics_device = nullptr;
gxtkGraphics* kv_graphics_renderDevice = nullptr;
c_GraphicsContext* kv_graphics_context = nullptr;

static gc_roots roots([] {
    gc_mark_q(kv_graphics_device);
    gc_mark_q(kv_graphics_context);
    gc_mark_q(kv_graphics_renderDevice);
});

c_GraphicsContext* c_GraphicsContext::m_new() {
    gc_assign(m_matrixStack, Array<float>(kInitialStackFloats));
    return this;
}

void c_GraphicsContext::mark() {
    gc_mark_q(m_defaultFont);
    gc_mark_q(m_font);
    gc_mark_q(m_matrixStack);
}

// Outside a frame the change stays pending for the first draw of the next one.
void c_GraphicsContext::p_Validate() {
    if (!m_matrixChanged || !kv_graphics_renderDevice) return;
    kv_graphics_renderDevice->SetMatrix(m_ix, m_iy, m_jx, m_jy, m_tx, m_ty);
    m_matrixChanged = 0;
}

void kv_graphics_InitGlobals() {
    kv_graphics_device = nullptr;
    gc_assign(kv_graphics_context, (new c_GraphicsContext)->m_new());
    c_Image::m_DefaultFlags = 0;
    kv_graphics_renderDevice = nullptr;
}

void kv_graphics_SetGraphicsDevice(gxtkGraphics* device) { gc_assign(kv_graphics_device, device); }

void kv_graphics_BeginRender() {
    c_GraphicsContext* context = kv_graphics_context;
    gc_assign(kv_graphics_renderDevice, kv_graphics_device);
    if (!kv_graphics_renderDevice) return;
    context->m_stackTop = 0;
    kv_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    kv_graphics_SetColor(255, 255, 255);
    kv_graphics_SetAlpha(1);
    kv_graphics_SetBlend(0);
    // The device's own size, read from the window as this frame began: a box equal to it is
    // what turns the scissor test off.
    kv_graphics_SetScissor(0, 0, static_cast<float>(kv_graphics_device->Width()),
                           static_cast<float>(kv_graphics_device->Height()));
}

void kv_graphics_EndRender() { kv_graphics_renderDevice = nullptr; }

// Drawing state may be set outside a frame; it reaches the device with the next frame's reset.
void kv_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext* context = kv_graphics_context;
    context->m_colorR = r;
    context->m_colorG = g;
    context->m_colorB = b;
    if (kv_graphics_renderDevice) kv_graphics_renderDevice->SetColor(r, g, b);
}

void kv_graphics_SetAlpha(float alpha) {
    kv_graphics_context->m_alpha = alpha;
    if (kv_graphics_renderDevice) kv_graphics_renderDevice->SetAlpha(alpha);
}

void kv_graphics_SetBlend(int mode) {
    kv_graphics_context->m_blend = mode;
    if (kv_graphics_renderDevice) kv_graphics_renderDevice->SetBlend(mode);
}

void kv_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext* context = kv_graphics_context;
    context->m_scissorX = x;
    context->m_scissorY = y;
    context->m_scissorW = w;
    context->m_scissorH = h;
    if (kv_graphics_renderDevice) {
        kv_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                                             static_cast<int>(h));
    }
}

void kv_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    c_GraphicsContext* context = kv_graphics_context;
    context->m_ix = ix;
    context->m_iy = iy;
    context->m_jx = jx;
    context->m_jy = jy;
    context->m_tx = tx;
    context->m_ty = ty;
    context->m_matrixChanged = 1;
}

void kv_graphics_SetMatrix2(Array<float> m) { kv_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]); }

// The given transformation applies to a point first, then the current one.
void kv_graphics_Transform(float ix, float iy, float jx, float jy, float tx, float ty) {
    c_GraphicsContext* c = kv_graphics_context;
    kv_graphics_SetMatrix(ix * c->m_ix + iy * c->m_jx, ix * c->m_iy + iy * c->m_jy, jx * c->m_ix + jy * c->m_jx,
                          jx * c->m_iy + jy * c->m_jy, tx * c->m_ix + ty * c->m_jx + c->m_tx,
                          tx * c->m_iy + ty * c->m_jy + c->m_ty);
}

void kv_graphics_Transform2(Array<float> m) { kv_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]); }

void kv_graphics_Translate(float x, float y) { kv_graphics_Transform(1, 0, 0, 1, x, y); }

void kv_graphics_Scale(float x, float y) { kv_graphics_Transform(x, 0, 0, y, 0, 0); }

void kv_graphics_Rotate(float degrees) {
    float angle = degrees * 0.017453292f;
    float s = std::sin(angle), c = std::cos(angle);
    kv_graphics_Transform(c, -s, s, c, 0, 0);
}

void kv_graphics_PushMatrix() {
    c_GraphicsContext* context = kv_graphics_context;
    int top = context->m_stackTop;
    if (top == context->m_matrixStack.Length()) {
        Array<float> grown(top * 2);
        for (int i = 0; i < top; ++i) grown[i] = context->m_matrixStack[i];
        gc_assign(context->m_matrixStack, grown);
    }
    float* slot = &context->m_matrixStack[top];
    slot[0] = context->m_ix;
    slot[1] = context->m_iy;
    slot[2] = context->m_jx;
    slot[3] = context->m_jy;
    slot[4] = context->m_tx;
    slot[5] = context->m_ty;
    context->m_stackTop = top + 6;
}

void kv_graphics_PopMatrix() {
    c_GraphicsContext* context = kv_graphics_context;
    // An unmatched pop would read before the stack; it keeps the current matrix instead.
    if (context->m_stackTop < 6) return;
    context->m_stackTop -= 6;
    const float* slot = &context->m_matrixStack[context->m_stackTop];
    kv_graphics_SetMatrix(slot[0], slot[1], slot[2], slot[3], slot[4], slot[5]);
}

void kv_graphics_DrawRect(float x, float y, float w, float h) {
    if (!kv_graphics_renderDevice) return;
    kv_graphics_context->p_Validate();
    kv_graphics_renderDevice->DrawRect(x, y, w, h);
}

void kv_graphics_DrawLine(float x0, float y0, float x1, float y1) {
    if (!kv_graphics_renderDevice) return;
    kv_graphics_context->p_Validate();
    kv_graphics_renderDevice->DrawLine(x0, y0, x1, y1);
}

void kv_graphics_DrawEllipse(float x, float y, float xr, float yr) {
    if (!kv_graphics_renderDevice) return;
    kv_graphics_context->p_Validate();
    kv_graphics_renderDevice->DrawOval(x - xr, y - yr, xr * 2, yr * 2);
}

namespace {

// Draws a frame with its top-left corner at (x, y) under the current matrix. Nothing is drawn
// outside a frame, for a missing image or for a frame number the image does not have.
void draw_frame(c_Image* image, float x, float y, int frame) {
    kv_graphics_context->p_Validate();
    if (image->m_flags & c_Image::FullSurface) {
        kv_graphics_renderDevice->DrawSurface(image->m_surface, x, y);
        return;
    }
    const c_Frame* f = image->m_frames[frame];
    kv_graphics_renderDevice->DrawSurface2(image->m_surface, x, y, f->m_x, f->m_y, image->m_width, image->m_height);
}

bool drawable(c_Image* image, int frame) {
    return kv_graphics_renderDevice && image && frame >= 0 && frame < image->m_frames.Length();
}

}  // namespace

void kv_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    if (!drawable(image, frame)) return;
    draw_frame(image, x - image->m_tx, y - image->m_ty, frame);
}

void kv_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame) {
    if (!drawable(image, frame)) return;
    kv_graphics_PushMatrix();
    kv_graphics_Transform(1, 0, 0, 1, x, y);
    kv_graphics_Rotate(rotation);
    kv_graphics_Transform(scaleX, 0, 0, scaleY, 0, 0);
    kv_graphics_Transform(1, 0, 0, 1, -image->m_tx, -image->m_ty);
    draw_frame(image, 0, 0, frame);
    kv_graphics_PopMatrix();
}
