// The retained draw list: helpers that append fixed-size records with the drawing state of the
// moment, the bitmap-font text renderer with its prompt escapes, and the replay that maps the
// virtual screen to device pixels once per rendered frame.
#include <cmath>

#include "game/app.h"
#include "game/globals.h"
#include "graphics/drawing.h"

namespace {

constexpr Char kPromptEscape = 0x00AC;  // "¬": the next letter names a controller button

struct Colour {
    float r, g, b;
};
const Colour kPalette[] = {
    {0.3f, 0.3f, 0.3f}, {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f}, {0.1f, 1.0f, 0.1f},
    {0.1f, 1.0f, 1.0f}, {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f}, {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f},
};

// Controller prompts: the glyph shown for the letter after the escape, the glyph shown in the
// blink phase (0: never blinks), and the letter's starting spacing adjustment.
struct Prompt {
    Char letter;
    int glyph, blink, adjust;
};
const Prompt kPrompts[] = {
    {'J', 96, 109, 4},  {'K', 97, 109, 4},  {'L', 98, 109, 4},  {'I', 99, 109, 4}, {'U', 100, 110, 6},
    {'O', 101, 110, 6}, {'Q', 102, 0, 4},   {'E', 103, 0, 4},   {'F', 104, 0, 4},  {'W', 105, 104, 4},
    {'S', 106, 104, 4}, {'A', 107, 104, 4}, {'D', 108, 104, 4},
};

// Spacing correction by glyph code (character - 32): narrow letters pull in, wide ones push out.
int letter_adjust(int glyph, int start) {
    int adjust = start;
    auto is = [glyph](const char* letters) {
        for (const char* c = letters; *c; ++c) {
            if (glyph == *c - 32) return true;
        }
        return false;
    };
    if (is("wm")) adjust = 2;
    if (is("WM")) adjust = 1;
    if (is("ifl")) adjust = -3;
    if (is("jskrztn")) adjust = -1;
    return adjust;
}

float clamp_component(float value) { return std::fmin(255.0f, std::fmax(0.0f, value)); }

}  // namespace

int c_MyApp::p_ResetDraw() {
    m_sizeX = m_sizeY = 1;
    m_rot = 0;
    m_inkR = m_inkG = m_inkB = 255;
    m_alpha = 1;
    m_blend = 1;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    m_viewW = kv_Tol_jscrw;
    m_viewH = kv_Tol_jscrh;
    m_viewX = m_viewY = 0;
    if (r > kNoValue) {
        m_clearR = r;
        m_clearG = g;
        m_clearB = b;
        m_clearA = a;
    }
    p_ResetDraw();
    m_drawCount = 0;
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_inkR = r;
    m_inkG = g;
    m_inkB = b;
    if (a > kNoValue) m_alpha = a;
    return 0;
}

int c_MyApp::p_Ink(int colour, float brightness) {
    const Colour& c = kPalette[colour >= 1 && colour <= 9 ? colour : 0];
    m_inkR = clamp_component(c.r * brightness * 255);
    m_inkG = clamp_component(c.g * brightness * 255);
    m_inkB = clamp_component(c.b * brightness * 255);
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_alpha = a;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    m_sizeX = sx;
    m_sizeY = sy > kNoValue ? sy : sx;
    return 0;
}

int c_MyApp::p_SetRot(float angle) {
    m_rot = -angle;
    return 0;
}

namespace {
// Writes one record with the drawing state of the moment; false when the list is full.
bool append(c_MyApp& app, float kind, float x, float y, float a, float b, float frame) {
    if (app.m_drawCount > kDrawListLastStart) return false;
    float* record = &app.m_drawList[app.m_drawCount];
    record[kDrawKind] = kind;
    record[kDrawX] = x;
    record[kDrawY] = y;
    record[kDrawRot] = app.m_rot;
    record[kDrawSizeX] = a;
    record[kDrawSizeY] = b;
    record[kDrawFrame] = frame;
    record[kDrawAlpha] = app.m_alpha;
    record[kDrawInkR] = app.m_inkR;
    record[kDrawInkG] = app.m_inkG;
    record[kDrawInkB] = app.m_inkB;
    record[kDrawBlend] = static_cast<float>(app.m_blend);
    app.m_drawCount += kDrawRecordSize;
    return true;
}
}  // namespace

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    append(*this, static_cast<float>(slot), x, y, m_sizeX, m_sizeY, frame);
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    append(*this, kDrawRect, x, y, w, h, 0);
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float rx, float ry) {
    append(*this, kDrawOval, x, y, rx, ry, 0);
    return 0;
}

int c_MyApp::p_Line(float x1, float y1, float x2, float y2) {
    append(*this, kDrawLine, x1, y1, x2, y2, 0);
    return 0;
}

