// The drawing interface the game uses: the graphics context keeps colour, alpha, blend,
// scissor, the matrix with its stack and the current font, and forwards drawing to the
// render device, sending the matrix only when something is drawn.
#pragma once

#include "graphics/image.h"
#include "graphics/renderer.h"
#include "runtime/array.h"
#include "runtime/gc.h"

class c_GraphicsContext : public Object {
public:
    static constexpr int kInitialStackFloats = 192;  // 32 saved matrices

    c_Image* m_defaultFont = nullptr;
    c_Image* m_font = nullptr;
    int m_firstChar = 0;
    int m_stackTop = 0;
    float m_ix = 1, m_iy = 0, m_jx = 0, m_jy = 1, m_tx = 0, m_ty = 0;
    int m_matrixChanged = 0;
    float m_colorR = 0, m_colorG = 0, m_colorB = 0;
    float m_alpha = 0;
    int m_blend = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorW = 0, m_scissorH = 0;
    Array<float> m_matrixStack;

    c_GraphicsContext* m_new();
    // Sends a changed matrix to the render device.
    void p_Validate();

    void mark() override;
};

extern gxtkGraphics* kv_graphics_device;
extern gxtkGraphics* kv_graphics_renderDevice;
extern c_GraphicsContext* kv_graphics_context;

// Start values of the module's globals; the host's kvInit calls it once.
void kv_graphics_InitGlobals();

void kv_graphics_SetGraphicsDevice(gxtkGraphics* device);
void kv_graphics_BeginRender();
void kv_graphics_EndRender();
void kv_graphics_SetColor(float r, float g, float b);
void kv_graphics_SetAlpha(float alpha);
void kv_graphics_SetBlend(int mode);
void kv_graphics_SetScissor(float x, float y, float w, float h);
void kv_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
void kv_graphics_SetMatrix2(Array<float> m);
void kv_graphics_Transform(float ix, float iy, float jx, float jy, float tx, float ty);
void kv_graphics_Transform2(Array<float> m);
void kv_graphics_Translate(float x, float y);
void kv_graphics_Scale(float x, float y);
void kv_graphics_Rotate(float degrees);
void kv_graphics_PushMatrix();
void kv_graphics_PopMatrix();
void kv_graphics_DrawRect(float x, float y, float w, float h);
void kv_graphics_DrawLine(float x0, float y0, float x1, float y1);
void kv_graphics_DrawEllipse(float x, float y, float xr, float yr);
void kv_graphics_DrawImage(c_Image* image, float x, float y, int frame);
void kv_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame);