int c_MyApp::p_Text(float x, float y, const String& text, float xAlign, float yAlign, int fontOffset) {
    const float advance = static_cast<float>(m_imageInfo[3 * m_font]);
    const float lineHeight = static_cast<float>(m_imageInfo[3 * m_font + 1]);
    const float sx = m_sizeX, sy = m_sizeY;
    const float phi = -m_rot;
    // The text is laid out behind one leading space, read in place so drawing allocates nothing.
    const int n = text.Length() + 1;
    auto line = [&text](int i) { return i == 0 ? Char(' ') : Char(text[i - 1]); };

    int width = 0;
    for (int i = 0; i < n - 1; ++i) {
        int adjust;
        if (line(i) == kPromptEscape) {
            ++i;
            adjust = 2;
        } else {
            adjust = letter_adjust(line(i) - 32, 0);
        }
        width = static_cast<int>(width + (advance + adjust) * sx);
    }

    float x0 = x + std::sin((phi - 90) * kDegrees) * width * xAlign * 0.5f;
    float y0 = y - std::cos((phi - 90) * kDegrees) * width * xAlign * 0.5f;
    float t = (yAlign - 1) * 0.5f;
    const float originX = x0 + std::sin(phi * kDegrees) * lineHeight * sy * t;
    const float originY = y0 - std::cos(phi * kDegrees) * lineHeight * sy * t;
    float px = originX, py = originY;
    int lines = 0;
    const bool blinkPhase = kv_app_Millisecs() % 500 < 200 && m_inputMode == 1;

    for (int i = 0; i < n; ++i) {
        int glyph = line(i) - 32;
        int adjust = 0;
        if (line(i) == kPromptEscape) {
            if (++i >= n) break;
            Char letter = line(i);
            int normal = letter, blink = 0;
            adjust = 4;
            for (const Prompt& prompt : kPrompts) {
                if (prompt.letter == letter) normal = prompt.glyph, blink = prompt.blink, adjust = prompt.adjust;
            }
            // Keyboard players see the key caps, 16 frames after the pad buttons.
            glyph = blinkPhase && blink ? blink : normal + (m_inputMode == 0 ? 16 : 0);
            adjust = letter_adjust(glyph, adjust);
        } else if (line(i) == '\\' && i + 1 < n && line(i + 1) == 'n') {
            adjust = letter_adjust(glyph, 0);
            ++i;
            ++lines;
            float down = lines * (lineHeight + adjust) * sy;
            float across = (advance + adjust) * sx;
            px = originX + std::sin((180 + phi) * kDegrees) * down + std::sin((90 + phi) * kDegrees) * across;
            py = originY - std::cos((180 + phi) * kDegrees) * down;
            continue;
        } else {
            adjust = letter_adjust(glyph, 0);
        }
        if (glyph == -32) continue;  // character 0 neither draws nor moves
        if (glyph >= 1 && glyph <= 127) p_DrawImg(m_font + fontOffset, px, py, static_cast<float>(glyph));
        float step = (advance + adjust) * sx;
        px += std::sin((90 + phi) * kDegrees) * step;
        py -= std::cos((90 + phi) * kDegrees) * step;
    }
    return 0;
}

String c_MyApp::p_rstr(int value, int digits, const String& pad) {
    String padded;
    for (int i = 0; i < digits; ++i) padded += pad;
    padded += String(value);
    return padded.Slice(padded.Length() - digits);
}

void c_MyApp::ReplayDrawList() {
    const float fx = m_fitX, fy = m_fitY;
    const float ox = kv_Tol_overscan;
    const float oy = ox * kv_app_DeviceHeight() / std::fmax(1.0f, static_cast<float>(kv_app_DeviceWidth()));
    for (int k = 0; k + 14 < m_drawCount; k += kDrawRecordSize) {
        const float* r = &m_drawList[k];
        kv_graphics_SetAlpha(r[kDrawAlpha]);
        kv_graphics_SetColor(r[kDrawInkR], r[kDrawInkG], r[kDrawInkB]);
        kv_graphics_SetBlend(r[kDrawBlend] == 3 ? 1 : 0);
        float kind = r[kDrawKind];
        float x = fx * r[kDrawX] + ox, y = fy * r[kDrawY] + oy;
        if (kind == kDrawRect) {
            kv_graphics_DrawRect(x, y, fx * r[kDrawSizeX], fy * r[kDrawSizeY]);
        } else if (kind == kDrawOval) {
            kv_graphics_DrawEllipse(x, y, fx * r[kDrawSizeX], fy * r[kDrawSizeY]);
        } else if (kind == kDrawLine) {
            kv_graphics_DrawLine(x, y, fx * r[kDrawSizeX] + ox, fy * r[kDrawSizeY] + oy);
        } else if (kind > -1) {
            c_Image* image = m_images[static_cast<int>(kind)];
            if (image) {
                kv_graphics_DrawImage2(image, x, y, r[kDrawRot], r[kDrawSizeX] * fx * m_hdScale,
                                       r[kDrawSizeY] * fy * m_hdScale, static_cast<int>(r[kDrawFrame]));
            }
        }
    }
}
